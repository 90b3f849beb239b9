// SPDX-License-Identifier: MIT
// Starts the publishing tests' servers on 127.0.0.1 (sshd, vsftpd with TLS, lighttpd with WebDAV)
// and keeps them up until Enter is pressed or the process is ended, so the publishing dialog can
// be tried by hand against them. Prints how to reach each. Not a test.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "SshServer.h"
#include "TlsServers.h"

namespace {
volatile std::sig_atomic_t stop = 0;
void Stop(int) { stop = 1; }
}  // namespace

int main() {
    using namespace pagloom::test;
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    // Line by line: the servers' processes are forked from this one and must not inherit and
    // print again what is still buffered.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    SshServer ssh;
    if (ssh.Running())
        std::printf(
            "SFTP:   127.0.0.1 Port %d, Benutzer %s, Schlüsseldatei %s, Ordner %s\n"
            "        Fingerabdruck %s\n",
            ssh.Port(), ssh.User().c_str(), ssh.ClientKey().c_str(), ssh.Folder().c_str(),
            ssh.Fingerprint().c_str());
    else
        std::printf("SFTP:   startet nicht: %s\n", ssh.Error().c_str());
    std::unique_ptr<FtpsServer> ftps;
    if (::geteuid() == 0) ftps = std::make_unique<FtpsServer>();
    DavServer dav;
    for (const auto& [name, server] :
         {std::pair<const char*, TlsServer*>{"FTPS:  ", ftps.get()}, {"WebDAV:", &dav}}) {
        if (!server) {
            std::printf("%s nur als root\n", name);
        } else if (server->Running()) {
            std::printf(
                "%s 127.0.0.1 Port %d, Benutzer %s, Passwort %s, Ordner %s (%s)\n"
                "        Zertifikat %s\n",
                name, server->Port(), server->User().c_str(), server->Password().c_str(),
                server->RemoteFolder().c_str(), server->Folder().c_str(), server->Pin().c_str());
        } else {
            std::printf("%s startet nicht: %s\n", name, server->Error().c_str());
        }
    }
    std::printf("Ende mit Eingabe oder Strg+C.\n");
    std::fflush(stdout);
    while (!stop) {
        fd_set in;
        FD_ZERO(&in);
        FD_SET(0, &in);
        timeval wait{0, 200000};
        if (::select(1, &in, nullptr, nullptr, &wait) > 0) {
            char c;
            if (::read(0, &c, 1) <= 0 || c == '\n') break;
        }
    }
    return 0;
}
