// SPDX-License-Identifier: MIT
// "Verbindung testen": connects to a target as a run would (trust, login, the remote folder)
// and checks that a file can be written, renamed over another and removed, with names of its
// own that it leaves nowhere; nothing else on the server is touched.
#pragma once
#include <string>
#include <vector>

#include "publish/TargetConnection.h"

namespace pagloom {

struct ConnectionCheck {
    bool ok = false;
    std::vector<std::string> lines;  // what works, or what failed and why (German)
    bool unknownKey = false, changedKey = false;
    std::string fingerprint;  // the key the server showed, when it is not trusted
};

ConnectionCheck CheckConnection(FileSystem& fs, const PublishTarget& target,
                                const TargetAccess& access);
// The steps after the connection, on one already made (and trusted).
ConnectionCheck CheckStore(RemoteStore& store, const PublishTarget& target);

}  // namespace pagloom
