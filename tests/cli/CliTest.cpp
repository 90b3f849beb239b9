// SPDX-License-Identifier: MIT
// pagloom-cli as a user runs it: arguments in, log on stdout, messages on stderr, exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Keyring.h"
#include "SshServer.h"
#include "TestSupport.h"
#include "TlsServers.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

using pagloom::test::CrLf;
using pagloom::test::FilesBelow;
using pagloom::test::ReadFile;
using pagloom::test::TempDir;
using pagloom::test::WriteFile;

// How the child runs besides its arguments.
struct RunEnv {
    std::string exe = PAGLOOM_CLI_EXE;     // or a copy of the program elsewhere
    const char* stdoutFile = nullptr;      // instead of a file that is read back, e.g. /dev/full
    bool stdoutClosedPipe = false;         // stdout is a pipe whose reader has gone
    rlim_t fileSizeLimit = RLIM_INFINITY;  // no file may grow beyond this (bytes)
    std::string workingDir = "";           // the folder it starts in; empty: this process's
};

// Runs pagloom-cli with `args`; stdout and stderr go to files that are read back afterwards.
CliRun RunCli(const std::vector<std::string>& args, const RunEnv& env = {}) {
    const std::string& exe = env.exe;
    TempDir io;
    const std::string outPath = env.stdoutFile ? env.stdoutFile : io / "out";
    const std::string errPath = io / "err";
    pid_t pid = fork();
    if (pid == 0) {
        if (env.fileSizeLimit != RLIM_INFINITY) {
            // A write beyond the limit then fails with EFBIG rather than killing the program.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{env.fileSizeLimit, env.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::signal(SIGPIPE, SIG_DFL);  // as a shell starts it
        if (!env.workingDir.empty() && chdir(env.workingDir.c_str()) != 0) _exit(126);
        int o = -1;
        if (env.stdoutClosedPipe) {
            int p[2];
            if (pipe(p) != 0) _exit(126);
            close(p[0]);
            o = p[1];
        } else {
            o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }
        int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(o, 1);
        dup2(e, 2);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(exe.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    CliRun r;
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    if (!env.stdoutFile && !env.stdoutClosedPipe) r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// A small project: one menu entry with one sub entry, everything else as a new project has it.
std::string SmallProject(const std::string& destination,
                         const std::vector<std::string>& extra = {}) {
    std::vector<std::string> lines = {"[files]",
                                      "destination-directory=" + destination,
                                      "[menu]",
                                      "count=1",
                                      "text_0=K\xFC"
                                      "che",
                                      "file_0=kueche.htm",
                                      "aktiv_0=1",
                                      "[submenu_0]",
                                      "count=1",
                                      "text_0=Herd",
                                      "file_0=herd.htm",
                                      "aktiv_0=1"};
    lines.insert(lines.end(), extra.begin(), extra.end());
    return CrLf(lines);
}

}  // namespace

TEST(CliUsage, WrongCommandLinesExit64WithAHint) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, "kein Befehl angegeben"},
        {"unknown command", {"bauen", "x.plp"}, "unbekannter Befehl: bauen"},
        {"build without project", {"build"}, "build verlangt eine Projektdatei"},
        {"build with two projects",
         {"build", "a.plp", "b.plp"},
         "nur eine Projektdatei erlaubt: b.plp"},
        {"unknown option", {"build", "a.plp", "--force"}, "unbekannte Option für build: --force"},
        {"dest without folder", {"build", "a.plp", "--dest"}, "--dest verlangt ein Verzeichnis"},
        {"dest twice",
         {"build", "a.plp", "--dest", "x", "--dest=y"},
         "--dest ist mehrfach angegeben"},
        {"both region flags",
         {"build", "a.plp", "--keep-regions", "--overwrite-regions"},
         "--keep-regions und --overwrite-regions schließen einander aus"},
        {"group without file", {"group"}, "group verlangt eine Gruppendatei"},
        {"group with two files",
         {"group", "a.plg", "b.plg"},
         "group erwartet genau eine Gruppendatei"},
        {"group with an option", {"group", "--dest", "x"}, "unbekannte Option für group: --dest"},
        {"version with more", {"--version", "x"}, "--version erwartet keine weiteren Argumente"},
        {"check without project", {"check"}, "check verlangt eine Projektdatei"},
        {"check does not plan",
         {"check", "a.plp", "--dry-run"},
         "unbekannte Option für check: --dry-run"},
        {"check has no region flags",
         {"check", "a.plp", "--keep-regions"},
         "unbekannte Option für check: --keep-regions"},
        {"group dry run without file", {"group", "--dry-run"}, "group verlangt eine Gruppendatei"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, 64);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err,
                  std::string("pagloom-cli: ") + c.message + "\nHilfe: pagloom-cli --help\n");
    }
}

