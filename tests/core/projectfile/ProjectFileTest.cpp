// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "io/FileSystem.h"
#include "projectfile/ProjectFile.h"

using namespace pagloom;
using test::TempDir;

namespace {

std::tm Clock(int day, int hour) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = 8;
    t.tm_sec = 9;
    return t;
}

// The saved text without its project/lastsave line, which changes with every save.
std::string WithoutLastSave(std::string text) {
    const std::size_t at = text.find("lastsave=");
    if (at != std::string::npos) text.erase(at, text.find("\r\n", at) - at);
    return text;
}

class ProjectFileTest : public ::testing::Test {
  protected:
    void SetUp() override { host.fixedNow = Clock(5, 7); }

    Project LoadText(const std::string& text) {
        Project p;
        LoadProject(p, dir.Write("in.plp", text), disk, host);
        return p;
    }
    std::string SaveText(const Project& p, const std::string& name = "out.plp") {
        const std::string path = dir.File(name);
        EXPECT_TRUE(SaveProject(p, path, disk, host));
        return test::ReadFile(path);
    }

    TempDir dir;
    DiskFileSystem disk;
    RecordingHost host;
};

// Every kind of setting away from its default, a menu with sub-menus, styles and tables.
void FillRichProject(Project& p, const std::string& destination) {
    ProjectSettings& s = p.Settings;
    s.content_page.source.Select(kDwTemplatePages);
    s.content_page.empty_overwrite = true;
    s.content_page.empty_titel_is_menu = false;
    s.content_page.template_file = "/vorlagen/seite.htm";
    s.content_page.dw_template_file = "/site/Templates/haupt.dwt";
    s.content_page.tab_dw_editable_overwrite = true;
    s.menu_frame.frame.Select(kOff);
    s.menu_frame.noscript = true;
    s.menu_frame.noscript_kind.Select(kNoscriptPHP);
    s.menu_frame.menuetext_tags = false;
    s.frameset.empty_overwrite = false;
    s.frameset.menuframe_marginwidth = 0;
    s.frameset.bottomframe_marginheight = -4;
    s.frameset.frametop = true;
    s.frameset.titel = "M\xFCller & S\xF6hne";
    s.frameset.frameoption = 2;
    s.frameset.frameborderwidth = 7;
    s.frameset.menuframe_size = 222;
    s.frames.topframe.Select(kOff);
    s.frames.overwrite_bottomframe = true;
    s.firstpage.firstpage_from_template = true;
    s.files.destination_directory = destination;
    s.files.frameset_file = "start.html";
    s.files.frame_bottom_file = "fuss.htm";
    s.css.css.Select(kOff);
    s.css.overwrite_css = false;
    s.javascript.overwrite_javascript = false;
    s.sitemap.make_sitemap = true;
    s.sitemap.urltext = "http://example.org/";
    s.sitemap.menuframe = true;
    s.sitemap.extra_files = {"impressum.htm", "agb.htm"};

    auto& a = p.MainMenu.Add(TWebMenu::NewMainItem("Start", "start.htm", true));
    a.SubMenu->Add(TWebMenu::NewSubItem("<b>Neu</b>", "neu.htm", false));
    a.SubMenu->Add(
        TWebMenu::NewSubItem("\xDC"
                             "ber uns",
                             "ueber.htm", true));
    p.MainMenu.Add(TWebMenu::NewMainItem("Leer", "leer.htm", false));

    TCSS& men = p.PrjParams.Style(kMainMenuLevel);
    men.position = "absolute";
    men.left_right_direction = "right";
    men.left_right_type = "px";
    men.left_right_value = "-5";
    men.FontFamilyList = {"Times New Roman", "serif"};
    men.text_decoration_underline = true;
    men.color_hover = "FF0000";
    men.WidthType(kBorder, kTop) = "px";
    men.BorderStyle(kBottom) = "dotted";
    p.PrjParams.Style(kSubMenuLevel).background_color_hover = "";
    p.PrjParams.Style(kSubMenuLevel).FontFamilyList.clear();

    p.PrjParams.TableKind[ContentSlot::mainmenu] = kCsvTable;
    p.PrjParams.DatabaseName[ContentSlot::mainmenu] = "/daten";
    p.PrjParams.TableName[ContentSlot::mainmenu] = "produkte.csv";
    p.PrjParams.SeparatorChar[ContentSlot::mainmenu] = ';';
    p.PrjParams.QuoteChar[ContentSlot::mainmenu] = '"';
    p.PrjParams.HasCaptionRow[ContentSlot::mainmenu] = true;
    p.Tables.Slot[ContentSlot::firstpage].content_source = kSlotDwTemplate;
    p.Tables.Slot[ContentSlot::submenu].template_file = "/vorlagen/unter.htm";
    p.Tables.mainmenu.col_mainmenu = {"Gruppe", 2};
    p.Tables.mainmenu.filename.Select(kNameFromTable);
    p.Tables.submenu.col_submenu = {"Artikel", 0};
    p.Tables.submenu.from_table_seperator = "-";
    p.Tables.field_tag_name = "FELD";
    p.Tables.tag_item_index = kSquareBrackets;
    p.Tables.convert.web_to_link = true;
    p.Tables.convert.tags_unicode = false;
}

}  // namespace

