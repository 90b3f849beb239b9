// SPDX-License-Identifier: MIT
// The build's file saver lists each folder once and creates the files it did not find there
// without reading them first; what it logs and leaves on disk must be what saving the files one
// by one gives.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "generator/BuildError.h"
#include "generator/FileSaver.h"
#include "generator/SaveIfChanged.h"
#include "io/FileSystem.h"

namespace pagloom {
namespace {

using test::TempDir;

DiskFileSystem disk;

// More files than the saver queues, so the build has to wait for it now and then.
constexpr int kFiles = 300;

std::string Name(int i) { return "seite_" + std::to_string(i) + ".htm"; }
TextLines Page(int i) { return {"<p>", "Seite " + std::to_string(i % 7), "</p>"}; }

// Every fifth page is on disk unchanged (with LF only), every fifth changed, the rest new.
void Prepare(const std::string& dir) {
    for (int i = 0; i < kFiles; ++i) {
        if (i % 5 == 1)
            test::WriteFile(dir + "/" + Name(i),
                            "<p>\nSeite " + std::to_string(i % 7) + "\n</p>\n");
        if (i % 5 == 2) test::WriteFile(dir + "/" + Name(i), "alt\r\n");
    }
}

TEST(FileSaver, LogsAndWritesWhatSavingOneByOneDoes) {
    TempDir a, b;
    Prepare(a.Path());
    Prepare(b.Path());
    MakeReport one, saved;
    for (int i = 0; i < kFiles; ++i) SaveIfChanged(disk, a / Name(i), Page(i), one);
    SaveIfChanged(disk, a / "fehlt/x.htm", {"x"}, one);  // a folder that does not exist: "Fehler!"
    {
        FileSaver saver(disk, saved);
        for (int i = 0; i < kFiles; ++i) saver.Save(b / Name(i), Page(i));
        saver.Save(b / "fehlt/x.htm", {"x"});
    }
    ASSERT_EQ(saved.Lines().size(), one.Lines().size());
    for (size_t n = 0; n < one.Lines().size(); ++n) {
        std::string expected = one.Lines()[n];
        if (expected.rfind(a.Path(), 0) == 0)
            expected = b.Path() + expected.substr(a.Path().size());
        ASSERT_EQ(saved.Lines()[n], expected) << n;
    }
    EXPECT_EQ(saved.FailedFiles(), 1);
    for (int i = 0; i < kFiles; ++i)
        ASSERT_EQ(test::ReadFile(b / Name(i)), test::ReadFile(a / Name(i))) << i;
}

TEST(FileSaver, UnreadableFileEndsTheRunAndLaterFilesAreNotWritten) {
    TempDir dir;
    for (int i = 0; i < kFiles; i += 10) test::WriteFile(dir / Name(i), "alt");
    test::FaultyFs faulty;  // one path cannot be read, even as root
    faulty.unreadable = {dir / Name(100)};
    MakeReport report;
    FileSaver saver(faulty, report);
    std::string message;
    try {
        for (int i = 0; i < kFiles; ++i) saver.Save(dir / Name(i), Page(i));
    } catch (const BuildAbort& e) {
        message = e.what();
    }
    EXPECT_EQ(message, CannotReadMessage(dir / Name(100)));
    ASSERT_FALSE(report.Lines().empty());
    EXPECT_EQ(report.Lines().back(), dir / Name(100) + "...");
    EXPECT_EQ(report.Lines().size(), 201u);
    EXPECT_EQ(test::ReadFile(dir / Name(99)), "<p>\r\nSeite 1\r\n</p>\r\n");
    for (int i = 101; i < kFiles; ++i)
        ASSERT_EQ(test::Exists(dir / Name(i)) ? test::ReadFile(dir / Name(i)) : "",
                  i % 10 ? "" : "alt")
            << i;
}

TEST(FileSaver, BuildSeesItsOwnFilesAndFilesMadeByOthersSinceTheListing) {
    TempDir dir;
    MakeReport report;
    FileSaver saver(disk, report);
    saver.Save(dir / "a.htm", {"a"});  // the folder is listed here
    EXPECT_TRUE(disk.FileExists(dir / "a.htm"));

    // Made by someone else after the listing, with the text the build brings: compared and
    // left alone, not replaced blindly.
    test::WriteFile(dir / "b.htm", "b\r\n");
    test::AgeFile(dir / "b.htm");
    const long long before = test::MTimeNs(dir / "b.htm");
    saver.Save(dir / "b.htm", {"b"});
    EXPECT_EQ(report.Lines().back(), "Keine \xC4nderung");
    EXPECT_EQ(test::MTimeNs(dir / "b.htm"), before);
}

}  // namespace
}  // namespace pagloom
