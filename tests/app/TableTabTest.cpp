// SPDX-License-Identifier: MIT
// The tab "Tabelle": its enable rules, taking over tables through the real table selection
// dialog, the "löschen" buttons, the template chooser and the previews.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "AppTestSupport.h"
#include "model/ProjectRules.h"
#include "tables/ContentTableModel.h"
#include "tables/TTableShowForm.h"
#include "tables/TableTab.h"
#include "tables/TableTabRules.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

Q_DECLARE_METATYPE(pagloom::TableTabPart)
Q_DECLARE_METATYPE(std::optional<pagloom::TabControlLook>)

namespace {

constexpr int kAscii = 3;
constexpr int kSemicolon = 1;

// A field looks grey when its base colour is the window's.
bool LooksGrey(QWidget* w) {
    return w->palette().color(QPalette::Active, QPalette::Base) ==
           w->palette().color(QPalette::Active, QPalette::Window);
}

// A project with table pages, whose tab "Tabelle" is therefore shown.
void UseTablePages(AppFixture& app) {
    app.session.Settings().content_page.source.Select(kTabTemplatePages);
    app.main->RefreshFromModel();
    app.main->ApplyTabRules();
}

// Picks entry `index` in a list as the user does.
void Pick(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

}  // namespace

class TableTabTest : public QObject {
    Q_OBJECT
  private slots:
    void lookRules_data();
    void lookRules();
    void sourceListSwitchesTheControls();
    void noTableChosen();
    void newTablePreselectsFields_data();
    void newTablePreselectsFields();
    void databaseTableTakenOverAsRead_data();
    void databaseTableTakenOverAsRead();
    void reopenedDialogTakesItsTableOverAgain_data();
    void reopenedDialogTakesItsTableOverAgain();
    void deleteButtons();
    void templateChooserFilter_data();
    void templateChooserFilter();
    void previews();
    void tableDialogStartsBesideTheProject();
    void tabFollowsTablePagesOption();
};

void TableTabTest::lookRules_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("nameSource");
    QTest::addColumn<TableTabPart>("part");
    QTest::addColumn<std::optional<TabControlLook>>("look");
    using L = TabControlLook;
    using P = TableTabPart;
    const std::optional<L> on = L::On, off = L::Off, grey = L::GreyEditable, keep;
    QTest::newRow("no pages: table off") << 0 << int(kNameFromText) << P::SlotTable << off;
    QTest::newRow("empty pages: table off") << 1 << int(kNameFromTable) << P::SlotTable << off;
    QTest::newRow("template: table on") << 2 << -1 << P::SlotTable << on;
    QTest::newRow("dw template: table on") << 3 << int(kNameFromText) << P::SlotTable << on;
    QTest::newRow("empty pages, from text: text grey")
        << 1 << int(kNameFromText) << P::FromTextText << grey;
    QTest::newRow("no pages, from text: ext off")
        << 0 << int(kNameFromText) << P::FromTextExt << off;
    QTest::newRow("empty pages, from table: text off")
        << 1 << int(kNameFromTable) << P::FromTextText << off;
    QTest::newRow("empty pages, from table: field name off")
        << 1 << int(kNameFromTable) << P::FromTableName << off;
    QTest::newRow("template, from table: field name on")
        << 2 << int(kNameFromTable) << P::FromTableName << on;
    QTest::newRow("template, from table: text off")
        << 2 << int(kNameFromTable) << P::FromTextText << off;
    QTest::newRow("template, from text: text on")
        << 3 << int(kNameFromText) << P::FromTextText << on;
    QTest::newRow("template, from text: ext on") << 2 << int(kNameFromText) << P::FromTextExt << on;
    QTest::newRow("template, from text: field name off")
        << 2 << int(kNameFromText) << P::FromTableName << off;
    QTest::newRow("template, neither: all name fields off") << 2 << -1 << P::FromTextText << off;
    QTest::newRow("no source selected: unchanged")
        << -1 << int(kNameFromText) << P::SlotTable << keep;
    QTest::newRow("source beyond the list: unchanged")
        << 4 << int(kNameFromText) << P::FromTextText << keep;
}

