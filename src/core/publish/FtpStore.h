// SPDX-License-Identifier: MIT
// An FTP server as the target, through libcurl: FTPS with explicit TLS (AUTH TLS before the
// login, data connections encrypted as well), or plain FTP only when the target asks for it.
// The certificate is checked before the user name is sent: against the authorities the system
// trusts, or against the public key pinned in the target. Files are renamed over the old ones
// (RNFR/RNTO), which FTP servers do in one step.
#pragma once
#include <memory>
#include <string>

#include "model/PublishTarget.h"
#include "publish/CurlStore.h"

namespace pagloom {

class FtpStore final : public CurlStore {
  public:
    // `tls`: FTPS (explicit TLS); plain FTP only when false.
    FtpStore(const PublishTarget& target, std::string password, bool tls);
    ~FtpStore() override;

    ConnectResult Connect() override;

    Got Get(const std::string& name, std::string& out, std::string& error) override;
    using RemoteStore::Put;
    bool Put(const std::string& name, UploadSource& source, std::string& error) override;
    bool Replace(const std::string& from, const std::string& to, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    std::optional<std::uint64_t> Size(const std::string& name) override;
    bool MakeFolders(const std::string& folder, std::string& error) override;

  private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace pagloom
