// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "groups/GroupBuild.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

using test::CrLf;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

// A project with its own destination folder `dest` (created) and one page.
std::string MakeProject(const TempDir& dir, const std::string& name,
                        std::vector<std::string> extra = {}) {
    const std::string dest = dir / (name + "-site");
    fs::create_directories(dest);
    std::vector<std::string> lines = {"[project]",    "lastsave=01.02.2026 10:00:00",
                                      "[files]",      "destination-directory=" + dest,
                                      "[menu]",       "count=1",
                                      "text_0=Seite", "file_0=seite.htm"};
    lines.insert(lines.end(), extra.begin(), extra.end());
    const std::string path = dir / (name + ".plp");
    WriteFile(path, CrLf(lines));
    return path;
}

struct GroupRun {
    RecordingHost host;
    ProjectDocument document{disk, host};
    GroupBuildEnv env{document, {}, {}, {}, {}};

    GroupOutcome Build(TProjectGroup& g) { return Make1Execute(g, env); }
    const std::vector<std::string>& Log() const { return document.Build.Report.Lines(); }
    bool Logged(const std::string& line) const {
        for (const auto& l : Log())
            if (l == line) return true;
        return false;
    }
};

const std::string kUnchanged = "Keine \xC4nderung im Projekt ";

}  // namespace

TEST(GroupFile, ReadsEntriesOptionsAndDefaults) {
    TempDir dir;
    WriteFile(dir / "g.plg",
              CrLf({"[projects]", "count=3", "filename_1=/a.plp", "lastsave_1=01.01.2026 08:00:00",
                    "lastsave_2=x", "filename_3=/c.plp", "[group]", "makemodified=1", "indexmap=1",
                    "indexmapfile="}));
    TProjectGroup g;
    g.GroupModified = true;
    ASSERT_TRUE(g.Open(disk, dir / "g.plg"));
    EXPECT_EQ(g.GroupFileName, dir / "g.plg");
    EXPECT_EQ(g.ProjectList, (std::vector<std::string>{"/a.plp", "unknown", "/c.plp"}));
    EXPECT_EQ(g.LastSaveList, (std::vector<std::string>{"01.01.2026 08:00:00", "x", ""}));
    EXPECT_TRUE(g.MakeModified);
    EXPECT_TRUE(g.IndexMap);
    EXPECT_EQ(g.IndexMapFile, dir / "sitemap_index.xml");
    EXPECT_FALSE(g.GroupModified);
}

TEST(GroupFile, ADamagedCountOrAMissingFileDoesNoHarm) {
    TempDir dir;
    WriteFile(dir / "huge.plg", CrLf({"[projects]", "count=2147483647", "filename_1=/a.plp"}));
    TProjectGroup g;
    ASSERT_TRUE(g.Open(disk, dir / "huge.plg"));  // must not try to make two billion entries
    ASSERT_GE(g.ProjectList.size(), 1u);
    EXPECT_EQ(g.ProjectList[0], "/a.plp");
    EXPECT_LE(g.ProjectList.size(), 2u);

    EXPECT_FALSE(g.Open(disk, dir / "fehlt.plg"));
    EXPECT_EQ(g.GroupFileName, dir / "huge.plg") << "a failed open changes nothing";
}

TEST(GroupFile, SaveRewritesProjectsAndKeepsForeignKeys) {
    TempDir dir;
    const std::string file = dir / "g.plg";
    WriteFile(file, CrLf({"[group]", "note=behalten", "makemodified=1", "[projects]", "count=5",
                          "filename_5=/alt.plp", "[other]", "x=1"}));
    TProjectGroup g;
    ASSERT_TRUE(g.Open(disk, file));
    g.ProjectList = {"/a.plp", "/b.plp"};
    g.LastSaveList = {"eins", ""};
    g.MakeModified = false;
    g.IndexMap = true;
    g.IndexMapFile = "  ";
    g.GroupModified = true;
    RecordingHost host;
    ASSERT_TRUE(g.FileSave(disk, host));
    EXPECT_FALSE(g.GroupModified);
    EXPECT_EQ(g.IndexMapFile, dir / "sitemap_index.xml") << "an empty field takes the default name";

    const std::string text = ReadFile(file);
    EXPECT_EQ(text.find("filename_5"), std::string::npos) << text;
    for (const std::string& line : std::vector<std::string>{
             "count=2", "filename_1=/a.plp", "lastsave_1=eins", "filename_2=/b.plp",
             "lastsave_2=", "note=behalten", "makemodified=0", "indexmap=1",
             "indexmapfile=" + (dir / "sitemap_index.xml"), "[other]", "x=1"}) {
        EXPECT_NE(text.find(line + "\r\n"), std::string::npos) << line << "\n" << text;
    }
    TProjectGroup back;
    ASSERT_TRUE(back.Open(disk, file));
    EXPECT_EQ(back.ProjectList, g.ProjectList);
    EXPECT_EQ(back.LastSaveList, g.LastSaveList);
}

