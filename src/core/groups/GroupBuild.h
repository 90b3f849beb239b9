// SPDX-License-Identifier: MIT
// Building every project of a group (Make1Execute), the sitemap index over their sitemaps,
// and the group preview's choice of project. Every project is opened in the one project
// document the way the main window opens one, so after a group build the open project is the
// last one of the list.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "generator/TextLines.h"

namespace pagloom {

struct Project;
class ProjectDocument;
class TProjectGroup;

// What a group build uses of the program around it. Not owned.
struct GroupBuildEnv {
    // The open project, replaced by each OpenProject, with the build dialog and its shared log.
    ProjectDocument& document;
    // The main window's OpenProject (which opens the file in `document`); false when the file
    // was refused. Empty: the document's own Open.
    std::function<bool(const std::string& path)> openProject;
    // Save as, for a group without a file name when the user agrees to save it before the
    // build; returns whether it saved. Empty: such a group is not saved.
    std::function<bool()> saveGroupAs;
    // Step 3 and step 10 of the build: show the build dialog without its "Start" button and
    // with its region choice disabled, and bring both back afterwards. May be empty.
    std::function<void()> showBuildDialog;
    std::function<void()> restoreBuildDialog;
};

// What one group build did; pagloom-cli turns it into its exit status.
struct GroupOutcome {
    int built = 0;             // projects handed to MakeStartClick
    int skipped = 0;           // "Keine Änderung im Projekt"
    int projectsFailed = 0;    // "Fehler in Projekt" (the table check failed), or unreadable
    int buildsEndedEarly = 0;  // builds without their end line (no destination, unreadable input)
    int failedFiles = 0;       // "Fehler!" lines of all builds
    int errorMessages = 0;     // messages shown while builds went on (BuildOutcome)
    bool indexFailed = false;  // "Fehler bei Sitemap-Index"
    bool saveFailed = false;   // the group file could not be saved ("In ... kann nicht ...")
    bool cancelled = false;    // stopped through the build dialog's watch

    // Every member built (or skipped unchanged) without a fault: its sites may be published.
    bool Succeeded() const {
        return buildsEndedEarly == 0 && failedFiles == 0 && projectsFailed == 0 &&
               errorMessages == 0 && !indexFailed && !saveFailed && !cancelled;
    }
};

// The sitemap address a project contributes to the index: its sitemap prefix and sitemap file.
std::string SitemapIndexAddress(const Project& project);

// Make1Execute: builds every project of the group in order into one shared log, keeps
// LastSaveList up to date, saves the group when allowed, writes the sitemap index when asked.
// Stops early only when the document's Build.Watch asks it to: the project being built ends
// after its file being saved, the rest are not opened, that project keeps its LastSaveList
// entry (so it counts as changed next time), the group is saved as usual, no index is written
// and the last line says the group build was cancelled. With the document's Build.DryRun every
// build only plans, the group is neither asked about nor saved, LastSaveList stays, and the index
// is planned, not written.
GroupOutcome Make1Execute(TProjectGroup& group, GroupBuildEnv& env);

// The lines of a sitemap index listing `addresses` (Windows-1252), written as XML text in UTF-8
// (SitemapLocText).
TextLines SitemapIndexLines(const std::vector<std::string>& addresses);
// MakeSiteMapIndex: trims group.IndexMapFile, logs an empty line, replaces that file with the
// index and logs "Sitemap-Index: <file> erstellen fertig", or "Fehler bei Sitemap-Index: <file>"
// when it cannot be written (returns false then).
bool MakeSiteMapIndex(TProjectGroup& group, const std::vector<std::string>& addresses,
                      ProjectDocument& document);

// acVorschauExecute: opens the project of the first selected line that is in the group and
// returns the page the preview shows (PreviewDirectory + "/" + frameset file). Shows "Es konnte
// kein Projekt geladen werden!" or "Kann Datei <path> nicht öffnen" and returns nothing when
// there is nothing to show.
std::optional<std::string> PrepareGroupPreview(const TProjectGroup& group,
                                               const std::vector<std::string>& selectedLines,
                                               GroupBuildEnv& env);

}  // namespace pagloom
