// SPDX-License-Identifier: MIT
// dBase and FoxPro tables on whole files. The input is the .dbf file, optionally followed by
// "PAGLOOM-MEMO" and the memo file, which is offered under both memo names.
#include <cstdlib>

#include "FuzzSupport.h"
#include "tables/RowStore.h"
#include "tables/TableError.h"
#include "tables/engines/DbfReader.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::SplitInput(data, size, "PAGLOOM-MEMO");
    fuzz::MemoryFs mem;
    mem.files["/fuzz/t.dbf"] = std::string(parts[0]);
    if (parts.size() > 1) {
        mem.files["/fuzz/t.dbt"] = std::string(parts[1]);
        mem.files["/fuzz/t.fpt"] = std::string(parts[1]);
    }
    RowStore store;
    try {
        ReadDbfTable(mem, "/fuzz/t.dbf", store);
    } catch (const TableError& e) {
        if (std::string(e.what()).empty()) std::abort();
        return 0;
    }
    if (store.FieldCount() == 0 || store.ValueCount() != store.RowCount() * store.FieldCount())
        std::abort();
    if (!fuzz::HeldInProportion(store, size)) std::abort();
    return 0;
}
