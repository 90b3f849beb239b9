// SPDX-License-Identifier: MIT
#include "options/TablesPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "Binding.h"
#include "QtText.h"
#include "model/TableSettings.h"
#include "model/TagBrackets.h"

namespace pagloom::app {

TablesPage::TablesPage(Binder& binder, ProjectSession& session, QWidget* parent)
    : OptionsPage(binder, session, parent) {
    auto t = [this]() -> TableSettings& { return Tables(); };
    auto* tagBox = new QGroupBox(QStringLiteral("HTML-Datenimport"), this);
    auto* grid = new QGridLayout(tagBox);
    auto tagEdit = [&](const char* name, std::string TableSettings::*member) {
        auto* e = new QLineEdit(tagBox);
        e->setObjectName(QString::fromLatin1(name));
        binder_.Text(
            e, [t, member]() -> std::string& { return t().*member; }, true);
        return e;
    };
    QLineEdit* field = tagEdit("FieldTagEdit", &TableSettings::field_tag_name);
    QLineEdit* record = tagEdit("RecordTagEdit", &TableSettings::record_tag_name);
    auto* brackets = new QComboBox(tagBox);
    brackets->setObjectName(QStringLiteral("CBTagKlammer"));
    for (const TagBracketKind& k : TagBracketKinds()) brackets->addItem(Q(std::string(k.listText)));
    binder_.Choice(
        brackets, [t] { return t().tag_item_index; }, [t](int i) { t().tag_item_index = i; });
    auto example = [&](const char* name, std::string (*text)(const TableSettings&)) {
        auto* l = new QLabel(tagBox);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        binder_.Label(l, [t, text] { return Q(text(t())); });
        return l;
    };
    QLabel* fieldExample = example("FieldBspLabel", &FieldTagExample);
    QLabel* recordExample = example("RecordBspLabel", &RecordTagExample);
    auto label = [&](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, tagBox);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("Tag für &Tabellenfelder: "), field), 0, 0);
    grid->addWidget(field, 0, 1);
    grid->addWidget(fieldExample, 0, 2);
    grid->addWidget(label(QStringLiteral("Tag für &Datensätze:"), record), 1, 0);
    grid->addWidget(record, 1, 1);
    grid->addWidget(recordExample, 1, 2);
    grid->addWidget(label(QStringLiteral("Tag-&Klammern:"), brackets), 2, 0);
    grid->addWidget(brackets, 2, 1);
    grid->setColumnStretch(2, 1);

    auto* convBox = new QGroupBox(QStringLiteral("Daten-Konvertierung"), this);
    auto* convLayout = new QVBoxLayout(convBox);
    const struct {
        const char* name;
        QString text;
        bool TableConvertSettings::*member;
    } switches[] = {
        {"cbTabSZ", QStringLiteral("&Sonderzeichen als Unicode"),
         &TableConvertSettings::special_sign_unicode},
        {"cbTabTags", QStringLiteral("'<' und '>' als &Unicode"),
         &TableConvertSettings::tags_unicode},
        {"cbTabNewLine", QStringLiteral("&Zeilenwechsel als <BR>"),
         &TableConvertSettings::newline_br},
        {"cbTabMultiSpaces", QStringLiteral("&Mehrere Leerzeichen als erzwungene Leerzeichen"),
         &TableConvertSettings::multispaces},
        {"cbTabTabs", QStringLiteral("T&abulator als 8 Leerzeichen"),
         &TableConvertSettings::tab_to_list},
        {"cbTabMakeLink", QStringLiteral("Web-Adressen in &Links umwandeln"),
         &TableConvertSettings::web_to_link},
    };
    for (const auto& s : switches) {
        bool TableConvertSettings::*member = s.member;
        convLayout->addWidget(Switch(convBox, s.name, s.text,
                                     [t, member]() -> bool& { return t().convert.*member; }));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tagBox);
    layout->addWidget(convBox);
    layout->addStretch(1);
    Order({field, record, brackets});
}

}  // namespace pagloom::app
