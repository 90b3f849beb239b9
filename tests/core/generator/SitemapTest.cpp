// SPDX-License-Identifier: MIT
// The sitemap and the sitemap index must be XML that parsers accept: UTF-8 as declared, and
// markup characters of addresses written as entities.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "generator/BuildDriver.h"
#include "generator/SitemapWriter.h"
#include "groups/GroupBuild.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "text/Cp1252.h"

namespace pagloom {
namespace {

using test::CrLf;
using test::ReadFile;
using test::TempDir;

TEST(SitemapLocText, EscapesMarkupWritesUtf8AndKeepsEverythingElse) {
    struct Case {
        const char* address;
        const char* expected;
    } cases[] = {
        {"http://a.example/seite.htm", "http://a.example/seite.htm"},
        {"http://a.example/?a=1&b=2", "http://a.example/?a=1&amp;b=2"},
        {"<a>\"b\"'c'", "&lt;a&gt;&quot;b&quot;&apos;c&apos;"},
        {"&amp;", "&amp;amp;"},  // a name is what it says, not markup
        {"K\xFC"
         "che \xC4\xDF.htm",
         "K\xC3\xBC"
         "che \xC3\x84\xC3\x9F.htm"},
        {"\x80\x9F", "\xE2\x82\xAC\xC5\xB8"},  // the euro sign and Y with diaeresis
        {"", ""},
        {"a\tb%20~", "a\tb%20~"},
        // XML 1.0 has no form for these, not even as references: they go percent-encoded.
        {"a\x01z\x1F", "a%01z%1F"},
    };
    for (const auto& c : cases) EXPECT_EQ(SitemapLocText(c.address), c.expected) << c.address;
}

// A site whose sitemap lists names with ampersands, umlauts, quotes and the empty name.
struct SitemapSite {
    TempDir dest;
    DiskFileSystem disk;
    RecordingHost host;
    Project project;
    BuildDialog dialog;

    SitemapSite() {
        dialog.Destination = dest.Path();
        auto& a = project.MainMenu.Add(TWebMenu::NewMainItem("A", "a&b.htm", true));
        a.SubMenu->Add(TWebMenu::NewSubItem("K",
                                            "K\xFC"
                                            "che's \"<1>\".htm",
                                            true));
        auto& s = project.Settings.sitemap;
        s.make_sitemap = true;
        s.filename = "";  // written as sitemap.xml
        s.urltext =
            "http://gr\xFC\xDF"
            "e.example/?s=1&t=2";
        s.url = true;  // the empty name: the address itself
        s.extra_files = {"\x80.htm"};
    }
    // Builds the site and returns the sitemap's name on the disk.
    std::string Build() {
        EXPECT_TRUE(MakeStartClick(dialog, project, "", disk, host).Succeeded());
        const std::string& name = project.Settings.sitemap.filename;
        return Cp1252ToUtf8(dest / (name.empty() ? "sitemap.xml" : name));
    }
};

TEST(Sitemap, ListsEveryAddressEscapedInUtf8) {
    SitemapSite site;
    const std::string prefix =
        "<loc>http://gr\xC3\xBC\xC3\x9F"
        "e.example/?s=1&amp;t=2/";
    EXPECT_EQ(ReadFile(site.Build()),
              CrLf({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                    "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
                    "<url>",
                    prefix + "</loc>",
                    "</url>",
                    "<url>",
                    prefix + "index.htm</loc>",
                    "</url>",
                    "<url>",
                    prefix + "erste.htm</loc>",
                    "</url>",
                    "<url>",
                    prefix + "a&amp;b.htm</loc>",
                    "</url>",
                    "<url>",
                    prefix + "K\xC3\xBC"
                             "che&apos;s &quot;&lt;1&gt;&quot;.htm</loc>",
                    "</url>",
                    "<url>",
                    prefix + "\xE2\x82\xAC.htm</loc>",
                    "</url>",
                    "</urlset>"}));
}

TEST(SitemapIndex, ListsAddressesEscapedInUtf8) {
    EXPECT_EQ(SitemapIndexLines({"http://a.example/?x=1&y=2",
                                 "/Gr\xFC\xDF"
                                 "e/sitemap.xml"}),
              (TextLines{"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                         "<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
                         "<sitemap>", "<loc>http://a.example/?x=1&amp;y=2</loc>", "</sitemap>",
                         "<sitemap>",
                         "<loc>/Gr\xC3\xBC\xC3\x9F"
                         "e/sitemap.xml</loc>",
                         "</sitemap>", "</sitemapindex>"}));
}

// An XML parser's verdict on each file the program writes: the sitemap of a site with awkward
// names (one listing web addresses, one listing local paths) and the index over both.
TEST(SitemapXml, XmllintAcceptsSitemapsAndIndex) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
    SitemapSite web;
    const std::string webMap = web.Build();

    SitemapSite local;
    local.project.Settings.sitemap.urltext = "";
    local.project.Settings.sitemap.filename = "karte&\xE4.xml";
    local.project.Settings.files.destination_directory = "/Ordner & \xD6l";
    const std::string localMap = local.Build();

    TempDir dir;
    DiskFileSystem disk;
    const std::string index = dir / "index.xml";
    ASSERT_TRUE(
        WriteFileAtomic(disk, index,
                        JoinLines(SitemapIndexLines({SitemapIndexAddress(web.project),
                                                     SitemapIndexAddress(local.project)}))));

    for (const std::string& file : {webMap, localMap, index}) {
        ASSERT_TRUE(test::Exists(file)) << file;
        const std::string command = "xmllint --noout '" + file + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

}  // namespace
}  // namespace pagloom
