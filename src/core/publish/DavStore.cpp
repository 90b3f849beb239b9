// SPDX-License-Identifier: MIT
#include "publish/DavStore.h"

#include <algorithm>
#include <set>

#include "publish/CurlSupport.h"
#include "publish/PublishProtocols.h"

namespace pagloom {

using namespace curlsupport;

struct DavStore::State {
    const PublishTarget& target;
    const std::string& password;
    CURL* curl;
    std::string root;            // "https://host:port/folder/"
    std::set<std::string> made;  // folders known to be there

    std::string Url(const std::string& name) const { return root + Escaped(name); }

    void Reset() {
        ResetHandle(curl, "https");
        // What the server says besides the status (a page about a 405, say) is not wanted.
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Discard);
        TrustTls(curl, target.hostKey);
        if (!target.user.empty()) {
            curl_easy_setopt(curl, CURLOPT_USERNAME, target.user.c_str());
            curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
            curl_easy_setopt(curl, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
        }
    }

    // One request; the HTTP status (0 when none came) and libcurl's result.
    long Request(const char* method, const std::string& name, curl_slist* headers, CURLcode& rc) {
        curl_easy_setopt(curl, CURLOPT_URL, Url(name).c_str());
        if (method) curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method);
        if (headers) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        rc = curl_easy_perform(curl);
        long status = 0;
        if (rc == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        return status;
    }

    // Whether the name is a folder (a collection), by its resource type.
    bool IsCollection(const std::string& name) {
        Reset();
        std::string answer;
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
        static constexpr char kAsk[] =
            "<?xml version=\"1.0\"?><propfind xmlns=\"DAV:\"><prop><resourcetype/></prop>"
            "</propfind>";
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, kAsk);
        curl_slist* headers = curl_slist_append(nullptr, "Depth: 0");
        headers = curl_slist_append(headers, "Content-Type: application/xml");
        CURLcode rc;
        const long status = Request("PROPFIND", name, headers, rc);
        curl_slist_free_all(headers);
        const size_t type = answer.find("resourcetype");
        return status == 207 && type != std::string::npos &&
               answer.find("collection", type) != std::string::npos;
    }

    static std::string StatusReason(long status) {
        switch (status) {
            case 401:
                return "Anmeldung abgelehnt";
            case 403:
                return "Zugriff verweigert";
            case 404:
            case 409:
                return "nicht vorhanden";
            case 507:
                return "kein Platz mehr auf dem Server";
            default:
                return "der Server antwortet " + std::to_string(status);
        }
    }

    // Whether a request went through; else `error` says why.
    static bool Succeeded(CURLcode rc, long status, std::string& error) {
        if (rc != CURLE_OK) {
            error = Reason(rc);
            return false;
        }
        if (status >= 200 && status < 300) return true;
        error = StatusReason(status);
        return false;
    }
};

DavStore::DavStore(const PublishTarget& target, std::string password)
    : CurlStore(target, std::move(password)),
      s_(std::make_unique<State>(State{target_, password_, Handle(), {}, {}})) {
    std::string folder = target.remoteFolder;
    while (!folder.empty() && (folder.back() == '/' || folder.front() == '/'))
        folder.erase(folder.back() == '/' ? folder.size() - 1 : 0, 1);
    s_->root = "https://" + Escaped(target.host) + ":" + std::to_string(EffectivePort(target)) +
               "/" + (folder.empty() ? "" : Escaped(folder) + "/");
}

DavStore::~DavStore() = default;

ConnectResult DavStore::Connect() {
    ConnectResult failed;
    if (!HandleThere(failed)) return failed;
    s_->Reset();
    curl_slist* headers = curl_slist_append(nullptr, "Depth: 0");
    CURLcode rc;
    const long status = s_->Request("PROPFIND", "", headers, rc);
    curl_slist_free_all(headers);
    const bool ok = rc == CURLE_OK && status >= 200 && status < 300;
    if (!ok) {
        const TlsTrust trust = TlsRefusal(rc, s_->root, false, target_.hostKey);
        unknown_ = trust.unknown;
        changed_ = trust.changed;
        fingerprint_ = trust.pin;
    }
    return Connected(
        {ok, status == 404, rc == CURLE_OK ? State::StatusReason(status) : Reason(rc)});
}

RemoteStore::Got DavStore::Get(const std::string& name, std::string& out, std::string& error) {
    s_->Reset();
    const CURLcode rc = Download(name, s_->Url(name), out);
    long status = 0;
    if (rc == CURLE_OK) curl_easy_getinfo(s_->curl, CURLINFO_RESPONSE_CODE, &status);
    if (State::Succeeded(rc, status, error)) return Got::Read;
    out.clear();
    return status == 404 ? Got::Missing : Got::Failed;
}

bool DavStore::Put(const std::string& name, UploadSource& source, std::string& error) {
    s_->Reset();
    UploadFrom(s_->curl, source);
    CURLcode rc;
    const long status = s_->Request(nullptr, name, nullptr, rc);
    return State::Succeeded(rc, status, error);
}

bool DavStore::Replace(const std::string& from, const std::string& to, std::string& error) {
    // Asked first, as a MOVE over a folder (a collection) cannot be trusted: one server moves
    // the file into it, another takes the folder away with all it holds.
    if (s_->IsCollection(to)) {
        error = kFolderInTheWay;
        return false;
    }
    s_->Reset();
    curl_slist* headers = curl_slist_append(nullptr, ("Destination: " + s_->Url(to)).c_str());
    headers = curl_slist_append(headers, "Overwrite: T");
    CURLcode rc;
    const long status = s_->Request("MOVE", from, headers, rc);
    curl_slist_free_all(headers);
    return State::Succeeded(rc, status, error);
}

bool DavStore::Remove(const std::string& name, std::string& error) {
    s_->Reset();
    CURLcode rc;
    const long status = s_->Request("DELETE", name, nullptr, rc);
    return status == 404 || State::Succeeded(rc, status, error);  // 404: gone already
}

std::optional<std::uint64_t> DavStore::Size(const std::string& name) {
    s_->Reset();
    curl_easy_setopt(s_->curl, CURLOPT_NOBODY, 1L);
    CURLcode rc;
    const long status = s_->Request(nullptr, name, nullptr, rc);
    curl_off_t size = -1;
    if (rc != CURLE_OK || status < 200 || status >= 300 ||
        curl_easy_getinfo(s_->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size) != CURLE_OK ||
        size < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

bool DavStore::MakeFolders(const std::string& folder, std::string& error) {
    // PUT makes no folders: each one missing on the way is made (MKCOL), once per run.
    for (size_t end = folder.find('/'); !folder.empty();
         end = end == std::string::npos ? end : folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (!s_->made.count(part)) {
            s_->Reset();
            CURLcode rc;
            const long status = s_->Request("MKCOL", part + "/", nullptr, rc);
            // 405: the folder is there already.
            if (status != 405 && !State::Succeeded(rc, status, error)) return false;
            s_->made.insert(part);
        }
        if (end == std::string::npos) break;
    }
    return true;
}

}  // namespace pagloom
