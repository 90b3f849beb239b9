// SPDX-License-Identifier: MIT
// What the table benchmarks share: the table-driven job (10,000 pages from a CSV of 100,000
// rows by default, each page listing its rows), the median, and a timed run of a program.
#pragma once
#include <fcntl.h>
#include <sys/resource.h>
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
#include "tables/SlotOpening.h"

namespace pagloom::bench {

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The job: CSV of `rows` rows, template and project file in `dir`; the project file.
inline std::string MakeTableJob(const std::filesystem::path& dir, size_t rows = 100000) {
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir / "tabelle.csv", std::ios::binary);
        out << "Name;Gruppe;Nummer;Text;Preis\r\n";
        for (size_t i = 0; i < rows; ++i)
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
    auto& tableSlots = p.Tables.Slot;
    tableSlots[ContentSlot::firstpage].content_source = kSlotEmptyPages;
    tableSlots[ContentSlot::submenu].content_source = kSlotNoPages;
    tableSlots[ContentSlot::mainmenu].content_source = kSlotTemplate;
    tableSlots[ContentSlot::mainmenu].template_file = (dir / "seite.tpl").string();
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
// `peakKb` receives the process's peak resident memory.
inline double Time(const std::string& exe, const std::vector<std::string>& args,
                   const std::filesystem::path& log, int expectStatus = 0, long* peakKb = nullptr) {
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
    struct rusage usage {};
    wait4(pid, &st, 0, &usage);
    if (peakKb) *peakKb = usage.ru_maxrss;
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!WIFEXITED(st) || WEXITSTATUS(st) != expectStatus) {
        std::fprintf(stderr, "%s %s: status %d\n", exe.c_str(), args.empty() ? "" : args[0].c_str(),
                     WIFEXITED(st) ? WEXITSTATUS(st) : -1);
        std::fprintf(stderr, "(log: %s)\n", log.c_str());
        std::exit(2);
    }
    return s;
}

}  // namespace pagloom::bench
