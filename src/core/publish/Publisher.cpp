// SPDX-License-Identifier: MIT
#include "publish/Publisher.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/Manifest.h"
#include "publish/PublishJournal.h"
#include "publish/PublishLock.h"
#include "publish/PublishProtocols.h"
#include "publish/RemoteNames.h"
#include "publish/RemoteStore.h"
#include "publish/Sha256.h"

namespace pagloom {
namespace {

constexpr int kRetries = 2;  // further tries of a file whose transfer failed
constexpr int kManifestEvery = 200;
constexpr int kGoneAfter = 8;  // files failed in a row, on all connections together  // files
                               // between two writes of the manifest during a run

// pagloom's own files in a folder: the manifest, temporary files of builds and of publishing.
bool OwnFile(const std::string& name) {
    if (name == kManifestName || name.rfind(".pagloom-", 0) == 0) return true;
    return name.find(".pagloom-") != std::string::npos && name.size() > 4 &&
           name.compare(name.size() - 4, 4, ".tmp") == 0;
}

struct LocalSite {
    std::vector<std::string> files;  // relative names
    std::vector<std::string> links;  // refused: a link could lead anywhere
    // Refused with their reason: names the server could not be given, or that the program
    // cannot hold.
    std::vector<std::pair<std::string, std::string>> badNames;
};

void Walk(FileSystem& fs, const std::string& dir, const std::string& prefix,
          const PublishTarget& target, LocalSite& site, int depth) {
    std::vector<std::string> names;
    if (depth > 64 || !fs.ListNames(dir, names)) return;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name == "." || name == ".." || OwnFile(name)) continue;
        const std::string path = JoinPath(dir, name), rel = prefix + name;
        if (!IsPlainRelativeName(rel)) {
            // A name with a backslash or a control character would name another file on the
            // server, and every later run would refuse a manifest that lists it.
            if (!MatchesAnyPublishPattern(target.exclude, rel))
                site.badNames.emplace_back(rel,
                                           "unzul\xE4ssiger Name mit Backslash oder "
                                           "Steuerzeichen");
        } else if (fs.FollowLinks(path) != path) {
            if (!MatchesAnyPublishPattern(target.exclude, rel)) site.links.push_back(rel);
        } else if (fs.DirectoryExists(path)) {
            Walk(fs, path, rel + "/", target, site, depth + 1);
        } else if (fs.FileExists(path)) {
            if (!MatchesAnyPublishPattern(target.exclude, rel)) site.files.push_back(rel);
        } else if (!fs.Exists(path)) {
            // Listed but not found under its name: the name is not UTF-8 or holds characters
            // Windows-1252 has not, so the program cannot name it.
            site.badNames.emplace_back(rel, "Dateiname nicht in Windows-1252 darstellbar");
        }
    }
}

std::string FolderOf(const std::string& name) {
    const size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

std::string TempNameOf(const std::string& name) {
    const size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    return folder + std::string(kOwnTempPrefix) +
           (slash == std::string::npos ? name : name.substr(slash + 1));
}

// A transfer that breaks off (a server that drops a data connection now and then) is tried
// again after a short pause, twice at most; temporary names keep every try out of sight. Not
// when `hopeless` was set by the failed try (the file itself is the cause).
template <class Transfer>
bool WithRetries(Transfer&& transfer, const bool& hopeless = false) {
    for (int attempt = 0;; ++attempt) {
        if (transfer()) return true;
        if (attempt == kRetries || hopeless) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100 << (attempt * 2)));
    }
}

bool WriteManifest(RemoteStore& remote, const Manifest& m, std::string& error) {
    const std::string temp = TempNameOf(kManifestName);
    const std::string text = ManifestText(m);
    return WithRetries([&] {
        return remote.Put(temp, text, error) && remote.Replace(temp, kManifestName, error);
    });
}

}  // namespace

