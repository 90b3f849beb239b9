// SPDX-License-Identifier: MIT
// The site's file list and the build's record of every file: the record of a build names
// exactly the listed files in build order, and says for each what the build did with it; a
// planning build records what the real build then does. The link check and the group's sitemap
// index take their file names from the same list.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "check/LinkCheck.h"
#include "document/ProjectDocument.h"
#include "generator/BuildDriver.h"
#include "generator/SiteFiles.h"
#include "generator/SitemapWriter.h"
#include "groups/GroupBuild.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

using test::TempDir;
using test::WriteFile;

// An example project copied into a scratch folder (with its templates and tables), built into
// the folder "site" beside it.
struct Example {
    TempDir dir;
    std::string project, dest;

    Example(const std::string& folder, const std::string& file) {
        fs::copy(std::string(PAGLOOM_EXAMPLES) + "/" + folder, dir.Path(),
                 fs::copy_options::recursive);
        project = dir / file;
        dest = dir / "site";
        fs::create_directories(dest);
    }

    // Replaces `key=...` in every section of the project file.
    void Set(const std::string& key, const std::string& value) {
        std::string text = test::ReadFile(project);
        size_t at = text.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key;
        for (; at != std::string::npos; at = text.find("\n" + key + "=", at + 1)) {
            const size_t end = text.find('\r', at + 1);
            text.replace(at + 1, end - at - 1, key + "=" + value);
        }
        WriteFile(project, text);
    }
};

struct BuildRun {
    test::FaultyFs files;
    RecordingHost host;
    ProjectDocument doc{files, host};
    BuildOutcome outcome;

    BuildRun(const Example& ex, bool dryRun, const std::set<std::string>& refused = {}) {
        files.refused = refused;
        EXPECT_TRUE(doc.Open(ex.project));
        doc.Build.Destination = ex.dest;
        doc.Build.DryRun = dryRun;
        outcome = doc.MakeStart();
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const FileRecord& r : outcome.record.Files()) paths.push_back(r.path);
        return paths;
    }
    std::vector<FileFate> Fates() const {
        std::vector<FileFate> fates;
        for (const FileRecord& r : outcome.record.Files()) fates.push_back(r.fate);
        return fates;
    }
    FileFate FateOf(const std::string& path) const {
        for (const FileRecord& r : outcome.record.Files())
            if (r.path == path) return r.fate;
        ADD_FAILURE() << "not recorded: " << path;
        return FileFate::Failed;
    }
};

std::vector<std::string> ListedPaths(const Project& project, const std::string& dest) {
    std::vector<std::string> paths;
    for (const SiteFile& f : SiteFileList(project)) paths.push_back(dest + "/" + f.name);
    return paths;
}

// Both build flows make exactly the files the list names, in its order, each once; the link
// check reads the listed pages and the sitemap index names the listed sitemap. A file kind
// that a flow wrote but the list did not name (or the other way round) fails here.
TEST(SiteFiles, TheBuildMakesExactlyTheListedFilesInOrder) {
    struct Case {
        const char* folder;
        const char* file;
        size_t minFiles;
    };
    for (const Case& c : {Case{"demo", "demo.plp", 14}, Case{"csv-demo", "csv-demo.plp", 12}}) {
        SCOPED_TRACE(c.folder);
        Example ex(c.folder, c.file);
        BuildRun first(ex, false);
        ASSERT_TRUE(first.outcome.Succeeded());
        // A build from tables replaces the menu first: the list of the built project names it.
        const Project& built = first.doc.project;
        EXPECT_EQ(first.Paths(), ListedPaths(built, ex.dest));
        EXPECT_GE(first.Paths().size(), c.minFiles);
        for (FileFate fate : first.Fates()) EXPECT_EQ(fate, FileFate::New);
        EXPECT_EQ(first.outcome.record.Count(FileFate::New), int(first.Paths().size()));

        // Everything the record names is on the disk, and nothing else is.
        std::set<std::string> onDisk;
        for (const auto& e : fs::recursive_directory_iterator(ex.dest))
            if (e.is_regular_file()) onDisk.insert(e.path().string());
        const std::vector<std::string> recorded = first.Paths();
        EXPECT_EQ(onDisk, std::set<std::string>(recorded.begin(), recorded.end()));

        const LinkCheckSite site = LinkCheckSiteFor(built, ex.dest);
        std::vector<std::string> pages;
        std::string sitemap;
        for (const SiteFile& f : SiteFileList(built)) {
            if (IsSitePage(f.kind)) pages.push_back(f.name);
            if (f.kind == SiteFileKind::Sitemap) sitemap = f.name;
        }
        EXPECT_EQ(site.pages, pages);
        EXPECT_EQ(site.sitemap, sitemap);
        EXPECT_EQ(SitemapIndexAddress(built), SitemapPrefix(built.Settings) + sitemap);
    }
}

TEST(SiteFiles, AnEmptySitemapNameIsTheDefaultEverywhere) {
    Example ex("demo", "demo.plp");
    ex.Set("filename", "");
    BuildRun run(ex, false);
    EXPECT_EQ(run.FateOf(ex.dest + "/sitemap.xml"), FileFate::New);
    EXPECT_EQ(LinkCheckSiteFor(run.doc.project, ex.dest).sitemap, "sitemap.xml");
    EXPECT_EQ(SitemapIndexAddress(run.doc.project), "http://www.example.org/gruenfeld/sitemap.xml");
}

