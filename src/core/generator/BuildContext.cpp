// SPDX-License-Identifier: MIT
#include "generator/BuildContext.h"

#include "generator/BuildWatch.h"
#include "generator/FileSaver.h"
#include "generator/SaveIfChanged.h"
#include "generator/SiteFiles.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "model/Project.h"
#include "tables/ContentTables.h"

namespace pagloom {

const ProjectSettings& BuildContext::Settings() const { return project.Settings; }

ContentTable* BuildContext::SlotTable(ContentSlot slot) const {
    if (!tables || project.Tables.Slot[slot].name_display.empty()) return nullptr;
    return tables->For(project.PrjParams, slot);
}

std::string BuildContext::PathOf(std::string_view fileName) const {
    std::string path;
    path.reserve(destination.size() + 1 + fileName.size());
    path += destination;
    path += '/';
    path += fileName;
    return path;
}

std::string_view BuildContext::NameIn(const std::string& path) const {
    if (path.size() > destination.size() && path.compare(0, destination.size(), destination) == 0)
        return std::string_view(path).substr(destination.size() + 1);
    return path;
}

bool BuildContext::WriteRuleAllows(const std::string& path, bool overwrite) const {
    // A name that leads out of the destination goes on to be refused, never skipped.
    if (overwrite || !FileExists(path) || !NameStaysInside(NameIn(path))) return true;
    Skip(path);
    return false;
}

void BuildContext::Skip(const std::string& path) const {
    if (saver) saver->Skip(path);
    Recorded(path, FileFate::Skipped);
}

bool BuildContext::Refused(const std::string& path) const {
    const std::string_view name = NameIn(path);
    if (NameStaysInside(name)) return false;
    // A menu entry, a file name or a table value must never make the build replace a file
    // outside its destination.
    const std::string reason = "Der Dateiname " + std::string(name) +
                               " f\xFChrt aus dem Zielverzeichnis hinaus; die Datei wird nicht "
                               "geschrieben.";
    if (saver) {
        saver->Refuse(path, reason);
    } else {
        report.Add(path + "...");
        report.Add(reason);
        report.AddOutcome(SaveResult::Failed);
    }
    Recorded(path, FileFate::Failed);
    return true;
}

void BuildContext::Save(const std::string& path, const TextLines& lines) const {
    if (Refused(path)) return StopIfAsked();
    if (saver) return SaveText(path, JoinLines(lines));
    const bool existed = record && fs.FileExists(path);
    try {
        const SaveResult result = SaveIfChanged(fs, path, lines, report);
        Recorded(path, result == SaveResult::Unchanged ? FileFate::Unchanged
                       : result == SaveResult::Failed  ? FileFate::Failed
                       : existed                       ? FileFate::Changed
                                                       : FileFate::New);
    } catch (...) {
        Recorded(path, FileFate::Failed);
        throw;
    }
    StopIfAsked();
}

void BuildContext::SaveText(const std::string& path, std::string text) const {
    if (!saver) return Save(path, SplitLines(text));
    if (Refused(path)) return StopIfAsked();
    try {
        Recorded(path, saver->SaveText(path, text));
    } catch (...) {
        Recorded(path, FileFate::Failed);
        throw;
    }
    StopIfAsked();
}

void BuildContext::Recorded(const std::string& path, FileFate fate) const {
    if (record) record->Add(path, fate);
    if (watch) watch->filesDone.fetch_add(1, std::memory_order_relaxed);
}

void BuildContext::StopIfAsked() const {
    if (watch && watch->cancelRequested.load(std::memory_order_relaxed)) throw BuildCancelled{};
}

void BuildContext::CountSiteFiles() const {
    if (watch) watch->filesTotal = static_cast<int>(SiteFileList(project).size());
}

bool BuildContext::FileExists(const std::string& path) const { return fs.FileExists(path); }

TextLines BuildContext::ReadLines(const std::string& path) const { return ReadTextLines(fs, path); }

TextLines BuildContext::ReadTemplate(const std::string& storedPath) const {
    return ReadLines(ProjectInputPath(projectFile, storedPath));
}

void BuildContext::Log(std::string line) const { report.Add(std::move(line)); }

}  // namespace pagloom
