// SPDX-License-Identifier: MIT
// Reading and writing a project file (.plp, INI text in Windows-1252). LoadProject never fails:
// whatever cannot be read takes its default. SaveProject replaces the file in one step, so a
// failed save leaves the previous file as it was.
#pragma once
#include <ctime>
#include <string>
#include <string_view>

#include "model/Project.h"
#include "model/TCSS.h"
#include "ports/Host.h"
#include "projectfile/IniFile.h"

namespace pagloom {

// Reads `fileName` into `p`, replacing every setting, the menu, the style records and the
// table settings. A missing, unreadable or non-INI file gives every default. A destination
// folder that does not exist is emptied, after the message "Das Verzeichnis <text> existiert
// nicht!" (for a non-empty text). Other messages come from opening the slots' tables.
void LoadProject(Project& p, const std::string& fileName, Host& host);
// LoadProject on a file already in memory.
void ReadProject(Project& p, const IniFile& ini, Host& host);

// Writes `p` into `fileName`, updating an existing file in place (unknown sections and keys
// stay) and creating it otherwise. Returns false after the message "In <fileName> kann nicht
// geschrieben werden" when the file cannot be written; the old file is then unchanged.
bool SaveProject(const Project& p, const std::string& fileName, Host& host);

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
// and p.Tables, empties the slots' name displays and field lists, then lets the installed
// slot-table opener (below) open the slots' tables. Never fails.
void ReadTableSection(const IniFile& ini, Project& p, Host& host);
// Writes both sections key by key over the old values; other keys in them stay.
void WriteTableSection(IniFile& ini, const Project& p);

// Opening the slots' tables is the tables module's work. After ReadTableSection has read every
// key, it calls the installed opener once. The opener, per slot in order: opens the table named
// by PrjParams (by TableKind) when TableName is non-empty, fills Tables.Slot[s].name_display and
// .fields, turns the stored column choices into actual selections, and for a slot whose table did
// not open shows its message and clears the slot (DatabaseName and TableName empty, kNoneTable,
// columns ""/-1). Without an opener the read values stay as they are, with empty name displays
// and field lists, so every slot counts as having no table loaded.
using SlotTableOpener = void (*)(Project& project, Host& host);
// Installs the opener (nullptr removes it). Front ends install it once at start.
void SetSlotTableOpener(SlotTableOpener opener);

}  // namespace pagloom
