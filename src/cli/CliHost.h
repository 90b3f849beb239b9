// SPDX-License-Identifier: MIT
// The Host of pagloom-cli: messages go to stderr as UTF-8, one per line; questions are
// answered without asking anybody, with the defaults documented in --help.
#pragma once
#include <cstdio>
#include <string>

#include "ports/Host.h"

namespace pagloom::cli {

class CliHost : public Host {
  public:
    // `programDir`: where default.plp and default.js are found (the executable's folder).
    // `err`: the stream for messages and questions (not owned).
    CliHost(std::string programDir, std::FILE* err)
        : programDir_(std::move(programDir)), err_(err) {}

    void ShowMessage(const std::string& text) override;
    // Prints the question followed by " [Nein]" and answers No: nothing is saved behind the
    // user's back, and unlike Cancel, No lets the command the user started go on.
    Answer Ask(const std::string& question, bool withCancel) override;
    std::string ProgramDir() const override { return programDir_; }

    int MessagesShown() const { return messages_; }

  private:
    void PrintLine(const std::string& cp1252);

    std::string programDir_;
    std::FILE* err_;
    int messages_ = 0;
};

// Folder of the running executable (from /proc/self/exe), or the folder part of `argv0`
// when that cannot be read; "." as the last resort.
std::string ExecutableDir(const char* argv0);

}  // namespace pagloom::cli
