// SPDX-License-Identifier: MIT
// Faults of the stores themselves, against the folder target and against real servers started on
// 127.0.0.1: a site file is sent from what the plan hashed and never through a link, a large
// one without being held in memory; a folder on the server is never replaced or moved for a
// page; a run broken between SFTP's two renames is mended by the next; a silent server ends the
// run with a German reason, as every libcurl failure is told in German.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ServerProcess.h"
#include "SshServer.h"
#include "TestSupport.h"
#include "TlsServers.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/CurlSupport.h"
#include "publish/Manifest.h"
#include "publish/PublishLock.h"
#include "publish/Publisher.h"
#include "publish/RemoteStore.h"
#include "publish/TargetConnection.h"

namespace fs = std::filesystem;

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

bool Has(const std::vector<std::string>& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

// Every name below `root` (files and folders) that publishing uses for its own, but the manifest.
std::vector<std::string> OwnNamesBelow(const std::string& root) {
    std::vector<std::string> own;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string name = e.path().filename().string();
        if (name.find(".pagloom-") != std::string::npos && name != kManifestName)
            own.push_back(fs::relative(e.path(), root).string());
    }
    return own;
}

// One server of a protocol as the target.
struct Server {
    std::unique_ptr<test::SshServer> ssh;
    std::unique_ptr<test::TlsServer> tls;
    PublishTarget target;
    std::string password;

    explicit Server(const std::string& protocol) {
        target.protocol = protocol;
        target.host = "127.0.0.1";
        if (protocol == "sftp") {
            ssh = std::make_unique<test::SshServer>();
            target.port = ssh->Port();
            target.user = ssh->User();
            target.remoteFolder = ssh->Folder();
            target.keyFile = ssh->ClientKey();
            target.hostKey = ssh->Fingerprint();
            return;
        }
        if (protocol == "ftps")
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
    TargetConnection Connect(const PublishTarget& t) const {
        TargetAccess access;
        access.projectFile = "/nirgends/projekt.plp";
        access.password = password;
        return ConnectTarget(disk, t, access);
    }
    TargetConnection Connect() const { return Connect(target); }
};

// A store that hands everything to another, with hooks before an upload and a rename.
class Watched : public RemoteStore {
  public:
    explicit Watched(RemoteStore& real) : real_(real) {}
    std::function<void(const std::string& name)> beforePut;
    std::function<void(const std::string& from, const std::string& to)> beforeReplace;

    Got Get(const std::string& n, std::string& o, std::string& e) override {
        return real_.Get(n, o, e);
    }
    bool Put(const std::string& n, UploadSource& s, std::string& e) override {
        if (beforePut) beforePut(n);
        return real_.Put(n, s, e);
    }
    bool Replace(const std::string& f, const std::string& t, std::string& e) override {
        if (beforeReplace) beforeReplace(f, t);
        return real_.Replace(f, t, e);
    }
    bool Remove(const std::string& n, std::string& e) override { return real_.Remove(n, e); }
    void RemoveLeftover(const std::string& temp) override { real_.RemoveLeftover(temp); }
    std::optional<std::uint64_t> Size(const std::string& n) override { return real_.Size(n); }
    bool MakeFolders(const std::string& f, std::string& e) override {
        return real_.MakeFolders(f, e);
    }

  private:
    RemoteStore& real_;
};

// A site of a few pages and a folder target, both on this computer.
struct FolderSite {
    TempDir dir;
    std::string site = dir / "site", server = dir / "server", journals = dir / "journale";
    PublishTarget target;
    PublishOptions options;

