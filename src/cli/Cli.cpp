// SPDX-License-Identifier: MIT
#include "Cli.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

#include "CliHost.h"
#include "CommandLine.h"
#include "check/LinkCheck.h"
#include "document/ProjectDocument.h"
#include "generator/SiteFiles.h"
#include "groups/GroupBuild.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "io/UserFile.h"
#include "projectfile/IniFile.h"
#include "projectfile/ProjectFile.h"
#include "publish/Publisher.h"
#include "publish/RemoteStore.h"
#include "publish/SecretStore.h"
#include "publish/TargetConnection.h"
#include "text/Cp1252.h"

namespace pagloom::cli {

int ExitStatus(RunResult result) {
    switch (result) {
        case RunResult::Success:
            return 0;
        case RunResult::FilesFailed:
            return 1;
        case RunResult::NothingBuilt:
            return 2;
        case RunResult::UsageError:
            return 64;
    }
    return 2;
}

namespace {

void PrintUtf8(std::FILE* f, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), f);
    std::fputc('\n', f);
    std::fflush(f);
}

// The document as the desktop program has it at start: the log passed on as it grows, and the
// menu library. The log lines go to the stream's buffer without a flush each: a build of
// thousands of files would otherwise make a system call per line (a terminal still shows each
// line, as the C library flushes it per line there). Without default.js the build still runs,
// as the desktop program starts without it, but the site's menu would not draw; say so.
void PrepareDocument(ProjectDocument& doc, std::FILE* out, std::FILE* err) {
    doc.Build.Report.SetKeepLines(false);  // printed as it comes, never shown again
    doc.Build.Report.SetLineCallback([out](const std::string& line) {
        // Most lines are ASCII (paths and outcomes) and go out as they are.
        const bool ascii = std::all_of(line.begin(), line.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) {
            std::fwrite(line.data(), 1, line.size(), out);
        } else {
            const std::string utf8 = Cp1252ToUtf8(line);
            std::fwrite(utf8.data(), 1, utf8.size(), out);
        }
        std::fputc('\n', out);
    });
    if (!doc.LoadMenuScriptLibrary()) {
        const std::string library = JoinPath(doc.Ports().ProgramDir(), "default.js");
        PrintUtf8(err,
                  "Die Menü-Bibliothek " + Cp1252ToUtf8(library) +
                      " kann nicht gelesen werden; das Menü-Skript enthält nur die Menüdaten.");
    }
}

RunResult ResultOf(const BuildOutcome& outcome) {
    if (!outcome.started || outcome.EndedEarly()) return RunResult::NothingBuilt;
    return outcome.Succeeded() ? RunResult::Success : RunResult::FilesFailed;
}

// The group file was read and the group ran to its end, so whatever went wrong in a member
// (even a build that ended early) is a failure of a finished run, not "nothing built".
RunResult ResultOf(const GroupOutcome& o) {
    return o.Succeeded() ? RunResult::Success : RunResult::FilesFailed;
}

// build: the main window's OpenProject, then what "Erstellen" and "Start" do.
// Defined below, with publish.
RunResult PublishDocument(const CommandLine& cl, ProjectDocument& doc, const std::string& dest,
                          FileSystem& fs, CliHost& host);

RunResult RunBuild(const CommandLine& cl, FileSystem& fs, CliHost& host, std::FILE* out,
                   std::FILE* err) {
    // A mistyped path would otherwise build a default project; the desktop program can only
    // open existing files through its dialog.
    if (!fs.Exists(cl.file)) {
        PrintUtf8(err, Cp1252ToUtf8(ProjectMissingMessage(cl.file)));
        return RunResult::NothingBuilt;
    }
    ProjectDocument doc(fs, host);
    PrepareDocument(doc, out, err);
    // An unreadable file is refused with its message rather than built as the defaults.
    if (!doc.Open(cl.file)) return RunResult::NothingBuilt;
    if (cl.dest) doc.Build.Destination = *cl.dest;
    doc.Build.DryRun = cl.dryRun;

    const std::optional<BuildOutcome> outcome = doc.CheckAndBuild(cl.regionOverwrite);
    const RunResult built = outcome ? ResultOf(*outcome) : RunResult::NothingBuilt;
    // Only a site built without a fault is published: a failed page may be missing there.
    if (!cl.publishAfterBuild || cl.dryRun || built != RunResult::Success) return built;
    return PublishDocument(cl, doc, doc.Build.Destination, fs, host);
}

