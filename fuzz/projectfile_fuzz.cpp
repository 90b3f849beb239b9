// SPDX-License-Identifier: MIT
// The INI parser and the project file: open in a project document, save over the same file,
// open again. The INI text must be stable (parsing what it writes gives the same text), and the
// menu's shape must survive the save.
#include <cstdlib>

#include "FuzzSupport.h"
#include "document/ProjectDocument.h"
#include "projectfile/IniFile.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string once = IniFile(text).Text();
    if (IniFile(once).Text() != once) std::abort();

    fuzz::MemoryFs mem;
    mem.files["/fuzz/p.plp"] = text;
    fuzz::QuietHost host;
    ProjectDocument first(mem, host);
    // A text without any section is refused as no project; nothing then is saved.
    if (!first.Open("/fuzz/p.plp")) return 0;
    if (!first.Save()) std::abort();
    const Project& p = first.project;

    ProjectDocument second(mem, host);
    if (!second.Open("/fuzz/p.plp")) std::abort();
    const Project& again = second.project;
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
