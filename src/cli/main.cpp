// SPDX-License-Identifier: MIT
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliHost.h"
#include "text/Cp1252.h"

namespace {

// A build keeps its tables and pages in tens of megabytes of heap that nothing has touched
// before; with 4 KB pages every one of them costs a fault on first use, a good part of an
// unchanged rebuild. The heap is grown once at start in a block that asks for large pages and
// is kept when freed, so later allocations take their memory from it. Only address space is
// reserved: pages appear as they are used.
void PrepareHeap() {
    constexpr size_t kHeap = size_t{64} << 20;
    constexpr uintptr_t kHuge = uintptr_t{2} << 20;
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeap + (kHeap >> 1)));
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHeap * 4));
    void* block = std::malloc(kHeap);
    if (!block) return;
    const auto begin = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<uintptr_t>(block) + kHeap) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    std::free(block);
}

}  // namespace

int main(int argc, char** argv) {
    PrepareHeap();
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
