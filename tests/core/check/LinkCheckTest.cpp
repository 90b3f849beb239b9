// SPDX-License-Identifier: MIT
// The link check of a built site: exactly the broken local references and the orphan pages of
// the menu, nothing for what resolves or is not the site's own; the demo sites check clean.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "check/LinkCheck.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "ports/Host.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

using test::TempDir;

DiskFileSystem disk;

// Reads each file through the disk, counting the reads per path.
class CountingFs : public FileSystem {
  public:
    std::map<std::string, int> reads;
    bool ReadAll(const std::string& path, std::string& out) override {
        ++reads[path];
        return FileSystem::ReadAll(path, out);
    }
};

std::vector<std::string> Texts(const std::vector<LinkProblem>& problems) {
    std::vector<std::string> lines;
    for (const LinkProblem& p : problems) lines.push_back(LinkProblemText(p));
    return lines;
}

TEST(LinkCheck, ReportsExactlyTheBrokenReferencesAndOrphans) {
    TempDir site;
    site.Write("index.htm",
               "<HTML><HEAD><script language=\"JavaScript\" src=\"index.js\"></script></HEAD>\r\n"
               "<FRAMESET COLS=\"180,*\">\r\n"
               "  <FRAME SRC=\"menu.htm\" NAME=\"links\">\r\n"
               "  <FRAME SRC=\"rahmen.htm\" NAME=\"rechts\">\r\n"  // broken frame source
               "</FRAMESET></HTML>\r\n");
    site.Write(
        "menu.htm",
        "<html><head><link href=\"index.css\" rel=\"stylesheet\"></head><body>\r\n"
        "<!-- <a href=\"kommentar.htm\"> -->\r\n"
        "<a href=\"a.htm\">A</a> <a href='b.htm#oben'>B</a> <a href=c.htm?x=1>C</a>\r\n"
        "<a href=\"fehlt.htm\">weg</a>\r\n"  // a missing page
        "<a href=\"mailto:info@example.org\">m</a> <a href=\"http://anderswo.de/x.htm\">x</a>\r\n"
        "<a href=\"javascript:void(0)\">j</a> <a href=\"#oben\">o</a> <a href=\"\">l</a>\r\n"
        "<script>document.write('<a href=\"skript.htm\">');</script>\r\n"
        "<iframe\r\n src=\"unter/d%20e.htm\"></iframe>\r\n"
        "</body></html>\r\n");
    site.Write("index.css", "body {}\r\n");
    site.Write("a.htm",
               "<p><IMG SRC=\"bilder/logo.gif\"></p>\r\n"  // the template's missing image
               "<img src='bilder/da.gif'>\r\n"
               "<a href=\"http://WWW.example.org/site/b.htm\">b</a>\r\n"
               "<a href=\"http://www.example.org/site/weg.htm\">weg</a>\r\n"
               "<a href=\"https://www.example.org/andere/b.htm\">fremd</a>\r\n");
    site.Write("bilder/da.gif", "GIF");
    site.Write("b.htm", "<a href=\"a.htm\">a</a><a href=\"b.htm\">selbst</a>\r\n");
    site.Write("c.htm", "<a href=\"b.htm\">b</a>\r\n");
    site.Write("unter/d e.htm",
               "<a href=\"../a.htm\">a</a> <a href=\"../../raus.htm\">raus</a>\r\n"
               "<a href=\"/site/c.htm\">c</a> <a href=\"/site/\">Start</a> "
               "<a href=\"./nix.htm\">nix</a>\r\n");
    site.Write("waise.htm", "<a href=\"waise.htm\">selbst</a>\r\n");
    site.Write("index.js",
               "y_menframe_file = \"menu.htm\";\r\n"
               "y_firstinhalt_file = \"a.htm\";\r\n"
               "y_menarray[0] = new y_menrecord(\"A\",\"a.htm\",0);\r\n"
               "y_menarray[1] = new y_menrecord(\"Gel\xF6scht\",\"geloescht.htm\",2);\r\n");
    site.Write("sitemap.xml",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<urlset>\r\n"
               "<url>\r\n<loc>http://www.example.org/site/</loc>\r\n</url>\r\n"
               "<url>\r\n<loc>http://www.example.org/site/a.htm</loc>\r\n</url>\r\n"
               "<url>\r\n<loc>http://www.example.org/site/geloescht.htm</loc>\r\n</url>\r\n"
               "<url>\r\n<loc>http://www.example.net/geloescht.htm</loc>\r\n</url>\r\n"
               "</urlset>\r\n");

    LinkCheckSite input;
    input.destination = site.Path();
    input.pages = {"index.htm",     "menu.htm", "menu_include.htm", "a.htm", "b.htm", "waise.htm",
                   "geloescht.htm", "c.htm",    "unter/d e.htm"};
    input.menuPages = {"a.htm", "b.htm", "waise.htm", "geloescht.htm", "c.htm"};
    input.menuScript = "index.js";
    input.sitemap = "sitemap.xml";
    input.baseAddress = "http://www.example.org/site";
    input.sitemapPrefix = "http://www.example.org/site/";
    CountingFs files;
    EXPECT_EQ(Texts(CheckLinks(files, input)),
              (std::vector<std::string>{
                  "index.htm:4: Ziel fehlt: rahmen.htm",
                  "menu.htm:4: Ziel fehlt: fehlt.htm",
                  "a.htm:1: Ziel fehlt: bilder/logo.gif",
                  "a.htm:4: Ziel fehlt: http://www.example.org/site/weg.htm",
                  "unter/d e.htm:2: Ziel fehlt: ./nix.htm",
                  "index.js:4: Ziel fehlt: geloescht.htm",
                  "sitemap.xml:10: Ziel fehlt: http://www.example.org/site/geloescht.htm",
                  "waise.htm: Seite des Men\xFCs, auf die nichts verweist",
              }));
    for (const auto& [path, n] : files.reads) EXPECT_EQ(n, 1) << path;
}

