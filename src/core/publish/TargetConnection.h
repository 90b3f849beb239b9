// SPDX-License-Identifier: MIT
// Opening a project's publishing target, the same for every front end: the first connection
// (trusted and logged in) and the way to make more. An untrusted server key is told apart from
// other failures, so a front end can offer to accept it.
#pragma once
#include <memory>
#include <string>

#include "model/PublishTarget.h"
#include "publish/Publisher.h"
#include "publish/RemoteStore.h"

namespace pagloom {

class FileSystem;

struct TargetConnection {
    std::unique_ptr<RemoteStore> store;  // nothing when the target cannot be opened
    StoreFactory more;                   // one more connection like the first
    std::string error;                   // why not (German)
    bool unknownKey = false;             // the server's key is not known yet
    bool changedKey = false;             // the server shows another key than the stored one
    std::string fingerprint;             // the key the server showed, as it is accepted
    std::string warning;                 // said before the run (FTP without encryption)
};

struct TargetAccess {
    std::string projectFile;  // a local folder target is relative to its folder
    std::string site;         // the site's folder, which a local folder target must not be
    std::string password;     // "" when an SSH agent or key file logs in
    std::string knownHosts;   // the user's known_hosts ("" for none)
};

TargetConnection ConnectTarget(FileSystem& fs, const PublishTarget& target,
                               const TargetAccess& access);

struct ProjectSettings;

// What a run of the project `projectFile` publishes with: the project's name and id for the
// manifest, the journal folder ($XDG_CACHE_HOME/pagloom/publish or ~/.cache/pagloom/publish,
// made when missing; refused in `journalProblem` unless it is the user's alone), the entry
// pages to go last, and the target's delete rule and connections.
PublishOptions ProjectPublishOptions(const ProjectSettings& settings, const PublishTarget& target,
                                     const std::string& projectFile);

// The user's known_hosts file ($HOME/.ssh/known_hosts), "" without a home folder.
std::string UserKnownHosts();

}  // namespace pagloom
