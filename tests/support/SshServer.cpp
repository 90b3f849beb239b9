// SPDX-License-Identifier: MIT
#include "SshServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace pagloom::test {
namespace {

int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[512];
        while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

SshServer::SshServer() {
    char tmpl[] = "/tmp/pagloom-sshd-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        error_ = "no scratch folder";
        return;
    }
    dir_ = tmpl;
    ::chmod(dir_.c_str(), 0755);
    folder_ = dir_ + "/htdocs";
    std::filesystem::create_directories(folder_);
    if (const passwd* pw = ::getpwuid(::geteuid())) user_ = pw->pw_name;
    ::chown(folder_.c_str(), ::geteuid(), ::getegid());
    clientKey_ = dir_ + "/client_key";
    Run("ssh-keygen -q -t ed25519 -N '' -C host -f " + dir_ + "/host_key 2>&1");
    Run("ssh-keygen -q -t ed25519 -N '' -C test -f " + clientKey_ + " 2>&1");
    std::ofstream(dir_ + "/authorized_keys") << ReadAll(clientKey_ + ".pub");
    const std::string listed = Run("ssh-keygen -l -E sha256 -f " + dir_ + "/host_key.pub");
    const size_t at = listed.find("SHA256:");
    if (at == std::string::npos) {
        error_ = "ssh-keygen: " + listed;
        return;
    }
    fingerprint_ = listed.substr(at, listed.find(' ', at) - at);
    port_ = FreePort();
    std::string pub = ReadAll(dir_ + "/host_key.pub");
    pub = pub.substr(0, pub.rfind(' '));  // without the comment
    knownHosts_ = "[127.0.0.1]:" + std::to_string(port_) + " " + pub;
    std::ofstream(dir_ + "/sshd_config")
        << "Port " << port_ << "\nListenAddress 127.0.0.1\nHostKey " << dir_
        << "/host_key\nPidFile " << dir_ << "/sshd.pid\nAuthorizedKeysFile " << dir_
        << "/authorized_keys\nPermitRootLogin prohibit-password\nPasswordAuthentication no\n"
           "KbdInteractiveAuthentication no\nUsePAM no\nStrictModes no\n"
           "Subsystem sftp internal-sftp\n";
    std::filesystem::create_directories("/run/sshd");  // its privilege separation folder
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0);  // one group with the sessions it forks, stopped together
        const std::string config = dir_ + "/sshd_config", log = dir_ + "/sshd.log";
        ::execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-f", config.c_str(), "-E", log.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 100 && !Accepts(port_); ++i) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            error_ = "sshd ended: " + ReadAll(dir_ + "/sshd.log");
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!Accepts(port_)) error_ = "sshd does not answer: " + ReadAll(dir_ + "/sshd.log");
}

SshServer::~SshServer() {
    if (pid_ > 0) {
        ::kill(-pid_, SIGTERM);
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
}

}  // namespace pagloom::test