// A name Windows-1252 cannot hold would become another name ("Ziel??"), so it is refused.
TEST(CliUsage, PathsOutsideWindows1252AreRefusedNotReplaced) {
    TempDir dir;
    fs::create_directory(dir / "Ziel??");
    WriteFile(dir / "p.plp", SmallProject(dir / "Ziel??"));
    WriteFile(dir / "??.plp", SmallProject(dir / "Ziel??"));
    WriteFile(dir / "??.plg", CrLf({"[projects]", "count=1", "filename_1=" + (dir / "p.plp")}));
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";
    struct Case {
        std::vector<std::string> args;
        std::string refused;
    };
    const std::vector<Case> cases = {
        {{"build", dir / (japanese + ".plp")}, dir / (japanese + ".plp")},
        {{"build", dir / "p.plp", "--dest", dir / ("Ziel" + japanese)}, dir / ("Ziel" + japanese)},
        {{"build", dir / "p.plp", "--dest=" + (dir / ("Ziel" + japanese))},
         "--dest=" + (dir / ("Ziel" + japanese))},
        {{"group", dir / (japanese + ".plg")}, dir / (japanese + ".plg")},
        {{"build", dir / "\xE4.plp"}, dir / "\xE4.plp"},  // Latin-1, not UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        CliRun r = RunCli(c.args);
        EXPECT_EQ(r.status, 64);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "pagloom-cli: Argument \"" + c.refused +
                             "\" enthält Zeichen außerhalb von Windows-1252; solche Pfade werden "
                             "nicht unterstützt\nHilfe: pagloom-cli --help\n");
    }
    EXPECT_EQ(fs::directory_iterator(dir / "Ziel??"), fs::directory_iterator())
        << "nothing built into the folder the name would have become";
}

TEST(CliUsage, HelpAndVersion) {
    CliRun v = RunCli({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "pagloom-cli 2.0.1\n");
    EXPECT_EQ(v.err, "");

    CliRun h = RunCli({"--help"});
    EXPECT_EQ(h.status, 0);
    EXPECT_EQ(h.err, "");
    EXPECT_NE(h.out.find("pagloom-cli build PROJEKT.plp [--dest VERZEICHNIS] [--keep-regions | "
                         "--overwrite-regions]"),
              std::string::npos);
    EXPECT_NE(h.out.find("pagloom-cli group GRUPPE.plg [--dry-run]"), std::string::npos);
    EXPECT_NE(h.out.find("pagloom-cli check PROJEKT.plp [--dest VERZEICHNIS]"), std::string::npos);
    EXPECT_NE(h.out.find("Rückgabewerte"), std::string::npos);
}

// Every file below a folder with its bytes and modification time.
std::map<std::string, std::string> FilesAndTimes(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        files[fs::relative(e.path(), root).string()] =
            e.is_regular_file() ? ReadFile(e.path().string()) + "|" +
                                      std::to_string(pagloom::test::MTimeNs(e.path().string()))
                                : "<dir>";
    return files;
}

// A dry run exits as the real build would and leaves the destination and the project alone.
TEST(CliDryRun, ExitsAsTheBuildWouldAndWritesNothing) {
    TempDir dir;
    fs::create_directory(dir / "site");
    WriteFile(dir / "p.plp", SmallProject(dir / "site"));
    WriteFile(dir / "template.plp",
              SmallProject(dir / "site", {"[content-page]", "template-pages=1",
                                          "template-file=" + (dir / "fehlt.htm")}));
    ASSERT_EQ(RunCli({"build", dir / "p.plp"}).status, 0);
    WriteFile(dir / "site/menframe_include.htm", "alt\r\n");
    fs::remove(dir / "site/kueche.htm");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases = {
        {"site", {"build", dir / "p.plp"}, 0},
        {"folder missing", {"build", dir / "p.plp", "--dest", dir / "gibt-es-nicht"}, 1},
        {"template missing", {"build", dir / "template.plp"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = FilesAndTimes(dir.Path());
        std::vector<std::string> args = c.args;
        args.push_back("--dry-run");
        CliRun plan = RunCli(args);
        EXPECT_EQ(plan.status, c.status) << plan.out << plan.err;
        EXPECT_EQ(FilesAndTimes(dir.Path()), before);
        const auto lines = Lines(plan.out);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[lines.size() - 2].rfind("Plan: ", 0), 0u) << lines[lines.size() - 2];
    }
    const auto lines = Lines(RunCli({"build", dir / "p.plp", "--dry-run"}).out);
    EXPECT_EQ(lines[0], "Prüfe Dateien in " + (dir / "site") + " (nichts wird geschrieben):");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "neu: " + (dir / "site/kueche.htm")),
              lines.end());
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "geändert: " + (dir / "site/menframe_include.htm")),
        lines.end());
    EXPECT_EQ(lines[lines.size() - 2].rfind("Plan: 1 neu, 1 geändert, ", 0), 0u);
    // The real build then does what the plan said.
    EXPECT_EQ(RunCli({"build", dir / "p.plp"}).status, 0);
    EXPECT_EQ(RunCli({"build", dir / "p.plp", "--dry-run"}).out.find("neu: "), std::string::npos);
}

// The plan lists the pages the overwrite setting keeps, and counts them.
TEST(CliDryRun, ListsThePagesTheOverwriteSettingKeeps) {
    TempDir dir, site;
    WriteFile(dir / "p.plp", CrLf({"[files]", "destination-directory=" + site.Path(),
                                   "[content-page]", "empty-pages=1", "empty-overwrite=0", "[menu]",
                                   "count=1", "text_0=Eins", "file_0=eins.htm"}));
    ASSERT_EQ(RunCli({"build", dir / "p.plp"}).status, 0);
    CliRun plan = RunCli({"build", dir / "p.plp", "--dry-run"});
    EXPECT_EQ(plan.status, 0) << plan.err;
    EXPECT_NE(plan.out.find("übersprungen: " + site.Path() + "/eins.htm (Überschreiben ist aus)\n"),
              std::string::npos)
        << plan.out;
    EXPECT_NE(plan.out.find(" 3 übersprungen, 0 Fehler\n"), std::string::npos) << plan.out;
}

