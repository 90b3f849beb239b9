// SPDX-License-Identifier: MIT
// Where a project's site is published: the section [publish] of its project file. Other
// readers skip the section, and the project writer keeps it as it stands; no password or other
// secret is ever part of it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

class IniFile;

enum class PublishProtocol { None, Sftp, Ftps, Ftp, WebDav, Folder };

struct PublishTarget {
    PublishProtocol protocol = PublishProtocol::None;
    std::string protocolText;  // as stored, for messages about an unknown protocol
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

    // "sftp://user@host:port/folder" and the like; the name of the target in the manifest and in
    // messages (never a password).
    std::string Address() const;

    bool operator==(const PublishTarget&) const = default;
};

// The port a target is reached at: its own, or its protocol's default (0 for a folder).
int EffectivePort(const PublishTarget& target);

// The name the project file gives a protocol ("sftp", ...; "" for None).
const char* ProtocolKey(PublishProtocol protocol);

// Reads [publish]; a missing section gives protocol None. A value may carry a comment after
// " ;" where the value itself cannot hold ';' (every key but the two pattern lists).
PublishTarget ReadPublishTarget(const IniFile& ini);
// Writes the target into [publish]: only the keys whose value differs from what the section
// holds, so the user's comments and layout stay; a project without a target and without the
// section gets none.
void WritePublishTarget(IniFile& ini, const PublishTarget& target);

// Whether a name relative to the site's folder ("bilder/logo.gif") matches one of the patterns:
// '*' any run of characters but '/', "**" any run at all, '?' one character but '/'. A pattern
// without '/' is matched against the last part of the name as well.
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name);

}  // namespace pagloom
