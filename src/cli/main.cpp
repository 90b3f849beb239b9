// SPDX-License-Identifier: MIT
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliHost.h"
#include "text/Cp1252.h"

int main(int argc, char** argv) {
    // A reader of the log that goes away must not end the build half-way: the write fails,
    // the build goes on and the lost log is reported on stderr.
    std::signal(SIGPIPE, SIG_IGN);
    // Arguments and folder names arrive in UTF-8; inside, paths are Windows-1252 text like the
    // paths a project file stores.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(pagloom::Utf8ToCp1252(argv[i]));
    const std::string programDir =
        pagloom::Utf8ToCp1252(pagloom::cli::ExecutableDir(argc > 0 ? argv[0] : nullptr));
    auto result = pagloom::cli::RunCli(args, programDir, stdout, stderr);
    return pagloom::cli::ExitStatus(result);
}
