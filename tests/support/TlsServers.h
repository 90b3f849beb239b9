// SPDX-License-Identifier: MIT
// Real TLS servers for the publishing tests, each on 127.0.0.1 at a free port with a
// self-signed certificate made for it: vsftpd for FTPS (explicit TLS, a virtual user checked
// against a password file of its own) and lighttpd with mod_webdav over https (basic login).
// Each is stopped by its PID when the object goes.
#pragma once
#include <string>

#include "ServerProcess.h"

namespace pagloom::test {

class TlsServer {
  public:
    virtual ~TlsServer() = default;
    bool Running() const { return process_.Running(); }
    // The server goes away (every connection with it) and comes back on the same port.
    void Stop() { process_.Stop(); }
    bool Restart() { return process_.Restart(); }
    int Port() const { return port_; }
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    // The pin of the certificate's key ("sha256//...").
    const std::string& Pin() const { return pin_; }
    // The folder the tests publish into, on disk, and as the target names it.
    const std::string& Folder() const { return folder_; }
    const std::string& RemoteFolder() const { return remoteFolder_; }
    // Why it did not start; Skipped(): it cannot start here (and the test is skipped).
    const std::string& Error() const { return process_.Error(); }
    bool Skipped() const { return skipped_; }

  protected:
    ServerProcess process_;
    std::string user_ = "pagloom", password_ = "geheim-4711", pin_, folder_,
                remoteFolder_ = "/htdocs";
    int port_ = 0;
    bool skipped_ = false;
};

// vsftpd needs root to start (it checks logins through PAM and drops to the user "daemon").
class FtpsServer final : public TlsServer {
  public:
    FtpsServer();
    ~FtpsServer() override;

  private:
    std::string pamService_;
};

class DavServer final : public TlsServer {
  public:
    DavServer();
};

}  // namespace pagloom::test
