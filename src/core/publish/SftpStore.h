// SPDX-License-Identifier: MIT
// An SFTP server as the target, through libcurl: one connection kept for all steps of a run.
// The server's host key is checked before anything else is sent: against the target's stored
// fingerprint, else against the user's known_hosts; an unknown key stops the run with its
// fingerprint, a changed one always stops it. The password, when there is one, is handed to
// libcurl only, never put into an address, a message or a log line.
#pragma once
#include <memory>
#include <string>

#include "model/PublishTarget.h"
#include "publish/CurlStore.h"

namespace pagloom {

class SftpStore final : public CurlStore {
  public:
    // `knownHosts`: the user's known_hosts file ("" for none).
    SftpStore(const PublishTarget& target, std::string password, std::string knownHosts);
    ~SftpStore() override;

    // Connects and checks the host key ("SHA256:..." as Fingerprint()).
    ConnectResult Connect() override;

    Got Get(const std::string& name, std::string& out, std::string& error) override;
    using RemoteStore::Put;
    bool Put(const std::string& name, UploadSource& source, std::string& error) override;
    bool Replace(const std::string& from, const std::string& to, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    void RemoveLeftover(const std::string& temp) override;
    std::optional<std::uint64_t> Size(const std::string& name) override;
    bool MakeFolders(const std::string& folder, std::string& error) override;

  private:
    struct State;
    std::unique_ptr<State> s_;
};

// The SHA-256 fingerprint of an SSH public key blob as OpenSSH prints it: "SHA256:" and base64
// without padding.
std::string SshFingerprint(std::string_view keyBlob);

}  // namespace pagloom
