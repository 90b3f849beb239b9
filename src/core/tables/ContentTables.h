// SPDX-License-Identifier: MIT
// The table objects of the three content slots: per slot one MemoryTable (CSV files) and one
// EngineTable (database tables). An open project document owns one set; opening a project
// refills it. The slot's TableKind picks the object.
#pragma once
#include <array>

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

    // The slot's table object for `kind`: kCsvTable its MemoryTable, kNoneTable none (null),
    // any other kind its EngineTable.
    ContentTable* For(ContentSlot slot, int kind);
    ContentTable* For(const TPrjParams& params, ContentSlot slot) {
        return For(slot, params.TableKind[slot]);
    }

  private:
    FileSystem& fs_;
    std::array<MemoryTable, kSlotCount> memory_;
    std::array<EngineTable, kSlotCount> engine_;
};

}  // namespace pagloom
