// SPDX-License-Identifier: MIT
#include "publish/FtpStore.h"

#include <algorithm>
#include <vector>

#include "publish/CurlSupport.h"
#include "publish/PublishProtocols.h"
#include "text/Cp1252.h"

namespace pagloom {

using namespace curlsupport;

struct FtpStore::State {
    const PublishTarget& target;
    const std::string& password;
    CURL* curl;
    bool tls = true;
    // Servers that demand the control connection's TLS session again on each data connection
    // (vsftpd's default) refuse some data connections under TLS 1.3, whose session tickets
    // are used up one by one; after the first such refusal this connection stays on TLS 1.2.
    bool tls12 = false;
    std::string root;  // "ftp://host:port/folder/"

    std::string Url(const std::string& name) const { return root + Escaped(name); }

    void Reset() {
        ResetHandle(curl, "ftp");
        // Without a body libcurl hands the file's size and date over as text: not wanted.
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Discard);
        // The data connection goes to the server the control connection talks to, never to an
        // address the server names.
        curl_easy_setopt(curl, CURLOPT_FTP_SKIP_PASV_IP, 1L);
        if (tls) {
            curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
            TrustTls(curl, target.hostKey);
            if (tls12)
                curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                                 long(CURL_SSLVERSION_TLSv1_2) | long(CURL_SSLVERSION_MAX_TLSv1_2));
        }
        curl_easy_setopt(curl, CURLOPT_USERNAME,
                         target.user.empty() ? "anonymous" : target.user.c_str());
        if (!password.empty()) curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    }

    // Whether a folder has the name: only a folder can be changed into.
    bool IsFolder(const std::string& name) {
        Reset();
        curl_easy_setopt(curl, CURLOPT_URL, (Url(name) + "/").c_str());
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        return curl_easy_perform(curl) == CURLE_OK;
    }

    // Runs FTP commands in the remote folder, names relative to it.
    CURLcode Commands(const std::vector<std::string>& commands) {
        Reset();
        curl_slist* list = nullptr;
        for (const std::string& c : commands) list = curl_slist_append(list, c.c_str());
        curl_easy_setopt(curl, CURLOPT_URL, root.c_str());
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTQUOTE, list);
        const CURLcode rc = curl_easy_perform(curl);
        curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
        curl_slist_free_all(list);
        return rc;
    }
};

FtpStore::FtpStore(const PublishTarget& target, std::string password, bool tls)
    : CurlStore(target, std::move(password)),
      s_(std::make_unique<State>(State{target_, password_, Handle(), tls, false, {}})) {
    std::string folder = target.remoteFolder;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    // An FTP address's path starts in the login folder; "%2F" starts it at the server's root.
    const std::string path = folder.empty()          ? ""
                             : folder.front() == '/' ? "%2F" + Escaped(folder.substr(1)) + "/"
                                                     : Escaped(folder) + "/";
    s_->root =
        "ftp://" + Escaped(target.host) + ":" + std::to_string(EffectivePort(target)) + "/" + path;
}

FtpStore::~FtpStore() = default;

ConnectResult FtpStore::Connect() {
    ConnectResult failed;
    if (!HandleThere(failed)) return failed;
    s_->Reset();
    curl_easy_setopt(s_->curl, CURLOPT_URL, s_->root.c_str());
    curl_easy_setopt(s_->curl, CURLOPT_NOBODY, 1L);
    const CURLcode rc = curl_easy_perform(s_->curl);
    if (rc != CURLE_OK && s_->tls) {
        const TlsTrust trust = TlsRefusal(rc, s_->root, true, target_.hostKey);
        unknown_ = trust.unknown;
        changed_ = trust.changed;
        fingerprint_ = trust.pin;
    }
    return Connected({rc == CURLE_OK,
                      rc == CURLE_REMOTE_ACCESS_DENIED || rc == CURLE_REMOTE_FILE_NOT_FOUND,
                      Reason(rc)});
}

RemoteStore::Got FtpStore::Get(const std::string& name, std::string& out, std::string& error) {
    s_->Reset();
    const CURLcode rc = Download(name, s_->Url(name), out);
    if (rc == CURLE_OK) return Got::Read;
    if (rc == CURLE_REMOTE_FILE_NOT_FOUND) return Got::Missing;
    error = Reason(rc);
    return Got::Failed;
}

bool FtpStore::Put(const std::string& name, UploadSource& source, std::string& error) {
    s_->Reset();
    curl_easy_setopt(s_->curl, CURLOPT_URL, s_->Url(name).c_str());
    UploadFrom(s_->curl, source);
    curl_easy_setopt(s_->curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    CURLcode rc = curl_easy_perform(s_->curl);
    if (rc != CURLE_OK && rc != CURLE_ABORTED_BY_CALLBACK && s_->tls && !s_->tls12) {
        s_->tls12 = true;
        // A new control connection, on TLS 1.2 as well: both must use one session.
        curl_easy_setopt(s_->curl, CURLOPT_SSLVERSION,
                         long(CURL_SSLVERSION_TLSv1_2) | long(CURL_SSLVERSION_MAX_TLSv1_2));
        curl_easy_setopt(s_->curl, CURLOPT_FRESH_CONNECT, 1L);
        source.Rewind();
        rc = curl_easy_perform(s_->curl);
    }
    if (rc == CURLE_OK) return true;
    error = Reason(rc);
    return false;
}

bool FtpStore::Replace(const std::string& from, const std::string& to, std::string& error) {
    if (!NameFitsCommand(from, error) || !NameFitsCommand(to, error)) return false;
    const CURLcode rc = s_->Commands({"RNFR " + Cp1252ToUtf8(from), "RNTO " + Cp1252ToUtf8(to)});
    if (rc == CURLE_OK) return true;
    // Servers refuse a file over a folder, with a reply that does not say why.
    error = rc == CURLE_QUOTE_ERROR && s_->IsFolder(to) ? std::string(kFolderInTheWay) : Reason(rc);
    return false;
}

bool FtpStore::Remove(const std::string& name, std::string& error) {
    if (!NameFitsCommand(name, error)) return false;
    const CURLcode rc = s_->Commands({"DELE " + Cp1252ToUtf8(name)});
    if (rc == CURLE_OK || !Size(name)) return true;  // removed, or gone already
    error = Reason(rc);
    return false;
}

std::optional<std::uint64_t> FtpStore::Size(const std::string& name) {
    s_->Reset();
    return SizeAt(s_->curl, s_->Url(name));
}

bool FtpStore::MakeFolders(const std::string&, std::string&) {
    return true;  // an upload makes the folders it needs
}

}  // namespace pagloom
