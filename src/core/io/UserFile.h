// SPDX-License-Identifier: MIT
// Saving the files a user edits and keeps (project and group files), as opposed to the pages a
// build makes: through a symbolic link the file it leads to is saved, a file the user may not
// write is left alone, and a file someone else saved since this program read it is replaced
// only when the user says so.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {

class FileSystem;
class Host;

// A fingerprint of a file's text as read or saved, to tell later whether the file changed.
using FileStamp = std::uint64_t;
FileStamp StampOf(std::string_view text);

enum class UserSave {
    Saved,
    Failed,    // could not be written (or may not be): the old file stays
    Declined,  // changed by someone else since; the user chose not to overwrite it
};

// Replaces the file at `path` with makeText(its current text; empty when there is none).
// - A symbolic link at `path` stays: the file it finally leads to is replaced, atomically in
//   that file's folder.
// - A file the user may not write is not replaced (Failed), though its folder would allow it.
// - `stamp`: the fingerprint of the text this program last read or saved there; when the file
//   now holds another text, the host is asked (Ja/Nein) whether to overwrite it. Afterwards it
//   holds the saved text's fingerprint. None: no check.
// - Temporary files that saves killed part-way left in the folder are removed first.
UserSave SaveUserFile(FileSystem& fs, Host& host, const std::string& path,
                      const std::function<std::string(std::string_view existing)>& makeText,
                      std::optional<FileStamp>* stamp);

// The question asked before overwriting a file that changed since it was read.
std::string ChangedOnDiskQuestion(const std::string& path);

// Removes the temporary files of saves killed part-way from the folder of `path`.
void RemoveLeftoversBeside(FileSystem& fs, const std::string& path);

}  // namespace pagloom