    FolderSite() {
        for (const char* page : {"index.htm", "seite.htm", "unter/c.htm"})
            WriteFile(site + "/" + page, std::string("<p>") + page + "</p>\r\n");
        fs::create_directories(server);
        fs::create_directories(journals);
        target.protocol = "folder";
        target.remoteFolder = server;
        options.project = "projekt.plp";
        options.journalDir = journals;
    }
};

// The disk, with a hook run at the first look at a file's state: after the walk, as hashing
// begins.
class HookedFs : public FileSystem {
  public:
    std::function<void(const std::string& path)> onIdentity;
    std::optional<Identity> IdentityOf(const std::string& path) override {
        if (onIdentity) onIdentity(path);
        return FileSystem::IdentityOf(path);
    }
};

// A file or folder of the site replaced by a link to a secret (a file only its owner may read)
// at some moment after the walk: the secret never reaches the server, and the run says which file
// failed. A file written to while it goes is not published either.
TEST(StoreSources, WhatChangesAfterTheWalkIsNotPublished) {
    enum class When { Hashing, BeforeRun, WhileSending };
    struct Case {
        const char* what;
        When when;
        std::string swapped;  // below the site; replaced by a link to the same name in the secret
        std::string failed;   // the file the run fails
        std::string reason;
    } cases[] = {
        {"a page, while it is hashed", When::Hashing, "seite.htm", "seite.htm",
         "kann nicht gelesen werden"},
        {"a folder, while its page is hashed", When::Hashing, "unter", "unter/c.htm",
         "kann nicht gelesen werden"},
        {"a page, between plan and run", When::BeforeRun, "seite.htm", "seite.htm", ""},
        {"a page written to while it goes", When::WhileSending, "", "seite.htm",
         "hat sich w\xE4hrend des Ver\xF6"
         "ffentlichens ge\xE4ndert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FolderSite s;
        const std::string secret = s.dir / "geheim";
        WriteFile(secret + "/seite.htm", "GEHEIM");
        WriteFile(secret + "/c.htm", "GEHEIM");
        fs::permissions(secret + "/seite.htm", fs::perms::owner_read | fs::perms::owner_write);
        auto swap = [&] {
            fs::remove_all(s.site + "/" + c.swapped);
            fs::create_symlink(secret + "/" + fs::path(c.swapped).filename().string(),
                               s.site + "/" + c.swapped);
        };
        HookedFs hooked;
        if (c.when == When::Hashing)
            hooked.onIdentity = [&](const std::string& path) {
                if (path == s.site + "/" + c.failed && !fs::is_symlink(s.site + "/" + c.swapped))
                    swap();
            };
        FolderStore folder(disk, s.server);
        Watched remote(folder);
        if (c.when == When::WhileSending)
            remote.beforePut = [&](const std::string& name) {
                if (name.find("seite.htm") != std::string::npos)
                    WriteFile(s.site + "/seite.htm", "<p>anders!!!</p>\r\n");  // same size
            };
        MakeReport log;
        PublishPlan plan = PlanPublish(hooked, s.site, remote, s.target, s.options, log);
        if (c.when == When::BeforeRun) swap();
        const PublishOutcome o = RunPublish(hooked, plan, remote, log);

        EXPECT_EQ(o.end, PublishEnd::SomeFailed);
        bool told = false;
        for (const std::string& line : log.Lines())
            told |= line.rfind("Fehler: " + c.failed + " (" + c.reason, 0) == 0;
        EXPECT_TRUE(told) << testing::PrintToString(log.Lines());
        for (const auto& [name, data] : test::FilesBelow(s.server)) {
            EXPECT_EQ(data.find("GEHEIM"), std::string::npos) << name;
            EXPECT_EQ(data.find("anders"), std::string::npos) << name;
        }
        EXPECT_FALSE(fs::exists(s.server + "/" + c.failed));
        EXPECT_TRUE(fs::exists(s.server + "/index.htm"));
        EXPECT_EQ(OwnNamesBelow(s.server), std::vector<std::string>{});
    }
}

// The peak of the process's resident memory, in kB.
long PeakKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// A file of 64 MB goes without ever being held whole: the process's peak memory grows by far
// less than the file (planning and sending included).
TEST(StoreSources, ALargeFileGoesInPiecesOverSftp) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer keeps freed buffers aside for a while: peak memory says nothing there.
    GTEST_SKIP() << "peak memory is not measured under AddressSanitizer";
#endif
    Server server("sftp");
    ASSERT_TRUE(server.Running()) << server.Error();
    TempDir local;
    const std::string site = local / "site";
    fs::create_directories(site);
    fs::create_directories(local / "journale");
    constexpr size_t kMiB = 1 << 20, kFile = 64 * kMiB;
    {
        std::ofstream film(site + "/film.mp4", std::ios::binary);
        std::string piece(kMiB, '\0');
        for (size_t i = 0; i < kFile / kMiB; ++i) {
            for (size_t k = 0; k < kMiB; k += 4096) piece[k] = static_cast<char>(i + k / 4096);
            film.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        }
    }
    WriteFile(site + "/index.htm", "<p>Film</p>");
    PublishOptions options;
    options.project = "projekt.plp";
    options.journalDir = local / "journale";
    options.connections = 1;
    TargetConnection c = server.Connect();
    ASSERT_TRUE(c.store) << c.error;

    // From here on the peak is the memory now in use (when the kernel allows it to be reset).
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = PeakKb();
    MakeReport log;
    const PublishOutcome o = Publish(disk, site, *c.store, server.target, options, log);
    const long growth = PeakKb() - before;

    EXPECT_EQ(o.end, PublishEnd::Done) << testing::PrintToString(log.Lines());
    EXPECT_LT(growth, static_cast<long>(kFile / 1024 / 4)) << "kB more at the peak";
    std::ifstream sent(server.Folder() + "/film.mp4", std::ios::binary),
        original(site + "/film.mp4", std::ios::binary);
    EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(sent), std::istreambuf_iterator<char>(),
                           std::istreambuf_iterator<char>(original),
                           std::istreambuf_iterator<char>()));
}

