// SPDX-License-Identifier: MIT
#include "publish/PublishFlow.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>

#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "model/ProjectSettings.h"
#include "publish/PublishProtocols.h"
#include "text/Cp1252.h"

namespace pagloom {
namespace {

void Wipe(std::string& secret) { std::fill(secret.begin(), secret.end(), '\0'); }

// 128 random bits as hex.
std::string NewProjectId() {
    std::random_device random;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 8; ++i) {
        const unsigned v = random();
        id += kHex[(v >> 12) & 15];
        id += kHex[(v >> 8) & 15];
        id += kHex[(v >> 4) & 15];
        id += kHex[v & 15];
    }
    return id;
}

// A process that holds a password writes no core dump (nor may another user's process trace
// it): a dump would carry the password's copies, libcurl's among them.
void NoCoreDumps() { ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0); }

// The first line of a password file that only its owner may read; nothing when it is refused
// (the ports were told why).
std::optional<std::string> ReadPasswordFile(const std::string& file, PublishPorts& ports) {
    const std::string path = Cp1252ToUtf8(file);
    // Opened once and checked on that descriptor: no link, no FIFO or device, the owner's only.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        const int why = errno;
        ports.Message("Die Passwortdatei " + file +
                      (why == ENOENT  ? " gibt es nicht."
                       : why == ELOOP ? " ist ein Verweis; sie wird nicht gelesen."
                                      : " kann nicht gelesen werden (keine Berechtigung?)."));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        ports.Message("Die Passwortdatei " + file + " ist keine gew\xF6hnliche Datei.");
        return std::nullopt;
    }
    if ((st.st_mode & 077) != 0 || st.st_uid != ::geteuid()) {
        ::close(fd);
        ports.Message("Die Passwortdatei " + file +
                      " darf nur f\xFCr ihren Besitzer lesbar sein (chmod 600).");
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(std::min<off_t>(st.st_size, 4096)), '\0');
    const ssize_t n = ::read(fd, text.data(), text.size());
    ::close(fd);
    if (n < 0) {
        Wipe(text);
        ports.Message("Die Passwortdatei " + file + " kann nicht gelesen werden!");
        return std::nullopt;
    }
    text.resize(static_cast<size_t>(n));
    const size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos) {
        std::fill(text.begin() + static_cast<std::ptrdiff_t>(end), text.end(), '\0');
        text.resize(end);
    }
    return text;
}

}  // namespace

std::optional<std::string> FindPassword(const PublishTarget& target, const PublishRequest& request,
                                        PasswordStore& secrets, PublishPorts& ports) {
    const PublishProtocol* protocol = FindProtocol(target.protocol);
    if (!protocol || protocol->login == LoginKind::None) return std::string();
    if (!request.typed.empty()) return request.typed;
    if (request.sharedPassword) {
        if (const char* env = std::getenv("PAGLOOM_PASSWORD"); env && *env) return std::string(env);
        if (!request.passwordFile.empty()) return ReadPasswordFile(request.passwordFile, ports);
    }
    std::string password, why;
    if (secrets.Lookup(target, password, why) == SecretLookup::Found) return password;
    // SSH logs in with the agent or a key file as well; the other protocols need a password.
    if (!NeedsPassword(target)) return std::string();
    if (std::optional<std::string> asked = ports.AskPassword(target)) return asked;
    ports.Message("F\xFCr " + target.user + "@" + target.host +
                  " ist kein Passwort bekannt. M\xF6glich sind PAGLOOM_PASSWORD, "
                  "--password-file DATEI oder der Schl\xFCsselbund des Desktops (" +
                  SecretToolCommand(target) + ")." + (why.empty() ? "" : "\n" + why));
    return std::nullopt;
}

std::optional<TargetConnection> OpenTarget(FileSystem& fs, PublishTarget& target,
                                           const PublishRequest& request, PasswordStore& secrets,
                                           PublishPorts& ports) {
    const PublishProtocol* protocol = FindProtocol(target.protocol);
    // Plain FTP is confirmed before its login sends anything readable.
    if (protocol && !protocol->warning.empty() &&
        !ports.AllowPlain(target, std::string(protocol->warning)))
        return std::nullopt;  // the front end said why
    TargetAccess access;
    access.projectFile = request.projectFile;
    access.site = request.site;
    access.knownHosts = UserKnownHosts();
    if (protocol && !protocol->IsLocal()) {
        std::optional<std::string> password = FindPassword(target, request, secrets, ports);
        if (!password) return std::nullopt;
        access.password = std::move(*password);
        Wipe(*password);
        if (!access.password.empty()) NoCoreDumps();
    }
    struct WipeAccess {
        std::string& text;
        ~WipeAccess() { Wipe(text); }
    } wipe{access.password};
    for (;;) {
        if (protocol && !protocol->IsLocal()) ports.Status("Verbinde mit " + target.host + " \x85");
        TargetConnection c = ConnectTarget(fs, target, access);
        ports.Status("");
        if (c.store) return c;
        if (c.unknownKey && !c.fingerprint.empty()) {
            if (!ports.TrustKey(target, c.fingerprint)) {
                ports.Message(c.error);
                return std::nullopt;
            }
            target.hostKey = c.fingerprint;
            if (!ports.KeepTarget(target)) return std::nullopt;
            continue;
        }
        ports.Message(c.error, c.changedKey ? ChangedKeyAdvice(target) : std::string());
        return std::nullopt;
    }
}

