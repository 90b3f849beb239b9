// SPDX-License-Identifier: MIT
// The server side of publishing, one protocol each: whole files read, written, renamed and
// removed by names relative to the target's remote folder ("bilder/logo.gif"). The publisher
// builds everything else (atomic replacement, the manifest, resuming) on these few steps.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {

class FileSystem;

class RemoteStore {
  public:
    virtual ~RemoteStore() = default;

    enum class Got { Read, Missing, Failed };
    // Reads a whole file; `error` says why on Failed.
    virtual Got Get(const std::string& name, std::string& out, std::string& error) = 0;
    // Writes a file under exactly this name (the publisher only ever writes temporary names).
    virtual bool Put(const std::string& name, std::string_view data, std::string& error) = 0;
    // Renames `from` over `to`, replacing a file there in one step where the server can.
    virtual bool Replace(const std::string& from, const std::string& to, std::string& error) = 0;
    virtual bool Remove(const std::string& name, std::string& error) = 0;
    // The size of a file; nothing when there is none.
    virtual std::optional<std::uint64_t> Size(const std::string& name) = 0;
    // Makes the folder and the folders above it (relative to the remote folder).
    virtual bool MakeFolders(const std::string& folder, std::string& error) = 0;
};

// A server as the target: connected, trusted and logged in before the first file goes.
class ServerStore : public RemoteStore {
  public:
    // False with a German message in `error`; then `UnknownKey()` tells an unknown key (and
    // `Fingerprint()` its form to accept) from a changed one or another failure.
    virtual bool Connect(std::string& error) = 0;
    virtual bool UnknownKey() const = 0;
    virtual bool ChangedKey() const = 0;
    // The key the server showed: "SHA256:..." for SSH, the pin "sha256//..." for TLS.
    virtual const std::string& Fingerprint() const = 0;
};

// The messages for a server's key that is not trusted; `fingerprint` is how it is accepted.
std::string UnknownKeyMessage(const std::string& host, const std::string& fingerprint);
std::string ChangedKeyMessage(const std::string& host, const std::string& fingerprint);

// A folder on this computer (a mounted share, say) as the target.
class FolderStore final : public RemoteStore {
  public:
    FolderStore(FileSystem& fs, std::string root) : fs_(fs), root_(std::move(root)) {}
    Got Get(const std::string& name, std::string& out, std::string& error) override;
    bool Put(const std::string& name, std::string_view data, std::string& error) override;
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