// A site of three pages and a server to publish it to.
class ServerSite : public testing::Test {
  protected:
    explicit ServerSite(const std::string& protocol) : server(protocol) {}
    Server server;
    TempDir local;
    std::string site = local / "site", journals = local / "journale";
    PublishOptions options;

    void SetUp() override {
        if (server.Skipped()) GTEST_SKIP() << server.Error();
        ASSERT_TRUE(server.Running()) << server.Error();
        fs::create_directories(journals);
        for (const char* page : {"index.htm", "seite.htm", "andere.htm"})
            WriteFile(site + "/" + page, std::string("<p>") + page + "</p>\r\n");
        options.project = "projekt.plp";
        options.journalDir = journals;
        options.connections = 1;
    }
    PublishOutcome Run(std::vector<std::string>* lines = nullptr,
                       const std::function<void(Watched&)>& watch = {}) {
        TargetConnection c = server.Connect();
        EXPECT_TRUE(c.store) << c.error;
        if (!c.store) return {};
        Watched remote(*c.store);
        if (watch) watch(remote);
        MakeReport log;
        const PublishOutcome o = Publish(disk, site, remote, server.target, options, log);
        if (lines) *lines = log.Lines();
        return o;
    }
};

class ServerStoreFaults : public ServerSite, public testing::WithParamInterface<std::string> {
  protected:
    ServerStoreFaults() : ServerSite(GetParam()) {}
};

class SftpStoreFaults : public ServerSite {
  protected:
    SftpStoreFaults() : ServerSite("sftp") {}
};

// A folder on the server has a page's name: that page fails with the reason, the folder stays as
// it was (nothing moved or removed), and the rest is published.
TEST_P(ServerStoreFaults, AFolderNamedLikeAPageStaysAndThePageFails) {
    WriteFile(server.Folder() + "/seite.htm/drin.txt", "drin");
    std::vector<std::string> log;
    const PublishOutcome o = Run(&log);
    EXPECT_EQ(o.end, PublishEnd::SomeFailed);
    EXPECT_EQ(o.counts.failed, 1);
    EXPECT_TRUE(Has(log, "Fehler: seite.htm (auf dem Server ist ein Ordner dieses Namens)"))
        << testing::PrintToString(log);
    EXPECT_EQ(ReadFile(server.Folder() + "/seite.htm/drin.txt"), "drin");
    EXPECT_EQ(ReadFile(server.Folder() + "/andere.htm"), ReadFile(site + "/andere.htm"));
    EXPECT_EQ(OwnNamesBelow(server.Folder()), std::vector<std::string>{});
}

