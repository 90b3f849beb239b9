// SPDX-License-Identifier: MIT
// Opening the content slots' tables: when a project has been read (the project document calls
// OpenSlotTables with its tables) and when the user takes over a table chosen in the table
// selection dialog. Each fills
// the slot's name display and field list in the model, which the main window shows and the
// generator asks ("is the slot's table in use", "which field names count in templates").
#pragma once
#include <string>
#include <vector>

#include "model/Project.h"
#include "tables/ContentTables.h"

namespace pagloom {

class Host;

// What the table selection dialog has chosen: kind (0 Paradox, 1 dBase, 2 FoxPro, 3 CSV,
// 4 alias), database (folder or alias), table (file or table name) and, for CSV, the import
// settings.
struct TableChoice {
    int kind = kNoneTable;
    std::string database;
    std::string table;
    char quote = '\'';
    char separator = ',';
    bool hasCaptionRow = false;
    bool blanksInValues = false;
    // A CSV file's rows as the table selection dialog already read them with these settings
    // (not owned): the slot shares them instead of reading the file again, and the dialog
    // keeps showing them, so a second take-over needs no read either.
    const MemoryTable* readRows = nullptr;
    // The same for a database table (not owned): when it holds the chosen kind, database and
    // table, the slot's engine table shares its rows instead of reading the table again.
    const EngineTable* readTable = nullptr;
};

// After ReadTableSection: per slot in order, opens the table by its kind's openSlot (file
// tables, CSV files, aliases) in `tables`, fills name display and field list, selects the
// stored columns;
// a slot whose table does not open shows "Fehler beim Einlesen der Datei:<name>" (aliases
// "Fehler beim Öffnen der Datei:<name>") and gets an empty name display and field list, so it
// counts as a slot without a table; its stored source and column settings stay, so saving the
// project writes them back unchanged. Relative table folders are taken from the project file's
// folder (ContentTables::SourceDatabase).
void OpenSlotTables(Project& project, ContentTables& tables, Host& host);

// The two ways of opening a slot's stored table that the table of kinds names. Through the
// slot's engine table: a table whose kind keeps its tables in a folder is only read when its
// file is there. By importing the CSV file with the slot's import settings; a failed import
// also empties the slot's memory table. On failure the kind's openFailed message is shown.
bool OpenEngineSlotTable(Project& project, ContentTables& tables, ContentSlot slot, Host& host);
bool OpenCsvSlotTable(Project& project, ContentTables& tables, ContentSlot slot, Host& host);

// Selects in `items` the first entry equal to choice.name without regard to case, else the
// stored position when it is below the item count (-1 leaves nothing selected). Updates
// `choice` to the selection: its text and position, or "" and -1.
void SelectColumnByNameOrIndex(const std::vector<std::string>& items, ColumnChoice& choice);

// The sub-menu field: chosen like SelectColumnByNameOrIndex, but never the same field as the
// sub-menu slot's match field `mainChoice`: it then moves one down, or up from the last item.
void SelectSubmenuColumn(const std::vector<std::string>& items, const ColumnChoice& mainChoice,
                         ColumnChoice& choice);

// Takes the table chosen in the table selection dialog over into `slot` with its kind's take-over
// function (SetPredefinedTab or SetASCIITab). False when that fails or the kind takes nothing
// over (no table); true: the caller marks the project changed.
bool TakeOverTable(Project& project, ContentTables& tables, ContentSlot slot,
                   const TableChoice& choice, Host& host);

// Take over a database table (a kind an engine reads: 0, 1, 2, 4; any other kind counts as 4)
// into `slot`. On success stores kind, database
// and table in PrjParams, fills name display and field list, and returns true (the caller marks
// the project changed). On failure shows "Fehler beim einlesen der Datei:<table>" and returns
// false; the slot's settings stay as they were.
bool SetPredefinedTab(Project& project, ContentTables& tables, ContentSlot slot,
                      const TableChoice& choice, Host& host);

// Take over a CSV file into `slot`: imports it into the slot's MemoryTable; on success stores
// quote, separator, caption flag, blanks-in-values flag, kind 3, folder and file name, fills name
// display and field list, returns true. On failure shows the importer's message (if any), then
// "Fehler beim einlesen der Datei:<file>", and returns false with the slot's settings unchanged.
bool SetASCIITab(Project& project, ContentTables& tables, ContentSlot slot,
                 const TableChoice& choice, Host& host);

}  // namespace pagloom
