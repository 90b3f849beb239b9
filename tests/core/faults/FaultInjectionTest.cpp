// SPDX-License-Identifier: MIT
// Failures of the disk, injected through the file-system seam, against every way the core
// replaces a file: a build's generated files, a project save and a group save. Whatever
// fails, the file on disk before the attempt must survive byte for byte, the user must hear
// about it in the expected words, and no temporary file may be left in the folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "generator/BuildDriver.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"

namespace pagloom {
namespace {

namespace fs = std::filesystem;

enum class Fault {
    DiskFull,        // the write stops half-way and fails
    RenameFails,     // the temporary file is complete, replacing the old one fails
    ReadOnlyFolder,  // nothing may be created in the folder (root ignores chmod, so the seam
                     // refuses)
};

const char* Name(Fault f) {
    switch (f) {
        case Fault::DiskFull:
            return "disk full";
        case Fault::RenameFails:
            return "rename fails";
        case Fault::ReadOnlyFolder:
            return "read-only folder";
    }
    return "?";
}

// The real file system with one kind of fault switched on. Records every file it was asked to
// create, so a test can tell that a temporary file existed and is gone again.
class FaultyFs : public FileSystem {
  public:
    Fault fault = Fault::DiskFull;
    bool armed = false;
    std::set<std::string> created;