// A server that takes the connection and never answers, or a port where nothing listens, or a
// key file that is not there: the connection fails with a German reason.
TEST_P(ServerStoreFaults, AFailedConnectionIsToldInGerman) {
    struct Case {
        const char* what;
        std::function<void(PublishTarget&)> change;
        std::string reason;
    };
    std::vector<Case> cases = {
        {"nothing listens", [](PublishTarget& t) { t.port = test::FreePort(); },
         "Verbindung abgelehnt (Server oder Port pr\xFC"
         "fen)"},
    };
    if (GetParam() == "sftp")
        cases.push_back(
            {"the key file is missing", [&](PublishTarget& t) { t.keyFile = local / "fehlt"; },
             "die Schl\xFCsseldatei " + (local / "fehlt") + " kann nicht gelesen werden"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PublishTarget t = server.target;
        c.change(t);
        const TargetConnection connection = server.Connect(t);
        EXPECT_FALSE(connection.store);
        EXPECT_NE(connection.error.find(c.reason), std::string::npos) << connection.error;
    }
}

// A run killed between SFTP's two renames left the old file aside and none under its name. The
// next run puts it back before anything else, and leaves nothing of its own behind.
TEST_F(SftpStoreFaults, ARunKilledBetweenTwoRenamesIsMendedByTheNext) {
    struct Killed {};
    for (const std::string& broken : {std::string("seite.htm"), std::string(kManifestName)}) {
        SCOPED_TRACE(broken);
        fs::remove_all(server.Folder());
        fs::create_directories(server.Folder());
        fs::remove_all(journals);
        fs::create_directories(journals);
        WriteFile(site + "/seite.htm", "<p>alt</p>");
        ASSERT_EQ(Run().end, PublishEnd::Done);
        WriteFile(site + "/seite.htm", "<p>neu</p>");
        const std::string old = ReadFile(server.Folder() + "/" + broken);
        EXPECT_THROW(Run(nullptr,
                         [&](Watched& w) {
                             w.beforeReplace = [&](const std::string&, const std::string& to) {
                                 if (to != broken) return;
                                 fs::rename(server.Folder() + "/" + to,
                                            server.Folder() + "/.pagloom-aside-" + to);
                                 throw Killed{};
                             };
                         }),
                     Killed);
        ASSERT_FALSE(fs::exists(server.Folder() + "/" + broken));

        std::string atFirstPut = "(nichts gesendet)";
        std::vector<std::string> log;
        const PublishOutcome next = Run(&log, [&](Watched& w) {
            w.beforePut = [&](const std::string& name) {
                if (name == kLockName) return;  // the run's lock goes first
                if (atFirstPut == "(nichts gesendet)")
                    atFirstPut = test::Exists(server.Folder() + "/" + broken)
                                     ? ReadFile(server.Folder() + "/" + broken)
                                     : "(fehlt)";
            };
        });
        EXPECT_EQ(next.end, PublishEnd::Done) << testing::PrintToString(log);
        // Only what the broken run had not confirmed goes again.
        EXPECT_EQ(next.counts.added, 0);
        EXPECT_EQ(next.counts.changed, broken == "seite.htm" ? 1 : 0);
        // The old page is back before the new one goes (the manifest is not a page: its aside
        // is read instead, and cleared by its next write).
        if (broken == "seite.htm") {
            EXPECT_EQ(atFirstPut, old);
        }
        EXPECT_EQ(ReadFile(server.Folder() + "/seite.htm"), "<p>neu</p>");
        EXPECT_TRUE(fs::exists(server.Folder() + "/" + std::string(kManifestName)));
        EXPECT_EQ(OwnNamesBelow(server.Folder()), std::vector<std::string>{});
    }
}

std::string Name(const testing::TestParamInfo<std::string>& p) {
    return p.param == "sftp" ? "Sftp" : p.param == "ftps" ? "Ftps" : "WebDav";
}

INSTANTIATE_TEST_SUITE_P(Protocols, ServerStoreFaults,
                         testing::Values(std::string("sftp"), std::string("ftps"),
                                         std::string("webdav")),
                         Name);

// Takes connections on 127.0.0.1 and never says a word.
class SilentServer {
  public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(fd_, 16) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
            return;
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] {
            while (!stop_) {
                pollfd p{fd_, POLLIN, 0};
                if (::poll(&p, 1, 50) > 0)
                    if (const int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC); c >= 0)
                        held_.push_back(c);
            }
        });
    }
    ~SilentServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        for (int c : held_) ::close(c);
        if (fd_ >= 0) ::close(fd_);
    }
    int Port() const { return port_; }

  private:
    int fd_ = -1, port_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<int> held_;
    std::thread thread_;
};

