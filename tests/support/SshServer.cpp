// SPDX-License-Identifier: MIT
#include "SshServer.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>

namespace pagloom::test {

SshServer::SshServer() {
    const std::string& dir = process_.Dir();
    if (dir.empty()) return;
    folder_ = dir + "/htdocs";
    std::filesystem::create_directories(folder_);
    if (const passwd* pw = ::getpwuid(::geteuid())) user_ = pw->pw_name;
    clientKey_ = dir + "/client_key";
    RunCommand("ssh-keygen -q -t ed25519 -N '' -C host -f " + dir + "/host_key 2>&1");
    RunCommand("ssh-keygen -q -t ed25519 -N '' -C test -f " + clientKey_ + " 2>&1");
    WriteText(dir + "/authorized_keys", ReadText(clientKey_ + ".pub"));
    const std::string listed = RunCommand("ssh-keygen -l -E sha256 -f " + dir + "/host_key.pub");
    const size_t at = listed.find("SHA256:");
    if (at == std::string::npos) {
        process_.Fail("ssh-keygen: " + listed);
        return;
    }
    fingerprint_ = listed.substr(at, listed.find(' ', at) - at);
    port_ = FreePort();
    std::string pub = ReadText(dir + "/host_key.pub");
    pub = pub.substr(0, pub.rfind(' '));  // without the comment
    knownHosts_ = "[127.0.0.1]:" + std::to_string(port_) + " " + pub;
    WriteText(dir + "/sshd_config",
              "Port " + std::to_string(port_) + "\nListenAddress 127.0.0.1\nHostKey " + dir +
                  "/host_key\nPidFile " + dir + "/sshd.pid\nAuthorizedKeysFile " + dir +
                  "/authorized_keys\nPermitRootLogin prohibit-password\n"
                  "PasswordAuthentication no\nKbdInteractiveAuthentication no\nUsePAM no\n"
                  "StrictModes no\nSubsystem sftp internal-sftp\n");
    std::filesystem::create_directories("/run/sshd");  // its privilege separation folder
    process_.Start({"/usr/sbin/sshd", "-D", "-f", dir + "/sshd_config", "-E", dir + "/sshd.log"},
                   port_, dir + "/sshd.log");
}

SshServer::~SshServer() = default;

}  // namespace pagloom::test
