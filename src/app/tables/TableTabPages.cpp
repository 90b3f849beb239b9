// SPDX-License-Identifier: MIT
#include "tables/TableTabPages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "tables/TableTab.h"

namespace pagloom::app {
namespace {

template <typename T>
T* Named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

QToolButton* ToolButton(const char* name, const QString& text, const QString& hint,
                        const QString& longHint, QWidget* parent) {
    auto* b = Named(new QToolButton(parent), name);
    b->setText(text);
    b->setToolTip(hint);
    b->setStatusTip(longHint);
    return b;
}

// A field that only shows what the commands put there; it can still be selected and copied.
QLineEdit* DisplayEdit(const char* name, QWidget* parent) {
    auto* e = Named(new QLineEdit(parent), name);
    e->setReadOnly(true);
    return e;
}

// Fields that are off, or greyed while still editable, take the window's colour instead of the
// white of an input field.
void SetGrey(QWidget* w, bool grey) {
    if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPlainTextEdit*>(w) &&
        !qobject_cast<QComboBox*>(w))
        return;
    QPalette p = w->palette();
    const QPalette normal = QApplication::palette(w);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base,
                   grey ? normal.color(g, QPalette::Window) : normal.color(g, QPalette::Base));
    w->setPalette(p);
}

}  // namespace

TableSlotPage::TableSlotPage(ContentSlot slot, const SlotPageNames& names,
                             const QString& sourceCaption, const QStringList& sources,
                             Binder& binder, ProjectSession& session, TableTab& tab,
                             QWidget* parent)
    : QWidget(parent), slot_(slot), binder_(binder), session_(session) {
    setObjectName(QString::fromLatin1(names.page));
    auto* source = Named(new QComboBox(this), names.source);
    source->addItems(sources);
    source->setStatusTip(QStringLiteral("Woraus die Seiten dieser Ebene gemacht werden"));
    binder_.Choice(
        source, [this] { return Settings().content_source; },
        [this](int i) { Settings().content_source = i; });

    QLineEdit* templ = DisplayEdit(names.templateEdit, this);
    templ->setStatusTip(QStringLiteral("Vorlage, aus der die Seiten gefüllt werden"));
    binder_.Text(templ, [this]() -> std::string& { return Settings().template_file; });
    QToolButton* templChoose =
        ToolButton(names.templateChoose, QStringLiteral("..."), QStringLiteral("Vorlage wählen"),
                   QStringLiteral("Die Vorlage für diese Seiten auswählen"), this);
    auto* templDelete =
        Named(new QPushButton(QStringLiteral("löschen"), this), names.templateDelete);
    templDelete->setStatusTip(QStringLiteral("Die Vorlage entfernen"));

    QLineEdit* name = DisplayEdit(names.nameEdit, this);
    name->setStatusTip(QStringLiteral("Die Tabelle, aus der die Seiten gemacht werden"));
    binder_.Text(name, [this]() -> std::string& { return Settings().name_display; });
    QToolButton* nameChoose = ToolButton(
        names.nameChoose, QStringLiteral("..."), QStringLiteral("Tabelle wählen"),
        QStringLiteral("Eine Tabelle in der Tabellenauswahl suchen und übernehmen"), this);
    auto* nameDelete = Named(new QPushButton(QStringLiteral("löschen"), this), names.nameDelete);
    nameDelete->setStatusTip(QStringLiteral("Die Tabelle entfernen"));
    QToolButton* show =
        ToolButton(names.show, QStringLiteral("Vorschau"), QStringLiteral("Tabellen-Vorschau"),
                   QStringLiteral("Die Zeilen der Tabelle ansehen"), this);
    QToolButton* wizard =
        ToolButton(names.wizard, QStringLiteral("Code-Wizard"), QStringLiteral("Code-Wizard"),
                   QStringLiteral("Feld- und Datensatz-Tags für eine Vorlage erzeugen"), this);

    connect(templChoose, &QToolButton::clicked, this,
            [this, &tab] { tab.Run(&TableTab::ChooseTemplate, slot_); });
    connect(templDelete, &QPushButton::clicked, this,
            [this, &tab] { tab.Run(&TableTab::DeleteTemplate, slot_); });
    connect(nameChoose, &QToolButton::clicked, this,
            [this, &tab] { tab.Run(&TableTab::ChooseTable, slot_); });
    connect(nameDelete, &QPushButton::clicked, this,
            [this, &tab] { tab.Run(&TableTab::DeleteTable, slot_); });
    connect(show, &QToolButton::clicked, this,
            [this, &tab] { tab.Run(&TableTab::ShowTable, slot_); });
    connect(wizard, &QToolButton::clicked, this,
            [this, &tab] { tab.Run(&TableTab::OpenWizard, slot_); });

    grid_ = new QGridLayout(this);
    grid_->addWidget(Caption(sourceCaption, source, this), 0, 0);
    grid_->addWidget(source, 0, 1);
    auto* templButtons = new QHBoxLayout;
    templButtons->addWidget(templChoose);
    templButtons->addWidget(templDelete);
    templButtons->addStretch(1);
    grid_->addWidget(Caption(QStringLiteral("&Vorlage:"), templ, this), 1, 0);
    grid_->addWidget(templ, 1, 1);
    grid_->addLayout(templButtons, 1, 2);
    auto* nameButtons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{nameChoose, nameDelete, show, wizard})
        nameButtons->addWidget(w);
    nameButtons->addStretch(1);
    grid_->addWidget(Caption(QStringLiteral("&Tabelle:"), name, this), 2, 0);
    grid_->addWidget(name, 2, 1);
    grid_->addLayout(nameButtons, 2, 2);
    grid_->setColumnStretch(1, 1);
    nextRow_ = 3;

    tableControls_ = {templ, templChoose, templDelete, name, nameChoose, nameDelete, show, wizard};
    for (QWidget* w : tableControls_) BindLook(w, TableTabPart::SlotTable);
    const QList<QWidget*> order = {source,     templ,      templChoose, templDelete, name,
                                   nameChoose, nameDelete, show,        wizard};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

