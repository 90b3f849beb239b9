// SPDX-License-Identifier: MIT
// The table objects of the three content slots: per slot one MemoryTable (CSV files) and one
// EngineTable (database tables). Like the data module of the desktop program there is one set
// for the whole run; opening a project refills it. The slot's TableKind picks the object.
#pragma once
#include <array>

#include "model/TPrjParams.h"
#include "tables/EngineTable.h"
#include "tables/MemoryTable.h"

namespace pagloom {

class ContentTables {
  public:
    MemoryTable& Memory(ContentSlot slot) { return memory_[static_cast<size_t>(slot)]; }
    EngineTable& Engine(ContentSlot slot) { return engine_[static_cast<size_t>(slot)]; }

    // The slot's table object for `kind`: kCsvTable its MemoryTable, kNoneTable none (null),
    // any other kind its EngineTable.
    ContentTable* For(ContentSlot slot, int kind);
    ContentTable* For(const TPrjParams& params, ContentSlot slot) {
        return For(slot, params.TableKind[slot]);
    }

    // Empties every slot (a test's fresh start; the program keeps its tables for the run).
    void Reset();

  private:
    std::array<MemoryTable, kSlotCount> memory_;
    std::array<EngineTable, kSlotCount> engine_;
};

// The program's one set of slot tables.
ContentTables& SlotTables();

}  // namespace pagloom