void TableTabTest::lookRules() {
    QFETCH(int, source);
    QFETCH(int, nameSource);
    QFETCH(TableTabPart, part);
    QFETCH(std::optional<TabControlLook>, look);
    QCOMPARE(TableTabLook(source, nameSource, part), look);
}

void TableTabTest::sourceListSwitchesTheControls() {
    AppFixture app;
    UseTablePages(app);
    TableSettings& t = app.session.project.Tables;
    t.Slot[ContentSlot::mainmenu].content_source = kSlotTemplate;
    t.mainmenu.filename.Select(kNameFromText);
    app.main->RefreshFromModel();
    auto* text = app.Find<QLineEdit>("EditTabMFileText");
    auto* textExt = app.Find<QLineEdit>("EditTabMFileTextExt");
    auto* colExt = app.Find<QLineEdit>("EditTabMFileColExt");
    auto* fromTab = app.Find<QRadioButton>("RBTabMFileFromTab");
    QVERIFY(text->isEnabled() && !LooksGrey(text) && textExt->isEnabled() && !colExt->isEnabled());

    // "leere Seiten erstellen": the fixed text stays editable but grey beside a disabled ext.
    Pick(app.Find<QComboBox>("CBTabMQuelle"), kSlotEmptyPages);
    QCOMPARE(t.Slot[ContentSlot::mainmenu].content_source, int(kSlotEmptyPages));
    QVERIFY(text->isEnabled() && LooksGrey(text));
    QVERIFY(!textExt->isEnabled() && !colExt->isEnabled());
    for (const char* name : {"EditTabMVorlage", "SBTabMName", "BTTabMNameDelete", "SBTabMShow",
                             "sbTabMenWizard", "CBTabMColM", "RBTabMFileFromTab"})
        QVERIFY2(!app.Find(name)->isEnabled(), name);

    // Back to a template, then the other radio button: the field-name side takes over.
    Pick(app.Find<QComboBox>("CBTabMQuelle"), kSlotDwTemplate);
    QVERIFY(fromTab->isEnabled() && text->isEnabled() && !LooksGrey(text));
    fromTab->click();
    QVERIFY(t.mainmenu.filename.Is(kNameFromTable));
    QVERIFY(colExt->isEnabled() && !text->isEnabled() && !textExt->isEnabled());
    Pick(app.Find<QComboBox>("CBTabMQuelle"), kSlotNoPages);
    QVERIFY(!text->isEnabled() && !colExt->isEnabled());

    // The sub-menu's separator follows its field-name button.
    t.Slot[ContentSlot::submenu].content_source = kSlotTemplate;
    t.submenu.filename.Select(kNameFromText);
    app.main->RefreshFromModel();
    auto* sep = app.Find<QLineEdit>("EditTabUMFileTrenner");
    QVERIFY(!sep->isEnabled());
    app.Find<QRadioButton>("RBTabUMFileFromTab")->click();
    QVERIFY(sep->isEnabled() && app.Find("EditTabUMFileColExt")->isEnabled() &&
            !app.Find("EditTabUMFileText")->isEnabled());
    Pick(app.Find<QComboBox>("CBTabUMQuelle"), kSlotEmptyPages);
    QVERIFY(!sep->isEnabled() && !app.Find("CBTabUMColUM")->isEnabled());

    // The first page switches template, table and field lines together.
    Pick(app.Find<QComboBox>("cbTabFirstQuelle"), kSlotTemplate);
    QVERIFY(app.Find("MTabFirstCol")->isEnabled() && app.Find("sbTabFirstWizard")->isEnabled());
    Pick(app.Find<QComboBox>("cbTabFirstQuelle"), kSlotNoPages);
    QVERIFY(!app.Find("MTabFirstCol")->isEnabled() && !app.Find("SBTabFirstVorlage")->isEnabled());
}

