// SPDX-License-Identifier: MIT
// A real OpenSSH server for the publishing tests: sshd with its own configuration, host key and
// internal-sftp on 127.0.0.1 at a free port, for the user the tests run as, who logs in with a
// key made for the test. Stopped (with every session it started) when the object goes.
#pragma once
#include <string>

#include "ServerProcess.h"

namespace pagloom::test {

class SshServer {
  public:
    SshServer();
    ~SshServer();
    SshServer(const SshServer&) = delete;
    SshServer& operator=(const SshServer&) = delete;

    bool Running() const { return process_.Running(); }
    // The server goes away (every connection with it) and comes back on the same port.
    void Stop() { process_.Stop(); }
    bool Restart() { return process_.Restart(); }
    int Port() const { return port_; }
    const std::string& User() const { return user_; }
    // The private key the test user logs in with (its ".pub" beside it).
    const std::string& ClientKey() const { return clientKey_; }
    // The host key's fingerprint as "SHA256:..." and its known_hosts line.
    const std::string& Fingerprint() const { return fingerprint_; }
    const std::string& KnownHostsLine() const { return knownHosts_; }
    // A folder on the server, empty, for the test to publish into.
    const std::string& Folder() const { return folder_; }
    // Why it did not start.
    const std::string& Error() const { return process_.Error(); }

  private:
    ServerProcess process_;
    std::string user_, clientKey_, fingerprint_, knownHosts_, folder_;
    int port_ = 0;
};

}  // namespace pagloom::test
