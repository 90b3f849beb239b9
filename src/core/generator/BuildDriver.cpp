// SPDX-License-Identifier: MIT
#include "generator/BuildDriver.h"

#include <optional>

#include "generator/BuildError.h"
#include "generator/ContentPages.h"
#include "generator/DreamweaverPages.h"
#include "generator/FileSaver.h"
#include "generator/FramePageWriter.h"
#include "generator/FramesetWriter.h"
#include "generator/MenuFrameWriter.h"
#include "generator/MenuIncludeWriter.h"
#include "generator/MenuScriptWriter.h"
#include "generator/SitemapWriter.h"
#include "generator/StylesheetWriter.h"
#include "generator/WriteByRule.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "model/ProjectRules.h"
#include "ports/Host.h"
#include "tables/TableError.h"

namespace pagloom {
namespace {

// The host as the build's steps see it: everything goes to the real host, and the messages are
// counted, since a step that shows one goes on without what it could not make.
class CountingHost : public Host {
  public:
    explicit CountingHost(Host& host) : host_(host) {}
    void ShowMessage(const std::string& text) override {
        ++shown;
        host_.ShowMessage(text);
    }
    void ShowMessageWithDetails(const std::string& text, const std::string& details) override {
        ++shown;
        host_.ShowMessageWithDetails(text, details);
    }
    Answer Ask(const std::string& question, bool withCancel) override {
        return host_.Ask(question, withCancel);
    }
    std::string ProgramDir() const override { return host_.ProgramDir(); }
    std::string ProgramVersion() const override { return host_.ProgramVersion(); }
    std::tm LocalNow() const override { return host_.LocalNow(); }
    void Beep() override { host_.Beep(); }
    void KeepAlive() override { host_.KeepAlive(); }

    int shown = 0;

