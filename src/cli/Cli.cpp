// SPDX-License-Identifier: MIT
#include "Cli.h"

#include <exception>

#include "CliHost.h"
#include "CommandLine.h"
#include "generator/BuildDriver.h"
#include "generator/TablePages.h"
#include "groups/GroupBuild.h"
#include "groups/TProjectGroup.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "projectfile/ProjectFile.h"
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

// Every log line is printed the moment it is added, so a long build shows its progress.
void PrintLogTo(BuildDialog& dialog, std::FILE* out) {
    dialog.Report.SetLineCallback(
        [out](const std::string& line) { PrintUtf8(out, Cp1252ToUtf8(line)); });
}

// Without default.js the build still runs, as the desktop program starts without it, but the
// site's menu would not draw; say so.
void LoadLibrary(BuildDialog& dialog, const CliHost& host, std::FILE* err) {
    if (!LoadMenuScriptLibrary(host.ProgramDir(), dialog.MenuScriptLibrary)) {
        PrintUtf8(err,
                  "Die Menü-Bibliothek " + Cp1252ToUtf8(JoinPath(host.ProgramDir(), "default.js")) +
                      " kann nicht gelesen werden; das Menü-Skript enthält nur die Menüdaten.");
    }
}

// The build dialog as the desktop program has it at start: table support, the log shown as it
// grows, and the menu library.
void PrepareDialog(BuildDialog& dialog, const CliHost& host, std::FILE* out, std::FILE* err) {
    InstallTableSupport(dialog);
    PrintLogTo(dialog, out);
    LoadLibrary(dialog, host, err);
}

RunResult ResultOf(const BuildOutcome& outcome) {
    if (!outcome.started || outcome.EndedEarly()) return RunResult::NothingBuilt;
    return outcome.failedFiles > 0 ? RunResult::FilesFailed : RunResult::Success;
}

// build: the main window's OpenProject, then what "Erstellen" and "Start" do.
RunResult RunBuild(const CommandLine& cl, CliHost& host, std::FILE* out, std::FILE* err) {
    // A mistyped path would otherwise build a default project; the desktop program can only
    // open existing files through its dialog.
    if (!Fs().FileExists(cl.file)) {
        PrintUtf8(err, "Die Projektdatei " + Cp1252ToUtf8(cl.file) + " existiert nicht!");
        return RunResult::NothingBuilt;
    }
    BuildDialog dialog;
    PrepareDialog(dialog, host, out, err);

    Project project;
    OpenProjectForBuild(project, dialog, cl.file, host);
    if (cl.dest) dialog.Destination = *cl.dest;

    if (project.Settings.TablesDrive() && !ErstellenTabOK(project, host))
        return RunResult::NothingBuilt;
    PresetRegionOverwrite(project, dialog);
    if (dialog.RegionOverwriteVisible && cl.regionOverwrite)
        dialog.RegionOverwrite = *cl.regionOverwrite;

    return ResultOf(MakeStartClick(dialog, project, cl.file, host));
}

// group: Make1Execute on the group file as it is stored. A group just opened is unchanged, so
// nothing is asked and the final save of the LastSave list is allowed.
RunResult RunGroup(const CommandLine& cl, CliHost& host, std::FILE* out, std::FILE* err) {
    TProjectGroup group;
    if (!Fs().FileExists(cl.file) || !group.Open(cl.file)) {
        PrintUtf8(err, "Die Gruppendatei " + Cp1252ToUtf8(cl.file) + " kann nicht gelesen werden!");
        return RunResult::NothingBuilt;
    }
    BuildDialog dialog;
    PrepareDialog(dialog, host, out, err);

    Project project;
    GroupBuildEnv env{project, dialog, host, {}, {}, {}, {}};
    GroupOutcome o = Make1Execute(group, env);
    if (o.buildsEndedEarly > 0) return RunResult::NothingBuilt;
    if (o.failedFiles > 0 || o.projectsFailed > 0 || o.indexFailed) return RunResult::FilesFailed;
    return RunResult::Success;
}

}  // namespace

RunResult RunCli(const std::vector<std::string>& args, const std::string& programDir,
                 std::FILE* out, std::FILE* err) {
    std::string error;
    auto cl = ParseCommandLine(args, error);
    if (!cl) {
        PrintUtf8(err, "pagloom-cli: " + error);
        PrintUtf8(err, "Hilfe: pagloom-cli --help");
        return RunResult::UsageError;
    }
    try {
        CliHost host(programDir, err);
        switch (cl->command) {
            case Command::Help:
                std::fputs(HelpText(), out);
                return RunResult::Success;
            case Command::Version:
                PrintUtf8(out, "pagloom-cli " + host.ProgramVersion());
                return RunResult::Success;
            case Command::Build:
                return RunBuild(*cl, host, out, err);
            case Command::Group:
                return RunGroup(*cl, host, out, err);
        }
    } catch (const std::exception& e) {
        PrintUtf8(err, std::string("pagloom-cli: ") + e.what());
    }
    return RunResult::NothingBuilt;
}

}  // namespace pagloom::cli
