// SPDX-License-Identifier: MIT
// Reading and writing a project file (.plp, INI text in Windows-1252). Inside a file that
// could be read, whatever cannot be understood takes its default. SaveProject replaces the file in
// one step, so a failed save leaves the previous file as it was.
#pragma once
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "io/UserFile.h"
#include "model/Project.h"
#include "model/TCSS.h"
#include "ports/Host.h"
#include "projectfile/IniFile.h"
#include "tables/TableKinds.h"  // the table section keeps each slot's kind as its key text

namespace pagloom {

// Reads `fileName` into `p`, replacing every setting, the menu, the style records and the
// table settings. A missing or empty file gives every default. A file that exists but cannot
// be read (no permission, an I/O error) is refused: `p` stays as it was, the message
// of ProjectUnreadableMessage names the file, and the result is false. So is a name that is not
// a regular file, and a file with text but no section (NotAProjectMessage). A destination
// folder that does not exist is emptied, after the message "Das Verzeichnis <text> existiert
// nicht!" (for a non-empty text). Reading opens no tables: the slots' name displays and field
// lists are empty until OpenSlotTables (the project document calls it after reading).
// `stamp` (optional) gets the fingerprint of the text read, for SaveProject.
bool LoadProject(Project& p, const std::string& fileName, FileSystem& fs, Host& host,
                 std::optional<FileStamp>* stamp = nullptr);
// "Die Projektdatei <file> kann nicht gelesen werden!"
std::string ProjectUnreadableMessage(const std::string& fileName);
// "Die Projektdatei <file> existiert nicht!", with WindowsPathNote.
std::string ProjectMissingMessage(const std::string& fileName);
// "<file> ist keine Projektdatei!": something under the name that is not a regular file, or a
// file with text but no section.
std::string NotAProjectMessage(const std::string& fileName);
// LoadProject on a file already in memory; `fs` answers whether the destination folder exists.
void ReadProject(Project& p, const IniFile& ini, FileSystem& fs, Host& host);

// Writes `p` into `fileName`, updating an existing file in place (unknown sections and keys
// stay) and creating it otherwise, as SaveUserFile saves (through a link to its target; never
// over a file the user may not write; with `stamp`, asking before it overwrites a file that
// changed since). Returns false after the message "In <fileName> kann nicht geschrieben
// werden" when the file cannot be written, and false without a message when the user chose
// not to overwrite; the old file is then unchanged.
bool SaveProject(const Project& p, const std::string& fileName, FileSystem& fs, Host& host,
                 std::optional<FileStamp>* stamp = nullptr);

// The text SaveProject would write over `existing` (the current file's text, empty for a new
// file), with `lastsave` as project/lastsave.
std::string ProjectFileText(const Project& p, std::string_view existing,
                            const std::string& lastsave, const std::string& version);

// German short date and long time, "dd.mm.yyyy hh:mm:ss".
std::string FormatLastSave(const std::tm& t);

// Section css_1 (kMainMenuLevel) or css_2 (kSubMenuLevel). Reading never fails: missing keys
// take their defaults and a "static" position forces the position invariant.
std::string CssSectionName(MenuLevel level);
void ReadCssSection(const IniFile& ini, MenuLevel level, TCSS& css);
// Clears the section and writes every key of the record in its fixed order.
void WriteCssSection(IniFile& ini, MenuLevel level, const TCSS& css);

// Reads every key of the sections `table` and `table_convert` into p.PrjParams (table sources)
// and p.Tables and empties the slots' name displays and field lists, so every slot counts as
// having no table loaded until its table is opened. Never fails.
void ReadTableSection(const IniFile& ini, Project& p);
// Writes both sections key by key over the old values; other keys in them stay.
void WriteTableSection(IniFile& ini, const Project& p);

}  // namespace pagloom
