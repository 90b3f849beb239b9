// SPDX-License-Identifier: MIT
#include "CliHost.h"

#include <unistd.h>

#include <climits>
#include <string>

#include "text/Cp1252.h"

namespace pagloom::cli {

void CliHost::PrintLine(const std::string& cp1252) {
    std::string line = Cp1252ToUtf8(cp1252);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), err_);
    std::fflush(err_);
}

void CliHost::ShowMessage(const std::string& text) {
    ++messages_;
    PrintLine(text);
}

Answer CliHost::Ask(const std::string& question, bool /*withCancel*/) {
    PrintLine(question + " [Nein]");
    return Answer::No;
}

std::string ExecutableDir(const char* argv0) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe;
    if (n > 0) {
        exe.assign(buf, static_cast<size_t>(n));
    } else if (argv0 != nullptr) {
        exe = argv0;
    }
    auto slash = exe.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return exe.substr(0, slash);
}

}  // namespace pagloom::cli
