// SPDX-License-Identifier: MIT
#include "publish/PublishJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "publish/PublishProtocols.h"
#include "publish/RemoteNames.h"
#include "publish/RemoteStore.h"
#include "publish/Sha256.h"

namespace pagloom {

std::string JournalPath(const std::string& dir, const PublishTarget& target,
                        const std::string& site) {
    return JoinPath(dir, Sha256Hex(TargetAddress(target) + "\n" + site).substr(0, 24) + ".journal");
}

Journal::Journal(std::string path, bool write) : path_(std::move(path)) {
    if (write)
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
}

Journal::~Journal() {
    if (fd_ >= 0) ::close(fd_);
}

void Journal::Published(const std::string& name, const PublishedFile& file) {
    Line("P\t" + file.sha256 + "\t" + std::to_string(file.size) + "\t" + name);
}

void Journal::Line(const std::string& line) {
    if (fd_ < 0) return;
    const std::string l = line + "\n";
    [[maybe_unused]] const ssize_t n = ::write(fd_, l.data(), l.size());
}

void Journal::Remove() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
}

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
        // A journal is ours, but its folder may not be: every name in it is checked as one from
        // the server is. A skipped line only means a file is sent once more.
        if (line[0] == 'T') {
            if (IsOwnTempName(rest)) temps.insert(rest);
        } else if (line[0] == 'D') {
            if (IsPlainRelativeName(rest)) m.files.erase(rest);
        } else if (line[0] == 'P') {
            const size_t a = rest.find('\t'), b = rest.find('\t', a + 1);
            if (a == std::string::npos || b == std::string::npos ||
                !IsPlainRelativeName(std::string_view(rest).substr(b + 1)))
                continue;
            m.files[rest.substr(b + 1)] = {
                rest.substr(0, a),
                std::strtoull(rest.substr(a + 1, b - a - 1).c_str(), nullptr, 10)};
        }
    }
}

HashCache::HashCache(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {
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

bool HashCache::Hash(const std::string& path, const std::string& name, PublishedFile& file) {
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
    // Read in pieces, never through a link: a site may hold a film of gigabytes.
    const size_t slash = path.rfind('/');
    std::uint64_t size = 0;
    const int fd = slash == std::string::npos
                       ? fs_.OpenRegularBelow(".", path, size)
                       : fs_.OpenRegularBelow(slash == 0 ? "/" : path.substr(0, slash),
                                              path.substr(slash + 1), size);
    if (fd < 0) return false;
    FileSource source(fd, size);
    std::vector<char> buffer(1 << 16);
    long got;
    while ((got = source.Read(buffer.data(), buffer.size())) > 0) {
    }
    if (got < 0) return false;
    file = {source.Sha256Hex(), size};
    const std::optional<FileSystem::Identity> after = fs_.IdentityOf(path);
    constexpr std::uint64_t kSettled = 50'000'000;  // ns; well above the clock's tick
    if (id && after && *after == *id && id->ctimeNs + kSettled < now &&
        name.find('\n') == std::string::npos)
        fresh_[name] = {*id, file.sha256};
    return true;
}

void HashCache::Save() {
    std::string text;
    for (const auto& [name, e] : fresh_)
        text += std::to_string(e.id.size) + '\t' + std::to_string(e.id.mtimeNs) + '\t' +
                std::to_string(e.id.ctimeNs) + '\t' + std::to_string(e.id.inode) + '\t' +
                std::to_string(e.id.device) + '\t' + e.sha256 + '\t' + name + '\n';
    const std::string temp = path_ + ".neu";
    if (fs_.WriteNew(temp, text) && !fs_.Rename(temp, path_)) fs_.Remove(temp);
}

}  // namespace pagloom
