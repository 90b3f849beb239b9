// SPDX-License-Identifier: MIT
// The protocols a site can be published with, one row each: how the project file names it, how
// the window lists it, its default port, how one logs in, what key of the server is checked,
// what is said before connecting, and how its store is made. Every question about a protocol
// is a look-up here; a new protocol is one row and one store.
#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/PublishTarget.h"

namespace pagloom {

class ServerStore;
struct TargetAccess;

enum class LoginKind {
    None,           // a local folder: no login
    Password,       // user and password
    KeyOrPassword,  // an SSH agent or key file, else a password
};

enum class ServerKeyKind {
    None,  // nothing to trust (a local folder, plain FTP)
    Ssh,   // the host key: "SHA256:..." as OpenSSH prints it
    Tls,   // the certificate's public key: "sha256//..." pin
};

struct PublishProtocol {
    std::string_view key;    // in [publish] protocol=
    std::string_view label;  // in the window's list (Windows-1252)
    int defaultPort = 0;     // 0: no port (a local folder)
    LoginKind login = LoginKind::None;
    ServerKeyKind serverKey = ServerKeyKind::None;
    std::string_view warning;  // said before connecting; "" for none
    // The first connection's store, not yet connected; nothing for a local folder.
    std::unique_ptr<ServerStore> (*makeStore)(const PublishTarget&, const TargetAccess&) = nullptr;

    bool IsLocal() const { return makeStore == nullptr; }
};

// Every protocol in the order the window lists them.
std::span<const PublishProtocol> PublishProtocols();
// The row of a key as the project file holds it (case does not matter); nothing for an empty
// or unknown key.
const PublishProtocol* FindProtocol(std::string_view key);

// The port a target is reached at: its own, or its protocol's default (0 for a folder).
int EffectivePort(const PublishTarget& target);

// "sftp://user@host:port/folder" and the like; the name of the target in messages (never a
// password).
std::string TargetAddress(const PublishTarget& target);

// What a trusted server key belongs to: protocol, host and port.
std::string ServerOf(const PublishTarget& target);

// Whether the target logs in with a password that must come from somewhere (a password-only
// protocol with a user). SSH may log in with an agent or key file and asks only when those fail.
bool NeedsPassword(const PublishTarget& target);

// What to do when the server shows another key than the trusted one: the old key is removed
// on purpose, where it is kept; then the next connection asks about the new one.
std::string ChangedKeyAdvice(const PublishTarget& target);

}  // namespace pagloom
