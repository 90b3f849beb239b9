// SPDX-License-Identifier: MIT
// Scale: does anything grow faster than its input? Seven cases, each run at a base size and at
// ten times that size (the large size is the one users may really reach):
//   menu       a project with 10,000 / 100,000 menu entries: load, save, build, rebuild
//   template   a 5 MB / 50 MB template copied into three pages: build and unchanged rebuild
//   dwtemplate a 5 MB / 50 MB Dreamweaver template with one region per 10 KB: fresh pages,
//              then a rebuild that merges the regions of the existing pages
//   csv        a CSV file of 100,000 / 1,000,000 rows: import, then 1,000 equality filters
//              that together visit every row
//   menutext   one menu entry with a 100 KB / 1 MB text: build with pages, save, load
//   tags       a table template of 10,000 / 100,000 unclosed tags (record and field tags without
//              their closing tags, field tags inside field tags, lone brackets), then a closed
//              record block holding as many field tags inside one another: filled once
//   tables     the CSV-driven example project over 100,000 / 1,000,000 rows (100 / 1,000
//              main pages, 1,000 / 10,000 sub pages, each filled from its rows): build, rebuild
// Each measurement runs in a child process of its own, so its peak memory (ru_maxrss) is its
// own; the input files are made beforehand by another child. Prints the CPU seconds (user +
// system, best of the runs; on a shared machine this moves less than wall time, which is shown
// too) and the peak memory above an idle child, then the ratios large/base.
// Bounds: time ratio at most 12, memory ratio at most 12.
//
//   bench-scale-bench [runs=3] [case...]
//
// Files go to a fresh folder under $TMPDIR, else /dev/shm, else /tmp: in memory by default, so
// the figures show the program's own growth and not when the kernel starts writing back.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/ProjectDocument.h"
#include "generator/BuildDriver.h"
#include "generator/TableTemplate.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"
#include "tables/CsvImport.h"
#include "tables/MemoryTable.h"

namespace fs = std::filesystem;
using namespace pagloom;

