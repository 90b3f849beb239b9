// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"
#include "generator/BuildDriver.h"
#include "generator/BuildError.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace pagloom {
namespace {

using test::TempDir;

const char* const kUnchanged = "Keine \xC4nderung";

class BuildDriverTest : public ::testing::Test {
  protected:
    TempDir dest;
    DiskFileSystem disk;
    RecordingHost host;
    Project project;
    BuildDialog dialog;

    void SetUp() override {
        dialog.Destination = dest.Path();
        dialog.MenuScriptLibrary = {"function writemenu() {}"};
        auto& a = project.MainMenu.Add(TWebMenu::NewMainItem("A", "a.htm", true));
        a.SubMenu->Add(TWebMenu::NewSubItem("A1", "a1.htm", true));
        project.MainMenu.Add(TWebMenu::NewMainItem("B", "b.htm", true));
        project.Settings.frameset.frametop = true;
        project.Settings.sitemap.make_sitemap = true;
    }

    BuildOutcome Build() { return MakeStartClick(dialog, project, "p.plp", disk, host); }

    // Log lines of the last build that name a file, with the outcome that follows each.
    std::vector<std::pair<std::string, std::string>> FileOutcomes() const {
        const auto& l = dialog.Report.Lines();
        size_t start = 0;
        for (size_t i = 0; i < l.size(); ++i)
            if (l[i].rfind("Erstelle Dateien in ", 0) == 0) start = i;
        std::vector<std::pair<std::string, std::string>> out;
        for (size_t i = start; i + 1 < l.size(); ++i)
            if (l[i].size() > 3 && l[i].compare(l[i].size() - 3, 3, "...") == 0)
                out.emplace_back(l[i], l[i + 1]);
        return out;
    }
};

TEST_F(BuildDriverTest, FirstBuildWritesEveryFileInOrderFramedByStartAndEndLines) {
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.Succeeded());
    const auto& log = dialog.Report.Lines();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], "Erstelle Dateien in " + dest.Path() + ":");
    EXPECT_EQ(log[1], "");
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (std::vector<std::string>{"", "Erstellen der Dateien fertig!", ""}));
    std::vector<std::string> files;
    for (const auto& [path, result] : FileOutcomes()) {
        files.push_back(path.substr(dest.Path().size() + 1));
        EXPECT_EQ(result, "OK") << path;
    }
    EXPECT_EQ(files, (std::vector<std::string>{"index.htm...", "index.css...", "index.js...",
                                               "menframe_include.htm...", "menframe.htm...",
                                               "oben.htm...", "erste.htm...", "a.htm...",
                                               "a1.htm...", "b.htm...", "sitemap.xml..."}));
    EXPECT_EQ(dialog.PreviewDirectory, dest.Path());
}

TEST_F(BuildDriverTest, SecondBuildChangesNothingAndKeepsBothReports) {
    // Overwrite everything, so every file is compared again on the second build.
    auto& s = project.Settings;
    s.menu_frame.empty_overwrite = s.frames.overwrite_topframe = s.firstpage.overwrite_firstpage =
        true;
    s.content_page.empty_overwrite = true;
    ASSERT_TRUE(Build().Succeeded());
    // A page edited elsewhere with LF breaks still counts as unchanged.
    const std::string lfPage = test::ReadFile(dest / "a.htm");
    std::string lf = lfPage;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    test::WriteFile(dest / "a.htm", lf);

    std::vector<std::pair<std::string, long long>> times;
    for (const auto& name : disk.ListFiles(dest.Path())) {
        test::AgeFile(dest / name);
        times.emplace_back(name, test::MTimeNs(dest / name));
    }
    ASSERT_TRUE(Build().Succeeded());
    const auto outcomes = FileOutcomes();
    EXPECT_EQ(outcomes.size(), 11u);
    for (const auto& [path, result] : outcomes) EXPECT_EQ(result, kUnchanged) << path;
    for (const auto& [name, t] : times) EXPECT_EQ(test::MTimeNs(dest / name), t) << name;
    EXPECT_EQ(test::ReadFile(dest / "a.htm"), lf);

    const auto& log = dialog.Report.Lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Erstellen der Dateien fertig!"), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Erstelle Dateien in " + dest.Path() + ":"), 2);
}