void TableTabTest::noTableChosen() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("a.csv"), "Bereich;Gruppe\nStauden;Farne\n");
    AppFixture app;
    UseTablePages(app);
    TableTab* tab = app.main->Tables();

    // OK without having chosen anything.
    app.prompts.onExec = [](QDialog*) { return int(QDialog::Accepted); };
    tab->ChooseTable(ContentSlot::mainmenu);
    QCOMPARE(app.prompts.messages, QStringList{"Sie haben keine Tabelle ausgewählt!"});

    // A table shown, then "Leeren": OK again leads to the same message and changes nothing.
    app.prompts.messages.clear();
    bool clear = false;
    app.prompts.onExec = [&](QDialog* d) {
        if (qobject_cast<TCSVImportForm*>(d)) return AnswerCsvImport(d, kSemicolon, 0, true);
        if (!ChooseTableFile(d, kAscii, dir.path(), "a.csv")) return int(QDialog::Rejected);
        if (clear) d->findChild<QPushButton*>("btDBGridDel")->click();
        return int(QDialog::Accepted);
    };
    tab->ChooseTable(ContentSlot::mainmenu);
    QCOMPARE(app.prompts.messages, QStringList{});
    QCOMPARE(app.session.project.Tables.Slot[ContentSlot::mainmenu].name_display,
             std::string("a.csv"));
    clear = true;
    app.session.Modified = false;
    tab->ChooseTable(ContentSlot::mainmenu);
    QCOMPARE(app.prompts.messages, QStringList{"Sie haben keine Tabelle ausgewählt!"});
    QCOMPARE(tab->DbExplore()->Choice().kind, int(kNoneTable));
    QCOMPARE(app.session.project.Tables.Slot[ContentSlot::mainmenu].name_display,
             std::string("a.csv"));
    QVERIFY(!app.session.Modified);

    // Cancel takes nothing over.
    clear = false;
    app.prompts.onExec = [](QDialog*) { return int(QDialog::Rejected); };
    tab->ChooseTable(ContentSlot::submenu);
    QVERIFY(app.session.project.Tables.Slot[ContentSlot::submenu].name_display.empty());
}

void TableTabTest::newTablePreselectsFields_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("subField");
    QTest::newRow("three fields") << QByteArray(
                                         "Bereich;Gruppe;Pflanze\nStauden;Farne;Hirschzunge\n")
                                  << QStringList{"Bereich", "Gruppe", "Pflanze"} << 1;
    QTest::newRow("one field") << QByteArray("Bereich\nStauden\n") << QStringList{"Bereich"} << -1;
}

void TableTabTest::newTablePreselectsFields() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, fields);
    QFETCH(int, subField);
    QTemporaryDir dir;
    WriteFile(dir.filePath("t.csv"), csv);
    AppFixture app;
    UseTablePages(app);
    for (ContentSlot slot : kAllSlots)
        app.session.project.Tables.Slot[slot].content_source = kSlotTemplate;
    app.main->RefreshFromModel();
    // A former table's selection must not survive the new one.
    app.session.project.Tables.submenu.col_submenu = {"Alt", 4};
    app.prompts.onExec = [&](QDialog* d) {
        if (qobject_cast<TCSVImportForm*>(d)) return AnswerCsvImport(d, kSemicolon, 0, true);
        return ChooseTableFile(d, kAscii, dir.path(), "t.csv") ? int(QDialog::Accepted)
                                                               : int(QDialog::Rejected);
    };
    const std::string csvPath = S(dir.filePath("t.csv"));
    int csvReads = 0;
    bool besideTheWindow = false;
    app.disk.onRead = [&](const std::string& path) {
        if (path != csvPath) return;
        ++csvReads;
        besideTheWindow = QThread::currentThread() != QCoreApplication::instance()->thread();
    };
    app.Find<QToolButton>("SBTabUMName")->click();
    QCOMPARE(app.prompts.messages, QStringList{});
    QVERIFY(app.session.Modified);
    // The slot shares the rows the dialog read for its grid: read once, held once, and read
    // beside the window thread.
    QCOMPARE(csvReads, 1);
    QVERIFY(besideTheWindow);
    QVERIFY(app.main->Tables()->DbExplore()->TableShown());
    QCOMPARE(app.session.Tables().Memory(ContentSlot::submenu).Rows().RowCount(), size_t(1));
    app.disk.onRead = {};
    const Project& p = app.session.project;
    QCOMPARE(p.PrjParams.TableKind[ContentSlot::submenu], kCsvTable);
    QCOMPARE(p.PrjParams.SeparatorChar[ContentSlot::submenu], ';');
    QCOMPARE(p.PrjParams.DatabaseName[ContentSlot::submenu], PathS(dir.path()));
    QCOMPARE(app.Find<QLineEdit>("EditTabUMName")->text(), QStringLiteral("t.csv"));
    auto* colM = app.Find<QComboBox>("CBTabUMColM");
    auto* colUM = app.Find<QComboBox>("CBTabUMColUM");
    QCOMPARE(Items(colM), fields);
    QCOMPARE(Items(colUM), fields);
    QCOMPARE(colM->currentIndex(), 0);
    QCOMPARE(colUM->currentIndex(), subField);
    QCOMPARE(p.Tables.submenu.col_submenu.index, subField);
    QCOMPARE(Q(p.Tables.submenu.col_submenu.name), subField < 0 ? QString() : fields[subField]);

    // The main menu selects its first field; the first page lists the fields from the start.
    app.Find<QToolButton>("SBTabMName")->click();
    QCOMPARE(app.Find<QComboBox>("CBTabMColM")->currentText(), fields[0]);
    QCOMPARE(p.Tables.mainmenu.col_mainmenu, (ColumnChoice{S(fields[0]), 0}));
    app.Find<QToolButton>("SBTabFirstName")->click();
    QCOMPARE(app.Find<QPlainTextEdit>("MTabFirstCol")->toPlainText(), fields.join(u'\n'));

    // Picking another field writes it through.
    if (fields.size() > 2) {
        Pick(colUM, 2);
        QCOMPARE(p.Tables.submenu.col_submenu, (ColumnChoice{"Pflanze", 2}));
    }
}

