// SPDX-License-Identifier: MIT
#include "generator/SiteFiles.h"

#include "generator/MenuEntries.h"
#include "model/Project.h"

namespace pagloom {

std::string IncludeFileName(std::string_view menuFrameFile) {
    const size_t slash = menuFrameFile.find_last_of("/\\");
    const size_t dot = menuFrameFile.rfind('.');
    std::string name(menuFrameFile);
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        name.resize(dot);
    return name + "_include.htm";
}

namespace {

void AddMenuPages(const TWebMenu& menu, std::vector<SiteFile>& files) {
    ForEachWrittenEntry(menu, [&](const TWebMenuItem& e, bool) {
        files.push_back({SiteFileKind::MenuPage, e.FileName});
    });
}

// A build from tables makes the pages of every entry, active or not: the first page, then
// every main entry's page, then every sub entry's page.
void AddTablePages(const Project& project, std::vector<SiteFile>& files) {
    const ProjectSettings& s = project.Settings;
    const auto& slots = project.Tables.Slot;
    auto makes = [&](ContentSlot slot) {
        return SlotMakesPages(slots[slot].content_source, slots[slot].template_file);
    };
    if (makes(ContentSlot::firstpage) && s.firstpage.firstpage.Is(kOn))
        files.push_back({SiteFileKind::FirstPage, s.files.starting_page_file});
    const TWebMenu& menu = project.MainMenu;
    if (makes(ContentSlot::mainmenu))
        for (int i = 0; i < menu.Count(); ++i)
            files.push_back({SiteFileKind::TablePage, menu.Item(i).FileName});
    if (makes(ContentSlot::submenu))
        for (int i = 0; i < menu.Count(); ++i)
            if (const TWebMenu* sub = menu.Item(i).SubMenu.get())
                for (int j = 0; j < sub->Count(); ++j)
                    files.push_back({SiteFileKind::TablePage, sub->Item(j).FileName});
}

}  // namespace

bool SlotMakesPages(int source, const std::string& templateFile) {
    if (source == kSlotEmptyPages) return true;
    return (source == kSlotTemplate || source == kSlotDwTemplate) && !templateFile.empty();
}

std::string SitemapFileName(const SitemapSettings& sitemap) {
    return sitemap.filename.empty() ? std::string("sitemap.xml") : sitemap.filename;
}

std::string SiteFileName(const ProjectSettings& s, SiteFileKind kind) {
    switch (kind) {
        case SiteFileKind::Frameset:
            return s.files.frameset_file;
        case SiteFileKind::Stylesheet:
            return s.files.stylesheet_file;
        case SiteFileKind::MenuScript:
            return s.files.javascript_file;
        case SiteFileKind::MenuInclude:
            return IncludeFileName(s.files.menuframe_file);
        case SiteFileKind::MenuFrame:
            return s.files.menuframe_file;
        case SiteFileKind::TopFrame:
            return s.files.frame_top_file;
        case SiteFileKind::BottomFrame:
            return s.files.frame_bottom_file;
        case SiteFileKind::FirstPage:
            return s.files.starting_page_file;
        case SiteFileKind::Sitemap:
            return SitemapFileName(s.sitemap);
        case SiteFileKind::MenuPage:
        case SiteFileKind::TablePage:
            break;  // named by their menu entries
    }
    return {};
}

bool SiteFileDue(const ProjectSettings& s, SiteFileKind kind) {
    switch (kind) {
        case SiteFileKind::Frameset:
            return s.frameset.frameset.Is(kOn);
        case SiteFileKind::Stylesheet:
            return s.css.css.Is(kOn);
        case SiteFileKind::MenuScript:
            return s.javascript.javascript.Is(kOn);
        case SiteFileKind::MenuInclude:
            return true;
        case SiteFileKind::MenuFrame:
            return s.menu_frame.frame.Is(kOn);
        case SiteFileKind::TopFrame:
            return s.TopFrameWritten();
        case SiteFileKind::BottomFrame:
            return s.BottomFrameWritten();
        case SiteFileKind::Sitemap:
            return s.sitemap.make_sitemap;
        case SiteFileKind::FirstPage:
        case SiteFileKind::MenuPage:
        case SiteFileKind::TablePage:
            break;  // decided by the page source
    }
    return false;
}

std::vector<SiteFile> SiteFileList(const Project& project) {
    const ProjectSettings& s = project.Settings;
    std::vector<SiteFile> files;
    for (SiteFileKind kind : kSingleSiteFiles)
        if (SiteFileDue(s, kind)) files.push_back({kind, SiteFileName(s, kind)});
    if (s.TablesDrive()) {
        AddTablePages(project, files);
    } else {
        switch (s.content_page.source.Selected()) {
            case kEmptyPages:
            case kTemplatePages:
            case kDwTemplatePages:
                if (s.firstpage.firstpage.Is(kOn))
                    files.push_back({SiteFileKind::FirstPage, s.files.starting_page_file});
                AddMenuPages(project.MainMenu, files);
                break;
            default:  // no pages, not even the first page
                break;
        }
    }
    if (SiteFileDue(s, SiteFileKind::Sitemap))
        files.push_back({SiteFileKind::Sitemap, SiteFileName(s, SiteFileKind::Sitemap)});
    return files;
}

bool IsSitePage(SiteFileKind kind) {
    return kind != SiteFileKind::Stylesheet && kind != SiteFileKind::MenuScript &&
           kind != SiteFileKind::Sitemap;
}

}  // namespace pagloom
