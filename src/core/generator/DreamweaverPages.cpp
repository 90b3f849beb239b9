// SPDX-License-Identifier: MIT
#include "generator/DreamweaverPages.h"

#include <string>

#include "generator/ContentPages.h"
#include "generator/Dreamweaver.h"
#include "generator/TextLines.h"
#include "io/FileSystem.h"
#include "model/Project.h"

namespace pagloom {
namespace {

const std::string& TemplateFile(const BuildContext& ctx) {
    return ctx.Settings().content_page.dw_template_file;
}

// The instance reference is relative to the project's destination setting, not to this
// build's destination: the site is maintained where the project says it lives.
const std::string& ProjectDestination(const BuildContext& ctx) {
    return ctx.Settings().files.destination_directory;
}

void SaveFreshInstance(const BuildContext& ctx, const std::string& path) {
    TextLines lines = ctx.ReadTemplate(TemplateFile(ctx));
    MakeDWInstance(lines, TemplateFile(ctx), ProjectDestination(ctx), ctx.host);
    ctx.Save(path, lines);
}

void SaveMergedPage(const BuildContext& ctx, const std::string& path) {
    TextLines page = ctx.ReadLines(path);
    const TextLines tpl = ctx.ReadTemplate(TemplateFile(ctx));
    MergeDWPage(page, tpl, TemplateFile(ctx), ProjectDestination(ctx), ctx.host);
    ctx.Save(path, page);
}

}  // namespace

void WriteDWPages(const BuildContext& ctx) {
    const ProjectSettings& s = ctx.Settings();
    if (s.firstpage.firstpage.Is(kOn)) {
        const std::string path = FirstPagePath(ctx);
        if (ctx.WriteRuleAllows(path, s.firstpage.overwrite_firstpage)) {
            if (s.firstpage.firstpage_from_template)
                SaveFreshInstance(ctx, path);
            else
                WriteEmptyPage(ctx, path, kFirstPageName);
        }
    }
    const bool overwrite = s.content_page.dw_template_update;
    ForEachContentPage(ctx, [&](const TWebMenuItem& e) {
        const std::string path = ctx.PathOf(e.FileName);
        if (ctx.WriteRuleAllows(path, overwrite)) SaveFreshInstance(ctx, path);
    });
}

void UpdateDWPages(const BuildContext& ctx) {
    const ProjectSettings& s = ctx.Settings();
    if (s.firstpage.firstpage.Is(kOn)) {
        const std::string path = FirstPagePath(ctx);
        const bool exists = ctx.FileExists(path);
        if (s.firstpage.overwrite_firstpage || !exists) {
            if (!s.firstpage.firstpage_from_template)
                WriteEmptyPage(ctx, path, kFirstPageName);
            else if (exists)
                SaveMergedPage(ctx, path);
            else
                SaveFreshInstance(ctx, path);
        } else {
            ctx.Skip(path);
        }
    }
    const bool update = s.content_page.dw_template_update;
    ForEachContentPage(ctx, [&](const TWebMenuItem& e) {
        const std::string path = ctx.PathOf(e.FileName);
        if (!ctx.FileExists(path))
            SaveFreshInstance(ctx, path);
        else if (update)
            SaveMergedPage(ctx, path);
        else
            ctx.Skip(path);
    });
}

}  // namespace pagloom
