// SPDX-License-Identifier: MIT
// Build speed against the disk: a project with 10,000 menu entries (1,000 main entries with
// 9 sub entries each) is built (a) into an empty folder and (b) again unchanged. The
// yardsticks are plain programs that do only the unavoidable disk work on the same files:
// (c) write every file, (d) read every file and compare it with its text. Prints the median
// of several runs and the ratios a/c and b/d (target: at most 1.5 each). A third yardstick,
// (e) writing every file to a temporary name and renaming it, shows what the safe replacement
// of files costs by itself; a/e is the share of the build proper.
//
//   bench-build-bench [runs=5] [main-entries=1000] [sub-entries=9]
//
// The files go to a fresh folder under $TMPDIR (or /tmp); set TMPDIR to measure another disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Fakes.h"
#include "generator/BuildDriver.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace fs = std::filesystem;
using pagloom::BuildDialog;
using pagloom::Project;
using pagloom::TWebMenu;

namespace {

double Seconds(const std::function<void()>& f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void MakeProject(Project& p, int mains, int subs) {
    p.Settings.sitemap.make_sitemap = true;
    // Every page goes through the comparison on a rebuild, not only the files that are always due.
    p.Settings.content_page.empty_overwrite = true;
    p.Settings.firstpage.overwrite_firstpage = true;
    p.Settings.sitemap.urltext = "http://www.example.org/";
    for (int i = 0; i < mains; ++i) {
        std::string n = std::to_string(i);
        auto& main =
            p.MainMenu.Add(TWebMenu::NewMainItem("Hauptpunkt " + n, "haupt_" + n + ".htm", true));
        for (int j = 0; j < subs; ++j) {
            std::string m = n + "_" + std::to_string(j);
            main.SubMenu->Add(TWebMenu::NewSubItem("Unterpunkt " + m, "unter_" + m + ".htm", true));
        }
    }
    p.MainMenu.ResetItemIndex();
}

struct FileText {
    std::string name;
    std::string data;
};

// The files of a built site, read into memory (not timed).
std::vector<FileText> Snapshot(const fs::path& dir) {
    std::vector<FileText> files;
    for (const auto& e : fs::directory_iterator(dir)) {
        FileText f{e.path().filename().string(), {}};
        FILE* in = std::fopen(e.path().c_str(), "rb");
        char buf[1 << 16];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;) f.data.append(buf, n);
        std::fclose(in);
        files.push_back(std::move(f));
    }
    return files;
}

// (c): open, write, close; nothing else.
void PlainWrite(const fs::path& dir, const std::vector<FileText>& files) {
    for (const auto& f : files) {
        std::string path = (dir / f.name).string();
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 ||
            ::write(fd, f.data.data(), f.data.size()) != static_cast<ssize_t>(f.data.size()))
            std::abort();
        ::close(fd);
    }
}

// (e): the same files, each written to a temporary name and renamed into place.
void AtomicWrite(const fs::path& dir, const std::vector<FileText>& files) {
    for (const auto& f : files) {
        std::string path = (dir / f.name).string();
        std::string tmp = path + ".tmp";
        int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 ||
            ::write(fd, f.data.data(), f.data.size()) != static_cast<ssize_t>(f.data.size()))
            std::abort();
        ::close(fd);
        if (std::rename(tmp.c_str(), path.c_str()) != 0) std::abort();
    }
}

// (d): read each file whole and compare it with the text it should hold.
size_t PlainCompare(const fs::path& dir, const std::vector<FileText>& files) {
    size_t same = 0;
    std::string buf;
    for (const auto& f : files) {
        std::string path = (dir / f.name).string();
        int fd = ::open(path.c_str(), O_RDONLY);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) std::abort();
        buf.resize(static_cast<size_t>(st.st_size));
        if (::read(fd, buf.data(), buf.size()) != static_cast<ssize_t>(buf.size())) std::abort();
        ::close(fd);
        same += buf == f.data;
    }
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int mains = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int subs = argc > 3 ? std::atoi(argv[3]) : 9;

    Project project;
    MakeProject(project, mains, subs);
    BuildDialog dialog;
    pagloom::DiskFileSystem disk;
    if (!pagloom::LoadMenuScriptLibrary(disk, PAGLOOM_RESOURCES, dialog.MenuScriptLibrary)) {
        std::fprintf(stderr, "cannot read %s/default.js\n", PAGLOOM_RESOURCES);
        return 2;
    }
    pagloom::RecordingHost host;
    const fs::path root =
        fs::temp_directory_path() / ("pagloom-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);

    std::vector<double> cold, warm, write, compare, atomic;
    std::vector<FileText> files;
    for (int r = 0; r < runs; ++r) {
        const fs::path site = root / ("site" + std::to_string(r));
        const fs::path plain = root / ("plain" + std::to_string(r));
        const fs::path safe = root / ("atomic" + std::to_string(r));
        fs::create_directories(site);
        fs::create_directories(plain);
        fs::create_directories(safe);

        // The yardstick needs the files of a build; the first run takes them from a build of
        // its own, later runs alternate which side goes first so neither gains from the order.
        if (files.empty()) {
            const fs::path probe = root / "probe";
            fs::create_directories(probe);
            dialog.Destination = probe.string();
            pagloom::MakeStartClick(dialog, project, "", disk, host);
            files = Snapshot(probe);
        }
        auto plainSide = [&] {
            write.push_back(Seconds([&] { PlainWrite(plain, files); }));
            size_t same = 0;
            compare.push_back(Seconds([&] { same = PlainCompare(plain, files); }));
            if (same != files.size()) std::abort();
            atomic.push_back(Seconds([&] { AtomicWrite(safe, files); }));
        };
        if (r % 2 == 1) plainSide();
        dialog.Destination = site.string();
        pagloom::BuildOutcome outcome;
        cold.push_back(
            Seconds([&] { outcome = pagloom::MakeStartClick(dialog, project, "", disk, host); }));
        if (!outcome.Succeeded()) {
            std::fprintf(stderr, "the cold build failed\n");
            return 2;
        }
        warm.push_back(
            Seconds([&] { outcome = pagloom::MakeStartClick(dialog, project, "", disk, host); }));
        if (r % 2 == 0) plainSide();
    }
    // Deleting only at the end: file systems make new files slower while many inodes were
    // deleted a moment ago, which would charge one side with the other's clean-up.
    fs::remove_all(root);

    const double a = Median(cold), b = Median(warm), c = Median(write), d = Median(compare),
                 e = Median(atomic);
    std::printf("%d menu entries, %zu files, median of %d runs\n", mains * (1 + subs), files.size(),
                runs);
    std::printf("(a) cold build          %8.3f s\n", a);
    std::printf("(b) unchanged rebuild   %8.3f s\n", b);
    std::printf("(c) plain write         %8.3f s\n", c);
    std::printf("(d) plain read+compare  %8.3f s\n", d);
    std::printf("(e) plain temp+rename   %8.3f s\n", e);
    const double ac = a / c, bd = b / d;
    std::printf("a/c = %.2f  (target <= 1.5: %s)\n", ac, ac <= 1.5 ? "met" : "MISSED");
    std::printf("b/d = %.2f  (target <= 1.5: %s)\n", bd, bd <= 1.5 ? "met" : "MISSED");
    std::printf("e/c = %.2f  (safe replacement alone), a/e = %.2f\n", e / c, a / e);
    return 0;
}
