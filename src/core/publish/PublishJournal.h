// SPDX-License-Identifier: MIT
// What publishing keeps on this computer between runs, per target and site folder: the journal
// of a run (every step recorded the moment it is confirmed, so a broken run is resumed by the
// next) and the hashes of the site's files by their identity on disk (so an unchanged file is
// not read again). Neither ever holds a secret. Both are opened without following links: a
// link planted in their place is refused, not written through.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>

#include "io/FileSystem.h"
#include "publish/Manifest.h"

namespace pagloom {

struct PublishTarget;

// The journal of a target for a site folder: one file per pair in `dir`.
std::string JournalPath(const std::string& dir, const PublishTarget& target,
                        const std::string& site);

class Journal {
  public:
    // Opens (or makes) the journal for appending; `write` false keeps it closed.
    Journal(std::string path, bool write);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void Temporary(const std::string& temp) { Line("T\t" + temp); }
    void Published(const std::string& name, const PublishedFile& file);
    void Deleted(const std::string& name) { Line("D\t" + name); }
    // The run ended with the manifest written: nothing is left to resume.
    void Remove();

  private:
    void Line(const std::string& line);
    std::string path_;
    int fd_ = -1;
};

// Applies what an earlier, broken run recorded to `m`: files it published, files it deleted,
// and the temporary names it may have left on the server (`temps`).
void ReplayJournal(FileSystem& fs, const std::string& path, Manifest& m,
                   std::set<std::string>& temps);

// A file whose size, times, inode and device are those it had when it was hashed has not been
// written since, and is not read again. A file changed within moments before it was hashed is
// not kept (its times may not yet tell a later change apart).
class HashCache {
  public:
    HashCache(FileSystem& fs, std::string path);
    // The file's hash and size; read and hashed only when the cache cannot tell.
    bool Hash(const std::string& path, const std::string& name, PublishedFile& file);
    // Keeps what this run saw (only the files still there), written whole or not at all.
    void Save();

  private:
    struct Entry {
        FileSystem::Identity id;
        std::string sha256;
    };
    FileSystem& fs_;
    std::string path_;
    std::unordered_map<std::string, Entry> entries_, fresh_;
};

}  // namespace pagloom
