// SPDX-License-Identifier: MIT
#include "io/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "io/ProjectPaths.h"
#include "text/Cp1252.h"

namespace pagloom {
namespace {

// Paths inside the core are Windows-1252 text like every other text of a project (a destination
// folder read from a project file, say); the disk names files in UTF-8. Converting here, at the
// one door to the disk, lets a folder "Übersicht" work from a project file, the CLI and the GUI.
// A Windows path ("c:\daten") names nothing here: taken as it stands it would be a name in the
// working folder, and a project would build differently from one folder than from another.
std::string Native(const std::string& path) {
    return IsWindowsPath(path) ? std::string() : Cp1252ToUtf8(path);
}

bool WriteAll(int fd, std::string_view data) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        left -= static_cast<size_t>(w);
    }
    return true;
}

constexpr std::string_view kTempMark = ".pagloom-";

// "<file>.pagloom-<pid>-<random>.tmp". The random part keeps anyone who can write into the
// folder from planting something under the name ahead of time; the process id lets a later build
// tell a leftover of a dead process from a file a running build is still writing.
std::string TempNameFor(const std::string& path) {
    static std::atomic<unsigned long long> counter{0};
    unsigned long long r = 0;
    if (::getrandom(&r, sizeof r, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof r))
        r = static_cast<unsigned long long>(
                std::chrono::steady_clock::now().time_since_epoch().count()) *
                0x9E3779B97F4A7C15ULL +
            counter++;
    char tail[40];
    std::snprintf(tail, sizeof tail, "%ld-%016llx.tmp", static_cast<long>(::getpid()), r);
    return path + std::string(kTempMark) + tail;
}

// The process id in a temporary name of this program, or 0 for any other name.
long TempNamePid(std::string_view name) {
    const size_t mark = name.rfind(kTempMark);
    if (mark == std::string_view::npos || name.size() < 4 || name.substr(name.size() - 4) != ".tmp")
        return 0;
    long pid = 0;
    size_t i = mark + kTempMark.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 100000000; ++i)
        pid = pid * 10 + (name[i] - '0');
    if (i == mark + kTempMark.size() || i >= name.size() || name[i] != '-') return 0;
    for (++i; i + 4 < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return 0;
    }
    return i + 4 == name.size() && name[i - 1] != '-' ? pid : 0;
}

