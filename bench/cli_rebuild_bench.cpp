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
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Fakes.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "tables/SlotOpening.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The job: CSV, template and project file in `dir`.
std::string MakeJob(const fs::path& dir) {
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "tabelle.csv", std::ios::binary);
        out << "Name;Gruppe;Nummer;Text;Preis\r\n";
        for (size_t i = 0; i < 100000; ++i)
            out << "\"Artikel " << i << "\";Gruppe" << i % 10000 << ";" << i * 37 % 100000
                << ";\"Beschreibung mit \"\"Zitat\"\" und Umlauten \xE4\xF6\xFC \xDF, Nummer " << i
                << "\";" << i % 7 << "," << i % 100 << "\r\n";
    }
    std::ofstream(dir / "seite.tpl", std::ios::binary)
        << "<html><head><title><FIELD name=\"Gruppe\">x</FIELD></title></head><body>\r\n<table>\r\n"
           "<RECORD><tr><td><FIELD name=\"Name\">x</FIELD></td><td><FIELD name=\"Text\">x</FIELD>"
           "</td><td><FIELD name=\"Preis\">x</FIELD></td></tr>\r\n</RECORD></table>\r\n"
           "</body></html>\r\n";
    DiskFileSystem disk;
    RecordingHost host;
    ProjectDocument doc(disk, host);
    doc.New();
    Project& p = doc.project;
    p.Settings.content_page.source.Select(kTabTemplatePages);
    p.Settings.content_page.tab_overwrite = true;
    auto& slots = p.Tables.Slot;
    slots[ContentSlot::firstpage].content_source = kSlotEmptyPages;
    slots[ContentSlot::submenu].content_source = kSlotNoPages;
    slots[ContentSlot::mainmenu].content_source = kSlotTemplate;
    slots[ContentSlot::mainmenu].template_file = (dir / "seite.tpl").string();
    if (!SetASCIITab(p, doc.Tables(), ContentSlot::mainmenu,
                     TableChoice{kCsvTable, dir.string(), "tabelle.csv", '"', ';', true},
                     doc.Ports()))
        std::abort();
    p.Tables.mainmenu.col_mainmenu = {"Gruppe", 1};
    const std::string project = (dir / "job.plp").string();
    if (!doc.SaveAs(project)) std::abort();
    return project;
}

// Runs `exe` with `args`, stdout into `log`; the wall seconds, or exits when it fails.
double Time(const std::string& exe, const std::vector<std::string>& args, const fs::path& log,
            int expectStatus = 0) {
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!WIFEXITED(st) || WEXITSTATUS(st) != expectStatus) {
        std::fprintf(stderr, "%s %s: status %d\n", exe.c_str(), args.empty() ? "" : args[0].c_str(),
                     WIFEXITED(st) ? WEXITSTATUS(st) : -1);
        std::fprintf(stderr, "(log: %s)\n", log.c_str());
        std::exit(2);
    }
    return s;
}

}  // namespace

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
    const std::string project = MakeJob(root);
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
