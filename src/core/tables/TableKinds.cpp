// SPDX-License-Identifier: MIT
#include "tables/TableKinds.h"

#include <iterator>

#include "tables/EngineTable.h"
#include "tables/SlotOpening.h"
#include "tables/engines/DbfReader.h"
#include "tables/engines/OdbcSource.h"
#include "tables/engines/ParadoxReader.h"

namespace pagloom {

namespace {

void ReadParadox(FileSystem& fs, const EngineTable& t, RowStore& rows) {
    ReadParadoxTable(fs, t.FilePath(), rows, t.Progress());
}

void ReadDbf(FileSystem& fs, const EngineTable& t, RowStore& rows) {
    ReadDbfTable(fs, t.FilePath(), rows, t.Progress());
}

// Data sources are reached through unixODBC, not through the file system.
void ReadOdbc(FileSystem&, const EngineTable& t, RowStore& rows) {
    ReadOdbcTable(t.Database(), t.TableName(), rows);
}

constexpr const char* kDbfPatterns[] = {"*.dbf"};
constexpr const char* kParadoxPatterns[] = {"*.db"};
constexpr const char* kCsvPatterns[] = {"*.txt", "*.csv"};

constexpr const char* kReadFailed = "Fehler beim Einlesen der Datei:";
constexpr const char* kOpenFailed =
    "Fehler beim \xD6"
    "ffnen der Datei:";

// The none kind comes last: it stands for every code no other kind has.
constexpr TableKind kKinds[] = {
    {.code = kDbaseTable,
     .keyText = "dbase_table",
     .holder = TableHolder::Engine,
     .inFolder = true,
     .fileType = "DBase",
     .fileFilter = "DBase (*.dbf)",
     .filePatterns = kDbfPatterns,
     .extension = ".dbf",
     .openFailed = kReadFailed,
     .readRows = ReadDbf,
     .openSlot = OpenEngineSlotTable,
     .takeOver = SetPredefinedTab},
    {.code = kFoxproTable,
     .keyText = "foxpro_table",
     .holder = TableHolder::Engine,
     .inFolder = true,
     .fileType = "Foxpro",
     .fileFilter = "Foxpro (*.dbf)",
     .filePatterns = kDbfPatterns,
     .extension = ".dbf",
     .openFailed = kReadFailed,
     .readRows = ReadDbf,
     .openSlot = OpenEngineSlotTable,
     .takeOver = SetPredefinedTab},
    {.code = kParadoxTable,
     .keyText = "paradox_table",
     .holder = TableHolder::Engine,
     .inFolder = true,
     .fileType = "Paradox",
     .fileFilter = "Paradox (*.db)",
     .filePatterns = kParadoxPatterns,
     .extension = ".db",
     .openFailed = kReadFailed,
     .readRows = ReadParadox,
     .openSlot = OpenEngineSlotTable,
     .takeOver = SetPredefinedTab},
    {.code = kCsvTable,
     .keyText = "csv_table",
     .holder = TableHolder::Imported,
     .inFolder = true,
     .fileType = "ASCII",
     .fileFilter = "ASCII (*.txt, *.csv)",
     .filePatterns = kCsvPatterns,
     .openFailed = kReadFailed,
     .openSlot = OpenCsvSlotTable,
     .takeOver = SetASCIITab},
    {.code = kBdeTable,
     .keyText = "bde_table",
     .holder = TableHolder::Engine,
     .inFolder = false,
     .openFailed = kOpenFailed,
     .readRows = ReadOdbc,
     .openSlot = OpenEngineSlotTable,
     .takeOver = SetPredefinedTab},
    {.code = kNoneTable, .keyText = "none_table", .holder = TableHolder::None},
};

constexpr const TableKind& kNoneKind = kKinds[std::size(kKinds) - 1];
static_assert(kNoneKind.code == kNoneTable && kNoneKind.holder == TableHolder::None);

}  // namespace

std::span<const TableKind> TableKinds() { return kKinds; }

const TableKind& TableKindOf(int code) {
    for (const TableKind& k : kKinds)
        if (k.code == code) return k;
    return kNoneKind;
}

const char* TableKindText(int kind) { return TableKindOf(kind).keyText; }

bool TableKindFromText(std::string_view text, std::uint8_t& kind) {
    for (const TableKind& k : kKinds) {
        if (text == k.keyText) {
            kind = k.code;
            return true;
        }
    }
    // A second spelling of the none kind that project files may hold.
    if (text == "undefined_table") {
        kind = kNoneTable;
        return true;
    }
    return false;
}

}  // namespace pagloom
