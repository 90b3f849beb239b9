// SPDX-License-Identifier: MIT
#include "publish/PublishLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <random>
#include <set>

#include "publish/RemoteNames.h"
#include "publish/RemoteStore.h"

namespace pagloom {
namespace {

std::string ThisHost() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

long long Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string Field(const std::string& text, const std::string& key) {
    const std::string start = key + "=";
    size_t at = text.rfind("\n" + start);
    if (at == std::string::npos) {
        if (text.rfind(start, 0) != 0) return {};
        at = 0;
    } else {
        ++at;
    }
    const size_t end = text.find('\n', at);
    return text.substr(at + start.size(),
                       end == std::string::npos ? std::string::npos : end - at - start.size());
}

// The locks runs of this process hold now, by their token: a lock of this process that none of
// its runs holds was left by a run the server broke off.
std::mutex heldLock;
std::set<std::string>& HeldHere() {
    static std::set<std::string> tokens;
    return tokens;
}

// Whether the run that wrote the lock is gone.
bool Stale(const std::string& lock) {
    const long long since = std::atoll(Field(lock, "time").c_str());
    if (since <= 0 || Now() - since > kStaleLockSeconds) return true;
    if (Field(lock, "host") != ThisHost()) return false;
    const long pid = std::atol(Field(lock, "pid").c_str());
    if (pid == ::getpid()) {
        std::lock_guard<std::mutex> hold(heldLock);
        return !HeldHere().count(Field(lock, "token"));
    }
    return pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

std::string HeldBy(const std::string& lock) {
    const std::time_t since = static_cast<std::time_t>(std::atoll(Field(lock, "time").c_str()));
    char when[32] = "?";
    std::tm local{};
    if (::localtime_r(&since, &local)) std::strftime(when, sizeof when, "%d.%m.%Y %H:%M", &local);
    return "Ein anderer Lauf ver\xF6"
           "ffentlicht gerade an dieses Ziel (auf " +
           ShownName(Field(lock, "host")) + ", seit " + when +
           "); nichts wird ver\xF6"
           "ffentlicht. Ist er abgebrochen, entfernen Sie die Datei " +
           std::string(kLockName) + " im Zielordner.";
}

}  // namespace

std::optional<PublishLock> PublishLock::Take(RemoteStore& remote, const std::string& journalPath,
                                             const std::string& projectId, std::string& error) {
    const std::string localPath = journalPath + ".lock";
    const int fd = ::open(localPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0) ::close(fd);
        error =
            "Ein anderer Lauf auf diesem Computer ver\xF6"
            "ffentlicht gerade an dieses Ziel; nichts wird ver\xF6"
            "ffentlicht.";
        return std::nullopt;
    }
    PublishLock lock(remote, -1);
    lock.fd_ = fd;
    std::string held, why;
    if (remote.Get(kLockName, held, why) == RemoteStore::Got::Read && !Stale(held)) {
        error = HeldBy(held);
        lock.remote_ = nullptr;  // not ours to remove
        return std::nullopt;
    }
    std::random_device random;
    const std::string token = std::to_string(random()) + std::to_string(random());
    const std::string mine = "pagloom-lock 1\nhost=" + ThisHost() +
                             "\npid=" + std::to_string(::getpid()) + "\nproject=" + projectId +
                             "\ntime=" + std::to_string(Now()) + "\ntoken=" + token + "\n";
    // Written in place: a lock read half-written is told apart by the reading back below.
    if (!remote.Put(kLockName, mine, why)) {
        error = "Fehler: " + std::string(kLockName) + " (" + why + ")";
        lock.remote_ = nullptr;
        return std::nullopt;
    }
    // Two runs that started at the same moment both wrote: the one whose lock stands goes on.
    std::string read;
    if (remote.Get(kLockName, read, why) == RemoteStore::Got::Read && read != mine) {
        error = HeldBy(read);
        lock.remote_ = nullptr;
        return std::nullopt;
    }
    lock.token_ = token;
    std::lock_guard<std::mutex> hold(heldLock);
    HeldHere().insert(token);
    return lock;
}

PublishLock::PublishLock(PublishLock&& other) noexcept
    : remote_(other.remote_), fd_(other.fd_), token_(std::move(other.token_)) {
    other.remote_ = nullptr;
    other.fd_ = -1;
    other.token_.clear();
}

PublishLock::~PublishLock() {
    if (!token_.empty()) {
        std::lock_guard<std::mutex> hold(heldLock);
        HeldHere().erase(token_);
    }
    std::string ignored;
    if (remote_) remote_->Remove(kLockName, ignored);
    if (fd_ >= 0) ::close(fd_);  // ends the local lock
}

}  // namespace pagloom