TEST_F(ProjectFileTest, MissingFileGivesTheDefaultsOfANewProject) {
    Project p;
    FillRichProject(p, dir.Path());
    LoadProject(p, dir.File("does-not-exist.plp"), disk, host);

    const ProjectSettings& s = p.Settings;
    EXPECT_EQ(s.content_page.source.Selected(), kEmptyPages);
    EXPECT_TRUE(s.menu_frame.frame.Is(kOn));
    EXPECT_TRUE(s.frameset.frameset.Is(kOn));
    EXPECT_TRUE(s.frameset.empty_overwrite);
    EXPECT_FALSE(s.frameset.frametop || s.frameset.framebottom);
    EXPECT_TRUE(s.firstpage.firstpage.Is(kOn));
    EXPECT_TRUE(s.css.css.Is(kOn) && s.css.overwrite_css);
    EXPECT_TRUE(s.javascript.javascript.Is(kOn) && s.javascript.overwrite_javascript);
    EXPECT_FALSE(s.sitemap.make_sitemap);
    EXPECT_TRUE(s.sitemap.extra_files.empty());
    EXPECT_EQ(s.files.destination_directory, "");
    EXPECT_EQ(s.frameset.contentframe_marginheight, 10);
    EXPECT_EQ(s.frameset.menuframe_size, 140);
    EXPECT_EQ(s.frameset.frametop_size, 60);
    EXPECT_EQ(s.frameset.framebottom_size, 60);
    EXPECT_EQ(s.frameset.frameoption, 1);
    EXPECT_EQ(s.frameset.frameborderwidth, 1);
    EXPECT_EQ(p.MainMenu.Count(), 0);
    EXPECT_EQ(p.MainMenu.ItemIndex, -1);
    EXPECT_EQ(s.lastsave, "05.03.2026 07:08:09");
    EXPECT_TRUE(host.messages.empty());

    // Nothing of the former project survives: the file text equals that of a fresh project.
    Project fresh;
    EXPECT_EQ(ProjectFileText(p, "", "t", "v"), ProjectFileText(fresh, "", "t", "v"));
}

TEST_F(ProjectFileTest, ChoiceGroupsAreReadInWritingOrder) {
    const struct {
        const char* name;
        std::string section;
        int expected;
    } cases[] = {
        {"no-frameset without empty-frameset", "[frameset]\nno-frameset=1\n", kOn},
        {"no-frameset chosen", "[frameset]\nno-frameset=1\nempty-frameset=0\n", kOff},
        {"both set: the later key wins", "[frameset]\nno-frameset=1\nempty-frameset=1\n", kOn},
        {"all zero: none selected", "[frameset]\nno-frameset=0\nempty-frameset=0\n", -1},
        {"keys in any order and case", "[FRAMESET]\nEmpty-Frameset=0\nNO-FRAMESET=$1\n", kOff},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadText(c.section).Settings.frameset.frameset.Selected(), c.expected) << c.name;

    // empty-pages defaults to 1 but comes before template-pages; tab-template-pages is last.
    Project p = LoadText("[content-page]\ntemplate-pages=1\ntab-template-pages=1\n");
    EXPECT_EQ(p.Settings.content_page.source.Selected(), kTabTemplatePages);
    EXPECT_TRUE(ShowsTableTab(p));
    EXPECT_FALSE(ShowsNavigationTab(p));
    p = LoadText("[content-page]\nempty-pages=0\ntemplate-pages=1\n");
    EXPECT_EQ(p.Settings.content_page.source.Selected(), kTemplatePages);
    p = LoadText("[menu-frame]\nnoscript-iframe=0\nnoscript-PHP=1\nnoscript-SSI=1\n");
    EXPECT_EQ(p.Settings.menu_frame.noscript_kind.Selected(), kNoscriptPHP);
}