// group: Make1Execute on the group file as it is stored. A group just opened is unchanged, so
// nothing is asked and the final save of the LastSave list is allowed.
RunResult RunGroup(const CommandLine& cl, FileSystem& fs, CliHost& host, std::FILE* out,
                   std::FILE* err) {
    TProjectGroup group;
    if (!fs.FileExists(cl.file) || !group.Open(fs, cl.file)) {
        PrintUtf8(err, "Die Gruppendatei " + Cp1252ToUtf8(cl.file) + " kann nicht gelesen werden!");
        return RunResult::NothingBuilt;
    }
    ProjectDocument doc(fs, host);
    PrepareDocument(doc, out, err);
    doc.Build.DryRun = cl.dryRun;

    GroupBuildEnv env{doc, {}, {}, {}, {}};
    const RunResult built = ResultOf(Make1Execute(group, env));
    if (!cl.publishAfterBuild || cl.dryRun) return built;
    MakeReport& log = doc.Build.Report;
    // Only a group built without a fault is published: a failed page may be missing there.
    if (built != RunResult::Success) {
        log.Add(
            "Die Gruppe wurde nicht fehlerfrei erstellt; nichts wird ver\xF6"
            "ffentlicht.");
        return built;
    }
    RunResult result = RunResult::Success;
    for (const std::string& member : group.ProjectList) {
        std::string text;
        fs.ReadAll(member, text);
        log.Add("Projekt " + member + ":");
        if (!IniFile(text).HasSection("publish")) {
            log.Add(
                "kein Ziel zum Ver\xF6"
                "ffentlichen");
            log.Add("");
            continue;
        }
        CommandLine memberCl = cl;
        memberCl.file = member;
        memberCl.dest.reset();
        ProjectDocument memberDoc(fs, host);
        PrepareDocument(memberDoc, out, err);
        const RunResult r =
            memberDoc.Open(member)
                ? PublishDocument(memberCl, memberDoc, memberDoc.Build.Destination, fs, host)
                : RunResult::NothingBuilt;
        // A member that published nothing counts as a member that failed.
        if (r != RunResult::Success) result = RunResult::FilesFailed;
    }
    return result;
}

// check: the project's site in the destination, one line per broken reference or orphan.
RunResult RunCheck(const CommandLine& cl, FileSystem& fs, CliHost& host, std::FILE* out,
                   std::FILE* err) {
    if (!fs.Exists(cl.file)) {
        PrintUtf8(err, Cp1252ToUtf8(ProjectMissingMessage(cl.file)));
        return RunResult::NothingBuilt;
    }
    ProjectDocument doc(fs, host);
    if (!doc.Open(cl.file)) return RunResult::NothingBuilt;
    const std::string dest = cl.dest ? *cl.dest : doc.Build.Destination;
    if (dest.empty()) {
        host.ShowMessage("Sie haben kein Zielverzeichnis angegeben!");
        return RunResult::NothingBuilt;
    }
    if (!fs.DirectoryExists(dest)) {
        host.ShowMessage("Das Verzeichnis " + dest + " existiert nicht!");
        return RunResult::NothingBuilt;
    }
    const std::vector<LinkProblem> problems = CheckLinks(fs, LinkCheckSiteFor(doc.project, dest));
    for (const LinkProblem& p : problems) {
        const std::string utf8 = Cp1252ToUtf8(LinkProblemText(p));
        std::fwrite(utf8.data(), 1, utf8.size(), out);
        std::fputc('\n', out);
    }
    return problems.empty() ? RunResult::Success : RunResult::FilesFailed;
}

