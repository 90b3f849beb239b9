// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "generator/BuildContext.h"
#include "io/FileSystem.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"
#include "tables/CsvImport.h"
#include "tables/SlotOpening.h"

using namespace pagloom;
using pagloom::test::TempDir;

namespace {

using Items = std::vector<std::string>;

class SlotOpening : public ::testing::Test {
  protected:
    void SetUp() override { dir.Write("menu.csv", "Haupt;Unter;Text\nHome;Team;a\nNews;Neu;b\n"); }

    // Opening a project opens its slots' tables in the document's set.
    void Load(const std::string& tableSection) {
        doc.Open(dir.Write("p.plp", "[table]\n" + tableSection));
    }
    std::string SavedText() const { return ProjectFileText(project, "", "x", "2.0.1"); }

    TempDir dir;
    DiskFileSystem disk;
    RecordingHost host;
    ProjectDocument doc{disk, host};
    Project& project = doc.project;
};

}  // namespace

TEST_F(SlotOpening, CsvSlotsImportWithTheirSettingsAndSelectStoredColumns) {
    Load("mainmenu_database=" + dir.Path() +
         "\nmainmenu_table=menu.csv\nmainmenu_table_type=csv_table\nmainmenu_seperator_char=;"
         "\nmainmenu_caption=1\n"
         "mainmenu_col_mainmenu=HAUPT\nmainmenu_col_index_mainmenu=2\n"
         "submenu_database=" +
         dir.Path() +
         "\nsubmenu_table=menu.csv\nsubmenu_table_type=csv_table\nsubmenu_seperator_char=;"
         "\nsubmenu_caption=1\n"
         "submenu_col_mainmenu=Haupt\nsubmenu_col_index_mainmenu=0\nsubmenu_col_submenu="
         "haupt\nsubmenu_col_index_submenu=0\n");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(project.Tables.Slot[ContentSlot::mainmenu].name_display, "menu.csv");
    EXPECT_EQ(project.Tables.Slot[ContentSlot::mainmenu].fields, (Items{"Haupt", "Unter", "Text"}));
    EXPECT_EQ(project.Tables.mainmenu.col_mainmenu, (ColumnChoice{"Haupt", 0}));
    EXPECT_EQ(project.Tables.submenu.col_mainmenu, (ColumnChoice{"Haupt", 0}));
    // The stored sub-menu field equals the match field, so the next field is taken.
    EXPECT_EQ(project.Tables.submenu.col_submenu, (ColumnChoice{"Unter", 1}));
    EXPECT_EQ(project.PrjParams.TableKind[ContentSlot::firstpage], kNoneTable);
    ContentTable* t = doc.Tables().For(project.PrjParams, ContentSlot::mainmenu);
    ASSERT_NE(t, nullptr);
    t->Open();
    EXPECT_EQ(t->RowCount(), 2u);
    t->Close();
    EXPECT_NE(SavedText().find("mainmenu_col_mainmenu=Haupt"), std::string::npos);
}

