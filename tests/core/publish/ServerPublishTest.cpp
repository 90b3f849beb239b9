// SPDX-License-Identifier: MIT
// Publishing to real servers started for each test on 127.0.0.1: OpenSSH's sshd (SFTP),
// vsftpd (FTPS) and lighttpd (WebDAV over https). The same cases run over each protocol:
// trust before anything is sent, only what changed goes, pages are replaced whole, a broken
// run resumes, --verify repairs, --delete removes only what this target published.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "SshServer.h"
#include "TestSupport.h"
#include "TlsServers.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/Manifest.h"
#include "publish/Publisher.h"
#include "publish/TargetConnection.h"

namespace fs = std::filesystem;

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

// One server of a protocol, as the tests see it.
struct Server {
    std::unique_ptr<test::SshServer> ssh;
    std::unique_ptr<test::TlsServer> tls;
    PublishTarget target;
    std::string password;

    explicit Server(const std::string& protocol) {
        target.protocol = protocol;
        target.host = "127.0.0.1";
        if (protocol == std::string("sftp")) {
            ssh = std::make_unique<test::SshServer>();
            target.port = ssh->Port();
            target.user = ssh->User();
            target.remoteFolder = ssh->Folder();
            target.keyFile = ssh->ClientKey();
            target.hostKey = ssh->Fingerprint();
            return;
        }
        if (protocol == std::string("ftps"))
            tls = std::make_unique<test::FtpsServer>();
        else
            tls = std::make_unique<test::DavServer>();
        target.port = tls->Port();
        target.user = tls->User();
        target.remoteFolder = tls->RemoteFolder();
        target.hostKey = tls->Pin();
        password = tls->Password();
    }
    bool Running() const { return ssh ? ssh->Running() : tls->Running(); }
    bool Skipped() const { return tls && tls->Skipped(); }
    std::string Error() const { return ssh ? ssh->Error() : tls->Error(); }
    std::string Folder() const { return ssh ? ssh->Folder() : tls->Folder(); }
    // The key the server shows, as it is accepted.
    std::string Key() const { return ssh ? ssh->Fingerprint() : tls->Pin(); }
    void Stop() { ssh ? ssh->Stop() : tls->Stop(); }
    bool Restart() { return ssh ? ssh->Restart() : tls->Restart(); }
    TargetConnection Connect(const PublishTarget& t, const std::string& pw) const {
        TargetAccess access;
        access.projectFile = "/nirgends/projekt.plp";
        access.password = pw;
        return ConnectTarget(disk, t, access);
    }
    TargetConnection Connect() const { return Connect(target, password); }
};

class ServerPublish : public testing::TestWithParam<std::string> {
  protected:
    Server server{GetParam()};
    TempDir local;
    std::string site = local / "site", journals = local / "journale";
    PublishOptions options;

    void SetUp() override {
        if (server.Skipped()) GTEST_SKIP() << server.Error();
        ASSERT_TRUE(server.Running()) << server.Error();
        fs::create_directories(site);
        fs::create_directories(journals);
        for (const char* page : {"index.htm", "menu.htm", "a b.htm", "unter/c.htm",
                                 "unter/tief/d.htm", "\xC3\x84pfel.htm"})  // names in UTF-8
            WriteFile(site + "/" + page, std::string("<p>") + page + "</p>\r\n");
        WriteFile(site + "/bild.gif", "GIF89a-1");
        options.project = "projekt.plp";
        options.journalDir = journals;
        options.lastFiles = {"menu.htm", "index.htm"};
    }
    PublishOutcome Run(std::vector<std::string>* log = nullptr) {
        TargetConnection c = server.Connect();
        EXPECT_TRUE(c.store) << c.error;
        if (!c.store) return {};
        MakeReport report;
        const PublishOutcome o =
            Publish(disk, site, *c.store, server.target, options, report, c.more);
        if (log) *log = report.Lines();
        if (o.end != PublishEnd::Done && !options.dryRun)
            for (const std::string& line : report.Lines()) std::printf("  | %s\n", line.c_str());
        return o;
    }
    std::map<std::string, std::string> OnServer() {
        auto files = test::FilesBelow(server.Folder());
        files.erase(kManifestName);
        return files;
    }
    // Nothing of the publisher's own is left but the manifest.
    void ExpectNoLeftovers() {
        for (const auto& [name, data] : test::FilesBelow(server.Folder()))
            EXPECT_EQ(name.find(".pagloom-"), name == kManifestName ? 0u : std::string::npos)
                << name;
    }
};

