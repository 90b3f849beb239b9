// SPDX-License-Identifier: MIT
// The one open project of a front end: the project, its slot tables, its file name and changed
// mark, and the build dialog's state. Opening, saving and building go through here, so the
// desktop program, pagloom-cli, the group build, the benchmarks and the fuzz targets do them
// the same way. Qt-free; the file system and the host are handed in and must outlive it.
#pragma once
#include <optional>
#include <string>

#include "generator/BuildDriver.h"
#include "generator/TablePages.h"
#include "io/UserFile.h"
#include "model/Project.h"
#include "tables/ContentTables.h"

namespace pagloom {

class FileSystem;
class Host;

class ProjectDocument {
  public:
    ProjectDocument(FileSystem& fs, Host& host);
    ProjectDocument(const ProjectDocument&) = delete;
    ProjectDocument& operator=(const ProjectDocument&) = delete;

    // The windows show and edit these directly.
    Project project;
    // Unsaved changes exist; set by every user change, cleared by new, open and a good save.
    bool Modified = false;
    // The build dialog: destination, region choice, the log of every build, the menu script
    // library, the folder the preview shows, and the table steps with this document's tables.
    BuildDialog Build;

    FileSystem& Files() const { return fs_; }
    Host& Ports() const { return host_; }
    ContentTables& Tables() { return tables_; }
    // Path of the project file; empty for a new project that was never saved. Relative paths
    // the project names (templates, table folders) are read from its folder.
    const std::string& FileName() const { return fileName_; }

    // Reads <program folder>/default.js into Build.MenuScriptLibrary; false when it cannot be
    // read (the front end says so in its own way).
    bool LoadMenuScriptLibrary();

    // OpenProject: reads the file (a missing one gives the defaults), opens the slots' tables,
    // makes the project's destination the build destination and a non-empty one the preview's
    // folder. The file name becomes `path`; nothing is changed yet. A file that exists but
    // cannot be read is refused after LoadProject's message: the open project, its file name
    // and its changed mark stay, and the result is false.
    bool Open(const std::string& path);
    // NewProject: the same from <program folder>/default.plp, without a file name; an
    // unreadable default.plp gives the built-in defaults after the message.
    void New();
    // Saves to FileName() (false without one, or after SaveProject's message when the file
    // cannot be written). A good save clears the changed mark.
    bool Save();
    // Writes only the publishing target into FileName() (a trusted server key, the project's
    // id on its target); every other line of the file stays. False after the message when the
    // file cannot be written.
    bool SavePublishTarget();
    // Saves to `path`; on success that becomes the file name and the mark is cleared.
    bool SaveAs(const std::string& path);

    // ErstellenTabOK for a table-driven project (shows its message and returns false when a
    // check fails); true for every other project.
    bool TableCheck();
    // PresetRegionOverwrite; `overwrite` then replaces the preset while the choice is visible.
    void PresetRegionChoice(std::optional<bool> overwrite = std::nullopt);
    // "Start": one build into Build.Destination, logged in Build.Report.
    BuildOutcome MakeStart();

    // What a build without the dialog does before it starts: the region preset (with its
    // override), then the table check. False when the check failed (its message was shown).
    bool PrepareBuild(std::optional<bool> overwrite = std::nullopt);
    // PrepareBuild, then the build; nothing when the table check fails.
    std::optional<BuildOutcome> CheckAndBuild(std::optional<bool> overwrite = std::nullopt);

  private:
    // Reads the project file at `path`; its tables are read as those of `projectFile`.
    bool Read(const std::string& path, const std::string& projectFile);

    FileSystem& fs_;
    Host& host_;
    ContentTables tables_;
    TableBuild tableSteps_;
    std::string fileName_;
    // The fingerprint of the file's text as this document last read or saved it.
    std::optional<FileStamp> diskStamp_;
};

}  // namespace pagloom
