// SPDX-License-Identifier: MIT
// Dreamweaver templates and pages. The input is a template, optionally followed by
// "\n==PAGE==\n" and an existing page. Builds a fresh instance and merges the page into the
// template.
#include <cstdlib>

#include "FuzzSupport.h"
#include "generator/Dreamweaver.h"
#include "text/TextConversions.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzz::SplitInput(data, size, "\n==PAGE==\n");
    const std::string_view templ = parts[0];
    const std::string_view page = parts.size() > 1 ? parts[1] : std::string_view();
    fuzz::QuietHost host;

    const std::string reference = InstanceReference("/site/Templates/a.dwt", "/site");
    if (reference != "/Templates/a.dwt") std::abort();
    (void)InstanceReference(page.substr(0, 64), templ.substr(0, 64));

    const TextLines templateLines = SplitLines(templ);
    TextLines fresh = templateLines;
    MakeDWInstance(fresh, "/site/Templates/a.dwt", "/site", host);

    TextLines framed = templateLines;
    (void)AddInstanceFrame(framed, "/site/Templates/a.dwt", "/site", host);

    TextLines merged = SplitLines(page);
    MergeDWPage(merged, templateLines, "/site/Templates/a.dwt", "/site", host);

    // A page without regions takes every region from the template, so merging it must give
    // exactly the fresh instance. (An older-style template that still holds a stray
    // "TemplateEndEditable" is renamed only in fresh pages, by design.)
    const TemplateStyle style = TemplateStyleOf(templ);
    if (style == TemplateStyle::dw_mx2004 ||
        ToLowerCp1252(templ).find("templateendeditable") == std::string::npos) {
        TextLines again;
        MergeDWPage(again, templateLines, "/site/Templates/a.dwt", "/site", host);
        if (again != fresh) std::abort();
    }

    (void)MergeDWText(page, JoinLines(fresh), style);
    return 0;
}
