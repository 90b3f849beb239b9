// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "generator/BuildError.h"
#include "generator/SaveIfChanged.h"
#include "generator/TextLines.h"
#include "io/FileSystem.h"

namespace pagloom {
namespace {

using test::TempDir;

TEST(TextLines, SplitAtCrLfCrAndLf) {
    struct Case {
        const char* text;
        TextLines expected;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\r", {"a", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLines(c.text), c.expected) << c.text;
        // The one-pass forms agree with cutting into lines and joining them again.
        EXPECT_EQ(NormalizeLineBreaks(c.text), JoinLines(c.expected)) << c.text;
        EXPECT_TRUE(SameLines(c.text, JoinLines(c.expected))) << c.text;
    }
    EXPECT_FALSE(SameLines("a\r\nb", "a\r\nb\r\n\r\n"));
    EXPECT_FALSE(SameLines("a\nb", "a\nc"));
    EXPECT_FALSE(SameLines("", "\r\n"));
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLines({}), "");
}

class SaveIfChangedTest : public ::testing::Test {
  protected:
    TempDir dir;
    DiskFileSystem disk;
    MakeReport report;
    std::string path = dir / "a.htm";
};

TEST_F(SaveIfChangedTest, NewFileIsWrittenWithCrLfAfterEveryLine) {
    EXPECT_EQ(SaveIfChanged(disk, path, {"<p>", "\xE4"}, report), SaveResult::Written);
    EXPECT_EQ(test::ReadFile(path), "<p>\r\n\xE4\r\n");
    EXPECT_EQ(report.Lines(), (TextLines{path + "...", "OK"}));
}

TEST_F(SaveIfChangedTest, EqualTextLeavesFileAndDateAlone) {
    struct Case {
        const char* name;
        const char* onDisk;
    } cases[] = {{"CR LF", "a\r\n\r\nb\r\n"},
                 {"LF only", "a\n\nb\n"},
                 {"CR only, no final break", "a\r\rb"}};
    for (const auto& c : cases) {
        test::WriteFile(path, c.onDisk);
        test::AgeFile(path);
        const long long before = test::MTimeNs(path);
        EXPECT_EQ(SaveIfChanged(disk, path, {"a", "", "b"}, report), SaveResult::Unchanged)
            << c.name;
        EXPECT_EQ(report.Lines().back(), "Keine \xC4nderung") << c.name;
        EXPECT_EQ(test::ReadFile(path), c.onDisk) << c.name;
        EXPECT_EQ(test::MTimeNs(path), before) << c.name;
    }
}

TEST_F(SaveIfChangedTest, AnyDifferenceRewritesTheFile) {
    struct Case {
        const char* name;
        const char* onDisk;
    } cases[] = {{"letter case", "A\r\n"},
                 {"extra line", "a\r\n\r\n"},
                 {"missing line", ""},
                 {"trailing blank", "a \r\n"}};
    for (const auto& c : cases) {
        test::WriteFile(path, c.onDisk);
        EXPECT_EQ(SaveIfChanged(disk, path, {"a"}, report), SaveResult::Written) << c.name;
        EXPECT_EQ(test::ReadFile(path), "a\r\n") << c.name;
    }
}

TEST_F(SaveIfChangedTest, EmptyTextCreatesNoFile) {
    EXPECT_EQ(SaveIfChanged(disk, path, {}, report), SaveResult::Unchanged);
    EXPECT_FALSE(test::Exists(path));
    EXPECT_EQ(report.Lines(), (TextLines{path + "...", "Keine \xC4nderung"}));
}

TEST_F(SaveIfChangedTest, UnwritableFileIsLoggedAsErrorAndCounted) {
    const std::string missing = dir / "fehlt/a.htm";
    EXPECT_EQ(SaveIfChanged(disk, missing, {"x"}, report), SaveResult::Failed);
    EXPECT_EQ(report.Lines(), (TextLines{missing + "...", "Fehler!"}));
    EXPECT_EQ(report.FailedFiles(), 1);
}

class SaveIfChangedFaultTest : public SaveIfChangedTest {
  protected:
    test::FaultyFs faulty;
};

TEST_F(SaveIfChangedFaultTest, FailedReplaceKeepsOldFileWhole) {
    test::WriteFile(path, "alt\r\n");
    faulty.failRenames = true;
    EXPECT_EQ(SaveIfChanged(faulty, path, {"neu"}, report), SaveResult::Failed);
    EXPECT_EQ(report.Lines().back(), "Fehler!");
    EXPECT_EQ(test::ReadFile(path), "alt\r\n");
    EXPECT_EQ(faulty.ListFiles(dir.Path()), (std::vector<std::string>{"a.htm"}));
}

TEST_F(SaveIfChangedFaultTest, UnreadableExistingFileEndsTheBuild) {
    test::WriteFile(path, "alt\r\n");
    faulty.failReads = true;
    try {
        SaveIfChanged(faulty, path, {"neu"}, report);
        FAIL() << "no BuildAbort";
    } catch (const BuildAbort& e) {
        EXPECT_EQ(std::string(e.what()), "Die Datei " + path + " kann nicht gelesen werden!");
    }
    EXPECT_EQ(test::ReadFile(path), "alt\r\n");
    EXPECT_EQ(report.Lines(), (TextLines{path + "..."}));
}

TEST(MakeReport, CallbackSeesEveryLineAsItIsAdded) {
    MakeReport report;
    std::vector<std::string> seen;
    report.SetLineCallback([&](const std::string& l) {
        seen.push_back(l + "|" + std::to_string(report.Lines().size()));
    });
    report.Add("eins");
    report.AddOutcome(SaveResult::Failed);
    report.AddOutcome(SaveResult::Written);
    EXPECT_EQ(seen, (std::vector<std::string>{"eins|1", "Fehler!|2", "OK|3"}));
    EXPECT_EQ(report.FailedFiles(), 1);
}

}  // namespace
}  // namespace pagloom
