// SPDX-License-Identifier: MIT
#include "tables/EngineTable.h"

#include "io/FileSystem.h"
#include "tables/TableError.h"
#include "tables/TableKinds.h"
#include "tables/engines/OdbcSource.h"

namespace pagloom {

void EngineTable::SetSource(int kind, std::string database, std::string tableName) {
    kind_ = kind;
    database_ = std::move(database);
    table_ = std::move(tableName);
    Unload();
}

std::string EngineTable::FilePath() const {
    const std::string path = JoinPath(database_, table_);
    if (table_.find('.') != std::string::npos || fs_->FileExists(path)) return path;
    const char* ext = TableKindOf(kind_).extension;
    if (ext && fs_->FileExists(path + ext)) return path + ext;
    return path;
}

bool EngineTable::ShareRowsOf(const EngineTable& other) {
    if (&other == this || !other.Loaded() || other.kind_ != kind_ || other.database_ != database_ ||
        other.table_ != table_)
        return false;
    ShareRows(other);
    return true;
}

void EngineTable::LoadRows(RowStore& store) {
    const TableKind& kind = TableKindOf(kind_);
    if (!kind.readRows)
        throw TableError("Die Tabelle " + table_ +
                         " hat keine Tabellenart, die gelesen werden kann!");
    kind.readRows(*fs_, *this, store);
}

std::vector<std::string> ListDatabaseAliases() { return ListOdbcDataSources(); }

std::vector<std::string> ListAliasTables(const std::string& alias) { return ListOdbcTables(alias); }

}  // namespace pagloom
