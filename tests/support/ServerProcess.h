// SPDX-License-Identifier: MIT
// What the test servers share: a scratch folder, a free port on 127.0.0.1, the server process
// started in a process group of its own and stopped by its PID (with everything it forked).
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace pagloom::test {

int FreePort();
// Runs a shell command and returns what it printed.
std::string RunCommand(const std::string& command);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

class ServerProcess {
  public:
    ServerProcess();  // makes the scratch folder (0755, /tmp/pagloom-server-...)
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts `argv` and waits until `port` answers; false with Error() set when it does not.
    // `log`: a file the server writes, shown when it fails.
    bool Start(const std::vector<std::string>& argv, int port, const std::string& log);
    void Stop();
    // Starts it again as before (after Stop), on the same port.
    bool Restart();

    bool Running() const { return pid_ > 0; }
    const std::string& Dir() const { return dir_; }
    const std::string& Error() const { return error_; }
    void Fail(const std::string& why) { error_ = why; }

  private:
    std::string dir_, error_, log_;
    std::vector<std::string> argv_;
    int port_ = 0;
    pid_t pid_ = -1;
};

// A self-signed certificate for 127.0.0.1 in `dir` (cert.pem, key.pem); its key's pin
// ("sha256//...") or "" when openssl failed.
std::string MakeCertificate(const std::string& dir);

}  // namespace pagloom::test