TEST_P(ServerPublish, TheServersKeyIsCheckedBeforeAnythingIsSent) {
    PublishTarget unknown = server.target;
    unknown.hostKey.clear();
    TargetConnection c = server.Connect(unknown, server.password);
    EXPECT_FALSE(c.store);
    EXPECT_TRUE(c.unknownKey);
    EXPECT_EQ(c.fingerprint, server.Key());
    EXPECT_NE(c.error.find("--accept-host-key " + server.Key()), std::string::npos) << c.error;

    PublishTarget wrong = server.target;
    wrong.hostKey = GetParam() == std::string("sftp")
                        ? "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
                        : "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";
    c = server.Connect(wrong, server.password);
    EXPECT_FALSE(c.store);
    EXPECT_TRUE(c.changedKey);
    EXPECT_EQ(c.fingerprint, server.Key());
    EXPECT_EQ(c.error.rfind("WARNUNG: ", 0), 0u) << c.error;

    if (GetParam() != std::string("sftp")) {  // the SSH server here takes keys only
        c = server.Connect(server.target, "falsch");
        EXPECT_FALSE(c.store);
        EXPECT_FALSE(c.unknownKey || c.changedKey);
        EXPECT_NE(c.error.find("Anmeldung abgelehnt"), std::string::npos) << c.error;
    }
    EXPECT_TRUE(fs::is_empty(server.Folder()));
}

TEST_P(ServerPublish, OnlyWhatChangedIsSentAndPagesAreReplacedWhole) {
    const PublishOutcome first = Run();
    EXPECT_EQ(first.end, PublishEnd::Done);
    EXPECT_EQ(first.counts.added, 7);
    EXPECT_EQ(OnServer(), test::FilesBelow(site));

    const PublishOutcome again = Run();
    EXPECT_EQ(again.counts.unchanged, 7);
    EXPECT_EQ(again.counts.added + again.counts.changed, 0);

    const auto untouched = fs::last_write_time(server.Folder() + "/unter/c.htm");
    WriteFile(site + "/a b.htm", "<p>neu</p>\r\n");
    WriteFile(site + "/bild.gif", "GIF89a-2");  // same size
    const PublishOutcome changed = Run();
    EXPECT_EQ(changed.end, PublishEnd::Done);
    EXPECT_EQ(changed.counts.changed, 2);
    EXPECT_EQ(OnServer(), test::FilesBelow(site));
    EXPECT_EQ(fs::last_write_time(server.Folder() + "/unter/c.htm"), untouched);
    ExpectNoLeftovers();
}

// The server goes away after two files are in place: nothing half-written stands under a page's
// name, and the next run sends only the rest.
TEST_P(ServerPublish, ARunBrokenByTheServerIsResumed) {
    TargetConnection c = server.Connect();
    ASSERT_TRUE(c.store) << c.error;
    class Breaking : public RemoteStore {
      public:
        Breaking(RemoteStore& real, Server& server) : real_(real), server_(server) {}
        Got Get(const std::string& n, std::string& o, std::string& e) override {
            return real_.Get(n, o, e);
        }
        bool Put(const std::string& n, UploadSource& d, std::string& e) override {
            if (replaced_ == 2) server_.Stop();
            return real_.Put(n, d, e);
        }
        bool Replace(const std::string& f, const std::string& t, std::string& e) override {
            const bool done = real_.Replace(f, t, e);
            replaced_ += done;
            return done;
        }
        bool Remove(const std::string& n, std::string& e) override { return real_.Remove(n, e); }
        std::optional<std::uint64_t> Size(const std::string& n) override { return real_.Size(n); }
        bool MakeFolders(const std::string& f, std::string& e) override {
            return real_.MakeFolders(f, e);
        }

      private:
        RemoteStore& real_;
        Server& server_;
        int replaced_ = 0;
    } breaking(*c.store, server);
    MakeReport log;
    EXPECT_EQ(Publish(disk, site, breaking, server.target, options, log).end,
              PublishEnd::SomeFailed);
    for (const auto& [name, data] : OnServer()) {
        if (name.find(".pagloom-") == std::string::npos) {
            EXPECT_EQ(data, ReadFile(site + "/" + name)) << name;
        }
    }
    ASSERT_TRUE(server.Restart()) << server.Error();
    const PublishOutcome rest = Run();
    EXPECT_EQ(rest.end, PublishEnd::Done);
    EXPECT_EQ(rest.counts.unchanged, 2);
    EXPECT_EQ(rest.counts.added, 5);
    EXPECT_EQ(OnServer(), test::FilesBelow(site));
    ExpectNoLeftovers();
}