TEST(GroupFile, AFailedSaveKeepsTheOldFileAndTheChangedMark) {
    TempDir dir;
    TProjectGroup g;
    g.GroupFileName = dir / "fehlt/g.plg";
    g.AddProjects({"/a.plp"});
    RecordingHost host;
    EXPECT_FALSE(g.FileSave(disk, host));
    EXPECT_TRUE(g.GroupModified);
    EXPECT_EQ(host.messages, std::vector<std::string>{"In " + (dir / "fehlt/g.plg") +
                                                      " kann nicht geschrieben werden"});
}

TEST(GroupList, DeleteAndMoveKeepBothListsInStep) {
    TProjectGroup g;
    g.AddProjects({"/a.plp", "/B.plp", "/c.plp", "/b.plp"});
    g.LastSaveList = {"1", "2", "3", "4"};
    g.GroupModified = false;

    // Moving stops as a whole when the first or last entry is among the selected.
    EXPECT_EQ(g.MoveUp({0, 2}), (std::vector<int>{0, 2}));
    EXPECT_FALSE(g.GroupModified);
    EXPECT_EQ(g.MoveDown({3, 1}), (std::vector<int>{1, 3}));
    EXPECT_EQ(g.MoveUp({1, 2}), (std::vector<int>{0, 1}));
    EXPECT_EQ(g.ProjectList, (std::vector<std::string>{"/B.plp", "/c.plp", "/a.plp", "/b.plp"}));
    EXPECT_EQ(g.LastSaveList, (std::vector<std::string>{"2", "3", "1", "4"}));
    EXPECT_EQ(g.MoveDown({0}), (std::vector<int>{1}));
    EXPECT_EQ(g.ProjectList, (std::vector<std::string>{"/c.plp", "/B.plp", "/a.plp", "/b.plp"}));
    EXPECT_TRUE(g.GroupModified);

    // Deleting a line removes the first entry with that path, letter case ignored.
    g.DeleteSelected({"/b.plp"});
    EXPECT_EQ(g.ProjectList, (std::vector<std::string>{"/c.plp", "/a.plp", "/b.plp"}));
    EXPECT_EQ(g.LastSaveList, (std::vector<std::string>{"3", "1", "4"}));
}

TEST(GroupBuild, NewGroupWithOnlyChangedBuildsThenSkips) {
    TempDir dir;
    const std::string a = MakeProject(dir, "a"), b = MakeProject(dir, "b");
    TProjectGroup g;
    g.AddProjects({a, b});
    g.MakeModified = true;
    GroupRun run;
    run.host.answers = {Answer::No, Answer::No};

    GroupOutcome first = run.Build(g);
    EXPECT_EQ(first.built, 2);
    EXPECT_EQ(run.host.questions, std::vector<std::string>{"Projekt-Gruppe vorher speichern?"});
    EXPECT_EQ(g.LastSaveList,
              (std::vector<std::string>{"01.02.2026 10:00:00", "01.02.2026 10:00:00"}));
    EXPECT_TRUE(g.GroupModified) << "No rules out the final save";
    EXPECT_TRUE(fs::exists(dir / "b-site/seite.htm"));

    const size_t before = run.Log().size();
    GroupOutcome second = run.Build(g);
    EXPECT_EQ(second.built, 0);
    EXPECT_EQ(second.skipped, 2);
    const std::vector<std::string> tail(run.Log().begin() + static_cast<long>(before),
                                        run.Log().end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Projektgruppe  erstellen:", "", kUnchanged + a,
                                              kUnchanged + b, "", "Projektgruppe  erstellen fertig",
                                              ""}));
}

