// SPDX-License-Identifier: MIT
#include "generator/MenuIncludeWriter.h"

#include "generator/HtmlBlocks.h"
#include "model/Project.h"
#include "text/TextConversions.h"

namespace pagloom {

void MenuIncludeWriter::BuildLines(const BuildContext& ctx, TextLines& lines) const {
    const ProjectSettings& s = ctx.Settings();
    const bool ownPage = s.menu_frame.noscript_kind.Is(kNoscriptIFrame);
    const bool keepTags = s.menu_frame.menuetext_tags;
    if (ownPage) {
        lines.emplace_back(kDoctypeTransitional);
        lines.emplace_back("<html>");
        lines.emplace_back("<head>");
        lines.emplace_back("<title>noscript-menue (iframe)</title>");
        lines.push_back("<link media=\"screen, projection\" href=\"" + s.files.stylesheet_file +
                        "\" type=\"text/css\" rel=\"stylesheet\"/>");
        lines.emplace_back(kMetaContentType);
        lines.emplace_back("</head>");
        lines.emplace_back();
        lines.emplace_back("<body>");
    }
    auto link = [&](const TWebMenuItem& e) {
        return "<li><a href=\"" + e.FileName + "\" target=\"rechts\">" +
               HtmlEscape(e.Text, keepTags) + "</a></li>";
    };
    // Flat lists, each closed before the next opens: consecutive main entries share a main
    // list; the sub entries of one main entry form their own list right after it.
    bool mainListOpen = false;
    const TWebMenu& menu = ctx.project.MainMenu;
    for (int i = 0; i < menu.Count(); ++i) {
        const TWebMenuItem& main = menu.Item(i);
        if (!main.Active) continue;
        if (!mainListOpen) {
            lines.emplace_back("<ul class = \"pagloom_men\">");
            mainListOpen = true;
        }
        lines.push_back(link(main));
        const int subCount = main.SubMenu ? main.SubMenu->Count() : 0;
        for (int j = 0; j < subCount; ++j) {
            const TWebMenuItem& sub = main.SubMenu->Item(j);
            if (!sub.Active) continue;
            if (mainListOpen) {
                lines.emplace_back("</ul>");
                lines.emplace_back("<ul class = \"pagloom_umen\">");
                mainListOpen = false;
            }
            lines.push_back(link(sub));
        }
        if (!mainListOpen) lines.emplace_back("</ul>");
    }
    if (mainListOpen) lines.emplace_back("</ul>");
    if (ownPage) AddPageFoot(lines);
}

}  // namespace pagloom
