// SPDX-License-Identifier: MIT
#include "tables/ContentTables.h"

#include "io/ProjectPaths.h"
#include "tables/TableKinds.h"

namespace pagloom {

static_assert(kSlotCount == 3, "one engine table per slot below");

ContentTables::ContentTables(FileSystem& fs)
    : fs_(fs), engine_{EngineTable(fs), EngineTable(fs), EngineTable(fs)} {
    for (EngineTable& t : engine_) t.SetProgress(&progress_);
}

ContentTable* ContentTables::For(ContentSlot slot, int kind) {
    switch (TableKindOf(kind).holder) {
        case TableHolder::Imported:
            return &Memory(slot);
        case TableHolder::Engine:
            return &Engine(slot);
        case TableHolder::None:
            break;
    }
    return nullptr;
}

std::string ContentTables::SourceDatabase(int kind, const std::string& database,
                                          const std::string& table) const {
    if (!TableKindOf(kind).inFolder) return database;
    return ProjectTableFolder(projectFile_, database, table);
}

EngineTable& ContentTables::SetEngineSource(ContentSlot slot, int kind, const std::string& database,
                                            const std::string& table) {
    EngineTable& t = Engine(slot);
    t.SetSource(kind, SourceDatabase(kind, database, table), table);
    return t;
}

void ContentTables::RenewSource(const TPrjParams& params, ContentSlot slot) {
    const int kind = params.TableKind[slot];
    if (TableKindOf(kind).holder == TableHolder::Engine)
        SetEngineSource(slot, kind, params.DatabaseName[slot], params.TableName[slot]);
}

}  // namespace pagloom
