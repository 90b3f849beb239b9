// SPDX-License-Identifier: MIT
// A build that only plans must judge every file as the real build would, end as the real build
// would, and leave the disk exactly as it was: bytes, dates and folder listings.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "generator/BuildPlan.h"
#include "groups/GroupBuild.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "ports/Host.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

using test::CrLf;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk_;

// Everything below a folder: each entry's kind, bytes and modification time.
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(e.path(), root).string();
        if (e.is_directory()) {
            entries[rel] = "<dir>";
        } else {
            entries[rel] = test::ReadFile(e.path().string()) + "|" +
                           std::to_string(test::MTimeNs(e.path().string()));
        }
    }
    return entries;
}

// Builds a small site once, then changes it the way the case asks.
struct Site {
    TempDir dir;
    std::string project, dest;

    // `contentPage`: the keys of the section [content-page].
    explicit Site(const std::vector<std::string>& contentPage = {"empty-pages=1",
                                                                 "empty-overwrite=1"}) {
        dest = dir / "site";
        fs::create_directories(dest);
        std::vector<std::string> lines = {"[files]", "destination-directory=" + dest,
                                          "[content-page]"};
        lines.insert(lines.end(), contentPage.begin(), contentPage.end());
        for (const char* l : {"[menu]", "count=3", "text_0=Eins", "file_0=eins.htm", "text_1=Zwei",
                              "file_1=zwei.htm", "text_2=Drei", "file_2=drei.htm"})
            lines.emplace_back(l);
        project = dir / "projekt.plp";
        WriteFile(project, CrLf(lines));
    }
};

struct Builder {
    test::FaultyFs files;
    RecordingHost host;
    ProjectDocument doc{files, host};
    std::vector<std::string> log;

    BuildOutcome Build(const std::string& project, const std::string& dest, bool dryRun) {
        EXPECT_TRUE(doc.Open(project));
        doc.Build.Destination = dest;
        doc.Build.DryRun = dryRun;
        doc.Build.Report.SetLineCallback([this](const std::string& l) { log.push_back(l); });
        return doc.MakeStart();
    }
};

bool Has(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

TEST(BuildPlan, JudgesEachFileAsTheBuildWouldAndLeavesTheDiskAsItWas) {
    Site site;
    {
        Builder first;
        ASSERT_TRUE(first.Build(site.project, site.dest, false).Succeeded());
    }
    // One page gone (new), one edited (changed), one that cannot be written, one saved with LF
    // only (unchanged, as the real build sees it).
    const std::string eins = site.dest + "/eins.htm", zwei = site.dest + "/zwei.htm",
                      drei = site.dest + "/drei.htm", include = site.dest + "/menframe_include.htm";
    fs::remove(eins);
    WriteFile(zwei, "alt\r\n");
    WriteFile(drei, "alt\r\n");
    std::string text = test::ReadFile(include);
    std::erase(text, '\r');
    WriteFile(include, text);
    test::AgeFile(zwei);
    const auto destBefore = Snapshot(site.dest), projectBefore = Snapshot(site.dir.Path());

    Builder plan;
    plan.files.refused.insert(drei);
    const BuildOutcome planned = plan.Build(site.project, site.dest, true);
    EXPECT_EQ(Snapshot(site.dest), destBefore);
    EXPECT_EQ(Snapshot(site.dir.Path()), projectBefore);

    const std::vector<std::string>& log = plan.log;
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log.front(),
              "Pr\xFC"
              "fe Dateien in " +
                  site.dest + " (nichts wird geschrieben):");
    EXPECT_TRUE(Has(log, "neu: " + eins));
    EXPECT_TRUE(Has(log, "ge\xE4ndert: " + zwei));
    EXPECT_TRUE(Has(log, "Fehler: " + drei));
    EXPECT_TRUE(Has(log, "unver\xE4ndert: " + include));
    EXPECT_FALSE(Has(log, "Erstellen der Dateien fertig!"));
    int unchanged = 0, skipped = 0;
    for (const std::string& l : log) {
        unchanged += l.rfind("unver\xE4ndert: ", 0) == 0;
        skipped += l.rfind(
                       "\xFC"
                       "bersprungen: ",
                       0) == 0;
    }
    // Files whose overwrite setting is off by default (a frame page) are kept, and listed so.
    EXPECT_EQ(log[log.size() - 2], "Plan: 1 neu, 1 ge\xE4ndert, " + std::to_string(unchanged) +
                                       " unver\xE4ndert, " + std::to_string(skipped) +
                                       " \xFC"
                                       "bersprungen, 1 Fehler");
    EXPECT_EQ(planned.plan.added, 1);
    EXPECT_EQ(planned.failedFiles, 1);
    EXPECT_EQ(plan.doc.Build.PreviewDirectory, site.dest);  // as opened; the plan does not set it

    // The real build meets what the plan said.
    Builder real;
    real.files.refused.insert(drei);
    const BuildOutcome built = real.Build(site.project, site.dest, false);
    EXPECT_EQ(built.failedFiles, planned.failedFiles);
    EXPECT_EQ(built.Succeeded(), planned.Succeeded());
    EXPECT_EQ(built.EndedEarly(), planned.EndedEarly());
    EXPECT_EQ(test::ReadFile(zwei).find("alt"), std::string::npos);
}

