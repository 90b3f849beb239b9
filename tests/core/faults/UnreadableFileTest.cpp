// SPDX-License-Identifier: MIT
// Project files that exist but cannot be read: refused with a message naming the file, never
// read as an empty project whose defaults a save or build would then write over the user's.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "groups/GroupBuild.h"
#include "groups/TProjectGroup.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"

namespace pagloom {
namespace {

using test::ReadFile;
using test::TempDir;

// A project with one page and the given destination, saved to `file`; returns its text.
std::string SaveSite(const std::string& file, const std::string& page, const std::string& dest) {
    Project p;
    p.MainMenu.Add(TWebMenu::NewMainItem("Seite", page, true));
    p.Settings.files.destination_directory = dest;
    p.Settings.content_page.empty_overwrite = true;
    RecordingHost host;
    DiskFileSystem disk;
    EXPECT_TRUE(SaveProject(p, file, disk, host));
    return ReadFile(file);
}

TEST(UnreadableProject, IsRefusedAndTheOpenProjectStaysWithItsFileName) {
    TempDir dir;
    const std::string good = dir / "gut.plp", bad = dir / "gesperrt.plp";
    SaveSite(good, "gut.htm", dir.Path());
    const std::string badText = SaveSite(bad, "gesperrt.htm", dir.Path());

    test::FaultyFs fs;
    fs.unreadable.insert(bad);
    RecordingHost host;
    ProjectDocument doc(fs, host);
    ASSERT_TRUE(doc.Open(good));
    doc.Modified = true;

    EXPECT_FALSE(doc.Open(bad));
    EXPECT_EQ(host.messages.back(), "Die Projektdatei " + bad + " kann nicht gelesen werden!");
    EXPECT_EQ(doc.FileName(), good);
    EXPECT_TRUE(doc.Modified);
    ASSERT_EQ(doc.project.MainMenu.Count(), 1);
    EXPECT_EQ(doc.project.MainMenu.Item(0).FileName, "gut.htm");

    // A later save goes to the project that stayed open, never over the unreadable file.
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(ReadFile(bad), badText);

    // A missing file is no error: it still opens as the defaults.
    EXPECT_TRUE(doc.Open(dir / "neu.plp"));
    EXPECT_EQ(doc.project.MainMenu.Count(), 0);
}

TEST(UnreadableProject, WithoutReadPermissionOnTheRealDisk) {
    TempDir dir;
    const std::string bad = dir / "gesperrt.plp";
    SaveSite(bad, "gesperrt.htm", dir.Path());
    ASSERT_EQ(chmod(bad.c_str(), 0), 0);
    // 0 when the file is refused with the right message; 1 read anyway, 2 another message.
    const auto refused = [&] {
        DiskFileSystem disk;
        RecordingHost host;
        Project p;
        if (LoadProject(p, bad, disk, host)) return 1;
        const std::vector<std::string> expected{"Die Projektdatei " + bad +
                                                " kann nicht gelesen werden!"};
        return host.messages == expected ? 0 : 2;
    };
    // Root reads any file, so the reading is done by an ordinary user.
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    EXPECT_EQ(test::AsOrdinaryUser(refused), 0)
        << "1: read anyway, 2: another message, 255: root could not be given up";
    chmod(bad.c_str(), 0600);
}

TEST(UnreadableProject, InAGroupIsReportedNotBuiltAndTheGroupGoesOn) {
    TempDir dir;
    const std::string bad = dir / "gesperrt.plp", good = dir / "gut.plp";
    ASSERT_EQ(mkdir((dir / "a").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir / "b").c_str(), 0755), 0);
    SaveSite(bad, "gesperrt.htm", dir / "a");
    SaveSite(good, "gut.htm", dir / "b");

    test::FaultyFs fs;
    fs.unreadable.insert(bad);
    RecordingHost host(dir.Path());
    ProjectDocument doc(fs, host);
    doc.Build.MenuScriptLibrary = {"function writemenu() {}"};
    TProjectGroup group;
    group.AddProjects({good, bad, good});
    GroupBuildEnv env{doc, {}, {}, {}, {}};
    const GroupOutcome o = Make1Execute(group, env);

    EXPECT_EQ(o.projectsFailed, 1);
    EXPECT_EQ(o.built, 2) << "both entries after and before the unreadable one are built";
    EXPECT_EQ(test::Exists(dir / "a/gesperrt.htm"), false);
    EXPECT_EQ(test::Exists(dir / "a/index.htm"), false) << "nothing is built in its place";
    EXPECT_TRUE(test::Exists(dir / "b/gut.htm"));
    const std::string message = "Die Projektdatei " + bad + " kann nicht gelesen werden!";
    EXPECT_NE(std::find(host.messages.begin(), host.messages.end(), message), host.messages.end());
    const auto log = doc.Build.Report.Lines();
    EXPECT_NE(std::find(log.begin(), log.end(), message), log.end());
}

}  // namespace
}  // namespace pagloom
