// SPDX-License-Identifier: MIT
// The thin seam between the core and the disk. All file access of the core goes through a
// FileSystem the front end hands in, so tests can make single operations fail (a full disk, a
// failing rename) or keep files in memory.
// Paths are Windows-1252 text like every other core text; the real file system converts them
// to the disk's UTF-8 names (and listed names back).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Reads a whole file; false when it cannot be read (missing, a folder, no permission).
    virtual bool ReadAll(const std::string& path, std::string& out);
    // Reads a whole file and tells a missing file from one that cannot be read. Made of
    // ReadAll and FileExists here, so replacements of those are honoured; the real file system
    // answers it with one call.
    enum class ReadState { Read, Missing, Unreadable };
    virtual ReadState Read(const std::string& path, std::string& out);
    // Creates a file under a name nothing has yet and writes data; false when anything (a file,
    // a link) already has the name, which is then left as it is and never followed, or on any
    // other failure (the file may then hold part of the data, which is why callers write to a
    // temporary name first).
    virtual bool WriteNew(const std::string& path, std::string_view data);
    // The file WriteNew writes, open for writing in pieces (a copy of any size): made under a
    // name nothing has yet, never through a link; -1 when it cannot be. The descriptor is the
    // caller's to close.
    virtual int OpenNew(const std::string& path);
    // Opens the regular file `relative` below the folder `root` for reading in pieces, without
    // following a link in any part of `relative`: a link swapped in for the file or one of its
    // folders since they were listed is refused, as is anything but a regular file. -1 when
    // refused or unreadable; else the descriptor, the caller's to close, and the file's size.
    virtual int OpenRegularBelow(const std::string& root, const std::string& relative,
                                 std::uint64_t& size);
    // Creates a file that does not exist yet, all or nothing: the name appears only with the
    // complete data, and a failure leaves no file behind.
    enum class CreateResult { Created, Exists, Failed };
    virtual CreateResult CreateNew(const std::string& path, std::string_view data);
    // CreateNew in two steps, for writers that make files ahead of naming them: the data goes
    // into an unnamed file in the target folder, and Publish gives it its name. A file never
    // published leaves nothing behind. Not Ready when the folder has no unnamed files or the
    // data could not be written; Publish closes the file whatever it returns.
    class UnnamedFile {
      public:
        UnnamedFile() = default;
        explicit UnnamedFile(int fd) : fd_(fd) {}
        UnnamedFile(UnnamedFile&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
        UnnamedFile& operator=(UnnamedFile&& o) noexcept;
        ~UnnamedFile();
        bool Ready() const { return fd_ >= 0; }
        int Release();  // the descriptor, now the caller's to close

      private:
        int fd_ = -1;
    };
    virtual UnnamedFile PrepareNew(const std::string& path, std::string_view data);
    virtual CreateResult Publish(UnnamedFile& file, const std::string& path);
    virtual bool Rename(const std::string& from, const std::string& to);
    virtual bool Remove(const std::string& path);
    // Gives `to` the permission bits of `from` (when `from` is a regular file); links are not
    // followed on either side.
    virtual void CopyPermissions(const std::string& from, const std::string& to);
    virtual bool FileExists(const std::string& path);  // a regular file (or link to one)
    // Whether anything has the name (a file, a folder, a pipe, a device; links followed).
    virtual bool Exists(const std::string& path);
    virtual bool DirectoryExists(const std::string& path);
    virtual bool CreateDirectory(const std::string& path);  // one level
    // Whether a file could now be created or replaced at `path`, asked without changing
    // anything, as the write itself would find: its folder exists, may be written to and is not
    // marked immutable; the name is not too long; no folder has the name; a file there may be
    // replaced (the sticky rule of shared folders, the immutable mark). A build that only plans
    // asks this instead of writing.
    virtual bool CanWrite(const std::string& path);
    // Names (not paths) of the regular files in a folder, sorted; empty when unreadable.
    virtual std::vector<std::string> ListFiles(const std::string& dir);
    // Every name in a folder, unsorted and unchecked (files, folders, links): one pass over
    // the folder, so a build can tell which of its files are new without asking for each.
    // False when the folder cannot be listed.
    virtual bool ListNames(const std::string& dir, std::vector<std::string>& names);
    // Whether both paths lead to one existing file (through links, other spellings of the
    // path or hard links); false when either does not exist.
    virtual bool SameFile(const std::string& a, const std::string& b);
    // When `path` is a symbolic link: the path of what it finally leads to (which need not
    // exist); otherwise `path` itself.
    virtual std::string FollowLinks(const std::string& path);
    // Whether the user may write the file at `path` itself (true when there is none).
    virtual bool MayWrite(const std::string& path);
    // What tells a regular file's state without reading it (links not followed): a file whose
    // identity is unchanged since it was last seen has not been written to since. Nothing when
    // there is no regular file, or the file system cannot tell.
    struct Identity {
        std::uint64_t size = 0, mtimeNs = 0, ctimeNs = 0, inode = 0, device = 0;
        bool operator==(const Identity&) const = default;
    };
    virtual std::optional<Identity> IdentityOf(const std::string& path);
};

// The disk itself. The base class's operations already are the disk's; this one also answers
// Read with one call. Front ends make one and hand it in.
class DiskFileSystem final : public FileSystem {
  public:
    ReadState Read(const std::string& path, std::string& out) override;
};

// Replaces `path` with `data` atomically: a new file is created complete (CreateNew); an
// existing one is replaced by a temporary file in the same folder, with the old file's
// permissions, renamed over it. The temporary file is created exclusively under an unguessable
// name ("<path>.pagloom-<pid>-<random>.tmp"), and the rename replaces a link at `path` itself, so
// a link planted in the folder never makes a write land elsewhere. (Reading the old page to
// compare, as SaveIfChanged does, may follow a link: that reads and never writes.) On failure the
// old file is untouched, no temporary file is left, and `error` (if given) says what failed.
// `knownMissing` spares the existence check when the caller has just seen that the file is not
// there.
bool WriteFileAtomic(FileSystem& fs, const std::string& path, std::string_view data,
                     std::string* error = nullptr, bool knownMissing = false);

// Removes from the folder `dir` the temporary files that builds killed part-way left behind,
// and drops them from `names` (the folder's listing): only names of this program's temporary
// files whose process no longer runs. Files of running builds are never touched.
void RemoveTemporaryLeftovers(FileSystem& fs, const std::string& dir,
                              std::vector<std::string>& names);

// Joins a folder and a name with "/" (no doubled separator).
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace pagloom
