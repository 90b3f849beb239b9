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
#include "publish/RemoteStore.h"
#include "publish/Sha256.h"

namespace pagloom {
namespace {

constexpr int kRetries = 2;          // further tries of a file whose transfer failed
constexpr int kManifestEvery = 200;  // files between two writes of the manifest during a run

// pagloom's own files in a folder: the manifest, temporary files of builds and of publishing.
bool OwnFile(const std::string& name) {
    if (name == kManifestName || name.rfind(".pagloom-", 0) == 0) return true;
    return name.find(".pagloom-") != std::string::npos && name.size() > 4 &&
           name.compare(name.size() - 4, 4, ".tmp") == 0;
}

struct LocalSite {
    std::vector<std::string> files;  // relative names
    std::vector<std::string> links;  // refused: a link could lead anywhere
};

void Walk(FileSystem& fs, const std::string& dir, const std::string& prefix,
          const PublishTarget& target, LocalSite& site, int depth) {
    std::vector<std::string> names;
    if (depth > 64 || !fs.ListNames(dir, names)) return;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name == "." || name == ".." || OwnFile(name)) continue;
        const std::string path = JoinPath(dir, name), rel = prefix + name;
        if (fs.FollowLinks(path) != path) {
            if (!MatchesAnyPattern(target.exclude, rel)) site.links.push_back(rel);
        } else if (fs.DirectoryExists(path)) {
            Walk(fs, path, rel + "/", target, site, depth + 1);
        } else if (fs.FileExists(path) && !MatchesAnyPattern(target.exclude, rel)) {
            site.files.push_back(rel);
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
    return folder + ".pagloom-up-" + (slash == std::string::npos ? name : name.substr(slash + 1));
}

// The journal: one line per step, written through at once so a killed run loses nothing done.
class Journal {
  public:
    Journal(std::string path, bool write) : path_(std::move(path)) {
        if (write) fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    }
    ~Journal() {
        if (fd_ >= 0) ::close(fd_);
    }
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    void Line(const std::string& line) {
        if (fd_ < 0) return;
        const std::string l = line + "\n";
        [[maybe_unused]] const ssize_t n = ::write(fd_, l.data(), l.size());
    }
    void Remove() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        ::unlink(path_.c_str());
    }

  private:
    std::string path_;
    int fd_ = -1;
};

// Applies what an earlier, broken run recorded: files it published, files it deleted, and the
// temporary names it may have left on the server.
void ReplayJournal(FileSystem& fs, const std::string& path, Manifest& m,
                   std::set<std::string>& temps) {
    std::string text;
    if (!fs.ReadAll(path, text)) return;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) break;  // a line cut off by the break: not done
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() < 2 || line[1] != '\t') continue;
        const std::string rest = line.substr(2);
        if (line[0] == 'T') {
            temps.insert(rest);
        } else if (line[0] == 'D') {
            m.files.erase(rest);
        } else if (line[0] == 'P') {
            const size_t a = rest.find('\t'), b = rest.find('\t', a + 1);
            if (a == std::string::npos || b == std::string::npos) continue;
            m.files[rest.substr(b + 1)] = {
                rest.substr(0, a),
                std::strtoull(rest.substr(a + 1, b - a - 1).c_str(), nullptr, 10)};
        }
    }
}

