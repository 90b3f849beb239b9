// SPDX-License-Identifier: MIT
// Saving the files the user keeps (project and group files): never over a file the user may not
// write, through a link to the file it leads to, not silently over what another window saved,
// and without leaving what an interrupted save left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "io/UserFile.h"

namespace fs = std::filesystem;

namespace pagloom {
namespace {

using test::CrLf;
using test::ReadFile;
using test::TempDir;

std::string SmallProject(const std::string& title) {
    return CrLf({"[frameset]", "titel=" + title, "[menu]", "count=1", "text_0=A", "file_0=a.htm"});
}

int ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// A read-only project or group file stays as it is, though its folder would let a rename replace
// it; the save says it cannot write there.
TEST(UserFileSave, AReadOnlyFileIsNotReplaced) {
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);  // the folder allows the rename to anyone
    const std::string project = dir.Write("nur-lesen.plp", SmallProject("Alt"));
    const std::string group =
        dir.Write("nur-lesen.plg", CrLf({"[projects]", "count=1", "filename_1=" + project}));
    ASSERT_EQ(chmod(project.c_str(), 0444), 0);
    ASSERT_EQ(chmod(group.c_str(), 0444), 0);

    // 0: both refused with the message, 1: the project replaced, 2: the group replaced,
    // 3: another message.
    const int result = test::AsOrdinaryUser([&] {
        DiskFileSystem disk;
        RecordingHost host;
        ProjectDocument doc(disk, host);
        if (!doc.Open(project)) return 3;
        doc.project.Settings.frameset.titel = "Neu";
        if (doc.Save()) return 1;
        TProjectGroup g;
        if (!g.Open(disk, group)) return 3;
        g.AddProjects({project});
        if (g.FileSave(disk, host)) return 2;
        const std::vector<std::string> expected = {
            "In " + project + " kann nicht geschrieben werden",
            "In " + group + " kann nicht geschrieben werden"};
        return host.messages == expected ? 0 : 3;
    });
    EXPECT_EQ(result, 0) << "255: root could not be given up";
    EXPECT_EQ(ReadFile(project), SmallProject("Alt"));
    EXPECT_EQ(ModeOf(project), 0444);
    EXPECT_EQ(ModeOf(group), 0444);
    EXPECT_EQ(dir.EntryCount(), 2u) << "a temporary file was left";
}

// Two windows on one project: the second save over a file the first one saved since is asked
// about; "Nein" keeps the first window's change and fails like a failed save.
TEST(UserFileSave, TwoDocumentsOnOneFileAskBeforeOverwriting) {
    TempDir dir;
    const std::string path = dir.Write("p.plp", SmallProject("Alt"));
    DiskFileSystem disk;
    RecordingHost hostA, hostB;
    ProjectDocument a(disk, hostA), b(disk, hostB);
    ASSERT_TRUE(a.Open(path));
    ASSERT_TRUE(b.Open(path));

    a.project.Settings.frameset.titel = "Von A";
    ASSERT_TRUE(a.Save());
    a.project.Settings.frameset.titel = "Von A, nochmals";
    ASSERT_TRUE(a.Save()) << "its own last save is no change made elsewhere";
    EXPECT_TRUE(hostA.questions.empty());

    b.project.MainMenu.Item(0).Text = "Von B";
    b.Modified = true;
    hostB.answers = {Answer::No};
    EXPECT_FALSE(b.Save());
    EXPECT_EQ(hostB.questions, std::vector<std::string>{ChangedOnDiskQuestion(path)});
    EXPECT_TRUE(hostB.messages.empty());
    EXPECT_TRUE(b.Modified);
    EXPECT_NE(ReadFile(path).find("titel=Von A, nochmals"), std::string::npos);

    hostB.answers = {Answer::Yes};
    EXPECT_TRUE(b.Save());
    EXPECT_NE(ReadFile(path).find("text_0=Von B"), std::string::npos);
    EXPECT_EQ(ReadFile(path).find("Von A"), std::string::npos);

    // Saved under another name, nothing is asked; that file is then its own.
    hostB.questions.clear();
    EXPECT_TRUE(b.SaveAs(dir / "kopie.plp"));
    EXPECT_TRUE(hostB.questions.empty());
}

TEST(UserFileSave, TwoGroupsOnOneFileAskBeforeOverwriting) {
    TempDir dir;
    const std::string path =
        dir.Write("g.plg", CrLf({"[projects]", "count=1", "filename_1=/a.plp"}));
    DiskFileSystem disk;
    RecordingHost host;
    TProjectGroup first, second;
    ASSERT_TRUE(first.Open(disk, path));
    ASSERT_TRUE(second.Open(disk, path));
    first.AddProjects({"/b.plp"});
    ASSERT_TRUE(first.FileSave(disk, host));
    EXPECT_TRUE(host.questions.empty());
    second.AddProjects({"/c.plp"});
    host.answers = {Answer::No};
    EXPECT_FALSE(second.FileSave(disk, host));
    EXPECT_EQ(host.questions, std::vector<std::string>{ChangedOnDiskQuestion(path)});
    EXPECT_NE(ReadFile(path).find("/b.plp"), std::string::npos);
    EXPECT_EQ(ReadFile(path).find("/c.plp"), std::string::npos);
}

// Saved through a link, the file it leads to is updated (in its own folder) and the link stays.
TEST(UserFileSave, SavingThroughALinkUpdatesItsTarget) {
    TempDir dir;
    const std::string target = dir.Write("echt/projekt.plp", SmallProject("Alt"));
    fs::create_directory(dir / "links");
    fs::create_symlink("../echt/projekt.plp", dir / "links/projekt.plp");
    const std::string link = dir / "links/projekt.plp";
    DiskFileSystem disk;
    RecordingHost host;
    ProjectDocument doc(disk, host);
    ASSERT_TRUE(doc.Open(link));
    doc.project.Settings.frameset.titel = "Neu";
    ASSERT_TRUE(doc.Save());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(ReadFile(target).find("titel=Neu"), std::string::npos);
    EXPECT_EQ(fs::read_symlink(link), "../echt/projekt.plp");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "links"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "echt"), fs::directory_iterator()), 1);
}

// A save killed part-way leaves a full temporary copy beside the project; the next open removes
// it once its process is gone, and never one of a process that still runs.
TEST(UserFileSave, OpeningRemovesWhatAKilledSaveLeft) {
    TempDir dir;
    const std::string path = dir.Write("p.plp", SmallProject("Alt"));
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string dead =
        dir.Write("p.plp.pagloom-" + std::to_string(gone) + "-0123456789abcdef.tmp", "x");
    const std::string alive =
        dir.Write("p.plp.pagloom-" + std::to_string(getppid()) + "-0123456789abcdef.tmp", "x");
    DiskFileSystem disk;
    RecordingHost host;
    ProjectDocument doc(disk, host);
    ASSERT_TRUE(doc.Open(path));
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(alive));
}

}  // namespace
}  // namespace pagloom
