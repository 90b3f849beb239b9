// SPDX-License-Identifier: MIT
#include "generator/ContentPages.h"

#include "generator/HtmlBlocks.h"
#include "model/Project.h"

namespace pagloom {

const char* const kFirstPageName = "Startseite";

TextLines EmptyPageLines(const BuildContext& ctx, std::string_view name) {
    const ContentPageSettings& cp = ctx.Settings().content_page;
    TextLines lines;
    lines.reserve(11);
    AddPageHead(lines, cp.empty_titel_is_menu ? name : std::string_view());
    if (cp.empty_content_is_menu) {
        std::string h1 = "<h1>";
        h1 += name;
        h1 += "</h1>";
        lines.push_back(std::move(h1));
    }
    AddPageFoot(lines);
    return lines;
}

void WriteEmptyPage(const BuildContext& ctx, const std::string& path, std::string_view name) {
    ctx.Save(path, EmptyPageLines(ctx, name));
}

std::string FirstPagePath(const BuildContext& ctx) {
    return ctx.PathOf(ctx.Settings().files.starting_page_file);
}

void WriteEmptyPages(const BuildContext& ctx) {
    const ProjectSettings& s = ctx.Settings();
    if (s.firstpage.firstpage.Is(kOn)) {
        const std::string path = FirstPagePath(ctx);
        if (ctx.WriteRuleAllows(path, s.firstpage.overwrite_firstpage))
            WriteEmptyPage(ctx, path, kFirstPageName);
    }
    const bool overwrite = s.content_page.empty_overwrite;
    ForEachContentPage(ctx, [&](const TWebMenuItem& e) {
        const std::string path = ctx.PathOf(e.FileName);
        if (ctx.WriteRuleAllows(path, overwrite)) WriteEmptyPage(ctx, path, e.Text);
    });
}

void WriteTemplatePages(const BuildContext& ctx) {
    const ProjectSettings& s = ctx.Settings();
    const std::string& templateFile = s.content_page.template_file;
    if (s.firstpage.firstpage.Is(kOn)) {
        const std::string path = FirstPagePath(ctx);
        if (ctx.WriteRuleAllows(path, s.firstpage.overwrite_firstpage)) {
            if (s.firstpage.firstpage_from_template)
                ctx.Save(path, ctx.ReadTemplate(templateFile));
            else
                WriteEmptyPage(ctx, path, kFirstPageName);
        }
    }
    const bool overwrite = s.content_page.template_overwrite;
    ForEachContentPage(ctx, [&](const TWebMenuItem& e) {
        const std::string path = ctx.PathOf(e.FileName);
        // Read for every page, so a template that changes or vanishes mid-build is noticed
        // at the page that needs it.
        if (ctx.WriteRuleAllows(path, overwrite)) ctx.Save(path, ctx.ReadTemplate(templateFile));
    });
}

}  // namespace pagloom
