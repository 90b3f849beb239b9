// SPDX-License-Identifier: MIT
// Golden sites: every folder under tests/data/golden holds a project.plp and the site it must
// give in expected/, compared byte for byte. A new case is a new folder.
//
// The harness builds into a fresh temporary folder and fixes what would vary between
// machines: files/destination-directory becomes "/site" (it only shows in local sitemap
// entries), the project file is named "projekt.plp", the menu script library is lib.js of
// the golden folder, and a relative content-page/template-file names a file of the case.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "generator/BuildDriver.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"

namespace pagloom {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenRoot = fs::path(PAGLOOM_TESTDATA) / "golden";

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kGoldenRoot))
        if (e.is_directory()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) names.push_back(fs::relative(e.path(), dir).string());
    std::sort(names.begin(), names.end());
    return names;
}

// The first differing line, to make a failure readable.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
    TextLines e = SplitLines(expected), a = SplitLines(actual);
    for (size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
        std::string el = i < e.size() ? e[i] : "<none>", al = i < a.size() ? a[i] : "<none>";
        if (el != al)
            return "line " + std::to_string(i + 1) + ":\n  expected: " + el + "\n  actual:   " + al;
    }
    return "line breaks differ";
}

class GoldenSite : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSite, BuildGivesExpectedFiles) {
    const fs::path caseDir = kGoldenRoot / GetParam();
    test::TempDir dest;
    DiskFileSystem disk;
    RecordingHost host;
    Project project;
    LoadProject(project, (caseDir / "project.plp").string(), disk, host);
    project.Settings.files.destination_directory = "/site";
    std::string& tmpl = project.Settings.content_page.template_file;
    if (!tmpl.empty() && tmpl[0] != '/') tmpl = (caseDir / tmpl).string();

    BuildDialog dialog;
    dialog.Destination = dest.Path();
    dialog.MenuScriptLibrary = SplitLines(test::ReadFile((kGoldenRoot / "lib.js").string()));
    PresetRegionOverwrite(project, dialog);
    const BuildOutcome outcome = MakeStartClick(dialog, project, "projekt.plp", disk, host);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(host.messages, std::vector<std::string>{});

    const fs::path expectedDir = caseDir / "expected";
    const std::vector<std::string> expectedFiles = FilesIn(expectedDir);
    ASSERT_EQ(FilesIn(dest.Path()), expectedFiles);
    for (const auto& name : expectedFiles) {
        const std::string expected = test::ReadFile((expectedDir / name).string());
        const std::string actual = test::ReadFile(dest / name);
        EXPECT_TRUE(expected == actual) << name << " " << FirstDifference(expected, actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenSite, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
    std::string n = info.param;
    for (auto& c : n)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
});

}  // namespace
}  // namespace pagloom