void TableTabTest::databaseTableTakenOverAsRead_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    QTest::newRow("DBase") << 0 << QStringLiteral("dbase_03.dbf") << int(kDbaseTable);
    QTest::newRow("Foxpro") << 1 << QStringLiteral("dbase_30.dbf") << int(kFoxproTable);
}

// A database table picked in the table selection dialog is read once: the slot shares the rows
// the dialog read, as it does for a CSV file.
void TableTabTest::databaseTableTakenOverAsRead() {
    QFETCH(int, type);
    QFETCH(QString, file);
    QFETCH(int, kind);
    const QString dir =
        QDir::cleanPath(QStringLiteral(PAGLOOM_RESOURCES "/../tests/data/shared/dbase/ruby-dbf"));
    AppFixture app;
    UseTablePages(app);
    app.session.project.Tables.Slot[ContentSlot::mainmenu].content_source = kSlotTemplate;
    app.main->RefreshFromModel();
    int previewRows = -1;
    app.prompts.onExec = [&](QDialog* d) {
        if (!ChooseTableFile(d, type, dir, file)) return int(QDialog::Rejected);
        previewRows = app.main->Tables()->DbExplore()->Model()->rowCount();
        return int(QDialog::Accepted);
    };
    const std::string path = S(QDir(dir).filePath(file));
    int reads = 0;
    bool besideTheWindow = false;
    app.disk.onRead = [&](const std::string& p) {
        if (p != path) return;
        ++reads;
        besideTheWindow = QThread::currentThread() != QCoreApplication::instance()->thread();
    };
    app.Find<QToolButton>("SBTabMName")->click();
    QCOMPARE(app.prompts.messages, QStringList{});
    QVERIFY(previewRows > 0);
    QCOMPARE(reads, 1);
    // A large table would hold the window up: the dialog reads it on a thread of its own.
    QVERIFY(besideTheWindow);
    QVERIFY(app.main->Tables()->DbExplore()->TableShown());
    const Project& p = app.session.project;
    QCOMPARE(int(p.PrjParams.TableKind[ContentSlot::mainmenu]), kind);
    QCOMPARE(p.PrjParams.DatabaseName[ContentSlot::mainmenu], PathS(dir));
    QCOMPARE(p.Tables.Slot[ContentSlot::mainmenu].name_display, PathS(file));
    QVERIFY(!p.Tables.Slot[ContentSlot::mainmenu].fields.empty());
    EngineTable& slotTable = app.session.Tables().Engine(ContentSlot::mainmenu);
    slotTable.Open();
    QCOMPARE(slotTable.RowCount(), size_t(previewRows));
    slotTable.Close();
    QCOMPARE(reads, 1);

    // Picked again with "Auswählen", the dialog reads the file afresh.
    app.Find<QToolButton>("SBTabMName")->click();
    QCOMPARE(app.prompts.messages, QStringList{});
    QCOMPARE(reads, 2);
    QCOMPARE(app.session.Tables().Engine(ContentSlot::mainmenu).Rows().RowCount(),
             size_t(previewRows));
}