std::string PublishSummary(const PublishCounts& c, bool planned) {
    return std::string(planned ? "Plan: "
                               : "Ver\xF6"
                                 "ffentlicht: ") +
           std::to_string(c.added) + " neu, " + std::to_string(c.changed) + " ge\xE4ndert, " +
           std::to_string(c.deleted) + " gel\xF6scht, " + std::to_string(c.unchanged) +
           " unver\xE4ndert, " + std::to_string(c.failed) + " Fehler (" + std::to_string(c.bytes) +
           " Bytes)";
}

namespace {

// Entry pages last, in the given order, then any other index page: they point at the rest.
size_t SendingRank(const PublishOptions& options, const std::string& name) {
    const auto at = std::find(options.lastFiles.begin(), options.lastFiles.end(), name);
    if (at != options.lastFiles.end()) return 1 + (at - options.lastFiles.begin());
    const size_t slash = name.rfind('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    const bool page = base.rfind("index.htm", 0) == 0 || base.rfind("index.php", 0) == 0 ||
                      base.rfind("index.shtml", 0) == 0;
    return page ? 1 + options.lastFiles.size() : 0;
}

// Whether the target is this project's: its id, once it has one; a target from before ids by
// the project file's name.
bool OwnedBy(const Manifest& m, const PublishOptions& options, std::string& refusal) {
    const std::string nothing =
        "; nichts wird ver\xF6"
        "ffentlicht.";
    if (!m.projectId.empty()) {
        if (m.projectId == options.projectId) return true;
        refusal = "Der Zielordner geh\xF6rt zum Projekt " + ShownName(m.project) + " (Kennung " +
                  m.projectId + ")" + nothing +
                  " Soll dieses Projekt das Ziel bewusst \xFC"
                  "bernehmen, tragen Sie im Abschnitt [publish] seiner Projektdatei "
                  "project-id=" +
                  m.projectId + " ein.";
        return false;
    }
    if (m.project == options.project || m.files.empty()) return true;
    refusal = "Der Zielordner geh\xF6rt zum Projekt " + ShownName(m.project) + nothing +
              " Ist es dieses Projekt unter anderem Namen, l\xF6schen Sie die Datei " +
              std::string(kManifestName) +
              " im Zielordner; dann wird alles neu \xFC"
              "bertragen.";
    return false;
}

// The manifest on the server, or why the target is not ours to publish to.
std::optional<Manifest> ReadServerManifest(RemoteStore& remote, const PublishOptions& options,
                                           std::string& refusal) {
    std::string text, error;
    switch (remote.Get(kManifestName, text, error)) {
        case RemoteStore::Got::Read: {
            std::optional<Manifest> read = ParseManifest(text, refusal);
            if (!read) return std::nullopt;
            if (!OwnedBy(*read, options, refusal)) return std::nullopt;
            return read;
        }
        case RemoteStore::Got::Missing:
            return Manifest{};
        case RemoteStore::Got::Failed:
            break;
    }
    refusal = "Fehler: " + std::string(kManifestName) + " (" + error + ")";
    return std::nullopt;
}

// Drops from the manifest what the server does not hold as recorded, so it is sent again.
void VerifyManifest(RemoteStore& remote, PublishOptions::Verify verify, Manifest& manifest) {
    if (verify == PublishOptions::Verify::None) return;
    std::string error;
    for (auto it = manifest.files.begin(); it != manifest.files.end();) {
        bool good;
        if (verify == PublishOptions::Verify::Content) {
            std::string data;
            good = remote.Get(it->first, data, error) == RemoteStore::Got::Read &&
                   Sha256Hex(data) == it->second.sha256;
        } else {
            good = remote.Size(it->first) == it->second.size;
        }
        it = good ? std::next(it) : manifest.files.erase(it);
    }
}

}  // namespace

PublishPlan PlanPublish(FileSystem& fs, const std::string& site, RemoteStore& remote,
                        const PublishTarget& target, const PublishOptions& options,
                        MakeReport& log) {
    PublishPlan plan;
    plan.site = site;
    plan.target = target;
    plan.options = options;
    PublishCounts& c = plan.counts;
    log.Add(options.dryRun
                ? "Pr\xFC"
                  "fe Ver\xF6"
                  "ffentlichung von " +
                      site + " nach " + TargetAddress(target) + " (nichts wird gesendet):"
                : "Ver\xF6"
                  "ffentliche " +
                      site + " nach " + TargetAddress(target) + ":");
    log.Add("");
    auto refuse = [&](const std::string& why) {
        plan.refusal = why;
        log.Add(why);
        log.Add("");
        return plan;
    };
    if (!fs.DirectoryExists(site)) return refuse("Das Verzeichnis " + site + " existiert nicht!");
    if (!options.journalProblem.empty()) return refuse(options.journalProblem);
    fs.CreateDirectory(options.journalDir);
    plan.journalPath = JournalPath(options.journalDir, target, site);
    // Held from the manifest's reading to the manifest's writing; a dry run changes nothing.
    if (!options.dryRun) {
        std::string why;
        std::optional<PublishLock> lock =
            PublishLock::Take(remote, plan.journalPath, options.projectId, why);
        if (!lock) return refuse(why);
        plan.lock = std::make_shared<PublishLock>(std::move(*lock));
    }

    // What the server holds, by its manifest, and what a broken run did since it was written.
    std::string refusal;
    std::optional<Manifest> manifest = ReadServerManifest(remote, options, refusal);
    if (!manifest) return refuse(refusal);
    plan.manifest = std::move(*manifest);
    plan.manifest.project = options.project;
    if (!options.projectId.empty()) plan.manifest.projectId = options.projectId;
    plan.manifest.target = Sha256Hex(TargetAddress(target)).substr(0, 16);
    ReplayJournal(fs, plan.journalPath, plan.manifest, plan.leftovers);
    VerifyManifest(remote, options.verify, plan.manifest);

    LocalSite local;
    Walk(fs, site, "", target, local, 0);
    // An empty folder is a site not built, a wrong folder or a disk not mounted: publishing it
    // would at best do nothing and at worst empty the server.
    if (local.files.empty() && local.links.empty() && local.badNames.empty())
        return refuse("Das Verzeichnis " + site +
                      " enth\xE4lt keine Dateien: Die Website ist noch nicht erstellt "
                      "(\x84"
                      "Erstellen\x93, F9); nichts wird ver\xF6"
                      "ffentlicht.");
    std::stable_sort(local.files.begin(), local.files.end(),
                     [&](const std::string& a, const std::string& b) {
                         return SendingRank(options, a) < SendingRank(options, b);
                     });

    fs.CreateDirectory(options.journalDir);
    HashCache hashes(fs, plan.journalPath.substr(0, plan.journalPath.size() - 8) + ".hashes");
    std::set<std::string> present;
    for (const std::string& name : local.files) {
        present.insert(name);
        if (MatchesAnyPublishPattern(target.protect, name))
            continue;  // the server's own copy stays
        PublishedFile file;
        if (!hashes.Hash(JoinPath(site, name), name, file)) {
            log.Add("Fehler: " + name + " (kann nicht gelesen werden)");
            ++c.failed;
            continue;
        }
        const auto known = plan.manifest.files.find(name);
        if (known != plan.manifest.files.end() && known->second == file) {
            ++c.unchanged;
            if (options.dryRun) log.Add("unver\xE4ndert: " + name);
            continue;
        }
        plan.uploads.push_back({name, file, known == plan.manifest.files.end()});
    }
    hashes.Save();
    for (const std::string& name : local.links) {
        log.Add("Fehler: " + name +
                " (ein Verweis; wird nicht ver\xF6"
                "ffentlicht)");
        ++c.failed;
    }
    for (const auto& [name, why] : local.badNames) {
        log.Add("Fehler: " + ShownName(name) + " (" + why +
                "; wird nicht ver\xF6"
                "ffentlicht)");
        ++c.failed;
    }
    plan.firstEntryPage = plan.uploads.size();
    while (plan.firstEntryPage > 0 &&
           SendingRank(options, plan.uploads[plan.firstEntryPage - 1].name) > 0)
        --plan.firstEntryPage;
    if (options.deleteRemoved)
        for (const auto& [name, file] : plan.manifest.files)
            if (!present.count(name) && !MatchesAnyPublishPattern(target.protect, name))
                plan.deletions.push_back(name);
    plan.manyDeletions =
        !plan.deletions.empty() && plan.deletions.size() * 2 > plan.manifest.files.size();
    return plan;
}

namespace {

// The plan of a dry run, as the run would log it.
PublishOutcome ListPlan(const PublishPlan& plan, MakeReport& log) {
    PublishOutcome outcome;
    PublishCounts& c = outcome.counts;
    c = plan.counts;
    for (const PlannedUpload& u : plan.uploads) {
        log.Add((u.isNew ? "neu: " : "ge\xE4ndert: ") + u.name);
        ++(u.isNew ? c.added : c.changed);
        c.bytes += u.file.size;
    }
    for (const std::string& name : plan.deletions) {
        log.Add("gel\xF6scht: " + name);
        ++c.deleted;
    }
    log.Add("");
    log.Add(PublishSummary(c, true));
    log.Add("");
    outcome.end = c.failed ? PublishEnd::SomeFailed : PublishEnd::Done;
    return outcome;
}

// One run's sending: the files of the plan over one or more connections, each recorded in the
// journal and the manifest the moment it is confirmed.
class Sender {
  public:
    Sender(FileSystem& fs, PublishPlan& plan, MakeReport& log, PublishOutcome& outcome)
        : fs_(fs), plan_(plan), log_(log), c_(outcome.counts), journal_(plan.journalPath, true) {
        progress_.totalFiles = static_cast<int>(plan.uploads.size());
        for (const PlannedUpload& u : plan.uploads) progress_.totalBytes += u.file.size;
    }

