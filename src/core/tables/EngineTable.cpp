// SPDX-License-Identifier: MIT
#include "tables/EngineTable.h"

#include "io/FileSystem.h"
#include "model/TPrjParams.h"
#include "tables/TableError.h"
#include "tables/engines/DbfReader.h"
#include "tables/engines/OdbcSource.h"
#include "tables/engines/ParadoxReader.h"

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
    const char* ext = kind_ == kParadoxTable ? ".db" : ".dbf";
    if (fs_->FileExists(path + ext)) return path + ext;
    return path;
}

void EngineTable::LoadRows(RowStore& store) {
    switch (kind_) {
        case kParadoxTable:
            ReadParadoxTable(*fs_, FilePath(), store);
            return;
        case kDbaseTable:
        case kFoxproTable:
            ReadDbfTable(*fs_, FilePath(), store);
            return;
        case kBdeTable:
            ReadOdbcTable(database_, table_, store);
            return;
        default:
            throw TableError("Die Tabelle " + table_ +
                             " hat keine Tabellenart, die gelesen werden kann!");
    }
}

std::vector<std::string> ListDatabaseAliases() { return ListOdbcDataSources(); }

std::vector<std::string> ListAliasTables(const std::string& alias) { return ListOdbcTables(alias); }

}  // namespace pagloom