// Tables that do not open say why on the line below the message that names them, and a dry run
// (with the opening and the table check before it) makes nothing anywhere: a data source whose
// database file is missing is reported, the file is not made.
TEST(CliDryRun, TablesThatDoNotOpenSayWhyAndNoFileIsMade) {
    TempDir dir, site;
    WriteFile(dir / "odbcinst.ini",
              "[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n");
    WriteFile(dir / "odbc.ini",
              "[Kasse]\nDriver=SQLite3\nDatabase=" + (dir / "kasse.sqlite") + "\n");
    // A dBase table with a memo field, without its memo file.
    std::string dbf(32, '\0');
    dbf[0] = '\x83';
    dbf[4] = 1;    // one record
    dbf[8] = 65;   // header length
    dbf[10] = 11;  // record length
    std::string field(32, '\0');
    field.replace(0, 4, "TEXT");
    field[11] = 'M';
    field[16] = 10;
    WriteFile(dir / "notiz.dbf", dbf + field + "\r" + "          1" + "\x1A");
    WriteFile(dir / "p.plp",
              SmallProject(site.Path(),
                           {"[table]", "mainmenu_database=Kasse", "mainmenu_table=Artikel",
                            "mainmenu_table_type=bde_table", "submenu_database=" + dir.Path(),
                            "submenu_table=notiz.dbf", "submenu_table_type=dbase_table"}));
    const auto before = FilesAndTimes(dir.Path());
    setenv("ODBCSYSINI", dir.Path().c_str(), 1);
    setenv("ODBCINI", (dir / "odbc.ini").c_str(), 1);
    CliRun r = RunCli({"build", dir / "p.plp", "--dry-run"});
    unsetenv("ODBCSYSINI");
    unsetenv("ODBCINI");
    EXPECT_EQ(FilesAndTimes(dir.Path()), before);
    EXPECT_EQ(site.EntryCount(), 0u);
    const auto lines = Lines(r.err);
    ASSERT_GE(lines.size(), 4u) << r.err;
    EXPECT_EQ(lines[0], "Fehler beim Öffnen der Datei:Artikel");
    EXPECT_EQ(lines[1], "Die Datenquelle Kasse antwortet nicht! Ihre Datenbankdatei " +
                            (dir / "kasse.sqlite") + " fehlt.");
    EXPECT_EQ(lines[2], "Fehler beim Einlesen der Datei:notiz.dbf");
    EXPECT_EQ(lines[3], "Die Tabelle notiz.dbf braucht die Memodatei notiz.dbt, die fehlt!");
}

// publish to a folder target: only what changed goes; what cannot be published exits 2.
TEST(CliPublish, AFolderTargetGetsOnlyWhatChanged) {
    TempDir dir, site, server, cache;
    const std::string project = dir / "demo.plp";
    fs::copy_file(PAGLOOM_DEMO_PROJECT, project);
    const std::string plain = ReadFile(project);
    ASSERT_EQ(RunCli({"build", project, "--dest", site.Path()}).status, 0);
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);

    CliRun none = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("nennt kein Ziel zum Veröffentlichen"), std::string::npos) << none.err;

    WriteFile(project, plain + CrLf({"[publish]", "protocol=sftp", "host=www.example.org"}));
    EXPECT_EQ(RunCli({"publish", project, "--dest", site.Path()}).status, 2);

    WriteFile(project, plain + CrLf({"[publish]", "protocol=folder   ; ein Ordner",
                                     "remote-folder=" + server.Path()}));
    CliRun plan = RunCli({"publish", project, "--dest", site.Path(), "--dry-run"});
    EXPECT_EQ(plan.status, 0) << plan.err;
    EXPECT_EQ(server.EntryCount(), 0u);
    CliRun first = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(fs::exists(server / "index.htm"));
    EXPECT_TRUE(fs::exists(server / ".pagloom-publish.json"));
    WriteFile(site / "kontakt.htm", "neu\r\n");
    CliRun second = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("geändert: kontakt.htm\n"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("Veröffentlicht: 0 neu, 1 geändert, 0 gelöscht, "), std::string::npos)
        << second.out;
    EXPECT_EQ(ReadFile(server / "kontakt.htm"), "neu\r\n");
    // Built and published in one go; a failed build publishes nothing.
    CliRun both = RunCli({"build", project, "--dest", site.Path(), "--publish"});
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(ReadFile(server / "kontakt.htm"), ReadFile(site / "kontakt.htm"));
    EXPECT_NE(both.out.find("Veröffentlicht: 0 neu, 1 geändert, "), std::string::npos) << both.out;
    // A group publishes each member to its own target after building them.
    const std::string other = dir / "ohne-ziel.plp";
    fs::create_directory(dir / "andere");
    WriteFile(other, CrLf({"[files]", "destination-directory=" + dir / "andere"}));
    std::string withDest = ReadFile(project);
    const size_t at = withDest.find("destination-directory=");
    ASSERT_NE(at, std::string::npos);
    withDest.insert(at + 22, site.Path());
    WriteFile(project, withDest);
    WriteFile(dir / "g.plg",
              CrLf({"[projects]", "count=2", "filename_1=" + other, "filename_2=" + project}));
    fs::remove(site / "kontakt.htm");  // the group's build makes it again
    CliRun group = RunCli({"group", dir / "g.plg", "--publish"});
    EXPECT_EQ(group.status, 0) << group.err;
    EXPECT_NE(group.out.find("Projekt " + other + ":\nkein Ziel zum Veröffentlichen\n"),
              std::string::npos)
        << group.out;
    EXPECT_NE(group.out.find("Projekt " + project + ":\n"), std::string::npos) << group.out;
    EXPECT_EQ(ReadFile(server / "kontakt.htm"), ReadFile(site / "kontakt.htm"));
    CliRun failed = RunCli({"build", project, "--dest", site / "fehlt", "--publish"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out.find("Veröffentlich"), std::string::npos) << failed.out;
    unsetenv("XDG_CACHE_HOME");

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"publish", project, "--max-delete", "3"},
          std::vector<std::string>{"publish", project, "--connections", "9"},
          std::vector<std::string>{"publish"}})
        EXPECT_EQ(RunCli(wrong).status, 64);
}