TEST(LinkCheck, LocalSitemapOfAProjectWithoutBaseAddress) {
    TempDir site;
    site.Write("a.htm", "x");
    site.Write("sitemap.xml",
               "<urlset>\n<url><loc>/web/a.htm</loc></url>\n"
               "<url><loc>/web/b.htm</loc></url>\n<url><loc>/sonst/c.htm</loc></url>\n");
    LinkCheckSite input;
    input.destination = site.Path();
    input.sitemap = "sitemap.xml";
    input.sitemapPrefix = "/web/";
    EXPECT_EQ(Texts(CheckLinks(disk, input)),
              (std::vector<std::string>{"sitemap.xml:3: Ziel fehlt: /web/b.htm"}));
}

// The examples, built as they come, have nothing broken and no orphan.
TEST(LinkCheck, DemoSitesCheckClean) {
    for (const char* demo : {"demo/demo.plp", "csv-demo/csv-demo.plp"}) {
        SCOPED_TRACE(demo);
        TempDir dir;
        const fs::path example = fs::path(PAGLOOM_RESOURCES) / ".." / "examples" / demo;
        fs::copy(example.parent_path(), dir / "projekt", fs::copy_options::recursive);
        const std::string project = dir / ("projekt/" + example.filename().string());
        const std::string dest = dir / "site";
        fs::create_directories(dest);
        // The table demo names its tables relative to its folder.
        const fs::path cwd = fs::current_path();
        fs::current_path(dir / "projekt");
        RecordingHost host(PAGLOOM_RESOURCES);
        ProjectDocument doc(disk, host);
        doc.LoadMenuScriptLibrary();
        ASSERT_TRUE(doc.Open(project));
        doc.Build.Destination = dest;
        const std::optional<BuildOutcome> built = doc.CheckAndBuild();
        fs::current_path(cwd);
        ASSERT_TRUE(built && built->Succeeded()) << (host.messages.empty() ? "" : host.messages[0]);
        EXPECT_EQ(Texts(CheckLinks(disk, LinkCheckSiteFor(doc.project, dest))),
                  std::vector<std::string>{});
    }
}

// A site that is not all there is not clean: never built, a page replaced by a link that leads
// nowhere, the frameset replaced by a folder.
TEST(LinkCheck, TheSitesOwnFilesMustBeThere) {
    TempDir dir;
    const std::string project = dir / "demo.plp";
    fs::copy(fs::path(PAGLOOM_RESOURCES) / ".." / "examples" / "demo" / "demo.plp", project);
    const std::string dest = dir / "site";
    fs::create_directories(dest);
    RecordingHost host(PAGLOOM_RESOURCES);
    ProjectDocument doc(disk, host);
    doc.LoadMenuScriptLibrary();
    ASSERT_TRUE(doc.Open(project));
    const LinkCheckSite site = LinkCheckSiteFor(doc.project, dest);

    const std::vector<std::string> never = Texts(CheckLinks(disk, site));
    ASSERT_EQ(never.size(), site.siteFiles.size());
    EXPECT_EQ(never.front(), "index.htm: Datei der Site fehlt");

    doc.Build.Destination = dest;
    ASSERT_TRUE(doc.MakeStart().Succeeded());
    fs::remove(dir / "site/kontakt.htm");
    fs::create_symlink(dir / "nirgends.htm", dir / "site/kontakt.htm");
    fs::remove(dir / "site/index.htm");
    fs::create_directory(dir / "site/index.htm");
    const std::vector<std::string> broken = Texts(CheckLinks(disk, site));
    ASSERT_GE(broken.size(), 2u);
    EXPECT_EQ(broken[0], "index.htm: Datei der Site ist keine Datei");
    EXPECT_EQ(broken[1], "kontakt.htm: Datei der Site ist ein Verweis ins Leere");
}

}  // namespace
