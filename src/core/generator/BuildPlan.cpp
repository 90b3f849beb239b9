// SPDX-License-Identifier: MIT
#include "generator/BuildPlan.h"

#include <algorithm>

#include "generator/TextLines.h"

namespace pagloom {
namespace {

std::string_view FolderOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

}  // namespace

FileFate FateOf(PlanKind kind) {
    switch (kind) {
        case PlanKind::New:
            return FileFate::New;
        case PlanKind::Changed:
            return FileFate::Changed;
        case PlanKind::Unchanged:
            return FileFate::Unchanged;
        case PlanKind::Skipped:
            return FileFate::Skipped;
        case PlanKind::Failed:
            break;
    }
    return FileFate::Failed;
}

void PlanCounts::Count(PlanKind kind) {
    switch (kind) {
        case PlanKind::New:
            ++added;
            break;
        case PlanKind::Changed:
            ++changed;
            break;
        case PlanKind::Unchanged:
            ++unchanged;
            break;
        case PlanKind::Skipped:
            ++skipped;
            break;
        case PlanKind::Failed:
            ++failed;
            break;
    }
}

std::string PlanLine(PlanKind kind, const std::string& path) {
    switch (kind) {
        case PlanKind::New:
            return "neu: " + path;
        case PlanKind::Changed:
            return "ge\xE4ndert: " + path;
        case PlanKind::Unchanged:
            return "unver\xE4ndert: " + path;
        case PlanKind::Skipped:
            return "\xFC"
                   "bersprungen: " +
                   path +
                   " (\xDC"
                   "berschreiben ist aus)";
        case PlanKind::Failed:
            break;
    }
    return "Fehler: " + path;
}

std::string PlanSummary(const PlanCounts& c) {
    std::string line = "Plan: " + std::to_string(c.added) + " neu, " + std::to_string(c.changed) +
                       " ge\xE4ndert, " + std::to_string(c.unchanged) + " unver\xE4ndert, ";
    // Kept pages may be stale (a changed template): they are counted on their own.
    if (c.skipped > 0)
        line += std::to_string(c.skipped) +
                " \xFC"
                "bersprungen, ";
    return line + std::to_string(c.failed) + " Fehler";
}

std::string PlanStartLine(const std::string& destination) {
    return "Pr\xFC"
           "fe Dateien in " +
           destination + " (nichts wird geschrieben):";
}

bool PlanningFileSystem::ReadAll(const std::string& path, std::string& out) {
    if (auto it = files_.find(path); it != files_.end()) {
        out = it->second;
        return true;
    }
    if (removed_.count(path)) {
        out.clear();
        return false;
    }
    return base_.ReadAll(path, out);
}

FileSystem::ReadState PlanningFileSystem::Read(const std::string& path, std::string& out) {
    if (auto it = files_.find(path); it != files_.end()) {
        out = it->second;
        return ReadState::Read;
    }
    if (removed_.count(path)) {
        out.clear();
        return ReadState::Missing;
    }
    return base_.Read(path, out);
}

bool PlanningFileSystem::WriteNew(const std::string& path, std::string_view data) {
    if (FileExists(path) || temps_.count(path) || !CanWrite(path)) return false;
    temps_[path] = std::string(data);
    return true;
}

FileSystem::CreateResult PlanningFileSystem::CreateNew(const std::string& path,
                                                       std::string_view data) {
    if (!CanWrite(path)) return CreateResult::Failed;
    if (FileExists(path)) return CreateResult::Exists;
    removed_.erase(path);
    files_[path] = std::string(data);
    return CreateResult::Created;
}

FileSystem::UnnamedFile PlanningFileSystem::PrepareNew(const std::string&, std::string_view) {
    return UnnamedFile();
}

FileSystem::CreateResult PlanningFileSystem::Publish(UnnamedFile&, const std::string&) {
    return CreateResult::Failed;
}

bool PlanningFileSystem::Rename(const std::string& from, const std::string& to) {
    // Only what this plan wrote can be moved; the disk's files stay where they are.
    auto it = temps_.find(from);
    if (it == temps_.end() || !CanWrite(to)) return false;
    removed_.erase(to);
    files_[to] = std::move(it->second);
    temps_.erase(it);
    return true;
}

bool PlanningFileSystem::Remove(const std::string& path) {
    if (temps_.erase(path)) return true;
    if (files_.erase(path)) return true;
    if (!base_.FileExists(path) || removed_.count(path)) return false;
    removed_.insert(path);
    return true;
}

void PlanningFileSystem::CopyPermissions(const std::string&, const std::string&) {}

bool PlanningFileSystem::FileExists(const std::string& path) {
    if (files_.count(path)) return true;
    return !removed_.count(path) && base_.FileExists(path);
}

bool PlanningFileSystem::Exists(const std::string& path) {
    return FileExists(path) || DirectoryExists(path) ||
           (!removed_.count(path) && base_.Exists(path));
}

bool PlanningFileSystem::SameFile(const std::string& a, const std::string& b) {
    // What this plan wrote is not on the disk; only the disk's own files can be one file.
    if (files_.count(a) || files_.count(b)) return a == b;
    return base_.SameFile(a, b);
}

bool PlanningFileSystem::DirectoryExists(const std::string& path) {
    return folders_.count(path) || base_.DirectoryExists(path);
}

bool PlanningFileSystem::CreateDirectory(const std::string& path) {
    if (DirectoryExists(path)) return true;
    if (!CanWrite(path)) return false;
    folders_.insert(path);
    return true;
}

bool PlanningFileSystem::ListNames(const std::string& dir, std::vector<std::string>& names) {
    names.clear();
    const bool listed = base_.ListNames(dir, names) || folders_.count(dir);
    if (!listed) return false;
    if (!removed_.empty())
        std::erase_if(names,
                      [&](const std::string& n) { return removed_.count(JoinPath(dir, n)); });
    const std::string_view folder =
        !dir.empty() && dir.back() == '/' ? std::string_view(dir).substr(0, dir.size() - 1) : dir;
    for (const auto& [path, data] : files_) {
        if (FolderOf(path) != folder) continue;
        std::string name = path.substr(folder.size() + 1);
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    return true;
}

bool PlanningFileSystem::CanWrite(const std::string& path) {
    // A folder this plan made is empty and writable as far as the plan knows.
    const std::string_view folder = FolderOf(path);
    if (!folder.empty() && folders_.count(std::string(folder)))
        return !path.empty() && path.back() != '/';
    return base_.CanWrite(path);
}

PlanKind PlanFile(FileSystem& fs, const std::string& path, std::string_view text) {
    if (!fs.CanWrite(path)) return PlanKind::Failed;
    std::string existing;
    switch (fs.Read(path, existing)) {
        case FileSystem::ReadState::Missing:
            return PlanKind::New;
        case FileSystem::ReadState::Unreadable:
            return PlanKind::Changed;
        case FileSystem::ReadState::Read:
            break;
    }
    return SameLines(text, existing) ? PlanKind::Unchanged : PlanKind::Changed;
}

}  // namespace pagloom