// publish over SFTP to a real OpenSSH server: an unknown host key stops the run and is named,
// the flag that accepts it stores it in the project, and no secret reaches any output.
// Over each protocol: an unknown server key stops before anything is sent and is named, a
// wrong one is refused, the accepted one is stored in the project; the password (from the
// environment) is never shown nor stored.
class CliPublishOver : public testing::TestWithParam<std::string> {};

TEST_P(CliPublishOver, OnlyAnAcceptedServerKeyIsTrusted) {
    std::unique_ptr<pagloom::test::SshServer> ssh;
    std::unique_ptr<pagloom::test::TlsServer> tls;
    std::vector<std::string> section = {"[publish]", "protocol=" + GetParam(), "host=127.0.0.1"};
    std::string folder, key, secret = "Geheim-4711", wrongKey;
    if (GetParam() == "sftp") {
        ssh = std::make_unique<pagloom::test::SshServer>();
        ASSERT_TRUE(ssh->Running()) << ssh->Error();
        folder = ssh->Folder();
        key = ssh->Fingerprint();
        wrongKey = "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
        section.insert(section.end(), {"port=" + std::to_string(ssh->Port()), "user=" + ssh->User(),
                                       "remote-folder=" + folder, "key-file=" + ssh->ClientKey()});
    } else {
        if (GetParam() == "ftps")
            tls = std::make_unique<pagloom::test::FtpsServer>();
        else
            tls = std::make_unique<pagloom::test::DavServer>();
        if (tls->Skipped()) GTEST_SKIP() << tls->Error();
        ASSERT_TRUE(tls->Running()) << tls->Error();
        folder = tls->Folder();
        key = tls->Pin();
        secret = tls->Password();
        wrongKey = "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";
        section.insert(section.end(), {"port=" + std::to_string(tls->Port()), "user=" + tls->User(),
                                       "remote-folder=" + tls->RemoteFolder()});
    }
    TempDir dir, site, cache;
    const std::string project = dir / "demo.plp";
    fs::copy_file(PAGLOOM_DEMO_PROJECT, project);
    WriteFile(project, ReadFile(project) + CrLf(section));
    ASSERT_EQ(RunCli({"build", project, "--dest", site.Path()}).status, 0);
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    setenv("HOME", cache.Path().c_str(), 1);  // no known_hosts of the machine's user
    setenv("PAGLOOM_PASSWORD", secret.c_str(), 1);

    if (ssh) {
        // A key that changed against known_hosts stops the run even when the new one is
        // accepted on the command line: the old one is removed on purpose first.
        std::string line = ssh->KnownHostsLine();
        const size_t blob = line.rfind(' ') + 20;
        ASSERT_LT(blob, line.size());
        line[blob] = line[blob] == 'A' ? 'B' : 'A';
        fs::create_directories(cache / ".ssh");
        WriteFile(cache / ".ssh/known_hosts", line + "\n");
        CliRun changed =
            RunCli({"publish", project, "--dest", site.Path(), "--accept-host-key", key});
        EXPECT_EQ(changed.status, 2);
        EXPECT_NE(changed.err.find("ssh-keygen -R"), std::string::npos) << changed.err;
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_EQ(ReadFile(project).find("host-key="), std::string::npos);
        fs::remove(cache / ".ssh/known_hosts");
    }

    CliRun unknown = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("--accept-host-key " + key), std::string::npos) << unknown.err;
    EXPECT_TRUE(fs::is_empty(folder));

    CliRun wrong =
        RunCli({"publish", project, "--dest", site.Path(), "--accept-host-key", wrongKey});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(fs::is_empty(folder));

    CliRun accepted = RunCli({"publish", project, "--dest", site.Path(), "--accept-host-key", key});
    EXPECT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_NE(ReadFile(project).find("host-key=" + key + "\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(folder + "/index.htm"), ReadFile(site / "index.htm"));
    CliRun again = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Veröffentlicht: 0 neu, 0 geändert, 0 gelöscht, "), std::string::npos)
        << again.out;
    for (const CliRun* r : {&unknown, &wrong, &accepted, &again}) {
        EXPECT_EQ(r->out.find(secret), std::string::npos);
        EXPECT_EQ(r->err.find(secret), std::string::npos);
    }
    EXPECT_EQ(ReadFile(project).find(secret), std::string::npos);
    unsetenv("PAGLOOM_PASSWORD");
    unsetenv("XDG_CACHE_HOME");
    setenv("HOME", oldHome.c_str(), 1);
}

INSTANTIATE_TEST_SUITE_P(Protocols, CliPublishOver, testing::Values("sftp", "ftps", "webdav"));

// Plain FTP sends name and password readable: without --allow-plain-ftp nothing connects (the
// port here has no server, so a login attempt would say it could not connect).
TEST(CliPublish, PlainFtpLogsInOnlyWhenAllowed) {
    TempDir dir, site, cache;
    const std::string project = dir / "demo.plp";
    fs::copy_file(PAGLOOM_DEMO_PROJECT, project);
    WriteFile(project, ReadFile(project) + CrLf({"[publish]", "protocol=ftp", "host=127.0.0.1",
                                                 "port=9", "user=anna", "remote-folder=/"}));
    ASSERT_EQ(RunCli({"build", project, "--dest", site.Path()}).status, 0);
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    setenv("PAGLOOM_PASSWORD", "Geheim-4711", 1);
    CliRun refused = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--allow-plain-ftp"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("Keine Verbindung"), std::string::npos) << refused.err;
    CliRun allowed = RunCli({"publish", project, "--dest", site.Path(), "--allow-plain-ftp"});
    EXPECT_EQ(allowed.status, 2);
    EXPECT_NE(allowed.err.find("Keine Verbindung zu 127.0.0.1"), std::string::npos) << allowed.err;
    unsetenv("PAGLOOM_PASSWORD");
    unsetenv("XDG_CACHE_HOME");
}

// A password that is nowhere stops the run with a message that says where it may come from;
// one in the desktop's secret store is found there.
TEST(CliPublish, ThePasswordComesFromTheDesktopsSecretStore) {
    pagloom::test::DavServer server;
    ASSERT_TRUE(server.Running()) << server.Error();
    pagloom::test::Keyring& keyring = pagloom::test::Keyring::Shared();
    ASSERT_TRUE(keyring.Running()) << keyring.Error();
    TempDir dir, site, cache;
    const std::string project = dir / "demo.plp";
    fs::copy_file(PAGLOOM_DEMO_PROJECT, project);
    WriteFile(project,
              ReadFile(project) +
                  CrLf({"[publish]", "protocol=webdav", "host=127.0.0.1",
                        "port=" + std::to_string(server.Port()), "user=" + server.User(),
                        "remote-folder=" + server.RemoteFolder(), "host-key=" + server.Pin()}));
    ASSERT_EQ(RunCli({"build", project, "--dest", site.Path()}).status, 0);
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    unsetenv("PAGLOOM_PASSWORD");

    CliRun none = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("secret-tool store --label=pagloom service pagloom protocol webdav"),
              std::string::npos)
        << none.err;
    EXPECT_TRUE(fs::is_empty(server.Folder()));

    const std::string store = "printf %s '" + server.Password() +
                              "' | secret-tool store --label=pagloom service pagloom protocol "
                              "webdav user " +
                              server.User() + " host 127.0.0.1 port " +
                              std::to_string(server.Port());
    ASSERT_EQ(std::system(store.c_str()), 0);
    CliRun stored = RunCli({"publish", project, "--dest", site.Path()});
    EXPECT_EQ(stored.status, 0) << stored.err;
    EXPECT_EQ(ReadFile(server.Folder() + "/index.htm"), ReadFile(site / "index.htm"));
    unsetenv("XDG_CACHE_HOME");
}