void TableTabTest::reopenedDialogTakesItsTableOverAgain_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("cancelCsvImport");
    QTest::newRow("CSV") << kAscii << QStringLiteral("t.csv") << false;
    QTest::newRow("CSV, import dialog cancelled in between")
        << kAscii << QStringLiteral("t.csv") << true;
    QTest::newRow("DBase") << 0 << QStringLiteral("dbase_03.dbf") << false;
}

// Opened again after a take-over, the table selection dialog still shows its file, choice and
// preview, and OK takes the same table over again, into either menu slot, without reading the
// file once more: the dialog and both slots hold the one copy of the rows.
void TableTabTest::reopenedDialogTakesItsTableOverAgain() {
    QFETCH(int, type);
    QFETCH(QString, file);
    QFETCH(bool, cancelCsvImport);
    QTemporaryDir dir;
    WriteFile(dir.filePath("t.csv"), "Bereich;Gruppe\nStauden;Farne\nGeh\xF6lze;Ahorn\n");
    QVERIFY(QFile::copy(
        QStringLiteral(PAGLOOM_RESOURCES "/../tests/data/shared/dbase/ruby-dbf/dbase_03.dbf"),
        dir.filePath("dbase_03.dbf")));
    AppFixture app;
    UseTablePages(app);
    Project& p = app.session.project;
    for (ContentSlot slot : {ContentSlot::mainmenu, ContentSlot::submenu})
        p.Tables.Slot[slot].content_source = kSlotTemplate;
    app.main->RefreshFromModel();
    TfmDBExplore* explore = app.main->Tables()->DbExplore();
    const std::string path = S(dir.filePath(file));
    int reads = 0;
    app.disk.onRead = [&](const std::string& read) { reads += read == path; };

    // What the dialog shows when OK is pressed.
    struct Shown {
        QString file;
        TableChoice choice;
        QStringList headers;
        int rows = -1;
        QString firstCell;
    };
    auto look = [&] {
        Shown shown{explore->findChild<QLineEdit*>("edFilename")->text(),
                    explore->Choice(),
                    {},
                    explore->Model()->rowCount(),
                    {}};
        for (int c = 0; c < explore->Model()->columnCount(); ++c)
            shown.headers << explore->Model()->headerData(c, Qt::Horizontal).toString();
        shown.firstCell = explore->Model()->index(0, 0).data().toString();
        return shown;
    };
    Shown first;
    app.prompts.onExec = [&](QDialog* d) {
        if (qobject_cast<TCSVImportForm*>(d)) return AnswerCsvImport(d, kSemicolon, 0, true);
        if (!ChooseTableFile(d, type, dir.path(), file)) return int(QDialog::Rejected);
        first = look();
        return int(QDialog::Accepted);
    };
    app.Find<QToolButton>("SBTabMName")->click();
    QCOMPARE(app.prompts.messages, QStringList{});
    QCOMPARE(reads, 1);
    QVERIFY(first.rows > 0);
    QCOMPARE(first.file, file);
    const int kind = first.choice.kind;
    auto rowsOf = [&](ContentSlot slot) {
        return &dynamic_cast<StoredTable&>(*app.session.Tables().For(p.PrjParams, slot)).Rows();
    };
    const RowStore* held = rowsOf(ContentSlot::mainmenu);
    QCOMPARE(held->RowCount(), size_t(first.rows));

    // Opened again, first from the sub-menu, then from the main menu once more: OK as it stands
    // (after "Auswählen" and Abbrechen in the CSV import dialog, if so).
    for (const char* button : {"SBTabUMName", "SBTabMName"}) {
        Shown again;
        bool importAsked = false;
        app.prompts.onExec = [&](QDialog* d) {
            if (qobject_cast<TCSVImportForm*>(d)) {
                importAsked = true;
                return int(QDialog::Rejected);
            }
            if (cancelCsvImport)
                d->findChild<QPushButton*>(QStringLiteral("btFileSelect"))->click();
            again = look();
            return int(QDialog::Accepted);
        };
        app.session.Modified = false;
        app.Find<QToolButton>(button)->click();
        QCOMPARE(app.prompts.messages, QStringList{});
        QCOMPARE(importAsked, cancelCsvImport);
        QCOMPARE(again.file, file);
        QCOMPARE(again.choice.kind, kind);
        QCOMPARE(again.choice.database, PathS(dir.path()));
        QCOMPARE(again.choice.table, PathS(file));
        QCOMPARE(again.headers, first.headers);
        QCOMPARE(again.rows, first.rows);
        QCOMPARE(again.firstCell, first.firstCell);
        QCOMPARE(reads, 1);
        QVERIFY(app.session.Modified);
    }
    for (ContentSlot slot : {ContentSlot::mainmenu, ContentSlot::submenu}) {
        QCOMPARE(int(p.PrjParams.TableKind[slot]), kind);
        QCOMPARE(p.Tables.Slot[slot].name_display, PathS(file));
        QStringList fields;
        for (const std::string& f : p.Tables.Slot[slot].fields) fields << Q(f);
        QCOMPARE(fields, first.headers);
        QCOMPARE(rowsOf(slot), held);
    }
    QCOMPARE(&dynamic_cast<StoredTable&>(*explore->Model()->Table()).Rows(), held);
}