namespace {

DiskFileSystem disk;

class SilentHost : public Host {
  public:
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    Answer Ask(const std::string&, bool) override { return Answer::Yes; }
    std::string ProgramDir() const override { return "."; }
};

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

BuildOutcome BuildInto(Project& p, const fs::path& dest) {
    fs::create_directories(dest);
    SilentHost host;
    BuildDialog dialog;
    dialog.Destination = dest.string();
    dialog.MenuScriptLibrary = {"function writemenu() {}"};
    PresetRegionOverwrite(p, dialog);
    const BuildOutcome outcome = MakeStartClick(dialog, p, "", disk, host);
    if (!outcome.Succeeded()) {
        std::fprintf(stderr, "build into %s failed\n", dest.c_str());
        std::exit(3);
    }
    return outcome;
}

// ---- menu ----

Project MenuProject(size_t entries) {
    Project p;
    const size_t mains = entries / 10;
    for (size_t i = 0; i < mains; ++i) {
        const std::string n = std::to_string(i);
        auto& m =
            p.MainMenu.Add(TWebMenu::NewMainItem("Hauptpunkt \xDC"
                                                 "ber " +
                                                     n,
                                                 "haupt_" + n + ".htm", true));
        for (int j = 0; j < 9; ++j) {
            const std::string s = n + "_" + std::to_string(j);
            m.SubMenu->Add(
                TWebMenu::NewSubItem("Unterpunkt " + s, "unter_" + s + ".htm", j % 4 != 3));
        }
    }
    p.MainMenu.ResetItemIndex();
    p.Settings.content_page.source.Select(kNoPages);
    p.Settings.sitemap.make_sitemap = true;
    return p;
}

void MakeMenu(const fs::path& dir, size_t entries) {
    SilentHost host;
    SaveProject(MenuProject(entries), (dir / "menu.plp").string(), disk, host);
}

void RunMenu(const fs::path& dir, size_t) {
    SilentHost host;
    ProjectDocument doc(disk, host);
    doc.Open((dir / "menu.plp").string());
    doc.SaveAs((dir / "menu-saved.plp").string());
    BuildInto(doc.project, dir / "site");
    BuildInto(doc.project, dir / "site");
}

// ---- template ----

std::string PlainTemplate(size_t bytes) {
    std::string t = "<html>\r\n<head><title>Vorlage</title></head>\r\n<body>\r\n";
    for (size_t i = 0; t.size() < bytes; ++i)
        t += "<p>Zeile " + std::to_string(i) +
             ": Gr\xFC\xDF"
             "e aus der Vorlage, www.example.org &amp; mehr.</p>\r\n";
    return t + "</body>\r\n</html>\r\n";
}

Project PagesProject(ContentSource source) {
    Project p;
    for (const char* name : {"eins", "zwei", "drei"})
        p.MainMenu.Add(TWebMenu::NewMainItem(name, std::string(name) + ".htm", true));
    p.MainMenu.ResetItemIndex();
    p.Settings.content_page.source.Select(source);
    p.Settings.content_page.template_overwrite = true;
    return p;
}

void MakeTemplate(const fs::path& dir, size_t bytes) {
    WriteText(dir / "vorlage.htm", PlainTemplate(bytes));
}

void RunTemplate(const fs::path& dir, size_t) {
    Project p = PagesProject(kTemplatePages);
    p.Settings.content_page.template_file = (dir / "vorlage.htm").string();
    BuildInto(p, dir / "site");
    BuildInto(p, dir / "site");
}

// ---- dwtemplate ----

void MakeDwTemplate(const fs::path& dir, size_t bytes) {
    std::string t =
        "<html>\r\n<head>\r\n<!-- TemplateBeginEditable name=\"doctitle\" --><title>Vorlage</title>"
        "<!-- TemplateEndEditable -->\r\n</head>\r\n<body>\r\n";
    for (size_t region = 0; t.size() < bytes; ++region) {
        const size_t until = t.size() + 10000;
        while (t.size() < until)
            t += "<p>Fester Text der Vorlage mit <a href=\"../x.htm\">Verweis</a>.</p>\r\n";
        t += "<!-- TemplateBeginEditable name=\"Bereich" + std::to_string(region) +
             "\" -->\r\n<p>Inhalt</p>\r\n<!-- TemplateEndEditable -->\r\n";
    }
    WriteText(dir / "Templates" / "seite.dwt", t + "</body>\r\n</html>\r\n");
}

void RunDwTemplate(const fs::path& dir, size_t) {
    Project p = PagesProject(kDwTemplatePages);
    p.Settings.files.destination_directory = (dir / "site").string();
    p.Settings.content_page.dw_template_file = (dir / "Templates" / "seite.dwt").string();
    p.Settings.content_page.dw_editable_overwrite = true;  // first build: fresh instances
    BuildInto(p, dir / "site");
    p.Settings.content_page.dw_editable_overwrite = false;  // then: merge the existing pages
    p.Settings.content_page.dw_template_update = true;
    BuildInto(p, dir / "site");
}

// ---- csv ----

void MakeCsv(const fs::path& dir, size_t rows) {
    std::string t = "Nr;Name;Gruppe;Text;Zitat\r\n";
    t.reserve(rows * 70);
    for (size_t i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i);
        // Blanks end an unquoted value, so texts with blanks are quoted.
        t += n + ";Eintrag_" + n + ";G" + std::to_string(i % 1000) +
             ";\"Stra\xDF"
             "e " +
             n + "\";\"sagt \"\"ja\"\"; " + n + "\"\r\n";
    }
    WriteText(dir / "daten.csv", t);
}

void RunCsv(const fs::path& dir, size_t rows) {
    SilentHost host;
    MemoryTable table;
    if (!ImportCsvFile(disk, host, (dir / "daten.csv").string(), ';', '"', true, table))
        std::exit(3);
    size_t seen = 0;
    for (int g = 0; g < 1000; ++g) {
        table.SetEqualityFilter({{"Gruppe", "G" + std::to_string(g)}});
        table.Open();
        for (table.First(); !table.AtEnd(); table.Next())
            seen += table.FieldText(size_t{4}).size() > 0;
    }
    if (seen != rows) {
        std::fprintf(stderr, "filters saw %zu of %zu rows\n", seen, rows);
        std::exit(3);
    }
}