SlotTableSettings& TableSlotPage::Settings() const { return session_.project.Tables.Slot[slot_]; }

void TableSlotPage::BindLook(QWidget* widget, TableTabPart part) {
    binder_.Enable(widget, [this, widget, part] {
        const std::optional<TabControlLook> look =
            TableTabLook(Settings().content_source, PageNameSource(), part);
        // No source selected: the controls stay as they are.
        if (!look) return !widget->testAttribute(Qt::WA_ForceDisabled);
        SetGrey(widget, *look != TabControlLook::On);
        return *look != TabControlLook::Off;
    });
}

TableFirstPage::TableFirstPage(Binder& binder, ProjectSession& session, TableTab& tab,
                               QWidget* parent)
    : TableSlotPage(
          ContentSlot::firstpage,
          {"PCTabsFirst", "cbTabFirstQuelle", "EditTabFirstVorlage", "SBTabFirstVorlage",
           "BTTabFirstVorlageDelete", "EditTabFirstName", "SBTabFirstName", "BTTabFirstNameDelete",
           "SBTabFirstShow", "sbTabFirstWizard"},
          QStringLiteral("&Quelle für Erste Seite"),
          {QStringLiteral("Seite nicht erstellen"), QStringLiteral("Leere Seite erstellen"),
           QStringLiteral("Standard-Vorlage"), QStringLiteral("Dreamweaver-Vorlage")},
          binder, session, tab, parent) {
    fields_ = Named(new QPlainTextEdit(this), "MTabFirstCol");
    fields_->setReadOnly(true);
    fields_->setLineWrapMode(QPlainTextEdit::NoWrap);
    fields_->setStatusTip(QStringLiteral("Die Felder der Tabelle, die Feld-Tags nennen können"));
    binder_.List(fields_, [this]() -> std::vector<std::string>& { return Settings().fields; });
    BindLook(fields_, TableTabPart::SlotTable);
    grid_->addWidget(Caption(QStringLiteral("&Felder:"), fields_, this), nextRow_, 0, Qt::AlignTop);
    grid_->addWidget(fields_, nextRow_, 1);
    grid_->setRowStretch(nextRow_, 1);
}

void TableFirstPage::ShowNewTable() {
    fields_->moveCursor(QTextCursor::Start);
    fields_->ensureCursorVisible();
}

namespace {

// "Feld für ...:" with a list of the slot's fields bound to `column`.
QComboBox* FieldList(const char* name, std::function<const std::vector<std::string>&()> fields,
                     std::function<ColumnChoice&()> column, Binder& binder, QWidget* parent) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(16);
    binder.Choice(
        combo, [fields] { return fields(); }, [column] { return column().index; },
        [fields, column](int i) { column() = ColumnAt(fields(), i); });
    return combo;
}

QLineEdit* ShortEdit(const char* name, Binder& binder, std::function<std::string&()> member,
                     const QString& hint, QWidget* parent) {
    auto* e = Named(new QLineEdit(parent), name);
    e->setMaximumWidth(80);
    e->setStatusTip(hint);
    binder.Text(e, std::move(member));
    return e;
}

}  // namespace

