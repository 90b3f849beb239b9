// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "TestSupport.h"
#include "io/FileSystem.h"

using namespace pagloom;
using test::TempDir;

// Core paths are Windows-1252 text; on disk the folder carries its UTF-8 name.
TEST(FileSystem, Windows1252PathsReachUtf8NamesOnDisk) {
    DiskFileSystem disk;
    TempDir root;
    const std::string utf8Dir = root.File(
        "\xC3\x9C"
        "bersicht");
    ASSERT_EQ(mkdir(utf8Dir.c_str(), 0777), 0);
    const std::string cpDir = root.File(
        "\xDC"
        "bersicht");

    EXPECT_TRUE(disk.DirectoryExists(cpDir));
    std::string error;
    ASSERT_TRUE(WriteFileAtomic(disk, cpDir + "/m\xE4rz.htm", "x\r\n", &error)) << error;

    EXPECT_EQ(test::ReadFile(utf8Dir + "/m\xC3\xA4rz.htm"), "x\r\n");
    EXPECT_EQ(disk.ListFiles(cpDir), std::vector<std::string>{"m\xE4rz.htm"});

    std::string read;
    EXPECT_TRUE(disk.ReadAll(cpDir + "/m\xE4rz.htm", read));
    EXPECT_EQ(read, "x\r\n");
}

TEST(FileSystem, AtomicWriteKeepsOldFileWhenRenameFails) {
    test::FaultyFs faulty;
    TempDir root;
    const std::string file = root.File("a.htm");
    ASSERT_TRUE(WriteFileAtomic(faulty, file, "old"));
    faulty.failRenames = true;
    EXPECT_FALSE(WriteFileAtomic(faulty, file, "new"));
    EXPECT_EQ(test::ReadFile(file), "old");
    EXPECT_EQ(faulty.ListFiles(root.Path()), std::vector<std::string>{"a.htm"});
}

TEST(FileSystem, NewFileIsCreatedWholeOrNotAtAll) {
    struct FailingCreate : FileSystem {
        CreateResult CreateNew(const std::string&, std::string_view) override {
            return CreateResult::Failed;
        }
    } failing;
    DiskFileSystem disk;
    TempDir root;
    ASSERT_TRUE(WriteFileAtomic(disk, root / "new.htm", "a\r\n", nullptr, true));
    EXPECT_EQ(test::ReadFile(root / "new.htm"), "a\r\n");
    // A name that is already taken is replaced, even when the caller thought it missing.
    ASSERT_TRUE(WriteFileAtomic(disk, root / "new.htm", "b\r\n", nullptr, true));
    EXPECT_EQ(test::ReadFile(root / "new.htm"), "b\r\n");

    EXPECT_FALSE(WriteFileAtomic(failing, root / "other.htm", "c"));
    EXPECT_EQ(disk.ListFiles(root.Path()), std::vector<std::string>{"new.htm"});
}

// A named pipe under a page's name is not waited on (opening it for reading would block until
// someone writes), and a folder's listing names everything in it.
TEST(FileSystem, PipesAreNotReadAndListingsNameEverything) {
    DiskFileSystem disk;
    TempDir root;
    ASSERT_EQ(mkfifo((root / "pipe.htm").c_str(), 0644), 0);
    ASSERT_EQ(mkdir((root / "sub").c_str(), 0755), 0);
    root.Write("\xC3\xA4.htm", "x");
    std::string read;
    EXPECT_FALSE(disk.ReadAll(root / "pipe.htm", read));
    std::vector<std::string> names;
    ASSERT_TRUE(disk.ListNames(root.Path(), names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"pipe.htm", "sub", "\xE4.htm"}));
    EXPECT_FALSE(disk.ListNames(root / "fehlt", names));
}