// The password for the target, in this order: PAGLOOM_PASSWORD, --password-file, the desktop's
// secret store; none (an SSH agent or key file logs in) is the empty text. Nothing when the
// file is refused, or when a protocol that logs in with a password has none.
std::optional<std::string> PublishPassword(const CommandLine& cl, const PublishTarget& target,
                                           FileSystem& fs, CliHost& host) {
    if (const char* env = std::getenv("PAGLOOM_PASSWORD"); env && *env) return std::string(env);
    if (!cl.publish.passwordFile.empty()) {
        std::string text;
        if (!fs.ReadAll(cl.publish.passwordFile, text)) {
            host.ShowMessage("Die Passwortdatei " + cl.publish.passwordFile +
                             " kann nicht gelesen werden!");
            return std::nullopt;
        }
        const size_t end = text.find_first_of("\r\n");
        if (end != std::string::npos) text.resize(end);
        return text;
    }
    std::string password, why;
    if (LookupPassword(target, password, why) == SecretLookup::Found) return password;
    // SSH logs in with the agent or a key file as well; the other protocols need a password.
    if (target.protocol == PublishProtocol::Sftp || target.user.empty()) return std::string();
    host.ShowMessage("F\xFCr " + target.user + "@" + target.host +
                     " ist kein Passwort bekannt. M\xF6glich sind PAGLOOM_PASSWORD, "
                     "--password-file DATEI oder der Schl\xFCsselbund des Desktops (" +
                     SecretToolCommand(target) + ")." + (why.empty() ? "" : "\n" + why));
    return std::nullopt;
}

// Stores an accepted host key in the project's [publish] section; every other line stays.
bool StoreHostKey(const std::string& file, const std::string& key, FileSystem& fs, Host& host) {
    const auto text = [&](std::string_view existing) {
        IniFile ini(existing);
        ini.WriteString("publish", "host-key", key);
        return ini.Text();
    };
    if (SaveUserFile(fs, host, file, text, nullptr) == UserSave::Saved) return true;
    host.ShowMessage("In " + file + " kann nicht geschrieben werden");
    return false;
}

// publish: the site in the destination to the project's target.
RunResult RunPublish(const CommandLine& cl, FileSystem& fs, CliHost& host, std::FILE* out,
                     std::FILE* err) {
    if (!fs.Exists(cl.file)) {
        PrintUtf8(err, Cp1252ToUtf8(ProjectMissingMessage(cl.file)));
        return RunResult::NothingBuilt;
    }
    ProjectDocument doc(fs, host);
    PrepareDocument(doc, out, err);
    if (!doc.Open(cl.file)) return RunResult::NothingBuilt;
    const std::string dest = cl.dest ? *cl.dest : doc.Build.Destination;
    if (dest.empty()) {
        host.ShowMessage("Sie haben kein Zielverzeichnis angegeben!");
        return RunResult::NothingBuilt;
    }
    return PublishDocument(cl, doc, dest, fs, host);
}

