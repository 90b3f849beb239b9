// SPDX-License-Identifier: MIT
// Paths a project file names relative to itself (templates, table folders) are read from the
// project file's folder, wherever the program was started.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "ports/Host.h"
#include "tables/SlotOpening.h"

namespace pagloom {
namespace {

namespace stdfs = std::filesystem;
using test::FilesBelow;
using test::TempDir;

TEST(ProjectInputPath, RelativePathsComeFromTheProjectFilesFolder) {
    struct Case {
        const char* projectFile;
        const char* stored;
        const char* expected;
    };
    const Case cases[] = {
        {"/p/site.plp", "vorlage.htm", "/p/vorlage.htm"},
        {"/p/site.plp", "tpl/vorlage.htm", "/p/tpl/vorlage.htm"},
        {"/p/site.plp", "tpl\\vorlage.htm", "/p/tpl/vorlage.htm"},
        {"/p/site.plp", "../daten", "/p/../daten"},
        {"/p/site.plp", ".", "/p/."},
        {"/site.plp", "v.htm", "/v.htm"},
        {"p/site.plp", "v.htm", "p/v.htm"},
        {"site.plp", "tpl\\v.htm", "tpl/v.htm"},
        // Absolute paths, empty ones and a project never saved keep the stored text.
        {"/p/site.plp", "/abs/v.htm", "/abs/v.htm"},
        {"/p/site.plp", "\\\\server\\v.htm", "\\\\server\\v.htm"},
        {"/p/site.plp", "c:\\Vorlagen\\v.htm", "c:\\Vorlagen\\v.htm"},
        {"/p/site.plp", "", ""},
        {"", "tpl\\v.htm", "tpl\\v.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProjectInputPath(c.projectFile, c.stored), c.expected)
            << c.projectFile << " + " << c.stored;

    // A table file named without a folder lies beside the project file.
    EXPECT_EQ(ProjectTableFolder("/p/site.plp", "", "menu.csv"), "/p");
    EXPECT_EQ(ProjectTableFolder("/site.plp", "", "menu.csv"), "/");
    EXPECT_EQ(ProjectTableFolder("site.plp", "", "menu.csv"), "");
    EXPECT_EQ(ProjectTableFolder("/p/site.plp", "", "/abs/menu.csv"), "");
    EXPECT_EQ(ProjectTableFolder("/p/site.plp", "daten", "menu.csv"), "/p/daten");
    EXPECT_EQ(ProjectTableFolder("", "", "menu.csv"), "");
}

class WorkingFolder {
  public:
    explicit WorkingFolder(const std::string& dir) : before_(stdfs::current_path()) {
        stdfs::current_path(dir);
    }
    ~WorkingFolder() { stdfs::current_path(before_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

  private:
    stdfs::path before_;
};

// Sets `key=` in the project file text to `value`.
void SetKey(std::string& text, const std::string& key, const std::string& value) {
    const size_t at = text.find("\n" + key + "=");
    ASSERT_NE(at, std::string::npos) << key;
    const size_t from = at + key.size() + 2;
    text.replace(from, text.find('\r', from) - from, value);
}

// Opens and builds the project at `plp` with `workingFolder` as the working folder; returns the
// site's files.
std::map<std::string, std::string> SiteBuiltFrom(const std::string& plp,
                                                 const std::string& workingFolder,
                                                 const std::string& site) {
    stdfs::create_directory(site);
    WorkingFolder cwd(workingFolder);
    DiskFileSystem disk;
    RecordingHost host(PAGLOOM_RESOURCES);
    ProjectDocument doc(disk, host);
    EXPECT_TRUE(doc.LoadMenuScriptLibrary());
    EXPECT_TRUE(doc.Open(plp));
    doc.Build.Destination = site;
    const std::optional<BuildOutcome> outcome = doc.CheckAndBuild();
    EXPECT_TRUE(outcome && outcome->Succeeded()) << plp << " from " << workingFolder;
    EXPECT_EQ(host.messages, std::vector<std::string>{}) << plp << " from " << workingFolder;
    return FilesBelow(site);
}

TEST(RelativeProjectPaths, TheSameProjectBuildsTheSameSiteFromAnyWorkingFolder) {
    TempDir dir;
    // The table demo names its CSV folder (".") and its three templates relative to itself.
    const std::string tables = dir / "tabellen";
    stdfs::copy(PAGLOOM_RESOURCES "/../examples/csv-demo", tables);
    // The plain demo with a template in a sub-folder, named with a Windows separator: once
    // as the content pages' template, once as the Dreamweaver template.
    const std::string demo = test::ReadFile(PAGLOOM_RESOURCES "/../examples/demo/demo.plp");
    test::WriteFile(dir / "seiten/vorlagen/seite.htm", "<html><body>Vorlage</body></html>\r\n");
    std::string plain = demo;
    SetKey(plain, "empty-pages", "0");
    SetKey(plain, "template-pages", "1");
    SetKey(plain, "template-file", "vorlagen\\seite.htm");
    SetKey(plain, "firstpage-from-template", "1");
    test::WriteFile(dir / "seiten/seiten.plp", plain);
    test::WriteFile(dir / "dw/vorlagen/seite.dwt",
                    test::CrLf({"<html>", "<head>",
                                "<!-- TemplateBeginEditable name=\"doctitle\" --><title>T</title>"
                                "<!-- TemplateEndEditable -->",
                                "</head>", "<body>",
                                "<!-- TemplateBeginEditable name=\"inhalt\" -->Inhalt"
                                "<!-- TemplateEndEditable -->",
                                "</body>", "</html>"}));
    std::string dw = demo;
    SetKey(dw, "empty-pages", "0");
    SetKey(dw, "dw-template-pages", "1");
    SetKey(dw, "dw-template-file", "vorlagen\\seite.dwt");
    SetKey(dw, "firstpage-from-template", "1");
    test::WriteFile(dir / "dw/dw.plp", dw);

    const std::string projects[] = {tables + "/csv-demo.plp", dir / "seiten/seiten.plp",
                                    dir / "dw/dw.plp"};
    int n = 0;
    for (const std::string& plp : projects) {
        const auto fromTemp = SiteBuiltFrom(plp, dir.Path(), dir / ("a" + std::to_string(n)));
        const auto fromRoot = SiteBuiltFrom(plp, "/", dir / ("b" + std::to_string(n)));
        ++n;
        ASSERT_TRUE(fromTemp.count("erste.htm")) << plp;
        EXPECT_EQ(fromTemp, fromRoot) << plp;
    }
    // The pages really come from the templates.
    EXPECT_NE(test::ReadFile(dir / "a0/Gehoelze.htm").find("Apfelbaum"), std::string::npos);
    EXPECT_NE(test::ReadFile(dir / "a1/erste.htm").find("Vorlage"), std::string::npos);
    EXPECT_NE(test::ReadFile(dir / "a2/erste.htm").find("InstanceBegin"), std::string::npos);
}

TEST(RelativeProjectPaths, ANewProjectReadsRelativePathsFromTheWorkingFolder) {
    TempDir dir;
    dir.Write("menu.csv", "Haupt;Text\r\nHome;a\r\n");
    WorkingFolder cwd(dir.Path());
    DiskFileSystem disk;
    RecordingHost host(dir / "programm");  // no default.plp there: the built-in defaults
    ProjectDocument doc(disk, host);
    doc.New();
    host.messages.clear();
    TableChoice choice{kCsvTable, "", "menu.csv", '\'', ';', true};
    EXPECT_TRUE(SetASCIITab(doc.project, doc.Tables(), ContentSlot::mainmenu, choice, host));
    EXPECT_EQ(doc.project.Tables.Slot[ContentSlot::mainmenu].fields,
              (std::vector<std::string>{"Haupt", "Text"}));
}

}  // namespace
// A Windows path in a stored project names nothing here: a folder or file of that name in the
// working folder is never taken, and the message says it is a Windows path.
TEST(RelativeProjectPaths, WindowsPathsAreNeverTakenFromTheWorkingFolder) {
    TempDir dir;
    // What a Windows path would be as a name in the working folder.
    stdfs::create_directory(dir / "c:\\daten");
    test::WriteFile(dir / "c:\\vorlagen\\seite.htm", "<p>aus dem Arbeitsordner</p>\r\n");
    test::WriteFile(dir / "\\\\server\\vorlage.htm", "<p>aus dem Arbeitsordner</p>\r\n");
    const std::string site = dir / "site";
    stdfs::create_directory(site);
    struct Case {
        std::string key, value, message;
    };
    const std::vector<Case> cases = {
        {"destination-directory", "c:\\daten",
         "Das Verzeichnis c:\\daten existiert nicht!\nc:\\daten ist ein Windows-Pfad, der hier "
         "nicht verf\xFCgbar ist."},
        {"template-file", "c:\\vorlagen\\seite.htm",
         "Die Datei c:\\vorlagen\\seite.htm kann nicht gelesen werden!\nc:\\vorlagen\\seite.htm "
         "ist ein Windows-Pfad, der hier nicht verf\xFCgbar ist."},
        {"template-file", "\\\\server\\vorlage.htm",
         "Die Datei \\\\server\\vorlage.htm kann nicht gelesen werden!\n\\\\server\\vorlage.htm "
         "ist ein Windows-Pfad, der hier nicht verf\xFCgbar ist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<std::string> lines = {
            "[files]",          "destination-directory=" + site,           "[content-page]",
            "template-pages=1", "template-file=" + dir / "gibtsnicht.htm", "template-overwrite=1"};
        for (std::string& l : lines)
            if (l.rfind(c.key + "=", 0) == 0) l = c.key + "=" + c.value;
        lines.insert(lines.end(), {"[menu]", "count=1", "text_0=A", "file_0=a.htm"});
        test::WriteFile(dir / "p.plp", test::CrLf(lines));
        WorkingFolder cwd(dir.Path());
        DiskFileSystem disk;
        RecordingHost host(PAGLOOM_RESOURCES);
        ProjectDocument doc(disk, host);
        ASSERT_TRUE(doc.Open(dir / "p.plp"));
        if (c.key == "destination-directory") {
            EXPECT_EQ(doc.Build.Destination, "");
        } else {
            doc.Build.Destination = site;
            doc.MakeStart();
        }
        EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(test::Exists(site + "/a.htm"));
    }
}

}  // namespace pagloom