TEST_F(BuildDriverTest, ExistingFileWithOverwriteOffIsLeftAloneWithoutLogLine) {
    test::WriteFile(dest / "a.htm", "von Hand\r\n");
    test::WriteFile(dest / "index.htm", "alt\r\n");  // frameset: overwrite on by default
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(test::ReadFile(dest / "a.htm"), "von Hand\r\n");
    for (const auto& [path, result] : FileOutcomes()) EXPECT_NE(path, dest / "a.htm...");
    EXPECT_NE(test::ReadFile(dest / "index.htm"), "alt\r\n");
}

TEST_F(BuildDriverTest, MissingDestinationFolderGivesErrorPerFileAndStillEnds) {
    dialog.Destination = dest / "fehlt";
    // With the include file shown without iframe and no active entry its text is empty.
    project.Settings.menu_frame.noscript_kind.Select(kNoscriptSSI);
    for (int i = 0; i < project.MainMenu.Count(); ++i) project.MainMenu.Item(i).Active = false;
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.reachedEnd);
    int failed = 0;
    for (const auto& [path, result] : FileOutcomes()) {
        if (path == dest / "fehlt/menframe_include.htm...") {
            EXPECT_EQ(result, kUnchanged);
        } else {
            EXPECT_EQ(result, "Fehler!") << path;
            ++failed;
        }
    }
    EXPECT_EQ(outcome.failedFiles, failed);
    EXPECT_EQ(failed, 7);  // frameset, css, js, menu frame, top frame, first page, sitemap
    EXPECT_FALSE(test::Exists(dest / "fehlt"));
}

TEST_F(BuildDriverTest, EmptyIncludeTextCreatesNoFile) {
    project.Settings.menu_frame.noscript_kind.Select(kNoscriptPHP);
    project.MainMenu.Clear();
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_FALSE(test::Exists(dest / "menframe_include.htm"));
}

TEST_F(BuildDriverTest, NoDestinationShowsMessageAndLogsNothing) {
    dialog.Destination.clear();
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.started);
    EXPECT_TRUE(outcome.EndedEarly());
    EXPECT_EQ(host.messages, std::vector<std::string>{"Sie haben kein Zielverzeichnis angegeben!"});
    EXPECT_TRUE(dialog.Report.Lines().empty());
}

TEST_F(BuildDriverTest, UnreadableTemplateEndsBuildWithoutEndLines) {
    project.Settings.content_page.source.Select(kTemplatePages);
    project.Settings.content_page.template_file = dest / "fehlt.htm";
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.started);
    EXPECT_TRUE(outcome.EndedEarly());
    EXPECT_EQ(host.messages, std::vector<std::string>{"Die Datei " + dest / "fehlt.htm" +
                                                      " kann nicht gelesen werden!"});
    const auto& log = dialog.Report.Lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Erstellen der Dateien fertig!"), 0);
    // The first page (empty, not from the template) was written before the first copy failed;
    // the page that needed the template was never handed on.
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{dest / "erste.htm...", "OK"}));
    EXPECT_TRUE(dialog.PreviewDirectory.empty());
    EXPECT_EQ(outcome.errorMessages, 0) << "the message that ends the build is not counted";
}

TEST_F(BuildDriverTest, MessagesOfABuildThatGoesOnAreCounted) {
    test::WriteFile(dest / "t.dwt", "<body>ohne Rahmen</body>\r\n");
    project.Settings.content_page.source.Select(kDwTemplatePages);
    project.Settings.content_page.dw_template_file = dest / "t.dwt";
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.reachedEnd);
    EXPECT_EQ(outcome.failedFiles, 0);
    EXPECT_GT(outcome.errorMessages, 0);
    EXPECT_EQ(outcome.errorMessages, static_cast<int>(host.messages.size()));
    EXPECT_FALSE(outcome.Succeeded());
}