// The open project's site in `dest` to the project's target.
RunResult PublishDocument(const CommandLine& cl, ProjectDocument& doc, const std::string& dest,
                          FileSystem& fs, CliHost& host) {
    std::string text;
    fs.ReadAll(cl.file, text);
    PublishTarget target = ReadPublishTarget(IniFile(text));
    if (!cl.publish.passwordFile.empty()) {
        struct stat st {};
        if (::stat(Cp1252ToUtf8(cl.publish.passwordFile).c_str(), &st) != 0 ||
            (st.st_mode & 077) != 0 || st.st_uid != ::geteuid()) {
            host.ShowMessage("Die Passwortdatei " + cl.publish.passwordFile +
                             " darf nur f\xFCr ihren Besitzer lesbar sein (chmod 600).");
            return RunResult::NothingBuilt;
        }
    }
    TargetAccess access;
    access.projectFile = cl.file;
    access.site = dest;
    access.knownHosts = UserKnownHosts();
    if (target.protocol != PublishProtocol::Folder && target.protocol != PublishProtocol::None) {
        std::optional<std::string> password = PublishPassword(cl, target, fs, host);
        if (!password) return RunResult::NothingBuilt;
        access.password = std::move(*password);
    }
    const std::string& accept = cl.publish.acceptHostKey;
    if (!accept.empty()) {
        // A key stored for the target is never replaced from here: a changed key stops.
        if (!target.hostKey.empty() && target.hostKey != accept) {
            host.ShowMessage("WARNUNG: F\xFCr " + target.host +
                             " ist ein anderer Schl\xFC"
                             "ssel gespeichert (" +
                             target.hostKey + "). Nichts wird gesendet.");
            return RunResult::NothingBuilt;
        }
        target.hostKey = accept;
    }
    TargetConnection connection = ConnectTarget(fs, target, access);
    std::fill(access.password.begin(), access.password.end(), '\0');
    if (!connection.warning.empty()) host.ShowMessage(connection.warning);
    if (!connection.store) {
        host.ShowMessage(connection.error);
        return RunResult::NothingBuilt;
    }
    if (!accept.empty() && !StoreHostKey(cl.file, accept, fs, host)) return RunResult::NothingBuilt;
    std::unique_ptr<RemoteStore> store = std::move(connection.store);
    const StoreFactory& moreStores = connection.more;
    RemoteStore& remote = *store;
    PublishOptions options = ProjectPublishOptions(doc.project, cl.file, fs);
    options.dryRun = cl.dryRun;
    options.deleteRemoved = cl.publish.deleteRemoved || target.deleteRemoved;
    options.maxDelete = cl.publish.maxDelete;
    options.connections = cl.publish.connections > 0 ? cl.publish.connections : target.connections;
    options.verify = cl.publish.verify == 2   ? PublishOptions::Verify::Content
                     : cl.publish.verify == 1 ? PublishOptions::Verify::Size
                                              : PublishOptions::Verify::None;
    // On a terminal, how far the run is, on one line of stderr that is rewritten (the log on
    // stdout stays as it is).
    const bool terminal = ::isatty(STDERR_FILENO) == 1 && !cl.dryRun;
    if (terminal)
        options.progress = [](const PublishProgress& p) {
            std::fprintf(stderr, "\r%d von %d Dateien, %llu von %llu KB ", p.files, p.totalFiles,
                         static_cast<unsigned long long>(p.bytes / 1024),
                         static_cast<unsigned long long>(p.totalBytes / 1024));
            std::fflush(stderr);
        };
    const PublishOutcome o =
        Publish(fs, dest, remote, target, options, doc.Build.Report, moreStores);
    if (terminal) std::fputs("\n", stderr);
    switch (o.end) {
        case PublishEnd::Done:
            return RunResult::Success;
        case PublishEnd::SomeFailed:
        case PublishEnd::Cancelled:
            return RunResult::FilesFailed;
        case PublishEnd::NothingPublished:
            break;
    }
    return RunResult::NothingBuilt;
}

RunResult RunCommand(const CommandLine& cl, const std::string& programDir, std::FILE* out,
                     std::FILE* err) {
    try {
        CliHost host(programDir, err);
        DiskFileSystem disk;
        switch (cl.command) {
            case Command::Help:
                std::fputs(HelpText(), out);
                return RunResult::Success;
            case Command::Version:
                PrintUtf8(out, "pagloom-cli " + host.ProgramVersion());
                return RunResult::Success;
            case Command::Build:
                return RunBuild(cl, disk, host, out, err);
            case Command::Group:
                return RunGroup(cl, disk, host, out, err);
            case Command::Check:
                return RunCheck(cl, disk, host, out, err);
            case Command::Publish:
                return RunPublish(cl, disk, host, out, err);
        }
    } catch (const std::exception& e) {
        PrintUtf8(err, std::string("pagloom-cli: ") + e.what());
    }
    return RunResult::NothingBuilt;
}

}  // namespace

RunResult RunCli(const std::vector<std::string>& args, const std::string& programDir,
                 std::FILE* out, std::FILE* err) {
    std::string error;
    const auto cp1252 = ArgumentsToCp1252(args, error);
    const auto cl = cp1252 ? ParseCommandLine(*cp1252, error) : std::nullopt;
    if (!cl) {
        PrintUtf8(err, "pagloom-cli: " + error);
        PrintUtf8(err, "Hilfe: pagloom-cli --help");
        return RunResult::UsageError;
    }
    RunResult result = RunCommand(*cl, programDir, out, err);
    // The log is the record of what was written; a run whose log is lost (a full disk, a
    // closed pipe) has not done all it should, even when every file was written.
    if (std::fflush(out) != 0 || std::ferror(out)) {
        PrintUtf8(err,
                  "pagloom-cli: Das Protokoll kann nicht auf die Standardausgabe geschrieben "
                  "werden!");
        if (result == RunResult::Success) result = RunResult::FilesFailed;
    }
    return result;
}

}  // namespace pagloom::cli
