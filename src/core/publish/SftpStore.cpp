// SPDX-License-Identifier: MIT
#include "publish/SftpStore.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <vector>

#include "io/FileSystem.h"
#include "publish/CurlSupport.h"
#include "publish/Manifest.h"
#include "publish/PublishProtocols.h"
#include "publish/RemoteNames.h"
#include "publish/Sha256.h"
#include "text/Cp1252.h"

namespace pagloom {
namespace {

using namespace curlsupport;

std::string Unbase64(std::string_view text) {
    static constexpr char kBase64[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned v = 0;
    int bits = 0;
    for (char c : text) {
        const char* at = std::strchr(kBase64, c);
        if (c == '=' || !at || !c) break;
        v = v << 6 | unsigned(at - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((v >> bits) & 0xFF);
        }
    }
    return out;
}

std::string HexBytes(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return out;
}

// A path as one argument of an SFTP command.
std::string Quoted(std::string_view cp1252Path) {
    std::string out = "\"";
    for (char c : Cp1252ToUtf8(cp1252Path)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Where Replace keeps the old file for the moment between its two renames.
std::string AsideNameOf(const std::string& name) {
    const size_t slash = name.rfind('/');
    return (slash == std::string::npos ? "" : name.substr(0, slash + 1)) + ".pagloom-aside-" +
           name.substr(slash == std::string::npos ? 0 : slash + 1);
}

// Whether a private key can be read from the file: libssh2 says no more than that the login
// failed, which sends the user looking for the wrong cause.
bool KeyFileReadable(const std::string& path) {
    std::string text;
    DiskFileSystem disk;
    return disk.ReadAll(path, text) && text.find("PRIVATE KEY-----") != std::string::npos;
}

const char* KeyTypeName(int type) {
    switch (type) {
        case CURLKHTYPE_RSA:
            return "ssh-rsa";
        case CURLKHTYPE_DSS:
            return "ssh-dss";
        case CURLKHTYPE_ECDSA:
            return "ecdsa-";
        case CURLKHTYPE_ED25519:
            return "ssh-ed25519";
        default:
            return "";
    }
}

}  // namespace

std::string SshFingerprint(std::string_view keyBlob) {
    return "SHA256:" + Base64(HexBytes(Sha256Hex(keyBlob)), false);
}

struct SftpStore::State {
    const PublishTarget& target;
    const std::string& password;
    CURL* curl;
    std::string& fingerprint;
    bool& unknown;
    bool& changed;
    std::string knownHosts;
    std::string base;  // "sftp://host:port"

    std::string RemotePath(const std::string& name) const {
        std::string root = target.remoteFolder;
        while (root.size() > 1 && root.back() == '/') root.pop_back();
        if (name.empty()) return root.empty() ? "." : root;
        return root.empty() ? name : root == "/" ? "/" + name : root + "/" + name;
    }
    std::string Url(const std::string& name) const {
        const std::string path = RemotePath(name);
        // Relative folders are taken from the login folder, as the server's own sftp does.
        return base + (path.front() == '/' ? Escaped(path) : "/~/" + Escaped(path));
    }

    // Whether the key the server shows may be trusted; notes an unknown or a changed one.
    bool Trusts(int type, std::string_view key) {
        fingerprint = SshFingerprint(key);
        if (!target.hostKey.empty()) {
            changed = target.hostKey != fingerprint;
            return !changed;
        }
        std::string text;
        DiskFileSystem disk;
        if (!knownHosts.empty() && disk.ReadAll(knownHosts, text)) {
            const std::string host = target.port > 0 && target.port != 22
                                         ? "[" + target.host + "]:" + std::to_string(target.port)
                                         : target.host;
            size_t start = 0;
            while (start < text.size()) {
                size_t end = text.find('\n', start);
                if (end == std::string::npos) end = text.size();
                const std::string line = text.substr(start, end - start);
                start = end + 1;
                const size_t a = line.find(' '), b = line.find(' ', a + 1);
                if (a == std::string::npos || b == std::string::npos || line[0] == '#') continue;
                bool hostMatches = false;
                for (size_t from = 0; from <= a;) {
                    size_t comma = line.find(',', from);
                    if (comma == std::string::npos || comma > a) comma = a;
                    if (line.compare(from, comma - from, host) == 0) hostMatches = true;
                    from = comma + 1;
                }
                const std::string type_ = line.substr(a + 1, b - a - 1);
                if (!hostMatches || type_.rfind(KeyTypeName(type), 0) != 0) continue;
                size_t e = line.find(' ', b + 1);
                const std::string blob =
                    Unbase64(line.substr(b + 1, e == std::string::npos ? e : e - b - 1));
                changed = blob != key;
                return !changed;
            }
        }
        unknown = true;
        return false;
    }

    static int HostKey(void* self, int type, const char* key, size_t size) {
        return static_cast<State*>(self)->Trusts(type, std::string_view(key, size))
                   ? CURLKHMATCH_OK
                   : CURLKHMATCH_MISMATCH;
    }

    void Reset() {
        ResetHandle(curl, "sftp");
        curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYFUNCTION, &State::HostKey);
        curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYDATA, this);
        if (!target.user.empty()) curl_easy_setopt(curl, CURLOPT_USERNAME, target.user.c_str());
        long auth = CURLSSH_AUTH_AGENT | CURLSSH_AUTH_PUBLICKEY;
        if (!target.keyFile.empty()) {
            const std::string key = Cp1252ToUtf8(target.keyFile), pub = key + ".pub";
            curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key.c_str());
            // Without a ".pub" beside it the public key is taken from the private one.
            DiskFileSystem disk;
            curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE,
                             disk.FileExists(target.keyFile + ".pub") ? pub.c_str() : "");
        }
        if (!password.empty()) {
            curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
            auth |= CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
        }
        curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, auth);
    }

    // A libcurl result as a German reason (never with the password: libcurl does not show it).
    std::string Reason(CURLcode code) const {
        switch (code) {
            case CURLE_PEER_FAILED_VERIFICATION:
                return changed ? "der Schl\xFC"
                                 "ssel des Servers hat sich ge\xE4ndert"
                               : "der Schl\xFC"
                                 "ssel des Servers ist unbekannt";
            case CURLE_LOGIN_DENIED:
            case CURLE_AUTH_ERROR:
            case CURLE_SSH:
                if (!target.keyFile.empty() && !KeyFileReadable(target.keyFile))
                    return "die Schl\xFCsseldatei " + target.keyFile + " kann nicht gelesen werden";
                return curlsupport::Reason(code);
            default:
                return curlsupport::Reason(code);
        }
    }

    // Whether a folder has the name: only a folder can be listed. The listing is broken off at
    // its first byte.
    bool IsFolder(const std::string& name) {
        Reset();
        curl_easy_setopt(curl, CURLOPT_URL, (Url(name) + "/").c_str());
        curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Refuse);
        const CURLcode rc = curl_easy_perform(curl);
        return rc == CURLE_OK || rc == CURLE_WRITE_ERROR;
    }
    static size_t Refuse(char*, size_t, size_t, void*) { return 0; }

    // Runs SFTP commands against the remote folder.
    CURLcode Commands(const std::vector<std::string>& commands) {
        Reset();
        curl_slist* list = nullptr;
        for (const std::string& c : commands) list = curl_slist_append(list, c.c_str());
        const std::string url = Url("");
        curl_easy_setopt(curl, CURLOPT_URL, (url + "/").c_str());
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(curl, CURLOPT_QUOTE, list);
        const CURLcode rc = curl_easy_perform(curl);
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(list);
        return rc;
    }
};