void TableTabTest::deleteButtons() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("k.csv"), "Bereich;Gruppe\nStauden;Farne\n");
    const QString plp = dir.filePath("p.plp");
    AppFixture app;
    UseTablePages(app);
    Project& p = app.session.project;
    for (ContentSlot slot : kAllSlots) p.Tables.Slot[slot].content_source = kSlotTemplate;
    app.main->RefreshFromModel();
    app.prompts.onExec = [&](QDialog* d) {
        if (qobject_cast<TCSVImportForm*>(d)) return AnswerCsvImport(d, kSemicolon, 0, true);
        return ChooseTableFile(d, kAscii, dir.path(), "k.csv") ? int(QDialog::Accepted)
                                                               : int(QDialog::Rejected);
    };
    for (ContentSlot slot : kAllSlots) app.main->Tables()->ChooseTable(slot);
    p.Tables.Slot[ContentSlot::submenu].template_file = "gruppe.tpl";
    app.prompts.files = {plp};
    QCOMPARE(app.main->FileSaveAs(), TMainForm::SaveOutcome::Saved);

    app.Find<QPushButton>("BTTabUMNameDelete")->click();
    app.Find<QPushButton>("BTTabFirstNameDelete")->click();
    QVERIFY(app.session.Modified);
    QCOMPARE(app.Find<QLineEdit>("EditTabUMName")->text(), QString());
    QCOMPARE(app.Find<QComboBox>("CBTabUMColM")->count(), 0);
    QCOMPARE(app.Find<QComboBox>("CBTabUMColUM")->count(), 0);
    QCOMPARE(p.Tables.submenu.col_submenu, ColumnChoice{});
    QCOMPARE(app.Find<QPlainTextEdit>("MTabFirstCol")->toPlainText(), QString());
    QVERIFY(!SlotTableInUse(p, ContentSlot::submenu));
    // The main menu keeps its table.
    QCOMPARE(app.Find<QComboBox>("CBTabMColM")->count(), 2);

    app.Find<QPushButton>("BTTabUMVorlageDelete")->click();
    QCOMPARE(app.Find<QLineEdit>("EditTabUMVorlage")->text(), QString());

    // Saved and opened again, the removed tables stay removed.
    QCOMPARE(app.main->FileSave(), TMainForm::SaveOutcome::Saved);
    QVERIFY(app.main->OpenProject(plp));
    QCOMPARE(app.prompts.messages, QStringList{});
    QVERIFY(p.Tables.Slot[ContentSlot::submenu].name_display.empty());
    QVERIFY(p.Tables.Slot[ContentSlot::firstpage].name_display.empty());
    QCOMPARE(p.Tables.Slot[ContentSlot::mainmenu].name_display, std::string("k.csv"));
    QVERIFY(p.Tables.Slot[ContentSlot::submenu].template_file.empty());

    // Nothing to remove: nothing changes.
    app.Find<QPushButton>("BTTabUMNameDelete")->click();
    app.Find<QPushButton>("BTTabUMVorlageDelete")->click();
    QVERIFY(!app.session.Modified);

    // A table that cannot be read any more shows no name but stays in the project until it is
    // removed.
    QVERIFY(QFile::remove(dir.filePath("k.csv")));
    QVERIFY(app.main->OpenProject(plp));
    QCOMPARE(app.prompts.messages, QStringList{"Fehler beim Einlesen der Datei:k.csv"});
    QVERIFY(p.Tables.Slot[ContentSlot::mainmenu].name_display.empty());
    app.Find<QPushButton>("BTTabMNameDelete")->click();
    QVERIFY(app.session.Modified);
    QCOMPARE(p.PrjParams.TableKind[ContentSlot::mainmenu], kNoneTable);
    QVERIFY(p.PrjParams.TableName[ContentSlot::mainmenu].empty());
}

