// SPDX-License-Identifier: MIT
// The spine of a build: the build dialog's state, the checks before a build, MakeStartClick
// with its start and end lines, and the two flows that call the writers in their fixed order.
// The desktop program, the CLI and the project groups all build through the project document,
// which calls MakeStartClick.
#pragma once
#include <functional>
#include <string>

#include "generator/BuildContext.h"
#include "generator/BuildPlan.h"
#include "generator/BuildRecord.h"
#include "generator/BuildWatch.h"
#include "generator/MakeReport.h"
#include "generator/TableBuildSteps.h"
#include "generator/TextLines.h"
#include "model/TPrjParams.h"

namespace pagloom {

struct Project;
class Host;
class FileSystem;
class ContentTables;

// The build dialog (TMakeForm): one per project document, kept when it is closed.
struct BuildDialog {
    std::string Destination;       // MakeZielEdit; set from files/destination-directory on open
    bool RegionOverwrite = false;  // CBBeBeOverwrite "Bearbeitbare Bereiche überschreiben "
    bool RegionOverwriteVisible = false;  // RegionOverwrite is consulted only while visible
    MakeReport Report;                    // the log of every build of the run
    // "Nur prüfen, nichts schreiben": a build runs in full but writes nothing, and logs for each
    // file what it would do, then the counts (BuildPlan.h). Groups honour it too.
    bool DryRun = false;
    // "Nach dem Erstellen veröffentlichen": the desktop program publishes the site (a group:
    // every member to its own target) after a build without a fault. Not stored in the project;
    // pagloom-cli asks for it with --publish.
    bool PublishAfterBuild = false;
    // The lines of default.js, loaded once at program start (LoadMenuScriptLibrary) and
    // appended to every menu script; a change to the file takes effect at the next start.
    TextLines MenuScriptLibrary;
    // The folder the preview shows; every build sets it to its destination.
    std::string PreviewDirectory;
    // Table-driven parts of BuildWithTables and the slots' tables they read; not owned (the
    // project document sets both to its own). Without steps a table-driven project ends its
    // build with a message.
    TableBuildSteps* TableSteps = nullptr;
    ContentTables* Tables = nullptr;
    // Called after a table-driven build rebuilt the menu, so the menu editor shows it.
    std::function<void()> RefreshMenuEditor;
    // A window that shows the build's progress and may stop it; not owned, may be null.
    BuildWatch* Watch = nullptr;
};

// What one MakeStartClick did; the CLI turns it into its exit status.
struct BuildOutcome {
    bool started = false;     // false: no destination, nothing logged or written
    bool reachedEnd = false;  // the end line "Erstellen der Dateien fertig!" was logged
    bool cancelled = false;   // stopped on the watch's request after a whole file
    int failedFiles = 0;      // files of this build logged "Fehler!"
    // Messages its steps showed while the build went on (a Dreamweaver template without its
    // <html> or </html> tag, a level without its table): pages were made, but not as asked.
    int errorMessages = 0;
    bool dryRun = false;  // the build only planned; `plan` holds its counts
    PlanCounts plan;
    // Every file the build came to, with what it did (or, planning, would do) with it.
    BuildRecord record;

    bool EndedEarly() const { return !reachedEnd; }
    bool Succeeded() const { return reachedEnd && failedFiles == 0 && errorMessages == 0; }
};

// Reads `programDir`/default.js as lines into `lines`. False (lines empty) when it cannot
// be read; the host program decides what to tell the user.
bool LoadMenuScriptLibrary(FileSystem& fs, const std::string& programDir, TextLines& lines);

// Completeness check of a table-driven project before the dialog opens. Shows the message of
// the last failing check through the host and returns false; true when all checks pass.
bool ErstellenTabOK(const Project& project, Host& host);

// Prepares RegionOverwrite each time the dialog is shown: visibility, and when visible the
// preset of the project (RegionOverwriteVisibleFor and RegionOverwritePresetFor).
void PresetRegionOverwrite(const Project& project, BuildDialog& dialog);

// "Start": runs one build into dialog.Destination and logs it in dialog.Report.
// With dialog.DryRun the build reads as usual but writes nothing; it logs
// "Prüfe Dateien in <destination> (nichts wird geschrieben):", a plan line per file and, at the
// end (even when the build would end early), the summary line in place of the end line; the
// preview's folder stays. Its outcome is the one the real build would have.
// No destination: shows "Sie haben kein Zielverzeichnis angegeben!" and returns at once.
// A BuildAbort from any step is caught: its message is shown through the host and the log
// keeps what was written so far, without the end lines. A stop requested through
// dialog.Watch ends the build after the file being saved: the log gets an empty line,
// "Erstellen abgebrochen!" (after the plan's summary when planning) and an empty line; the
// preview's folder stays. projectFile is the open project's
// path for the frameset's comment line ("" when never saved).
BuildOutcome MakeStartClick(BuildDialog& dialog, Project& project, const std::string& projectFile,
                            FileSystem& fs, Host& host);

// The two flows, for callers that run one step of the build themselves (tests, groups).
// Both may throw BuildAbort.
void BuildWithoutTables(BuildContext& ctx);
void BuildWithTables(BuildContext& ctx);

}  // namespace pagloom
