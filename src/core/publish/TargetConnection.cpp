// SPDX-License-Identifier: MIT
#include "publish/TargetConnection.h"

#include <algorithm>
#include <cstdlib>

#include "generator/SiteFiles.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "model/Project.h"
#include "publish/PublishProtocols.h"

namespace pagloom {

PublishOptions ProjectPublishOptions(const ProjectSettings& settings, const PublishTarget& target,
                                     const std::string& projectFile, FileSystem& fs) {
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
    for (SiteFileKind kind : kEntryPages)
        if (SiteFileDue(settings, kind)) options.lastFiles.push_back(SiteFileName(settings, kind));
    options.deleteRemoved = target.deleteRemoved;
    options.connections = target.connections;
    return options;
}

std::string UserKnownHosts() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.ssh/known_hosts" : std::string();
}

TargetConnection ConnectTarget(FileSystem& fs, const PublishTarget& target,
                               const TargetAccess& access) {
    TargetConnection c;
    const PublishProtocol* protocol = FindProtocol(target.protocol);
    if (!protocol) {
        c.error = target.protocol.empty() ? "Die Projektdatei " + access.projectFile +
                                                " nennt kein Ziel zum Ver\xF6"
                                                "ffentlichen (Abschnitt [publish])."
                                          : "Unbekanntes Protokoll: " + target.protocol;
        return c;
    }
    if (protocol->IsLocal()) {
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
    c.warning = protocol->warning;
    std::unique_ptr<ServerStore> first = protocol->makeStore(target, access);
    if (!first->Connect(c.error)) {
        c.unknownKey = first->UnknownKey();
        c.changedKey = first->ChangedKey();
        c.fingerprint = first->Fingerprint();
        return c;
    }
    c.error.clear();
    c.store = std::move(first);
    // The password lives on only as long as the factory, and is wiped with it.
    struct Kept : TargetAccess {
        explicit Kept(const TargetAccess& a) : TargetAccess(a) {}
        ~Kept() { std::fill(password.begin(), password.end(), '\0'); }
    };
    auto kept = std::make_shared<Kept>(access);
    c.more = [target, kept, protocol]() -> std::unique_ptr<RemoteStore> {
        std::unique_ptr<ServerStore> another = protocol->makeStore(target, *kept);
        std::string ignored;
        if (!another->Connect(ignored)) return nullptr;
        return another;
    };
    return c;
}

}  // namespace pagloom