TEST(CliCheck, BuiltDemoChecksCleanAndBrokenLinksExit1) {
    TempDir dest;
    ASSERT_EQ(RunCli({"build", PAGLOOM_DEMO_PROJECT, "--dest", dest.Path()}).status, 0);
    CliRun clean = RunCli({"check", PAGLOOM_DEMO_PROJECT, "--dest", dest.Path()});
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(clean.out, "");
    EXPECT_EQ(clean.err, "");

    fs::remove(dest / "rosen.htm");
    CliRun broken = RunCli({"check", PAGLOOM_DEMO_PROJECT, "--dest", dest.Path()});
    EXPECT_EQ(broken.status, 1);
    const auto lines = Lines(broken.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "rosen.htm: Datei der Site fehlt");
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_NE(lines[i].find(": Ziel fehlt: "), std::string::npos) << lines[i];
    EXPECT_NE(broken.out.find("index.js:"), std::string::npos);

    CliRun noSite = RunCli({"check", PAGLOOM_DEMO_PROJECT, "--dest", dest / "fehlt"});
    EXPECT_EQ(noSite.status, 2);
    EXPECT_EQ(noSite.err, "Das Verzeichnis " + (dest / "fehlt") + " existiert nicht!\n");
}

TEST(CliCheck, ASiteNeverBuiltIsNotClean) {
    TempDir site;
    CliRun r = RunCli({"check", PAGLOOM_DEMO_PROJECT, "--dest", site.Path()});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out.rfind("index.htm: Datei der Site fehlt\n", 0), 0u) << r.out;
}

TEST(CliBuild, BuildsTheDemoAndLogsEveryFileOnStdout) {
    TempDir dest;
    CliRun first = RunCli({"build", PAGLOOM_DEMO_PROJECT, "--dest", dest.Path()});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    auto lines = Lines(first.out);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Erstelle Dateien in " + dest.Path() + ":");
    EXPECT_EQ(lines[lines.size() - 2], "Erstellen der Dateien fertig!");
    EXPECT_TRUE(fs::exists(fs::path(dest.Path()) / "index.htm"));
    EXPECT_TRUE(fs::exists(fs::path(dest.Path()) / "oeffnungszeiten.htm"));
    EXPECT_FALSE(fs::exists(fs::path(dest.Path()) / "winterdienst.htm")) << "inactive entry built";

    // The second build changes nothing; the log's umlaut arrives as UTF-8.
    CliRun second = RunCli({"build", PAGLOOM_DEMO_PROJECT, "--dest", dest.Path()});
    ASSERT_EQ(second.status, 0);
    const auto log = Lines(second.out);
    int files = 0;
    for (size_t i = 0; i + 1 < log.size(); ++i) {
        if (log[i].size() > 3 && log[i].compare(log[i].size() - 3, 3, "...") == 0) {
            ++files;
            EXPECT_EQ(log[i + 1], "Keine Änderung") << log[i];
        }
    }
    EXPECT_EQ(files, 19);
}