// The outcome, and so pagloom-cli's exit status, is the real build's in each case.
TEST(BuildPlan, EndsAsTheRealBuildWould) {
    struct Case {
        const char* name;
        std::vector<std::string> contentPage;  // keys of [content-page]
        bool missingDest = false;
        bool unreadablePage = false;
        bool refusedPage = false;
    };
    const std::vector<Case> cases = {
        {"everything written", {"empty-pages=1", "empty-overwrite=1"}},
        {"destination folder missing", {"empty-pages=1", "empty-overwrite=1"}, true},
        {"existing page unreadable", {"empty-pages=1", "empty-overwrite=1"}, false, true},
        {"page refused", {"empty-pages=1", "empty-overwrite=1"}, false, false, true},
        {"template missing", {"template-pages=1", "template-file=/nirgends.tpl"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Site site(c.contentPage);
        {
            Builder first;
            first.Build(site.project, site.dest, false);
        }
        const std::string dest = c.missingDest ? site.dir / "fehlt" : site.dest;
        const std::string page = site.dest + "/zwei.htm";
        WriteFile(page, "alt\r\n");
        const auto before = Snapshot(site.dir.Path());
        BuildOutcome outcomes[2];
        for (int dry = 1; dry >= 0; --dry) {
            Builder run;
            if (c.unreadablePage) run.files.unreadable.insert(page);
            if (c.refusedPage) run.files.refused.insert(page);
            outcomes[dry] = run.Build(site.project, dest, dry == 1);
            if (dry) {
                EXPECT_EQ(Snapshot(site.dir.Path()), before);
            }
            EXPECT_EQ(run.host.messages.size(),
                      c.unreadablePage || c.contentPage[0][0] == 't' ? 1u : 0u);
        }
        EXPECT_EQ(outcomes[1].started, outcomes[0].started);
        EXPECT_EQ(outcomes[1].reachedEnd, outcomes[0].reachedEnd);
        EXPECT_EQ(outcomes[1].failedFiles, outcomes[0].failedFiles);
        EXPECT_EQ(outcomes[1].errorMessages, outcomes[0].errorMessages);
    }
}

TEST(BuildPlan, GroupDryRunLeavesGroupFileAndIndexAlone) {
    TempDir dir;
    Site a, b;
    const std::string groupFile = dir / "gruppe.plg";
    {
        TProjectGroup g;
        g.ProjectList = {a.project, b.project};
        g.LastSaveList = {"alt", "alt"};
        g.IndexMap = true;
        g.IndexMapFile = dir / "index.xml";
        g.GroupFileName = groupFile;
        RecordingHost host;
        ASSERT_TRUE(g.FileSave(disk_, host));
    }
    const auto before = Snapshot(dir.Path());
    TProjectGroup group;
    ASSERT_TRUE(group.Open(disk_, groupFile));
    RecordingHost host;
    ProjectDocument doc(disk_, host);
    doc.Build.DryRun = true;
    GroupBuildEnv env{doc, {}, {}, {}, {}};
    const GroupOutcome outcome = Make1Execute(group, env);
    EXPECT_EQ(outcome.built, 2);
    EXPECT_FALSE(outcome.saveFailed || outcome.indexFailed);
    EXPECT_EQ(group.LastSaveList, (std::vector<std::string>{"alt", "alt"}));
    EXPECT_FALSE(group.GroupModified);
    EXPECT_EQ(Snapshot(dir.Path()), before);
    EXPECT_TRUE(Has(doc.Build.Report.Lines(), "neu: " + dir / "index.xml"));
    EXPECT_TRUE(host.questions.empty());
    // Both sites stay unbuilt.
    EXPECT_TRUE(fs::is_empty(a.dest));
    EXPECT_TRUE(fs::is_empty(b.dest));
}

// The fate of one file in a plan and in the real build that follows it, and the two outcomes.
struct Verdicts {
    FileFate planned = FileFate::Unchanged, built = FileFate::Unchanged;
    bool planOk = false, buildOk = false;
};

FileFate FateIn(const BuildOutcome& o, const std::string& path) {
    for (const FileRecord& r : o.record.Files())
        if (r.path == path) return r.fate;
    return FileFate::Skipped;  // not come to at all
}

Verdicts PlanThenBuild(const std::string& project, const std::string& dest,
                       const std::string& path) {
    Verdicts v;
    Builder plan, real;
    const BuildOutcome planned = plan.Build(project, dest, true);
    const BuildOutcome built = real.Build(project, dest, false);
    v.planned = FateIn(planned, path);
    v.built = FateIn(built, path);
    v.planOk = planned.Succeeded();
    v.buildOk = built.Succeeded();
    return v;
}

// Odd things where a page goes: the plan says what the build then does.
TEST(BuildPlan, PredictsTheBuildForOddTargets) {
    {
        SCOPED_TRACE("a page name longer than the file system takes");
        TempDir dir;
        const std::string dest = dir / "site", name = std::string(300, 'x') + ".htm";
        fs::create_directories(dest);
        WriteFile(dir / "p.plp",
                  CrLf({"[files]", "destination-directory=" + dest, "[content-page]",
                        "empty-pages=1", "[menu]", "count=1", "text_0=Lang", "file_0=" + name}));
        const Verdicts v = PlanThenBuild(dir / "p.plp", dest, dest + "/" + name);
        EXPECT_EQ(v.built, FileFate::Failed);
        EXPECT_EQ(v.planned, v.built);
        EXPECT_EQ(v.planOk, v.buildOk);
    }
    {
        SCOPED_TRACE("a pipe where a page goes");
        Site site;
        const std::string zwei = site.dest + "/zwei.htm";
        ASSERT_EQ(mkfifo(zwei.c_str(), 0600), 0);
        const Verdicts v = PlanThenBuild(site.project, site.dest, zwei);
        EXPECT_EQ(v.built, FileFate::New);
        EXPECT_EQ(v.planned, v.built);
        EXPECT_TRUE(v.planOk && v.buildOk);
        EXPECT_TRUE(fs::is_regular_file(zwei));
    }
    {
        SCOPED_TRACE("an immutable page");
        Site site;
        const std::string zwei = site.dest + "/zwei.htm";
        WriteFile(zwei, "alt\r\n");
        const int fd = open(zwei.c_str(), O_RDONLY);
        int flags = 0;
        const bool marked = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                            (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        // Only where the file system has the mark and root may set it; elsewhere there is no
        // such page to predict.
        if (marked) {
            const Verdicts v = PlanThenBuild(site.project, site.dest, zwei);
            flags &= ~FS_IMMUTABLE_FL;
            ioctl(fd, FS_IOC_SETFLAGS, &flags);
            EXPECT_EQ(v.built, FileFate::Failed);
            EXPECT_EQ(v.planned, v.built);
            EXPECT_EQ(v.planOk, v.buildOk);
        }
        if (fd >= 0) close(fd);
    }
    {
        SCOPED_TRACE("another user's page in a shared folder with the sticky bit");
        Site site;
        const std::string zwei = site.dest + "/zwei.htm";
        WriteFile(zwei, "alt\r\n");
        ASSERT_EQ(chmod(zwei.c_str(), 0666), 0);
        ASSERT_EQ(chmod(site.dest.c_str(), 01777), 0);
        ASSERT_EQ(chmod(site.dir.Path().c_str(), 0755), 0);
        ASSERT_EQ(chmod(site.project.c_str(), 0644), 0);
        // 0: both fail for the page, 1: the plan misjudged it, 2: the build did not fail.
        const int result = test::AsOrdinaryUser([&] {
            const Verdicts v = PlanThenBuild(site.project, site.dest, zwei);
            if (v.built != FileFate::Failed) return 2;
            return v.planned == v.built && v.planOk == v.buildOk ? 0 : 1;
        });
        EXPECT_EQ(result, 0) << "255: root could not be given up";
    }
}

// With overwrite off a changed template leaves the existing pages stale: the plan says each is
// skipped, and counts them on their own, rather than calling them unchanged.
TEST(BuildPlan, ShowsThePagesTheOverwriteSettingKeeps) {
    Site site({"template-pages=1", "template-file=vorlage.htm", "template-overwrite=0"});
    WriteFile(site.dir / "vorlage.htm", "<p>alt</p>\r\n");
    {
        Builder first;
        ASSERT_TRUE(first.Build(site.project, site.dest, false).Succeeded());
    }
    WriteFile(site.dir / "vorlage.htm", "<p>neu</p>\r\n");
    Builder plan;
    const BuildOutcome o = plan.Build(site.project, site.dest, true);
    for (const char* page : {"eins.htm", "zwei.htm", "drei.htm"}) {
        const std::string path = site.dest + "/" + page;
        EXPECT_TRUE(Has(plan.log,
                        "\xFC"
                        "bersprungen: " +
                            path +
                            " (\xDC"
                            "berschreiben ist aus)"))
            << page;
        EXPECT_FALSE(Has(plan.log, "unver\xE4ndert: " + path)) << page;
    }
    // The three pages and the files of the default project whose overwrite setting is off.
    int listed = 0;
    for (const std::string& l : plan.log)
        listed += l.rfind(
                      "\xFC"
                      "bersprungen: ",
                      0) == 0;
    EXPECT_GE(o.plan.skipped, 3);
    EXPECT_EQ(o.plan.skipped, listed);
    EXPECT_EQ(o.record.Count(FileFate::Skipped), o.plan.skipped);
    EXPECT_EQ(plan.log[plan.log.size() - 2],
              "Plan: 0 neu, 0 ge\xE4ndert, " + std::to_string(o.plan.unchanged) +
                  " unver\xE4ndert, " + std::to_string(o.plan.skipped) +
                  " \xFC"
                  "bersprungen, 0 Fehler");
}

}  // namespace
