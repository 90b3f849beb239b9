// SPDX-License-Identifier: MIT
// Project files: the INI reader, LoadProject with its style and table sections, saving over the
// same text, and a build of what was read. A project that was read and saved must read back to
// the same model, and saving that again must give the same text.
#include <cstdlib>

#include "FuzzSupport.h"
#include "generator/BuildDriver.h"
#include "model/Project.h"
#include "projectfile/IniFile.h"
#include "projectfile/ProjectFile.h"
#include "tables/SlotOpening.h"

using namespace pagloom;

namespace {

bool SameMenu(const TWebMenu& a, const TWebMenu& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i) {
        const TWebMenuItem& x = a.Item(i);
        const TWebMenuItem& y = b.Item(i);
        if (x.Text != y.Text || x.FileName != y.FileName || x.Active != y.Active) return false;
        if (bool(x.SubMenu) != bool(y.SubMenu)) return false;
        if (x.SubMenu && !SameMenu(*x.SubMenu, *y.SubMenu)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool installed = (InstallSlotTableOpener(), true);
    (void)installed;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const IniFile ini(text);
    TCSS css;
    ReadCssSection(ini, kMainMenuLevel, css);
    ReadCssSection(ini, kSubMenuLevel, css);
    int value = 0;
    (void)IniFile::ParseInteger(text.substr(0, 24), value);

    fuzz::ScopedMemoryFs mem;
    mem.fs.files["/fuzz/p.plp"] = text;
    fuzz::QuietHost host;
    Project p;
    LoadProject(p, "/fuzz/p.plp", host);

    const std::string saved = ProjectFileText(p, text, "01.01.2026 00:00:00", "2.0.1");
    mem.fs.files["/fuzz/p.plp"] = saved;
    Project q;
    LoadProject(q, "/fuzz/p.plp", host);
    if (!(q.PrjParams == p.PrjParams) || !(q.Tables == p.Tables) ||
        !SameMenu(q.MainMenu, p.MainMenu))
        std::abort();
    if (ProjectFileText(q, saved, "01.01.2026 00:00:00", "2.0.1") != saved) std::abort();

    mem.fs.CreateDirectory("/out");
    BuildDialog dialog;
    dialog.Destination = "/out";
    PresetRegionOverwrite(p, dialog);
    (void)MakeStartClick(dialog, p, "/fuzz/p.plp", host);
    return 0;
}
