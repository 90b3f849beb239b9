// SPDX-License-Identifier: MIT
// Project files: the INI reader, opening a project (with its style and table sections and its
// tables) in a project document, saving over the same text, and a build of what was read. A project
// that was read and saved must read back to the same model, and saving that again must give the
// same text.
#include <cstdlib>

#include "FuzzSupport.h"
#include "document/ProjectDocument.h"
#include "model/Project.h"
#include "projectfile/IniFile.h"
#include "projectfile/ProjectFile.h"

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
    const std::string text(reinterpret_cast<const char*>(data), size);

    const IniFile ini(text);
    TCSS css;
    ReadCssSection(ini, kMainMenuLevel, css);
    ReadCssSection(ini, kSubMenuLevel, css);
    int value = 0;
    (void)IniFile::ParseInteger(text.substr(0, 24), value);

    fuzz::MemoryFs mem;
    mem.files["/fuzz/p.plp"] = text;
    fuzz::QuietHost host;
    ProjectDocument doc(mem, host);
    doc.Open("/fuzz/p.plp");
    const Project& p = doc.project;

    const std::string saved = ProjectFileText(p, text, "01.01.2026 00:00:00", "2.0.1");
    mem.files["/fuzz/p.plp"] = saved;
    ProjectDocument again(mem, host);
    again.Open("/fuzz/p.plp");
    const Project& q = again.project;
    if (!(q.PrjParams == p.PrjParams) || !(q.Tables == p.Tables) ||
        !SameMenu(q.MainMenu, p.MainMenu))
        std::abort();
    if (ProjectFileText(q, saved, "01.01.2026 00:00:00", "2.0.1") != saved) std::abort();

    mem.CreateDirectory("/out");
    doc.Build.Destination = "/out";
    doc.PresetRegionChoice();
    (void)doc.MakeStart();
    return 0;
}
