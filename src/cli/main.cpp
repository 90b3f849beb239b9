// SPDX-License-Identifier: MIT
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliHost.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto result = pagloom::cli::RunCli(args, pagloom::cli::ExecutableDir(argc > 0 ? argv[0] : nullptr),
                                       stdout, stderr);
    return pagloom::cli::ExitStatus(result);
}