TEST_F(BuildDriverTest, TemplateFirstPageAndDuplicateAndEmptyFileNames) {
    test::WriteFile(dest / "t.htm", "<p>T</p>\n");
    project.Settings.content_page.source.Select(kTemplatePages);
    project.Settings.content_page.template_file = dest / "t.htm";
    project.Settings.firstpage.firstpage_from_template = true;
    project.MainMenu.Add(TWebMenu::NewMainItem("C", "a.htm", true));  // same page as A
    project.MainMenu.Add(TWebMenu::NewMainItem("D", "", true));       // the folder itself
    project.Settings.content_page.template_overwrite = true;
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.reachedEnd);
    EXPECT_EQ(outcome.failedFiles, 1);
    EXPECT_EQ(test::ReadFile(dest / "erste.htm"), "<p>T</p>\r\n");
    std::vector<std::string> results;
    for (const auto& [path, result] : FileOutcomes())
        if (path == dest / "a.htm..." || path == dest.Path() + "/...") results.push_back(result);
    EXPECT_EQ(results, (std::vector<std::string>{"OK", kUnchanged, "Fehler!"}));
}

TEST(ErstellenTabOK, ChecksInOrderAndShowsOnlyTheLastFailure) {
    const std::string noMainTable =
        "Sie haben keine Tabelle im Hauptmen\xFC-Regiser ausgew\xE4hlt!";
    const std::string noMainTemplate =
        "Sie haben keine Vorlage im Hauptmen\xFC-Register angegeben!";
    const std::string subWithoutMain =
        "Da Sie die Option \"Keine Seiten erstellen\" im Hauptmen\xFC-Register angegeben haben, "
        "k\xF6nnen keine "
        "Seiten f\xFCr Untermen\xFCs erstellt werden!";
    const std::string noSubTable = "Sie haben keine Tabelle im Untermen\xFC-Register angegeben!";
    const std::string noSubTemplate = "Sie haben keine Vorlage im Untermen\xFC-Register angegeben!";
    struct Case {
        const char* name;
        int mainSource;
        const char* mainTable;
        const char* mainTemplate;
        int subSource;
        const char* subTable;
        const char* subTemplate;
        std::string message;  // empty: check passes
    } cases[] = {
        {"complete", 2, "m.csv", "m.htm", 3, "s.csv", "s.dwt", ""},
        {"no sub pages", 2, "m.csv", "m.htm", 0, "", "", ""},
        {"empty main pages: table field unavailable", 1, "m.csv", "", 0, "", "", noMainTable},
        {"main table missing", 2, "", "m.htm", 0, "", "", noMainTable},
        {"main template missing", 3, "m.csv", "", 0, "", "", noMainTemplate},
        {"sub pages without main pages", 0, "", "", 2, "s.csv", "s.htm", subWithoutMain},
        {"sub table missing", 2, "m.csv", "m.htm", 2, "", "s.htm", noSubTable},
        {"sub template missing", 2, "m.csv", "m.htm", 2, "s.csv", "", noSubTemplate},
        {"later failure replaces earlier", 2, "", "m.htm", 2, "s.csv", "", noSubTemplate},
    };
    for (const auto& c : cases) {
        Project p;
        auto& m = p.Tables.Slot[ContentSlot::mainmenu];
        auto& s = p.Tables.Slot[ContentSlot::submenu];
        m.content_source = c.mainSource, m.name_display = c.mainTable,
        m.template_file = c.mainTemplate;
        s.content_source = c.subSource, s.name_display = c.subTable,
        s.template_file = c.subTemplate;
        RecordingHost host;
        EXPECT_EQ(ErstellenTabOK(p, host), c.message.empty()) << c.name;
        EXPECT_EQ(host.messages, c.message.empty() ? std::vector<std::string>{}
                                                   : std::vector<std::string>{c.message})
            << c.name;
    }
}

// Table steps that rebuild the menu and record the order in which the build calls them.
class FakeTableSteps : public TableBuildSteps {
  public:
    std::vector<std::string>* order;
    explicit FakeTableSteps(std::vector<std::string>* o) : order(o) {}
    void RebuildMenu(BuildContext& ctx) override {
        order->push_back("menu");
        ctx.project.MainMenu.Clear();
        ctx.project.MainMenu.Add(TWebMenu::NewMainItem("Aus Tabelle", "t.htm", true));
    }
    void WritePages(BuildContext&) override { order->push_back("pages"); }
};