TEST(GroupBuild, SavedGroupIsSavedAgainAfterABuildThatMetChanges) {
    TempDir dir;
    const std::string a = MakeProject(dir, "a");
    const std::string file = dir / "g.plg";
    WriteFile(file, CrLf({"[projects]", "count=1", "filename_1=" + a, "lastsave_1=alt", "[group]",
                          "makemodified=1"}));
    TProjectGroup g;
    ASSERT_TRUE(g.Open(disk, file));
    GroupRun run;
    EXPECT_EQ(run.Build(g).built, 1);
    EXPECT_TRUE(run.host.questions.empty()) << "an unchanged group asks nothing";
    EXPECT_FALSE(g.GroupModified);
    EXPECT_NE(ReadFile(file).find("lastsave_1=01.02.2026 10:00:00\r\n"), std::string::npos);

    TProjectGroup again;
    ASSERT_TRUE(again.Open(disk, file));
    EXPECT_EQ(run.Build(again).skipped, 1);
    EXPECT_TRUE(run.Logged(kUnchanged + a));
    EXPECT_EQ(run.Log().front(), "Projektgruppe " + file + " erstellen:");
}

TEST(GroupBuild, CancelStillBuildsButTheGroupIsNotSaved) {
    TempDir dir;
    const std::string a = MakeProject(dir, "a");
    const std::string file = dir / "g.plg";
    WriteFile(file, CrLf({"[projects]", "count=0"}));
    TProjectGroup g;
    ASSERT_TRUE(g.Open(disk, file));
    g.AddProjects({a});
    GroupRun run;
    run.host.answers = {Answer::Cancel};
    EXPECT_EQ(run.Build(g).built, 1);
    EXPECT_TRUE(g.GroupModified);
    EXPECT_EQ(ReadFile(file), CrLf({"[projects]", "count=0"}));
}

TEST(GroupBuild, AStopDuringAProjectEndsTheGroupThereAndKeepsItsFileTrue) {
    TempDir dir;
    const std::string a = MakeProject(dir, "a"), b = MakeProject(dir, "b"),
                      c = MakeProject(dir, "c");
    const std::string file = dir / "g.plg";
    WriteFile(file, CrLf({"[projects]", "count=3", "filename_1=" + a, "filename_2=" + b,
                          "filename_3=" + c, "[group]", "indexmap=1",
                          "indexmapfile=" + (dir / "index.xml")}));
    TProjectGroup g;
    ASSERT_TRUE(g.Open(disk, file));
    GroupRun run;
    BuildWatch watch;
    run.document.Build.Watch = &watch;
    // Stop while b's second file is being saved.
    int filesOfB = 0;
    run.document.Build.Report.SetLineCallback([&](const std::string& l) {
        if (l.rfind(dir / "b-site", 0) == 0 && l.size() > 3 &&
            l.compare(l.size() - 3, 3, "...") == 0 && ++filesOfB == 2)
            watch.cancelRequested = true;
    });
    const GroupOutcome outcome = run.Build(g);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.built, 2);
    EXPECT_EQ(outcome.buildsEndedEarly, 0);
    EXPECT_EQ(filesOfB, 2);
    EXPECT_FALSE(fs::exists(dir / "c-site/index.htm")) << "the rest is not built";
    EXPECT_FALSE(fs::exists(dir / "index.xml")) << "no index over part of the group";
    // a was built whole and is recorded; b was not, so it counts as changed next time.
    EXPECT_EQ(g.LastSaveList, (std::vector<std::string>{"01.02.2026 10:00:00", "", ""}));
    EXPECT_NE(ReadFile(file).find("lastsave_1=01.02.2026 10:00:00\r\n"), std::string::npos);
    EXPECT_NE(ReadFile(file).find("lastsave_2=\r\n"), std::string::npos);
    EXPECT_TRUE(run.Logged("Erstellen abgebrochen!"));
    const auto& log = run.Log();
    EXPECT_EQ(
        std::vector<std::string>(log.end() - 3, log.end()),
        (std::vector<std::string>{"", "Projektgruppe " + file + " erstellen abgebrochen", ""}));
    EXPECT_TRUE(run.host.messages.empty());
}

TEST(GroupBuild, ProjectWithoutLastSaveIsAlwaysBuilt) {
    TempDir dir;
    const std::string dest = dir / "site";
    fs::create_directories(dest);
    const std::string p = dir / "p.plp";
    WriteFile(p, CrLf({"[files]", "destination-directory=" + dest}));
    TProjectGroup g;
    g.AddProjects({p});
    g.MakeModified = true;
    g.GroupModified = false;
    GroupRun run;
    run.host.fixedNow.tm_year = 126;
    run.host.fixedNow.tm_mday = 1;
    run.host.fixedNow.tm_hour = 9;
    EXPECT_EQ(run.Build(g).built, 1);
    run.host.fixedNow.tm_sec = 1;  // the next opening happens a moment later
    EXPECT_EQ(run.Build(g).built, 1);
    EXPECT_EQ(g.LastSaveList[0], "01.01.2026 09:00:01");
}