// A transfer that breaks off (a server that drops a data connection now and then) is tried
// again after a short pause, twice at most; temporary names keep every try out of sight.
template <class Transfer>
bool WithRetries(Transfer&& transfer) {
    for (int attempt = 0;; ++attempt) {
        if (transfer()) return true;
        if (attempt == kRetries) return false;
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

// The hashes of the site's files by their identity on disk, kept beside the journal: a file
// whose size, times, inode and device are those it had when it was hashed has not been
// written since, and is not read again. A file changed within moments before it was hashed is
// not kept (its times may not yet tell a later change apart).
class HashCache {
  public:
    HashCache(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {
        std::string text;
        if (!fs_.ReadAll(path_, text)) return;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find('\n', start);
            if (end == std::string::npos) break;
            const std::string line = text.substr(start, end - start);
            start = end + 1;
            std::vector<std::string> f;
            for (size_t a = 0, b; f.size() < 7; a = b + 1) {
                b = line.find('\t', a);
                if (f.size() == 6) b = std::string::npos;  // the name may hold anything else
                f.push_back(line.substr(a, b == std::string::npos ? b : b - a));
                if (b == std::string::npos) break;
            }
            if (f.size() != 7 || f[5].size() != 64) continue;
            FileSystem::Identity id;
            id.size = std::strtoull(f[0].c_str(), nullptr, 10);
            id.mtimeNs = std::strtoull(f[1].c_str(), nullptr, 10);
            id.ctimeNs = std::strtoull(f[2].c_str(), nullptr, 10);
            id.inode = std::strtoull(f[3].c_str(), nullptr, 10);
            id.device = std::strtoull(f[4].c_str(), nullptr, 10);
            entries_[f[6]] = {id, f[5]};
        }
    }

    // The file's hash and size; read and hashed only when the cache cannot tell.
    bool Hash(const std::string& path, const std::string& name, PublishedFile& file) {
        const std::optional<FileSystem::Identity> id = fs_.IdentityOf(path);
        if (id) {
            const auto known = entries_.find(name);
            if (known != entries_.end() && known->second.id == *id) {
                file = {known->second.sha256, id->size};
                fresh_[name] = known->second;
                return true;
            }
        }
        const auto now =
            static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                           std::chrono::system_clock::now().time_since_epoch())
                                           .count());
        std::string data;
        if (!fs_.ReadAll(path, data)) return false;
        file = {Sha256Hex(data), data.size()};
        const std::optional<FileSystem::Identity> after = fs_.IdentityOf(path);
        constexpr std::uint64_t kSettled = 50'000'000;  // ns; well above the clock's tick
        if (id && after && *after == *id && id->ctimeNs + kSettled < now &&
            name.find('\n') == std::string::npos)
            fresh_[name] = {*id, file.sha256};
        return true;
    }

    // Keeps what this run saw (only the files still there), written whole or not at all.
    void Save() {
        std::string text;
        for (const auto& [name, e] : fresh_)
            text += std::to_string(e.id.size) + '\t' + std::to_string(e.id.mtimeNs) + '\t' +
                    std::to_string(e.id.ctimeNs) + '\t' + std::to_string(e.id.inode) + '\t' +
                    std::to_string(e.id.device) + '\t' + e.sha256 + '\t' + name + '\n';
        const std::string temp = path_ + ".neu";
        if (fs_.WriteNew(temp, text) && !fs_.Rename(temp, path_)) fs_.Remove(temp);
    }

  private:
    struct Entry {
        FileSystem::Identity id;
        std::string sha256;
    };
    FileSystem& fs_;
    std::string path_;
    std::unordered_map<std::string, Entry> entries_, fresh_;
};

struct Upload {
    std::string name;
    PublishedFile file;
    bool isNew = false;
};

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

std::string JournalPath(const std::string& dir, const PublishTarget& target,
                        const std::string& site) {
    return JoinPath(dir, Sha256Hex(target.Address() + "\n" + site).substr(0, 24) + ".journal");
}