// A server that never greets holds no run: each protocol gives up with the German reason (all
// at once here, so the test waits for one time limit only).
TEST(StoreTimeLimits, AServerThatNeverAnswersEndsTheConnection) {
    SilentServer silent;
    ASSERT_GT(silent.Port(), 0);
    TempDir local;
    std::vector<std::future<std::string>> errors;
    for (const char* protocol : {"sftp", "ftps", "webdav"})
        errors.push_back(std::async(std::launch::async, [&, protocol] {
            PublishTarget t;
            t.protocol = protocol;
            t.host = "127.0.0.1";
            t.port = silent.Port();
            t.user = "anna";
            t.remoteFolder = "/htdocs";
            t.hostKey = t.protocol == "sftp"
                            ? "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
                            : "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";
            TargetAccess access;
            access.password = "geheim";
            const TargetConnection c = ConnectTarget(disk, t, access);
            return c.store ? std::string("verbunden") : c.error;
        }));
    for (auto& e : errors) {
        const std::string error = e.get();
        EXPECT_NE(error.find("Der Server antwortet nicht (Zeit\xFC"
                             "berschreitung)"),
                  std::string::npos)
            << error;
    }
}

// Every libcurl result is told in German first; libcurl's own text, where it stands at all, only
// after it in parentheses.
TEST(StoreReasons, EveryLibcurlResultIsToldInGerman) {
    using curlsupport::Reason;
    const struct {
        CURLcode code;
        std::string reason;
    } cases[] = {
        {CURLE_COULDNT_CONNECT,
         "Verbindung abgelehnt (Server oder Port pr\xFC"
         "fen)"},
        {CURLE_COULDNT_RESOLVE_HOST,
         "Server nicht gefunden (Namen pr\xFC"
         "fen)"},
        {CURLE_OPERATION_TIMEDOUT,
         "Der Server antwortet nicht (Zeit\xFC"
         "berschreitung)"},
        {CURLE_USE_SSL_FAILED, "Der Server bietet kein TLS an"},
        {CURLE_LOGIN_DENIED, "Anmeldung abgelehnt"},
        {CURLE_REMOTE_DISK_FULL, "kein Platz mehr auf dem Server"},
        {CURLE_UPLOAD_FAILED, "der Server hat die Datei nicht angenommen"},
        {CURLE_SEND_ERROR, "Verbindung unterbrochen"},
        {CURLE_RECV_ERROR, "Verbindung unterbrochen"},
        {CURLE_PEER_FAILED_VERIFICATION, "das Zertifikat des Servers ist nicht beglaubigt"},
        {CURLE_SSL_CONNECT_ERROR, "keine verschl\xFCsselte Verbindung m\xF6glich (TLS-Fehler)"},
        {CURLE_WEIRD_SERVER_REPLY,
         "unerwartete Antwort des Servers (Port oder Protokoll pr\xFC"
         "fen)"},
        {CURLE_SSH,
         std::string("Fehler in der SSH-Verbindung (") + curl_easy_strerror(CURLE_SSH) + ")"},
        {CURLE_TOO_MANY_REDIRECTS, std::string("\xDC"
                                               "bertragung fehlgeschlagen (") +
                                       curl_easy_strerror(CURLE_TOO_MANY_REDIRECTS) + ")"},
    };
    for (const auto& c : cases) EXPECT_EQ(Reason(c.code), c.reason) << c.code;
    for (int code = CURLE_OK + 1; code < CURL_LAST; ++code) {
        const std::string reason = Reason(static_cast<CURLcode>(code));
        const std::string english = curl_easy_strerror(static_cast<CURLcode>(code));
        EXPECT_NE(reason.rfind(english, 0), 0u) << code << ": " << reason;
    }
}

}  // namespace
}  // namespace pagloom
