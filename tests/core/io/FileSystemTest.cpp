// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "io/FileSystem.h"

using namespace pagloom;

namespace {

std::string MakeTempDir() {
    char tmpl[] = "/tmp/pagloom-fs-XXXXXX";
    return mkdtemp(tmpl);
}

}  // namespace

// Core paths are Windows-1252 text; on disk the folder carries its UTF-8 name.
TEST(FileSystem, Windows1252PathsReachUtf8NamesOnDisk) {
    const std::string root = MakeTempDir();
    const std::string utf8Dir = root +
                                "/\xC3\x9C"
                                "bersicht";
    ASSERT_EQ(mkdir(utf8Dir.c_str(), 0777), 0);
    const std::string cpDir = root +
                              "/\xDC"
                              "bersicht";

    EXPECT_TRUE(Fs().DirectoryExists(cpDir));
    std::string error;
    ASSERT_TRUE(WriteFileAtomic(cpDir + "/m\xE4rz.htm", "x\r\n", &error)) << error;

    std::ifstream onDisk(utf8Dir + "/m\xC3\xA4rz.htm", std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(onDisk)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "x\r\n");
    EXPECT_EQ(Fs().ListFiles(cpDir), std::vector<std::string>{"m\xE4rz.htm"});

    std::string read;
    EXPECT_TRUE(Fs().ReadAll(cpDir + "/m\xE4rz.htm", read));
    EXPECT_EQ(read, "x\r\n");
    std::system(("rm -rf '" + root + "'").c_str());
}

TEST(FileSystem, AtomicWriteKeepsOldFileWhenRenameFails) {
    struct FailingRename : FileSystem {
        bool Rename(const std::string&, const std::string&) override { return false; }
    } failing;
    const std::string root = MakeTempDir();
    const std::string file = root + "/a.htm";
    ASSERT_TRUE(WriteFileAtomic(file, "old"));
    SetFs(&failing);
    EXPECT_FALSE(WriteFileAtomic(file, "new"));
    SetFs(nullptr);
    std::string read;
    ASSERT_TRUE(Fs().ReadAll(file, read));
    EXPECT_EQ(read, "old");
    EXPECT_EQ(Fs().ListFiles(root), std::vector<std::string>{"a.htm"});
    std::system(("rm -rf '" + root + "'").c_str());
}

TEST(FileSystem, NewFileIsCreatedWholeOrNotAtAll) {
    struct FailingCreate : FileSystem {
        CreateResult CreateNew(const std::string&, std::string_view) override {
            return CreateResult::Failed;
        }
    } failing;
    const std::string root = MakeTempDir();
    ASSERT_TRUE(WriteFileAtomic(root + "/new.htm", "a\r\n", nullptr, true));
    std::string read;
    ASSERT_TRUE(Fs().ReadAll(root + "/new.htm", read));
    EXPECT_EQ(read, "a\r\n");
    // A name that is already taken is replaced, even when the caller thought it missing.
    ASSERT_TRUE(WriteFileAtomic(root + "/new.htm", "b\r\n", nullptr, true));
    ASSERT_TRUE(Fs().ReadAll(root + "/new.htm", read));
    EXPECT_EQ(read, "b\r\n");

    SetFs(&failing);
    EXPECT_FALSE(WriteFileAtomic(root + "/other.htm", "c"));
    SetFs(nullptr);
    EXPECT_EQ(Fs().ListFiles(root), std::vector<std::string>{"new.htm"});
    std::system(("rm -rf '" + root + "'").c_str());
}

// A named pipe under a page's name is not waited on (opening it for reading would block until
// someone writes), and a folder's listing names everything in it.
TEST(FileSystem, PipesAreNotReadAndListingsNameEverything) {
    const std::string root = MakeTempDir();
    ASSERT_EQ(mkfifo((root + "/pipe.htm").c_str(), 0644), 0);
    ASSERT_EQ(mkdir((root + "/sub").c_str(), 0755), 0);
    std::ofstream(root + "/\xC3\xA4.htm") << "x";
    std::string read;
    EXPECT_FALSE(Fs().ReadAll(root + "/pipe.htm", read));
    std::vector<std::string> names;
    ASSERT_TRUE(Fs().ListNames(root, names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"pipe.htm", "sub", "\xE4.htm"}));
    EXPECT_FALSE(Fs().ListNames(root + "/fehlt", names));
    std::system(("rm -rf '" + root + "'").c_str());
}
