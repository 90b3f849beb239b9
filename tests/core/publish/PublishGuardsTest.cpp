// SPDX-License-Identifier: MIT
// What a run to a folder target must refuse, whoever prepared the folders: names from the
// server that lead out of the remote folder, another project's target, an empty site, deleting
// most of a target without a yes, a target inside the site, a journal folder open to others,
// names the program cannot hold.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "NoSecrets.h"
#include "TestSupport.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "model/ProjectSettings.h"
#include "publish/Manifest.h"
#include "publish/PublishFlow.h"
#include "publish/PublishLock.h"
#include "publish/Publisher.h"
#include "publish/RemoteStore.h"

namespace fs = std::filesystem;

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

struct Folders {
    TempDir dir;
    std::string site = dir / "site", server = dir / "server", journals = dir / "journale";
    PublishTarget target;
    PublishOptions options;
    std::vector<std::string> log;

    Folders() {
        fs::create_directories(site);
        fs::create_directories(server);
        fs::create_directories(journals);
        for (const char* page : {"index.htm", "a.htm", "b.htm", "c.htm"})
            WriteFile(site + "/" + page, std::string("<p>") + page + "</p>\r\n");
        target.protocol = "folder";
        target.remoteFolder = server;
        options.project = "projekt.plp";
        options.projectId = "1111";
        options.journalDir = journals;
    }
    PublishOutcome Run() {
        FolderStore remote(disk, server);
        MakeReport report;
        const PublishOutcome o = Publish(disk, site, remote, target, options, report);
        log = report.Lines();
        return o;
    }
    bool Said(const std::string& part) const {
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
};

TEST(PublishGuards, AManifestNameLeadingOutOfTheRemoteFolderDeletesNothing) {
    Folders f;
    ASSERT_EQ(f.Run().end, PublishEnd::Done);
    WriteFile(f.dir / "outside.txt", "fremd");
    // A hostile manifest: the target lists a file beside the remote folder.
    std::string text = ReadFile(f.server + "/" + kManifestName);
    const size_t files = text.find("\"files\": {");
    ASSERT_NE(files, std::string::npos);
    text.insert(files + 10, "\n    \"../outside.txt\": [\"" + std::string(64, 'a') + "\", 5],");
    WriteFile(f.server + "/" + kManifestName, text);
    f.options.deleteRemoved = true;
    f.options.allowManyDeletions = true;
    EXPECT_EQ(f.Run().end, PublishEnd::NothingPublished);
    EXPECT_TRUE(f.Said("../outside.txt")) << f.log[2];
    EXPECT_EQ(ReadFile(f.dir / "outside.txt"), "fremd");
}

TEST(PublishGuards, AnotherProjectOfTheSameNameIsRefusedAndARenamedOneGoesOn) {
    Folders f;
    ASSERT_EQ(f.Run().end, PublishEnd::Done);
    const auto before = test::FilesBelow(f.server);
    // Another customer's project under the same file name, pointed at this folder.
    f.options.projectId = "2222";
    f.options.deleteRemoved = true;
    fs::remove(f.site + "/a.htm");
    EXPECT_EQ(f.Run().end, PublishEnd::NothingPublished);
    EXPECT_TRUE(f.Said("Kennung 1111"));
    EXPECT_TRUE(f.Said("project-id=1111"));  // how to take the target over on purpose
    EXPECT_EQ(test::FilesBelow(f.server), before);
    // The first project under a new file name is still the owner.
    f.options.projectId = "1111";
    f.options.project = "umbenannt.plp";
    EXPECT_EQ(f.Run().end, PublishEnd::Done);
    EXPECT_FALSE(fs::exists(f.server + "/a.htm"));
}

TEST(PublishGuards, AnEmptySiteAndDeletingMostOfTheTargetNeedMoreThanTheDeleteOption) {
    Folders f;
    f.options.deleteRemoved = true;
    ASSERT_EQ(f.Run().end, PublishEnd::Done);
    const auto before = test::FilesBelow(f.server);
    for (const char* page : {"index.htm", "a.htm", "b.htm", "c.htm"})
        fs::remove(f.site + "/" + page);
    EXPECT_EQ(f.Run().end, PublishEnd::NothingPublished);
    EXPECT_TRUE(f.Said("enth\xE4lt keine Dateien"));
    EXPECT_EQ(test::FilesBelow(f.server), before);

    // Three of four pages gone: more than half of the target.
    WriteFile(f.site + "/index.htm", "<p>index.htm</p>\r\n");
    EXPECT_EQ(f.Run().end, PublishEnd::NothingPublished);
    EXPECT_TRUE(f.Said("3 von 4 Dateien am Ziel"));
    EXPECT_TRUE(f.Said("--allow-many-deletions"));
    EXPECT_EQ(test::FilesBelow(f.server), before);
    f.options.allowManyDeletions = true;
    EXPECT_EQ(f.Run().counts.deleted, 3);
}

TEST(PublishGuards, NamesTheProgramCannotHoldAreFailuresWithTheirReason) {
    Folders f;
    WriteFile(f.site +
                  "/Gr\xC3\xBC\xC3\x9F"
                  "e.htm",
              "<p>ok</p>");  // UTF-8 on disk: fine
    // Not UTF-8, and a character outside Windows-1252.
    WriteFile(f.site + "/kaputt\xFF.htm", "<p>1</p>");
    WriteFile(f.site + "/\xE2\x82\xAC\xE2\x88\x9E.htm", "<p>2</p>");
    WriteFile(f.site + "/back\\slash.htm", "<p>3</p>");
    const PublishOutcome o = f.Run();
    EXPECT_EQ(o.end, PublishEnd::SomeFailed);
    EXPECT_EQ(o.counts.failed, 3);
    EXPECT_TRUE(f.Said("Windows-1252 darstellbar"));
    EXPECT_TRUE(f.Said("Backslash"));
    EXPECT_TRUE(fs::exists(f.server + "/Gr\xC3\xBC\xC3\x9F"
                                      "e.htm"));
}

// What a run asks, answered with no; the messages kept.
struct Refusing : PublishPorts {
    std::vector<std::string> messages;
    void Message(const std::string& t, const std::string&) override { messages.push_back(t); }
    std::optional<std::string> AskPassword(const PublishTarget&) override { return {}; }
    bool TrustKey(const PublishTarget&, const std::string&) override { return false; }
    bool KeepTarget(const PublishTarget&) override { return true; }
    bool AllowPlain(const PublishTarget&, const std::string&) override { return false; }
    PlanAnswer ConfirmPlan(const PublishPlan&) override { return PlanAnswer::Cancel; }
};

TEST(PublishGuards, ATargetInsideTheSiteOrTheSiteInsideTheTargetIsRefused) {
    Folders f;
    NoSecrets secrets;
    for (const auto& [what, site, folder] :
         {std::tuple{"target in the site", f.site, f.site + "/kopie"},
          std::tuple{"site in the target", f.server + "/site", f.server}}) {
        SCOPED_TRACE(what);
        fs::create_directories(folder);
        fs::create_directories(site);
        WriteFile(site + "/index.htm", "x");
        PublishTarget t = f.target;
        t.remoteFolder = folder;
        PublishRequest r;
        r.projectFile = f.dir / "projekt.plp";
        r.site = site;
        Refusing ports;
        MakeReport log;
        EXPECT_FALSE(PublishProject(disk, ProjectSettings{}, t, r, secrets, ports, log).started);
        ASSERT_EQ(ports.messages.size(), 1u);
        EXPECT_NE(ports.messages[0].find("liegen ineinander"), std::string::npos);
    }
}

TEST(PublishGuards, AJournalFolderSomeoneElseOwnsIsNotUsed) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a folder another user owns";
    Folders f;
    NoSecrets secrets;
    // The variable as it was comes back however the test ends.
    struct KeepCache {
        std::optional<std::string> saved;
        KeepCache() {
            if (const char* v = std::getenv("XDG_CACHE_HOME")) saved = v;
        }
        ~KeepCache() {
            if (saved)
                ::setenv("XDG_CACHE_HOME", saved->c_str(), 1);
            else
                ::unsetenv("XDG_CACHE_HOME");
        }
    } keep;
    // Planted: the program's cache folder made by another user (nobody) before the first run.
    const std::string cache = f.dir / "cache";
    fs::create_directories(cache + "/pagloom");
    ASSERT_EQ(::chown((cache + "/pagloom").c_str(), 65534, 65534), 0);
    ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    PublishRequest r;
    r.projectFile = f.dir / "projekt.plp";
    r.site = f.site;
    Refusing ports;
    MakeReport log;
    const PublishResult result =
        PublishProject(disk, ProjectSettings{}, f.target, r, secrets, ports, log);
    EXPECT_NE(result.end, PublishEnd::Done);
    const std::vector<std::string>& lines = log.Lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("geh\xF6rt nicht Ihnen allein") != std::string::npos;
    }));
    EXPECT_TRUE(test::FilesBelow(f.server).empty());
    // The user's own folder, left open to others by an earlier version, is closed and used.
    const std::string own = f.dir / "eigen";
    fs::create_directories(own + "/pagloom/publish");
    ::chmod((own + "/pagloom").c_str(), 0755);
    ::setenv("XDG_CACHE_HOME", own.c_str(), 1);
    MakeReport log2;
    const PublishResult ok =
        PublishProject(disk, ProjectSettings{}, f.target, r, secrets, ports, log2);
    EXPECT_EQ(ok.end, PublishEnd::Done);
    struct stat st {};
    ASSERT_EQ(::stat((own + "/pagloom").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
}

TEST(PublishGuards, OneRunAtATimePerTarget) {
    Folders f;
    ASSERT_EQ(f.Run().end, PublishEnd::Done);
    EXPECT_FALSE(fs::exists(f.server + "/" + kLockName));  // released at the end
    WriteFile(f.site + "/a.htm", "<p>neu</p>");
    const std::string now = std::to_string(std::time(nullptr));
    // Another computer's run, just started.
    WriteFile(
        f.server + "/" + kLockName,
        "pagloom-lock 1\nhost=anderer-rechner\npid=1\nproject=1111\ntime=" + now + "\ntoken=x\n");
    const auto before = test::FilesBelow(f.server);
    EXPECT_EQ(f.Run().end, PublishEnd::NothingPublished);
    EXPECT_TRUE(f.Said("anderer-rechner"));
    EXPECT_EQ(test::FilesBelow(f.server), before);
    // A plan only reads: it goes on beside a run.
    f.options.dryRun = true;
    EXPECT_EQ(f.Run().counts.changed, 1);
    f.options.dryRun = false;
    // Left by a run of this computer whose process is gone: taken over.
    WriteFile(
        f.server + "/" + kLockName, "pagloom-lock 1\nhost=" +
                                        [] {
                                            char n[256] = {};
                                            ::gethostname(n, sizeof n - 1);
                                            return std::string(n);
                                        }() +
                                        "\npid=999999999\nproject=1111\ntime=" + now +
                                        "\ntoken=x\n");
    EXPECT_EQ(f.Run().counts.changed, 1);
    EXPECT_FALSE(fs::exists(f.server + "/" + kLockName));

    // A second run on this computer while the first holds its lock.
    WriteFile(f.site + "/b.htm", "<p>neu</p>");
    MakeReport report;
    FolderStore remote(disk, f.server);
    PublishPlan first = PlanPublish(disk, f.site, remote, f.target, f.options, report);
    ASSERT_FALSE(first.Refused());
    EXPECT_EQ(f.Run().end, PublishEnd::NothingPublished);
    EXPECT_TRUE(f.Said("auf diesem Computer"));
    EXPECT_EQ(RunPublish(disk, first, remote, report).counts.changed, 1);
}

TEST(PublishGuards, ThePublicManifestNamesNoAddress) {
    Folders f;
    f.target.protocol = "folder";
    ASSERT_EQ(f.Run().end, PublishEnd::Done);
    const std::string text = ReadFile(f.server + "/" + kManifestName);
    EXPECT_EQ(text.find(f.server), std::string::npos);
    EXPECT_NE(text.find("\"project-id\": \"1111\""), std::string::npos);
}

}  // namespace
}  // namespace pagloom
