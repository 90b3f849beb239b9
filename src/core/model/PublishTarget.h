// SPDX-License-Identifier: MIT
// Where a project's site is published: the section [publish] of its project file, as data. What
// a protocol means (its port, its login, its store) is the publishing library's business; the
// model keeps the protocol's key as the file holds it. No password or other secret is ever
// part of it.
#pragma once
#include <string>
#include <vector>

namespace pagloom {

struct PublishTarget {
    std::string protocol;  // "sftp", "ftps", ... as stored; "" for no target
    std::string host;
    int port = 0;  // 0: the protocol's default
    std::string user;
    std::string remoteFolder;  // for `folder`: the local folder
    std::string keyFile;
    std::string hostKey;               // accepted SHA256 fingerprint or public-key pin
    std::vector<std::string> exclude;  // local files never published
    std::vector<std::string> protect;  // remote files never deleted or replaced
    bool deleteRemoved = false;
    int connections = 4;
    bool publishAfterBuild = false;  // a build without a fault is published at its end
    // Tells this project's publications apart from another project's on the same target: made
    // on the first publish and kept, so renaming the project file keeps its target.
    std::string projectId;

    bool operator==(const PublishTarget&) const = default;
};

inline constexpr int kMaxPublishConnections = 8;

}  // namespace pagloom
