// SPDX-License-Identifier: MIT
// What the stores that speak through libcurl share: one handle of their own, freed with them;
// the password, handed to libcurl only and wiped when the store goes; what the server's key
// check found; and one rule for what a failed first connection is called.
#pragma once
#include <curl/curl.h>

#include <memory>
#include <string>

#include "model/PublishTarget.h"
#include "publish/RemoteStore.h"

namespace pagloom {

class CurlStore : public ServerStore {
  public:
    ~CurlStore() override;
    CurlStore(const CurlStore&) = delete;
    CurlStore& operator=(const CurlStore&) = delete;

  protected:
    CurlStore(const PublishTarget& target, std::string password);

    CURL* Handle() const { return curl_.get(); }
    // Downloads the file `name` at `url` into `out` (emptied first, and again when it fails).
    // The manifest is read no further than one byte past its largest size, so an endless one
    // costs nothing and is refused by its reader.
    CURLcode Download(const std::string& name, const std::string& url, std::string& out);

    // How the first connection ended, for Connect: the result says why not in German, the same
    // way for every protocol (key unknown or changed, folder missing, or the reason).
    struct Attempt {
        bool ok = false;
        bool folderMissing = false;
        std::string reason;  // why not, when neither the key nor the folder is the cause
    };
    ConnectResult Connected(const Attempt& attempt) const;
    // False with the reason when the handle could not be made.
    bool HandleThere(ConnectResult& result) const;

    PublishTarget target_;
    std::string password_;
    bool unknown_ = false, changed_ = false;
    std::string fingerprint_;  // the key the server showed

  private:
    struct Cleanup {
        void operator()(CURL* c) const { curl_easy_cleanup(c); }
    };
    std::unique_ptr<CURL, Cleanup> curl_;
};

}  // namespace pagloom