// ---- menutext ----

std::string LongMenuText(size_t bytes) {
    std::string t;
    t.reserve(bytes + 64);
    for (size_t i = 0; t.size() < bytes; ++i)
        t += "Wort" + std::to_string(i) + " \xE4\xF6\xFC <b>&</b> \"zitat\" www.example" +
             std::to_string(i % 10) + ".de, ";
    return t;
}

Project MenuTextProject(size_t bytes) {
    Project p;
    auto& m = p.MainMenu.Add(TWebMenu::NewMainItem(LongMenuText(bytes), "lang.htm", true));
    m.SubMenu->Add(TWebMenu::NewSubItem(LongMenuText(bytes / 2), "unter.htm", true));
    p.MainMenu.Add(TWebMenu::NewMainItem("kurz", "kurz.htm", true));
    p.MainMenu.ResetItemIndex();
    p.Settings.sitemap.make_sitemap = true;
    return p;
}

void MakeMenuText(const fs::path&, size_t) {}

void RunMenuText(const fs::path& dir, size_t bytes) {
    Project p = MenuTextProject(bytes);
    BuildInto(p, dir / "site");
    SilentHost host;
    SaveProject(p, (dir / "lang.plp").string(), disk, host);
    ProjectDocument q(disk, host);
    q.Open((dir / "lang.plp").string());
}

// ---- tags ----

void MakeTags(const fs::path& dir, size_t tags) {
    const char* kinds[] = {"<RECORD>x ", "<FIELD name=\"Name\">y ", "<FIELD <field ", "<a<b ",
                           "<> "};
    std::string t;
    for (size_t i = 0; i < tags; ++i) t += kinds[i % std::size(kinds)];
    // Field tags inside one another in a closed record block share their closing bracket.
    t += "<RECORD>";
    for (size_t i = 0; i < tags; ++i) t += "<FIELD ";
    t += "></RECORD>";
    WriteText(dir / "tags.tpl", t + "\r\n");
    WriteText(dir / "tags.csv", "Name\r\nerste\r\nzweite\r\n");
}

void RunTags(const fs::path& dir, size_t) {
    SilentHost host;
    MemoryTable table;
    if (!ImportCsvFile(disk, host, (dir / "tags.csv").string(), ';', '"', true, table))
        std::exit(3);
    std::ifstream in(dir / "tags.tpl", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TableSettings settings;
    const std::vector<std::string> columns{"Name"};
    TextLines lines = SplitLines(text);
    FillTableTemplate(lines, TemplateSlot{&table, columns, settings}, host);
    if (lines.empty()) std::exit(3);
}

// ---- tables ----

void MakeTables(const fs::path& dir, size_t rows) {
    const fs::path example = fs::path(PAGLOOM_RESOURCES) / ".." / "examples" / "csv-demo";
    for (const char* name : {"csv-demo.plp", "erste.tpl", "bereich.tpl", "gruppe.tpl"})
        fs::copy_file(example / name, dir / name, fs::copy_options::overwrite_existing);
    std::string t = "Bereich;Gruppe;Pflanze;Preis;Hinweis\r\n";
    t.reserve(rows * 64);
    for (size_t i = 0; i < rows; ++i)
        t += "Bereich" + std::to_string(i / 1000) + ";Gruppe" + std::to_string(i / 100) +
             ";Pflanze" + std::to_string(i) +
             ";\"4,90 \x80\";\"Gro\xDF"
             "e Bl\xE4tter <b>\"\"Nr. " +
             std::to_string(i) + "\"\"</b>\"\r\n";
    WriteText(dir / "katalog.csv", t);
}

void RunTables(const fs::path& dir, size_t) {
    // The project names its tables relative to its own folder.
    if (chdir(dir.c_str()) != 0) std::exit(3);
    SilentHost host;
    ProjectDocument doc(disk, host);
    doc.Open("csv-demo.plp");
    fs::create_directories(dir / "site");
    doc.Build.Destination = (dir / "site").string();
    doc.Build.MenuScriptLibrary = {"function writemenu() {}"};
    for (int build = 0; build < 2; ++build) {
        const std::optional<BuildOutcome> outcome = doc.CheckAndBuild();
        if (!outcome || !outcome->Succeeded()) std::exit(3);
    }
}

// ---- measuring ----

struct Case {
    const char* name;
    const char* unit;
    size_t base;
    void (*make)(const fs::path&, size_t);
    void (*run)(const fs::path&, size_t);
};

const Case kCases[] = {
    {"menu", "entries", 10000, MakeMenu, RunMenu},
    {"template", "bytes", 5000000, MakeTemplate, RunTemplate},
    {"dwtemplate", "bytes", 5000000, MakeDwTemplate, RunDwTemplate},
    {"csv", "rows", 100000, MakeCsv, RunCsv},
    {"menutext", "bytes", 100000, MakeMenuText, RunMenuText},
    {"tags", "tags", 10000, MakeTags, RunTags},
    {"tables", "rows", 100000, MakeTables, RunTables},
};

struct Measure {
    double seconds = 0;  // wall
    double cpu = 0;      // user + system
    long peakKb = 0;
};

// Runs f in a child process; returns its wall time (as the child measured it) and peak memory.
Measure InChild(const std::function<void()>& f) {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) std::exit(2);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFd[0]);
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (write(pipeFd[1], &s, sizeof s) != sizeof s) _exit(2);
        _exit(0);
    }
    close(pipeFd[1]);
    Measure m;
    if (read(pipeFd[0], &m.seconds, sizeof m.seconds) != sizeof m.seconds) m.seconds = -1;
    close(pipeFd[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || m.seconds < 0) {
        std::fprintf(stderr, "measured child failed\n");
        std::exit(1);
    }
    m.peakKb = usage.ru_maxrss;
    m.cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return m;
}