PublishResult PublishProject(FileSystem& fs, const ProjectSettings& settings,
                             const PublishTarget& projectTarget, const PublishRequest& request,
                             PasswordStore& secrets, PublishPorts& ports, MakeReport& log) {
    PublishResult result;
    PublishTarget target = projectTarget;
    if (request.site.empty()) {
        ports.Message("Sie haben kein Zielverzeichnis angegeben!");
        return result;
    }
    auto cancelled = [&] { return request.cancel && request.cancel->load(); };
    std::optional<TargetConnection> connection = OpenTarget(fs, target, request, secrets, ports);
    if (!connection) return result;
    if (cancelled()) {
        result.end = PublishEnd::Cancelled;
        return result;
    }
    PublishOptions options = ProjectPublishOptions(settings, target, request.projectFile);
    options.dryRun = request.dryRun;
    options.deleteRemoved = request.deleteRemoved || target.deleteRemoved;
    options.maxDelete = request.maxDelete;
    options.allowManyDeletions = request.allowManyDeletions;
    if (request.connections > 0) options.connections = request.connections;
    options.verify = request.verify;
    options.cancel = request.cancel;
    options.progress = [&ports](const PublishProgress& p) { ports.Progress(p); };

    ports.Status("Vergleiche mit dem Server \x85");
    PublishPlan plan = PlanPublish(fs, request.site, *connection->store, target, options, log);
    ports.Status("");
    result.started = true;
    if (cancelled()) {
        result.end = PublishEnd::Cancelled;
        return result;
    }
    if (request.askPlan && !request.dryRun && !plan.Refused()) {
        if (plan.NothingToDo()) {
            result.end = plan.counts.failed ? PublishEnd::SomeFailed : PublishEnd::Done;
            result.counts = plan.counts;
            log.Add(
                "Nichts zu ver\xF6"
                "ffentlichen: " +
                (plan.counts.unchanged == 0   ? std::string("keine Datei ist zu senden.")
                 : plan.counts.unchanged == 1 ? std::string("die eine Datei ist unver\xE4ndert.")
                                              : "alle " + std::to_string(plan.counts.unchanged) +
                                                    " Dateien sind unver\xE4ndert."));
            return result;
        }
        switch (ports.ConfirmPlan(plan)) {
            case PlanAnswer::Cancel:
                log.Add(
                    "Nicht ver\xF6"
                    "ffentlicht.");
                result.started = false;
                return result;
            case PlanAnswer::WithoutDeletions:
                log.Add("Ohne L\xF6schen: " + std::to_string(plan.deletions.size()) +
                        (plan.deletions.size() == 1 ? " Datei bleibt" : " Dateien bleiben") +
                        " auf dem Server.");
                plan.deletions.clear();
                plan.manyDeletions = false;
                break;
            case PlanAnswer::Publish:
                // The question named the deletions and their count: its yes is the one many of
                // them need, beyond the limit too.
                plan.options.allowManyDeletions = true;
                plan.options.maxDelete =
                    std::max(plan.options.maxDelete, static_cast<int>(plan.deletions.size()));
                break;
        }
    }
    // The project's id goes into the manifest of its first publish and stays with the project,
    // so its targets stay its own under any file name.
    if (!request.dryRun && !plan.Refused() && target.projectId.empty()) {
        target.projectId = NewProjectId();
        if (!ports.KeepTarget(target)) return result;
        plan.manifest.projectId = target.projectId;
    }
    const PublishOutcome outcome = RunPublish(fs, plan, *connection->store, log, connection->more);
    result.end = outcome.end;
    result.counts = outcome.counts;
    result.refusal = plan.refusal;
    return result;
}

GroupPublishOutcome PublishGroup(const std::vector<std::string>& members, GroupMembers& open,
                                 const PublishRequest& request, MakeReport& log) {
    GroupPublishOutcome outcome;
    std::optional<std::string> sharedFor;  // host and user the shared password is for
    for (const std::string& member : members) {
        if (request.cancel && request.cancel->load()) {
            outcome.cancelled = true;
            break;
        }
        log.Add("Projekt " + member + ":");
        PublishTarget target;
        if (!open.Open(member, target)) {
            outcome.failed.push_back(member);
            continue;
        }
        if (target.protocol.empty()) {
            log.Add(
                "kein Ziel zum Ver\xF6"
                "ffentlichen");
            log.Add("");
            ++outcome.withoutTarget;
            continue;
        }
        PublishRequest memberRequest = request;
        memberRequest.projectFile = member;
        const PublishProtocol* protocol = FindProtocol(target.protocol);
        if (protocol && !protocol->IsLocal()) {
            const std::string login = target.user + "@" + target.host;
            if (!sharedFor) sharedFor = login;
            memberRequest.sharedPassword = request.sharedPassword && *sharedFor == login;
        }
        const PublishResult r = open.Publish(memberRequest);
        if (r.end == PublishEnd::Cancelled) {
            outcome.cancelled = true;
            break;
        }
        if (r.started && r.end == PublishEnd::Done)
            ++outcome.published;
        else
            outcome.failed.push_back(member);
    }
    return outcome;
}

}  // namespace pagloom
