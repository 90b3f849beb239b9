// SPDX-License-Identifier: MIT
// The INI parser and the project file: load, save over the same file, load again. The INI text
// must be stable (parsing what it writes gives the same text), and the menu's shape must survive
// the save.
#include <cstdlib>

#include "FuzzSupport.h"
#include "projectfile/ProjectFile.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string once = IniFile(text).Text();
    if (IniFile(once).Text() != once) std::abort();

    fuzz::MemoryFs mem;
    mem.files["/fuzz/p.plp"] = text;
    fuzz::QuietHost host;
    Project p;
    LoadProject(p, "/fuzz/p.plp", mem, host);
    if (!SaveProject(p, "/fuzz/p.plp", mem, host)) std::abort();

    Project again;
    LoadProject(again, "/fuzz/p.plp", mem, host);
    if (again.MainMenu.Count() != p.MainMenu.Count() ||
        again.MainMenu.ItemIndex != p.MainMenu.ItemIndex)
        std::abort();
    for (int i = 0; i < p.MainMenu.Count(); ++i)
        if (again.MainMenu.Item(i).SubMenu->Count() != p.MainMenu.Item(i).SubMenu->Count())
            std::abort();
    if (again.PrjParams.TableKind != p.PrjParams.TableKind ||
        again.Tables.convert != p.Tables.convert)
        std::abort();
    return 0;
}
