// SPDX-License-Identifier: MIT
// Publishing a built site to a folder target: only what changed goes, every file arrives whole
// under its name, a broken run is resumed, deletions touch only what this target published, and
// a plan changes nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "model/PublishTarget.h"
#include "projectfile/IniFile.h"
#include "projectfile/PublishSection.h"
#include "publish/Manifest.h"
#include "publish/PublishJournal.h"
#include "publish/PublishLock.h"
#include "publish/Publisher.h"
#include "publish/RemoteStore.h"
#include "publish/Sha256.h"

namespace fs = std::filesystem;

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

// The folder target, with a connection that breaks after a number of files, and a record of
// the names files were renamed to, in order.
class Server : public RemoteStore {
  public:
    explicit Server(const std::string& root) : folder_(disk, root) {}
    int breakAfter = -1;  // Put fails from this many successful ones on
    std::vector<std::string> arrived;

    Got Get(const std::string& n, std::string& out, std::string& e) override {
        return folder_.Get(n, out, e);
    }
    bool Put(const std::string& n, UploadSource& d, std::string& e) override {
        if (n == kLockName) return folder_.Put(n, d, e);  // the run's lock, not a file of the site
        if (breakAfter == 0) {
            e = "Verbindung unterbrochen";
            return false;
        }
        if (breakAfter > 0) --breakAfter;
        return folder_.Put(n, d, e);
    }
    bool Replace(const std::string& f, const std::string& t, std::string& e) override {
        if (!folder_.Replace(f, t, e)) return false;
        arrived.push_back(t);
        return true;
    }
    bool Remove(const std::string& n, std::string& e) override { return folder_.Remove(n, e); }
    std::optional<std::uint64_t> Size(const std::string& n) override { return folder_.Size(n); }
    bool MakeFolders(const std::string& f, std::string& e) override {
        return folder_.MakeFolders(f, e);
    }

  private:
    FolderStore folder_;
};

struct Site {
    TempDir dir;
    std::string site = dir / "site", server = dir / "server", journals = dir / "journale";
    PublishTarget target;
    PublishOptions options;

    Site() {
        fs::create_directories(site);
        fs::create_directories(server);
        fs::create_directories(journals);
        for (const char* page : {"index.htm", "menu.htm", "a.htm", "b.htm", "unter/c.htm"})
            WriteFile(site + "/" + page, std::string("<p>") + page + "</p>\r\n");
        WriteFile(site + "/bild.gif", "GIF89a-1");
        target.protocol = std::string("folder");
        target.remoteFolder = server;
        options.project = "projekt.plp";
        options.journalDir = journals;
        options.lastFiles = {"menu.htm", "index.htm"};
    }
    PublishOutcome Run(Server& remote, std::vector<std::string>* log = nullptr) {
        MakeReport report;
        const PublishOutcome o = Publish(disk, site, remote, target, options, report);
        if (log) *log = report.Lines();
        return o;
    }
    PublishOutcome Run() {
        Server remote(server);
        return Run(remote);
    }
};

// Whether a run left a journal (the hashes of the site's files may stay).
bool HasJournal(const std::string& dir) {
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".journal") return true;
    return false;
}