TEST_P(ServerPublish, VerifyRepairsWhatWasChangedByHand) {
    ASSERT_EQ(Run().end, PublishEnd::Done);
    fs::remove(server.Folder() + "/unter/c.htm");
    WriteFile(server.Folder() + "/menu.htm", "<p>");
    options.verify = PublishOptions::Verify::Size;
    const PublishOutcome repaired = Run();
    EXPECT_EQ(repaired.end, PublishEnd::Done);
    EXPECT_EQ(OnServer(), test::FilesBelow(site));
}

TEST_P(ServerPublish, DeletesOnlyWhatThisTargetPublishedAndWithinTheLimit) {
    ASSERT_EQ(Run().end, PublishEnd::Done);
    WriteFile(server.Folder() + "/fremd.htm", "<p>fremd</p>");
    fs::remove(site + "/a b.htm");
    fs::remove(site + "/unter/c.htm");
    options.deleteRemoved = true;
    options.maxDelete = 1;
    const auto before = test::FilesBelow(server.Folder());
    EXPECT_EQ(Run().end, PublishEnd::NothingPublished);
    EXPECT_EQ(test::FilesBelow(server.Folder()), before);

    options.maxDelete = 100;
    const PublishOutcome removed = Run();
    EXPECT_EQ(removed.end, PublishEnd::Done);
    EXPECT_EQ(removed.counts.deleted, 2);
    auto expected = test::FilesBelow(site);
    expected["fremd.htm"] = "<p>fremd</p>";
    EXPECT_EQ(OnServer(), expected);
}

TEST_P(ServerPublish, ADryRunAndAForeignManifestLeaveTheServerAsItWas) {
    ASSERT_EQ(Run().end, PublishEnd::Done);
    WriteFile(site + "/a b.htm", "<p>neu</p>\r\n");
    const auto before = test::FilesBelow(server.Folder());
    options.dryRun = true;
    std::vector<std::string> log;
    EXPECT_EQ(Run(&log).end, PublishEnd::Done);
    EXPECT_EQ(test::FilesBelow(server.Folder()), before);
    EXPECT_NE(std::find(log.begin(), log.end(), "ge\xE4ndert: a b.htm"), log.end());

    options.dryRun = false;
    options.project = "anderes.plp";
    EXPECT_EQ(Run().end, PublishEnd::NothingPublished);
    EXPECT_EQ(test::FilesBelow(server.Folder()), before);
}

// Many files on four connections: a visitor looking at any moment never finds an empty or
// half-written page under a page's name.
TEST_P(ServerPublish, ManyFilesOnSeveralConnectionsAreNeverSeenHalfWritten) {
    for (int i = 0; i < 150; ++i)
        WriteFile(site + "/seiten/s" + std::to_string(i) + ".htm",
                  std::string(2000 + i, 'x') + std::to_string(i));
    options.connections = 4;
    std::atomic<bool> done{false};
    std::atomic<int> halfSeen{0};
    std::thread visitor([&] {
        while (!done)
            for (const auto& e : fs::recursive_directory_iterator(
                     server.Folder(), fs::directory_options::skip_permission_denied)) {
                std::error_code ec;
                const std::string name = e.path().filename().string();
                if (name.rfind(".pagloom-", 0) == 0 || !e.is_regular_file(ec)) continue;
                const auto size = fs::file_size(e.path(), ec);
                if (!ec && size < 8) ++halfSeen;
            }
    });
    const PublishOutcome o = Run();
    done = true;
    visitor.join();
    EXPECT_EQ(o.end, PublishEnd::Done);
    EXPECT_EQ(o.counts.added, 157);
    EXPECT_EQ(halfSeen, 0);
    EXPECT_EQ(OnServer(), test::FilesBelow(site));
    ExpectNoLeftovers();
}

std::string Name(const testing::TestParamInfo<std::string>& p) {
    return p.param == std::string("sftp")   ? "Sftp"
           : p.param == std::string("ftps") ? "Ftps"
                                            : "WebDav";
}

INSTANTIATE_TEST_SUITE_P(Protocols, ServerPublish,
                         testing::Values(std::string("sftp"), std::string("ftps"),
                                         std::string("webdav")),
                         Name);

TEST(SftpTrust, AKeyInKnownHostsIsTrusted) {
    Server server(std::string("sftp"));
    ASSERT_TRUE(server.Running()) << server.Error();
    TempDir local;
    WriteFile(local / "known_hosts", "# eigene\n" + server.ssh->KnownHostsLine() + "\n");
    PublishTarget known = server.target;
    known.hostKey.clear();
    TargetAccess access;
    access.knownHosts = local / "known_hosts";
    EXPECT_TRUE(ConnectTarget(disk, known, access).store);
}

}  // namespace
}  // namespace pagloom