TEST_F(ProjectFileTest, AllZeroGroupStaysAllZeroWhenSaved) {
    Project p = LoadText(
        "[content-page]\nno-pages=0\nempty-pages=0\ntemplate-pages=0\ndw-template-pages=0\ntab-"
        "template-pages=0\n");
    EXPECT_EQ(p.Settings.content_page.source.Selected(), -1);
    const IniFile saved(SaveText(p));
    for (const char* key :
         {"no-pages", "empty-pages", "template-pages", "dw-template-pages", "tab-template-pages"})
        EXPECT_EQ(saved.ReadString("content-page", key, "missing"), "0") << key;
}

TEST_F(ProjectFileTest, MenuEntriesTakePlaceholdersForMissingKeys) {
    Project p = LoadText(
        "[menu]\ncount=3\ntext_0=\"  Start  \"\nfile_0=  start.htm "
        "\naktiv_0=yes\naktiv_1=0x10\naktiv_2=0\n"
        "[submenu_0]\nCoUnT=2\ntext_0=Eins\n"
        "[SUBMENU_2]\nCOUNT=1\n");
    ASSERT_EQ(p.MainMenu.Count(), 3);
    EXPECT_EQ(p.MainMenu.ItemIndex, 0);
    const struct {
        int i;
        const char* text;
        const char* file;
        bool active;
        int subCount;
    } cases[] = {
        {0, "  Start  ", "start.htm", true, 2},  // "yes" is no number: the default, active
        {1, "text_1", "datei_1", true, 0},
        {2, "text_2", "datei_2", false, 1},
    };
    for (const auto& c : cases) {
        const TWebMenuItem& item = p.MainMenu.Item(c.i);
        EXPECT_EQ(item.Text, c.text) << c.i;
        EXPECT_EQ(item.FileName, c.file) << c.i;
        EXPECT_EQ(item.Active, c.active) << c.i;
        ASSERT_NE(item.SubMenu, nullptr);
        EXPECT_EQ(item.SubMenu->Count(), c.subCount) << c.i;
        EXPECT_EQ(item.SubMenu->ItemIndex, c.subCount > 0 ? 0 : -1) << c.i;
    }
    const TWebMenu& sub = *p.MainMenu.Item(0).SubMenu;
    EXPECT_EQ(sub.Item(0).Text, "Eins");
    EXPECT_EQ(sub.Item(1).Text, "text_1");
    EXPECT_EQ(sub.Item(1).FileName, "datei_1");
    EXPECT_EQ(sub.Item(1).SubMenu, nullptr);
}

TEST_F(ProjectFileTest, SubMenuSectionsBeyondTheCountStayInTheFile) {
    std::string text = "[menu]\r\ncount=2\r\ntext_0=A\r\ntext_1=B\r\n";
    for (int i = 0; i < 5; ++i)
        text += "[submenu_" + std::to_string(i) + "]\r\ncount=1\r\ntext_0=S" + std::to_string(i) +
                "\r\nown=x\r\n";
    Project p = LoadText(text);
    ASSERT_EQ(p.MainMenu.Count(), 2);
    EXPECT_EQ(p.MainMenu.Item(1).SubMenu->Item(0).Text, "S1");

    // Saving over the same file updates submenu_0/1 and leaves submenu_2..4 as they were.
    const std::string path = dir.File("in.plp");
    ASSERT_TRUE(SaveProject(p, path, disk, host));
    const std::string saved = test::ReadFile(path);
    for (int i = 2; i < 5; ++i) {
        const std::string block = "[submenu_" + std::to_string(i) + "]\r\ncount=1\r\ntext_0=S" +
                                  std::to_string(i) + "\r\nown=x\r\n";
        EXPECT_NE(saved.find(block), std::string::npos) << i;
    }
    EXPECT_FALSE(IniFile(saved).HasKey("submenu_0", "own"));  // rewritten whole
}