namespace {

// The [table] section of a saved project file, as it stands in the file.
std::string TableSection(const std::string& fileText) {
    const size_t from = fileText.find("[table]\r\n");
    if (from == std::string::npos) return {};
    const size_t to = fileText.find("\r\n[", from);
    return fileText.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

}  // namespace

TEST_F(SlotOpening, SlotsThatDoNotOpenShowTheirMessageAndKeepTheirSettings) {
    dir.Write("broken.csv", "a,b\nc\n");
    Load("firstpage_database=" + dir.Path() +
         "\nfirstpage_table=weg.csv\nfirstpage_table_type=csv_table\nfirstpage_seperator_char=;"
         "\nfirstpage_caption=1\nfirstpage_quote_char=\"\n"
         "mainmenu_database=" +
         dir.Path() +
         "\nmainmenu_table=broken.csv\nmainmenu_table_type=csv_table\n"
         "mainmenu_col_mainmenu=Field0\nmainmenu_col_index_mainmenu=0\n"
         "submenu_database=KeineQuelle\nsubmenu_table=Kunden\nsubmenu_table_type=bde_table\n"
         "submenu_col_mainmenu=Haupt\nsubmenu_col_index_mainmenu=0\n"
         "submenu_col_submenu=Unter\nsubmenu_col_index_submenu=1\n");
    // A table that a reader refuses says why on a second line (here: the data source).
    const std::string odbc =
        "Fehler beim \xD6"
        "ffnen der Datei:Kunden\nDie Datenquelle KeineQuelle antwortet nicht!";
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[3].rfind(odbc, 0), 0u) << host.messages[3];
    host.messages[3] = odbc;
    EXPECT_EQ(host.messages, (Items{"Fehler beim Einlesen der Datei:weg.csv", kCsvFieldCountsDiffer,
                                    "Fehler beim Einlesen der Datei:broken.csv", odbc}));
    for (ContentSlot s : kAllSlots) {
        EXPECT_EQ(project.Tables.Slot[s].name_display, "");
        EXPECT_TRUE(project.Tables.Slot[s].fields.empty());
    }
    // What the file said stays in the model.
    const TPrjParams& pp = project.PrjParams;
    EXPECT_EQ(pp.TableKind[ContentSlot::firstpage], kCsvTable);
    EXPECT_EQ(pp.TableName[ContentSlot::firstpage], "weg.csv");
    EXPECT_EQ(pp.SeparatorChar[ContentSlot::firstpage], ';');
    EXPECT_EQ(pp.QuoteChar[ContentSlot::firstpage], '"');
    EXPECT_TRUE(pp.HasCaptionRow[ContentSlot::firstpage]);
    EXPECT_EQ(pp.TableKind[ContentSlot::submenu], kBdeTable);
    EXPECT_EQ(pp.DatabaseName[ContentSlot::submenu], "KeineQuelle");
    EXPECT_EQ(project.Tables.mainmenu.col_mainmenu, (ColumnChoice{"Field0", 0}));
    EXPECT_EQ(project.Tables.submenu.col_submenu, (ColumnChoice{"Unter", 1}));
    // The generator sees no table in any slot, and the slot's table holds no rows of before.
    MakeReport report;
    const TextLines library;
    BuildContext ctx{project, disk, host, report, "", "", library};
    ctx.tables = &doc.Tables();
    for (ContentSlot s : kAllSlots) EXPECT_EQ(ctx.SlotTable(s), nullptr);
    EXPECT_EQ(doc.Tables().Memory(ContentSlot::mainmenu).Rows().RowCount(), 0u);
    // Nor does the table check before a build.
    project.Settings.content_page.source.Select(kTabTemplatePages);
    host.messages.clear();
    EXPECT_FALSE(doc.TableCheck());
    EXPECT_EQ(host.messages, Items{"Sie haben keine Tabelle im Untermen\xFC-Register angegeben!"});
}

