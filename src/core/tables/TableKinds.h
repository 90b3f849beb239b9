// SPDX-License-Identifier: MIT
// The table of table kinds: per kind of table a content slot can hold (Paradox, dBase, FoxPro,
// CSV, ODBC data source, none) its code in the model, its key text in the project file, how the
// table selection dialog offers it, how its rows are read, how a slot's stored table of the kind
// is opened and how a chosen table of the kind is taken over. Whatever differs between kinds is
// asked of this table, so a new engine is a reader and one row here.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "model/TPrjParams.h"

namespace pagloom {

class ContentTables;
class EngineTable;
class FileSystem;
class Host;
class RowStore;
struct Project;
struct TableChoice;

// Which of a slot's table objects holds a table of the kind.
enum class TableHolder {
    None,      // the slot holds no table
    Imported,  // the slot's MemoryTable, filled by importing the file with the slot's settings
    Engine,    // the slot's EngineTable, which reads the rows through the kind's reader
};

struct TableKind {
    std::uint8_t code = kNoneTable;  // the value of TPrjParams::TableKind
    const char* keyText = nullptr;   // the project file's table_type value
    TableHolder holder = TableHolder::None;
    // The stored database is a folder (taken from the project file's folder when relative) and
    // the table a file in it; otherwise the database is the name of a data source.
    bool inFolder = false;
    // The file type of the table selection dialog: its entry in the type list, its file filter
    // and the filter's name patterns. Null for a kind not chosen as a file.
    const char* fileType = nullptr;
    const char* fileFilter = nullptr;
    std::span<const char* const> filePatterns = {};
    // Tried after a table name without extension when only that file exists; null for none.
    const char* extension = nullptr;
    // Precedes the table name in the message when a project's stored table does not open.
    const char* openFailed = nullptr;
    // Reads all rows of an engine table of the kind; throws TableError. Null unless the holder
    // is the engine.
    void (*readRows)(FileSystem& fs, const EngineTable& table, RowStore& rows) = nullptr;
    // Opens the stored table of a slot after the project was read (OpenSlotTables): fills the
    // slot's name display and field list, or shows openFailed and empties them. Null for none.
    bool (*openSlot)(Project& project, ContentTables& tables, ContentSlot slot,
                     Host& host) = nullptr;
    // Takes a table chosen in the table selection dialog over into a slot (TakeOverTable).
    // Null when the kind takes nothing over.
    bool (*takeOver)(Project& project, ContentTables& tables, ContentSlot slot,
                     const TableChoice& choice, Host& host) = nullptr;
};

// Every kind once, in the order the table selection dialog lists the file types.
std::span<const TableKind> TableKinds();
// The kind with `code`; the none kind for a code no kind has.
const TableKind& TableKindOf(int code);

// Key text of a kind: "paradox_table" ... "none_table"; "none_table" for codes out of range.
const char* TableKindText(int kind);
// Kind of a key text ("undefined_table" also gives kNoneTable); false for any other text, in
// which case `kind` is left as it was.
bool TableKindFromText(std::string_view text, std::uint8_t& kind);

}  // namespace pagloom
