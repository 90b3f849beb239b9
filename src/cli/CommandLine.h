// SPDX-License-Identifier: MIT
// The command line of pagloom-cli:
//   pagloom-cli build PROJECT.plp [--dest DIR] [--keep-regions | --overwrite-regions] [--dry-run]
//                     [--publish]
//   pagloom-cli group GROUP.plg [--dry-run] [--publish]
//   pagloom-cli check PROJECT.plp [--dest DIR]
//   pagloom-cli publish PROJECT.plp [--dest DIR] [--dry-run] [--delete [--max-delete N]]
//                       [--verify[=content]] [--connections N] [--accept-host-key FP]
//                       [--password-file F] [--allow-plain-ftp] [--allow-many-deletions]
//   pagloom-cli --help | --version
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace pagloom::cli {

enum class Command { Help, Version, Build, Group, Check, Publish };

// The options of publish.
struct PublishArgs {
    bool deleteRemoved = false;       // --delete
    int maxDelete = 100;              // --max-delete N
    int verify = 0;                   // --verify: 1 existence and size, 2 (=content) content too
    int connections = 0;              // --connections N (0: the target's)
    std::string acceptHostKey;        // --accept-host-key FP
    std::string passwordFile;         // --password-file F
    bool allowPlainFtp = false;       // --allow-plain-ftp: log in to a plain FTP target
    bool allowManyDeletions = false;  // --allow-many-deletions: more than half of the target
};

struct CommandLine {
    Command command = Command::Help;
    std::string file;                     // PROJECT.plp or GROUP.plg
    std::optional<std::string> dest;      // --dest DIR
    std::optional<bool> regionOverwrite;  // --overwrite-regions (true) / --keep-regions (false)
    bool dryRun = false;                  // --dry-run: plan the build, write nothing
    PublishArgs publish;                  // publish only
    bool publishAfterBuild = false;       // build --publish
};

// The arguments as they arrive (UTF-8) as Windows-1252 texts. An argument that Windows-1252
// cannot hold would name another file or folder, so it is refused: returns nothing and sets
// `error` (UTF-8).
std::optional<std::vector<std::string>> ArgumentsToCp1252(const std::vector<std::string>& utf8,
                                                          std::string& error);

// Parses the arguments after the program name. On a usage error returns nothing and sets
// `error` to a German one-line description.
// `args` are Windows-1252 texts; `error` is UTF-8 text for stderr.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// The text of --help (UTF-8).
const char* HelpText();

}  // namespace pagloom::cli
