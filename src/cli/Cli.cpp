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
#include "publish/PublishFlow.h"
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

// What a publishing run asks, answered from the command line: no question is put to a user.
class CliPublishPorts final : public PublishPorts {
  public:
    CliPublishPorts(const CommandLine& cl, ProjectDocument& doc, CliHost& host)
        : cl_(cl), doc_(doc), host_(host), terminal_(::isatty(STDERR_FILENO) == 1 && !cl.dryRun) {}
    ~CliPublishPorts() override {
        if (progressShown_) std::fputs("\n", stderr);
    }
    CliPublishPorts(const CliPublishPorts&) = delete;
    CliPublishPorts& operator=(const CliPublishPorts&) = delete;

    void Message(const std::string& text, const std::string& advice) override {
        host_.ShowMessage(advice.empty() ? text : text + "\n" + advice);
    }
    std::optional<std::string> AskPassword(const PublishTarget&) override { return std::nullopt; }
    bool TrustKey(const PublishTarget&, const std::string& fingerprint) override {
        return !cl_.publish.acceptHostKey.empty() && fingerprint == cl_.publish.acceptHostKey;
    }
    bool KeepTarget(const PublishTarget& target) override {
        doc_.project.Publish.hostKey = target.hostKey;
        doc_.project.Publish.projectId = target.projectId;
        return doc_.SavePublishTarget();
    }
    bool AllowPlain(const PublishTarget&, const std::string& warning) override {
        host_.ShowMessage(warning);
        if (!cl_.publish.allowPlainFtp)
            host_.ShowMessage(
                "Nichts wird gesendet: FTP ohne Verschl\xFCsselung meldet sich nur mit "
                "--allow-plain-ftp an.");
        return cl_.publish.allowPlainFtp;
    }
    PlanAnswer ConfirmPlan(const PublishPlan&) override { return PlanAnswer::Publish; }
    // On a terminal, how far the run is, on one line of stderr that is rewritten (the log on
    // stdout stays as it is).
    void Progress(const PublishProgress& p) override {
        if (!terminal_) return;
        progressShown_ = true;
        std::fprintf(stderr, "\r%d von %d Dateien, %llu von %llu KB ", p.files, p.totalFiles,
                     static_cast<unsigned long long>(p.bytes / 1024),
                     static_cast<unsigned long long>(p.totalBytes / 1024));
        std::fflush(stderr);
    }

  private:
    const CommandLine& cl_;
    ProjectDocument& doc_;
    CliHost& host_;
    bool terminal_;
    bool progressShown_ = false;
};

PublishRequest RequestOf(const CommandLine& cl, const std::string& projectFile,
                         const std::string& dest) {
    PublishRequest r;
    r.projectFile = projectFile;
    r.site = dest;
    r.dryRun = cl.dryRun;
    r.deleteRemoved = cl.publish.deleteRemoved;
    r.maxDelete = cl.publish.maxDelete;
    r.allowManyDeletions = cl.publish.allowManyDeletions;
    r.verify = cl.publish.verify == 2   ? PublishOptions::Verify::Content
               : cl.publish.verify == 1 ? PublishOptions::Verify::Size
                                        : PublishOptions::Verify::None;
    r.connections = cl.publish.connections;
    r.passwordFile = cl.publish.passwordFile;
    return r;
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
    // Each member opened as `publish` opens it, and published to its own target.
    class Members final : public GroupMembers {
      public:
        Members(const CommandLine& cl, FileSystem& fs, CliHost& host, std::FILE* out,
                std::FILE* err)
            : cl_(cl), fs_(fs), host_(host), out_(out), err_(err) {}
        bool Open(const std::string& file, PublishTarget& target) override {
            doc_ = std::make_unique<ProjectDocument>(fs_, host_);
            PrepareDocument(*doc_, out_, err_);
            if (!doc_->Open(file)) return false;
            target = doc_->project.Publish;
            return true;
        }
        PublishResult Publish(const PublishRequest& request) override {
            PublishRequest r = request;
            r.site = doc_->Build.Destination;
            CliPublishPorts ports(cl_, *doc_, host_);
            SecretServiceStore secrets;
            return PublishProject(fs_, doc_->project.Settings, doc_->project.Publish, r, secrets,
                                  ports, doc_->Build.Report);
        }

      private:
        const CommandLine& cl_;
        FileSystem& fs_;
        CliHost& host_;
        std::FILE *out_, *err_;
        std::unique_ptr<ProjectDocument> doc_;
    } members(cl, fs, host, out, err);
    const GroupPublishOutcome o =
        PublishGroup(group.ProjectList, members, RequestOf(cl, "", ""), log);
    // A member that published nothing counts as a member that failed.
    return o.Succeeded() ? RunResult::Success : RunResult::FilesFailed;
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

RunResult ResultOf(const PublishResult& r) {
    if (!r.started) return RunResult::NothingBuilt;
    switch (r.end) {
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

// The open project's site in `dest` to the project's target.
RunResult PublishDocument(const CommandLine& cl, ProjectDocument& doc,
                          const PublishRequest& request, FileSystem& fs, CliHost& host) {
    CliPublishPorts ports(cl, doc, host);
    SecretServiceStore secrets;
    const PublishResult r = PublishProject(fs, doc.project.Settings, doc.project.Publish, request,
                                           secrets, ports, doc.Build.Report);
    return ResultOf(r);
}

RunResult PublishDocument(const CommandLine& cl, ProjectDocument& doc, const std::string& dest,
                          FileSystem& fs, CliHost& host) {
    return PublishDocument(cl, doc, RequestOf(cl, doc.FileName(), dest), fs, host);
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
    return PublishDocument(cl, doc, dest, fs, host);
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
