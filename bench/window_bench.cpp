// SPDX-License-Identifier: MIT
// The desktop program beside pagloom-cli on one table-driven job: 10,000 pages from a CSV of
// 100,000 rows (the job of bench-cli-rebuild-bench). Offscreen, with the windows wired as at
// program start:
//   (a) pagloom-cli build, cold, into a folder of its own (whole process: start, opening the
//       project with its CSV, the build);
//   (b) the same through the windows: opening the project in the main window, then "Start" in
//       the build dialog, cold, into a folder of its own;
//   (c) while (b) builds: the longest gap between two ticks of a 5 ms timer of the window
//       thread, i.e. the longest time the windows could not answer;
//   (d) "Links prüfen" on the built site with 20,000 broken links added to one page: the time
//       until the findings are shown and the longest gap of the window thread meanwhile.
// Targets: (b) at most 1.2 times (a); (c) and (d) gaps under 100 ms.
//
//   bench-window-bench [runs=3]
// Files go below $TMPDIR, else /tmp.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BrowserEngine.h"
#include "BuildThread.h"
#include "Fakes.h"
#include "LinkCheckWindow.h"
#include "MainForm.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "TFileSelectDlg.h"
#include "TMakeForm.h"
#include "TProOptDlg.h"
#include "TWebAnzeigeForm.h"
#include "UiPrompts.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"
#include "tables/SlotOpening.h"

namespace fs = std::filesystem;
using namespace pagloom;
using namespace pagloom::app;

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

// Answers every prompt without a person: messages are counted, questions get "Nein".
class QuietPrompts : public UiPrompts {
  public:
    void Message(QWidget*, const QString& text, const QString&) override {
        std::fprintf(stderr, "Meldung: %s\n", qPrintable(text));
    }
    Answer Ask(QWidget*, const QString&, bool) override { return Answer::No; }
    int Exec(QDialog*) override { return 0; }
};

}  // namespace

int main(int argc, char** argv) {
    // As the program's main does.
    if (std::getenv("BENCH_NO_HEAP") == nullptr) PrepareHeapForBuilds();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareBrowserEngine();
    QApplication qapp(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root =
        fs::path(tmp && *tmp ? tmp : "/tmp") / ("pagloom-window-bench-" + std::to_string(getpid()));
    const std::string project = MakeJob(root / "job");
    const std::string cli = PAGLOOM_CLI;

    QuietPrompts prompts;
    const QString programDir = QStringLiteral(PAGLOOM_RESOURCES);
    AppHost host(prompts, PathS(programDir));
    DiskFileSystem disk;
    ProjectSession session(disk, host);
    TMainForm mainForm(session, prompts, host, programDir);
    TWebAnzeigeForm webForm;
    TMakeForm makeForm(session, prompts, host, &mainForm);
    TProOptDlg options(
        session, mainForm.Tracker(), prompts, [&mainForm] { return mainForm.TemplateDir(); },
        &mainForm);
    TFileSelectDlg fileSelect(prompts, &mainForm);
    mainForm.Attach(&webForm, &makeForm, &options, &fileSelect);
    session.Build.RefreshMenuEditor = [&mainForm] { mainForm.ShowRebuiltMenu(); };
    mainForm.show();
    makeForm.show();
    QApplication::processEvents();

    std::vector<double> cliTimes, openTimes, buildTimes, blocks;
    for (int r = 0; r < runs; ++r) {
        const fs::path cliDest = root / ("cli-" + std::to_string(r));
        fs::create_directories(cliDest);
        cliTimes.push_back(
            Time(cli, {"build", project, "--dest", cliDest.string()}, root / "cli.log"));

        const fs::path winDest = root / ("window-" + std::to_string(r));
        fs::create_directories(winDest);
        auto t0 = std::chrono::steady_clock::now();
        if (!mainForm.OpenProject(Q(project))) return 2;
        QApplication::processEvents();
        const auto opened = std::chrono::steady_clock::now();
        session.Build.Destination = winDest.string();
        // The window thread's ticks while the build runs; a long gap is a frozen window.
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longest = std::max(longest, sinceTick.restart()); });
        sinceTick.start();
        ticker.start();
        const auto t1 = std::chrono::steady_clock::now();
        makeForm.MakeStartClick();
        const auto t2 = std::chrono::steady_clock::now();
        ticker.stop();
        longest = std::max(longest, sinceTick.elapsed());
        openTimes.push_back(std::chrono::duration<double>(opened - t0).count());
        buildTimes.push_back(std::chrono::duration<double>(t2 - t1).count());
        blocks.push_back(static_cast<double>(longest));
        if (!fs::exists(winDest / "index.htm")) {
            std::fprintf(stderr, "the window's build wrote no frameset\n");
            return 2;
        }
    }
    // (d) the link check window over the last site, with many findings.
    {
        std::ofstream page(root / ("window-" + std::to_string(runs - 1)) / "erste.htm",
                           std::ios::binary | std::ios::app);
        for (int i = 0; i < 20000; ++i) page << "<a href=\"fehlt" << i << ".htm\">x</a>\r\n";
    }
    QElapsedTimer sinceTick, checkTime;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    sinceTick.start();
    ticker.start();
    checkTime.start();
    mainForm.LinkCheckClick();
    auto* check = mainForm.findChild<LinkCheckWindow*>();
    while (check->Checking()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
    const qint64 checkMs = checkTime.elapsed();
    ticker.stop();
    longest = std::max(longest, sinceTick.elapsed());
    const int findings = check->findChild<QAbstractItemView*>()->model()->rowCount();

    const double c = Median(cliTimes), o = Median(openTimes), b = Median(buildTimes);
    std::printf("runs: %d, folder: %s\n", runs, root.c_str());
    std::printf("(a) pagloom-cli build (process):        %.3f s\n", c);
    std::printf("(b) window: open project                %.3f s\n", o);
    std::printf("    window: build (Start to its end)    %.3f s\n", b);
    std::printf("    window open + build / cli:          %.2f (target <= 1.2)\n", (o + b) / c);
    std::printf(
        "(c) longest block of the window thread: %.0f ms (median), %.0f ms (worst); "
        "target < 100 ms\n",
        Median(blocks), *std::max_element(blocks.begin(), blocks.end()));
    std::printf(
        "(d) link check window: %d findings in %lld ms, longest block %lld ms; "
        "target < 100 ms\n",
        findings, static_cast<long long>(checkMs), static_cast<long long>(longest));
    fs::remove_all(root);
    return 0;
}
