// SPDX-License-Identifier: MIT
// Publishing a built site: every file of the site's folder (but the excluded ones) goes to the
// target when its content differs from what the target's manifest says was published there.
// Each file is written under a temporary name in its folder and renamed over the old one, so a
// visitor never gets half a page; pages and assets go first, the entry pages (frameset, menu
// frame, menu script, index pages) after them, the manifest last. A local journal records
// every file as soon as it is confirmed, so a broken run is resumed by the next one.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/PublishTarget.h"
#include "publish/Manifest.h"
#include "publish/PathPatterns.h"

namespace pagloom {

class FileSystem;
class MakeReport;
class PublishLock;
class RemoteStore;

// How far a run is: after each file, and once before the first with nothing done.
struct PublishProgress {
    int files = 0, totalFiles = 0;  // files sent (or failed) and to send
    std::uint64_t bytes = 0, totalBytes = 0;
    std::string current;  // the file just done
};

struct PublishOptions {
    bool dryRun = false;         // plan only: nothing is sent, not even the manifest
    bool deleteRemoved = false;  // remove what this target published and the site no longer has
    int maxDelete = 100;         // more deletions stop the run before anything is sent
    // Deleting more than half of what the target holds needs this yes (a wrong or empty site
    // folder would otherwise empty the server).
    bool allowManyDeletions = false;
    enum class Verify { None, Size, Content } verify = Verify::None;
    std::string project;         // the project file's name, written into the manifest
    std::string projectId;       // the project's id on its targets ("" until its first publish)
    std::string journalDir;      // folder of the local journals (made when missing)
    std::string journalProblem;  // why the journal folder may not be used ("" when it may)
    // Names published after every other file, in this order (the entry pages).
    std::vector<std::string> lastFiles;
    int connections = 4;  // at most 8; each further one comes from the store factory
    // Told, one call at a time, from whichever connection's thread sent the file.
    std::function<void(const PublishProgress&)> progress;
    // Set from another thread to stop: no further file is started, the files in flight end,
    // the manifest is written, so the next run sends only the rest.
    const std::atomic<bool>* cancel = nullptr;
};

struct PublishCounts {
    int added = 0;
    int changed = 0;
    int deleted = 0;
    int unchanged = 0;
    int failed = 0;
    std::uint64_t bytes = 0;  // sent (planned: to be sent)
};

enum class PublishEnd {
    Done,              // everything published, or nothing to do
    SomeFailed,        // finished, but some files failed (they are retried next time)
    NothingPublished,  // refused before anything was sent (the log says why)
    Cancelled,         // stopped on request; what was sent is recorded
};

struct PublishOutcome {
    PublishEnd end = PublishEnd::NothingPublished;
    PublishCounts counts;
};

// Makes one more connection to the target (nothing when it cannot): files go on several at once.
using StoreFactory = std::function<std::unique_ptr<RemoteStore>()>;

// A file of the site to send.
struct PlannedUpload {
    std::string name;
    PublishedFile file;
    bool isNew = false;
};

// What a run would do, made without changing anything on the server: the files to send (entry
// pages last), those to delete, and why nothing may be sent when that is so. The dry run prints
// it; a run carries it out.
struct PublishPlan {
    std::string site;
    PublishTarget target;
    PublishOptions options;
    Manifest manifest;                // what the server holds, with what a broken run did since
    std::set<std::string> leftovers;  // temporary names a broken run may have left
    std::vector<PlannedUpload> uploads;
    size_t firstEntryPage = 0;  // uploads from here on wait until every other file is there
    std::vector<std::string> deletions;
    PublishCounts counts;  // unchanged and failed (logged while planning), as planned
    // Not empty: nothing may be sent, and why (logged); set while planning, or by the run when
    // the deletions need a yes they did not get.
    std::string refusal;
    // More than half of what the target holds would be deleted: sent only with a yes
    // (PublishOptions::allowManyDeletions), else refused when the run starts.
    bool manyDeletions = false;
    std::string journalPath;
    std::shared_ptr<PublishLock> lock;  // this run's hold on the target (not for a dry run)

    bool Refused() const { return !refusal.empty(); }
    bool NothingToDo() const { return uploads.empty() && deletions.empty(); }
    // More deletions than PublishOptions::maxDelete: the run refuses them unless the limit is
    // raised for this plan (the window's plan question does that with its yes).
    bool OverDeleteLimit() const { return static_cast<int>(deletions.size()) > options.maxDelete; }
};

// Compares the site's folder with what `remote` holds; logs the start line, the files that
// cannot be sent and (dry run) the unchanged ones in `log`.
PublishPlan PlanPublish(FileSystem& fs, const std::string& site, RemoteStore& remote,
                        const PublishTarget& target, const PublishOptions& options,
                        MakeReport& log);
// Carries out the plan (or, for a dry run, lists it) and logs one line per file and a summary.
// With `moreStores`, up to options.connections connections upload at the same time.
PublishOutcome RunPublish(FileSystem& fs, PublishPlan& plan, RemoteStore& remote, MakeReport& log,
                          const StoreFactory& moreStores = {});

// "N von M Dateien am Ziel wären zu löschen, mehr als die Hälfte; ..."
std::string ManyDeletionsMessage(const PublishPlan& plan);

// Plan and run in one.
PublishOutcome Publish(FileSystem& fs, const std::string& site, RemoteStore& remote,
                       const PublishTarget& target, const PublishOptions& options, MakeReport& log,
                       const StoreFactory& moreStores = {});

// The summary line: "Veröffentlicht: N neu, N geändert, N gelöscht, N unverändert, N Fehler
// (N Bytes)"; planning: "Plan: ..." with the same counts.
std::string PublishSummary(const PublishCounts& c, bool planned);

}  // namespace pagloom