SftpStore::SftpStore(const PublishTarget& target, std::string password, std::string knownHosts)
    : CurlStore(target, std::move(password)),
      s_(std::make_unique<State>(State{target_,
                                       password_,
                                       Handle(),
                                       fingerprint_,
                                       unknown_,
                                       changed_,
                                       std::move(knownHosts),
                                       {}})) {
    s_->base = "sftp://" + Escaped(target.host) + ":" + std::to_string(EffectivePort(target));
}

SftpStore::~SftpStore() = default;

ConnectResult SftpStore::Connect() {
    ConnectResult failed;
    if (!HandleThere(failed)) return failed;
    s_->Reset();
    curl_easy_setopt(s_->curl, CURLOPT_URL, (s_->Url("") + "/").c_str());
    curl_easy_setopt(s_->curl, CURLOPT_NOBODY, 1L);
    const CURLcode rc = curl_easy_perform(s_->curl);
    return Connected({rc == CURLE_OK, rc == CURLE_REMOTE_FILE_NOT_FOUND, s_->Reason(rc)});
}

RemoteStore::Got SftpStore::Get(const std::string& name, std::string& out, std::string& error) {
    s_->Reset();
    CURLcode rc = Download(name, s_->Url(name), out);
    // A run broken between the manifest's two renames left the last one aside: it still tells
    // what the server holds (and the next write of the manifest clears it away).
    if (rc == CURLE_REMOTE_FILE_NOT_FOUND && name == kManifestName && Size(AsideNameOf(name))) {
        s_->Reset();
        rc = Download(name, s_->Url(AsideNameOf(name)), out);
    }
    if (rc == CURLE_OK) return Got::Read;
    if (rc == CURLE_REMOTE_FILE_NOT_FOUND) return Got::Missing;
    error = s_->Reason(rc);
    return Got::Failed;
}

