// SPDX-License-Identifier: MIT
// Temporary files of page replacement: links planted in the destination never redirect a
// write, and what a killed build left behind is cleared by the next one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"
#include "generator/FileSaver.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

bool IsLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

// The disk, except that before each temporary file is made an attacker who guessed its name
// plants a link there to a file outside the destination.
class PlantingFs : public FileSystem {
  public:
    std::string target;
    std::vector<std::string> tempNames;
    bool WriteNew(const std::string& path, std::string_view data) override {
        tempNames.push_back(path);
        EXPECT_EQ(::symlink(target.c_str(), path.c_str()), 0);
        return FileSystem::WriteNew(path, data);
    }
};

TEST(PlantedLinks, NeverMakeAReplacementWriteOutsideTheDestination) {
    TempDir outside, dest;
    const std::string secret = outside / "geheim.txt";
    WriteFile(secret, "geheim");
    DiskFileSystem disk;

    // A link at the page itself: the page is replaced, the link's target stays.
    const std::string page = dest / "seite.htm";
    ASSERT_EQ(::symlink(secret.c_str(), page.c_str()), 0);
    ASSERT_TRUE(WriteFileAtomic(disk, page, "neu"));
    EXPECT_FALSE(IsLink(page));
    EXPECT_EQ(ReadFile(page), "neu");
    EXPECT_EQ(ReadFile(secret), "geheim");

    // A link at the temporary name: the write is refused rather than followed.
    PlantingFs planting;
    planting.target = secret;
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(planting, page, "anders", &error));
    EXPECT_EQ(ReadFile(secret), "geheim");
    EXPECT_EQ(ReadFile(page), "neu");
    ASSERT_EQ(planting.tempNames.size(), 1u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(planting.tempNames[0])));

    // The names cannot be guessed: they differ by more than a counter, and carry the process id.
    planting.tempNames.clear();
    WriteFileAtomic(planting, page, "1");
    WriteFileAtomic(planting, page, "2");
    ASSERT_EQ(planting.tempNames.size(), 2u);
    const std::string prefix = page + ".pagloom-" + std::to_string(::getpid()) + "-";
    for (const std::string& name : planting.tempNames) {
        EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
        EXPECT_GE(name.size(), prefix.size() + 16 + 4) << name;
    }
    EXPECT_NE(planting.tempNames[0].substr(prefix.size(), 12),
              planting.tempNames[1].substr(prefix.size(), 12));
    EXPECT_EQ(ReadFile(secret), "geheim");
}

// The disk, with the process killed right after the half of a temporary file is written.
class DyingFs : public FileSystem {
  public:
    bool WriteNew(const std::string& path, std::string_view data) override {
        FileSystem::WriteNew(path, data.substr(0, data.size() / 2));
        ::raise(SIGKILL);
        return false;
    }
};

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(KilledBuild, ItsTemporaryFileIsRemovedByTheNextBuildButNotThoseOfRunningOnes) {
    TempDir dest;
    const std::string page = dest / "seite.htm";
    WriteFile(page, "alt");

    const pid_t dying = ::fork();
    ASSERT_GE(dying, 0);
    if (dying == 0) {
        DyingFs fs;
        WriteFileAtomic(fs, page, std::string(1000, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(dying, &status, 0), dying);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::vector<std::string> afterKill = Names(dest.Path());
    ASSERT_EQ(afterKill.size(), 2u) << "the killed write left its temporary file";
    const std::string leftover = afterKill[0] == "seite.htm" ? afterKill[1] : afterKill[0];
    EXPECT_EQ(leftover.rfind("seite.htm.pagloom-" + std::to_string(dying) + "-", 0), 0u);

    // A build still running (a live process) and files that only look similar are kept.
    const pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const std::string live = "seite.htm.pagloom-" + std::to_string(running) + "-00ff.tmp";
    const std::vector<std::string> kept = {live, "notiz.tmp", "a.pagloom-x-1.tmp",
                                           "b.pagloom-1-.tmp"};
    for (const std::string& name : kept) WriteFile(dest / name, "bleibt");

    DiskFileSystem disk;
    MakeReport report;
    {
        FileSaver saver(disk, report);
        saver.Save(dest / "neu.htm", {"neu"});
    }
    ::kill(running, SIGKILL);
    ::waitpid(running, &status, 0);

    std::vector<std::string> expected = kept;
    expected.push_back("neu.htm");
    expected.push_back("seite.htm");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dest.Path()), expected);
    EXPECT_EQ(ReadFile(page), "alt");
}

}  // namespace
}  // namespace pagloom