// What each build did with each file, and that a planning build records what the real build
// then does, over the same states of the destination.
TEST(BuildRecord, SaysWhatEachBuildDidWithEachFile) {
    struct Case {
        const char* name;
        bool overwriteOff = false;     // every overwrite setting off before the rebuild
        bool touch = false;            // one page edited, one deleted before the rebuild
        bool refuse = false;           // one page cannot be written
        std::vector<FileFate> expect;  // for index.htm, erste.htm, the edited page, the deleted
                                       // page, the include file
    };
    const std::string edited = "kontakt.htm", deleted = "pflanzen.htm";
    const std::vector<Case> cases = {
        {"unchanged rebuild",
         false,
         false,
         false,
         {FileFate::Unchanged, FileFate::Unchanged, FileFate::Unchanged, FileFate::Unchanged,
          FileFate::Unchanged}},
        {"one page edited, one deleted",
         false,
         true,
         false,
         {FileFate::Unchanged, FileFate::Unchanged, FileFate::Changed, FileFate::New,
          FileFate::Unchanged}},
        {"overwrite off",
         true,
         true,
         false,
         {FileFate::Skipped, FileFate::Skipped, FileFate::Skipped, FileFate::New,
          FileFate::Unchanged}},
        {"a page refused",
         false,
         true,
         true,
         {FileFate::Unchanged, FileFate::Unchanged, FileFate::Failed, FileFate::New,
          FileFate::Unchanged}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Example ex("demo", "demo.plp");
        ASSERT_TRUE(BuildRun(ex, false).outcome.Succeeded());
        if (c.overwriteOff)
            for (const char* key : {"empty-overwrite", "overwrite-topframe", "overwrite-firstpage",
                                    "overwrite-css", "overwrite-javascript"})
                ex.Set(key, "0");
        ASSERT_TRUE(test::Exists(ex.dest + "/" + edited));
        if (c.touch) {
            WriteFile(ex.dest + "/" + edited, "von Hand\r\n");
            fs::remove(ex.dest + "/" + deleted);
        }
        std::set<std::string> refused;
        if (c.refuse) refused.insert(ex.dest + "/" + edited);

        BuildRun plan(ex, true, refused);
        BuildRun real(ex, false, refused);
        EXPECT_EQ(plan.Paths(), real.Paths());
        EXPECT_EQ(plan.Fates(), real.Fates());
        EXPECT_EQ(real.outcome.record.Count(FileFate::Failed), real.outcome.failedFiles);
        EXPECT_EQ(plan.outcome.record.Count(FileFate::New), plan.outcome.plan.added);
        const std::vector<std::string> names = {"index.htm", "erste.htm", edited, deleted,
                                                "menframe_include.htm"};
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(real.FateOf(ex.dest + "/" + names[i]), c.expect[i]) << names[i];
    }
}

// A name that leads out of the destination is never written, by the build or in its plan; the
// build fails for it and names it, and everything else is built.
TEST(BuildRecord, NamesThatLeaveTheDestinationAreRefused) {
    TempDir dir;
    const std::string dest = dir / "ziel/site";
    fs::create_directories(dest);
    const std::string victim = dir / "ziel/opfer.txt";
    WriteFile(victim, "meins\r\n");
    const std::string project = dir / "p.plp";
    WriteFile(project, test::CrLf({"[files]", "destination-directory=" + dest, "[content-page]",
                                   "empty-pages=1", "empty-overwrite=1", "[menu]", "count=4",
                                   "text_0=Opfer", "file_0=../opfer.txt", "text_1=Absolut",
                                   "file_1=" + dir / "absolut.htm", "text_2=Tief",
                                   "file_2=a/../../raus.htm", "text_3=Gut", "file_3=./gut.htm"}));
    for (bool dryRun : {true, false}) {
        SCOPED_TRACE(dryRun ? "plan" : "build");
        test::FaultyFs files;
        RecordingHost host;
        ProjectDocument doc(files, host);
        ASSERT_TRUE(doc.Open(project));
        doc.Build.Destination = dest;
        doc.Build.DryRun = dryRun;
        const BuildOutcome o = doc.MakeStart();
        EXPECT_EQ(o.failedFiles, 3);
        EXPECT_FALSE(o.Succeeded());
        for (const std::string& name :
             std::vector<std::string>{"../opfer.txt", dir / "absolut.htm", "a/../../raus.htm"}) {
            const std::string path = dest + "/" + name;
            bool recorded = false;
            for (const FileRecord& r : o.record.Files())
                if (r.path == path) recorded = r.fate == FileFate::Failed;
            EXPECT_TRUE(recorded) << name;
            const auto& log = doc.Build.Report.Lines();
            EXPECT_NE(std::find(log.begin(), log.end(),
                                "Der Dateiname " + name +
                                    " f\xFChrt aus dem Zielverzeichnis hinaus; die Datei wird "
                                    "nicht geschrieben."),
                      log.end());
            EXPECT_NE(std::find(log.begin(), log.end(),
                                dryRun ? "Fehler: " + path : std::string("Fehler!")),
                      log.end());
        }
        EXPECT_EQ(test::ReadFile(victim), "meins\r\n");
        EXPECT_FALSE(test::Exists(dir / "absolut.htm"));
        EXPECT_FALSE(test::Exists(dir / "ziel/raus.htm"));
        EXPECT_EQ(test::Exists(dest + "/gut.htm"), !dryRun);
    }
}

}  // namespace
