// SPDX-License-Identifier: MIT
#include "io/UserFile.h"

#include <vector>

#include "io/FileSystem.h"
#include "ports/Host.h"

namespace pagloom {

FileStamp StampOf(std::string_view text) {
    // FNV-1a: stable across runs and builds, which std::hash need not be.
    FileStamp h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h ^ text.size();
}

std::string ChangedOnDiskQuestion(const std::string& path) {
    return "Die Datei " + path +
           " wurde ge\xE4ndert, seit sie hier ge\xF6"
           "ffnet oder gespeichert wurde. Trotzdem \xFC"
           "berschreiben?";
}

void RemoveLeftoversBeside(FileSystem& fs, const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : path.substr(0, slash);
    std::vector<std::string> names;
    if (fs.ListNames(dir, names)) RemoveTemporaryLeftovers(fs, dir, names);
}

UserSave SaveUserFile(FileSystem& fs, Host& host, const std::string& path,
                      const std::function<std::string(std::string_view existing)>& makeText,
                      std::optional<FileStamp>* stamp) {
    const std::string target = fs.FollowLinks(path);
    RemoveLeftoversBeside(fs, target);
    std::string existing;
    fs.ReadAll(target, existing);  // a new file starts from nothing
    if (stamp && *stamp && StampOf(existing) != **stamp &&
        host.Ask(ChangedOnDiskQuestion(path), false) != Answer::Yes)
        return UserSave::Declined;
    // The rename that replaces a file needs only the folder's permission; a file the user has
    // made read-only must stay as it is all the same.
    if (!fs.MayWrite(target)) return UserSave::Failed;
    const std::string text = makeText(existing);
    if (!WriteFileAtomic(fs, target, text)) return UserSave::Failed;
    if (stamp) *stamp = StampOf(text);
    return UserSave::Saved;
}

}  // namespace pagloom
