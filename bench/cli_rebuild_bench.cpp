// SPDX-License-Identifier: MIT
// Two pagloom-cli programs on one table-driven job, taking turns: builds of 10,000 pages from a
// CSV of 100,000 rows (each page lists its ten rows) into empty folders (three each, every one
// into a folder of its own), then unchanged rebuilds of the last folder of each, and a link check
// of the built site. Meant for comparing a
// program before and after a change in one run on the same disk state.
// Targets: unchanged rebuild of the second program at most 0.7 times the first's; its cold
// build not slower (ratio about 1 or less); the check well under a second.
// Each side builds into its own folder; nothing is deleted between timed runs (a large deletion
// makes the next cold build of ext4 many times slower, by different amounts on each side).
// The log goes to a file, as when a build is run by a script.
//
//   bench-cli-rebuild-bench BEFORE_CLI [AFTER_CLI] [rebuilds=7]
// AFTER_CLI defaults to the pagloom-cli beside this program. Files go below $TMPDIR, else /tmp.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TableJob.h"

namespace fs = std::filesystem;
using namespace pagloom;
using namespace pagloom::bench;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: %s VORHER_CLI [NACHHER_CLI] [Wiederholungen=7]\n", argv[0]);
        return 64;
    }
    const std::string before = fs::absolute(argv[1]).string();
    const std::string after = argc > 2 ? fs::absolute(argv[2]).string()
                                       : (fs::path(argv[0]).parent_path() / "pagloom-cli").string();
    const int rebuilds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = fs::path(tmp && *tmp ? tmp : "/tmp") /
                          ("pagloom-cli-rebuild-" + std::to_string(::getpid()));
    const std::string project = MakeTableJob(root);
    const std::string sides[2] = {before, after};
    const fs::path log = root / "log.txt";

    // Cold builds, each into a folder of its own; the sides take turns at going first.
    constexpr int kColdRuns = 3;
    std::vector<double> cold[2];
    fs::path dest[2];
    for (int r = 0; r < kColdRuns; ++r)
        for (int k = 0; k < 2; ++k) {
            const int s = (r + k + 1) % 2;
            dest[s] = root / ((s ? "nachher" : "vorher") + std::to_string(r));
            fs::create_directories(dest[s]);
            cold[s].push_back(Time(sides[s], {"build", project, "--dest", dest[s].string()}, log));
        }
    std::vector<double> warm[2];
    for (int r = 0; r < rebuilds; ++r)
        for (int k = 0; k < 2; ++k) {
            const int s = (r + k) % 2;  // sides take turns at going first
            warm[s].push_back(Time(sides[s], {"build", project, "--dest", dest[s].string()}, log));
        }
    std::vector<double> checks;
    for (int r = 0; r < 3; ++r)
        checks.push_back(Time(after, {"check", project, "--dest", dest[1].string()}, log));

    const double w0 = Median(warm[0]), w1 = Median(warm[1]);
    std::printf("10,000 pages from 100,000 CSV rows, %d unchanged rebuilds each (median)\n",
                rebuilds);
    const double c0 = Median(cold[0]), c1 = Median(cold[1]);
    std::printf(
        "  cold build      before %7.3f s   after %7.3f s   after/before %.2f (target <= 1; "
        "median of %d)\n",
        c0, c1, c1 / c0, kColdRuns);
    std::printf(
        "  unchanged build before %7.3f s   after %7.3f s   after/before %.2f (target <= 0.7: "
        "%s)\n",
        w0, w1, w1 / w0, w1 / w0 <= 0.7 ? "ja" : "NEIN");
    std::printf("  link check of the built site %.3f s (median of 3)\n", Median(checks));
    std::error_code ec;
    if (!std::getenv("PAGLOOM_BENCH_KEEP")) fs::remove_all(root, ec);
    return 0;
}
