// SPDX-License-Identifier: MIT
// Table benchmarks, measured in one run:
//  (a) importing a CSV file of about 100 MB, against Python's csv module reading the same file
//      (target: at least 3 times faster);
//  (b) a table-driven build of 10,000 main-menu pages from a CSV of 100,000 rows, against the
//      same build from 10,000 rows (target: at most 12 times the time for 10 times the rows),
//      and against a plain program writing the same files (target: at most 2 times). A second
//      yardstick writes each file to a temporary name and renames it into place, as every
//      generated file is written so that a crash never leaves half a page: it shows how much of
//      the distance to the plain write is that safety alone.
// Prints medians of several runs. Files go below TMPDIR (default /tmp); the disk's state shows in
// the figures: ext4 without a journal skips inodes freed in the last minutes when it makes new
// files, so right after a large deletion (an earlier run's clean-up, say) both sides can be many
// times slower, and by different amounts.
//
//   bench-csv-bench [runs=3] [megabytes=100] [python=python3]
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Fakes.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "tables/CsvImport.h"
#include "tables/SlotOpening.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

double Seconds(const std::function<void()>& f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Rows of a product list: quoted texts with blanks, doubled quotes and umlauts, plain numbers.
std::string MakeRow(size_t i, size_t groups) {
    const std::string n = std::to_string(i);
    return "\"Artikel " + n + "\";Gruppe" + std::to_string(i % groups) + ";" +
           std::to_string(i * 37 % 100000) +
           ";\"Beschreibung mit \"\"Zitat\"\" und Umlauten \xE4\xF6\xFC \xDF, Nummer " + n + "\";" +
           std::to_string(i % 7) + "," + std::to_string(i % 100) + "\r\n";
}

void WriteCsv(const fs::path& path, size_t rows, size_t targetBytes, size_t groups) {
    std::ofstream out(path, std::ios::binary);
    out << "Name;Gruppe;Nummer;Text;Preis\r\n";
    std::string chunk;
    size_t written = 0;
    for (size_t i = 0; rows ? i < rows : written < targetBytes; ++i) {
        chunk += MakeRow(i, groups);
        if (chunk.size() > (1 << 20)) {
            written += chunk.size();
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
}

// Python's csv module on the same file, timed inside Python so start-up does not count.
double PythonSeconds(const std::string& python, const fs::path& csv) {
    const std::string cmd = python +
                            " -c \"import csv,sys,time\n"
                            "t=time.perf_counter()\n"
                            "n=0\n"
                            "with open(sys.argv[1],newline='',encoding='latin-1') as f:\n"
                            "  for row in csv.reader(f,delimiter=';',quotechar='\\\"'): n+=1\n"
                            "print(time.perf_counter()-t, n)\" " +
                            csv.string();
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    double seconds = -1;
    long rows = 0;
    if (std::fscanf(p, "%lf %ld", &seconds, &rows) != 2) seconds = -1;
    pclose(p);
    return seconds;
}

struct FileText {
    std::string name, data;
};

std::vector<FileText> Snapshot(const fs::path& dir) {
    std::vector<FileText> files;
    for (const auto& e : fs::directory_iterator(dir)) {
        FileText f{e.path().filename().string(), {}};
        std::ifstream in(e.path(), std::ios::binary);
        f.data.assign(std::istreambuf_iterator<char>(in), {});
        files.push_back(std::move(f));
    }
    return files;
}

void PlainWrite(const fs::path& dir, const std::vector<FileText>& files) {
    for (const auto& f : files) {
        const std::string path = (dir / f.name).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 ||
            ::write(fd, f.data.data(), f.data.size()) != static_cast<ssize_t>(f.data.size()))
            std::abort();
        ::close(fd);
    }
}

// The same files, each written to a temporary name and renamed into place.
void AtomicWrite(const fs::path& dir, const std::vector<FileText>& files) {
    for (const auto& f : files) {
        const std::string path = (dir / f.name).string(), tmp = path + ".tmp";
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 ||
            ::write(fd, f.data.data(), f.data.size()) != static_cast<ssize_t>(f.data.size()))
            std::abort();
        ::close(fd);
        if (std::rename(tmp.c_str(), path.c_str()) != 0) std::abort();
    }
}

// A table-driven project: one main entry per group, each page lists its rows.
void MakeProject(ProjectDocument& doc, const fs::path& dir, const std::string& csvName) {
    Project& p = doc.project;
    p.Settings.content_page.source.Select(kTabTemplatePages);
    p.Settings.content_page.tab_overwrite = true;
    p.Settings.sitemap.make_sitemap = false;
    auto& slots = p.Tables.Slot;
    slots[ContentSlot::firstpage].content_source = kSlotNoPages;
    slots[ContentSlot::submenu].content_source = kSlotNoPages;
    slots[ContentSlot::mainmenu].content_source = kSlotTemplate;
    slots[ContentSlot::mainmenu].template_file = (dir / "seite.tpl").string();
    std::ofstream(dir / "seite.tpl", std::ios::binary)
        << "<html><head><title><FIELD name=\"Gruppe\">x</FIELD></title></head><body>\r\n<table>\r\n"
           "<RECORD><tr><td><FIELD name=\"Name\">x</FIELD></td><td><FIELD "
           "name=\"Text\">x</FIELD></td>"
           "<td><FIELD "
           "name=\"Preis\">x</FIELD></td></tr>\r\n</RECORD></table>\r\n</body></html>\r\n";
    if (!SetASCIITab(p, doc.Tables(), ContentSlot::mainmenu,
                     TableChoice{kCsvTable, dir.string(), csvName, '"', ';', true}, doc.Ports()))
        std::abort();
    p.Tables.mainmenu.col_mainmenu = {"Gruppe", 1};
}

struct BuildFigures {
    double build = 0, plain = 0, atomic = 0;
    size_t files = 0;
};

BuildFigures MeasureBuild(const fs::path& root, const std::string& name, size_t rows, size_t pages,
                          int runs) {
    const fs::path dir = root / name;
    fs::create_directories(dir);
    WriteCsv(dir / "tabelle.csv", rows, 0, pages);
    DiskFileSystem disk;
    RecordingHost host(PAGLOOM_RESOURCES);
    ProjectDocument doc(disk, host);
    BuildDialog& dialog = doc.Build;
    doc.LoadMenuScriptLibrary();
    MakeProject(doc, dir, "tabelle.csv");
    std::vector<double> builds, plains, atomics;
    std::vector<FileText> files;
    {
        // The yardstick writes the files of a build, taken from one untimed build.
        const fs::path probe = dir / "probe";
        fs::create_directories(probe);
        dialog.Destination = probe.string();
        if (!doc.MakeStart().Succeeded()) {
            std::fprintf(stderr, "build failed: %s\n",
                         host.messages.empty() ? "" : host.messages.back().c_str());
            std::exit(2);
        }
        files = Snapshot(probe);
    }
    for (int r = 0; r < runs; ++r) {
        const fs::path site = dir / ("site" + std::to_string(r)),
                       plain = dir / ("plain" + std::to_string(r)),
                       safe = dir / ("safe" + std::to_string(r));
        for (const auto& d : {site, plain, safe}) fs::create_directories(d);
        // Sides alternate which goes first, so neither gains from the file system's state.
        auto plainSide = [&] {
            plains.push_back(Seconds([&] { PlainWrite(plain, files); }));
            atomics.push_back(Seconds([&] { AtomicWrite(safe, files); }));
        };
        if (r % 2 == 1) plainSide();
        dialog.Destination = site.string();
        builds.push_back(Seconds([&] { doc.MakeStart(); }));
        if (r % 2 == 0) plainSide();
    }
    return {Median(builds), Median(plains), Median(atomics), files.size()};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const size_t megabytes = argc > 2 ? static_cast<size_t>(std::atoi(argv[2])) : 100;
    const std::string python = argc > 3 ? argv[3] : "python3";
    const fs::path root =
        fs::temp_directory_path() / ("pagloom-csv-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);
    std::printf("files in %s\n", root.string().c_str());

    // (a) import throughput
    const fs::path big = root / "gross.csv";
    WriteCsv(big, 0, megabytes << 20, 1000);
    const double mb = static_cast<double>(fs::file_size(big)) / (1 << 20);
    DiskFileSystem disk;
    std::vector<double> ours, theirs;
    size_t rows = 0;
    for (int r = 0; r < runs; ++r) {
        RecordingHost host;
        MemoryTable table;
        ours.push_back(Seconds([&] {
            if (!ImportCsvFile(disk, host, big.string(), ';', '"', true, table)) std::abort();
        }));
        table.Open();
        rows = table.RowCount();
        theirs.push_back(PythonSeconds(python, big));
    }
    const double a = Median(ours), py = Median(theirs);
    std::printf("(a) CSV import of %.1f MB, %zu rows, median of %d runs\n", mb, rows, runs);
    std::printf("    ImportCsvFile     %8.3f s  (%.0f MB/s)\n", a, mb / a);
    if (py > 0) {
        std::printf("    Python csv module %8.3f s  (%.0f MB/s)\n", py, mb / py);
        std::printf("    speed-up %.2fx  (target >= 3: %s)\n", py / a,
                    py / a >= 3 ? "met" : "MISSED");
    } else {
        std::printf("    Python csv module: could not run %s\n", python.c_str());
    }

    // (b) table-driven builds of 10,000 pages
    const BuildFigures small = MeasureBuild(root, "klein", 10000, 10000, runs);
    const BuildFigures large = MeasureBuild(root, "gross", 100000, 10000, runs);
    std::printf("(b) table-driven build of 10,000 main-menu pages, median of %d runs\n", runs);
    for (const BuildFigures* f : {&small, &large})
        std::printf(
            "    %s rows: build %7.3f s; its %zu files: plain write %7.3f s, temp+rename %7.3f s\n",
            f == &small ? " 10,000" : "100,000", f->build, f->files, f->plain, f->atomic);
    const double growth = large.build / small.build, overWrite = large.build / large.plain;
    std::printf("    growth for 10x rows  %.2fx  (target <= 12: %s)\n", growth,
                growth <= 12 ? "met" : "MISSED");
    std::printf("    build / plain write  %.2fx  (target <= 2: %s)\n", overWrite,
                overWrite <= 2 ? "met" : "MISSED");
    std::printf("    build / temp+rename  %.2fx\n", large.build / large.atomic);
    // Deleting only at the end: new files are slower to make while many were just deleted.
    fs::remove_all(root);
    return 0;
}
