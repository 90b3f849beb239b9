// SPDX-License-Identifier: MIT
// Templates and instance pages as the editor itself wrote them (both template styles).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "generator/BuildContext.h"
#include "generator/Dreamweaver.h"
#include "generator/DreamweaverPages.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace pagloom {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const fs::path kRoot = fs::path(PAGLOOM_SHARED_TESTDATA) / "dreamweaver";

std::vector<fs::path> FilesUnder(bool templates) {
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(kRoot)) {
        if (!e.is_regular_file()) continue;
        const std::string ext = e.path().extension().string();
        if (templates ? ext == ".dwt" : (ext == ".htm" || ext == ".html"))
            found.push_back(e.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

struct Region {
    std::string name;
    std::string content;
    bool operator==(const Region&) const = default;
    friend void PrintTo(const Region& r, std::ostream* os) {
        *os << r.name << ": \"" << r.content << "\"";
    }
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The editable regions of a well-formed instance page, read plainly: begin comment with a
// quoted name, content, the comment of the next end marker. `skeleton` gets the page with
// every region emptied.
std::vector<Region> RegionsOf(const std::string& page, std::string* skeleton = nullptr) {
    const std::string lower = Lower(page);
    const bool mx = lower.find("instancebegineditable") != std::string::npos;
    const std::string begin = mx ? "instancebegineditable" : "#begineditable";
    const std::string end = mx ? "instanceendeditable" : "#endeditable";
    std::vector<Region> regions;
    size_t pos = 0, copied = 0;
    if (skeleton) skeleton->clear();
    for (size_t b; (b = lower.find(begin, pos)) != std::string::npos;) {
        const size_t q1 = lower.find('"', b), q2 = lower.find('"', q1 + 1);
        const size_t from = lower.find("-->", q2) + 3;
        const size_t e = lower.find(end, from);
        const size_t to = lower.rfind("<!--", e);
        regions.push_back({page.substr(q1 + 1, q2 - q1 - 1), page.substr(from, to - from)});
        if (skeleton) *skeleton += page.substr(copied, from - copied);
        copied = to;
        pos = e;
    }
    if (skeleton) *skeleton += page.substr(copied);
    return regions;
}

std::string WithRegions(const std::string& page, const std::vector<Region>& contents) {
    std::string skeleton;
    RegionsOf(page, &skeleton);
    // Fill the emptied regions in order: each begin comment is followed by its end comment.
    std::string out;
    size_t pos = 0;
    const std::string lower = Lower(skeleton);
    const bool mx = lower.find("instancebegineditable") != std::string::npos;
    const std::string begin = mx ? "instancebegineditable" : "#begineditable";
    for (const Region& r : contents) {
        const size_t b = lower.find(begin, pos);
        const size_t from = lower.find("-->", lower.find('"', lower.find('"', b) + 1)) + 3;
        out += skeleton.substr(pos, from - pos) + r.content;
        pos = from;
    }
    return out + skeleton.substr(pos);
}

TEST(RealTemplates, EveryTestFileIsThere) {
    EXPECT_EQ(FilesUnder(true).size(), 4u);
    EXPECT_EQ(FilesUnder(false).size(), 3u);
}

// Make the pages, edit every region of every page, change the template outside its regions,
// update with regions kept.
TEST(RealTemplates, EditedRegionsSurviveATemplateChange) {
    for (const fs::path& source : FilesUnder(true)) {
        SCOPED_TRACE(source.string());
        test::TempDir tmp;
        const std::string site = tmp.Path() + "/site";
        const std::string tpl = site + "/Templates/" + source.filename().string();
        const std::string original = ReadFile(source.string());
        WriteFile(tpl, original);

        Project project;
        ProjectSettings& s = project.Settings;
        s.content_page.source.Select(kDwTemplatePages);
        s.content_page.dw_template_file = tpl;
        s.content_page.dw_template_update = true;
        s.files.destination_directory = site;
        s.firstpage.firstpage_from_template = true;
        s.firstpage.overwrite_firstpage = true;
        project.MainMenu.Add(TWebMenu::NewMainItem("A", "a.htm", true))
            .SubMenu->Add(TWebMenu::NewSubItem("B", "b/b.htm", true));
        fs::create_directories(site + "/b");
        DiskFileSystem disk;
        RecordingHost host;
        MakeReport report;
        const TextLines library;
        const BuildContext ctx{project, disk, host, report, site, "", library};
        WriteDWPages(ctx);

        const std::vector<std::string> pages = {"erste.htm", "a.htm", "b/b.htm"};
        std::vector<std::vector<Region>> edited;
        for (const std::string& name : pages) {
            std::vector<Region> regions = RegionsOf(ReadFile(site + "/" + name));
            ASSERT_GE(regions.size(), 3u);
            for (Region& r : regions)
                r.content = "\r\n  <p>" + name + " / " + r.name +
                            ": gr\xfc\xdf"
                            "e</p>\r\n";
            regions[1].content = "";  // an emptied region stays empty
            WriteFile(site + "/" + name, WithRegions(ReadFile(site + "/" + name), regions));
            edited.push_back(regions);
        }

        const std::string change = "<p class=\"neu\">Neu in der Vorlage</p>";
        std::string changed = original;
        const size_t body = changed.find('\n', Lower(changed).find("<body"));
        changed.insert(body + 1, change + "\n");
        WriteFile(tpl, changed);
        UpdateDWPages(ctx);

        TextLines fresh = SplitLines(changed);
        MakeDWInstance(fresh, tpl, site, host);
        std::string freshSkeleton;
        RegionsOf(JoinLines(fresh), &freshSkeleton);
        for (size_t i = 0; i < pages.size(); ++i) {
            const std::string page = ReadFile(site + "/" + pages[i]);
            std::string skeleton;
            EXPECT_EQ(RegionsOf(page, &skeleton), edited[i]) << pages[i];
            EXPECT_NE(page.find(change), std::string::npos) << pages[i];
            EXPECT_EQ(skeleton, freshSkeleton) << pages[i];
        }
    }
}

// Pages the editor made: rebuilding them from their template keeps every region as the
// editor wrote it, and the instance comment comes out as the editor writes it.
TEST(RealTemplates, EditorPagesKeepTheirRegions) {
    for (const fs::path& pagePath : FilesUnder(false)) {
        SCOPED_TRACE(pagePath.string());
        const std::string page = ReadFile(pagePath.string());
        const std::string lower = Lower(page);
        const size_t ref = lower.find("/templates/");
        ASSERT_NE(ref, std::string::npos);
        const std::string reference = page.substr(ref, page.find('"', ref) - ref);
        const std::string siteDir = pagePath.parent_path().string();
        const std::string tplPath = siteDir + reference;

        TextLines lines = SplitLines(page);
        RecordingHost host;
        MergeDWPage(lines, SplitLines(ReadFile(tplPath)), tplPath, siteDir, host);
        const std::string merged = JoinLines(lines);

        EXPECT_EQ(RegionsOf(merged), RegionsOf(JoinLines(SplitLines(page))));  // CR LF as written
        const size_t headerStart = page.rfind("<!--", ref);
        const std::string header =
            page.substr(headerStart, page.find("-->", ref) + 3 - headerStart);
        EXPECT_NE(merged.find(header), std::string::npos) << header;
    }
}

TEST(RealTemplates, TemplateWithoutClosingHtmlTagIsReported) {
    const std::string tpl = (kRoot / "graphanalysis/Templates/base.dwt").string();
    TextLines lines = SplitLines(ReadFile(tpl));
    RecordingHost host;
    MakeDWInstance(lines, tpl, (kRoot / "graphanalysis").string(), host);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"Fehler: Vorlagen-Datei enth\xe4lt kein </HTML>-Tag"});
    EXPECT_EQ(lines[2],
              "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\"><!-- InstanceBegin "
              "template=\"/Templates/base.dwt\" codeOutsideHTMLIsLocked=\"false\" -->");
}

}  // namespace
}  // namespace pagloom
