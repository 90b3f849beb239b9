// SPDX-License-Identifier: MIT
#include "options/ContentPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {
namespace {

// Qt splits the patterns of a filter at blanks only.
const QString kHtmlFilter = QStringLiteral("HTML (*.htm *.html)");
const QString kDwFilter = QStringLiteral("Dreamweaver-Template  (*.dwt)");
const QString kTemplateFilters =
    kHtmlFilter + QStringLiteral(";;") + kDwFilter + QStringLiteral(";;alle Dateien (*)");

}  // namespace

ContentPage::ContentPage(Binder& binder, ProjectSession& session, UiPrompts& prompts,
                         std::function<QString()> templateDir, QWidget* parent)
    : OptionsPage(binder, session, parent),
      prompts_(prompts),
      templateDir_(std::move(templateDir)) {
    auto c = [this]() -> ContentPageSettings& { return Settings().content_page; };
    auto sw = [this, c](const char* name, const QString& text, bool ContentPageSettings::*member) {
        return Switch(this, name, text, [c, member]() -> bool& { return c().*member; });
    };
    // A file row: label, name field and the "..." button that chooses the file.
    auto fileRow = [this, c](const char* labelName, const QString& caption, const char* editName,
                             std::string ContentPageSettings::*member, const char* buttonName,
                             const QString& hint, bool dreamweaver, QList<QWidget*>& row) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(editName));
        binder_.Text(edit, [c, member]() -> std::string& { return c().*member; });
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setBuddy(edit);
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(buttonName));
        button->setText(QStringLiteral("..."));
        button->setToolTip(hint);
        connect(button, &QToolButton::clicked, this,
                [this, dreamweaver] { ChooseTemplate(dreamweaver); });
        row = {label, edit, button};
    };

    QRadioButton* none = Radio("MakeTempOff", QStringLiteral("&Keine Inhalts-Seiten erstellen"));
    QRadioButton* empty = Radio("MakeTempOn", QStringLiteral("&Leere Inhalts-Seiten erstellen"));
    QCheckBox* titel = sw("CBMenTextTitel", QStringLiteral("Menütexte als &Titel"),
                          &ContentPageSettings::empty_titel_is_menu);
    QCheckBox* inhalt = sw("CBMenTextInhalt", QStringLiteral("Menütexte als I&nhalt"),
                           &ContentPageSettings::empty_content_is_menu);
    QCheckBox* leer =
        sw("CBUeberschreibenLeer", OverwriteFiles(0), &ContentPageSettings::empty_overwrite);
    QRadioButton* temp = Radio("MakeTempFile", QStringLiteral("Inhalts-Seiten aus V&orlage"));
    QList<QWidget*> tempRow;
    fileRow("TempFileLabel", QStringLiteral("Vorl&age:"), "TempFileEdit",
            &ContentPageSettings::template_file, "TempFileButton", QStringLiteral("Vorlage wählen"),
            false, tempRow);
    QCheckBox* vorlage =
        sw("CBUeberschreibenVorlage", OverwriteFiles(11), &ContentPageSettings::template_overwrite);
    QRadioButton* dw =
        Radio("MakeDWTempFile", QStringLiteral("Inhalts-Seiten aus D&remweaver-Vorlage"));
    QList<QWidget*> dwRow;
    fileRow("DWTempFileLabel", QStringLiteral("Drea&mweaver-Vorlage:"), "DWTempFileEdit",
            &ContentPageSettings::dw_template_file, "DWTempFileButton",
            QStringLiteral("Dreamweaver-Vorlage wählen"), true, dwRow);
    QCheckBox* dwUpdate = sw("CBUeberschreibenDWVorlage", OverwriteFiles(20),
                             &ContentPageSettings::dw_template_update);
    QCheckBox* dwRegions =
        sw("cbDWEditableOverwrite",
           QStringLiteral("Bearbeitbare B&ereiche überschreiben (Voreinstellung)"),
           &ContentPageSettings::dw_editable_overwrite);
    QRadioButton* tab = Radio("MakeTabFile", QStringLiteral("&Inhalts-Seiten aus Tabelle(n)"));
    QCheckBox* tabOverwrite =
        sw("CBUeberschreibenTab", OverwriteFiles(24), &ContentPageSettings::tab_overwrite);
    QCheckBox* tabRegions = sw("cbTabDWEditableOverwrite",
                               QStringLiteral("Bei Dream&weaver-Vorlagen bearbeitbare Bereiche "
                                              "überschreiben (Voreinstellung)"),
                               &ContentPageSettings::tab_dw_editable_overwrite);

    // Switching a source on clears the switches that belong to it.
    binder_.Choice(
        {none, empty, temp, dw, tab}, [c] { return c().source.Selected(); },
        [c](int source) {
            ContentPageSettings& s = c();
            if (!s.source.Is(source)) {
                switch (source) {
                    case kEmptyPages:
                        s.empty_overwrite = false;
                        break;
                    case kTemplatePages:
                        s.template_overwrite = false;
                        break;
                    case kDwTemplatePages:
                        s.dw_template_update = s.dw_editable_overwrite = false;
                        break;
                    case kTabTemplatePages:
                        s.tab_overwrite = s.tab_dw_editable_overwrite = false;
                        break;
                    default:
                        break;
                }
            }
            s.source.Select(source);
        });
    auto sourceIs = [c](int source) { return [c, source] { return c().source.Is(source); }; };
    EnableWhile({titel, inhalt, leer}, sourceIs(kEmptyPages));
    for (QWidget* w : tempRow) binder_.Enable(w, sourceIs(kTemplatePages));
    binder_.Enable(vorlage, sourceIs(kTemplatePages));
    for (QWidget* w : dwRow) binder_.Enable(w, sourceIs(kDwTemplatePages));
    EnableWhile({dwUpdate, dwRegions}, sourceIs(kDwTemplatePages));
    EnableWhile({tabOverwrite, tabRegions}, sourceIs(kTabTemplatePages));

    auto addFileRow = [](QVBoxLayout* layout, const QList<QWidget*>& row) {
        auto* line = new QHBoxLayout;
        line->addSpacing(24);
        line->addWidget(row[0]);
        line->addWidget(row[1], 1);
        line->addWidget(row[2]);
        layout->addLayout(line);
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(none);
    layout->addWidget(empty);
    layout->addLayout(Indented(titel));
    layout->addLayout(Indented(inhalt));
    layout->addLayout(Indented(leer));
    layout->addWidget(temp);
    addFileRow(layout, tempRow);
    layout->addLayout(Indented(vorlage));
    layout->addWidget(dw);
    addFileRow(layout, dwRow);
    layout->addLayout(Indented(dwUpdate));
    layout->addLayout(Indented(dwRegions));
    layout->addWidget(tab);
    layout->addLayout(Indented(tabOverwrite));
    layout->addLayout(Indented(tabRegions));
    layout->addStretch(1);
    Order({none, empty, titel, inhalt, leer, temp, tempRow[1], tempRow[2], vorlage, dw, dwRow[1],
           dwRow[2], dwUpdate, dwRegions, tab, tabOverwrite, tabRegions});
}

void ContentPage::ChooseTemplate(bool dreamweaver) {
    const QString file =
        prompts_.OpenFile(window(),
                          dreamweaver ? QStringLiteral("Dreamweaver-Vorlage wählen")
                                      : QStringLiteral("Vorlage wählen"),
                          templateDir_ ? templateDir_() : QString(), kTemplateFilters,
                          dreamweaver ? kDwFilter : kHtmlFilter, QString());
    if (file.isEmpty()) return;
    ContentPageSettings& c = Settings().content_page;
    std::string& value = dreamweaver ? c.dw_template_file : c.template_file;
    const std::string chosen = S(file);
    if (chosen != value) session_.Modified = true;
    value = chosen;
    binder_.Refresh();
}

}  // namespace pagloom::app