TEST_F(ProjectFileTest, ExtraSitemapFilesSkipBlankLines) {
    Project p;
    p.Settings.sitemap.extra_files = {"a.htm", "", "   ", "b.htm"};
    const IniFile saved(SaveText(p));
    EXPECT_EQ(saved.ReadString("sitemap", "extra-files_0", ""), "a.htm");
    EXPECT_EQ(saved.ReadString("sitemap", "extra-files_1", ""), "b.htm");
    EXPECT_FALSE(saved.HasKey("sitemap", "extra-files_2"));
    EXPECT_EQ(saved.ReadInteger("sitemap", "extra-files-count", -1), 2);

    Project back;
    LoadProject(back, dir.File("out.plp"), disk, host);
    EXPECT_EQ(back.Settings.sitemap.extra_files, (std::vector<std::string>{"a.htm", "b.htm"}));

    // A missing key inside the count reads as an empty line.
    p = LoadText(
        "[sitemap]\nextra-files-count=3\nextra-files_0=x\nextra-files_2=z\nmake-sitemap=1\n");
    EXPECT_EQ(p.Settings.sitemap.extra_files, (std::vector<std::string>{"x", "", "z"}));
    EXPECT_TRUE(ShowsSitemapTab(p));
}

TEST_F(ProjectFileTest, DestinationDirectoryMustExist) {
    Project p = LoadText("[files]\ndestination-directory=" + dir.Path() + "\n");
    EXPECT_EQ(p.Settings.files.destination_directory, dir.Path());
    EXPECT_TRUE(host.messages.empty());

    const std::string gone = dir.File("deleted-site");
    p = LoadText("[files]\ndestination-directory=" + gone + "\nframeset-file=start.htm\n");
    EXPECT_EQ(p.Settings.files.destination_directory, "");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Das Verzeichnis " + gone + " existiert nicht!");
    EXPECT_EQ(p.Settings.files.frameset_file, "start.htm");  // the rest is read as usual

    host.messages.clear();
    p = LoadText("[files]\ndestination-directory=\n");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ProjectFileTest, LastSaveIsKeptAsReadAndSavingDoesNotChangeIt) {
    Project p = LoadText("[project]\nlastsave=01.02.2003 04:05:06\n");
    EXPECT_EQ(p.Settings.lastsave, "01.02.2003 04:05:06");
    host.fixedNow = Clock(6, 23);
    const IniFile saved(SaveText(p));
    EXPECT_EQ(saved.ReadString("project", "lastsave", ""), "06.03.2026 23:08:09");
    EXPECT_EQ(p.Settings.lastsave, "01.02.2003 04:05:06");
    EXPECT_EQ(saved.ReadString("application", "program", ""), "pagloom");
    EXPECT_EQ(saved.ReadString("application", "version", ""), "2.0.1");
}

TEST_F(ProjectFileTest, FrameBorderOutOfRangeLeavesNothingChosen) {
    Project p = LoadText("[frameset]\nframeoption=3\nframeborderwidth=11\n");
    EXPECT_EQ(p.Settings.frameset.frameoption, -1);
    EXPECT_EQ(p.Settings.frameset.frameborderwidth, 0);
    EXPECT_TRUE(BorderWidthListVisible(p));
    EXPECT_EQ(EffectiveFrameOption(p), 0);
    const IniFile saved(SaveText(p));
    EXPECT_EQ(saved.ReadInteger("frameset", "frameoption", 99), -1);
    EXPECT_EQ(saved.ReadInteger("frameset", "frameborderwidth", 99), 0);

    p = LoadText("[frameset]\nframeoption=0\nframetop=1\n");
    EXPECT_FALSE(BorderWidthListVisible(p));
    EXPECT_TRUE(TopFrameControlsVisible(p));
    EXPECT_FALSE(BottomFrameControlsVisible(p));
}

