// SPDX-License-Identifier: MIT
// The project group file: open, save over the same file, open again. What was read must
// survive the save with the same number of entries and options.
#include <cstdlib>

#include "FuzzSupport.h"
#include "groups/TProjectGroup.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFs mem;
    mem.files["/fuzz/g.plg"] = std::string(reinterpret_cast<const char*>(data), size);
    fuzz::QuietHost host;
    TProjectGroup group;
    if (!group.Open(mem, "/fuzz/g.plg")) std::abort();
    group.MoveDown({0});
    group.MoveUp({static_cast<int>(group.ProjectList.size()) - 1});
    if (!group.FileSave(mem, host)) std::abort();

    TProjectGroup again;
    if (!again.Open(mem, "/fuzz/g.plg")) std::abort();
    if (again.ProjectList.size() != group.ProjectList.size() ||
        again.MakeModified != group.MakeModified || again.IndexMap != group.IndexMap)
        std::abort();
    if (!group.ProjectList.empty()) group.DeleteSelected({group.ProjectList.front()});
    return 0;
}
