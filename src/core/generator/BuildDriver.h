// SPDX-License-Identifier: MIT
// The spine of a build: the build dialog's state, the checks before a build, MakeStartClick
// with its start and end lines, and the two flows that call the writers in their fixed order.
// The desktop program, the CLI and the project groups all build through MakeStartClick.
#pragma once
#include <functional>
#include <string>

#include "generator/BuildContext.h"
#include "generator/MakeReport.h"
#include "generator/TextLines.h"
#include "model/TPrjParams.h"

namespace pagloom {

struct Project;
class Host;

// The table-driven steps of BuildWithTables, implemented by the table code and handed to the
// build dialog by the host program (the rest of that flow is the same writers as without
// tables). Both may throw BuildAbort when a table or template cannot be read.
class TableBuildSteps {
  public:
    virtual ~TableBuildSteps() = default;
    // BuildMenuFromMainTable, then BuildSubMenusFromSubTable: rebuilds ctx.project.MainMenu.
    virtual void RebuildMenu(BuildContext& ctx) = 0;
    // First page, main-menu pages and sub-menu pages, each by its slot's content source.
    virtual void WritePages(BuildContext& ctx) = 0;
};

// The build dialog (TMakeForm): one for the whole program run, kept when it is closed.
struct BuildDialog {
    std::string Destination;       // MakeZielEdit; set from files/destination-directory on open
    bool RegionOverwrite = false;  // CBBeBeOverwrite "Bearbeitbare Bereiche überschreiben "
    bool RegionOverwriteVisible = false;  // RegionOverwrite is consulted only while visible
    MakeReport Report;                    // the log of every build of the run
    // The lines of default.js, loaded once at program start (LoadMenuScriptLibrary) and
    // appended to every menu script; a change to the file takes effect at the next start.
    TextLines MenuScriptLibrary;
    // The folder the preview shows; every build sets it to its destination.
    std::string PreviewDirectory;
    // Table-driven parts of BuildWithTables; not owned. Without them a table-driven project
    // ends its build with a message.
    TableBuildSteps* TableSteps = nullptr;
    // Called after a table-driven build rebuilt the menu, so the menu editor shows it.
    std::function<void()> RefreshMenuEditor;
};

// What one MakeStartClick did; the CLI turns it into its exit status.
struct BuildOutcome {
    bool started = false;     // false: no destination, nothing logged or written
    bool reachedEnd = false;  // the end line "Erstellen der Dateien fertig!" was logged
    int failedFiles = 0;      // files of this build logged "Fehler!"

    bool EndedEarly() const { return !reachedEnd; }
    bool Succeeded() const { return reachedEnd && failedFiles == 0; }
};

// Reads `programDir`/default.js as lines into `lines`. False (lines empty) when it cannot
// be read; the host program decides what to tell the user.
bool LoadMenuScriptLibrary(const std::string& programDir, TextLines& lines);

// A level's table is in use when its table field is available (the level's source is 2
// "Standard-Vorlage" or 3 "Dreamweaver-Vorlage") and its name display is not empty.
bool SlotTableInUse(const Project& project, ContentSlot slot);

// Completeness check of a table-driven project before the dialog opens. Shows the message of
// the last failing check through the host and returns false; true when all checks pass.
bool ErstellenTabOK(const Project& project, Host& host);

// Whether RegionOverwrite is shown for this project: pages from a Dreamweaver template, or from
// tables with a Dreamweaver template for the main menu or the sub-menu.
bool RegionOverwriteVisibleFor(const Project& project);
// Prepares RegionOverwrite each time the dialog is shown: visibility, and when visible the
// preset of the project (off, then dw-editable-overwrite, then tab-dw-editable-overwrite).
void PresetRegionOverwrite(const Project& project, BuildDialog& dialog);

// "Start": runs one build into dialog.Destination and logs it in dialog.Report.
// No destination: shows "Sie haben kein Zielverzeichnis angegeben!" and returns at once.
// A BuildAbort from any step is caught: its message is shown through the host and the log
// keeps what was written so far, without the end lines. projectFile is the open project's
// path for the frameset's comment line ("" when never saved).
BuildOutcome MakeStartClick(BuildDialog& dialog, Project& project, const std::string& projectFile,
                            Host& host);

// The two flows, for callers that run one step of the build themselves (tests, groups).
// Both may throw BuildAbort.
void BuildWithoutTables(BuildContext& ctx);
void BuildWithTables(BuildContext& ctx);

}  // namespace pagloom