Measure Run(const Case& c, size_t size, int runs, const fs::path& root, long idleKb) {
    const fs::path dir = root / (std::string(c.name) + "-" + std::to_string(size));
    fs::create_directories(dir / "Templates");
    InChild([&] { c.make(dir, size); });
    Measure best{1e300, 1e300, 0};
    for (int r = 0; r < runs; ++r) {
        fs::remove_all(dir / "site");
        const Measure m = InChild([&] { c.run(dir, size); });
        best.seconds = std::min(best.seconds, m.seconds);
        best.cpu = std::min(best.cpu, m.cpu);
        best.peakKb = std::max(best.peakKb, m.peakKb - idleKb);
    }
    fs::remove_all(dir);
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<std::string> wanted(argv + std::min(argc, 2), argv + argc);

    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/pagloom-scale-XXXXXX";
    if (!mkdtemp(pattern.data())) return 2;
    const fs::path root = pattern;
    const long idleKb = InChild([] {}).peakKb;

    std::printf("%-10s %9s %9s %8s %8s %8s %8s %8s %8s %7s %6s\n", "case", "base", "10x",
                "cpu base", "cpu 10x", "wall b", "wall 10x", "MB base", "MB 10x", "time x",
                "mem x");
    bool within = true;
    for (const Case& c : kCases) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), c.name) == wanted.end())
            continue;
        const Measure small = Run(c, c.base, runs, root, idleKb);
        const Measure large = Run(c, c.base * 10, runs, root, idleKb);
        const double timeRatio = large.cpu / std::max(small.cpu, 1e-3);
        const double memRatio =
            static_cast<double>(std::max(large.peakKb, 1L)) / std::max(small.peakKb, 1L);
        std::printf("%-10s %9zu %9zu %8.3f %8.3f %8.3f %8.3f %8.1f %8.1f %7.2f %6.2f  %s\n", c.name,
                    c.base, c.base * 10, small.cpu, large.cpu, small.seconds, large.seconds,
                    small.peakKb / 1024.0, large.peakKb / 1024.0, timeRatio, memRatio, c.unit);
        std::fflush(stdout);
        within = within && timeRatio <= 12.0 && memRatio <= 12.0;
    }
    fs::remove_all(root);
    std::printf("%s\n", within ? "all ratios within 12" : "RATIO ABOVE 12");
    return within ? 0 : 1;
}
