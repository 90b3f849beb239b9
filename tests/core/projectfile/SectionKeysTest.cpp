// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fakes.h"
#include "io/FileSystem.h"
#include "projectfile/ProjectFile.h"

using namespace pagloom;

namespace {

struct Line {
    std::string section, key, value;  // key empty for headers and blank lines
    std::string text;
};

std::vector<Line> Lines(const std::string& text) {
    std::vector<Line> lines;
    std::string section;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        Line l{section, "", "", text.substr(at, end - at)};
        at = end + 2;
        if (!l.text.empty() && l.text.front() == '[') {
            section = l.section = l.text.substr(1, l.text.size() - 2);
        } else if (const std::size_t eq = l.text.find('='); eq != std::string::npos) {
            l.key = l.text.substr(0, eq);
            l.value = l.text.substr(eq + 1);
        }
        lines.push_back(std::move(l));
    }
    return lines;
}

bool IsFlag(const std::string& v) { return v == "0" || v == "1"; }

// A value that reads back as itself and differs from `v`.
std::string OtherValue(const Line& l) {
    if (l.key == "destination-directory") return "/";  // it must exist
    if (l.key.ends_with("table_type")) return "csv_table";
    if (IsFlag(l.value)) return l.value == "1" ? "0" : "1";
    if (!l.value.empty() && l.value.find_first_not_of("-0123456789") == std::string::npos)
        return std::to_string(std::stoi(l.value) + 3);
    if (l.value.size() == 1) return "|";  // one-character keys keep one character
    return l.value + "x";
}

}  // namespace

// Every key of a project's file, given another value, keeps it through reading and writing
// again, and no other key changes. So no key is lost, read into another key's place or written
// from one. A flag set to 1 also clears the other flags of its section that were 1: one of them
// may be the selected option of its choice group, which the new option replaces.
TEST(SectionKeys, EveryKeyReadsBackIntoItsOwnPlace) {
    DiskFileSystem disk;
    RecordingHost host;
    Project project;
    // Not "static", which would fix the directions and types of the position.
    for (MenuLevel level : {kMainMenuLevel, kSubMenuLevel})
        project.PrjParams.Style(level).position = "absolute";
    const std::vector<Line> lines = Lines(ProjectFileText(project, "", "X", "1.0.0"));
    int checked = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        // The menu is a list of entries, the first two sections say who wrote the file when;
        // a list's count is checked with its entries by the tests of each list.
        if (l.key.empty() || l.section == "application" || l.section == "project" ||
            l.section == "menu" || l.key.ends_with("count"))
            continue;
        std::vector<std::string> expected;
        for (std::size_t j = 0; j < lines.size(); ++j) {
            const Line& o = lines[j];
            if (j == i)
                expected.push_back(l.key + "=" + OtherValue(l));
            else if (l.value == "0" && o.section == l.section && o.value == "1" &&
                     !o.key.ends_with("count"))
                expected.push_back(o.key + "=0");
            else
                expected.push_back(o.text);
        }
        std::string text;
        for (const std::string& e : expected) text += e + "\r\n";

        Project p;
        ReadProject(p, IniFile(text), disk, host);
        SCOPED_TRACE(l.section + "/" + expected[i]);
        const std::vector<Line> out = Lines(ProjectFileText(p, "", "X", "1.0.0"));
        ASSERT_EQ(out.size(), expected.size());
        for (std::size_t j = 0; j < out.size(); ++j) EXPECT_EQ(out[j].text, expected[j]);
        ++checked;
    }
    EXPECT_GT(checked, 200);  // every section's keys were reached
}

// Numbers outside their lists: the frame option and border width are written as none chosen,
// the bracket index as it stands (reading takes it back to angle brackets).
TEST(SectionKeys, NumbersOutsideTheirRangeAreWrittenByTheirOwnRule) {
    Project p;
    p.Settings.frameset.frameoption = 3;
    p.Settings.frameset.frameborderwidth = 11;
    p.Tables.tag_item_index = 7;
    const std::string text = ProjectFileText(p, "", "X", "1.0.0");
    for (const char* line :
         {"frameoption=-1\r\n", "frameborderwidth=0\r\n", "tag_item_index=7\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}
