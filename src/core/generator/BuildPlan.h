// SPDX-License-Identifier: MIT
// A build that writes nothing: the generator runs unchanged on a file system that reads through
// to the disk and keeps every write in memory. Later steps of the same build see the files
// earlier steps "wrote", so the plan follows the build that would really run; what would fail
// is predicted by asking the underlying file system whether the write could be done.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "generator/BuildRecord.h"
#include "io/FileSystem.h"

namespace pagloom {

// What a build would do with one file.
enum class PlanKind { New, Changed, Unchanged, Skipped, Failed };

// The same as a fate in the build's record.
FileFate FateOf(PlanKind kind);

struct PlanCounts {
    int added = 0;
    int changed = 0;
    int unchanged = 0;
    int skipped = 0;  // existing files the overwrite setting keeps as they are
    int failed = 0;

    void Count(PlanKind kind);
};

// "neu: <path>", "geändert: <path>", "unverändert: <path>",
// "übersprungen: <path> (Überschreiben ist aus)", "Fehler: <path>" (Windows-1252).
std::string PlanLine(PlanKind kind, const std::string& path);
// "Plan: N neu, N geändert, N unverändert, N Fehler", with "N übersprungen" before the errors
// when there are any.
std::string PlanSummary(const PlanCounts& counts);
// The start line of a planning build: "Prüfe Dateien in <destination> (nichts wird geschrieben):".
std::string PlanStartLine(const std::string& destination);

// Reads through to `base`; every change is kept in memory instead of made. Folders it "made"
// exist for it, files it "removed" are gone for it. Never changes anything on `base`.
class PlanningFileSystem final : public FileSystem {
  public:
    explicit PlanningFileSystem(FileSystem& base) : base_(base) {}

    bool ReadAll(const std::string& path, std::string& out) override;
    ReadState Read(const std::string& path, std::string& out) override;
    bool WriteNew(const std::string& path, std::string_view data) override;
    CreateResult CreateNew(const std::string& path, std::string_view data) override;
    // No unnamed files: callers fall back to CreateNew.
    UnnamedFile PrepareNew(const std::string& path, std::string_view data) override;
    CreateResult Publish(UnnamedFile& file, const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    void CopyPermissions(const std::string& from, const std::string& to) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool ListNames(const std::string& dir, std::vector<std::string>& names) override;
    bool CanWrite(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool SameFile(const std::string& a, const std::string& b) override;
    std::string FollowLinks(const std::string& path) override { return base_.FollowLinks(path); }
    bool MayWrite(const std::string& path) override { return base_.MayWrite(path); }

  private:
    FileSystem& base_;
    std::unordered_map<std::string, std::string> files_;  // written (published) files
    std::unordered_map<std::string, std::string> temps_;  // written under a temporary name
    std::unordered_set<std::string> removed_;
    std::unordered_set<std::string> folders_;
};

// What writing `text` to `path` would do, judged as SaveIfChanged judges it: unchanged when the
// file holds the same lines, new when there is none, changed otherwise, failed when `fs` says it
// could not be written. A file that exists but cannot be read counts as changed (it would be
// replaced). Reads, never writes.
PlanKind PlanFile(FileSystem& fs, const std::string& path, std::string_view text);

}  // namespace pagloom