  private:
    Host& host_;
};

const FramesetWriter kFrameset;
const StylesheetWriter kStylesheet;
const MenuScriptWriter kMenuScript;
const MenuIncludeWriter kMenuInclude;
const MenuFrameWriter kMenuFrame;
const FramePageWriter kTopFrame(FramePageWriter::Top);
const FramePageWriter kBottomFrame(FramePageWriter::Bottom);
const SitemapWriter kSitemap;

// The writer of each file that stands on its own; the site's file list gives their order.
const FileWriter* const kWriters[] = {&kFrameset,  &kStylesheet, &kMenuScript,  &kMenuInclude,
                                      &kMenuFrame, &kTopFrame,   &kBottomFrame, &kSitemap};

const FileWriter& WriterOf(SiteFileKind kind) {
    for (const FileWriter* w : kWriters)
        if (w->Kind() == kind) return *w;
    throw BuildAbort("Kein Schreiber f\xFCr diese Datei");  // a kind added without its writer
}

// Both flows: the single files in the list's order, then the pages, then the sitemap. A build
// from tables rebuilds the menu right after the frameset (which does not name the menu's
// pages), so everything after it lists the rebuilt menu, and shows it once the script is out.
template <typename Pages>
void BuildFlow(BuildContext& ctx, bool fromTables, Pages&& writePages) {
    for (SiteFileKind kind : kSingleSiteFiles) {
        WriteByRule(ctx, WriterOf(kind));
        if (!fromTables) continue;
        if (kind == SiteFileKind::Frameset) {
            ctx.tableSteps->RebuildMenu(ctx);
            ctx.CountSiteFiles();
        }
        if (kind == SiteFileKind::MenuScript && ctx.refreshMenuEditor) ctx.refreshMenuEditor();
    }
    writePages(ctx);
    WriteByRule(ctx, kSitemap);
}

// Step 8 of the flow without tables: the first page and the content pages.
void WriteContentPages(BuildContext& ctx) {
    const ContentPageSettings& cp = ctx.Settings().content_page;
    switch (cp.source.Selected()) {
        case kEmptyPages:
            WriteEmptyPages(ctx);
            break;
        case kTemplatePages:
            if (cp.template_file.empty())
                WriteEmptyPages(ctx);
            else
                WriteTemplatePages(ctx);
            break;
        case kDwTemplatePages:
            if (cp.dw_template_file.empty()) {
                WriteEmptyPages(ctx);
            } else if (ctx.KeepRegions()) {
                UpdateDWPages(ctx);
            } else {
                WriteDWPages(ctx);
            }
            break;
        default:  // no pages, or no option selected: not even the first page
            break;
    }
}

}  // namespace

bool LoadMenuScriptLibrary(FileSystem& fs, const std::string& programDir, TextLines& lines) {
    lines.clear();
    std::string text;
    if (!fs.ReadAll(JoinPath(programDir, "default.js"), text)) return false;
    lines = SplitLines(text);
    return true;
}

bool ErstellenTabOK(const Project& project, Host& host) {
    const SlotTableSettings& mainSlot = project.Tables.Slot[ContentSlot::mainmenu];
    const SlotTableSettings& subSlot = project.Tables.Slot[ContentSlot::submenu];
    const int mainSource = mainSlot.content_source;
    const int subSource = subSlot.content_source;
    // Each failing check replaces the pending message; only the last one is shown.
    const char* message = nullptr;
    if (mainSource > 0 && !SlotTableInUse(project, ContentSlot::mainmenu))
        message = "Sie haben keine Tabelle im Hauptmen\xFC-Regiser ausgew\xE4hlt!";
    else if (SlotTableFieldAvailable(mainSource) && mainSlot.template_file.empty())
        message = "Sie haben keine Vorlage im Hauptmen\xFC-Register angegeben!";
    if (subSource > 0 && mainSource == 0)
        message =
            "Da Sie die Option \"Keine Seiten erstellen\" im Hauptmen\xFC-Register angegeben "
            "haben, k\xF6nnen keine "
            "Seiten f\xFCr Untermen\xFCs erstellt werden!";
    else if (subSource > 0 && !SlotTableInUse(project, ContentSlot::submenu))
        message = "Sie haben keine Tabelle im Untermen\xFC-Register angegeben!";
    else if (SlotTableFieldAvailable(subSource) && subSlot.template_file.empty())
        message = "Sie haben keine Vorlage im Untermen\xFC-Register angegeben!";
    if (!message) return true;
    host.ShowMessage(message);
    return false;
}

void PresetRegionOverwrite(const Project& project, BuildDialog& dialog) {
    dialog.RegionOverwriteVisible = RegionOverwriteVisibleFor(project);
    if (dialog.RegionOverwriteVisible) dialog.RegionOverwrite = RegionOverwritePresetFor(project);
}

void BuildWithoutTables(BuildContext& ctx) { BuildFlow(ctx, false, WriteContentPages); }

void BuildWithTables(BuildContext& ctx) {
    if (!ctx.tableSteps)
        throw BuildAbort(
            "Inhalts-Seiten aus Tabellen k\xF6nnen in diesem Programm nicht erstellt werden!");
    BuildFlow(ctx, true, [](BuildContext& c) { c.tableSteps->WritePages(c); });
}

BuildOutcome MakeStartClick(BuildDialog& dialog, Project& project, const std::string& projectFile,
                            FileSystem& fs, Host& host) {
    BuildOutcome outcome;
    if (dialog.Destination.empty()) {
        host.ShowMessage("Sie haben kein Zielverzeichnis angegeben!");
        return outcome;
    }
    outcome.started = true;
    outcome.dryRun = dialog.DryRun;
    MakeReport& report = dialog.Report;
    const int failedBefore = report.FailedFiles();
    report.Add(dialog.DryRun ? PlanStartLine(dialog.Destination)
                             : "Erstelle Dateien in " + dialog.Destination + ":");
    report.Add("");

    // A planning build writes through a file system that keeps its writes in memory.
    std::optional<PlanningFileSystem> planFs;
    if (dialog.DryRun) planFs.emplace(fs);
    FileSystem& buildFs = planFs ? static_cast<FileSystem&>(*planFs) : fs;
    FileSaver saver(buildFs, report, dialog.DryRun ? &outcome.plan : nullptr);
    CountingHost stepsHost(host);
    BuildContext ctx{project,
                     buildFs,
                     stepsHost,
                     report,
                     dialog.Destination,
                     projectFile,
                     dialog.MenuScriptLibrary,
                     dialog.RegionOverwriteVisible,
                     dialog.RegionOverwrite,
                     dialog.TableSteps,
                     dialog.Tables,
                     dialog.RefreshMenuEditor,
                     &saver,
                     &outcome.record,
                     dialog.Watch};
    if (dialog.Watch) dialog.Watch->filesDone = 0;
    ctx.CountSiteFiles();
    std::optional<std::string> failure;
    try {
        if (project.Settings.TablesDrive())
            BuildWithTables(ctx);
        else
            BuildWithoutTables(ctx);
    } catch (const BuildAbort& e) {
        failure = e.what();
    } catch (const TableError& e) {
        failure = e.what();
    } catch (const BuildCancelled&) {
        outcome.cancelled = true;
    }
    if (outcome.cancelled) {
        outcome.failedFiles = report.FailedFiles() - failedBefore;
        outcome.errorMessages = stepsHost.shown;
        report.Add("");
        if (dialog.DryRun) report.Add(PlanSummary(outcome.plan));
        report.Add(kLogCancelled);
        report.Add("");
        return outcome;
    }
    if (failure) {
        host.ShowMessage(*failure);
        outcome.failedFiles = report.FailedFiles() - failedBefore;
        outcome.errorMessages = stepsHost.shown;
        if (dialog.DryRun) {
            report.Add("");
            report.Add(PlanSummary(outcome.plan));
            report.Add("");
        }
        return outcome;
    }
    report.Add("");
    if (dialog.DryRun) {
        report.Add(PlanSummary(outcome.plan));
    } else {
        dialog.PreviewDirectory = dialog.Destination;
        report.Add("Erstellen der Dateien fertig!");
    }
    report.Add("");
    outcome.failedFiles = report.FailedFiles() - failedBefore;
    outcome.errorMessages = stepsHost.shown;
    outcome.reachedEnd = true;
    return outcome;
}

}  // namespace pagloom
