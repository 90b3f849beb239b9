// SPDX-License-Identifier: MIT
// Takes the files of one build to the disk, in turn, logging each file's "...", outcome lines.
//
// The folder a build writes into is listed once, on its first file: a file that is not there
// is created straight away, without first trying to read it; one that appeared since the
// listing is compared as usual.
//
// A planning build hands in its counts: each file is then logged with what the build would do
// with it ("neu: ...", see BuildPlan.h) instead of the "...", outcome lines, on a file system that
// writes nothing.
//
// The files are saved on the calling thread. A second thread that saved while the build made
// the next page gained nothing clear in bench/build_bench.cpp (see bench/NOTES.md).
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "generator/BuildPlan.h"
#include "generator/BuildRecord.h"
#include "generator/MakeReport.h"
#include "generator/TextLines.h"
#include "io/FileSystem.h"

namespace pagloom {

class FileSaver {
  public:
    // `plan`: log and count as a planning build (not owned; none: a real build).
    FileSaver(FileSystem& fs, MakeReport& report, PlanCounts* plan = nullptr);
    FileSaver(const FileSaver&) = delete;
    FileSaver& operator=(const FileSaver&) = delete;

    // SaveIfChanged for this build; returns what it did (or would do) with the file. Throws
    // BuildAbort when an existing file cannot be read.
    FileFate Save(const std::string& path, const TextLines& lines);
    // The same for lines already joined with CR LF (see SaveText).
    FileFate SaveText(const std::string& path, std::string_view text);
    // A planning build logs an existing file its overwrite setting keeps as "übersprungen: ..."
    // and counts it; a real build logs nothing for it.
    void Skip(const std::string& path);
    // Logs a file the build refuses to write, with the reason, as failed (or, planning, as
    // "Fehler: ..."); writes nothing.
    FileFate Refuse(const std::string& path, const std::string& reason);

  private:
    bool KnownMissing(const std::string& path);
    FileFate PlanText(const std::string& path, std::string_view text, bool knownMissing);

    FileSystem& fs_;
    MakeReport& report_;
    PlanCounts* plan_ = nullptr;
    // Names in each folder as listed on the first file into it (sorted, for a binary search:
    // a rebuild looks up every file once, and building a hash set of a large folder cost more
    // than the lookups), plus the names saved since that the listing did not have.
    struct NameHash {
        using is_transparent = void;  // looks names up as string_view, without a copy
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct FolderNames {
        std::vector<std::string> listed;
        std::unordered_set<std::string, NameHash, std::equal_to<>> added;
    };
    // nullopt: the folder could not be listed.
    std::unordered_map<std::string, std::optional<FolderNames>> folders_;
    std::string lastFolder_;
    std::optional<FolderNames>* lastNames_ = nullptr;
};

}  // namespace pagloom