TEST_F(ProjectFileTest, NewFileHasSectionsInWritingOrderWithCrLf) {
    Project p;
    p.MainMenu.Add(TWebMenu::NewMainItem("A", "a.htm", true));
    p.MainMenu.Add(TWebMenu::NewMainItem("B", "b.htm", true));
    const std::string text = SaveText(p);
    const std::string lines = "\r\n" + text;
    const char* order[] = {"[application]", "[project]",      "[content-page]", "[menu-frame]",
                           "[frameset]",    "[frames]",       "[firstpage]",    "[files]",
                           "[css]",         "[css_1]",        "[css_2]",        "[javascript]",
                           "[sitemap]",     "[menu]",         "[submenu_0]",    "[submenu_1]",
                           "[table]",       "[table_convert]"};
    std::size_t last = 0;
    for (const char* section : order) {
        const std::size_t at = lines.find(std::string("\r\n") + section + "\r\n");
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GE(at, last) << section;
        last = at;
    }
    EXPECT_EQ(text.rfind("\r\n"), text.size() - 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_EQ(text[i - 1], '\r') << "bare LF at " << i;
        }
    }
    EXPECT_NE(text.find("[frameset]\r\nno-frameset=0\r\nempty-frameset=1\r\nempty-overwrite=1\r\n"
                        "menuframe-marginwidth=10\r\n"),
              std::string::npos);
}

TEST_F(ProjectFileTest, RoundTripOfAFullProjectIsStable) {
    Project p;
    FillRichProject(p, dir.Path());
    const std::string first = SaveText(p, "a.plp");

    Project loaded;
    LoadProject(loaded, dir.File("a.plp"), disk, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(loaded.PrjParams, p.PrjParams);
    EXPECT_EQ(loaded.Tables, p.Tables);
    EXPECT_EQ(loaded.Settings.frameset.titel, "M\xFCller & S\xF6hne");
    EXPECT_EQ(loaded.MainMenu.Item(0).SubMenu->Item(0).Text, "<b>Neu</b>");
    EXPECT_FALSE(loaded.MainMenu.Item(0).SubMenu->Item(0).Active);

    host.fixedNow = Clock(9, 12);
    const std::string path = dir.File("a.plp");
    ASSERT_TRUE(SaveProject(loaded, path, disk, host));
    const std::string second = test::ReadFile(path);
    EXPECT_NE(first, second);                                    // the save time differs ...
    EXPECT_EQ(WithoutLastSave(first), WithoutLastSave(second));  // ... and nothing else
}

TEST_F(ProjectFileTest, RoundTripKeepsAForeignFileAsItWas) {
    const std::string foreign =
        "; written by another tool\r\n"
        "[Tool]\r\n"
        "Owner=Someone\r\n"
        "\r\n"
        "[Files]\r\n"
        "FRAMESET-FILE=haupt.htm\r\n"
        "thumbnail-size=120\r\n"
        "\r\n"
        "[Dateien]\r\n"
        "alt=1\r\n"
        "[menu]\r\n"
        "count=1\r\n"
        "text_0=Home\r\n"
        "colour_0=blue\r\n"
        "[table]\r\n"
        "firstpage_table=C:\\Daten\\Kunden\\liste.csv\r\n"
        "firstpage_table_type=csv_table\r\n"
        "firstpage_seperator_char=\t\r\n"
        "legacy_flag=1\r\n"
        "[zzz]\r\n"
        "a=\"quoted\"\r\n";
    Project p = LoadText(foreign);
    EXPECT_EQ(p.Settings.files.frameset_file, "haupt.htm");
    EXPECT_EQ(p.PrjParams.DatabaseName[ContentSlot::firstpage], "C:\\Daten\\Kunden");
    EXPECT_EQ(p.PrjParams.TableName[ContentSlot::firstpage], "liste.csv");
    EXPECT_EQ(p.PrjParams.SeparatorChar[ContentSlot::firstpage], '\t');

    const std::string path = dir.File("in.plp");
    ASSERT_TRUE(SaveProject(p, path, disk, host));
    const std::string first = test::ReadFile(path);
    for (const char* kept :
         {"; written by another tool\r\n[Tool]\r\nOwner=Someone\r\n", "thumbnail-size=120\r\n",
          "[zzz]\r\na=\"quoted\"\r\n", "legacy_flag=1\r\n", "FRAMESET-FILE=haupt.htm\r\n",
          "firstpage_seperator_char=\"\t\"\r\n"})
        EXPECT_NE(first.find(kept), std::string::npos) << kept;
    EXPECT_EQ(first.find("[Dateien]"), std::string::npos);
    EXPECT_EQ(first.find("colour_0"), std::string::npos);  // menu is rewritten whole

    Project again;
    LoadProject(again, path, disk, host);
    host.fixedNow = Clock(7, 1);
    ASSERT_TRUE(SaveProject(again, path, disk, host));
    EXPECT_EQ(WithoutLastSave(test::ReadFile(path)), WithoutLastSave(first));
}

TEST_F(ProjectFileTest, FailedSaveLeavesThePreviousFileIntact) {
    Project p;
    p.MainMenu.Add(TWebMenu::NewMainItem("Alt", "alt.htm", true));
    const std::string path = dir.File("site.plp");
    ASSERT_TRUE(SaveProject(p, path, disk, host));
    const std::string before = test::ReadFile(path);
    p.MainMenu.Item(0).Text = "Neu";

    for (const bool renameFails : {false, true}) {
        test::FaultyFs faulty;
        faulty.failWrites = !renameFails;
        faulty.failRenames = renameFails;
        host.messages.clear();
        EXPECT_FALSE(SaveProject(p, path, faulty, host)) << renameFails;
        EXPECT_EQ(host.messages,
                  std::vector<std::string>{"In " + path + " kann nicht geschrieben werden"});
        EXPECT_EQ(test::ReadFile(path), before);
        EXPECT_EQ(dir.EntryCount(), 1u) << "temporary file left behind";
    }

    host.messages.clear();
    const std::string noFolder = dir.File("missing/site.plp");
    EXPECT_FALSE(SaveProject(p, noFolder, disk, host));
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"In " + noFolder + " kann nicht geschrieben werden"});
}

