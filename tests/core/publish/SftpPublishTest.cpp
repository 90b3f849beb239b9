// SPDX-License-Identifier: MIT
// Publishing to a real OpenSSH server started for each test on 127.0.0.1: trust before anything
// is sent, only what changed goes, pages are replaced whole, and a broken run resumes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "SshServer.h"
#include "TestSupport.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/Manifest.h"
#include "publish/Publisher.h"
#include "publish/SftpStore.h"

namespace fs = std::filesystem;

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

std::map<std::string, std::string> Files(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[fs::relative(e.path(), root).string()] = ReadFile(e.path().string());
    return files;
}

struct Sftp {
    test::SshServer server;
    TempDir local;
    std::string site = local / "site", journals = local / "journale";
    PublishTarget target;
    PublishOptions options;

    Sftp() {
        fs::create_directories(site);
        fs::create_directories(journals);
        for (const char* page : {"index.htm", "menu.htm", "a b.htm", "unter/c.htm",
                                 "\xC3\x84pfel.htm"})  // the disk names files in UTF-8
            WriteFile(site + "/" + page, std::string("<p>") + page + "</p>\r\n");
        WriteFile(site + "/bild.gif", "GIF89a-1");
        target.protocol = PublishProtocol::Sftp;
        target.host = "127.0.0.1";
        target.port = server.Port();
        target.user = server.User();
        target.remoteFolder = server.Folder();
        target.keyFile = server.ClientKey();
        target.hostKey = server.Fingerprint();
        options.project = "projekt.plp";
        options.journalDir = journals;
        options.lastFiles = {"menu.htm", "index.htm"};
    }
    PublishOutcome Run(RemoteStore* through = nullptr) {
        SftpStore store(target, "", "");
        std::string error;
        EXPECT_TRUE(store.Connect(error)) << error;
        MakeReport log;
        return Publish(disk, site, through ? *through : store, target, options, log);
    }
    std::map<std::string, std::string> OnServer() {
        auto files = Files(server.Folder());
        files.erase(kManifestName);
        return files;
    }
};

TEST(SftpPublish, TheHostKeyIsCheckedBeforeAnythingIsSent) {
    Sftp s;
    ASSERT_TRUE(s.server.Running()) << s.server.Error();
    std::string error;
    {
        PublishTarget unknown = s.target;
        unknown.hostKey.clear();
        SftpStore store(unknown, "", "");
        EXPECT_FALSE(store.Connect(error));
        EXPECT_TRUE(store.UnknownKey());
        EXPECT_EQ(store.Fingerprint(), s.server.Fingerprint());
        EXPECT_NE(error.find("--accept-host-key " + s.server.Fingerprint()), std::string::npos)
            << error;
    }
    {
        PublishTarget wrong = s.target;
        wrong.hostKey = "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
        SftpStore store(wrong, "", "");
        EXPECT_FALSE(store.Connect(error));
        EXPECT_TRUE(store.ChangedKey());
        EXPECT_EQ(error.rfind("WARNUNG: ", 0), 0u) << error;
    }
    {
        PublishTarget known = s.target;
        known.hostKey.clear();
        WriteFile(s.local / "known_hosts", "# eigene\n" + s.server.KnownHostsLine() + "\n");
        SftpStore store(known, "", s.local / "known_hosts");
        EXPECT_TRUE(store.Connect(error)) << error;
    }
    EXPECT_TRUE(fs::is_empty(s.server.Folder()));
}

TEST(SftpPublish, OnlyWhatChangedIsSentAndPagesAreReplacedWhole) {
    Sftp s;
    ASSERT_TRUE(s.server.Running()) << s.server.Error();
    const PublishOutcome first = s.Run();
    EXPECT_EQ(first.end, PublishEnd::Done);
    EXPECT_EQ(first.counts.added, 6);
    EXPECT_EQ(s.OnServer(), Files(s.site));

    EXPECT_EQ(s.Run().counts.unchanged, 6);
    WriteFile(s.site + "/a b.htm", "<p>neu</p>\r\n");
    WriteFile(s.site + "/bild.gif", "GIF89a-2");  // same size
    const PublishOutcome changed = s.Run();
    EXPECT_EQ(changed.end, PublishEnd::Done);
    EXPECT_EQ(changed.counts.changed, 2);
    EXPECT_EQ(s.OnServer(), Files(s.site));
    for (const auto& [name, data] : Files(s.server.Folder()))
        EXPECT_EQ(name.find(".pagloom-"), name == kManifestName ? 0u : std::string::npos) << name;
}

// A connection that breaks after two files: nothing half-written under a page's name, and the
// next run sends only the rest.
TEST(SftpPublish, ABrokenRunIsResumed) {
    Sftp s;
    ASSERT_TRUE(s.server.Running()) << s.server.Error();
    class Breaking : public RemoteStore {
      public:
        explicit Breaking(RemoteStore& real) : real_(real) {}
        int puts = 0;
        Got Get(const std::string& n, std::string& o, std::string& e) override {
            return real_.Get(n, o, e);
        }
        bool Put(const std::string& n, std::string_view d, std::string& e) override {
            if (++puts > 2) {
                e = "Verbindung unterbrochen";
                return false;
            }
            return real_.Put(n, d, e);
        }
        bool Replace(const std::string& f, const std::string& t, std::string& e) override {
            return real_.Replace(f, t, e);
        }
        bool Remove(const std::string& n, std::string& e) override { return real_.Remove(n, e); }
        std::optional<std::uint64_t> Size(const std::string& n) override { return real_.Size(n); }
        bool MakeFolders(const std::string& f, std::string& e) override {
            return real_.MakeFolders(f, e);
        }

      private:
        RemoteStore& real_;
    };
    {
        SftpStore store(s.target, "", "");
        std::string error;
        ASSERT_TRUE(store.Connect(error)) << error;
        Breaking breaking(store);
        MakeReport log;
        EXPECT_EQ(Publish(disk, s.site, breaking, s.target, s.options, log).end,
                  PublishEnd::SomeFailed);
    }
    for (const auto& [name, data] : s.OnServer()) EXPECT_EQ(data, ReadFile(s.site + "/" + name));
    const PublishOutcome rest = s.Run();
    EXPECT_EQ(rest.end, PublishEnd::Done);
    EXPECT_EQ(rest.counts.unchanged, 2);
    EXPECT_EQ(rest.counts.added, 4);
    EXPECT_EQ(s.OnServer(), Files(s.site));
}

}  // namespace
}  // namespace pagloom