TEST(GroupBuild, FailingTableCheckIsReportedAndStillRecorded) {
    TempDir dir;
    const std::string bad = MakeProject(dir, "bad",
                                        {"[content-page]", "tab-template-pages=1", "[table]",
                                         "mainmenu_content_source=1", "submenu_content_source=0"});
    const std::string good = MakeProject(dir, "good");
    TProjectGroup g;
    g.AddProjects({bad, good});
    g.MakeModified = true;
    g.GroupModified = false;
    GroupRun run;

    GroupOutcome first = run.Build(g);
    EXPECT_EQ(first.projectsFailed, 1);
    EXPECT_EQ(first.built, 1) << "the group goes on after a failed project";
    EXPECT_EQ(
        run.host.messages,
        (std::vector<std::string>{"Sie haben keine Tabelle im Hauptmen\xFC-Regiser ausgew\xE4hlt!",
                                  "Fehler in Projekt: " + bad}));
    EXPECT_EQ(g.LastSaveList[0], "01.02.2026 10:00:00");

    run.host.messages.clear();
    GroupOutcome second = run.Build(g);
    EXPECT_EQ(second.projectsFailed, 1) << "the check runs before the change test";
    EXPECT_EQ(second.skipped, 1);
}

TEST(GroupBuild, AGroupFileThatCannotBeSavedAtTheEndIsReported) {
    TempDir dir;
    TProjectGroup g;
    g.AddProjects({MakeProject(dir, "a")});  // its LastSave differs from the group's entry
    g.GroupModified = false;
    g.GroupFileName = dir / "fehlt/g.plg";
    GroupRun run;
    EXPECT_TRUE(run.Build(g).saveFailed);
    EXPECT_EQ(run.host.messages, std::vector<std::string>{"In " + (dir / "fehlt/g.plg") +
                                                          " kann nicht geschrieben werden"});

    g.GroupFileName = dir / "g.plg";
    EXPECT_FALSE(run.Build(g).saveFailed);
    EXPECT_TRUE(fs::exists(dir / "g.plg"));
}

TEST(GroupBuild, AMissingProjectIsReportedAsMissingAndTheGroupGoesOn) {
    TempDir dir;
    const std::string good = MakeProject(dir, "good");
    const std::string missing = dir / "fehlt.plp";
    TProjectGroup g;
    g.AddProjects({missing, good});
    g.GroupModified = false;
    GroupRun run;
    GroupOutcome o = run.Build(g);
    EXPECT_EQ(o.built, 1);
    EXPECT_EQ(o.projectsFailed, 1);
    const std::string message = "Die Projektdatei " + missing + " existiert nicht!";
    EXPECT_EQ(run.host.messages, std::vector<std::string>{message});
    EXPECT_TRUE(run.Logged(message));
    EXPECT_EQ(g.LastSaveList[0], "") << "no save time for a project never built";
    EXPECT_TRUE(fs::exists(dir / "good-site/seite.htm"));
}

TEST(SitemapIndex, ListsEachProjectsSitemapAddressOnce) {
    TempDir dir;
    const std::string slash = MakeProject(
        dir, "slash",
        {"[sitemap]", "make-sitemap=1", "urltext=http://a.example/", "filename=map.xml"});
    const std::string bare =
        MakeProject(dir, "bare", {"[sitemap]", "make-sitemap=1", "urltext=http://b.example"});
    const std::string local =
        MakeProject(dir, "local", {"[sitemap]", "make-sitemap=1", "urltext=", "filename="});
    const std::string none = MakeProject(dir, "none");
    TProjectGroup g;
    g.AddProjects({slash, none, bare, local});
    g.GroupModified = false;
    g.IndexMap = true;
    g.IndexMapFile = " " + (dir / "index.xml") + " ";
    GroupRun run;
    run.Build(g);

    EXPECT_EQ(g.IndexMapFile, dir / "index.xml");
    EXPECT_EQ(ReadFile(dir / "index.xml"),
              CrLf({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                    "<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
                    "<sitemap>", "<loc>http://a.example/map.xml</loc>", "</sitemap>", "<sitemap>",
                    "<loc>http://b.example/sitemap.xml</loc>", "</sitemap>", "<sitemap>",
                    "<loc>" + (dir / "local-site") + "/sitemap.xml</loc>", "</sitemap>",
                    "</sitemapindex>"}));
    EXPECT_TRUE(fs::exists(dir / "local-site/sitemap.xml"))
        << "the index names the file the build wrote";
    const auto& log = run.Log();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(
        std::vector<std::string>(log.end() - 5, log.end()),
        (std::vector<std::string>{"", "Sitemap-Index: " + (dir / "index.xml") + " erstellen fertig",
                                  "", "Projektgruppe  erstellen fertig", ""}));
}

