// SPDX-License-Identifier: MIT
// Checks the local references of a built site: every href and src in the generated pages and
// the navigation include file, the file names in the menu script, and the sitemap's addresses
// that lie under the project's base address. External addresses (other hosts, mailto:,
// javascript:, ...) are never fetched. Pages of the menu that exist but that nothing links to
// are reported too.
//
// Each file is read once, and each folder of the site is listed once, so the check grows with
// the size of the site and nothing else.
#pragma once
#include <string>
#include <vector>

namespace pagloom {

class FileSystem;
struct Project;

struct LinkProblem {
    enum class Kind {
        Missing,  // `target`, referenced in `page` on `line`, does not exist
        Orphan,   // `page` is a page of the menu that nothing links to (`line` 0)
        // `page` is a file the build makes, and it is missing, a link that leads nowhere or not
        // a regular file (`line` 0, `target` says which)
        SiteFile,
    };
    Kind kind = Kind::Missing;
    std::string page;    // relative to the destination, as the site names it
    int line = 0;        // 1-based; 0 for orphans
    std::string target;  // the reference as written (Missing only)
};

// One line of the report (Windows-1252):
// "<page>:<line>: Ziel fehlt: <target>", "<page>: Seite des Menüs, auf die nichts verweist" or
// "<page>: Datei der Site <target>" ("fehlt", "ist ein Verweis ins Leere", "ist keine Datei").
std::string LinkProblemText(const LinkProblem& problem);

// What the check reads, all names relative to `destination`.
struct LinkCheckSite {
    std::string destination;
    // Every file the build makes that must be there as a regular file. Pages from tables are
    // not among them: which they are is known only once the tables are read (the menu script
    // names them, and its references are checked).
    std::vector<std::string> siteFiles;
    // HTML files to read, in report order (the pages of the site's file list, in build
    // order); missing ones are skipped, names are deduplicated.
    std::vector<std::string> pages;
    std::string menuScript;              // empty: none
    std::string sitemap;                 // empty: none
    std::vector<std::string> menuPages;  // the pages the build makes for menu entries
    // Absolute addresses under this one are files of the site (sitemap/urltext); empty or a
    // bare scheme: none.
    std::string baseAddress;
    // The text in front of every sitemap address (SitemapPrefix): what follows it is a file of
    // the site. An address that does not start with it is not the site's and is left alone.
    std::string sitemapPrefix;
};

// The site as the project describes it, built into `destination`.
LinkCheckSite LinkCheckSiteFor(const Project& project, const std::string& destination);

// The problems in report order: the site's own files that are not there, then missing targets
// file by file (pages, then the menu script, then the sitemap), then orphans in menu order.
std::vector<LinkProblem> CheckLinks(FileSystem& fs, const LinkCheckSite& site);

}  // namespace pagloom
