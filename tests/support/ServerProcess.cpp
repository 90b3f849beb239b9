// SPDX-License-Identifier: MIT
#include "ServerProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace pagloom::test {
namespace {

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

}  // namespace

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

std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[512];
        while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

ServerProcess::ServerProcess() {
    char tmpl[] = "/tmp/pagloom-server-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        error_ = "no scratch folder";
        return;
    }
    dir_ = tmpl;
    ::chmod(dir_.c_str(), 0755);  // servers that drop privileges must still get in
}

ServerProcess::~ServerProcess() {
    Stop();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
}

bool ServerProcess::Start(const std::vector<std::string>& argv, int port, const std::string& log) {
    argv_ = argv;
    port_ = port;
    log_ = log;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0);  // one group with the sessions it forks, stopped together
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        const std::string out = dir_ + "/server.out";
        std::freopen(out.c_str(), "w", stdout);
        std::freopen(out.c_str(), "a", stderr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    for (int i = 0; i < 200 && !Accepts(port); ++i) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            error_ = argv[0] + " ended: " + ReadText(dir_ + "/server.out") + ReadText(log);
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    if (Accepts(port)) return true;
    error_ = argv[0] + " does not answer: " + ReadText(dir_ + "/server.out") + ReadText(log);
    Stop();
    return false;
}

bool ServerProcess::Restart() {
    Stop();
    return Start(std::vector<std::string>(argv_), port_, log_);
}

// Every process below `root` (servers fork one per session, some in sessions of their own).
static std::vector<pid_t> Descendants(pid_t root) {
    std::vector<std::pair<pid_t, pid_t>> parents;  // pid, parent
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = ReadText(e.path().string() + "/stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(stat.substr(close + 2));
        char state;
        pid_t parent = 0;
        rest >> state >> parent;
        parents.emplace_back(std::stoi(name), parent);
    }
    std::vector<pid_t> found{root};
    for (size_t i = 0; i < found.size(); ++i)
        for (const auto& [pid, parent] : parents)
            if (parent == found[i]) found.push_back(pid);
    return found;
}

void ServerProcess::Stop() {
    if (pid_ <= 0) return;
    for (pid_t p : Descendants(pid_))
        if (p != pid_) ::kill(p, SIGKILL);
    ::kill(-pid_, SIGTERM);
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string MakeCertificate(const std::string& dir) {
    RunCommand("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -keyout " +
               dir + "/key.pem -out " + dir + "/cert.pem 2>&1");
    const std::string pin = RunCommand(
        "openssl x509 -in " + dir +
        "/cert.pem -pubkey -noout | openssl pkey -pubin -outform der | openssl dgst -sha256 "
        "-binary | openssl base64 -A");
    return pin.empty() ? "" : "sha256//" + pin;
}

}  // namespace pagloom::test