TEST(SitemapIndex, EmptyIndexAndUnwritableIndex) {
    TempDir dir;
    const std::string none = MakeProject(dir, "none");
    TProjectGroup g;
    g.AddProjects({none});
    g.GroupModified = false;
    g.IndexMap = true;
    g.IndexMapFile = dir / "index.xml";
    GroupRun run;
    EXPECT_FALSE(run.Build(g).indexFailed);
    EXPECT_EQ(ReadFile(dir / "index.xml"),
              CrLf({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                    "<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
                    "</sitemapindex>"}));

    for (const std::string& file : std::vector<std::string>{dir / "fehlt/index.xml", ""}) {
        g.IndexMapFile = file;
        EXPECT_TRUE(run.Build(g).indexFailed) << file;
        EXPECT_TRUE(run.Logged("Fehler bei Sitemap-Index: " + file)) << file;
    }
}

// The index never replaces the group's own files, however its name spells them.
TEST(SitemapIndex, NeverReplacesTheGroupFileOrAMemberProject) {
    TempDir dir;
    const std::string member = MakeProject(dir, "a", {"[sitemap]", "make-sitemap=1"});
    fs::create_symlink(member, dir / "verweis.xml");
    struct Case {
        const char* name;
        std::string index;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"the group file, spelt otherwise", dir.Path() + "/./g.plg",
         "Die Sitemap-Indexdatei ist die Datei der Projektgruppe; sie wird nicht \xFC"
         "berschrieben."},
        {"a member project through a link", dir / "verweis.xml",
         "Die Sitemap-Indexdatei ist die Projektdatei " + member +
             "; sie wird nicht \xFC"
             "berschrieben."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TProjectGroup g;
        g.AddProjects({member});
        g.GroupFileName = dir / "g.plg";
        g.IndexMap = true;
        g.IndexMapFile = c.index;
        RecordingHost saveHost;
        ASSERT_TRUE(g.FileSave(disk, saveHost));
        GroupRun run;
        const GroupOutcome o = run.Build(g);
        EXPECT_TRUE(o.indexFailed);
        EXPECT_TRUE(run.Logged("Fehler bei Sitemap-Index: " + c.index));
        EXPECT_TRUE(run.Logged(c.reason));
        EXPECT_EQ(ReadFile(dir / "g.plg").find("<sitemapindex"), std::string::npos);
        EXPECT_EQ(ReadFile(member).find("<sitemapindex"), std::string::npos);
        EXPECT_TRUE(fs::is_symlink(dir / "verweis.xml"));
    }
}

TEST(GroupPreview, OpensTheFirstSelectedProjectOfTheGroup) {
    TempDir dir;
    const std::string a = MakeProject(dir, "a"), b = MakeProject(dir, "b");
    TProjectGroup g;
    g.AddProjects({a, b});
    GroupRun run;

    EXPECT_FALSE(PrepareGroupPreview(g, {b}, run.env)) << "not built yet";
    EXPECT_EQ(run.host.messages.back(), "Kann Datei " + (dir / "b-site/index.htm") +
                                            " nicht \xF6"
                                            "ffnen");
    WriteFile(dir / "b-site/index.htm", "x");

    std::string upper = b;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    auto page = PrepareGroupPreview(g, {"/nicht/in/der/gruppe.plp", upper, a}, run.env);
    ASSERT_TRUE(page);
    EXPECT_EQ(*page, dir / "b-site/index.htm");

    EXPECT_FALSE(PrepareGroupPreview(g, {}, run.env));
    EXPECT_EQ(run.host.messages.back(), "Es konnte kein Projekt geladen werden!");
}