// An unnamed file, open for writing, in the folder of `path` (a disk path); -1 when the folder
// cannot have one.
int OpenUnnamed(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : path.substr(0, slash);
    return ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the unnamed file `fd` the name `path`. Linking the descriptor itself spares the walk
// through /proc; kernels before 6.10 allow that only to privileged callers, so a refusal is
// remembered and the /proc name used instead.
int LinkUnnamed(int fd, const std::string& path) {
    static std::atomic<bool> emptyPathRefused{false};
    if (!emptyPathRefused.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return 0;
        if (errno != ENOENT && errno != EPERM && errno != EINVAL) return -1;
        emptyPathRefused.store(true, std::memory_order_relaxed);
    }
    char proc[64];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, proc, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
}

// A table file of many megabytes is read into memory that nothing has touched yet. With 4 KB
// pages every one of them costs a fault when it is first written (a 10 MB CSV file: 2,500, a
// good part of a whole unchanged rebuild); large pages take that to a handful.
constexpr size_t kLargeFile = size_t{4} << 20;

void AdviseLargePages(void* data, size_t size) {
    constexpr uintptr_t kHuge = uintptr_t{2} << 20;
    const auto begin = (reinterpret_cast<uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

// A missing file is known from the failed open, without asking again. A build reads every page
// it may rewrite through here, so the common case takes three system calls: the file is read
// into a buffer kept for the thread, and a read that leaves the buffer part empty has reached
// the end (no size asked first). Whatever does not fit, or does not read as a file, takes the
// general path.
FileSystem::ReadState DiskFileSystem::Read(const std::string& path, std::string& out) {
    constexpr size_t kBuffer = 1 << 16;
    static thread_local std::unique_ptr<char[]> buffer;
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        out.clear();
        return ReadState::Missing;
    }
    if (fd >= 0) {
        // A pipe or a device under the name holds no page (as for the general path below); a
        // build replaces it like a missing file.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
            ::close(fd);
            out.clear();
            return ReadState::Missing;
        }
        if (!buffer) buffer.reset(new char[kBuffer]);
        ssize_t r;
        do {
            r = ::read(fd, buffer.get(), kBuffer);
        } while (r < 0 && errno == EINTR);
        ::close(fd);
        if (r >= 0 && static_cast<size_t>(r) < kBuffer) {
            out.assign(buffer.get(), static_cast<size_t>(r));
            return ReadState::Read;
        }
    }
    if (ReadAll(path, out)) return ReadState::Read;
    if (errno == ENOENT) return ReadState::Missing;
    return FileExists(path) ? ReadState::Unreadable : ReadState::Missing;
}

bool FileSystem::ReadAll(const std::string& path, std::string& out) {
    out.clear();
    int fd = ::open(Native(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;  // there is something under the name, just not a file to read
        return false;
    }
    // Read straight into the string, and stop at the size the file has: a build reads every
    // page it may rewrite, so the extra read that only finds the end is worth saving.
    const size_t size = static_cast<size_t>(st.st_size);
    if (size >= kLargeFile) {
        out.reserve(size);
        AdviseLargePages(out.data(), out.capacity());
    }
    out.resize(size);
    size_t got = 0;
    bool toEnd = size == 0;  // files that report no size are read until their end
    while (got < out.size() || toEnd) {
        if (got == out.size()) out.resize(out.size() + (1 << 16));
        ssize_t r = ::read(fd, out.data() + got, out.size() - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            out.clear();
            return false;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    out.resize(got);
    ::close(fd);
    return true;
}

FileSystem::ReadState FileSystem::Read(const std::string& path, std::string& out) {
    if (ReadAll(path, out)) return ReadState::Read;
    return FileExists(path) ? ReadState::Unreadable : ReadState::Missing;
}

bool FileSystem::WriteNew(const std::string& path, std::string_view data) {
    const int fd = OpenNew(path);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, data);
    return (::close(fd) == 0) && written;
}

int FileSystem::OpenNew(const std::string& path) {
    // Exclusive and without following a link: whatever already has the name is left alone.
    return ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int FileSystem::OpenRegularBelow(const std::string& root, const std::string& relative,
                                 std::uint64_t& size) {
    int dir = ::open(Native(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::string rel = Native(relative);
    size_t start = 0;
    while (dir >= 0) {
        const size_t slash = rel.find('/', start);
        const std::string part =
            rel.substr(start, slash == std::string::npos ? slash : slash - start);
        if (slash == std::string::npos) {
            // Not blocking: a pipe put in the file's place must not hold the caller.
            const int fd =
                ::openat(dir, part.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
            ::close(dir);
            struct stat st {};
            if (fd < 0) return -1;
            if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
                ::fcntl(fd, F_SETFL, O_RDONLY) != 0) {
                ::close(fd);
                return -1;
            }
            size = static_cast<std::uint64_t>(st.st_size);
            return fd;
        }
        const int next =
            part.empty() || part == "." || part == ".."
                ? -1
                : ::openat(dir, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(dir);
        dir = next;
        start = slash + 1;
    }
    return -1;
}

FileSystem::UnnamedFile& FileSystem::UnnamedFile::operator=(UnnamedFile&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(o.fd_, -1);
    }
    return *this;
}

FileSystem::UnnamedFile::~UnnamedFile() {
    if (fd_ >= 0) ::close(fd_);
}

int FileSystem::UnnamedFile::Release() { return std::exchange(fd_, -1); }

FileSystem::UnnamedFile FileSystem::PrepareNew(const std::string& path, std::string_view data) {
    const int fd = OpenUnnamed(Native(path));
    if (fd < 0) return UnnamedFile();
    UnnamedFile file(fd);
    return WriteAll(fd, data) ? std::move(file) : UnnamedFile();
}

FileSystem::CreateResult FileSystem::Publish(UnnamedFile& file, const std::string& path) {
    const int fd = file.Release();
    if (fd < 0) return CreateResult::Failed;
    const int r = LinkUnnamed(fd, Native(path));
    const int e = errno;
    ::close(fd);
    if (r == 0) return CreateResult::Created;
    return e == EEXIST ? CreateResult::Exists : CreateResult::Failed;
}

FileSystem::CreateResult FileSystem::CreateNew(const std::string& path, std::string_view data) {
    // An unnamed file in the target folder, linked under its name once complete: atomic like
    // a temporary file and a rename, but with one entry made in the folder instead of two.
    const std::string native = Native(path);
    if (const int fd = OpenUnnamed(native); fd >= 0) {
        UnnamedFile file(fd);
        if (!WriteAll(fd, data)) return CreateResult::Failed;
        const CreateResult linked = Publish(file, path);
        if (linked != CreateResult::Failed) return linked;
    }
    // Folders without unnamed files (or without /proc): a temporary file linked under the name.
    const std::string tmp = TempNameFor(path);
    if (!WriteNew(tmp, data)) {
        Remove(tmp);
        return CreateResult::Failed;
    }
    const int r = ::link(Native(tmp).c_str(), native.c_str());
    const int e = errno;
    Remove(tmp);
    if (r == 0) return CreateResult::Created;
    return e == EEXIST ? CreateResult::Exists : CreateResult::Failed;
}

bool FileSystem::Rename(const std::string& from, const std::string& to) {
    return std::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool FileSystem::Remove(const std::string& path) { return ::unlink(Native(path).c_str()) == 0; }

void FileSystem::CopyPermissions(const std::string& from, const std::string& to) {
    // Neither side's link is followed: a link planted at the page says nothing of the page's
    // permissions, and one swapped in for the temporary file must not have its target changed.
    struct stat st {};
    if (::lstat(Native(from).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const int fd = ::open(Native(to).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    ::fchmod(fd, st.st_mode & 07777);
    ::close(fd);
}

bool FileSystem::FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileSystem::Exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(Native(path).c_str(), &st) == 0;
}

bool FileSystem::SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return !a.empty() && !b.empty() && ::stat(Native(a).c_str(), &sa) == 0 &&
           ::stat(Native(b).c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::optional<FileSystem::Identity> FileSystem::IdentityOf(const std::string& path) {
    struct stat st {};
    if (::lstat(Native(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    Identity id;
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.mtimeNs = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                 static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
    id.ctimeNs = static_cast<std::uint64_t>(st.st_ctim.tv_sec) * 1000000000u +
                 static_cast<std::uint64_t>(st.st_ctim.tv_nsec);
    id.inode = st.st_ino;
    id.device = st.st_dev;
    return id;
}

std::string FileSystem::FollowLinks(const std::string& path) {
    std::string current = Native(path);
    bool followed = false;
    // As many links as the kernel would follow; a loop ends here like there.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string target(static_cast<size_t>(st.st_size) + 256, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) break;
        target.resize(static_cast<size_t>(n));
        if (target.front() != '/') {
            const size_t slash = current.rfind('/');
            if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
        }
        current = std::move(target);
        followed = true;
    }
    if (!followed) return path;
    // A target that has no Windows-1252 name is saved through the link as before.
    return Utf8ToCp1252Exact(current).value_or(path);
}

bool FileSystem::MayWrite(const std::string& path) {
    return ::access(Native(path).c_str(), W_OK) == 0 || errno == ENOENT;
}

bool FileSystem::DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileSystem::CreateDirectory(const std::string& path) {
    return ::mkdir(Native(path).c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(path));
}

namespace {

// Whether the file or folder carries the immutable or append-only mark, which forbids replacing
// it (or changing a folder's entries) even to root.
bool ChangeForbidden(const std::string& native) {
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    int flags = 0;
    const bool marked =
        ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL));
    ::close(fd);
    return marked;
}

}  // namespace

bool FileSystem::CanWrite(const std::string& path) {
    if (path.empty() || path.back() == '/') return false;
    const std::string native = Native(path);
    if (native.empty()) return false;  // a Windows path
    const size_t slash = native.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : native.substr(0, slash);
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if (::access(dir.c_str(), W_OK | X_OK) != 0 || ChangeForbidden(dir)) return false;
    // A name longer than the file system takes cannot be made.
    long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) nameMax = 255;
    if (native.size() - (slash == std::string::npos ? 0 : slash + 1) >
            static_cast<size_t>(nameMax) ||
        native.size() >= PATH_MAX)
        return false;
    struct stat target {};
    if (::lstat(native.c_str(), &target) != 0) return true;
    // A rename replaces anything under the name but a folder (a pipe or a link included).
    if (S_ISDIR(target.st_mode)) return false;
    // In a folder with the sticky bit only the owner of the file or of the folder may replace it.
    const uid_t me = ::geteuid();
    if ((st.st_mode & S_ISVTX) && me != 0 && target.st_uid != me && st.st_uid != me) return false;
    return !S_ISREG(target.st_mode) || !ChangeForbidden(native);
}

std::vector<std::string> FileSystem::ListFiles(const std::string& dir) {
    std::vector<std::string> names, files;
    if (dir.empty()) return files;  // no folder given: nothing listed
    ListNames(dir, names);
    for (std::string& name : names)
        if (FileExists(JoinPath(dir, name))) files.push_back(std::move(name));
    std::sort(files.begin(), files.end());
    return files;
}

bool FileSystem::ListNames(const std::string& dir, std::vector<std::string>& names) {
    names.clear();
    DIR* d = ::opendir(Native(dir.empty() ? std::string(".") : dir).c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        std::string name = Utf8ToCp1252(e->d_name);
        if (name != "." && name != "..") names.push_back(std::move(name));
    }
    ::closedir(d);
    return true;
}

void RemoveTemporaryLeftovers(FileSystem& fs, const std::string& dir,
                              std::vector<std::string>& names) {
    const long self = static_cast<long>(::getpid());
    std::erase_if(names, [&](const std::string& name) {
        const long pid = TempNamePid(name);
        // Only a process that no longer exists leaves its files for good; a running build (this
        // one included) still renames or removes its own.
        if (pid <= 0 || pid == self) return false;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) return false;
        return fs.Remove(JoinPath(dir, name));
    });
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

bool WriteFileAtomic(FileSystem& fs, const std::string& path, std::string_view data,
                     std::string* error, bool knownMissing) {
    if (knownMissing || !fs.FileExists(path)) {
        switch (fs.CreateNew(path, data)) {
            case FileSystem::CreateResult::Created:
                return true;
            case FileSystem::CreateResult::Failed:
                if (error) *error = "cannot create " + path;
                return false;
            case FileSystem::CreateResult::Exists:
                break;  // appeared meanwhile: replace it like any existing file
        }
    }
    const std::string tmp = TempNameFor(path);
    if (!fs.WriteNew(tmp, data)) {
        fs.Remove(tmp);
        if (error) *error = "cannot write " + tmp;
        return false;
    }
    fs.CopyPermissions(path, tmp);
    if (!fs.Rename(tmp, path)) {
        fs.Remove(tmp);
        if (error) *error = "cannot replace " + path;
        return false;
    }
    return true;
}

}  // namespace pagloom
