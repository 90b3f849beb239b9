// SPDX-License-Identifier: MIT
#include "tables/SlotOpening.h"

#include <new>

#include "io/FileSystem.h"
#include "ports/Host.h"
#include "tables/CsvImport.h"
#include "tables/TableError.h"
#include "tables/TableKinds.h"
#include "tables/TextFold.h"

namespace pagloom {

namespace {

const char* const kTakeOverFailed = "Fehler beim einlesen der Datei:";

std::vector<std::string> FieldNames(const ContentTable& t) {
    std::vector<std::string> names;
    for (size_t i = 0; i < t.FieldCount(); ++i) names.push_back(t.FieldName(i));
    return names;
}

// Opens the table, takes its field names and closes it again. False when it does not open;
// `reason` then says why (the reader's message), for the details of the specified message.
bool ReadFields(ContentTable& t, std::vector<std::string>& fields, std::string* reason = nullptr) {
    try {
        t.Open();
    } catch (const TableError& e) {
        if (reason) *reason = e.what();
        t.Close();
        return false;
    } catch (const std::bad_alloc&) {
        // A damaged table may ask for more memory than there is: a message, not an end.
        if (reason) *reason = "Zu wenig Arbeitsspeicher, um die Tabelle einzulesen.";
        t.Close();
        return false;
    }
    fields = FieldNames(t);
    t.Close();
    return true;
}

// The field combos of a slot lose their selection when the field list is emptied.
void ClearColumns(Project& p, ContentSlot slot) {
    if (slot == ContentSlot::mainmenu) p.Tables.mainmenu.col_mainmenu = {};
    if (slot == ContentSlot::submenu) {
        p.Tables.submenu.col_mainmenu = {};
        p.Tables.submenu.col_submenu = {};
    }
}

}  // namespace

bool OpenEngineSlotTable(Project& p, ContentTables& tables, ContentSlot slot, Host& host) {
    SlotTableSettings& s = p.Tables.Slot[slot];
    s.fields.clear();
    const TPrjParams& pp = p.PrjParams;
    const TableKind& kind = TableKindOf(pp.TableKind[slot]);
    EngineTable& t =
        tables.SetEngineSource(slot, kind.code, pp.DatabaseName[slot], pp.TableName[slot]);
    std::string reason;
    if ((!kind.inFolder || tables.Files().FileExists(t.FilePath())) &&
        ReadFields(t, s.fields, &reason)) {
        s.name_display = pp.TableName[slot];
        return true;
    }
    host.ShowMessageWithDetails(kind.openFailed + pp.TableName[slot], reason);
    s.name_display.clear();
    return false;
}

bool OpenCsvSlotTable(Project& p, ContentTables& tables, ContentSlot slot, Host& host) {
    SlotTableSettings& s = p.Tables.Slot[slot];
    const TPrjParams& pp = p.PrjParams;
    const TableKind& kind = TableKindOf(pp.TableKind[slot]);
    s.fields.clear();
    const std::string path =
        JoinPath(tables.SourceDatabase(kind.code, pp.DatabaseName[slot], pp.TableName[slot]),
                 pp.TableName[slot]);
    MemoryTable& t = tables.Memory(slot);
    bool ok = false;
    std::string reason;
    if (tables.Files().FileExists(path)) {
        try {
            ok = ImportCsvFile(tables.Files(), host, path, pp.SeparatorChar[slot],
                               pp.QuoteChar[slot], pp.HasCaptionRow[slot], t,
                               pp.BlanksInValues[slot], &tables.Progress()) &&
                 ReadFields(t, s.fields, &reason);
        } catch (const TableError& e) {
            reason = e.what();
            ok = false;
        }
    }
    if (ok) {
        s.name_display = pp.TableName[slot];
        return true;
    }
    // No rows of a table read before may stand in for the one that failed.
    t.Assign(RowStore(), {});
    host.ShowMessageWithDetails(kind.openFailed + pp.TableName[slot], reason);
    s.name_display.clear();
    return false;
}

void SelectColumnByNameOrIndex(const std::vector<std::string>& items, ColumnChoice& choice) {
    const int count = static_cast<int>(items.size());
    int selected = -1;
    for (int i = 0; i < count && selected < 0; ++i)
        if (SameText1252(items[static_cast<size_t>(i)], choice.name)) selected = i;
    if (selected < 0 && choice.index >= 0 && choice.index < count) selected = choice.index;
    choice = selected < 0 ? ColumnChoice{}
                          : ColumnChoice{items[static_cast<size_t>(selected)], selected};
}

void SelectSubmenuColumn(const std::vector<std::string>& items, const ColumnChoice& mainChoice,
                         ColumnChoice& choice) {
    const int count = static_cast<int>(items.size());
    int selected = -1;
    for (int i = 0; i < count && selected < 0; ++i)
        if (SameText1252(items[static_cast<size_t>(i)], choice.name)) selected = i;
    if (selected < 0 || selected == mainChoice.index) {
        if (choice.index < count) selected = choice.index < 0 ? -1 : choice.index;
        if (selected == mainChoice.index) {
            if (selected < count - 1)
                ++selected;
            else if (selected > 0)
                --selected;
        }
    }
    choice = selected < 0 ? ColumnChoice{}
                          : ColumnChoice{items[static_cast<size_t>(selected)], selected};
}

void OpenSlotTables(Project& p, ContentTables& tables, Host& host) {
    TPrjParams& pp = p.PrjParams;
    for (ContentSlot slot : kAllSlots) {
        bool opened = false;
        if (!pp.TableName[slot].empty()) {
            // Until this table's reader knows its total, nothing is counted.
            tables.Progress().Start(0);
            const TableKind& kind = TableKindOf(pp.TableKind[slot]);
            opened = kind.openSlot && kind.openSlot(p, tables, slot, host);
        }
        const std::vector<std::string>& fields = p.Tables.Slot[slot].fields;
        if (opened && slot == ContentSlot::mainmenu) {
            SelectColumnByNameOrIndex(fields, p.Tables.mainmenu.col_mainmenu);
        } else if (opened && slot == ContentSlot::submenu) {
            SelectColumnByNameOrIndex(fields, p.Tables.submenu.col_mainmenu);
            SelectSubmenuColumn(fields, p.Tables.submenu.col_mainmenu,
                                p.Tables.submenu.col_submenu);
        }
        // A slot whose table did not open keeps its stored source and columns, so saving the
        // project does not lose them; its empty name display and field list make the generator
        // and the table check treat it as a slot without a table.
    }
}

bool SetPredefinedTab(Project& p, ContentTables& tables, ContentSlot slot,
                      const TableChoice& choice, Host& host) {
    SlotTableSettings& s = p.Tables.Slot[slot];
    s.fields.clear();
    ClearColumns(p, slot);
    // A kind no engine reads is taken for a data source's table.
    const int kind =
        TableKindOf(choice.kind).holder == TableHolder::Engine ? choice.kind : kBdeTable;
    EngineTable& t = tables.SetEngineSource(slot, kind, choice.database, choice.table);
    // The rows the table selection dialog read stand in for reading the table again.
    if (choice.readTable) t.ShareRowsOf(*choice.readTable);
    std::vector<std::string> fields;
    std::string reason;
    if (!ReadFields(t, fields, &reason)) {
        host.ShowMessageWithDetails(kTakeOverFailed + choice.table, reason);
        return false;
    }
    s.fields = std::move(fields);
    p.PrjParams.TableKind[slot] = static_cast<std::uint8_t>(kind);
    p.PrjParams.DatabaseName[slot] = choice.database;
    p.PrjParams.TableName[slot] = choice.table;
    s.name_display = choice.table;
    return true;
}

bool SetASCIITab(Project& p, ContentTables& tables, ContentSlot slot, const TableChoice& choice,
                 Host& host) {
    MemoryTable& t = tables.Memory(slot);
    bool imported = false;
    std::string reason;
    try {
        if (choice.readRows) {
            t.ShareFrom(*choice.readRows);
            imported = true;
        } else {
            const std::string folder =
                tables.SourceDatabase(kCsvTable, choice.database, choice.table);
            imported = ImportCsvFile(tables.Files(), host, JoinPath(folder, choice.table),
                                     choice.separator, choice.quote, choice.hasCaptionRow, t,
                                     choice.blanksInValues);
        }
    } catch (const TableError& e) {
        reason = e.what();
        imported = false;
    }
    if (!imported) {
        host.ShowMessageWithDetails(kTakeOverFailed + choice.table, reason);
        return false;
    }
    SlotTableSettings& s = p.Tables.Slot[slot];
    s.fields.clear();
    ClearColumns(p, slot);
    if (!ReadFields(t, s.fields)) {
        host.ShowMessage(kTakeOverFailed + choice.table);
        return false;
    }
    TPrjParams& pp = p.PrjParams;
    pp.QuoteChar[slot] = choice.quote;
    pp.SeparatorChar[slot] = choice.separator;
    pp.HasCaptionRow[slot] = choice.hasCaptionRow;
    pp.BlanksInValues[slot] = choice.blanksInValues;
    pp.TableKind[slot] = kCsvTable;
    pp.DatabaseName[slot] = choice.database;
    pp.TableName[slot] = choice.table;
    s.name_display = choice.table;
    return true;
}

bool TakeOverTable(Project& p, ContentTables& tables, ContentSlot slot, const TableChoice& choice,
                   Host& host) {
    const TableKind& kind = TableKindOf(choice.kind);
    return kind.takeOver && kind.takeOver(p, tables, slot, choice, host);
}

}  // namespace pagloom