// Paths with umlauts work from the command line and from a project file alike.
TEST(CliBuild, FoldersWithUmlautsFromCommandLineAndProjectFile) {
    TempDir dir;
    const fs::path site = fs::path(dir.Path()) / "Übersicht";
    fs::create_directory(site);
    CliRun fromArgs = RunCli({"build", PAGLOOM_DEMO_PROJECT, "--dest", site.string()});
    ASSERT_EQ(fromArgs.status, 0) << fromArgs.err;
    EXPECT_EQ(Lines(fromArgs.out)[0], "Erstelle Dateien in " + site.string() + ":");
    EXPECT_TRUE(fs::exists(site / "index.htm"));

    // The project file stores the folder in Windows-1252 ("\xDC" is "Ü").
    WriteFile(dir / "p.plp", CrLf({"[files]", "destination-directory=" + dir.Path() +
                                                  "/\xDC"
                                                  "bersicht"}));
    CliRun fromProject = RunCli({"build", dir / "p.plp"});
    ASSERT_EQ(fromProject.status, 0) << fromProject.err;
    EXPECT_EQ(fromProject.err, "");
}

// The table demo names its CSV folder and templates relative to its own folder: the program
// finds them wherever it was started.
TEST(CliBuild, RelativePathsOfTheProjectDoNotDependOnTheWorkingFolder) {
    TempDir dir;
    fs::copy(PAGLOOM_CSV_DEMO_FOLDER, dir / "demo");
    const std::string project = dir / "demo/csv-demo.plp";
    std::map<std::string, std::string> sites[2];
    const std::string starts[2] = {dir.Path(), "/"};
    for (int run = 0; run < 2; ++run) {
        const std::string site = dir / ("site" + std::to_string(run));
        fs::create_directory(site);
        RunEnv env;
        env.workingDir = starts[run];
        CliRun r = RunCli({"build", project, "--dest", site}, env);
        ASSERT_EQ(r.status, 0) << starts[run] << ": " << r.err;
        EXPECT_EQ(r.err, "");
        sites[run] = FilesBelow(site);
    }
    EXPECT_TRUE(sites[0].count("Gehoelze.htm"));
    EXPECT_EQ(sites[0], sites[1]);
}

TEST(CliBuild, WithoutDestinationNothingIsBuilt) {
    CliRun r = RunCli({"build", PAGLOOM_DEMO_PROJECT});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Sie haben kein Zielverzeichnis angegeben!\n");
}

