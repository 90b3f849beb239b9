// SPDX-License-Identifier: MIT
#include "publish/RemoteStore.h"

#include "io/FileSystem.h"
#include "publish/Manifest.h"

namespace pagloom {

std::string UnknownKeyMessage(const std::string& host, const std::string& fingerprint) {
    return "Der Schl\xFC"
           "ssel des Servers " +
           host + " ist unbekannt: " + fingerprint + ". Wenn er stimmt: --accept-host-key " +
           fingerprint;
}

std::string ChangedKeyMessage(const std::string& host, const std::string& fingerprint) {
    return "WARNUNG: Der Schl\xFC"
           "ssel des Servers " +
           host + " hat sich ge\xE4ndert (jetzt " + fingerprint + "). Nichts wird gesendet.";
}

std::string FolderStore::Path(const std::string& name) const { return JoinPath(root_, name); }

RemoteStore::Got FolderStore::Get(const std::string& name, std::string& out, std::string& error) {
    // An endless manifest is not read: its reader refuses what is larger than it may be.
    if (name == kManifestName)
        if (const std::optional<std::uint64_t> size = Size(name);
            size && *size > kMaxManifestBytes) {
            out.assign(kMaxManifestBytes + 1, ' ');
            return Got::Read;
        }
    switch (fs_.Read(Path(name), out)) {
        case FileSystem::ReadState::Read:
            return Got::Read;
        case FileSystem::ReadState::Missing:
            return Got::Missing;
        case FileSystem::ReadState::Unreadable:
            break;
    }
    error = "kann nicht gelesen werden";
    return Got::Failed;
}

bool FolderStore::Put(const std::string& name, std::string_view data, std::string& error) {
    fs_.Remove(Path(name));  // a temporary name left by a broken run
    if (fs_.WriteNew(Path(name), data)) return true;
    fs_.Remove(Path(name));
    error = "kann nicht geschrieben werden";
    return false;
}

bool FolderStore::Replace(const std::string& from, const std::string& to, std::string& error) {
    if (fs_.Rename(Path(from), Path(to))) return true;
    error = "kann nicht umbenannt werden";
    return false;
}

bool FolderStore::Remove(const std::string& name, std::string& error) {
    if (fs_.Remove(Path(name)) || !fs_.Exists(Path(name))) return true;
    error = "kann nicht entfernt werden";
    return false;
}

std::optional<std::uint64_t> FolderStore::Size(const std::string& name) {
    std::string data;
    if (fs_.Read(Path(name), data) != FileSystem::ReadState::Read) return std::nullopt;
    return data.size();
}

bool FolderStore::MakeFolders(const std::string& folder, std::string& error) {
    std::string path = root_;
    size_t start = 0;
    while (start < folder.size()) {
        size_t end = folder.find('/', start);
        if (end == std::string::npos) end = folder.size();
        path = JoinPath(path, folder.substr(start, end - start));
        if (!fs_.DirectoryExists(path) && !fs_.CreateDirectory(path)) {
            error = "Ordner " + path + " kann nicht angelegt werden";
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace pagloom
