// SPDX-License-Identifier: MIT
// The link check on pages made to be slow: one attribute of a million '&' (each one could begin
// a character reference), a 3.2 MB page of nothing but '&', and a page of a million '&' in text.
// Target: each well under a second (the check reads each byte a bounded number of times).
//
//   bench-linkcheck-bench [runs=3]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "check/LinkCheck.h"
#include "io/FileSystem.h"

namespace fs = std::filesystem;
using namespace pagloom;

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path dir = fs::path(tmp ? tmp : "/tmp") / "pagloom-linkcheck-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    struct Page {
        const char* label;
        const char* name;
        std::string text;
    };
    const std::vector<Page> pages = {
        {"1,000,000 '&' in one attribute", "attribut.htm",
         "<a href=\"" + std::string(1000000, '&') + "\">x</a>"},
        {"3.2 MB of '&'", "nur.htm", std::string(3200000, '&')},
        {"1,000,000 '&' in text with one reference", "text.htm",
         "<p>" + std::string(1000000, '&') + "</p><a href=\"a&amp;b.htm\">x</a>"},
    };
    DiskFileSystem disk;
    int slow = 0;
    for (const Page& p : pages) {
        std::ofstream(dir / p.name, std::ios::binary) << p.text;
        LinkCheckSite site;
        site.destination = dir.string();
        site.pages = {p.name};
        std::vector<double> times;
        size_t problems = 0;
        for (int r = 0; r < runs; ++r) {
            const auto t0 = std::chrono::steady_clock::now();
            problems = CheckLinks(disk, site).size();
            times.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        if (median >= 1.0) ++slow;
        std::printf("%-45s %8.3f s (median of %d), %zu findings\n", p.label, median, runs,
                    problems);
    }
    fs::remove_all(dir);
    std::printf("%s\n", slow ? "TARGET MISSED: a page took a second or more" : "target met");
    return slow ? 1 : 0;
}