bool Has(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

TEST(Publish, SendsOnlyWhatChangedAndEntryPagesLast) {
    Site s;
    Server first(s.server);
    const PublishOutcome o = s.Run(first);
    EXPECT_EQ(o.end, PublishEnd::Done);
    EXPECT_EQ(o.counts.added, 6);
    std::map<std::string, std::string> expected = test::FilesBelow(s.site);
    std::map<std::string, std::string> onServer = test::FilesBelow(s.server);
    ASSERT_TRUE(onServer.count(kManifestName));
    onServer.erase(kManifestName);
    EXPECT_EQ(onServer, expected);
    // Pages and assets, then the entry pages in their order, the manifest last.
    ASSERT_EQ(first.arrived.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(first.arrived.end() - 3, first.arrived.end()),
              (std::vector<std::string>{"menu.htm", "index.htm", kManifestName}));

    // Unchanged: nothing goes. One page and an image of the same size changed: just those.
    EXPECT_EQ(s.Run().counts.unchanged, 6);
    Server again(s.server);
    EXPECT_EQ(s.Run(again).counts.added + s.Run(again).counts.changed, 0);
    const auto dateOfB = fs::last_write_time(s.server + "/b.htm");
    WriteFile(s.site + "/a.htm", "<p>neu</p>\r\n");
    WriteFile(s.site + "/bild.gif", "GIF89a-2");
    Server third(s.server);
    const PublishOutcome changed = s.Run(third);
    EXPECT_EQ(changed.counts.changed, 2);
    EXPECT_EQ(third.arrived, (std::vector<std::string>{"a.htm", "bild.gif", kManifestName}));
    EXPECT_EQ(ReadFile(s.server + "/bild.gif"), "GIF89a-2");
    EXPECT_EQ(fs::last_write_time(s.server + "/b.htm"), dateOfB);
}

// Files not written since the last run are not read again, yet a change that keeps the size
// and puts the old time back is still seen (by the change time, which nobody sets).
TEST(Publish, AFileChangedInPlaceWithItsOldTimeIsStillSent) {
    Site s;
    std::this_thread::sleep_for(std::chrono::milliseconds(120));  // the files have settled
    ASSERT_EQ(s.Run().counts.added, 6);
    const std::string image = s.site + "/bild.gif";
    const auto when = fs::last_write_time(image);
    WriteFile(image, "GIF89a-2");
    fs::last_write_time(image, when);
    const PublishOutcome o = s.Run();
    EXPECT_EQ(o.counts.changed, 1);
    EXPECT_EQ(o.counts.unchanged, 5);
    EXPECT_EQ(ReadFile(s.server + "/bild.gif"), "GIF89a-2");
}

// A server that is gone ends the run after a few files failed in a row, not after every file;
// the next run, with the server back, sends the rest.
TEST(Publish, AServerThatIsGoneEndsTheRun) {
    Site s;
    for (int i = 0; i < 40; ++i) WriteFile(s.site + "/seite" + std::to_string(i) + ".htm", "x");
    Server gone(s.server);
    gone.breakAfter = 3;
    std::vector<std::string> log;
    const PublishOutcome o = s.Run(gone, &log);
    EXPECT_EQ(o.end, PublishEnd::SomeFailed);
    EXPECT_EQ(o.counts.added, 3);
    EXPECT_EQ(o.counts.failed, 8 + 1);  // eight files, then the manifest
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& l) {
        return l.rfind("Der Server ist nicht mehr erreichbar", 0) == 0;
    }));
    EXPECT_EQ(s.Run().counts.added, 43);
}

// A run broken after some files leaves no half file under a page's name; the next run sends only
// the rest, and no temporary name is left behind.
TEST(Publish, ABrokenRunIsResumed) {
    Site s;
    Server broken(s.server);
    broken.breakAfter = 2;
    const PublishOutcome o = s.Run(broken);
    EXPECT_EQ(o.end, PublishEnd::SomeFailed);
    EXPECT_EQ(o.counts.added, 2);
    for (const auto& [name, data] : test::FilesBelow(s.server))
        if (name != kManifestName) {
            EXPECT_EQ(data, ReadFile(s.site + "/" + name)) << name;
        }

    Server rest(s.server);
    const PublishOutcome resumed = s.Run(rest);
    EXPECT_EQ(resumed.end, PublishEnd::Done);
    EXPECT_EQ(resumed.counts.added, 4);
    EXPECT_EQ(resumed.counts.unchanged, 2);
    for (const auto& [name, data] : test::FilesBelow(s.server))
        EXPECT_EQ(name.find(".pagloom-up-"), std::string::npos) << name;
    EXPECT_FALSE(HasJournal(s.journals)) << "the journal goes once the manifest is written";
}

// The journal alone (the manifest never written, as after kill -9) resumes as well.
TEST(Publish, TheJournalResumesWithoutAManifest) {
    Site s;
    ASSERT_EQ(s.Run().end, PublishEnd::Done);
    fs::remove(s.server + "/" + kManifestName);
    const std::string journal = JournalPath(s.journals, s.target, s.site);
    std::string lines;
    for (const char* page : {"a.htm", "b.htm"}) {
        const std::string data = ReadFile(s.site + "/" + page);
        lines += "P\t" + Sha256Hex(data) + "\t" + std::to_string(data.size()) + "\t" + page + "\n";
    }
    lines += "T\t.pagloom-up-c.htm\n";
    WriteFile(journal, lines);
    WriteFile(s.server + "/.pagloom-up-c.htm", "<p>hal");
    const PublishOutcome o = s.Run();
    EXPECT_EQ(o.counts.unchanged, 2);
    EXPECT_EQ(o.counts.changed + o.counts.added, 4);
    EXPECT_FALSE(fs::exists(s.server + "/.pagloom-up-c.htm"));
}