TableMainMenuPage::TableMainMenuPage(Binder& binder, ProjectSession& session, TableTab& tab,
                                     QWidget* parent)
    : TableSlotPage(
          ContentSlot::mainmenu,
          {"PCTabsMenue", "CBTabMQuelle", "EditTabMVorlage", "SBTabMVorlage", "BTTabMVorlageDelete",
           "EditTabMName", "SBTabMName", "BTTabMNameDelete", "SBTabMShow", "sbTabMenWizard"},
          QStringLiteral("&Quelle für Inhalts-Seiten:"),
          {QStringLiteral("keine Seiten erstellen"), QStringLiteral("leere Seiten erstellen"),
           QStringLiteral("Standard-Vorlage"), QStringLiteral("Dreamweaver-Vorlage")},
          binder, session, tab, parent) {
    auto m = [this]() -> MainMenuTableSettings& { return session_.project.Tables.mainmenu; };
    auto fields = [this]() -> const std::vector<std::string>& { return Settings().fields; };
    QComboBox* col = FieldList(
        "CBTabMColM", fields, [m]() -> ColumnChoice& { return m().col_mainmenu; }, binder_, this);
    col->setStatusTip(QStringLiteral("Ein Hauptmenü-Eintrag je Wert dieses Feldes"));
    BindLook(col, TableTabPart::SlotTable);
    grid_->addWidget(Caption(QStringLiteral("Feld für Hauptme&nü:"), col, this), nextRow_, 0);
    grid_->addWidget(col, nextRow_, 1, Qt::AlignLeft);
    ++nextRow_;

    auto* box = new QGroupBox(QStringLiteral("Dateiname:"), this);
    auto* fromTab =
        Named(new QRadioButton(QStringLiteral("Hauptmenü-&Feld +"), box), "RBTabMFileFromTab");
    fromTab->setStatusTip(QStringLiteral("Seitennamen aus dem Wert des Hauptmenü-Feldes"));
    auto* fromText = Named(new QRadioButton(box), "RBTabMFileFromText");
    fromText->setStatusTip(QStringLiteral("Seitennamen aus einem Text und der Menü-Nummer"));
    fromText->setToolTip(QStringLiteral("Text + Menü-Nr + Endung, z. B. inhalt_1.htm"));
    binder_.Choice<2>({fromTab, fromText}, [m]() -> Choice<2>& { return m().filename; });
    QLineEdit* colExt = ShortEdit(
        "EditTabMFileColExt", binder_, [m]() -> std::string& { return m().from_table_extension; },
        QStringLiteral("Endung der Seitennamen aus dem Feldwert"), box);
    QLineEdit* text = ShortEdit(
        "EditTabMFileText", binder_, [m]() -> std::string& { return m().from_text_text; },
        QStringLiteral("Text am Anfang der Seitennamen"), box);
    QLineEdit* textExt = ShortEdit(
        "EditTabMFileTextExt", binder_, [m]() -> std::string& { return m().from_text_extension; },
        QStringLiteral("Endung der Seitennamen aus Text und Menü-Nummer"), box);
    BindLook(fromTab, TableTabPart::SlotTable);
    BindLook(fromText, TableTabPart::SlotTable);
    BindLook(colExt, TableTabPart::FromTableName);
    BindLook(text, TableTabPart::FromTextText);
    BindLook(textExt, TableTabPart::FromTextExt);

    auto* names = new QGridLayout(box);
    names->addWidget(fromTab, 0, 0);
    names->addWidget(colExt, 0, 1);
    names->addWidget(fromText, 1, 0, Qt::AlignRight);
    names->addWidget(text, 1, 1);
    names->addWidget(new QLabel(QStringLiteral("+   Menü-Nr  +"), box), 1, 2);
    names->addWidget(textExt, 1, 3);
    names->setColumnStretch(4, 1);
    grid_->addWidget(box, nextRow_, 0, 1, 3);
    grid_->setRowStretch(nextRow_ + 1, 1);

    const QList<QWidget*> order = {col, fromTab, colExt, fromText, text, textExt};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

int TableMainMenuPage::PageNameSource() const {
    return session_.project.Tables.mainmenu.filename.Selected();
}

TableSubMenuPage::TableSubMenuPage(Binder& binder, ProjectSession& session, TableTab& tab,
                                   QWidget* parent)
    : TableSlotPage(
          ContentSlot::submenu,
          {"PCTabsUMenue", "CBTabUMQuelle", "EditTabUMVorlage", "SBTabUMVorlage",
           "BTTabUMVorlageDelete", "EditTabUMName", "SBTabUMName", "BTTabUMNameDelete",
           "SBTabUMShow", "sbTabUMenWizard"},
          QStringLiteral("&Quelle für Inhalts-Seiten:"),
          {QStringLiteral("keine Seiten erstellen"), QStringLiteral("leere Seiten erstellen"),
           QStringLiteral("Standard-Vorlage"), QStringLiteral("Dreamweaver-Vorlage")},
          binder, session, tab, parent) {
    auto u = [this]() -> SubMenuTableSettings& { return session_.project.Tables.submenu; };
    auto fields = [this]() -> const std::vector<std::string>& { return Settings().fields; };
    QComboBox* colM = FieldList(
        "CBTabUMColM", fields, [u]() -> ColumnChoice& { return u().col_mainmenu; }, binder_, this);
    colM->setStatusTip(
        QStringLiteral("Das Feld, dessen Wert zum Eintrag des Hauptmenüs passen muss"));
    QComboBox* colUM = FieldList(
        "CBTabUMColUM", fields, [u]() -> ColumnChoice& { return u().col_submenu; }, binder_, this);
    colUM->setStatusTip(QStringLiteral("Ein Untermenü-Eintrag je Wert dieses Feldes"));
    BindLook(colM, TableTabPart::SlotTable);
    BindLook(colUM, TableTabPart::SlotTable);
    grid_->addWidget(Caption(QStringLiteral("Feld für Hauptme&nü:"), colM, this), nextRow_, 0);
    grid_->addWidget(colM, nextRow_, 1, Qt::AlignLeft);
    ++nextRow_;
    grid_->addWidget(Caption(QStringLiteral("Feld für &Untermenü:"), colUM, this), nextRow_, 0);
    grid_->addWidget(colUM, nextRow_, 1, Qt::AlignLeft);
    ++nextRow_;

    auto* box = new QGroupBox(QStringLiteral("Dateiname:"), this);
    auto* fromTab =
        Named(new QRadioButton(QStringLiteral("Hauptmenü-&Feld +"), box), "RBTabUMFileFromTab");
    fromTab->setStatusTip(
        QStringLiteral("Seitennamen aus den Werten des Hauptmenü- und des Untermenü-Feldes"));
    auto* fromText = Named(new QRadioButton(box), "RBTabUMFileFromText");
    fromText->setStatusTip(
        QStringLiteral("Seitennamen aus einem Text und den Nummern von Haupt- und Untermenü"));
    fromText->setToolTip(
        QStringLiteral("Text + Menü-Nr + Untermenü-Nr + Endung, z. B. inhalt_1_2.htm"));
    binder_.Choice<2>({fromTab, fromText}, [u]() -> Choice<2>& { return u().filename; });
    QLineEdit* sep = ShortEdit(
        "EditTabUMFileTrenner", binder_, [u]() -> std::string& { return u().from_table_seperator; },
        QStringLiteral("Text zwischen den beiden Feldwerten"), box);
    QLineEdit* colExt = ShortEdit(
        "EditTabUMFileColExt", binder_, [u]() -> std::string& { return u().from_table_extension; },
        QStringLiteral("Endung der Seitennamen aus den Feldwerten"), box);
    QLineEdit* text = ShortEdit(
        "EditTabUMFileText", binder_, [u]() -> std::string& { return u().from_text_text; },
        QStringLiteral("Text am Anfang der Seitennamen"), box);
    QLineEdit* textExt = ShortEdit(
        "EditTabUMFileTextExt", binder_, [u]() -> std::string& { return u().from_text_extension; },
        QStringLiteral("Endung der Seitennamen aus Text und Menü-Nummern"), box);
    BindLook(fromTab, TableTabPart::SlotTable);
    BindLook(fromText, TableTabPart::SlotTable);
    BindLook(sep, TableTabPart::FromTableName);
    BindLook(colExt, TableTabPart::FromTableName);
    BindLook(text, TableTabPart::FromTextText);
    BindLook(textExt, TableTabPart::FromTextExt);

    auto* names = new QGridLayout(box);
    names->addWidget(fromTab, 0, 0);
    names->addWidget(sep, 0, 1);
    names->addWidget(new QLabel(QStringLiteral("+ Untermenü-Feld +"), box), 0, 2);
    names->addWidget(colExt, 0, 3);
    names->addWidget(fromText, 1, 0, Qt::AlignRight);
    names->addWidget(text, 1, 1);
    // The text's name has two numbers, so its row does not follow the columns above.
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(new QLabel(QStringLiteral("+   Menü-Nr  +"), box));
    numbers->addWidget(new QLabel(QStringLiteral("Untermenü-Nr"), box));
    numbers->addWidget(new QLabel(QStringLiteral("+"), box));
    numbers->addWidget(textExt);
    numbers->addStretch(1);
    names->addLayout(numbers, 1, 2, 1, 3);
    names->setColumnStretch(4, 1);
    grid_->addWidget(box, nextRow_, 0, 1, 3);
    grid_->setRowStretch(nextRow_ + 1, 1);

    const QList<QWidget*> order = {colM, colUM, fromTab, sep, colExt, fromText, text, textExt};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

int TableSubMenuPage::PageNameSource() const {
    return session_.project.Tables.submenu.filename.Selected();
}

}  // namespace pagloom::app
