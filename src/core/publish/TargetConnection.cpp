// SPDX-License-Identifier: MIT
#include "publish/TargetConnection.h"

#include <cstdlib>

#include "generator/SiteFiles.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "model/Project.h"
#include "publish/DavStore.h"
#include "publish/FtpStore.h"
#include "publish/SftpStore.h"

namespace pagloom {
namespace {

std::unique_ptr<ServerStore> MakeServerStore(const PublishTarget& target,
                                             const TargetAccess& access) {
    switch (target.protocol) {
        case PublishProtocol::Sftp:
            return std::make_unique<SftpStore>(target, access.password, access.knownHosts);
        case PublishProtocol::Ftps:
        case PublishProtocol::Ftp:
            return std::make_unique<FtpStore>(target, access.password);
        case PublishProtocol::WebDav:
            return std::make_unique<DavStore>(target, access.password);
        case PublishProtocol::Folder:
        case PublishProtocol::None:
            break;
    }
    return nullptr;
}

}  // namespace

PublishOptions ProjectPublishOptions(const Project& project, const std::string& projectFile,
                                     FileSystem& fs) {
    PublishOptions options;
    const size_t slash = projectFile.rfind('/');
    options.project = slash == std::string::npos ? projectFile : projectFile.substr(slash + 1);
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    std::string dir =
        cache && *cache ? cache : std::string(home && *home ? home : "/tmp") + "/.cache";
    for (const char* part : {"pagloom", "publish"}) {
        fs.CreateDirectory(dir);
        dir = JoinPath(dir, part);
    }
    fs.CreateDirectory(dir);
    options.journalDir = dir;
    // The pages the visitor enters by go last, so they never point at pages not there yet.
    for (SiteFileKind kind : {SiteFileKind::MenuScript, SiteFileKind::MenuInclude,
                              SiteFileKind::MenuFrame, SiteFileKind::Frameset})
        if (SiteFileDue(project.Settings, kind))
            options.lastFiles.push_back(SiteFileName(project.Settings, kind));
    options.deleteRemoved = project.Publish.deleteRemoved;
    options.connections = project.Publish.connections;
    return options;
}

std::string UserKnownHosts() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.ssh/known_hosts" : std::string();
}

TargetConnection ConnectTarget(FileSystem& fs, const PublishTarget& target,
                               const TargetAccess& access) {
    TargetConnection c;
    if (target.protocol == PublishProtocol::None) {
        c.error = target.protocolText.empty() ? "Die Projektdatei " + access.projectFile +
                                                    " nennt kein Ziel zum Ver\xF6"
                                                    "ffentlichen (Abschnitt [publish])."
                                              : "Unbekanntes Protokoll: " + target.protocolText;
        return c;
    }
    if (target.protocol == PublishProtocol::Folder) {
        const std::string folder = ProjectInputPath(access.projectFile, target.remoteFolder);
        if (folder.empty() || !fs.DirectoryExists(folder)) {
            c.error = "Das Verzeichnis " + folder + " existiert nicht!" + WindowsPathNote(folder);
            return c;
        }
        if (fs.SameFile(folder, access.site)) {
            c.error =
                "Das Ziel zum Ver\xF6"
                "ffentlichen ist das Zielverzeichnis selbst.";
            return c;
        }
        c.store = std::make_unique<FolderStore>(fs, folder);
        c.more = [&fs, folder] { return std::make_unique<FolderStore>(fs, folder); };
        return c;
    }
    if (target.host.empty()) {
        c.error =
            "Das Ziel zum Ver\xF6"
            "ffentlichen nennt keinen Server (host).";
        return c;
    }
    if (target.protocol == PublishProtocol::Ftp)
        c.warning =
            "WARNUNG: FTP ohne Verschl\xFCsselung: Passwort und Dateien gehen lesbar \xFC"
            "ber das Netz.";
    std::unique_ptr<ServerStore> first = MakeServerStore(target, access);
    if (!first->Connect(c.error)) {
        c.unknownKey = first->UnknownKey();
        c.changedKey = first->ChangedKey();
        c.fingerprint = first->Fingerprint();
        return c;
    }
    c.error.clear();
    c.store = std::move(first);
    c.more = [target, access]() -> std::unique_ptr<RemoteStore> {
        std::unique_ptr<ServerStore> another = MakeServerStore(target, access);
        std::string ignored;
        if (!another->Connect(ignored)) return nullptr;
        return another;
    };
    return c;
}

}  // namespace pagloom