TEST(Publish, VerifyRepairsWhatWasChangedOnTheServer) {
    Site s;
    ASSERT_EQ(s.Run().end, PublishEnd::Done);
    fs::remove(s.server + "/a.htm");
    WriteFile(s.server + "/b.htm", "<p>");
    WriteFile(s.server + "/bild.gif", "GIF89a-X");  // same size, other content
    EXPECT_EQ(s.Run().counts.changed, 0) << "without --verify the manifest is believed";
    s.options.verify = PublishOptions::Verify::Size;
    EXPECT_EQ(s.Run().counts.added, 2);
    s.options.verify = PublishOptions::Verify::Content;
    EXPECT_EQ(s.Run().counts.added, 1);
    s.options.verify = PublishOptions::Verify::None;
    std::map<std::string, std::string> onServer = test::FilesBelow(s.server);
    onServer.erase(kManifestName);
    EXPECT_EQ(onServer, test::FilesBelow(s.site));
}

TEST(Publish, DeletesOnlyWhatThisTargetPublished) {
    Site s;
    WriteFile(s.server + "/fremd.htm", "nicht von hier\r\n");
    WriteFile(s.server + "/geschuetzt/x.htm", "bleibt\r\n");
    ASSERT_EQ(s.Run().end, PublishEnd::Done);
    fs::remove(s.site + "/b.htm");
    fs::remove(s.site + "/unter/c.htm");
    s.target.protect = {"unter/*"};
    s.options.deleteRemoved = true;

    s.options.maxDelete = 0;
    std::vector<std::string> log;
    Server limited(s.server);
    EXPECT_EQ(s.Run(limited, &log).end, PublishEnd::NothingPublished);
    EXPECT_TRUE(fs::exists(s.server + "/b.htm"));
    EXPECT_TRUE(limited.arrived.empty());

    s.options.maxDelete = 100;
    const PublishOutcome o = s.Run(limited, &log);
    EXPECT_EQ(o.counts.deleted, 1);
    EXPECT_TRUE(Has(log, "gel\xF6scht: b.htm"));
    EXPECT_FALSE(fs::exists(s.server + "/b.htm"));
    EXPECT_TRUE(fs::exists(s.server + "/unter/c.htm")) << "protected";
    EXPECT_TRUE(fs::exists(s.server + "/fremd.htm"));
    EXPECT_TRUE(fs::exists(s.server + "/geschuetzt/x.htm"));
}

TEST(Publish, RefusesWhatItMustNotDo) {
    {
        SCOPED_TRACE("a plan changes nothing, not even the manifest");
        Site s;
        ASSERT_EQ(s.Run().end, PublishEnd::Done);
        WriteFile(s.site + "/a.htm", "<p>neu</p>\r\n");
        const auto before = test::FilesBelow(s.server);
        s.options.dryRun = true;
        std::vector<std::string> log;
        Server remote(s.server);
        const PublishOutcome o = s.Run(remote, &log);
        EXPECT_EQ(o.counts.changed, 1);
        EXPECT_TRUE(Has(log, "ge\xE4ndert: a.htm"));
        EXPECT_EQ(test::FilesBelow(s.server), before);
        EXPECT_FALSE(HasJournal(s.journals));
    }
    {
        SCOPED_TRACE("another project's folder");
        Site s;
        ASSERT_EQ(s.Run().end, PublishEnd::Done);
        const auto before = test::FilesBelow(s.server);
        s.options.project = "anderes.plp";
        std::vector<std::string> log;
        Server remote(s.server);
        EXPECT_EQ(s.Run(remote, &log).end, PublishEnd::NothingPublished);
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& l) {
            return l.rfind(
                       "Der Zielordner geh\xF6rt zum Projekt projekt.plp; nichts wird "
                       "ver\xF6"
                       "ffentlicht.",
                       0) == 0;
        }));
        EXPECT_EQ(test::FilesBelow(s.server), before);
    }
    {
        SCOPED_TRACE("a link in the site, and what is excluded");
        Site s;
        fs::create_symlink("/etc/passwd", s.site + "/passwd.htm");
        WriteFile(s.site + "/notiz.bak", "privat");
        s.target.exclude = {"*.bak"};
        std::vector<std::string> log;
        Server remote(s.server);
        const PublishOutcome o = s.Run(remote, &log);
        EXPECT_EQ(o.end, PublishEnd::SomeFailed);
        EXPECT_TRUE(Has(log,
                        "Fehler: passwd.htm (ein Verweis; wird nicht ver\xF6"
                        "ffentlicht)"));
        EXPECT_FALSE(fs::exists(s.server + "/passwd.htm"));
        EXPECT_FALSE(fs::exists(s.server + "/notiz.bak"));
    }
}

