// SPDX-License-Identifier: MIT
#include "publish/ConnectionCheck.h"

#include "publish/PublishProtocols.h"

namespace pagloom {

ConnectionCheck CheckConnection(FileSystem& fs, const PublishTarget& target,
                                const TargetAccess& access) {
    ConnectionCheck check;
    TargetConnection c = ConnectTarget(fs, target, access);
    if (!c.warning.empty()) check.lines.push_back(c.warning);
    if (!c.store) {
        check.lines.push_back(c.error);
        check.unknownKey = c.unknownKey;
        check.changedKey = c.changedKey;
        check.fingerprint = c.fingerprint;
        return check;
    }
    ConnectionCheck steps = CheckStore(*c.store, target);
    check.ok = steps.ok;
    check.lines.insert(check.lines.end(), steps.lines.begin(), steps.lines.end());
    return check;
}

ConnectionCheck CheckStore(RemoteStore& store, const PublishTarget& target) {
    ConnectionCheck check;
    if (const PublishProtocol* p = FindProtocol(target.protocol); p && !p->IsLocal()) {
        check.lines.push_back("Schl\xFCssel des Servers: vertraut");
        check.lines.push_back("Anmeldung als " + target.user + ": in Ordnung");
    }
    check.lines.push_back("Zielordner " + target.remoteFolder + ": vorhanden");
    const std::string first = ".pagloom-test-1", second = ".pagloom-test-2";
    const std::string text = "pagloom";
    std::string error;
    auto step = [&](const std::string& what, bool done) {
        check.lines.push_back(what + (done ? ": in Ordnung" : ": fehlgeschlagen (" + error + ")"));
        return done;
    };
    check.ok = step("Eine Datei schreiben",
                    store.Put(first, text, error) && store.Put(second, text, error)) &&
               step(
                   "Eine Datei \xFC"
                   "ber eine andere umbenennen",
                   store.Replace(first, second, error) && store.Size(second) == text.size()) &&
               step("Eine Datei l\xF6schen", store.Remove(second, error));
    std::string ignored;
    store.Remove(first, ignored);
    store.Remove(second, ignored);
    return check;
}

}  // namespace pagloom
