// SPDX-License-Identifier: MIT
#include "publish/CurlStore.h"

#include <algorithm>

#include "publish/CurlSupport.h"
#include "publish/Manifest.h"

namespace pagloom {

CurlStore::CurlStore(const PublishTarget& target, std::string password)
    : target_(target), password_(std::move(password)) {
    curlsupport::GlobalInit();
    curl_.reset(curl_easy_init());
}

CurlStore::~CurlStore() {
    curl_.reset();
    // Overwritten, so a core dump of the process after publishing does not hold it.
    std::fill(password_.begin(), password_.end(), '\0');
}

namespace {

struct Capped {
    std::string& out;
    size_t limit;
};

size_t AppendCapped(char* data, size_t size, size_t n, void* target) {
    Capped& c = *static_cast<Capped*>(target);
    const size_t take = std::min(size * n, c.limit - c.out.size());
    c.out.append(data, take);
    return c.out.size() < c.limit ? size * n : 0;  // 0 ends the transfer
}

}  // namespace

CURLcode CurlStore::Download(const std::string& name, const std::string& url, std::string& out) {
    out.clear();
    Capped capped{out, name == kManifestName ? kMaxManifestBytes + 1 : out.max_size()};
    curl_easy_setopt(Handle(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(Handle(), CURLOPT_WRITEFUNCTION, &AppendCapped);
    curl_easy_setopt(Handle(), CURLOPT_WRITEDATA, &capped);
    CURLcode rc = curl_easy_perform(Handle());
    if (rc == CURLE_WRITE_ERROR && out.size() == capped.limit) rc = CURLE_OK;
    if (rc != CURLE_OK) out.clear();
    return rc;
}

bool CurlStore::HandleThere(ConnectResult& result) const {
    if (curl_) return true;
    result.error = "libcurl kann nicht gestartet werden";
    return false;
}

ConnectResult CurlStore::Connected(const Attempt& a) const {
    ConnectResult r;
    r.ok = a.ok;
    r.unknownKey = unknown_;
    r.changedKey = changed_;
    r.fingerprint = fingerprint_;
    if (a.ok) return r;
    std::string& error = r.error;
    if (unknown_)
        error = UnknownKeyMessage(target_.host, fingerprint_);
    else if (changed_)
        error = ChangedKeyMessage(target_.host, fingerprint_);
    else if (a.folderMissing)
        error = "Der Ordner " + target_.remoteFolder + " fehlt auf dem Server " + target_.host +
                " oder ist nicht zug\xE4nglich";
    else
        error = "Keine Verbindung zu " + target_.host + ": " + a.reason;
    return r;
}

}  // namespace pagloom
