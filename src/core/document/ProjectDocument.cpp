// SPDX-License-Identifier: MIT
#include "document/ProjectDocument.h"

#include "io/FileSystem.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/PublishSection.h"
#include "tables/SlotOpening.h"

namespace pagloom {

ProjectDocument::ProjectDocument(FileSystem& fs, Host& host) : fs_(fs), host_(host), tables_(fs) {
    Build.TableSteps = &tableSteps_;
    Build.Tables = &tables_;
}

bool ProjectDocument::LoadMenuScriptLibrary() {
    return pagloom::LoadMenuScriptLibrary(fs_, host_.ProgramDir(), Build.MenuScriptLibrary);
}

bool ProjectDocument::Read(const std::string& path, const std::string& projectFile) {
    std::optional<FileStamp> stamp;
    if (!LoadProject(project, path, fs_, host_, &stamp)) return false;
    diskStamp_ = stamp;
    // Relative table folders are taken from the project file's folder; a new project has none.
    tables_.SetProjectFile(projectFile);
    // The tables open after every key is read; their messages follow the reader's.
    OpenSlotTables(project, tables_, host_);
    const std::string& dest = project.Settings.files.destination_directory;
    Build.Destination = dest;
    if (!dest.empty()) Build.PreviewDirectory = dest;
    Modified = false;
    return true;
}

bool ProjectDocument::Open(const std::string& path) {
    if (!Read(path, path)) return false;
    // What saves killed part-way left beside the file would otherwise stay for good.
    RemoveLeftoversBeside(fs_, fs_.FollowLinks(path));
    fileName_ = path;
    return true;
}

void ProjectDocument::New() {
    if (!Read(JoinPath(host_.ProgramDir(), "default.plp"), "")) {
        // A new project must not carry on the settings of the one open before.
        project = Project();
        tables_.SetProjectFile("");
        ReadProject(project, IniFile(), fs_, host_);
        OpenSlotTables(project, tables_, host_);
        Build.Destination.clear();
        Modified = false;
    }
    fileName_.clear();
}

bool ProjectDocument::Save() { return !fileName_.empty() && SaveAs(fileName_); }

bool ProjectDocument::SavePublishTarget() {
    if (fileName_.empty()) return false;
    const auto text = [&](std::string_view existing) {
        IniFile ini(existing);
        WritePublishSection(ini, project.Publish);
        return ini.Text();
    };
    switch (SaveUserFile(fs_, host_, fileName_, text, &diskStamp_)) {
        case UserSave::Saved:
            return true;
        case UserSave::Declined:
            return false;
        case UserSave::Failed:
            break;
    }
    host_.ShowMessage("In " + fileName_ + " kann nicht geschrieben werden");
    return false;
}

bool ProjectDocument::SaveAs(const std::string& path) {
    // Only a save over the file this document read is checked for changes made elsewhere.
    std::optional<FileStamp> stamp = path == fileName_ ? diskStamp_ : std::nullopt;
    if (!SaveProject(project, path, fs_, host_, &stamp)) return false;
    diskStamp_ = stamp;
    fileName_ = path;
    tables_.SetProjectFile(path);
    Modified = false;
    return true;
}

bool ProjectDocument::TableCheck() {
    return !project.Settings.TablesDrive() || ErstellenTabOK(project, host_);
}

void ProjectDocument::PresetRegionChoice(std::optional<bool> overwrite) {
    PresetRegionOverwrite(project, Build);
    if (Build.RegionOverwriteVisible && overwrite) Build.RegionOverwrite = *overwrite;
}

BuildOutcome ProjectDocument::MakeStart() {
    return MakeStartClick(Build, project, fileName_, fs_, host_);
}

bool ProjectDocument::PrepareBuild(std::optional<bool> overwrite) {
    PresetRegionChoice(overwrite);
    return TableCheck();
}

std::optional<BuildOutcome> ProjectDocument::CheckAndBuild(std::optional<bool> overwrite) {
    if (!PrepareBuild(overwrite)) return std::nullopt;
    return MakeStart();
}

}  // namespace pagloom
