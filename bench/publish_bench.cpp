// SPDX-License-Identifier: MIT
// Publishing a site of 10,000 pages to an OpenSSH server and to vsftpd over FTPS on 127.0.0.1
// (started here, as in the tests), first in full and then with one page changed, beside `rclone
// sync` and `lftp mirror -R` (when installed) with the same number of connections, each into a
// folder of its own. Targets: the first publish no slower than the faster peer; one changed page at
// most 0.2 times the faster peer's time (the peers list every remote file; pagloom reads one
// manifest).
//
//   bench-publish-bench [pages=10000] [connections=4]
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "SshServer.h"
#include "TlsServers.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/Publisher.h"
#include "publish/TargetConnection.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

double Seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Runs a shell command quietly; when it fails, the end of what it said goes to stderr.
bool Sh(const std::string& command) {
    const std::string out = "/tmp/pagloom-publish-bench.out";
    const int rc = std::system((command + " >" + out + " 2>&1").c_str());
    const bool ok = rc != -1 && WIFEXITED(rc) && WEXITSTATUS(rc) == 0;
    if (!ok && command.rfind("command -v", 0) != 0)
        std::system(("tail -n 3 " + out + " >&2").c_str());
    return ok;
}

bool Have(const char* tool) { return Sh(std::string("command -v ") + tool); }

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int connections = argc > 2 ? std::atoi(argv[2]) : 4;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = fs::path(tmp ? tmp : "/tmp") / "pagloom-publish-bench";
    fs::remove_all(root);
    const fs::path site = root / "site";
    fs::create_directories(site / "seiten");
    // Pages of the size the table benchmark builds (a template filled from a row).
    std::string body(1800, 'x');
    for (int i = 0; i < pages; ++i)
        std::ofstream(site / "seiten" / ("seite" + std::to_string(i) + ".htm"), std::ios::binary)
            << "<html><head><title>Seite " << i << "</title></head><body><p>" << body
            << "</p></body></html>\r\n";
    for (const char* entry : {"index.htm", "menframe.htm", "index.js", "index.css"})
        std::ofstream(site / entry) << entry << "\r\n";

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("%d pages, %d connections\n", pages, connections);
    const fs::path changed = site / "seiten" / "seite7.htm";
    int edition = 0;
    auto change = [&] {
        std::ofstream(changed, std::ios::binary)
            << "<html><body>Stand " << ++edition << "</body></html>\r\n";
    };
    DiskFileSystem disk;
    // One protocol: pagloom, then each peer, each into a folder of its own.
    auto compare = [&](const char* protocol, const PublishTarget& target,
                       const std::string& password, const std::string& onDisk,
                       const std::vector<std::pair<std::string, std::string>>& peers) {
        // Folders the server's own user may write into (vsftpd writes as "daemon").
        auto makeFolder = [&](const std::string& name) {
            fs::create_directories(onDisk + "/" + name);
            Sh("chown --reference=" + onDisk + " " + onDisk + "/" + name);
        };
        makeFolder("pagloom");
        PublishTarget ours = target;
        ours.remoteFolder += "/pagloom";
        PublishOptions options;
        options.project = "bench.plp";
        options.journalDir = (root / "journale").string();
        options.connections = connections;
        options.lastFiles = {"index.js", "menframe.htm", "index.htm"};
        auto publish = [&] {
            TargetAccess access;
            access.password = password;
            TargetConnection c = ConnectTarget(disk, ours, access);
            if (!c.store) {
                std::fprintf(stderr, "%s\n", c.error.c_str());
                return;
            }
            MakeReport log;
            log.SetKeepLines(false);
            const PublishOutcome o =
                Publish(disk, site.string(), *c.store, ours, options, log, c.more);
            if (o.end != PublishEnd::Done)
                std::fprintf(stderr, "pagloom: not everything published\n");
        };
        const double ourFirst = Seconds(publish);
        change();
        const double ourOne = Seconds(publish);
        std::printf("%-6s %-10s first publish %8.2f s   one changed page %8.3f s\n", protocol,
                    "pagloom", ourFirst, ourOne);
        double peerFirst = 1e9, peerOne = 1e9;
        for (const auto& [peer, command] : peers) {
            if (!Have(peer.c_str())) continue;
            makeFolder(peer);
            bool ok = true;
            const double first = Seconds([&] { ok = Sh(command); });
            change();
            const double one = Seconds([&] { ok = Sh(command) && ok; });
            size_t arrived = 0;
            for (const auto& e : fs::recursive_directory_iterator(onDisk + "/" + peer))
                arrived += e.is_regular_file();
            std::printf(
                "%-6s %-10s first publish %8.2f s   one changed page %8.3f s   %zu files%s\n",
                protocol, peer.c_str(), first, one, arrived, ok ? "" : " (FAILED)");
            if (!ok || arrived < static_cast<size_t>(pages)) continue;  // not a comparison
            peerFirst = std::min(peerFirst, first);
            peerOne = std::min(peerOne, one);
        }
        if (peerFirst < 1e9)
            std::printf(
                "%-6s first publish %.2f x the faster peer (target <= 1), one changed "
                "page %.3f x (target <= 0.2)\n",
                protocol, ourFirst / peerFirst, ourOne / peerOne);
    };
    const std::string n = std::to_string(connections);

    {
        test::SshServer server;
        if (!server.Running()) {
            std::fprintf(stderr, "sshd: %s\n", server.Error().c_str());
            return 2;
        }
        PublishTarget target;
        target.protocol = std::string("sftp");
        target.host = "127.0.0.1";
        target.port = server.Port();
        target.user = server.User();
        target.keyFile = server.ClientKey();
        target.hostKey = server.Fingerprint();
        target.remoteFolder = server.Folder();
        const std::string remote = server.Folder(), key = server.ClientKey(),
                          port = std::to_string(server.Port());
        compare("sftp", target, "", remote,
                {{"rclone", "rclone sync " + site.string() + " :sftp:" + remote +
                                "/rclone --sftp-host 127.0.0.1 --sftp-port " + port +
                                " --sftp-user " + server.User() + " --sftp-key-file " + key +
                                " --sftp-disable-hashcheck --transfers " + n + " --checkers " + n},
                 {"lftp", "lftp -c \"set sftp:connect-program 'ssh -a -x -i " + key +
                              " -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null'; "
                              "open sftp://" +
                              server.User() + ":x@127.0.0.1:" + port + "; mirror -R --parallel=" +
                              n + " " + site.string() + " " + remote + "/lftp\""}});
    }
    {
        test::FtpsServer server;
        if (!server.Running()) {
            std::fprintf(stderr, "vsftpd: %s\n", server.Error().c_str());
        } else {
            PublishTarget target;
            target.protocol = std::string("ftps");
            target.host = "127.0.0.1";
            target.port = server.Port();
            target.user = server.User();
            target.hostKey = server.Pin();
            target.remoteFolder = server.RemoteFolder();
            const std::string port = std::to_string(server.Port()), user = server.User(),
                              pw = server.Password();
            // The peers are told to skip the certificate check, which pagloom never does.
            compare(
                "ftps", target, pw, server.Folder(),
                {{"rclone",
                  "rclone sync " + site.string() + " :ftp:" + server.RemoteFolder() +
                      "/rclone --ftp-host 127.0.0.1 --ftp-port " + port + " --ftp-user " + user +
                      " --ftp-pass $(rclone obscure " + pw +
                      ") --ftp-explicit-tls --ftp-disable-tls13 --ftp-no-check-certificate "
                      "--ftp-concurrency " +
                      std::to_string(2 * connections) + " --transfers " + n + " --checkers " + n},
                 {"lftp",
                  "lftp -c \"set ftp:ssl-force true; set ftp:ssl-protect-data true; "
                  "set ssl:verify-certificate no; open -u " +
                      user + "," + pw + " -p " + port + " 127.0.0.1; mirror -R --parallel=" + n +
                      " " + site.string() + " " + server.RemoteFolder() + "/lftp\""}});
        }
    }
    fs::remove_all(root);
    return 0;
}