// A table or a picture named as the project is refused, and the site in --dest stays as it is.
TEST(CliBuild, AFileThatIsNoProjectIsRefused) {
    TempDir dir, site;
    WriteFile(site / "index.htm", "meine Seite\r\n");
    WriteFile(dir / "katalog.csv", "Haupt;Unter\r\nGarten;S\xE4gen\r\n");
    for (const std::string& file : {dir / "katalog.csv", dir.Path()}) {
        CliRun r = RunCli({"build", file, "--dest", site.Path()});
        EXPECT_EQ(r.status, 2) << file;
        EXPECT_EQ(r.err, file + " ist keine Projektdatei!\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadFile(site / "index.htm"), "meine Seite\r\n");
}

TEST(CliBuild, MessagesGoToStderrAsUtf8) {
    // The project's folder is gone: the reader says so (Windows-1252 in the file, UTF-8 out),
    // the destination is emptied and the build cannot start.
    TempDir dir;
    WriteFile(dir / "p.plp", SmallProject("/nicht/da/M\xFCll"));
    CliRun r = RunCli({"build", dir / "p.plp"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "Das Verzeichnis /nicht/da/Müll existiert nicht!\n"
              "Sie haben kein Zielverzeichnis angegeben!\n");
    EXPECT_EQ(r.out, "");
}

TEST(CliBuild, DestOverridesTheProjectsFolder) {
    TempDir project, other;
    WriteFile(project / "p.plp", SmallProject(project.Path()));
    CliRun r = RunCli({"build", project / "p.plp", "--dest=" + other.Path()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(fs::path(other.Path()) / "herd.htm"));
    EXPECT_FALSE(fs::exists(fs::path(project.Path()) / "herd.htm"));
}

TEST(CliBuild, ExitStatusTellsHowTheBuildEnded) {
    TempDir dir;
    WriteFile(dir / "p.plp", SmallProject(""));
    WriteFile(dir / "template.plp", SmallProject("", {"[content-page]", "template-pages=1",
                                                      "template-file=" + (dir / "fehlt.htm")}));

    // Files that cannot be written: the build reaches its end, with "Fehler!" lines.
    CliRun failed = RunCli({"build", dir / "p.plp", "--dest", dir / "gibt-es-nicht"});
    EXPECT_EQ(failed.status, 1) << failed.out;
    EXPECT_NE(failed.out.find("\nFehler!\n"), std::string::npos);
    EXPECT_NE(failed.out.find("Erstellen der Dateien fertig!"), std::string::npos);

    // A template that cannot be read ends the build early: message, no end line.
    CliRun early = RunCli({"build", dir / "template.plp", "--dest", dir.Path()});
    EXPECT_EQ(early.status, 2);
    EXPECT_NE(early.err, "");
    EXPECT_EQ(early.out.find("Erstellen der Dateien fertig!"), std::string::npos);

    // A project file that does not exist is not built with defaults.
    CliRun missing = RunCli({"build", dir / "fehlt.plp", "--dest", dir.Path()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "Die Projektdatei " + (dir / "fehlt.plp") + " existiert nicht!\n");
    EXPECT_EQ(missing.out, "");
}

TEST(CliBuild, IncompleteTableProjectIsRefused) {
    TempDir dir;
    WriteFile(dir / "t.plp",
              SmallProject(dir.Path(), {"[content-page]", "tab-template-pages=1", "[table]",
                                        "mainmenu_content_source=1", "submenu_content_source=0"}));
    CliRun r = RunCli({"build", dir / "t.plp"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Sie haben keine Tabelle im Hauptmenü-Regiser ausgewählt!\n");
    EXPECT_EQ(r.out, "");
}

TEST(CliBuild, RegionFlagsOverrideTheProjectsPreset) {
    struct Case {
        const char* preset;  // content-page/dw-editable-overwrite
        const char* flag;    // "" for none
        bool kept;
    };
    const Case cases[] = {
        {"0", "", true},
        {"0", "--overwrite-regions", false},
        {"1", "", false},
        {"1", "--keep-regions", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("preset ") + c.preset + " flag " + c.flag);
        TempDir dir;
        WriteFile(dir / "t.dwt", CrLf({"<html>", "<body>",
                                       "<!-- TemplateBeginEditable name=\"inhalt\" -->Vorlage<!-- "
                                       "TemplateEndEditable -->",
                                       "</body>", "</html>"}));
        WriteFile(
            dir / "p.plp",
            SmallProject(dir.Path(), {"[content-page]", "dw-template-pages=1",
                                      "dw-template-file=" + (dir / "t.dwt"), "dw-template-update=1",
                                      std::string("dw-editable-overwrite=") + c.preset}));
        ASSERT_EQ(RunCli({"build", dir / "p.plp"}).status, 0);
        std::string page = ReadFile(dir / "herd.htm");
        auto at = page.find(">Vorlage<");
        ASSERT_NE(at, std::string::npos) << page;
        WriteFile(dir / "herd.htm", page.replace(at + 1, 7, "Eigener Text"));

        std::vector<std::string> args = {"build", dir / "p.plp"};
        if (*c.flag) args.push_back(c.flag);
        CliRun r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        std::string after = ReadFile(dir / "herd.htm");
        EXPECT_EQ(after.find("Eigener Text") != std::string::npos, c.kept) << after;
        EXPECT_EQ(after.find(">Vorlage<") != std::string::npos, !c.kept) << after;
    }
}

TEST(CliGroup, ExitStatusOfAGroupBuild) {
    TempDir dir;
    WriteFile(dir / "gut.plp",
              SmallProject(dir.Path(), {"[project]", "lastsave=02.03.2026 12:00:00"}));
    WriteFile(dir / "tabelle.plp",
              SmallProject(dir.Path(), {"[content-page]", "tab-template-pages=1", "[table]",
                                        "mainmenu_content_source=1", "submenu_content_source=0"}));
    auto group = [&](const std::vector<std::string>& projects) {
        std::vector<std::string> lines = {"[projects]", "count=" + std::to_string(projects.size())};
        for (size_t i = 0; i < projects.size(); ++i)
            lines.push_back("filename_" + std::to_string(i + 1) + "=" + (dir / projects[i]));
        WriteFile(dir / "g.plg", CrLf(lines));
        return RunCli({"group", dir / "g.plg"});
    };

    CliRun ok = group({"gut.plp"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ok.err, "");
    const auto log = Lines(ok.out);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "Projektgruppe " + (dir / "g.plg") + " erstellen:");
    EXPECT_EQ(log[log.size() - 2], "Projektgruppe " + (dir / "g.plg") + " erstellen fertig");
    EXPECT_NE(ReadFile(dir / "g.plg").find("lastsave_1=02.03.2026 12:00:00\r\n"), std::string::npos)
        << "the group is saved with the projects' LastSave";

    CliRun failed = group({"tabelle.plp", "gut.plp"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("Fehler in Projekt: " + (dir / "tabelle.plp") + "\n"),
              std::string::npos)
        << failed.err;
    EXPECT_NE(failed.out.find("Erstellen der Dateien fertig!"), std::string::npos);

    CliRun unreadable = RunCli({"group", dir / "fehlt.plg"});
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_EQ(unreadable.err,
              "Die Gruppendatei " + (dir / "fehlt.plg") + " kann nicht gelesen werden!\n");
    EXPECT_EQ(unreadable.out, "");
}

TEST(CliBuild, MissingMenuLibraryIsReportedAndTheBuildGoesOn) {
    // A copy of the program in a folder without default.js.
    TempDir bin, site;
    fs::copy_file(PAGLOOM_CLI_EXE, bin / "pagloom-cli");
    CliRun r = RunCli({"build", PAGLOOM_DEMO_PROJECT, "--dest", site.Path()},
                      {.exe = bin / "pagloom-cli"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "Die Menü-Bibliothek " + (bin / "default.js") +
                  " kann nicht gelesen werden; das Menü-Skript enthält nur die Menüdaten.\n");
    EXPECT_TRUE(fs::exists(fs::path(site.Path()) / "index.js"));
}

// A run that goes to its end but loses something exits 1, never 0; 2 stays for a run that
// could not build at all.
TEST(CliExitStatus, RunsThatEndButLoseSomethingExit1) {
    TempDir dir;
    const std::string end = "Erstellen der Dateien fertig!";
    WriteFile(dir / "gut.plp",
              SmallProject(dir.Path(), {"[project]", "lastsave=02.03.2026 12:00:00"}));
    ASSERT_EQ(RunCli({"build", dir / "gut.plp"}).status, 0);

    // A Dreamweaver template without its <html> or </html> tag: pages without their frame.
    const std::vector<std::pair<std::string, std::vector<std::string>>> templates = {
        {"kein <HTML>", {"<body>", "</body>", "</html>"}},
        {"kein </HTML>", {"<html>", "<body>", "</body>"}},
    };
    for (size_t i = 0; i < templates.size(); ++i) {
        const auto& [lacks, lines] = templates[i];
        SCOPED_TRACE(lacks);
        const std::string site = dir / ("dw" + std::to_string(i));
        fs::create_directory(site);
        WriteFile(site + ".dwt", CrLf(lines));
        WriteFile(dir / "dw.plp", SmallProject(site, {"[content-page]", "dw-template-pages=1",
                                                      "dw-template-file=" + site + ".dwt"}));
        CliRun r = RunCli({"build", dir / "dw.plp"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Fehler: Vorlagen-Datei enthält " + lacks + "-Tag\n"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.out.find(end), std::string::npos);
    }

    // A group whose member ended early (its template is missing) still ran to its end.
    fs::create_directory(dir / "ohne");
    WriteFile(dir / "ohne-vorlage.plp",
              SmallProject(dir / "ohne", {"[content-page]", "template-pages=1",
                                          "template-file=" + (dir / "fehlt.htm")}));
    const auto writeGroup = [&](const std::vector<std::string>& projects,
                                const std::string& padding) {
        std::vector<std::string> lines = {"[projects]", "count=" + std::to_string(projects.size())};
        for (size_t i = 0; i < projects.size(); ++i)
            lines.push_back("filename_" + std::to_string(i + 1) + "=" + (dir / projects[i]));
        lines.insert(lines.end(), {"[notiz]", "text=" + padding});
        WriteFile(dir / "g.plg", CrLf(lines));
    };
    writeGroup({"ohne-vorlage.plp", "gut.plp"}, "");
    CliRun early = RunCli({"group", dir / "g.plg"});
    EXPECT_EQ(early.status, 1) << early.err;
    EXPECT_NE(early.err.find("fehlt.htm kann nicht gelesen werden"), std::string::npos);
    EXPECT_NE(early.out.find(end), std::string::npos) << "the second project is built";
    EXPECT_NE(early.out.find("Projektgruppe " + (dir / "g.plg") + " erstellen fertig"),
              std::string::npos);

    // A group file that cannot be saved at the end. The site is already built, so the group's
    // build writes nothing; only the group file is larger than any file may grow.
    const std::string padding(8000, 'x');
    writeGroup({"gut.plp"}, padding);
    const std::string groupBefore = ReadFile(dir / "g.plg");
    CliRun unsaved = RunCli({"group", dir / "g.plg"}, {.fileSizeLimit = 4096});
    EXPECT_EQ(unsaved.status, 1) << unsaved.out;
    EXPECT_EQ(unsaved.err, "In " + (dir / "g.plg") + " kann nicht geschrieben werden\n");
    EXPECT_NE(unsaved.out.find(end), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "g.plg"), groupBefore);

    // A log that cannot be written is lost: say so where it can still be read, and finish the
    // build rather than end it half-way.
    const std::vector<std::pair<std::string, RunEnv>> lostLogs = {
        {"full", {.stdoutFile = "/dev/full"}},
        {"pipe", {.stdoutClosedPipe = true}},
    };
    for (const auto& [name, env] : lostLogs) {
        SCOPED_TRACE(name);
        fs::create_directory(dir / name);
        CliRun r = RunCli({"build", dir / "gut.plp", "--dest", dir / name}, env);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(
            r.err,
            "pagloom-cli: Das Protokoll kann nicht auf die Standardausgabe geschrieben werden!\n");
        EXPECT_TRUE(fs::exists(fs::path(dir / name) / "herd.htm")) << "the build itself went on";
    }
}

// A spreadsheet's export: UTF-8 with a byte order mark, values with blanks left unquoted. The
// slots' "blanks_in_values" keys make the table demo read it; without them the stored rule
// splits at the blanks and the tables do not open.
TEST(CliBuild, SpreadsheetExportsReadWithBlanksInValues) {
    TempDir dir;
    fs::copy(PAGLOOM_CSV_DEMO_FOLDER, dir / "demo");
    WriteFile(dir / "demo/katalog.csv",
              "\xEF\xBB\xBF"
              "Bereich;Gruppe;Pflanze;Preis;Hinweis\r\n"
              "Heimwerker & Garten;S\xC3\xA4gen;B\xC3\xBCgel s\xC3\xA4ge;12,90 \xE2\x82\xAC;"
              "F\xC3\xBCr Holz\r\n");
    const std::string project = dir / "demo/csv-demo.plp";
    const std::string plain = ReadFile(project);
    const size_t table = plain.find("[table]\r\n");
    ASSERT_NE(table, std::string::npos);
    std::string withBlanks = plain;
    withBlanks.insert(table + 9,
                      "firstpage_blanks_in_values=1\r\nmainmenu_blanks_in_values=1\r\n"
                      "submenu_blanks_in_values=1\r\n");

    const std::string site = dir / "site";
    fs::create_directory(site);
    WriteFile(project, withBlanks);
    CliRun r = RunCli({"build", project, "--dest", site});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string script = ReadFile(site + "/index.js");
    EXPECT_NE(script.find("new y_menrecord(\"Heimwerker & Garten\""), std::string::npos)
        << script.substr(0, 800);
    EXPECT_NE(script.find("new y_menrecord(\"S&#228;gen\""), std::string::npos);

    WriteFile(project, plain);
    r = RunCli({"build", project, "--dest", site, "--dry-run"});
    EXPECT_NE(r.err.find("Fehler beim Einlesen der Datei:katalog.csv"), std::string::npos) << r.err;
}