TEST_F(SlotOpening, SavingAfterFailedOpeningWritesEveryTableKeyBackUnchanged) {
    // A project whose slots held tables that have gone since: saved once with the tables in
    // place, then opened without them and saved again.
    const std::string csv = dir.Write("daten/menu.csv", "Haupt;Unter;Text\nHome;Team;a\n");
    doc.Open(dir.Write("p.plp",
                       "[table]\nfirstpage_database=daten\nfirstpage_table=menu.csv\n"
                       "firstpage_table_type=csv_table\nfirstpage_seperator_char=;\n"
                       "firstpage_caption=1\nmainmenu_database=daten\nmainmenu_table=menu.csv\n"
                       "mainmenu_table_type=csv_table\nmainmenu_seperator_char=;\n"
                       "mainmenu_caption=1\nmainmenu_col_mainmenu=Text\n"
                       "mainmenu_col_index_mainmenu=2\nsubmenu_database=Alias\n"
                       "submenu_table=Kunden\nsubmenu_table_type=bde_table\n"
                       "submenu_col_mainmenu=Nr\nsubmenu_col_index_mainmenu=0\n"
                       "submenu_col_submenu=Name\nsubmenu_col_index_submenu=1\n"));
    ASSERT_EQ(project.Tables.Slot[ContentSlot::mainmenu].name_display, "menu.csv");
    ASSERT_TRUE(doc.SaveAs(dir / "p.plp"));
    const std::string before = TableSection(test::ReadFile(dir / "p.plp"));
    ASSERT_NE(before.find("mainmenu_col_mainmenu=Text"), std::string::npos);
    ASSERT_NE(before.find("submenu_table_type=bde_table"), std::string::npos);

    std::remove(csv.c_str());
    host.messages.clear();
    ASSERT_TRUE(doc.Open(dir / "p.plp"));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[2].rfind("Fehler beim \xD6"
                                     "ffnen der Datei:Kunden\n",
                                     0),
              0u)
        << host.messages[2];
    host.messages.pop_back();
    ASSERT_EQ(host.messages, (Items{"Fehler beim Einlesen der Datei:menu.csv",
                                    "Fehler beim Einlesen der Datei:menu.csv"}));
    ASSERT_TRUE(doc.SaveAs(dir / "p.plp"));
    EXPECT_EQ(TableSection(test::ReadFile(dir / "p.plp")), before);
}