// Several connections at once: every file arrives once and whole, the entry pages still last.
TEST(Publish, SeveralConnectionsSendEveryFileOnce) {
    Site s;
    for (int i = 0; i < 60; ++i)
        WriteFile(s.site + "/seiten/s" + std::to_string(i) + ".htm", std::to_string(i) + "\r\n");
    std::vector<Server*> opened;
    std::mutex guard;
    const StoreFactory more = [&]() -> std::unique_ptr<RemoteStore> {
        auto store = std::make_unique<Server>(s.server);
        std::lock_guard<std::mutex> hold(guard);
        opened.push_back(store.get());
        return store;
    };
    s.options.connections = 4;
    Server first(s.server);
    MakeReport log;
    const PublishOutcome o = Publish(disk, s.site, first, s.target, s.options, log, more);
    EXPECT_EQ(o.end, PublishEnd::Done);
    EXPECT_EQ(o.counts.added, 66);
    EXPECT_EQ(opened.size(), 3u);
    std::map<std::string, std::string> onServer = test::FilesBelow(s.server);
    onServer.erase(kManifestName);
    EXPECT_EQ(onServer, test::FilesBelow(s.site));
    ASSERT_GE(first.arrived.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(first.arrived.end() - 3, first.arrived.end()),
              (std::vector<std::string>{"menu.htm", "index.htm", kManifestName}));
    EXPECT_EQ(ParseManifest(ReadFile(s.server + "/" + kManifestName))->files.size(), 66u);
}

TEST(PublishPieces, ManifestRoundTripAndPatterns) {
    Manifest m;
    m.project = "Gr\xFCn.plp";
    m.target = "folder:///srv/\"x\"";
    m.files["unter/\xC4pfel \"1\".htm"] = {Sha256Hex(""), 0};
    m.files["a.htm"] = {Sha256Hex("abc"), 3};
    const std::optional<Manifest> back = ParseManifest(ManifestText(m));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->project, m.project);
    EXPECT_EQ(back->target, m.target);
    EXPECT_EQ(back->files, m.files);
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex(std::string(1000, 'a')),
              "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
    for (const char* bad : {"", "{}", "[1]", "{\"files\": {}}", "{\"pagloom-publish\": 1,"})
        EXPECT_FALSE(ParseManifest(bad)) << bad;

    const std::vector<std::string> patterns = {"*.bak", "privat/**", "bilder/?.gif"};
    EXPECT_TRUE(MatchesAnyPublishPattern(patterns, "notiz.bak"));
    EXPECT_TRUE(MatchesAnyPublishPattern(patterns, "tief/unten/notiz.bak"));
    EXPECT_TRUE(MatchesAnyPublishPattern(patterns, "privat/a/b.htm"));
    EXPECT_TRUE(MatchesAnyPublishPattern(patterns, "bilder/a.gif"));
    EXPECT_FALSE(MatchesAnyPublishPattern(patterns, "bilder/ab.gif"));
    EXPECT_FALSE(MatchesAnyPublishPattern(patterns, "a.htm"));
    EXPECT_FALSE(MatchesAnyPublishPattern({"bilder/*"}, "bilder/x/y.gif"));
}

}  // namespace
}  // namespace pagloom

namespace pagloom {
namespace {

// The target as the windows edit it: written back key by key, so an unchanged target leaves
// the section as the user wrote it (comments and all), a project without one gets no section,
// and a changed key changes only its line.
TEST(PublishPieces, TheTargetIsWrittenBackKeyByKey) {
    const std::string section =
        "[publish]\r\nprotocol=sftp            ; sftp | ftps | ftp | webdav | folder\r\n"
        "host=www.example.org\r\nport=\r\nremote-folder=/htdocs ; Ziel\r\n"
        "exclude=*.bak;entwurf/**\r\ndelete=0\r\nconnections=4\r\n";
    IniFile ini(section);
    PublishTarget t = ReadPublishSection(ini);
    WritePublishSection(ini, t);
    EXPECT_EQ(ini.Text(), section);
    t.host = "neu.example.org";
    t.exclude.push_back("*.tmp");
    WritePublishSection(ini, t);
    EXPECT_EQ(ini.Text(),
              "[publish]\r\nprotocol=sftp            ; sftp | ftps | ftp | webdav | "
              "folder\r\nhost=neu.example.org\r\nport=\r\nremote-folder=/htdocs ; "
              "Ziel\r\nexclude=*.bak;entwurf/**;*.tmp\r\ndelete=0\r\nconnections=4\r\n");
    EXPECT_EQ(ReadPublishSection(IniFile(ini.Text())), t);

    IniFile none("[files]\r\nx=1\r\n");
    WritePublishSection(none, PublishTarget{});
    EXPECT_EQ(none.Text(), "[files]\r\nx=1\r\n");
}

}  // namespace
}  // namespace pagloom