void TableTabTest::templateChooserFilter_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("filter");
    QTest::newRow("Standard-Vorlage")
        << int(kSlotTemplate) << QStringLiteral("HTML (*.htm *.html)");
    QTest::newRow("Dreamweaver-Vorlage")
        << int(kSlotDwTemplate) << QStringLiteral("Dreamweaver-Template  (*.dwt)");
}

void TableTabTest::templateChooserFilter() {
    QFETCH(int, source);
    QFETCH(QString, filter);
    AppFixture app;
    UseTablePages(app);
    SlotTableSettings& s = app.session.project.Tables.Slot[ContentSlot::submenu];
    s.content_source = source;
    app.main->RefreshFromModel();
    app.prompts.files = {QStringLiteral("/vorlagen/gruppe.dwt")};
    app.Find<QToolButton>("SBTabUMVorlage")->click();
    QCOMPARE(app.prompts.openFilters, QStringList{filter});
    QCOMPARE(s.template_file, std::string("/vorlagen/gruppe.dwt"));
    QCOMPARE(app.Find<QLineEdit>("EditTabUMVorlage")->text(),
             QStringLiteral("/vorlagen/gruppe.dwt"));
    QVERIFY(app.session.Modified);

    // The same file again, or a cancelled chooser, is no change; a path Windows-1252 cannot
    // hold is refused.
    app.session.Modified = false;
    app.prompts.files = {QStringLiteral("/vorlagen/gruppe.dwt"), QString(),
                         QStringLiteral("/vorlagen/\u0416.dwt")};
    for (int i = 0; i < 3; ++i) app.Find<QToolButton>("SBTabUMVorlage")->click();
    QVERIFY(!app.session.Modified);
    QCOMPARE(s.template_file, std::string("/vorlagen/gruppe.dwt"));
    QCOMPARE(app.prompts.messages.size(), 1);
}

