// SPDX-License-Identifier: MIT
// Writer rules that the golden sites do not show.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "generator/FramesetWriter.h"
#include "generator/MenuFrameWriter.h"
#include "generator/MenuIncludeWriter.h"
#include "generator/MenuScriptWriter.h"
#include "generator/SitemapWriter.h"
#include "generator/WriteByRule.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace pagloom {
namespace {

struct Fixture {
    Project project;
    DiskFileSystem disk;
    RecordingHost host;
    MakeReport report;
    TextLines library;
    BuildContext ctx{project, disk, host, report, "/ziel", "", library};
};

TEST(IncludeFileName, ReplacesOnlyTheExtensionOfTheName) {
    struct Case {
        const char* menuFrame;
        const char* expected;
    } cases[] = {
        {"menframe.htm", "menframe_include.htm"},
        {"navi", "navi_include.htm"},
        {"x.y.html", "x.y_include.htm"},
        {"teil.1/navi", "teil.1/navi_include.htm"},
    };
    for (const auto& c : cases) EXPECT_EQ(IncludeFileName(c.menuFrame), c.expected) << c.menuFrame;
}

TEST(SitemapPrefix, BaseAddressWithOneSlashOrLocalFolder) {
    struct Case {
        const char* urltext;
        const char* expected;
    } cases[] = {
        {"http://www.example.de", "http://www.example.de/"},
        {"http://www.example.de/", "http://www.example.de/"},
        {"", "/projekt/site/"},
    };
    for (const auto& c : cases) {
        ProjectSettings s;
        s.files.destination_directory = "/projekt/site";
        s.sitemap.urltext = c.urltext;
        EXPECT_EQ(SitemapPrefix(s), c.expected) << c.urltext;
    }
}

TEST(MenuScriptWriter, BackslashesAndQuotesCannotEndTheScriptString) {
    Fixture f;
    f.project.MainMenu.Add(TWebMenu::NewMainItem("Pfad C:\\", "sub\\seite.htm", true));
    f.project.MainMenu.Add(TWebMenu::NewMainItem("Zitat \"x\"", "a\"b.htm", true));
    const TextLines lines = LinesOf(f.ctx, MenuScriptWriter());
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[10],
              "y_menarray[0] = new y_menrecord(\"Pfad C:\\\\\",\"sub\\\\seite.htm\",0);");
    EXPECT_EQ(lines[11],
              "y_menarray[1] = new y_menrecord(\"Zitat &#34;x&#34;\",\"a\\\"b.htm\",0);");
}

TEST(MenuFrameWriter, NoscriptWithoutAnyOptionGivesAnEmptyBlock) {
    Fixture f;
    f.project.Settings.menu_frame.noscript = true;
    f.project.Settings.menu_frame.noscript_kind.Set(kNoscriptIFrame, false);
    const TextLines lines = LinesOf(f.ctx, MenuFrameWriter());
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[16], "<noscript>");
    EXPECT_EQ(lines[17], "</noscript>");
    EXPECT_EQ(lines[18], "<!-- #pagloom: end mf_menuscript# -->");
}

TEST(FramesetWriter, NoBorderOptionChosenIsWrittenAsOptionZero) {
    Fixture f;
    f.project.Settings.frameset.frameoption = -1;
    f.project.Settings.frameset.frameborderwidth = 4;
    const TextLines lines = LinesOf(f.ctx, FramesetWriter());
    EXPECT_EQ(lines[12],
              "<FRAMESET COLS=\"140,*\" frameborder=\"0\" border=\"0\" framespacing=\"0\">");
    EXPECT_EQ(lines[3], "<!-- #pagloom: project=# -->");
}

}  // namespace
}  // namespace pagloom
