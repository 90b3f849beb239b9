// SPDX-License-Identifier: MIT
#include "groups/GroupBuild.h"

#include "document/ProjectDocument.h"
#include "generator/BuildDriver.h"
#include "generator/BuildPlan.h"
#include "generator/SiteFiles.h"
#include "generator/SitemapWriter.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"

namespace pagloom {

namespace {

bool OpenForGroup(GroupBuildEnv& env, const std::string& path) {
    return env.openProject ? env.openProject(path) : env.document.Open(path);
}

// Save as the save command does: to the group's file, or through "save as" without one.
bool SaveGroupAsCommand(TProjectGroup& group, GroupBuildEnv& env) {
    if (!group.GroupFileName.empty())
        return group.FileSave(env.document.Files(), env.document.Ports());
    return env.saveGroupAs ? env.saveGroupAs() : false;
}

// Step 5 for one entry: open, prepare, check, build or skip, and the LastSave bookkeeping.
void BuildEntry(TProjectGroup& group, size_t i, GroupBuildEnv& env, std::vector<std::string>* index,
                GroupOutcome& outcome) {
    const std::string path = group.ProjectList[i];
    ProjectDocument& doc = env.document;
    // Opened as the defaults, a missing member would be built as an empty project somewhere
    // and get a save time as if it had been built.
    if (!doc.Files().Exists(path)) {
        const std::string message = ProjectMissingMessage(path);
        doc.Ports().ShowMessage(message);
        doc.Build.Report.Add(message);
        ++outcome.projectsFailed;
        return;
    }
    if (!OpenForGroup(env, path)) {
        // Refused with its message; building would build the project open before instead.
        doc.Build.Report.Add(ProjectUnreadableMessage(path));
        ++outcome.projectsFailed;
        return;
    }
    const Project& project = doc.project;
    const bool checkPassed = doc.PrepareBuild();

    if (group.LastSaveList.size() < group.ProjectList.size())
        group.LastSaveList.resize(group.ProjectList.size());
    std::string& lastSave = group.LastSaveList[i];
    bool cancelled = false;
    if (!checkPassed) {
        doc.Ports().ShowMessage("Fehler in Projekt: " + path);
        ++outcome.projectsFailed;
    } else if (group.MakeModified && project.Settings.lastsave == lastSave) {
        doc.Build.Report.Add("Keine \xC4nderung im Projekt " + path);
        ++outcome.skipped;
    } else {
        BuildOutcome b = doc.MakeStart();
        ++outcome.built;
        outcome.failedFiles += b.failedFiles;
        outcome.errorMessages += b.errorMessages;
        if (b.EndedEarly() && !b.cancelled) ++outcome.buildsEndedEarly;
        cancelled = outcome.cancelled = b.cancelled;
    }
    // A planning run leaves the group as it is, so nothing asks to save it afterwards; a
    // cancelled build is not a build of this state of the project.
    if (project.Settings.lastsave != lastSave && !doc.Build.DryRun && !cancelled) {
        lastSave = project.Settings.lastsave;
        group.GroupModified = true;
    }
    if (index && project.Settings.sitemap.make_sitemap)
        index->push_back(SitemapIndexAddress(project));
}

}  // namespace

std::string SitemapIndexAddress(const Project& project) {
    // The sitemap the build wrote, by the name the build gives it.
    return SitemapPrefix(project.Settings) + SitemapFileName(project.Settings.sitemap);
}

GroupOutcome Make1Execute(TProjectGroup& group, GroupBuildEnv& env) {
    GroupOutcome outcome;
    ProjectDocument& doc = env.document;
    MakeReport& report = doc.Build.Report;

    const bool dryRun = doc.Build.DryRun;
    bool finalSaveAllowed = !dryRun;
    if (group.GroupModified && !dryRun) {
        Answer a = doc.Ports().Ask("Projekt-Gruppe vorher speichern?", true);
        if (a == Answer::Yes)
            SaveGroupAsCommand(group, env);
        else
            finalSaveAllowed = false;
    }
    std::vector<std::string> index;
    std::vector<std::string>* indexList = group.IndexMap ? &index : nullptr;
    if (env.showBuildDialog) env.showBuildDialog();

    report.Add("Projektgruppe " + group.GroupFileName + " erstellen:");
    report.Add("");
    const BuildWatch* watch = doc.Build.Watch;
    for (size_t i = 0; i < group.ProjectList.size() && !outcome.cancelled; ++i) {
        if (watch && watch->cancelRequested) {
            outcome.cancelled = true;
            break;
        }
        BuildEntry(group, i, env, indexList, outcome);
    }

    if (group.GroupModified && !group.GroupFileName.empty() && finalSaveAllowed &&
        !group.FileSave(doc.Files(), doc.Ports()))
        outcome.saveFailed = true;
    // An index over part of the group would name sitemaps that were not (re)written.
    if (group.IndexMap && !outcome.cancelled && !MakeSiteMapIndex(group, index, doc))
        outcome.indexFailed = true;

    report.Add("");
    report.Add("Projektgruppe " + group.GroupFileName +
               (outcome.cancelled ? " erstellen abgebrochen" : " erstellen fertig"));
    report.Add("");
    if (env.restoreBuildDialog) env.restoreBuildDialog();
    return outcome;
}

TextLines SitemapIndexLines(const std::vector<std::string>& addresses) {
    TextLines lines;
    lines.reserve(addresses.size() * 3 + 3);
    lines.emplace_back("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    lines.emplace_back("<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">");
    for (const std::string& a : addresses) {
        lines.emplace_back("<sitemap>");
        lines.push_back("<loc>" + SitemapLocText(a) + "</loc>");
        lines.emplace_back("</sitemap>");
    }
    lines.emplace_back("</sitemapindex>");
    return lines;
}

bool MakeSiteMapIndex(TProjectGroup& group, const std::vector<std::string>& addresses,
                      ProjectDocument& document) {
    TextLines lines = SitemapIndexLines(addresses);
    std::string& file = group.IndexMapFile;
    size_t b = 0, e = file.size();
    while (b < e && static_cast<unsigned char>(file[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(file[e - 1]) <= ' ') --e;
    file = file.substr(b, e - b);

    MakeReport& report = document.Build.Report;
    report.Add("");
    // The index is written over whatever has its name: never over the group's own files.
    std::string clash;
    FileSystem& files = document.Files();
    if (!file.empty() && !group.GroupFileName.empty() && files.SameFile(file, group.GroupFileName))
        clash =
            "Die Sitemap-Indexdatei ist die Datei der Projektgruppe; sie wird nicht "
            "\xFC"
            "berschrieben.";
    for (const std::string& member : group.ProjectList)
        if (clash.empty() && !file.empty() && files.SameFile(file, member))
            clash = "Die Sitemap-Indexdatei ist die Projektdatei " + member +
                    "; sie wird nicht \xFC"
                    "berschrieben.";
    if (!clash.empty()) {
        report.Add(document.Build.DryRun ? PlanLine(PlanKind::Failed, file)
                                         : "Fehler bei Sitemap-Index: " + file);
        report.Add(clash);
        return false;
    }
    if (document.Build.DryRun) {
        const PlanKind kind =
            file.empty() ? PlanKind::Failed : PlanFile(document.Files(), file, JoinLines(lines));
        report.Add(PlanLine(kind, file));
        return kind != PlanKind::Failed;
    }
    const bool ok = !file.empty() && WriteFileAtomic(document.Files(), file, JoinLines(lines));
    report.Add(ok ? "Sitemap-Index: " + file + " erstellen fertig"
                  : "Fehler bei Sitemap-Index: " + file);
    return ok;
}

std::optional<std::string> PrepareGroupPreview(const TProjectGroup& group,
                                               const std::vector<std::string>& selectedLines,
                                               GroupBuildEnv& env) {
    const std::string* chosen = nullptr;
    for (const std::string& line : selectedLines) {
        for (const std::string& p : group.ProjectList) {
            if (SamePathIgnoringCase(p, line)) {
                chosen = &p;
                break;
            }
        }
        if (chosen) break;
    }
    if (chosen && !OpenForGroup(env, *chosen)) return std::nullopt;
    ProjectDocument& doc = env.document;
    const std::string& frameset = doc.project.Settings.files.frameset_file;
    if (!chosen || frameset.empty()) {
        doc.Ports().ShowMessage("Es konnte kein Projekt geladen werden!");
        return std::nullopt;
    }
    std::string path = doc.Build.PreviewDirectory + "/" + frameset;
    if (!doc.Files().FileExists(path)) {
        doc.Ports().ShowMessage("Kann Datei " + path +
                                " nicht \xF6"
                                "ffnen");
        return std::nullopt;
    }
    return path;
}

}  // namespace pagloom