    bool WriteNew(const std::string& path, std::string_view data) override {
        created.insert(path);
        if (!armed) return FileSystem::WriteNew(path, data);
        switch (fault) {
            case Fault::DiskFull:
                FileSystem::WriteNew(path, data.substr(0, data.size() / 2));
                return false;
            case Fault::ReadOnlyFolder:
                return false;
            case Fault::RenameFails:
                break;
        }
        return FileSystem::WriteNew(path, data);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        if (armed && fault != Fault::DiskFull) return false;
        return FileSystem::Rename(from, to);
    }
    // New files are made all or nothing, so a full disk or a read-only folder leaves no file.
    CreateResult CreateNew(const std::string& path, std::string_view data) override {
        if (armed && fault != Fault::RenameFails) return CreateResult::Failed;
        return FileSystem::CreateNew(path, data);
    }
};

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

DiskFileSystem disk;

// Every entry of a folder (files and folders, recursively) with the bytes of each file.
std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        out[e.path().string()] = e.is_regular_file() ? ReadFile(e.path().string()) : "<folder>";
    return out;
}

// A small site: two pages with a sub-page, top frame and sitemap, everything overwritten on
// each build, so a second build with other texts has to replace every file.
Project SiteProject(const std::string& word) {
    Project p;
    auto& a = p.MainMenu.Add(TWebMenu::NewMainItem("Haus " + word, "haus.htm", true));
    a.SubMenu->Add(TWebMenu::NewSubItem("Garten " + word, "garten.htm", true));
    p.MainMenu.Add(TWebMenu::NewMainItem("Hof " + word, "hof.htm", true));
    auto& s = p.Settings;
    s.frameset.frametop = true;
    s.sitemap.make_sitemap = true;
    s.menu_frame.empty_overwrite = s.frames.overwrite_topframe = s.firstpage.overwrite_firstpage =
        true;
    s.content_page.empty_overwrite = true;
    return p;
}

struct BuildRun {
    BuildOutcome outcome;
    std::vector<std::string> log;
};

BuildRun Build(Project p, const std::string& destination, FileSystem& fs, Host& host) {
    BuildDialog dialog;
    dialog.Destination = destination;
    dialog.MenuScriptLibrary = {"function writemenu() {}"};
    BuildRun run;
    run.outcome = MakeStartClick(dialog, p, "", fs, host);
    run.log = dialog.Report.Lines();
    return run;
}

// The outcome line logged after each file of a build, by path.
std::map<std::string, std::string> Outcomes(const std::vector<std::string>& log) {
    std::map<std::string, std::string> out;
    for (size_t i = 0; i + 1 < log.size(); ++i)
        if (log[i].size() > 3 && log[i].compare(log[i].size() - 3, 3, "...") == 0)
            out[log[i].substr(0, log[i].size() - 3)] = log[i + 1];
    return out;
}

const Fault kFaults[] = {Fault::DiskFull, Fault::RenameFails, Fault::ReadOnlyFolder};

TEST(WriteFaults, FailedBuildWritesKeepThePreviousSiteAndLogEachChangedFileAsFailed) {
    for (const Fault fault : kFaults) {
        SCOPED_TRACE(Name(fault));
        TempDir dest;
        RecordingHost host;
        ASSERT_TRUE(Build(SiteProject("alt"), dest.Path(), disk, host).outcome.Succeeded());
        const auto before = Snapshot(dest.Path());
        ASSERT_GE(before.size(), 8u);

        FaultyFs faulty;
        faulty.fault = fault;
        faulty.armed = true;
        const BuildRun run = Build(SiteProject("neu"), dest.Path(), faulty, host);
        // Each changed file fails on its own (files the new texts do not touch stay
        // unchanged); the build still reaches its end.
        EXPECT_TRUE(run.outcome.reachedEnd);
        int failed = 0;
        for (const auto& [path, result] : Outcomes(run.log)) {
            EXPECT_NE(result, "OK") << path;
            failed += result == "Fehler!";
        }
        EXPECT_EQ(Outcomes(run.log).at(dest / "garten.htm"), "Fehler!");
        EXPECT_EQ(run.outcome.failedFiles, failed);
        EXPECT_EQ(Snapshot(dest.Path()), before);
        if (fault != Fault::ReadOnlyFolder) {
            // The temporary files did exist and were cleared away again.
            EXPECT_EQ(faulty.created.size(), static_cast<size_t>(failed));
            for (const auto& p : faulty.created) EXPECT_EQ(before.count(p), 0u) << p;
        }
    }
}

TEST(WriteFaults, FilesThatCannotBeCreatedAreLoggedAsFailedAndLeaveNothing) {
    for (const Fault fault : {Fault::DiskFull, Fault::ReadOnlyFolder}) {
        SCOPED_TRACE(Name(fault));
        TempDir dest;
        RecordingHost host;
        FaultyFs faulty;
        faulty.fault = fault;
        faulty.armed = true;
        const BuildRun run = Build(SiteProject("neu"), dest.Path(), faulty, host);
        EXPECT_TRUE(run.outcome.reachedEnd);
        const auto outcomes = Outcomes(run.log);
        EXPECT_GE(outcomes.size(), 8u);
        for (const auto& [path, result] : outcomes) EXPECT_EQ(result, "Fehler!") << path;
        EXPECT_EQ(run.outcome.failedFiles, static_cast<int>(outcomes.size()));
        EXPECT_TRUE(Snapshot(dest.Path()).empty());
    }
}

TEST(WriteFaults, FailedProjectSaveKeepsThePreviousFileAndSaysSo) {
    for (const Fault fault : kFaults) {
        SCOPED_TRACE(Name(fault));
        TempDir dir;
        RecordingHost host;
        const std::string file = dir / "site.plp";
        ASSERT_TRUE(SaveProject(SiteProject("alt"), file, disk, host));
        const auto before = Snapshot(dir.Path());

        FaultyFs faulty;
        faulty.fault = fault;
        faulty.armed = true;
        EXPECT_FALSE(SaveProject(SiteProject("neu"), file, faulty, host));
        EXPECT_EQ(host.messages,
                  std::vector<std::string>{"In " + file + " kann nicht geschrieben werden"});
        EXPECT_EQ(Snapshot(dir.Path()), before);
    }
}

TEST(WriteFaults, FailedGroupSaveKeepsThePreviousFileAndTheChangedMark) {
    for (const Fault fault : kFaults) {
        SCOPED_TRACE(Name(fault));
        TempDir dir;
        RecordingHost host;
        TProjectGroup group;
        group.GroupFileName = dir / "alle.plg";
        group.AddProjects({dir / "a.plp"});
        ASSERT_TRUE(group.FileSave(disk, host));
        const auto before = Snapshot(dir.Path());

        group.AddProjects({dir / "b.plp"});
        FaultyFs faulty;
        faulty.fault = fault;
        faulty.armed = true;
        EXPECT_FALSE(group.FileSave(faulty, host));
        EXPECT_EQ(host.messages, std::vector<std::string>{"In " + group.GroupFileName +
                                                          " kann nicht geschrieben werden"});
        EXPECT_TRUE(group.GroupModified);
        EXPECT_EQ(Snapshot(dir.Path()), before);
    }
}

TEST(WriteFaults, DestinationThatIsAFileIsLeftAloneAndEveryPageFails) {
    TempDir dir;
    RecordingHost host;
    const std::string notAFolder = dir / "ziel";
    WriteFile(notAFolder, "eine Datei\r\n");
    const BuildRun run = Build(SiteProject("neu"), notAFolder, disk, host);
    EXPECT_TRUE(run.outcome.reachedEnd);
    const auto outcomes = Outcomes(run.log);
    ASSERT_FALSE(outcomes.empty());
    for (const auto& [path, result] : outcomes) EXPECT_EQ(result, "Fehler!") << path;
    EXPECT_EQ(ReadFile(notAFolder), "eine Datei\r\n");
    EXPECT_EQ(Snapshot(dir.Path()).size(), 1u);

    // A project or group file inside that "folder" cannot be saved either.
    const std::string file = notAFolder + "/site.plp";
    EXPECT_FALSE(SaveProject(SiteProject("neu"), file, disk, host));
    TProjectGroup group;
    group.GroupFileName = notAFolder + "/alle.plg";
    EXPECT_FALSE(group.FileSave(disk, host));
    EXPECT_EQ(host.messages, (std::vector<std::string>{
                                 "In " + file + " kann nicht geschrieben werden",
                                 "In " + group.GroupFileName + " kann nicht geschrieben werden"}));
    EXPECT_EQ(Snapshot(dir.Path()).size(), 1u);
}

TEST(WriteFaults, GeneratedFileNamedLikeAFolderFailsWithoutTouchingTheFolder) {
    TempDir dest;
    RecordingHost host;
    fs::create_directory(dest / "hof.htm");
    WriteFile(dest / "hof.htm/notiz.txt", "bleibt");
    const BuildRun run = Build(SiteProject("neu"), dest.Path(), disk, host);
    EXPECT_EQ(run.outcome.failedFiles, 1);
    EXPECT_EQ(Outcomes(run.log).at(dest / "hof.htm"), "Fehler!");
    EXPECT_EQ(ReadFile(dest / "hof.htm/notiz.txt"), "bleibt");
    for (const auto& [path, bytes] : Snapshot(dest.Path()))
        EXPECT_EQ(path.find(".tmp"), std::string::npos) << path;
}

// Another program (or the user) removes things between opening a project and saving it.
class VanishingFs : public FileSystem {
  public:
    std::string removeOnWrite;  // removed just before the temporary file is written
    bool WriteNew(const std::string& path, std::string_view data) override {
        if (!removeOnWrite.empty()) {
            std::error_code ec;
            fs::remove_all(removeOnWrite, ec);
            removeOnWrite.clear();
        }
        return FileSystem::WriteNew(path, data);
    }
};

TEST(WriteFaults, ProjectFileThatVanishedBeforeTheSaveIsWrittenAnewWhole) {
    TempDir dir;
    RecordingHost host;
    host.fixedNow.tm_year = 126;  // the save stamps the time; fixed, so two saves compare equal
    host.fixedNow.tm_mday = 1;
    const std::string file = dir / "site.plp";
    ASSERT_TRUE(SaveProject(SiteProject("alt"), file, disk, host));
    Project loaded;
    LoadProject(loaded, file, disk, host);

    // Gone before the save starts, and gone while the save runs: both times the save writes
    // the complete project, not a remainder of the old file.
    TempDir fresh;
    ASSERT_TRUE(SaveProject(loaded, fresh / "site.plp", disk, host));
    const std::string expected = ReadFile(fresh / "site.plp");

    fs::remove(file);
    EXPECT_TRUE(SaveProject(loaded, file, disk, host));
    EXPECT_EQ(ReadFile(file), expected);

    VanishingFs vanishing;
    vanishing.removeOnWrite = file;
    EXPECT_TRUE(SaveProject(loaded, file, vanishing, host));
    EXPECT_EQ(ReadFile(file), expected);
    EXPECT_EQ(Snapshot(dir.Path()).size(), 1u);
    EXPECT_TRUE(host.messages.empty());

    // With its folder gone as well, the save fails with the message and creates nothing.
    vanishing.removeOnWrite = dir.Path();
    EXPECT_FALSE(SaveProject(loaded, file, vanishing, host));
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"In " + file + " kann nicht geschrieben werden"});
    EXPECT_FALSE(fs::exists(dir.Path()));
}

}  // namespace
}  // namespace pagloom
