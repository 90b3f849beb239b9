// SPDX-License-Identifier: MIT
// What a writer sees of the build that runs: the project, the file system, the destination,
// the log and the host. One BuildContext lives for one run of MakeStartClick; writers get it by
// reference.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "generator/BuildRecord.h"
#include "generator/MakeReport.h"
#include "generator/TextLines.h"

namespace pagloom {

struct Project;
struct ProjectSettings;
class Host;
class FileSystem;
class ContentTables;
class ContentTable;
class TableBuildSteps;
enum class ContentSlot;
class FileSaver;
struct BuildWatch;

struct BuildContext {
    Project& project;  // the menu may be rebuilt by the table flow, hence not const
    FileSystem& fs;    // every file the build reads or writes
    Host& host;
    MakeReport& report;
    std::string destination;             // the build dialog's destination, as the user gave it
    std::string projectFile;             // path of the open project file; "" when never saved
    const TextLines& menuScriptLibrary;  // the lines of default.js
    bool regionOverwriteVisible = false;
    bool regionOverwrite = false;
    TableBuildSteps* tableSteps = nullptr;         // table-driven parts of the table flow
    ContentTables* tables = nullptr;               // the slots' tables the table steps read
    std::function<void()> refreshMenuEditor = {};  // shows a rebuilt menu; may be empty
    FileSaver* saver = nullptr;     // lists the destination once; none: each file on its own
    BuildRecord* record = nullptr;  // what the build did with each file; none: not recorded
    BuildWatch* watch = nullptr;    // progress and stop request of a window; none: runs to its end

    const ProjectSettings& Settings() const;
    // The slot's table object for the project's table kind; none for "none_table", for a slot
    // whose name display is empty (its table did not open or was removed) or when the build has
    // no tables.
    ContentTable* SlotTable(ContentSlot slot) const;

    // destination + "/" + name, joined as they stand: a name may hold a relative sub-path,
    // and an empty name gives the destination folder itself (whose write then fails).
    std::string PathOf(std::string_view fileName) const;

    // The write rule: a file that a setting allows is written when its overwrite setting is
    // on or no file exists at the path yet. A file it keeps is recorded as skipped.
    bool WriteRuleAllows(const std::string& path, bool overwrite) const;
    // Records a file that a step leaves as it is by its own rule (as WriteRuleAllows does).
    void Skip(const std::string& path) const;
    // A file whose name would lead out of the destination (an absolute name, or ".." that
    // climbs above it) is not written: logged and recorded as failed, true then.
    bool Refused(const std::string& path) const;
    // The name of a path below the destination (the path itself when it is not below it).
    std::string_view NameIn(const std::string& path) const;

    // SaveIfChanged into this build's log and record. Throws BuildAbort when an existing file
    // cannot be read for the comparison (recorded as failed).
    void Save(const std::string& path, const TextLines& lines) const;
    // The same for lines already joined with CR LF (NormalizeLineBreaks gives that form).
    void SaveText(const std::string& path, std::string text) const;
    // Whether a file is at `path`, and its lines.
    bool FileExists(const std::string& path) const;
    TextLines ReadLines(const std::string& path) const;
    // The lines of a template the project names: a relative path is read from the project
    // file's folder (ProjectInputPath).
    TextLines ReadTemplate(const std::string& storedPath) const;
    // A line for the log.
    void Log(std::string line) const;
    // The site's file list is known anew (a build from tables rebuilt its menu): the watch's
    // total follows it.
    void CountSiteFiles() const;

    // Dreamweaver pages: keep the editable regions of existing pages (RegionOverwrite visible
    // and off) rather than writing them fresh.
    bool KeepRegions() const { return regionOverwriteVisible && !regionOverwrite; }

  private:
    // Records a file's fate and counts it for the watch.
    void Recorded(const std::string& path, FileFate fate) const;
    // Throws BuildCancelled when the watch asks the build to stop; called after a whole file.
    void StopIfAsked() const;
};

}  // namespace pagloom
