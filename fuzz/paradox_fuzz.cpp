// SPDX-License-Identifier: MIT
// Paradox tables on whole files. The input is the .db file, optionally followed by
// "PAGLOOM-MEMO" and the .mb memo file.
#include <cstdlib>

#include "FuzzSupport.h"
#include "tables/RowStore.h"
#include "tables/TableError.h"
#include "tables/engines/ParadoxReader.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::SplitInput(data, size, "PAGLOOM-MEMO");
    fuzz::MemoryFs mem;
    mem.files["/fuzz/t.db"] = std::string(parts[0]);
    if (parts.size() > 1) mem.files["/fuzz/t.mb"] = std::string(parts[1]);
    RowStore store;
    try {
        ReadParadoxTable(mem, "/fuzz/t.db", store);
    } catch (const TableError& e) {
        if (std::string(e.what()).empty()) std::abort();
        return 0;
    }
    if (store.ValueCount() != store.RowCount() * store.FieldCount()) std::abort();
    if (!fuzz::HeldInProportion(store, size)) std::abort();
    return 0;
}
