// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliHost.h"
#include "io/BuildHeap.h"
#include "text/Cp1252.h"

int main(int argc, char** argv) {
    pagloom::PrepareBuildHeap(false);
    // A reader of the log that goes away must not end the build half-way: the write fails,
    // the build goes on and the lost log is reported on stderr.
    std::signal(SIGPIPE, SIG_IGN);
    // The log goes out in large blocks when it is not read on a terminal.
    if (!::isatty(STDOUT_FILENO)) std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    // Arguments and folder names arrive in UTF-8; inside, paths are Windows-1252 text like the
    // paths a project file stores (RunCli converts the arguments).
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string programDir =
        pagloom::Utf8ToCp1252(pagloom::cli::ExecutableDir(argc > 0 ? argv[0] : nullptr));
    auto result = pagloom::cli::RunCli(args, programDir, stdout, stderr);
    return pagloom::cli::ExitStatus(result);
}