    bool Cancelled() const { return plan_.options.cancel && plan_.options.cancel->load(); }
    // So many files failed one after the other that the server is taken to be gone: trying
    // every remaining file would only add minutes and error lines.
    bool ServerGone() const { return gone_; }
    bool Stopping() const { return Cancelled() || gone_; }
    int Sent() const { return progress_.files; }
    void Start() {
        if (plan_.options.progress) plan_.options.progress(progress_);
    }

    void RemoveLeftovers(RemoteStore& remote) {
        for (const std::string& temp : plan_.leftovers) remote.RemoveLeftover(temp);
    }

    // Every file but the entry pages, on up to `connections` connections at once.
    void SendPages(RemoteStore& remote, const StoreFactory& moreStores) {
        std::atomic<size_t> next{0};
        const size_t end = plan_.firstEntryPage;
        auto work = [&](RemoteStore& store) {
            for (size_t i; !Stopping() && (i = next.fetch_add(1)) < end;)
                Send(store, plan_.uploads[i]);
        };
        std::vector<std::unique_ptr<RemoteStore>> more;
        const int wanted = std::min(std::max(1, plan_.options.connections), kMaxPublishConnections);
        for (int k = 1; k < wanted && static_cast<size_t>(k) < end && moreStores; ++k)
            if (std::unique_ptr<RemoteStore> store = moreStores()) more.push_back(std::move(store));
        std::vector<std::thread> workers;
        for (auto& store : more) workers.emplace_back(work, std::ref(*store));
        work(remote);
        for (std::thread& t : workers) t.join();
    }

