// SPDX-License-Identifier: MIT
// Takes the files of one build to the disk. A page is compared and written on a second thread
// while the build makes the next one, so the time spent filling templates and the time the
// disk takes overlap instead of adding up. The log still gets each file's "...", outcome lines
// in the order the files were handed over, and only on the calling thread (the desktop
// program shows them as they come).
//
// The folder a build writes into is listed once, on its first file: a file that is not there
// is created straight away, without first trying to read it; one that appeared since the
// listing is compared as usual.
//
// A file that cannot be read ends the build as before: files handed over after it are not
// written, and the BuildAbort reaches the caller at its next call here.
#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "generator/MakeReport.h"
#include "generator/TextLines.h"
#include "io/FileSystem.h"

namespace pagloom {

class FileSaver {
  public:
    FileSaver(FileSystem& fs, MakeReport& report);
    // Files not yet begun are dropped; the one being written is finished.
    ~FileSaver();
    FileSaver(const FileSaver&) = delete;
    FileSaver& operator=(const FileSaver&) = delete;

    // SaveIfChanged for this build. Throws the BuildAbort of an earlier file, if one could not
    // be read.
    void Save(std::string path, const TextLines& lines);
    // The same for lines already joined with CR LF (see SaveText).
    void SaveText(std::string path, std::string text);
    // Call before reading or testing `path` during the build: waits while a file of that name
    // is still on its way, so the build sees its own earlier files.
    void Settle(const std::string& path);
    // Waits until every file handed over is written and logged. Throws like Save.
    void Flush();
    // The same without throwing: a failure is kept for the next Save or Flush. For the moments
    // the build shows a message, so the log is complete up to it.
    void Wait();
    // After the build failed otherwise: waits for and logs the files handed over before, and
    // returns the message of an earlier file that could not be read (it came first).
    std::optional<std::string> Abandon();

  private:
    struct Job {
        std::string path;
        std::string text;  // the lines joined with CR LF
        bool knownMissing = false;
        SaveResult result = SaveResult::Unchanged;
        std::optional<std::string> abort;  // the file could not be read: the build ends here
        std::exception_ptr error;          // anything else thrown while saving
        FileSystem::UnnamedFile made;      // a new file's data, made ahead of its turn
    };

    bool KnownMissing(const std::string& path);
    void Prepare();  // makes new files ahead, unnamed
    void Work();     // saves the files in turn
    SaveResult SaveJob(Job& job);
    void Drain(bool wait);  // logs finished files in order; with `wait`, all of them
    void Log(Job& job);     // keeps the failure of a failed job and drops what came after it
    void ThrowFailure();

    FileSystem& fs_;
    MakeReport& report_;
    bool threaded_ = false;
    // Names in each folder as listed on the first file into it (nullopt: not listable),
    // plus the names saved since.
    struct NameHash {
        using is_transparent = void;  // looks names up as string_view, without a copy
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Names = std::unordered_set<std::string, NameHash, std::equal_to<>>;
    std::unordered_map<std::string, std::optional<Names>> folders_;
    std::string lastFolder_;
    std::optional<Names>* lastNames_ = nullptr;
    std::unordered_map<std::string, int> onTheWay_;  // lower-cased names of queued files
    std::exception_ptr failure_;                     // logged, not yet thrown
    std::exception_ptr halt_;                        // what stopped the threads, for good

    std::mutex mutex_;
    std::condition_variable prepare_, work_, finished_;
    // The first done_ jobs are finished, the first prepared_ passed the preparer.
    std::deque<Job> jobs_;
    size_t done_ = 0, prepared_ = 0;
    bool stop_ = false, halted_ = false;
    std::thread preparer_, worker_;
};

}  // namespace pagloom