TEST(ColumnSelection, ByNameThenStoredPositionAndNeverTheMatchFieldTwice) {
    const Items items{"A", "B", "C"};
    struct Case {
        const char* name;
        ColumnChoice stored;
        ColumnChoice expected;
    };
    const Case byName[] = {
        {"name wins over position", {"c", 0}, {"C", 2}},
        {"unknown name falls back to position", {"X", 1}, {"B", 1}},
        {"position outside the list", {"X", 3}, {}},
        {"nothing stored", {"", -1}, {}},
    };
    for (const auto& c : byName) {
        ColumnChoice got = c.stored;
        SelectColumnByNameOrIndex(items, got);
        EXPECT_EQ(got, c.expected) << c.name;
    }
    const ColumnChoice mainB{"B", 1}, mainC{"C", 2};
    struct SubCase {
        const char* name;
        ColumnChoice main, stored, expected;
    };
    const SubCase sub[] = {
        {"different field kept", mainB, {"A", 0}, {"A", 0}},
        {"same field moves down", mainB, {"b", 1}, {"C", 2}},
        {"same last field moves up", mainC, {"C", 2}, {"B", 1}},
        {"same name, other stored position", mainB, {"B", 0}, {"A", 0}},
        {"unknown name, position equals match field", mainB, {"X", 1}, {"C", 2}},
    };
    for (const auto& c : sub) {
        ColumnChoice got = c.stored;
        SelectSubmenuColumn(items, c.main, got);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST_F(SlotOpening, TakeOverFillsTheSlotOrLeavesItAsItWas) {
    Project p;
    TableChoice csv{kCsvTable, dir.Path(), "menu.csv", '\'', ';', true};
    ASSERT_TRUE(SetASCIITab(p, doc.Tables(), ContentSlot::submenu, csv, host));
    EXPECT_EQ(p.PrjParams.TableKind[ContentSlot::submenu], kCsvTable);
    EXPECT_EQ(p.PrjParams.SeparatorChar[ContentSlot::submenu], ';');
    EXPECT_TRUE(p.PrjParams.HasCaptionRow[ContentSlot::submenu]);
    EXPECT_EQ(p.Tables.Slot[ContentSlot::submenu].fields, (Items{"Haupt", "Unter", "Text"}));

    EXPECT_FALSE(p.PrjParams.BlanksInValues[ContentSlot::submenu]);

    const TPrjParams before = p.PrjParams;
    TableChoice missing{kCsvTable, dir.Path(), "fehlt.csv", '\'', ',', false};
    EXPECT_FALSE(SetASCIITab(p, doc.Tables(), ContentSlot::submenu, missing, host));
    TableChoice dbf{kDbaseTable, PAGLOOM_SHARED_TESTDATA "/dbase/ruby-dbf",
                    "dbase_83_missing_memo.dbf"};
    EXPECT_FALSE(SetPredefinedTab(p, doc.Tables(), ContentSlot::submenu, dbf, host));
    // The reader's reason follows on a line of its own.
    EXPECT_EQ(host.messages,
              (Items{"Fehler beim einlesen der Datei:fehlt.csv\nDie Datei " + dir / "fehlt.csv" +
                         " kann nicht gelesen werden!",
                     "Fehler beim einlesen der Datei:dbase_83_missing_memo.dbf\nDie Tabelle "
                     "dbase_83_missing_memo.dbf braucht die Memodatei dbase_83_missing_memo.dbt, "
                     "die fehlt!"}));
    EXPECT_EQ(p.PrjParams, before);

    TableChoice people{kDbaseTable, PAGLOOM_SHARED_TESTDATA "/dbase/dbfread", "people.dbf"};
    ASSERT_TRUE(SetPredefinedTab(p, doc.Tables(), ContentSlot::firstpage, people, host));
    EXPECT_EQ(p.Tables.Slot[ContentSlot::firstpage].fields, (Items{"NAME", "BIRTHDATE"}));
    EXPECT_EQ(p.Tables.Slot[ContentSlot::firstpage].name_display, "people.dbf");
    EXPECT_EQ(p.PrjParams.TableKind[ContentSlot::firstpage], kDbaseTable);
}

// Blanks kept in values: taken over with the table, stored per slot, and honoured when the
// project is opened again.
TEST_F(SlotOpening, BlanksInValuesGoWithTheSlot) {
    dir.Write("export.csv", "Bereich;Artikel\nHeimwerker & Garten;S\xE4gen\n");
    TableChoice choice{kCsvTable, dir.Path(), "export.csv", '"', ';', true, true};
    ASSERT_TRUE(SetASCIITab(project, doc.Tables(), ContentSlot::mainmenu, choice, host));
    EXPECT_TRUE(project.PrjParams.BlanksInValues[ContentSlot::mainmenu]);
    EXPECT_NE(SavedText().find("mainmenu_blanks_in_values=1\r\n"), std::string::npos);

    const std::string source = "mainmenu_database=" + dir.Path() +
                               "\nmainmenu_table=export.csv\nmainmenu_table_type=csv_table\n"
                               "mainmenu_seperator_char=;\nmainmenu_caption=1\n";
    Load(source + "mainmenu_blanks_in_values=1\n");
    EXPECT_TRUE(host.messages.empty());
    ContentTable* t = doc.Tables().For(project.PrjParams, ContentSlot::mainmenu);
    ASSERT_NE(t, nullptr);
    t->Open();
    EXPECT_EQ(t->FieldText(size_t{0}), "Heimwerker & Garten");
    t->Close();

    // Without the key the stored rule splits at the blanks: four values, two captions.
    Load(source);
    EXPECT_EQ(host.messages,
              (Items{kCsvImportFailed, "Fehler beim Einlesen der Datei:export.csv"}));
}

// Rows the table selection dialog already read are shared with the slot: the file is not read a
// second time (here it is gone by then), both hold the one store, and the dialog's table reading
// another file afterwards leaves the slot's rows as they were.
TEST_F(SlotOpening, TakeOverSharesRowsReadBeforeInsteadOfReadingAgain) {
    MemoryTable read;
    ASSERT_TRUE(ImportCsvFile(disk, host, dir / "menu.csv", ';', '\'', true, read, false));
    ASSERT_EQ(std::remove((dir / "menu.csv").c_str()), 0);
    TableChoice csv{kCsvTable, dir.Path(), "menu.csv", '\'', ';', true};
    csv.readRows = &read;
    ASSERT_TRUE(SetASCIITab(project, doc.Tables(), ContentSlot::mainmenu, csv, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(project.Tables.Slot[ContentSlot::mainmenu].fields, (Items{"Haupt", "Unter", "Text"}));
    EXPECT_EQ(project.Tables.Slot[ContentSlot::mainmenu].name_display, "menu.csv");
    MemoryTable& slot = doc.Tables().Memory(ContentSlot::mainmenu);
    EXPECT_EQ(slot.Rows().RowCount(), 2u);
    EXPECT_EQ(slot.FieldWidths(), read.FieldWidths());
    EXPECT_EQ(&slot.Rows(), &read.Rows());

    ASSERT_TRUE(ImportCsvFile(disk, host, dir.Write("anders.csv", "x;y\n1;2\n"), ';', '\'', true,
                              read, false));
    EXPECT_EQ(read.FieldCount(), 2u);
    EXPECT_EQ(slot.FieldCount(), 3u);
    slot.Open();
    EXPECT_EQ(slot.RowCount(), 2u);
    EXPECT_EQ(slot.FieldText(size_t{0}), "Home");
    slot.Close();
}

// The same for a database table: the slot's engine table shares its rows when they are of the
// chosen table; rows of another table are left alone and the chosen one is read.
TEST_F(SlotOpening, TakeOverSharesDatabaseRowsOfTheChosenTableOnly) {
    const std::string shared = PAGLOOM_SHARED_TESTDATA "/dbase/dbfread/people.dbf";
    std::filesystem::copy_file(shared, dir / "people.dbf");
    std::filesystem::copy_file(shared, dir / "andere.dbf");
    EngineTable read(disk), other(disk);
    read.SetSource(kDbaseTable, dir.Path(), "people.dbf");
    other.SetSource(kDbaseTable, dir.Path(), "andere.dbf");
    for (EngineTable* t : {&read, &other}) {
        t->Open();
        t->Close();
    }
    const size_t rows = read.Rows().RowCount();
    ASSERT_GT(rows, 0u);
    ASSERT_EQ(std::remove((dir / "people.dbf").c_str()), 0);

    TableChoice people{kDbaseTable, dir.Path(), "people.dbf"};
    people.readTable = &other;
    EXPECT_FALSE(SetPredefinedTab(project, doc.Tables(), ContentSlot::mainmenu, people, host));
    EXPECT_EQ(other.Rows().RowCount(), rows);

    host.messages.clear();
    people.readTable = &read;
    ASSERT_TRUE(SetPredefinedTab(project, doc.Tables(), ContentSlot::mainmenu, people, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(project.Tables.Slot[ContentSlot::mainmenu].name_display, "people.dbf");
    EXPECT_FALSE(project.Tables.Slot[ContentSlot::mainmenu].fields.empty());
    EXPECT_EQ(doc.Tables().Engine(ContentSlot::mainmenu).Rows().RowCount(), rows);
    EXPECT_EQ(&doc.Tables().Engine(ContentSlot::mainmenu).Rows(), &read.Rows());
}

// Reading a slot's table counts up to its end, so a window can show how far it has come.
TEST_F(SlotOpening, ReadingASlotTableCountsToItsEnd) {
    ReadProgress& read = doc.Tables().Progress();
    EXPECT_EQ(read.Percent(), -1);
    Load("mainmenu_database=" + dir.Path() +
         "\nmainmenu_table=menu.csv\nmainmenu_table_type=csv_table\n"
         "mainmenu_seperator_char=;\nmainmenu_caption=1\n");
    ASSERT_TRUE(host.messages.empty());
    EXPECT_EQ(read.Percent(), 100);

    read.Start(0);
    TableChoice people{kDbaseTable, PAGLOOM_SHARED_TESTDATA "/dbase/dbfread", "people.dbf"};
    ASSERT_TRUE(SetPredefinedTab(project, doc.Tables(), ContentSlot::firstpage, people, host));
    EXPECT_EQ(read.Percent(), 100);
}
