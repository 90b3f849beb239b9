// SPDX-License-Identifier: MIT
#include "publish/RemoteStore.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "io/FileSystem.h"
#include "publish/Manifest.h"

namespace pagloom {

long TextSource::Read(char* buffer, size_t room) {
    const size_t count = std::min(room, text_.size() - at_);
    std::memcpy(buffer, text_.data() + at_, count);
    at_ += count;
    return static_cast<long>(count);
}

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

void FileSource::Rewind() {
    at_ = 0;
    hash_.Restart();
    fault_ = Fault::None;
}

long FileSource::Read(char* buffer, size_t room) {
    const size_t want = static_cast<size_t>(std::min<std::uint64_t>(room, size_ - at_));
    if (want == 0) return 0;
    // At an offset of its own: a retry starts over without the descriptor's position.
    ssize_t got;
    do {
        got = ::pread(fd_, buffer, want, static_cast<off_t>(at_));
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        // Ending short is refused too: the server must not keep a cut-off file as complete.
        fault_ = got == 0 ? Fault::Shortened : Fault::Unreadable;
        return -1;
    }
    hash_.Add(std::string_view(buffer, static_cast<size_t>(got)));
    at_ += static_cast<std::uint64_t>(got);
    return static_cast<long>(got);
}

bool RemoteStore::Put(const std::string& name, std::string_view text, std::string& error) {
    TextSource source(text);
    return Put(name, static_cast<UploadSource&>(source), error);
}

void RemoteStore::RemoveLeftover(const std::string& temp) {
    std::string ignored;
    Remove(temp, ignored);
}

std::string UnknownKeyMessage(const std::string& host, const std::string& fingerprint) {
    return "Der Schl\xFC"
           "ssel des Servers " +
           host + " ist unbekannt: " + fingerprint + ". Wenn er stimmt: --accept-host-key " +
           fingerprint;
}

std::string ChangedKeyMessage(const std::string& host, const std::string& fingerprint) {
    return "WARNUNG: Der Schl\xFC"
           "ssel des Servers " +
           host + " hat sich ge\xE4ndert (jetzt " + fingerprint + "). Nichts wird gesendet.";
}

std::string FolderStore::Path(const std::string& name) const { return JoinPath(root_, name); }

RemoteStore::Got FolderStore::Get(const std::string& name, std::string& out, std::string& error) {
    // An endless manifest is not read: its reader refuses what is larger than it may be.
    if (name == kManifestName)
        if (const std::optional<std::uint64_t> size = Size(name);
            size && *size > kMaxManifestBytes) {
            out.assign(kMaxManifestBytes + 1, ' ');
            return Got::Read;
        }
    switch (fs_.Read(Path(name), out)) {
        case FileSystem::ReadState::Read:
            return Got::Read;
        case FileSystem::ReadState::Missing:
            return Got::Missing;
        case FileSystem::ReadState::Unreadable:
            break;
    }
    error = "kann nicht gelesen werden";
    return Got::Failed;
}

bool FolderStore::Put(const std::string& name, UploadSource& source, std::string& error) {
    const std::string path = Path(name);
    fs_.Remove(path);  // a temporary name left by a broken run
    const int fd = fs_.OpenNew(path);
    bool ok = fd >= 0;
    if (ok) {
        source.Rewind();
        constexpr size_t kPiece = 1 << 16;
        const std::unique_ptr<char[]> buffer(new char[kPiece]);
        for (long got; ok && (got = source.Read(buffer.get(), kPiece)) != 0;) {
            ok = got > 0;
            for (long done = 0; ok && done < got;) {
                const ssize_t w = ::write(fd, buffer.get() + done, static_cast<size_t>(got - done));
                ok = w > 0 || (w < 0 && errno == EINTR);
                if (w > 0) done += w;
            }
        }
        ok = ::close(fd) == 0 && ok;
    }
    if (ok) return true;
    fs_.Remove(path);
    error = "kann nicht geschrieben werden";
    return false;
}

bool FolderStore::Replace(const std::string& from, const std::string& to, std::string& error) {
    if (fs_.Rename(Path(from), Path(to))) return true;
    error = fs_.DirectoryExists(Path(to)) ? std::string(kFolderInTheWay)
                                          : "kann nicht umbenannt werden";
    return false;
}

bool FolderStore::Remove(const std::string& name, std::string& error) {
    if (fs_.Remove(Path(name)) || !fs_.Exists(Path(name))) return true;
    error = "kann nicht entfernt werden";
    return false;
}

std::optional<std::uint64_t> FolderStore::Size(const std::string& name) {
    // Asked of the file itself, never read: the file may be large.
    const std::optional<FileSystem::Identity> id = fs_.IdentityOf(Path(name));
    if (!id) return std::nullopt;
    return id->size;
}

bool FolderStore::MakeFolders(const std::string& folder, std::string& error) {
    std::string path = root_;
    size_t start = 0;
    while (start < folder.size()) {
        size_t end = folder.find('/', start);
        if (end == std::string::npos) end = folder.size();
        path = JoinPath(path, folder.substr(start, end - start));
        if (!fs_.DirectoryExists(path) && !fs_.CreateDirectory(path)) {
            error = "Ordner " + path + " kann nicht angelegt werden";
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace pagloom