TEST_F(ProjectFileTest, BadInputLoadsAsDefaults) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
    std::string manySections;
    for (int i = 0; i < 10000; ++i) manySections += "[s" + std::to_string(i) + "]\r\nk=v\r\n";
    const std::string hugeLine(1 << 20, 'A');

    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"binary", binary},
        {"10000 sections", manySections},
        {"1 MB line", hugeLine},
        {"1 MB value", "[frameset]\ntitel=" + hugeLine + "\n"},
        {"NUL bytes", std::string("[menu]\0count=2\n\0\0", 17)},
    };
    Project fresh;
    const std::string defaults = WithoutLastSave(ProjectFileText(fresh, "", "", "v"));
    for (const auto& c : cases) {
        Project p = LoadText(c.text);
        if (std::string(c.name) == "1 MB value") {
            EXPECT_EQ(p.Settings.frameset.titel, std::string(2047, 'A'));
            continue;
        }
        EXPECT_EQ(WithoutLastSave(ProjectFileText(p, "", "", "v")), defaults) << c.name;
    }

    // A folder in place of the file is no project: refused, and the project stays as it was.
    Project p;
    host.messages.clear();
    EXPECT_FALSE(LoadProject(p, dir.Path(), disk, host));
    EXPECT_EQ(WithoutLastSave(ProjectFileText(p, "", "", "v")), defaults);
    EXPECT_EQ(host.messages, std::vector<std::string>{dir.Path() + " ist keine Projektdatei!"});
}

TEST_F(ProjectFileTest, HugeCountsStayBounded) {
    Project p = LoadText(
        "[menu]\ncount=2147483647\ntext_0=A\n"
        "[submenu_0]\ncount=2147483647\n"
        "[sitemap]\nextra-files-count=2147483647\n"
        "[css_1]\nfont_family_count=2147483647\n");
    ASSERT_GE(p.MainMenu.Count(), 1);
    EXPECT_EQ(p.MainMenu.Item(0).Text, "A");
    EXPECT_LE(p.MainMenu.Count(), 20000);
    EXPECT_LE(p.Settings.sitemap.extra_files.size(), 20000u);
    EXPECT_LE(p.PrjParams.Style(kMainMenuLevel).FontFamilyList.size(), 20000u);
}

TEST_F(ProjectFileTest, ShippedDefaultProjectHoldsTheDefaults) {
    Project p;
    FillRichProject(p, dir.Path());
    LoadProject(p, std::string(PAGLOOM_RESOURCES) + "/default.plp", disk, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(p.Settings.lastsave,
              "05.03.2026 07:08:09");  // no stored time: a new project's is now
    const Project fresh;
    EXPECT_EQ(ProjectFileText(p, "", "t", "v"), ProjectFileText(fresh, "", "t", "v"));
}
