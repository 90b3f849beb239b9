// SPDX-License-Identifier: MIT
// pagloom-cli: builds a project or a project group without a window. The build log goes to
// stdout and every message to stderr, both as UTF-8; the outcome becomes the exit status.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace pagloom::cli {

// What a run came to; ExitStatus is the one place that turns it into a number.
enum class RunResult {
    Success,       // every build reached its end line and nothing failed
    FilesFailed,   // the run reached its end, but something failed: a file, a group member,
                   // a template, the index, the group file's save, or the log on stdout
    NothingBuilt,  // nothing was built, or a build ended early
    UsageError,    // the command line was wrong
};
int ExitStatus(RunResult result);  // 0, 1, 2, 64

// Runs pagloom-cli with the arguments after the program name, as they arrive (UTF-8). `programDir`
// is where default.js and default.plp are found. Never throws.
RunResult RunCli(const std::vector<std::string>& args, const std::string& programDir,
                 std::FILE* out, std::FILE* err);

}  // namespace pagloom::cli