bool SftpStore::Put(const std::string& name, UploadSource& source, std::string& error) {
    s_->Reset();
    curl_easy_setopt(s_->curl, CURLOPT_URL, s_->Url(name).c_str());
    UploadFrom(s_->curl, source);
    curl_easy_setopt(s_->curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(s_->curl, CURLOPT_NEW_FILE_PERMS, 0644L);
    curl_easy_setopt(s_->curl, CURLOPT_NEW_DIRECTORY_PERMS, 0755L);
    const CURLcode rc = curl_easy_perform(s_->curl);
    if (rc == CURLE_OK) return true;
    error = s_->Reason(rc);
    return false;
}

bool SftpStore::Replace(const std::string& from, const std::string& to, std::string& error) {
    // The server's SFTP (version 3) renames onto no existing file, and neither libcurl nor
    // libssh2 here can ask for its atomic rename extension: the old file goes aside for the
    // moment between two renames sent back to back, and is removed after them (or put back when
    // the second fails). A run broken in between is mended by RemoveLeftover.
    const std::string aside = AsideNameOf(to);
    const std::string f = Quoted(s_->RemotePath(from)), t = Quoted(s_->RemotePath(to)),
                      a = Quoted(s_->RemotePath(aside));
    // A new file needs no aside: one command. The manifest is not in the journal, so an aside
    // of it a broken run left is cleared here.
    std::vector<std::string> plain = {"rename " + f + " " + t};
    if (to == kManifestName) plain.push_back("*rm " + a);
    if (s_->Commands(plain) == CURLE_OK) return true;
    // A folder of the name would itself be moved aside, and the page put in its place.
    if (s_->IsFolder(to)) {
        error = kFolderInTheWay;
        return false;
    }
    CURLcode rc =
        s_->Commands({"*rm " + a, "*rename " + t + " " + a, "rename " + f + " " + t, "*rm " + a});
    if (rc == CURLE_OK) return true;
    error = s_->Reason(rc);
    s_->Commands({"*rename " + a + " " + t});
    return false;
}

void SftpStore::RemoveLeftover(const std::string& temp) {
    const size_t slash = temp.rfind('/');
    const size_t at = slash == std::string::npos ? 0 : slash + 1;
    if (temp.compare(at, kOwnTempPrefix.size(), kOwnTempPrefix) == 0) {
        const std::string name = temp.substr(0, at) + temp.substr(at + kOwnTempPrefix.size());
        const std::string aside = AsideNameOf(name);
        if (Size(aside)) {
            // Broken between Replace's renames: the old file goes back where it was missing
            // (the new one is sent again), else the aside is stale.
            const std::string a = Quoted(s_->RemotePath(aside));
            s_->Commands(
                {Size(name) ? "*rm " + a : "*rename " + a + " " + Quoted(s_->RemotePath(name))});
        }
    }
    s_->Commands({"*rm " + Quoted(s_->RemotePath(temp))});
}

bool SftpStore::Remove(const std::string& name, std::string& error) {
    if (!Size(name)) return true;  // gone already
    const CURLcode rc = s_->Commands({"rm " + Quoted(s_->RemotePath(name))});
    if (rc == CURLE_OK) return true;
    error = s_->Reason(rc);
    return false;
}

std::optional<std::uint64_t> SftpStore::Size(const std::string& name) {
    s_->Reset();
    return SizeAt(s_->curl, s_->Url(name));
}

bool SftpStore::MakeFolders(const std::string&, std::string&) {
    return true;  // an upload makes the folders it needs
}

}  // namespace pagloom
