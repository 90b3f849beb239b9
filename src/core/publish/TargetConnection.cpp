// SPDX-License-Identifier: MIT
#include "publish/TargetConnection.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "generator/SiteFiles.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "model/Project.h"
#include "publish/PublishProtocols.h"
#include "text/Cp1252.h"

namespace pagloom {
namespace {

// The user's home: $HOME, else the password database's (a service or cron job may have no
// HOME; the shared temporary folder is never taken instead).
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir)
        return pw->pw_dir;
    return {};
}

// Makes a folder of the user's own, open to nobody else; "" when it is, else why not. A folder
// someone else made (or a link put in its place) could hold a journal planted for this run.
std::string OwnFolder(const std::string& dir) {
    const std::string native = Cp1252ToUtf8(dir);
    ::mkdir(native.c_str(), 0700);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return "Der Ordner " + dir + " kann nicht angelegt werden.";
    // One of the user's own that others may enter (made so by an earlier version) is closed.
    if (st.st_uid == ::geteuid() && (st.st_mode & 077) != 0 && ::chmod(native.c_str(), 0700) == 0)
        st.st_mode &= ~mode_t{077};
    if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
        return "Der Ordner " + dir +
               " geh\xF6rt nicht Ihnen allein (Besitzer und Rechte 700 n\xF6tig); das Journal "
               "der Ver\xF6"
               "ffentlichung wird dort nicht gef\xFChrt.";
    return {};
}

// The folder of the journals: $XDG_CACHE_HOME/pagloom/publish or ~/.cache/pagloom/publish.
void JournalFolder(PublishOptions& options) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string home = HomeFolder();
    if ((!cache || !*cache) && home.empty()) {
        options.journalProblem =
            "Kein Ordner f\xFCr das Journal der Ver\xF6"
            "ffentlichung: weder XDG_CACHE_HOME noch ein Benutzerordner ist bekannt.";
        return;
    }
    std::string dir = cache && *cache ? Utf8ToCp1252(cache) : Utf8ToCp1252(home) + "/.cache";
    ::mkdir(Cp1252ToUtf8(dir).c_str(), 0700);
    for (const char* part : {"pagloom", "publish"}) {
        dir = JoinPath(dir, part);
        options.journalProblem = OwnFolder(dir);
        if (!options.journalProblem.empty()) return;
    }
    options.journalDir = dir;
}

// Whether `inner` lies within the folder `outer` (both as they finally lead, through links).
bool Inside(const std::string& inner, const std::string& outer) {
    auto real = [](const std::string& path) {
        std::string out;
        if (char* r = ::realpath(Cp1252ToUtf8(path).c_str(), nullptr)) {
            out = r;
            std::free(r);
        }
        return out;
    };
    const std::string a = real(inner), b = real(outer);
    if (a.empty() || b.empty() || a.size() <= b.size() || a.compare(0, b.size(), b) != 0)
        return false;
    return b == "/" || a[b.size()] == '/';
}

}  // namespace

PublishOptions ProjectPublishOptions(const ProjectSettings& settings, const PublishTarget& target,
                                     const std::string& projectFile) {
    PublishOptions options;
    const size_t slash = projectFile.rfind('/');
    options.project = slash == std::string::npos ? projectFile : projectFile.substr(slash + 1);
    JournalFolder(options);
    options.projectId = target.projectId;
    // The pages the visitor enters by go last, so they never point at pages not there yet.
    for (SiteFileKind kind : kEntryPages)
        if (SiteFileDue(settings, kind)) options.lastFiles.push_back(SiteFileName(settings, kind));
    options.deleteRemoved = target.deleteRemoved;
    options.connections = target.connections;
    return options;
}

std::string UserKnownHosts() {
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : Utf8ToCp1252(home) + "/.ssh/known_hosts";
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
        // One inside the other would copy the site into itself once more with every run, or
        // publish the target's old copies as pages.
        if (Inside(folder, access.site) || Inside(access.site, folder)) {
            c.error =
                "Das Ziel zum Ver\xF6"
                "ffentlichen " +
                folder + " und das Zielverzeichnis " + access.site +
                " liegen ineinander; das eine darf nicht im anderen liegen.";
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
    ConnectResult connected = first->Connect();
    if (!connected.ok) {
        c.error = std::move(connected.error);
        c.unknownKey = connected.unknownKey;
        c.changedKey = connected.changedKey;
        c.fingerprint = std::move(connected.fingerprint);
        return c;
    }
    c.store = std::move(first);
    // The password lives on only as long as the factory, and is wiped with it.
    struct Kept : TargetAccess {
        explicit Kept(const TargetAccess& a) : TargetAccess(a) {}
        ~Kept() { std::fill(password.begin(), password.end(), '\0'); }
    };
    auto kept = std::make_shared<Kept>(access);
    c.more = [target, kept, protocol]() -> std::unique_ptr<RemoteStore> {
        std::unique_ptr<ServerStore> another = protocol->makeStore(target, *kept);
        if (!another->Connect().ok) return nullptr;
        return another;
    };
    return c;
}

}  // namespace pagloom
