// SPDX-License-Identifier: MIT
// Publishing a site of 10,000 pages to an OpenSSH server on 127.0.0.1 (started here, as in the
// tests), first in full and then with one page changed, beside `rclone sync` and `lftp mirror -R`
// (when installed) with the same number of connections, each into a folder of its own.
// Targets: the first publish no slower than the faster peer; one changed page at most 0.2 times
// the faster peer's time (the peers list every remote file; pagloom reads one manifest).
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

#include "SshServer.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/Publisher.h"
#include "publish/SftpStore.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

double Seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

bool Sh(const std::string& command) {
    const int rc = std::system((command + " >/dev/null 2>&1").c_str());
    return rc != -1 && WIFEXITED(rc) && WEXITSTATUS(rc) == 0;
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

    test::SshServer server;
    if (!server.Running()) {
        std::fprintf(stderr, "sshd: %s\n", server.Error().c_str());
        return 2;
    }
    const std::string remote = server.Folder();
    DiskFileSystem disk;
    PublishTarget target;
    target.protocol = PublishProtocol::Sftp;
    target.host = "127.0.0.1";
    target.port = server.Port();
    target.user = server.User();
    target.keyFile = server.ClientKey();
    target.hostKey = server.Fingerprint();
    target.remoteFolder = remote + "/pagloom";
    fs::create_directories(target.remoteFolder);
    PublishOptions options;
    options.project = "bench.plp";
    options.journalDir = (root / "journale").string();
    options.connections = connections;
    options.lastFiles = {"index.js", "menframe.htm", "index.htm"};
    auto publish = [&] {
        SftpStore store(target, "", "");
        std::string error;
        if (!store.Connect(error)) std::fprintf(stderr, "%s\n", error.c_str());
        MakeReport log;
        log.SetKeepLines(false);
        const PublishOutcome o =
            Publish(disk, site.string(), store, target, options, log,
                    [&]() -> std::unique_ptr<RemoteStore> {
                        auto more = std::make_unique<SftpStore>(target, "", "");
                        std::string ignored;
                        return more->Connect(ignored) ? std::move(more) : nullptr;
                    });
        if (o.end != PublishEnd::Done) std::fprintf(stderr, "pagloom: not everything published\n");
    };
    const fs::path changed = site / "seiten" / "seite7.htm";
    auto change = [&](int n) {
        std::ofstream(changed, std::ios::binary)
            << "<html><body>Stand " << n << "</body></html>\r\n";
    };

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("%d pages, %d connections, sshd on 127.0.0.1:%d\n", pages, connections,
                server.Port());
    const double ourFirst = Seconds(publish);
    change(1);
    const double ourOne = Seconds(publish);
    std::printf("%-10s first publish %8.2f s   one changed page %8.3f s\n", "pagloom", ourFirst,
                ourOne);

    double peerFirst = 1e9, peerOne = 1e9;
    const std::string key = server.ClientKey(), port = std::to_string(server.Port());
    if (Have("rclone")) {
        fs::create_directories(remote + "/rclone");
        const std::string cmd =
            "rclone sync " + site.string() + " :sftp:" + remote +
            "/rclone --sftp-host 127.0.0.1 --sftp-port " + port + " --sftp-user " + server.User() +
            " --sftp-key-file " + key + " --sftp-disable-hashcheck --transfers " +
            std::to_string(connections) + " --checkers " + std::to_string(connections);
        const double first = Seconds([&] { Sh(cmd); });
        change(2);
        const double one = Seconds([&] { Sh(cmd); });
        std::printf("%-10s first publish %8.2f s   one changed page %8.3f s\n", "rclone", first,
                    one);
        peerFirst = std::min(peerFirst, first);
        peerOne = std::min(peerOne, one);
    }
    if (Have("lftp")) {
        fs::create_directories(remote + "/lftp");
        const std::string cmd =
            "lftp -c \"set sftp:connect-program 'ssh -a -x -i " + key +
            " -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null'; open sftp://" +
            server.User() + ":x@127.0.0.1:" + port +
            "; mirror -R --parallel=" + std::to_string(connections) + " " + site.string() + " " +
            remote + "/lftp\"";
        const double first = Seconds([&] { Sh(cmd); });
        change(3);
        const double one = Seconds([&] { Sh(cmd); });
        std::printf("%-10s first publish %8.2f s   one changed page %8.3f s\n", "lftp", first, one);
        peerFirst = std::min(peerFirst, first);
        peerOne = std::min(peerOne, one);
    }
    if (peerFirst < 1e9) {
        std::printf("first publish: %.2f x the faster peer (target <= 1)\n", ourFirst / peerFirst);
        std::printf("one changed page: %.3f x the faster peer (target <= 0.2)\n", ourOne / peerOne);
    }
    fs::remove_all(root);
    return 0;
}
