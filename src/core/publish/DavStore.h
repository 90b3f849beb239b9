// SPDX-License-Identifier: MIT
// A WebDAV server over HTTPS as the target, through libcurl: a file goes up by PUT under its
// temporary name and is moved over the old one (MOVE with Overwrite: T), which the server does
// in one step. The certificate is checked before the first request, against the authorities
// the system trusts or against the public key pinned in the target.
#pragma once
#include <memory>
#include <string>

#include "model/PublishTarget.h"
#include "publish/CurlStore.h"

namespace pagloom {

class DavStore final : public CurlStore {
  public:
    DavStore(const PublishTarget& target, std::string password);
    ~DavStore() override;

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
