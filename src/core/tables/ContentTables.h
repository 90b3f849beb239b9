// SPDX-License-Identifier: MIT
// The table objects of the three content slots: per slot one MemoryTable (CSV files) and one
// EngineTable (database tables). An open project document owns one set; opening a project
// refills it. The slot's TableKind picks the object (TableKind::holder).
#pragma once
#include <array>
#include <string>

#include "model/TPrjParams.h"
#include "tables/EngineTable.h"
#include "tables/MemoryTable.h"

namespace pagloom {

class FileSystem;

class ContentTables {
  public:
    // The tables read their files through `fs`, which must outlive them.
    explicit ContentTables(FileSystem& fs);
    ContentTables(const ContentTables&) = delete;
    ContentTables& operator=(const ContentTables&) = delete;

    MemoryTable& Memory(ContentSlot slot) { return memory_[static_cast<size_t>(slot)]; }
    EngineTable& Engine(ContentSlot slot) { return engine_[static_cast<size_t>(slot)]; }
    // The file system the tables (and the CSV files imported into them) are read from.
    FileSystem& Files() const { return fs_; }
    // How far the slot table being read has come (a window shows it while a project opens).
    ReadProgress& Progress() { return progress_; }

    // The slot's table object for `kind`, as the kind's holder says: its MemoryTable for an
    // imported kind (CSV), its EngineTable for a kind an engine reads, none (null) otherwise.
    ContentTable* For(ContentSlot slot, int kind);
    ContentTable* For(const TPrjParams& params, ContentSlot slot) {
        return For(slot, params.TableKind[slot]);
    }

    // The open project's file ("" for one never saved): relative table folders are taken from
    // its folder. The project document sets it.
    void SetProjectFile(std::string path) { projectFile_ = std::move(path); }
    // The database to open for a stored table source: the folder of a kind whose tables are
    // files (TableKind::inFolder) read from the project file's folder (ProjectTableFolder); an
    // alias name as it stands.
    std::string SourceDatabase(int kind, const std::string& database,
                               const std::string& table) const;
    // Gives the slot's engine table the source `kind`, `database` (as SourceDatabase makes it)
    // and `table`; it forgets rows read before.
    EngineTable& SetEngineSource(ContentSlot slot, int kind, const std::string& database,
                                 const std::string& table);
    // When an engine reads the slot's stored kind, gives its engine table the stored source
    // again, so the next Open reads the table as it is now. Imported rows (CSV) stay as they are.
    void RenewSource(const TPrjParams& params, ContentSlot slot);

  private:
    FileSystem& fs_;
    std::string projectFile_;
    ReadProgress progress_;
    std::array<MemoryTable, kSlotCount> memory_;
    std::array<EngineTable, kSlotCount> engine_;
};

}  // namespace pagloom
