// SPDX-License-Identifier: MIT
// EngineTable: a slot's database table (Paradox, dBase, FoxPro file, or a table of an ODBC data
// source). It is told its kind, database and table name, then opened like any ContentTable.
// The rows are read on the first Open and kept, so a build that opens the table once per page
// reads the table only once; Reload() makes the next Open read it afresh.
#pragma once
#include <string>
#include <vector>

#include "tables/ContentTable.h"
#include "tables/ReadProgress.h"

namespace pagloom {

class FileSystem;

class EngineTable : public StoredTable {
  public:
    // File tables are read through `fs`, which must outlive the table.
    explicit EngineTable(FileSystem& fs) : fs_(&fs) {}

    // kind: a code of the table of kinds whose rows an engine reads: 0 Paradox, 1 dBase,
    // 2 FoxPro (database = folder, table = file name), 4 ODBC data source (database = its name,
    // table = a table of it). Forgets rows read before.
    void SetSource(int kind, std::string database, std::string tableName);
    int Kind() const { return kind_; }
    const std::string& Database() const { return database_; }
    const std::string& TableName() const { return table_; }

    // The next Open reads the table again.
    void Reload() { Unload(); }

    // Where a file table's reader counts its records (none: not counted).
    void SetProgress(ReadProgress* progress) { progress_ = progress; }
    ReadProgress* Progress() const { return progress_; }

    // Holds the rows `other` has read, without copying them, when it has this table's kind,
    // database and table (a table read elsewhere need not be read again); both tables share
    // them. False, changing nothing, for another source or rows not read.
    bool ShareRowsOf(const EngineTable& other);

    // The file a file table reads: folder and table name joined; a name without extension gets
    // the kind's usual one (".db", ".dbf": TableKind::extension) when only that file exists.
    std::string FilePath() const;

  protected:
    void LoadRows(RowStore& store) override;

  private:
    FileSystem* fs_;
    ReadProgress* progress_ = nullptr;
    int kind_ = 5;
    std::string database_;
    std::string table_;
};

// The database engine's listings for the table selection dialog.
// Named aliases: the ODBC data sources.
std::vector<std::string> ListDatabaseAliases();
// The tables of an alias, without system tables. Throws TableError when it cannot be reached.
std::vector<std::string> ListAliasTables(const std::string& alias);

}  // namespace pagloom
