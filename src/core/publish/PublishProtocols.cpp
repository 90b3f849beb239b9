// SPDX-License-Identifier: MIT
#include "publish/PublishProtocols.h"

#include "publish/DavStore.h"
#include "publish/FtpStore.h"
#include "publish/SftpStore.h"
#include "publish/TargetConnection.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

std::unique_ptr<ServerStore> MakeSftp(const PublishTarget& t, const TargetAccess& a) {
    return std::make_unique<SftpStore>(t, a.password, a.knownHosts);
}
std::unique_ptr<ServerStore> MakeFtps(const PublishTarget& t, const TargetAccess& a) {
    return std::make_unique<FtpStore>(t, a.password, true);
}
std::unique_ptr<ServerStore> MakeFtp(const PublishTarget& t, const TargetAccess& a) {
    return std::make_unique<FtpStore>(t, a.password, false);
}
std::unique_ptr<ServerStore> MakeDav(const PublishTarget& t, const TargetAccess& a) {
    return std::make_unique<DavStore>(t, a.password);
}

const PublishProtocol kProtocols[] = {
    {"sftp", "SFTP (SSH)", 22, LoginKind::KeyOrPassword, ServerKeyKind::Ssh, "", MakeSftp},
    {"ftps", "FTPS (FTP mit TLS)", 21, LoginKind::Password, ServerKeyKind::Tls, "", MakeFtps},
    {"webdav", "WebDAV (HTTPS)", 443, LoginKind::Password, ServerKeyKind::Tls, "", MakeDav},
    {"ftp", "FTP ohne Verschl\xFCsselung", 21, LoginKind::Password, ServerKeyKind::None,
     "WARNUNG: FTP ohne Verschl\xFCsselung: Passwort und Dateien gehen lesbar \xFC"
     "ber das Netz.",
     MakeFtp},
    {"folder", "Lokaler Ordner", 0, LoginKind::None, ServerKeyKind::None, "", nullptr},
};

}  // namespace

std::span<const PublishProtocol> PublishProtocols() { return kProtocols; }

const PublishProtocol* FindProtocol(std::string_view key) {
    const std::string lower = ToLowerAscii(std::string(key));
    for (const PublishProtocol& p : kProtocols)
        if (p.key == lower) return &p;
    return nullptr;
}

int EffectivePort(const PublishTarget& target) {
    if (target.port > 0) return target.port;
    const PublishProtocol* p = FindProtocol(target.protocol);
    return p ? p->defaultPort : 0;
}

std::string TargetAddress(const PublishTarget& t) {
    const PublishProtocol* p = FindProtocol(t.protocol);
    std::string a = (p ? std::string(p->key) : t.protocol.empty() ? "none" : t.protocol) + "://";
    if (p && p->IsLocal()) return a + t.remoteFolder;
    if (!t.user.empty()) a += t.user + "@";
    a += t.host;
    if (t.port > 0) a += ":" + std::to_string(t.port);
    if (t.remoteFolder.empty() || t.remoteFolder.front() != '/') a += "/";
    return a + t.remoteFolder;
}

std::string ServerOf(const PublishTarget& t) {
    const PublishProtocol* p = FindProtocol(t.protocol);
    return std::string(p ? p->key : "") + "://" + t.host + ":" + std::to_string(EffectivePort(t));
}

bool NeedsPassword(const PublishTarget& t) {
    const PublishProtocol* p = FindProtocol(t.protocol);
    return p && p->login == LoginKind::Password && !t.user.empty();
}

std::string ChangedKeyAdvice(const PublishTarget& t) {
    std::string advice =
        "Hat Ihr Anbieter den Schl\xFCssel wirklich ge\xE4ndert, entfernen Sie den alten: im "
        "Dialog \x84Ver\xF6"
        "ffentlichen\x93 mit \x84"
        "Entfernen\x93 neben \x84Schl\xFCssel des "
        "Servers\x93 oder die Zeile host-key im Abschnitt [publish] der Projektdatei";
    const PublishProtocol* p = FindProtocol(t.protocol);
    if (p && p->serverKey == ServerKeyKind::Ssh && t.hostKey.empty())
        advice =
            "Hat Ihr Anbieter den Schl\xFCssel wirklich ge\xE4ndert, entfernen Sie den alten "
            "aus ~/.ssh/known_hosts: ssh-keygen -R " +
            (t.port > 0 && t.port != 22 ? "'[" + t.host + "]:" + std::to_string(t.port) + "'"
                                        : t.host);
    return advice +
           "; beim n\xE4"
           "chsten Verbinden werden Sie gefragt.";
}

}  // namespace pagloom