    // The entry pages, in their order, once every other file is there.
    void SendEntryPages(RemoteStore& remote) {
        for (size_t i = plan_.firstEntryPage; i < plan_.uploads.size(); ++i)
            Send(remote, plan_.uploads[i]);
    }

    void Delete(RemoteStore& remote) {
        std::string error;
        for (const std::string& name : plan_.deletions) {
            if (!remote.Remove(name, error)) {
                log_.Add("Fehler: " + name + " (" + error + ")");
                ++c_.failed;
                continue;
            }
            journal_.Deleted(name);
            plan_.manifest.files.erase(name);
            log_.Add("gel\xF6scht: " + name);
            ++c_.deleted;
        }
    }

    void Finish(RemoteStore& remote) {
        std::string error;
        if (WriteManifest(remote, plan_.manifest, error)) {
            journal_.Remove();
        } else {
            log_.Add("Fehler: " + std::string(kManifestName) + " (" + error + ")");
            ++c_.failed;
        }
    }

  private:
    void Send(RemoteStore& store, const PlannedUpload& u);
    void Report(const PlannedUpload& u);  // under lock_

    FileSystem& fs_;
    PublishPlan& plan_;
    MakeReport& log_;
    PublishCounts& c_;
    Journal journal_;
    std::mutex lock_;
    int sinceManifest_ = 0;
    int failedInRow_ = 0;  // under lock_
    std::atomic<bool> gone_{false};
    PublishProgress progress_;
};

void Sender::Report(const PlannedUpload& u) {
    ++progress_.files;
    progress_.bytes += u.file.size;
    progress_.current = u.name;
    if (plan_.options.progress) plan_.options.progress(progress_);
}

void Sender::Send(RemoteStore& store, const PlannedUpload& u) {
    static const std::string kChanged =
        "hat sich w\xE4hrend des Ver\xF6"
        "ffentlichens ge\xE4ndert";
    std::string why;
    const std::string temp = TempNameOf(u.name);
    // The file the plan hashed, opened once and sent from that descriptor: a link swapped in
    // for it (or one of its folders) since the walk is refused, not followed.
    std::uint64_t size = 0;
    const int fd = fs_.OpenRegularBelow(plan_.site, u.name, size);
    FileSource source(fd, size);
    bool ok = fd >= 0 && size == u.file.size;
    if (!ok) why = fd >= 0 ? kChanged : "kann nicht gelesen werden";
    ok = ok && store.MakeFolders(FolderOf(u.name), why);
    if (ok) {
        std::lock_guard<std::mutex> hold(lock_);
        journal_.Temporary(temp);
    }
    bool hopeless = false;
    ok = ok && WithRetries(
                   [&] {
                       const bool put = store.Put(temp, source, why);
                       if (source.LastFault() != FileSource::Fault::None) {
                           hopeless = true;
                           why = source.LastFault() == FileSource::Fault::Shortened
                                     ? kChanged
                                     : "kann nicht gelesen werden";
                           return false;
                       }
                       if (!put) return false;
                       // What went is checked against the plan only now: the file may have
                       // been written to while it was read.
                       if (!source.Complete() || source.Sha256Hex() != u.file.sha256) {
                           hopeless = true;
                           why = kChanged;
                           return false;
                       }
                       if (store.Size(temp) != size) {
                           why =
                               "unvollst\xE4ndig \xFC"
                               "bertragen";
                           return false;
                       }
                       return store.Replace(temp, u.name, why);
                   },
                   hopeless);
    std::lock_guard<std::mutex> hold(lock_);
    if (!ok) {
        std::string ignored;
        store.Remove(temp, ignored);
        log_.Add("Fehler: " + u.name + " (" + why + ")");
        ++c_.failed;
        if (++failedInRow_ >= kGoneAfter) gone_ = true;
        Report(u);
        return;
    }
    failedInRow_ = 0;
    journal_.Published(u.name, u.file);
    plan_.manifest.files[u.name] = u.file;
    log_.Add((u.isNew ? "neu: " : "ge\xE4ndert: ") + u.name);
    ++(u.isNew ? c_.added : c_.changed);
    c_.bytes += u.file.size;
    Report(u);
    if (++sinceManifest_ >= kManifestEvery && WriteManifest(store, plan_.manifest, why))
        sinceManifest_ = 0;
}

}  // namespace

std::string ManyDeletionsMessage(const PublishPlan& plan) {
    return std::to_string(plan.deletions.size()) + " von " +
           std::to_string(plan.manifest.files.size()) +
           " Dateien am Ziel w\xE4ren zu l\xF6schen, mehr als die H\xE4lfte; nichts wird "
           "ver\xF6"
           "ffentlicht. Ist das gewollt, best\xE4tigen Sie es (pagloom-cli: "
           "--allow-many-deletions).";
}

PublishOutcome RunPublish(FileSystem& fs, PublishPlan& plan, RemoteStore& remote, MakeReport& log,
                          const StoreFactory& moreStores) {
    if (plan.Refused()) return {};
    // Refused here rather than while planning, so a front end can show the plan and take a yes.
    auto refuse = [&](const std::string& why) {
        plan.refusal = why;
        log.Add(why);
        log.Add("");
        return PublishOutcome{};
    };
    if (plan.OverDeleteLimit())
        return refuse(std::to_string(plan.deletions.size()) +
                      " Dateien w\xE4ren zu l\xF6schen, mehr als " +
                      std::to_string(plan.options.maxDelete) +
                      " (--max-delete); nichts wird ver\xF6"
                      "ffentlicht.");
    if (plan.options.dryRun) return ListPlan(plan, log);
    if (plan.manyDeletions && !plan.options.allowManyDeletions)
        return refuse(ManyDeletionsMessage(plan));
    PublishOutcome outcome;
    outcome.counts = plan.counts;
    fs.CreateDirectory(plan.options.journalDir);
    Sender sender(fs, plan, log, outcome);
    sender.RemoveLeftovers(remote);
    sender.Start();
    sender.SendPages(remote, moreStores);
    // The entry pages only after every other file: a cancelled run leaves the old ones.
    const bool stopped = sender.Cancelled();
    if (!sender.Stopping()) sender.SendEntryPages(remote);
    // Only a complete upload may take files away: a page that failed may still link to them.
    if (outcome.counts.failed == 0 && !stopped) sender.Delete(remote);
    if (sender.ServerGone()) {
        // What was sent is in the journal; the manifest can only be written if the server is back.
        log.Add("Der Server ist nicht mehr erreichbar; der Lauf endet nach " +
                std::to_string(kGoneAfter) + " Fehlern in Folge. " +
                std::to_string(plan.uploads.size() - sender.Sent()) +
                " Dateien nicht \xFC"
                "bertragen; der n\xE4"
                "chste Lauf setzt fort.");
    }
    sender.Finish(remote);
    plan.lock.reset();  // the manifest is written: the next run may read it
    if (stopped)
        log.Add("Abgebrochen: " + std::to_string(plan.uploads.size() - sender.Sent()) +
                " Dateien nicht \xFC"
                "bertragen; der n\xE4"
                "chste Lauf setzt fort.");
    log.Add("");
    log.Add(PublishSummary(outcome.counts, false));
    log.Add("");
    outcome.end = stopped                 ? PublishEnd::Cancelled
                  : outcome.counts.failed ? PublishEnd::SomeFailed
                                          : PublishEnd::Done;
    return outcome;
}

PublishOutcome Publish(FileSystem& fs, const std::string& site, RemoteStore& remote,
                       const PublishTarget& target, const PublishOptions& options, MakeReport& log,
                       const StoreFactory& moreStores) {
    PublishPlan plan = PlanPublish(fs, site, remote, target, options, log);
    return RunPublish(fs, plan, remote, log, moreStores);
}

}  // namespace pagloom
