// SPDX-License-Identifier: MIT
// Table-driven builds end to end: project in memory, tables from CSV files and a dBase file,
// MakeStartClick into a temporary folder, pages read back.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "generator/TableMenu.h"
#include "generator/TableTemplate.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"
#include "tables/SlotOpening.h"

using namespace pagloom;
using pagloom::test::TempDir;

namespace {

using Strings = std::vector<std::string>;

class TableBuildTest : public ::testing::Test {
  protected:
    void SetUp() override {
        site = dir.File("site");
        std::filesystem::create_directories(site);
        dialog.Destination = site;
        p.Settings.files.destination_directory = site;
        p.Settings.content_page.source.Select(kTabTemplatePages);
        p.Settings.content_page.tab_overwrite = true;
        p.Tables.Slot[ContentSlot::firstpage].content_source = kSlotNoPages;
        p.Tables.Slot[ContentSlot::submenu].content_source = kSlotNoPages;
    }

    // Takes a CSV file (';', caption row) over into a slot.
    void UseCsv(ContentSlot slot, const std::string& name, const std::string& text) {
        dir.Write(name, text);
        ASSERT_TRUE(SetASCIITab(p, doc.Tables(), slot,
                                TableChoice{kCsvTable, dir.Path(), name, '"', ';', true}, host));
    }
    void UseTemplate(ContentSlot slot, int source, const std::string& text) {
        const std::string name = std::string(SlotName(slot)) + ".tpl";
        p.Tables.Slot[slot].content_source = source;
        p.Tables.Slot[slot].template_file = dir.Write(name, text);
    }
    BuildOutcome Build() { return doc.MakeStart(); }
    std::string Page(const std::string& name) const {
        std::ifstream in(site + "/" + name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    Strings MenuTexts(const TWebMenu& m) const {
        Strings out;
        for (int i = 0; i < m.Count(); ++i)
            out.push_back(m.Item(i).Text + "|" + m.Item(i).FileName);
        return out;
    }
    bool Logged(const std::string& line) const {
        const auto& lines = dialog.Report.Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    TempDir dir;
    std::string site;
    DiskFileSystem disk;
    RecordingHost host;
    // Built as the programs build: through a document with its own tables and table steps.
    ProjectDocument doc{disk, host};
    Project& p = doc.project;
    BuildDialog& dialog = doc.Build;
};

const char* const kMenuCsv = "Menu;Nr\nHome;1\nhome;2\nNews;3\nHome;4\n";

}  // namespace

TEST_F(TableBuildTest, DistinctMenuTextsIgnoreCaseButPagesFilterWithCase) {
    UseCsv(ContentSlot::mainmenu, "menu.csv", kMenuCsv);
    p.Tables.mainmenu.col_mainmenu = {"Menu", 0};
    UseTemplate(ContentSlot::mainmenu, kSlotTemplate,
                "<RECORD>[<FIELD name=\"Nr\">x</FIELD>]</RECORD>\n<FIELD name=nr>x</FIELD>|<FIELD "
                "name=\"Preis\">x</FIELD>\n");
    const BuildOutcome o = Build();
    ASSERT_TRUE(o.Succeeded()) << (host.messages.empty() ? "" : host.messages[0]);
    EXPECT_EQ(MenuTexts(p.MainMenu), (Strings{"Home|inhalt_1.htm", "News|inhalt_2.htm"}));
    EXPECT_EQ(p.MainMenu.ItemIndex, 0);
    EXPECT_EQ(Page("inhalt_1.htm"), "[1][4]\r\n1|<FIELD name=\"Preis\">x</FIELD>\r\n");
    EXPECT_EQ(Page("inhalt_2.htm"), "[3]\r\n3|<FIELD name=\"Preis\">x</FIELD>\r\n");
    // The menu script lists the rebuilt menu.
    EXPECT_NE(Page("index.js").find("News"), std::string::npos);

    // A second build changes nothing.
    Build();
    const auto& log = dialog.Report.Lines();
    const auto second = std::find(log.rbegin(), log.rend(), "Erstelle Dateien in " + site + ":");
    EXPECT_EQ(std::count(log.rbegin(), second, "OK"), 0);
}

TEST_F(TableBuildTest, PageNamesFromTableValuesAndFromText) {
    UseCsv(ContentSlot::mainmenu, "menu.csv",
           "Haupt;Unter;Text\n\"\xDC"
           "ber uns\";Team;t1\n\"\xDC"
           "ber uns\";team;t2\n\"\xDC"
           "ber uns\";Geschichte;g\n"
           "Produkte;St\xFChle;s\nProdukte;Tische;x\nKontakt;;k\n");
    UseCsv(ContentSlot::submenu, "menu.csv",
           "Haupt;Unter;Text\n\"\xDC"
           "ber uns\";Team;t1\n\"\xDC"
           "ber uns\";team;t2\n\"\xDC"
           "ber uns\";Geschichte;g\n"
           "Produkte;St\xFChle;s\nProdukte;Tische;x\nKontakt;;k\n");
    p.Tables.mainmenu.col_mainmenu = {"Haupt", 0};
    p.Tables.submenu.col_mainmenu = {"Haupt", 0};
    p.Tables.submenu.col_submenu = {"Unter", 1};
    p.Tables.mainmenu.filename.Select(kNameFromTable);
    p.Tables.submenu.filename.Select(kNameFromTable);
    UseTemplate(ContentSlot::mainmenu, kSlotTemplate, "<RECORD><FIELD name=Text></FIELD></RECORD>");
    UseTemplate(ContentSlot::submenu, kSlotTemplate, "<RECORD><FIELD name=Text></FIELD>,</RECORD>");
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(MenuTexts(p.MainMenu), (Strings{"\xDC"
                                              "ber uns|ueber_uns.htm",
                                              "Produkte|Produkte.htm", "Kontakt|Kontakt.htm"}));
    EXPECT_EQ(MenuTexts(*p.MainMenu.Item(0).SubMenu),
              (Strings{"Team|ueber_uns_Team.htm", "Geschichte|ueber_uns_Geschichte.htm"}));
    // 'team' is the same sub entry, but the page of 'Team' holds only the row with 'Team'.
    EXPECT_EQ(Page("ueber_uns_Team.htm"), "t1,\r\n");
    EXPECT_EQ(Page("ueber_uns.htm"), "t1t2g\r\n");
    EXPECT_EQ(p.MainMenu.Item(0).SubMenu->ItemIndex, 0);
    // The empty sub-menu value of 'Kontakt' is an entry of its own.
    EXPECT_EQ(MenuTexts(*p.MainMenu.Item(2).SubMenu), (Strings{"|Kontakt_.htm"}));

    p.Tables.mainmenu.filename.Select(kNameFromText);
    p.Tables.submenu.filename.Select(kNameFromText);
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(MenuTexts(*p.MainMenu.Item(1).SubMenu),
              (Strings{"St\xFChle|inhalt_2_1.htm", "Tische|inhalt_2_2.htm"}));
    EXPECT_EQ(Page("inhalt_2_2.htm"), "x,\r\n");
}

TEST_F(TableBuildTest, MainEntryWithoutSubRowsGetsNoSubEntries) {
    UseCsv(ContentSlot::mainmenu, "main.csv", "M\nA\nB\n");
    UseCsv(ContentSlot::submenu, "sub.csv", "M;S\nA;a1\n");
    p.Tables.mainmenu.col_mainmenu = {"M", 0};
    p.Tables.submenu.col_mainmenu = {"M", 0};
    p.Tables.submenu.col_submenu = {"S", 1};
    UseTemplate(ContentSlot::mainmenu, kSlotTemplate, "m");
    UseTemplate(ContentSlot::submenu, kSlotTemplate, "s");
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(p.MainMenu.Item(0).SubMenu->Count(), 1);
    EXPECT_EQ(p.MainMenu.Item(1).SubMenu->Count(), 0);
    EXPECT_EQ(Page("inhalt_1_1.htm"), "s\r\n");
}

// The menu preview's look at a table-driven menu before the first build: the build's menu,
// while the project keeps its own and nothing is said.
TEST_F(TableBuildTest, MenuFromTablesIsTheBuildsMenuAndLeavesTheProjectAlone) {
    p.MainMenu.Add(TWebMenu::NewMainItem("Von Hand", "hand.htm", true));
    EXPECT_EQ(MenuFromTables(p, doc.Tables()).Count(), 0);  // no table yet

    UseCsv(ContentSlot::mainmenu, "main.csv", "M\nA\nB\n");
    UseCsv(ContentSlot::submenu, "sub.csv", "M;S\nB;b1\nA;a1\nB;b2\n");
    p.Tables.mainmenu.col_mainmenu = {"M", 0};
    p.Tables.submenu.col_mainmenu = {"M", 0};
    p.Tables.submenu.col_submenu = {"S", 1};
    UseTemplate(ContentSlot::mainmenu, kSlotTemplate, "m");
    UseTemplate(ContentSlot::submenu, kSlotTemplate, "s");
    const TWebMenu menu = MenuFromTables(p, doc.Tables());
    ASSERT_EQ(MenuTexts(menu), (Strings{"A|inhalt_1.htm", "B|inhalt_2.htm"}));
    EXPECT_EQ(MenuTexts(*menu.Item(0).SubMenu), (Strings{"a1|inhalt_1_1.htm"}));
    EXPECT_EQ(MenuTexts(*menu.Item(1).SubMenu),
              (Strings{"b1|inhalt_2_1.htm", "b2|inhalt_2_2.htm"}));
    EXPECT_EQ(MenuTexts(p.MainMenu), (Strings{"Von Hand|hand.htm"}));

    // A field that is not chosen gives no menu, and no message.
    p.Tables.submenu.col_submenu = {};
    EXPECT_EQ(MenuFromTables(p, doc.Tables()).Count(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TableBuildTest, PreconditionsShowTheirMessageAndTheLevelGetsNoPages) {
    struct Case {
        const char* name;
        int first, main, sub;
        bool mainTable, keep;
        Strings messages;
        const char* log;
    };
    const char* kNoNavLog = "*** keine Tabelle f\xFCr Navigatin ausgew\xE4hlt! ***";
    const char* kNoSubLog = "*** keine Tabelle(n) f\xFCr Navigatin ausgew\xE4hlt! ***";
    const std::string kNoNavMessage =
        "Sie haben keine Tabelle(n) f\xFCr die Erstellung der Navigation ausgew\xE4hlt!";
    const Case cases[] = {
        {"A: empty main pages without table",
         kSlotNoPages,
         kSlotEmptyPages,
         kSlotNoPages,
         false,
         false,
         {"Sie haben keine Tabelle f\xFCr die Erstellung der Seiten ausgew\xE4hlt!"},
         kNoNavLog},
        {"B: kept Dreamweaver main pages without table",
         kSlotNoPages,
         kSlotDwTemplate,
         kSlotNoPages,
         false,
         true,
         {"keine Tabelle f\xFCr die Erstellung der Seiten f\xFCr das Hauptmen\xFC ausgew\xE4hlt!"},
         kNoNavLog},
        {"C: empty sub pages without sub table",
         kSlotNoPages,
         kSlotTemplate,
         kSlotEmptyPages,
         true,
         false,
         {kNoNavMessage,
          "Sie haben keine Tabelle(n) f\xFCr die Erstellung der Seiten ausgew\xE4hlt!"},
         kNoSubLog},
        {"D: kept Dreamweaver sub pages without tables",
         kSlotNoPages,
         kSlotNoPages,
         kSlotDwTemplate,
         false,
         true,
         {kNoNavMessage,
          "keine Tabelle f\xFCr die Erstellung der Seiten f\xFCr das Untermen\xFC ausgew\xE4hlt!"},
         kNoSubLog},
        {"E: kept Dreamweaver first page without table",
         kSlotDwTemplate,
         kSlotNoPages,
         kSlotNoPages,
         false,
         true,
         {"keine Tabelle f\xFCr die Erstellung der ersten Seite!"},
         kNoNavLog},
    };
    UseCsv(ContentSlot::mainmenu, "menu.csv", kMenuCsv);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.messages.clear();
        p.MainMenu.Clear();
        p.Settings.firstpage.firstpage.Select(kOff);  // preconditions are tested all the same
        p.PrjParams.TableKind[ContentSlot::mainmenu] = c.mainTable ? kCsvTable : kNoneTable;
        p.Tables.Slot[ContentSlot::mainmenu].name_display = c.mainTable ? "menu.csv" : "";
        p.Tables.mainmenu.col_mainmenu = {"Menu", 0};
        UseTemplate(ContentSlot::firstpage, c.first, "<html><body></body></html>");
        UseTemplate(ContentSlot::mainmenu, c.main, "<html><body></body></html>");
        UseTemplate(ContentSlot::submenu, c.sub, "<html><body></body></html>");
        dialog.RegionOverwriteVisible = c.keep;
        dialog.RegionOverwrite = false;
        EXPECT_TRUE(Build().reachedEnd);
        EXPECT_EQ(host.messages, c.messages);
        EXPECT_TRUE(Logged(c.log));
    }
    EXPECT_FALSE(std::filesystem::exists(site + "/inhalt_1_1.htm"));
}

TEST_F(TableBuildTest, DreamweaverPagesAreMadeFreshOrKeepTheirRegions) {
    UseCsv(ContentSlot::mainmenu, "menu.csv", kMenuCsv);
    p.Tables.mainmenu.col_mainmenu = {"Menu", 0};
    UseTemplate(ContentSlot::mainmenu, kSlotDwTemplate,
                "<html>\n<body>\n<!-- TemplateBeginEditable name=\"Text\" -->Platzhalter<!-- "
                "TemplateEndEditable -->\n"
                "<RECORD><p><FIELD name=Nr></FIELD></p></RECORD>\n</body>\n</html>\n");
    ASSERT_TRUE(Build().Succeeded());
    std::string page = Page("inhalt_1.htm");
    EXPECT_NE(
        page.find(
            "<!-- InstanceBeginEditable name=\"Text\" -->Platzhalter<!-- InstanceEndEditable -->"),
        std::string::npos)
        << page;
    EXPECT_NE(page.find("<p>1</p><p>4</p>"), std::string::npos);

    const size_t at = page.find("Platzhalter");
    page.replace(at, 11, "Mein Text");
    std::ofstream(site + "/inhalt_1.htm", std::ios::binary) << page;
    dialog.RegionOverwriteVisible = true;
    dialog.RegionOverwrite = false;
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_NE(Page("inhalt_1.htm").find("-->Mein Text<!--"), std::string::npos);
    EXPECT_NE(Page("inhalt_1.htm").find("<p>1</p><p>4</p>"), std::string::npos);
    dialog.RegionOverwrite = true;
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_NE(Page("inhalt_1.htm").find("-->Platzhalter<!--"), std::string::npos);
}

TEST_F(TableBuildTest, EngineTableDrivesTheMenuAndPages) {
    {
        DBFHandle h = DBFCreateEx(dir.File("obst.dbf").c_str(), "LDID/2");  // DOS code page 850
        DBFAddField(h, "SORTE", FTString, 20, 0);
        DBFAddField(h, "PREIS", FTDouble, 6, 2);
        const char* names[] = {"\x84pfel", "Birnen", "\x84pfel"};
        const double prices[] = {1.5, 2, 0.25};
        for (int i = 0; i < 3; ++i) {
            DBFWriteStringAttribute(h, i, 0, names[i]);
            DBFWriteDoubleAttribute(h, i, 1, prices[i]);
        }
        DBFClose(h);
    }
    ASSERT_TRUE(SetPredefinedTab(p, doc.Tables(), ContentSlot::mainmenu,
                                 TableChoice{kDbaseTable, dir.Path(), "obst.dbf"}, host));
    p.Tables.mainmenu.col_mainmenu = {"SORTE", 0};
    p.Tables.mainmenu.filename.Select(kNameFromTable);
    UseTemplate(ContentSlot::mainmenu, kSlotTemplate,
                "<RECORD><FIELD name=preis></FIELD> </RECORD>");
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(MenuTexts(p.MainMenu), (Strings{"\xE4pfel|aepfel.htm", "Birnen|Birnen.htm"}));
    EXPECT_EQ(Page("aepfel.htm"), "1.50 0.25 \r\n");

    // A table gone by the next build: the menu stays as it was (the reader's reason on the line
    // below the message), and filling its pages ends the build with the reading error.
    std::filesystem::remove(dir.File("obst.dbf"));
    host.messages.clear();
    EXPECT_FALSE(Build().reachedEnd);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], "Fehler beim Verarbeiten der Tabelle: obst.dbf!\nDie Datei " +
                                    dir.File("obst.dbf") + " kann nicht gelesen werden!");
    EXPECT_EQ(host.messages[1].rfind("Die Datei ", 0), 0u);
    EXPECT_EQ(p.MainMenu.Count(), 2);
}

TEST_F(TableBuildTest, UnreadableTemplateOrMissingFieldEndsTheBuild) {
    UseCsv(ContentSlot::mainmenu, "menu.csv", kMenuCsv);
    p.Tables.mainmenu.col_mainmenu = {"Menu", 0};
    p.Tables.Slot[ContentSlot::mainmenu].content_source = kSlotTemplate;
    p.Tables.Slot[ContentSlot::mainmenu].template_file = dir.File("fehlt.tpl");
    BuildOutcome o = Build();
    EXPECT_FALSE(o.reachedEnd);
    ASSERT_EQ(host.messages.size(), 1u);

    host.messages.clear();
    p.Tables.mainmenu.col_mainmenu = {};
    UseTemplate(ContentSlot::mainmenu, kSlotTemplate, "x");
    o = Build();
    EXPECT_FALSE(o.reachedEnd);
    EXPECT_EQ(host.messages, Strings{"Sie haben kein Feld f\xFCr das Hauptmen\xFC ausgew\xE4hlt!"});
}
