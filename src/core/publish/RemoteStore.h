// SPDX-License-Identifier: MIT
// The server side of publishing, one protocol each: files read, written (from a source read in
// pieces), renamed and removed by names relative to the target's remote folder
// ("bilder/logo.gif"). The publisher builds everything else (atomic replacement, the manifest,
// resuming) on these few steps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "publish/Sha256.h"

namespace pagloom {

class FileSystem;

// The bytes of one upload, read in pieces as they go: a file of any size costs the same memory.
class UploadSource {
  public:
    virtual ~UploadSource() = default;
    // How many bytes go; known before the first one is sent.
    virtual std::uint64_t Size() const = 0;
    // Back to the first byte: every attempt of an upload starts there.
    virtual void Rewind() = 0;
    // The next bytes, at most `room`: 0 at the end, -1 when the rest cannot be had (the upload
    // is then broken off).
    virtual long Read(char* buffer, size_t room) = 0;
};

// Text held in memory: the manifest, the connection check's files.
class TextSource final : public UploadSource {
  public:
    explicit TextSource(std::string_view text) : text_(text) {}
    std::uint64_t Size() const override { return text_.size(); }
    void Rewind() override { at_ = 0; }
    long Read(char* buffer, size_t room) override;

  private:
    std::string_view text_;
    size_t at_ = 0;
};

// A file of the site, open for reading: exactly the `size` bytes it had when it was opened go,
// hashed as they are read, so that afterwards it is known whether what went is what was planned
// (the file may be written to while it is sent).
class FileSource final : public UploadSource {
  public:
    FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}  // takes the descriptor
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t Size() const override { return size_; }
    void Rewind() override;
    long Read(char* buffer, size_t room) override;

    // Of the last attempt: whether every byte was read, their hash, and whether the file ended
    // early (it was shortened) or could not be read on.
    bool Complete() const { return at_ == size_; }
    std::string Sha256Hex() const { return hash_.Hex(); }
    enum class Fault { None, Shortened, Unreadable };
    Fault LastFault() const { return fault_; }

  private:
    int fd_;
    std::uint64_t size_, at_ = 0;
    Sha256 hash_;
    Fault fault_ = Fault::None;
};

// Why a file cannot take a page's place: a folder on the server has its name. Nothing is moved.
inline constexpr std::string_view kFolderInTheWay = "auf dem Server ist ein Ordner dieses Namens";

class RemoteStore {
  public:
    virtual ~RemoteStore() = default;

    enum class Got { Read, Missing, Failed };
    // Reads a whole file; `error` says why on Failed.
    virtual Got Get(const std::string& name, std::string& out, std::string& error) = 0;
    // Writes a file under exactly this name (the publisher only ever writes temporary names),
    // from the source's first byte on; a source that breaks off fails the write.
    virtual bool Put(const std::string& name, UploadSource& source, std::string& error) = 0;
    // The same for text held in memory.
    bool Put(const std::string& name, std::string_view text, std::string& error);
    // Renames `from` over `to`, replacing a file there in one step where the server can; a folder
    // named `to` is never replaced or moved (kFolderInTheWay).
    virtual bool Replace(const std::string& from, const std::string& to, std::string& error) = 0;
    virtual bool Remove(const std::string& name, std::string& error) = 0;
    // Clears away what a broken run may have left for the temporary name `temp`: the file under
    // it, and whatever the store's way of replacing put aside meanwhile (the old file goes back
    // when the new one never got its name). Best effort: what stays is tried again next time.
    virtual void RemoveLeftover(const std::string& temp);
    // The size of a file; nothing when there is none.
    virtual std::optional<std::uint64_t> Size(const std::string& name) = 0;
    // Makes the folder and the folders above it (relative to the remote folder).
    virtual bool MakeFolders(const std::string& folder, std::string& error) = 0;
};

// A server as the target: connected, trusted and logged in before the first file goes.
struct ConnectResult {
    bool ok = false;
    std::string error;  // why not (German)
    bool unknownKey = false, changedKey = false;
    // The key the server showed: "SHA256:..." for SSH, the pin "sha256//..." for TLS.
    std::string fingerprint;
};

class ServerStore : public RemoteStore {
  public:
    // Connects, checks the server's key and logs in.
    virtual ConnectResult Connect() = 0;
};

// The messages for a server's key that is not trusted; `fingerprint` is how it is accepted.
std::string UnknownKeyMessage(const std::string& host, const std::string& fingerprint);
std::string ChangedKeyMessage(const std::string& host, const std::string& fingerprint);

// A folder on this computer (a mounted share, say) as the target.
class FolderStore final : public RemoteStore {
  public:
    FolderStore(FileSystem& fs, std::string root) : fs_(fs), root_(std::move(root)) {}
    Got Get(const std::string& name, std::string& out, std::string& error) override;
    using RemoteStore::Put;
    bool Put(const std::string& name, UploadSource& source, std::string& error) override;
    bool Replace(const std::string& from, const std::string& to, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    std::optional<std::uint64_t> Size(const std::string& name) override;
    bool MakeFolders(const std::string& folder, std::string& error) override;

  private:
    std::string Path(const std::string& name) const;
    FileSystem& fs_;
    std::string root_;
};

}  // namespace pagloom
