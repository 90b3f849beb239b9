// SPDX-License-Identifier: MIT
#include "tables/SlotTables.h"

namespace pagloom {

ContentTable* ContentTables::For(ContentSlot slot, int kind) {
    if (kind == kCsvTable) return &Memory(slot);
    if (kind == kNoneTable) return nullptr;
    return &Engine(slot);
}

void ContentTables::Reset() {
    for (ContentSlot s : kAllSlots) {
        Memory(s) = MemoryTable();
        Engine(s) = EngineTable();
    }
}

ContentTables& SlotTables() {
    static ContentTables tables;
    return tables;
}

}  // namespace pagloom
