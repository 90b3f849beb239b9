// SPDX-License-Identifier: MIT
#include "publish/PublishTarget.h"

#include "projectfile/IniFile.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

constexpr std::string_view kSection = "publish";

std::string Scalar(const IniFile& ini, std::string_view key) {
    std::string v = ini.ReadString(kSection, key, "");
    const size_t comment = v.find(';');
    if (comment != std::string::npos) v.resize(comment);
    return TrimBlanks(v);
}

std::vector<std::string> Patterns(const IniFile& ini, std::string_view key) {
    std::vector<std::string> out;
    const std::string v = ini.ReadString(kSection, key, "");
    size_t start = 0;
    while (start <= v.size()) {
        size_t end = v.find(';', start);
        if (end == std::string::npos) end = v.size();
        std::string p = TrimBlanks(std::string_view(v).substr(start, end - start));
        if (!p.empty()) out.push_back(std::move(p));
        start = end + 1;
    }
    return out;
}

int Number(const std::string& text, int fallback) {
    if (text.empty() || text.size() > 6) return fallback;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return fallback;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool Match(std::string_view p, std::string_view s) {
    // Iterative glob with one backtrack point per star kind: linear enough for file names.
    size_t pi = 0, si = 0, starP = std::string_view::npos, starS = 0;
    bool starCrossesSlash = false;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starCrossesSlash = pi + 1 < p.size() && p[pi + 1] == '*';
            pi += starCrossesSlash ? 2 : 1;
            starP = pi;
            starS = si;
        } else if (pi < p.size() && (p[pi] == s[si] || (p[pi] == '?' && s[si] != '/'))) {
            ++pi;
            ++si;
        } else if (starP != std::string_view::npos && (starCrossesSlash || s[starS] != '/')) {
            pi = starP;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

const char* ProtocolKey(PublishProtocol protocol) {
    switch (protocol) {
        case PublishProtocol::Sftp:
            return "sftp";
        case PublishProtocol::Ftps:
            return "ftps";
        case PublishProtocol::Ftp:
            return "ftp";
        case PublishProtocol::WebDav:
            return "webdav";
        case PublishProtocol::Folder:
            return "folder";
        case PublishProtocol::None:
            break;
    }
    return "";
}

int EffectivePort(const PublishTarget& target) {
    if (target.port > 0) return target.port;
    switch (target.protocol) {
        case PublishProtocol::Sftp:
            return 22;
        case PublishProtocol::Ftps:
        case PublishProtocol::Ftp:
            return 21;
        case PublishProtocol::WebDav:
            return 443;
        case PublishProtocol::Folder:
        case PublishProtocol::None:
            break;
    }
    return 0;
}

std::string PublishTarget::Address() const {
    const std::string scheme = protocol == PublishProtocol::None ? "none" : ProtocolKey(protocol);
    std::string a = scheme + "://";
    if (protocol == PublishProtocol::Folder) return a + remoteFolder;
    if (!user.empty()) a += user + "@";
    a += host;
    if (port > 0) a += ":" + std::to_string(port);
    if (remoteFolder.empty() || remoteFolder.front() != '/') a += "/";
    return a + remoteFolder;
}

PublishTarget ReadPublishTarget(const IniFile& ini) {
    PublishTarget t;
    if (!ini.HasSection(kSection)) return t;
    t.protocolText = Scalar(ini, "protocol");
    const std::string p = ToLowerAscii(t.protocolText);
    t.protocol = p == "sftp"     ? PublishProtocol::Sftp
                 : p == "ftps"   ? PublishProtocol::Ftps
                 : p == "ftp"    ? PublishProtocol::Ftp
                 : p == "webdav" ? PublishProtocol::WebDav
                 : p == "folder" ? PublishProtocol::Folder
                                 : PublishProtocol::None;
    t.host = Scalar(ini, "host");
    t.port = Number(Scalar(ini, "port"), 0);
    t.user = Scalar(ini, "user");
    t.remoteFolder = Scalar(ini, "remote-folder");
    t.keyFile = Scalar(ini, "key-file");
    t.hostKey = Scalar(ini, "host-key");
    t.exclude = Patterns(ini, "exclude");
    t.protect = Patterns(ini, "protect");
    t.deleteRemoved = Scalar(ini, "delete") == "1";
    t.connections = Number(Scalar(ini, "connections"), 4);
    if (t.connections < 1) t.connections = 1;
    if (t.connections > 8) t.connections = 8;
    return t;
}

void WritePublishTarget(IniFile& ini, const PublishTarget& t) {
    const PublishTarget stored = ReadPublishTarget(ini);
    if (stored == t) return;
    auto joined = [](const std::vector<std::string>& patterns) {
        std::string text;
        for (const std::string& p : patterns) text += (text.empty() ? "" : ";") + p;
        return text;
    };
    // A new section gets every key, so the user sees what may be set.
    const bool fresh = !ini.HasSection(kSection);
    auto put = [&](std::string_view key, bool differs, const std::string& value) {
        if (differs || fresh) ini.WriteString(kSection, key, value);
    };
    const std::string protocol =
        t.protocol == PublishProtocol::None ? t.protocolText : ProtocolKey(t.protocol);
    put("protocol", stored.protocol != t.protocol || stored.protocolText != t.protocolText,
        protocol);
    put("host", stored.host != t.host, t.host);
    put("port", stored.port != t.port, t.port > 0 ? std::to_string(t.port) : "");
    put("user", stored.user != t.user, t.user);
    put("remote-folder", stored.remoteFolder != t.remoteFolder, t.remoteFolder);
    put("key-file", stored.keyFile != t.keyFile, t.keyFile);
    put("host-key", stored.hostKey != t.hostKey, t.hostKey);
    put("exclude", stored.exclude != t.exclude, joined(t.exclude));
    put("protect", stored.protect != t.protect, joined(t.protect));
    put("delete", stored.deleteRemoved != t.deleteRemoved, t.deleteRemoved ? "1" : "0");
    put("connections", stored.connections != t.connections, std::to_string(t.connections));
}

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name) {
    const size_t slash = name.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    for (const std::string& p : patterns) {
        if (Match(p, name)) return true;
        if (p.find('/') == std::string::npos && Match(p, base)) return true;
    }
    return false;
}

}  // namespace pagloom
