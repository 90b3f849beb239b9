// SPDX-License-Identifier: MIT
// One run at a time per target. Two runs at once would each write the manifest from their own
// view, and later runs would believe files sent that the other run replaced. A run holds a lock
// on this computer (per target and site, beside the journal) and one on the server: the file
// `.pagloom-lock` in the remote folder names who holds it and since when. A lock whose run is
// gone (the same computer and no such process, or older than kStaleLockSeconds) is taken over.
#pragma once
#include <optional>
#include <string>

namespace pagloom {

class RemoteStore;

inline constexpr const char* kLockName = ".pagloom-lock";
inline constexpr long long kStaleLockSeconds = 6 * 3600;

class PublishLock {
  public:
    // Takes both locks; nothing when another run holds one (`error` says which and since when).
    static std::optional<PublishLock> Take(RemoteStore& remote, const std::string& journalPath,
                                           const std::string& projectId, std::string& error);
    PublishLock(PublishLock&& other) noexcept;
    PublishLock& operator=(PublishLock&&) = delete;
    PublishLock(const PublishLock&) = delete;
    ~PublishLock();

  private:
    PublishLock(RemoteStore& remote, int fd) : remote_(&remote), fd_(fd) {}
    RemoteStore* remote_;
    int fd_ = -1;
    std::string token_;  // of the server's lock, when this process holds it
};

}  // namespace pagloom
