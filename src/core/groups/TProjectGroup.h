// SPDX-License-Identifier: MIT
// A project group: an ordered list of project files that are built together, with the state
// the group window shows and the group file (.plg) it is stored in. No window here: the desktop
// program's group window and pagloom-cli both drive this class.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "io/UserFile.h"

namespace pagloom {

class FileSystem;
class Host;

class TProjectGroup {
  public:
    std::string GroupFileName;  // empty for a new group
    // The fingerprint of the group file's text as last read or saved here, and that file.
    std::optional<FileStamp> DiskStamp;
    std::string DiskStampFile;
    std::vector<std::string> ProjectList;   // project file paths; the same path may repeat
    std::vector<std::string> LastSaveList;  // per entry: its LastSave at the last group build
    bool GroupModified = false;
    bool MakeModified = false;  // cbMakeModified "Nur geänderte Projekte berücksichtigen"
    bool IndexMap = false;      // cbIndexMap "Sitemap-Indexdatei erstellen"
    std::string IndexMapFile;   // edIndexMap, path of the sitemap index file

    // NewProjectGroup: no file, no entries, options off, no index file.
    void New();

    // OpenProjectGroup for a chosen file: replaces everything by the file's contents, missing
    // keys taking their defaults (an entry's path "unknown", an empty index file name the
    // group file's folder followed by "sitemap_index.xml"). Returns false, changing nothing,
    // when the file cannot be read.
    bool Open(FileSystem& fs, const std::string& fileName);

    // FileSave: trims IndexMapFile (an empty one becomes the default name) and replaces the
    // group file atomically: section "projects" rewritten, the three "group" keys overwritten,
    // everything else in the file kept. On failure shows "In <file> kann nicht geschrieben
    // werden", keeps the old file and GroupModified, and returns false.
    // Saved as SaveUserFile saves: through a link to its target, never over a file the user may
    // not write, and asking before it overwrites a file changed elsewhere since it was read or
    // saved here ("Nein" returns false without a message).
    bool FileSave(FileSystem& fs, Host& host);

    // The default index file: the group file's folder (with its final "/") + "sitemap_index.xml".
    std::string DefaultIndexMapFile() const;

    // "Projekte hinzufügen": appends each path with an empty LastSave entry.
    void AddProjects(const std::vector<std::string>& paths);
    // DeleteSelected: for each selected line, top to bottom, removes the first entry with an
    // equal path (letter case ignored) together with its LastSave entry.
    void DeleteSelected(const std::vector<std::string>& selectedLines);
    // Moves the selected entries (indices, any order) one place up or down, together with their
    // LastSave entries. Nothing moves when the first (last) entry is among them or none is
    // selected; returns the indices the selection has afterwards.
    std::vector<int> MoveUp(std::vector<int> selected);
    std::vector<int> MoveDown(std::vector<int> selected);

  private:
    void SwapEntries(int a, int b);
};

// Compares two paths as the group window does: Windows-1252 letters without regard to case.
bool SamePathIgnoringCase(const std::string& a, const std::string& b);

}  // namespace pagloom