TEST_F(BuildDriverTest, TableFlowRebuildsMenuBeforeScriptAndWritesPagesBeforeSitemap) {
    project.Settings.content_page.source.Select(kTabTemplatePages);
    std::vector<std::string> order;
    FakeTableSteps steps(&order);
    dialog.TableSteps = &steps;
    dialog.RefreshMenuEditor = [&] { order.push_back("refresh"); };
    dialog.Report.SetLineCallback([&](const std::string& l) {
        if (l.size() > 3 && l.compare(l.size() - 3, 3, "...") == 0)
            order.push_back(l.substr(dest.Path().size() + 1));
    });
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(order,
              (std::vector<std::string>{"index.htm...", "menu", "index.css...", "index.js...",
                                        "refresh", "menframe_include.htm...", "menframe.htm...",
                                        "oben.htm...", "pages", "sitemap.xml..."}));
    EXPECT_NE(
        test::ReadFile(dest / "index.js").find("new y_menrecord(\"Aus Tabelle\",\"t.htm\",0);"),
        std::string::npos);
    EXPECT_NE(test::ReadFile(dest / "sitemap.xml").find("<loc>http://t.htm</loc>"),
              std::string::npos);
}

TEST_F(BuildDriverTest, WatchCountsFilesAgainstTheSiteListAndFollowsARebuiltMenu) {
    BuildWatch watch;
    dialog.Watch = &watch;
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(watch.filesTotal, 11);
    EXPECT_EQ(watch.filesDone, 11);

    // From tables the total is known only once the menu is rebuilt (one more page here).
    project.Settings.content_page.source.Select(kTabTemplatePages);
    std::vector<std::string> order;
    FakeTableSteps steps(&order);
    dialog.TableSteps = &steps;
    std::vector<int> totals;
    dialog.Report.SetLineCallback([&](const std::string&) { totals.push_back(watch.filesTotal); });
    ASSERT_TRUE(Build().Succeeded());
    EXPECT_EQ(totals.front(), 11);
    EXPECT_EQ(totals.back(), watch.filesTotal.load());
    EXPECT_EQ(watch.filesDone, 7);  // the fake writes no pages
}

TEST_F(BuildDriverTest, CancelStopsAfterTheFileBeingSavedAndSaysSo) {
    struct Case {
        int stopAt;  // the file whose "..." line asks to stop
        bool dryRun;
    };
    for (const Case c : {Case{1, false}, Case{7, false}, Case{11, false}, Case{4, true}}) {
        SCOPED_TRACE(testing::Message() << "stop at " << c.stopAt << (c.dryRun ? " planning" : ""));
        TempDir site;
        BuildDialog d;
        d.Destination = site.Path();
        d.MenuScriptLibrary = dialog.MenuScriptLibrary;
        d.DryRun = c.dryRun;
        BuildWatch watch;
        d.Watch = &watch;
        int files = 0;
        std::string lastFile;
        d.Report.SetLineCallback([&](const std::string& l) {
            const bool fileLine = c.dryRun ? l.rfind("neu: ", 0) == 0
                                           : l.size() > 3 && l.compare(l.size() - 3, 3, "...") == 0;
            if (fileLine && ++files == c.stopAt) {
                watch.cancelRequested = true;
                lastFile = l;
            }
        });
        const BuildOutcome outcome = MakeStartClick(d, project, "p.plp", disk, host);
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_FALSE(outcome.reachedEnd);
        EXPECT_EQ(files, c.stopAt);  // nothing after the file being saved
        EXPECT_EQ(outcome.record.Files().size(), size_t(c.stopAt));
        EXPECT_EQ(watch.filesDone, c.stopAt);
        const auto& log = d.Report.Lines();
        ASSERT_GE(log.size(), 5u);
        EXPECT_EQ(log.end()[-2], "Erstellen abgebrochen!");
        EXPECT_EQ(log.back(), "");
        EXPECT_EQ(std::count(log.begin(), log.end(), "Erstellen der Dateien fertig!"), 0);
        if (c.dryRun) {
            EXPECT_EQ(log.end()[-3], PlanSummary(outcome.plan));
            EXPECT_TRUE(std::filesystem::is_empty(site.Path()));
        } else {
            // The last file logged is whole and logged with its outcome.
            auto it = std::find(log.begin(), log.end(), lastFile);
            ASSERT_NE(it, log.end());
            EXPECT_EQ(it[1], "OK");
            EXPECT_EQ(outcome.record.Files().back().path + "...", lastFile);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(site.Path()),
                                    std::filesystem::directory_iterator()),
                      c.stopAt);
        }
        EXPECT_TRUE(d.PreviewDirectory.empty());
        EXPECT_TRUE(host.messages.empty());
    }
}

}  // namespace
}  // namespace pagloom
