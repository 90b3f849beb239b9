// SPDX-License-Identifier: MIT
#include "tables/ContentTables.h"

#include "io/ProjectPaths.h"

namespace pagloom {

static_assert(kSlotCount == 3, "one engine table per slot below");

ContentTables::ContentTables(FileSystem& fs)
    : fs_(fs), engine_{EngineTable(fs), EngineTable(fs), EngineTable(fs)} {}

ContentTable* ContentTables::For(ContentSlot slot, int kind) {
    if (kind == kCsvTable) return &Memory(slot);
    if (kind == kNoneTable) return nullptr;
    return &Engine(slot);
}

std::string ContentTables::SourceDatabase(int kind, const std::string& database,
                                          const std::string& table) const {
    if (kind == kBdeTable || kind == kNoneTable) return database;
    return ProjectTableFolder(projectFile_, database, table);
}

}  // namespace pagloom
