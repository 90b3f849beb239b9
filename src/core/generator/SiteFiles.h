// SPDX-License-Identifier: MIT
// The files a build of a project makes, in the order it makes them. The writers take their
// file names from here, the build flows their order, the link check the site it reads and the
// group's sitemap index the sitemap's name; so a new kind of file is added here and in its
// writer, and nowhere else.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

struct Project;
struct ProjectSettings;
struct SitemapSettings;

enum class SiteFileKind {
    Frameset,
    Stylesheet,
    MenuScript,
    MenuInclude,  // the navigation for visitors without scripts
    MenuFrame,
    TopFrame,
    BottomFrame,
    FirstPage,
    MenuPage,   // the content page of a menu entry
    TablePage,  // the page of a menu entry made from the tables
    Sitemap,
};

struct SiteFile {
    SiteFileKind kind;
    std::string name;  // relative to the destination, as the project names it
};

// The files that stand on their own (one writer each), in build order; the pages follow them
// and the sitemap comes last.
inline constexpr std::initializer_list<SiteFileKind> kSingleSiteFiles = {
    SiteFileKind::Frameset,    SiteFileKind::Stylesheet, SiteFileKind::MenuScript,
    SiteFileKind::MenuInclude, SiteFileKind::MenuFrame,  SiteFileKind::TopFrame,
    SiteFileKind::BottomFrame,
};

// The name of a file of one of the single kinds (and of the first page and the sitemap).
std::string SiteFileName(const ProjectSettings& settings, SiteFileKind kind);
// Whether the settings ask for a file of one of the single kinds (and the sitemap) at all.
bool SiteFileDue(const ProjectSettings& settings, SiteFileKind kind);
// The include file's name: the menu frame file with its extension replaced by
// "_include.htm" ("menframe.htm" gives "menframe_include.htm"); a name without extension gets
// "_include.htm" appended.
std::string IncludeFileName(std::string_view menuFrameFile);
// sitemap/filename, or "sitemap.xml" when it is empty.
std::string SitemapFileName(const SitemapSettings& sitemap);
// Whether a table level with this content source and template makes pages: empty pages
// always, pages from a template or a Dreamweaver template only when it names one.
bool SlotMakesPages(int source, const std::string& templateFile);

// Every file a build of `project` makes with its menu as it stands, in build order (a build
// from tables replaces the menu first; asked after such a build, the list names its pages).
// A name is listed once per time the build saves it, whether or not the write rule lets the
// build replace an existing file.
std::vector<SiteFile> SiteFileList(const Project& project);

// Pages a visitor reads: everything but the stylesheet, the menu script and the sitemap.
bool IsSitePage(SiteFileKind kind);
// The pages a visitor enters the site by, which point at everything else, each after the ones
// it points at: the menu script and the include file, the menu frame, the frameset. Publishing
// sends them last, in this order.
inline constexpr std::initializer_list<SiteFileKind> kEntryPages = {
    SiteFileKind::MenuScript, SiteFileKind::MenuInclude, SiteFileKind::MenuFrame,
    SiteFileKind::Frameset};
// Pages of the menu's entries.
inline bool IsMenuPage(SiteFileKind kind) {
    return kind == SiteFileKind::MenuPage || kind == SiteFileKind::TablePage;
}

}  // namespace pagloom