PublishOutcome Publish(FileSystem& fs, const std::string& site, RemoteStore& remote,
                       const PublishTarget& target, const PublishOptions& options, MakeReport& log,
                       const StoreFactory& moreStores) {
    PublishOutcome outcome;
    PublishCounts& c = outcome.counts;
    log.Add(options.dryRun ? "Pr\xFC"
                             "fe Ver\xF6"
                             "ffentlichung von " +
                                 site + " nach " + target.Address() + " (nichts wird gesendet):"
                           : "Ver\xF6"
                             "ffentliche " +
                                 site + " nach " + target.Address() + ":");
    log.Add("");
    auto refuse = [&](const std::string& why) {
        log.Add(why);
        log.Add("");
        return outcome;
    };
    if (!fs.DirectoryExists(site)) return refuse("Das Verzeichnis " + site + " existiert nicht!");

    // What the server holds, by its manifest, and what a broken run did since it was written.
    Manifest manifest;
    std::string text, error;
    switch (remote.Get(kManifestName, text, error)) {
        case RemoteStore::Got::Read: {
            std::optional<Manifest> read = ParseManifest(text);
            if (!read)
                return refuse("Die Datei " + std::string(kManifestName) +
                              " im Zielordner ist keine Liste dieses Programms; nichts wird "
                              "ver\xF6"
                              "ffentlicht.");
            if (read->project != options.project)
                return refuse("Der Zielordner geh\xF6rt zum Projekt " + read->project +
                              "; nichts wird ver\xF6"
                              "ffentlicht.");
            manifest = std::move(*read);
            break;
        }
        case RemoteStore::Got::Missing:
            break;
        case RemoteStore::Got::Failed:
            return refuse("Fehler: " + std::string(kManifestName) + " (" + error + ")");
    }
    manifest.project = options.project;
    manifest.target = target.Address();
    const std::string journalPath = JournalPath(options.journalDir, target, site);
    std::set<std::string> temps;
    ReplayJournal(fs, journalPath, manifest, temps);

    if (options.verify != PublishOptions::Verify::None) {
        for (auto it = manifest.files.begin(); it != manifest.files.end();) {
            bool good;
            if (options.verify == PublishOptions::Verify::Content) {
                std::string data;
                good = remote.Get(it->first, data, error) == RemoteStore::Got::Read &&
                       Sha256Hex(data) == it->second.sha256;
            } else {
                good = remote.Size(it->first) == it->second.size;
            }
            it = good ? std::next(it) : manifest.files.erase(it);
        }
    }

    LocalSite local;
    Walk(fs, site, "", target, local, 0);
    // Entry pages last, in the given order, then any other index page: they point at the rest.
    auto rank = [&](const std::string& name) -> size_t {
        const auto at = std::find(options.lastFiles.begin(), options.lastFiles.end(), name);
        if (at != options.lastFiles.end()) return 1 + (at - options.lastFiles.begin());
        const size_t slash = name.rfind('/');
        const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
        const bool page = base.rfind("index.htm", 0) == 0 || base.rfind("index.php", 0) == 0 ||
                          base.rfind("index.shtml", 0) == 0;
        return page ? 1 + options.lastFiles.size() : 0;
    };
    std::stable_sort(local.files.begin(), local.files.end(),
                     [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });

    fs.CreateDirectory(options.journalDir);
    HashCache hashes(fs, journalPath.substr(0, journalPath.size() - 8) + ".hashes");
    std::vector<Upload> uploads;
    std::set<std::string> present;
    for (const std::string& name : local.files) {
        present.insert(name);
        if (MatchesAnyPattern(target.protect, name)) continue;  // the server's own copy stays
        PublishedFile file;
        if (!hashes.Hash(JoinPath(site, name), name, file)) {
            log.Add("Fehler: " + name + " (kann nicht gelesen werden)");
            ++c.failed;
            continue;
        }
        const auto known = manifest.files.find(name);
        if (known != manifest.files.end() && known->second == file) {
            ++c.unchanged;
            if (options.dryRun) log.Add("unver\xE4ndert: " + name);
            continue;
        }
        uploads.push_back({name, file, known == manifest.files.end()});
    }
    hashes.Save();
    for (const std::string& name : local.links) {
        log.Add("Fehler: " + name +
                " (ein Verweis; wird nicht ver\xF6"
                "ffentlicht)");
        ++c.failed;
    }
    std::vector<std::string> deletions;
    if (options.deleteRemoved)
        for (const auto& [name, file] : manifest.files)
            if (!present.count(name) && !MatchesAnyPattern(target.protect, name))
                deletions.push_back(name);
    if (static_cast<int>(deletions.size()) > options.maxDelete)
        return refuse(std::to_string(deletions.size()) +
                      " Dateien w\xE4ren zu l\xF6schen, mehr als " +
                      std::to_string(options.maxDelete) +
                      " (--max-delete); nichts wird ver\xF6"
                      "ffentlicht.");

    if (options.dryRun) {
        for (const Upload& u : uploads) {
            log.Add((u.isNew ? "neu: " : "ge\xE4ndert: ") + u.name);
            ++(u.isNew ? c.added : c.changed);
            c.bytes += u.file.size;
        }
        for (const std::string& name : deletions) {
            log.Add("gel\xF6scht: " + name);
            ++c.deleted;
        }
        log.Add("");
        log.Add(PublishSummary(c, true));
        log.Add("");
        outcome.end = c.failed ? PublishEnd::SomeFailed : PublishEnd::Done;
        return outcome;
    }

    fs.CreateDirectory(options.journalDir);
    Journal journal(journalPath, true);
    for (const std::string& temp : temps) remote.Remove(temp, error);
    // Uploads run on up to `connections` connections at once; the entry pages follow on the
    // first one, in their order, once every other file is there.
    std::mutex lock;
    int sinceManifest = 0;
    PublishProgress progress;
    progress.totalFiles = static_cast<int>(uploads.size());
    for (const Upload& u : uploads) progress.totalBytes += u.file.size;
    auto report = [&](const Upload& u) {  // under `lock`
        ++progress.files;
        progress.bytes += u.file.size;
        progress.current = u.name;
        if (options.progress) options.progress(progress);
    };
    if (options.progress) options.progress(progress);
    auto cancelled = [&] { return options.cancel && options.cancel->load(); };
    auto upload = [&](RemoteStore& store, const Upload& u) {
        std::string data, why;
        const std::string temp = TempNameOf(u.name);
        bool ok = fs.ReadAll(JoinPath(site, u.name), data) && Sha256Hex(data) == u.file.sha256;
        if (!ok)
            why =
                "hat sich w\xE4hrend des Ver\xF6"
                "ffentlichens ge\xE4ndert";
        ok = ok && store.MakeFolders(FolderOf(u.name), why);
        if (ok) {
            std::lock_guard<std::mutex> hold(lock);
            journal.Line("T\t" + temp);
        }
        ok = ok && WithRetries([&] {
                 if (!store.Put(temp, data, why)) return false;
                 if (store.Size(temp) != data.size()) {
                     why =
                         "unvollst\xE4ndig \xFC"
                         "bertragen";
                     return false;
                 }
                 return store.Replace(temp, u.name, why);
             });
        std::lock_guard<std::mutex> hold(lock);
        if (!ok) {
            std::string ignored;
            store.Remove(temp, ignored);
            log.Add("Fehler: " + u.name + " (" + why + ")");
            ++c.failed;
            report(u);
            return;
        }
        journal.Line("P\t" + u.file.sha256 + "\t" + std::to_string(u.file.size) + "\t" + u.name);
        manifest.files[u.name] = u.file;
        log.Add((u.isNew ? "neu: " : "ge\xE4ndert: ") + u.name);
        ++(u.isNew ? c.added : c.changed);
        c.bytes += u.file.size;
        report(u);
        if (++sinceManifest >= kManifestEvery && WriteManifest(store, manifest, why))
            sinceManifest = 0;
    };
    size_t firstLast = uploads.size();
    while (firstLast > 0 && rank(uploads[firstLast - 1].name) > 0) --firstLast;
    std::atomic<size_t> next{0};
    auto work = [&](RemoteStore& store) {
        for (size_t i; !cancelled() && (i = next.fetch_add(1)) < firstLast;)
            upload(store, uploads[i]);
    };
    std::vector<std::unique_ptr<RemoteStore>> more;
    const int wanted = std::min<int>(std::max(1, options.connections), 8);
    for (int k = 1; k < wanted && static_cast<size_t>(k) < firstLast && moreStores; ++k)
        if (std::unique_ptr<RemoteStore> store = moreStores()) more.push_back(std::move(store));
    std::vector<std::thread> workers;
    for (auto& store : more) workers.emplace_back(work, std::ref(*store));
    work(remote);
    for (std::thread& t : workers) t.join();
    // The entry pages only after every other file: a cancelled run leaves the old ones.
    const bool stopped = cancelled();
    for (size_t i = firstLast; !stopped && i < uploads.size(); ++i) upload(remote, uploads[i]);
    // Only a complete upload may take files away: a page that failed may still link to them.
    if (c.failed == 0 && !stopped)
        for (const std::string& name : deletions) {
            if (!remote.Remove(name, error)) {
                log.Add("Fehler: " + name + " (" + error + ")");
                ++c.failed;
                continue;
            }
            journal.Line("D\t" + name);
            manifest.files.erase(name);
            log.Add("gel\xF6scht: " + name);
            ++c.deleted;
        }
    if (WriteManifest(remote, manifest, error)) {
        journal.Remove();
    } else {
        log.Add("Fehler: " + std::string(kManifestName) + " (" + error + ")");
        ++c.failed;
    }
    if (stopped)
        log.Add("Abgebrochen: " + std::to_string(uploads.size() - progress.files) +
                " Dateien nicht \xFC"
                "bertragen; der n\xE4"
                "chste Lauf setzt fort.");
    log.Add("");
    log.Add(PublishSummary(c, false));
    log.Add("");
    outcome.end = stopped    ? PublishEnd::Cancelled
                  : c.failed ? PublishEnd::SomeFailed
                             : PublishEnd::Done;
    return outcome;
}

}  // namespace pagloom