void TableTabTest::previews() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("k.csv"), "Bereich;Gruppe\nStauden;Farne\nGehoelze;Obst\n");
    AppFixture app;
    UseTablePages(app);
    Project& p = app.session.project;
    for (ContentSlot slot : kAllSlots) p.Tables.Slot[slot].content_source = kSlotTemplate;
    app.main->RefreshFromModel();

    app.Find<QToolButton>("SBTabFirstShow")->click();
    QCOMPARE(app.prompts.messages, QStringList{"Es wurde keine Tabelle ausgewählt"});

    int shownRows = -1, shownColumns = -1;
    app.prompts.onExec = [&](QDialog* d) {
        if (qobject_cast<TCSVImportForm*>(d)) return AnswerCsvImport(d, kSemicolon, 0, true);
        if (auto* show = qobject_cast<TTableShowForm*>(d)) {
            shownRows = show->Model()->rowCount();
            shownColumns = show->Model()->columnCount();
            return int(QDialog::Rejected);
        }
        return ChooseTableFile(d, kAscii, dir.path(), "k.csv") ? int(QDialog::Accepted)
                                                               : int(QDialog::Rejected);
    };
    app.main->Tables()->ChooseTable(ContentSlot::firstpage);
    app.prompts.messages.clear();
    app.Find<QToolButton>("SBTabFirstShow")->click();
    QCOMPARE(app.prompts.messages, QStringList{});
    QCOMPARE(shownRows, 2);
    QCOMPARE(shownColumns, 2);
    ContentTable* table = app.session.Tables().For(p.PrjParams, ContentSlot::firstpage);
    QVERIFY(!table->IsOpen());
    QCOMPARE(app.main->Tables()->TableShow()->Model()->columnCount(), 0);

    // A menu slot whose database table cannot be opened (any more) gives the table's error text.
    shownRows = -1;
    p.PrjParams.TableKind[ContentSlot::mainmenu] = kDbaseTable;
    p.Tables.Slot[ContentSlot::mainmenu].name_display = "fehlt.dbf";
    app.session.Tables()
        .Engine(ContentSlot::mainmenu)
        .SetSource(kDbaseTable, PathS(dir.path()), "fehlt.dbf");
    app.Find<QToolButton>("SBTabMShow")->click();
    QCOMPARE(shownRows, -1);
    QCOMPARE(app.prompts.messages.size(), 1);
    QVERIFY2(app.prompts.messages[0].contains(QStringLiteral("fehlt")),
             qPrintable(app.prompts.messages[0]));

    // A menu table that could not be read when the project was opened keeps its source for
    // saving but has no rows: the preview says so instead of showing an empty grid.
    app.prompts.messages.clear();
    p.PrjParams.TableKind[ContentSlot::mainmenu] = kCsvTable;
    p.Tables.Slot[ContentSlot::mainmenu].name_display.clear();
    app.Find<QToolButton>("SBTabMShow")->click();
    QCOMPARE(shownRows, -1);
    QCOMPARE(app.prompts.messages, QStringList{"Es wurde keine Tabelle ausgewählt"});
}

void TableTabTest::tableDialogStartsBesideTheProject() {
    QTemporaryDir dir, elsewhere;
    const QString file = dir.filePath(QStringLiteral("p.plp"));
    AppFixture app;
    QVERIFY(app.main->OpenProject(file));
    QStringList shownIn;
    app.prompts.onExec = [&](QDialog* d) {
        if (auto* explore = qobject_cast<TfmDBExplore*>(d)) shownIn << explore->Directory();
        return int(QDialog::Rejected);
    };
    app.main->Tables()->ChooseTable(ContentSlot::mainmenu);
    // Later openings stay where the user left the dialog.
    app.main->Tables()->DbExplore()->SetDirectory(elsewhere.path());
    app.main->Tables()->ChooseTable(ContentSlot::submenu);
    QCOMPARE(shownIn, (QStringList{QFileInfo(file).absolutePath(), elsewhere.path()}));
}

void TableTabTest::tabFollowsTablePagesOption() {
    AppFixture app;
    QTabWidget* tabs = app.main->PageControl();
    const int tabelle = tabs->indexOf(app.Find("tsTabelle"));
    QCOMPARE(tabs->tabText(tabelle), QStringLiteral("Tabelle"));
    QVERIFY(!tabs->isTabVisible(tabelle));
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QRadioButton*>("MakeTabFile")->click();
        return int(QDialog::Accepted);
    };
    app.main->OptionenItemClick();
    QVERIFY(tabs->isTabVisible(tabelle));
    QVERIFY(!tabs->isTabVisible(tabs->indexOf(app.Find("tsNavigation"))));
    auto* pages = app.main->Tables()->Pages();
    QCOMPARE(pages->count(), 3);
    const QStringList captions = {"Erste Seite", "Haupt-Menü", "Unter-Menü"};
    const char* names[] = {"PCTabsFirst", "PCTabsMenue", "PCTabsUMenue"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(pages->tabText(i), captions[i]);
        QCOMPARE(pages->widget(i)->objectName(), QString::fromLatin1(names[i]));
    }
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QRadioButton*>("MakeTempOn")->click();
        return int(QDialog::Accepted);
    };
    app.main->OptionenItemClick();
    QVERIFY(!tabs->isTabVisible(tabelle));
}

QTEST_MAIN(TableTabTest)
#include "TableTabTest.moc"
