// SPDX-License-Identifier: MIT
// The project document: what opening, new, saving and building do to the project, its tables,
// its file name, its changed mark and the build dialog.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "ports/Host.h"
#include "projectfile/ProjectFile.h"

namespace pagloom {
namespace {

using test::CrLf;
using test::TempDir;

class ProjectDocumentTest : public ::testing::Test {
  protected:
    TempDir dir;
    DiskFileSystem disk;
    RecordingHost host{dir.Path()};  // the program folder, where default.plp is looked for
    ProjectDocument doc{disk, host};
};

// What is not a project is refused with a message naming it, and the open project stays; an
// empty or a missing file still reads as the defaults.
TEST_F(ProjectDocumentTest, OpenRefusesWhatIsNoProject) {
    const std::string site = dir / "site";
    test::WriteFile(site + "/keep", "");
    const std::string good =
        dir.Write("gut.plp", CrLf({"[files]", "destination-directory=" + site}));
    mkfifo((dir / "rohr.plp").c_str(), 0600);
    std::filesystem::create_directory(dir / "ordner.plp");
    std::filesystem::create_symlink("/dev/zero", dir / "null.plp");
    dir.Write("katalog.csv", "Haupt;Unter;Preis\r\nGarten;S\xE4gen;12,90\r\n");
    dir.Write("bild.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    dir.Write("leer.plp", "");
    dir.Write("blank.plp", "\r\n  \r\n");
    struct Case {
        std::string name;
        bool refused;
    };
    for (const Case& c :
         {Case{"rohr.plp", true}, Case{"ordner.plp", true}, Case{"null.plp", true},
          Case{"katalog.csv", true}, Case{"bild.png", true}, Case{"leer.plp", false},
          Case{"blank.plp", false}, Case{"fehlt.plp", false}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(doc.Open(good));
        host.messages.clear();
        const std::string path = dir / c.name;
        EXPECT_EQ(doc.Open(path), !c.refused);
        if (c.refused) {
            EXPECT_EQ(host.messages, std::vector<std::string>{path + " ist keine Projektdatei!"});
            EXPECT_EQ(doc.FileName(), good);
            EXPECT_EQ(doc.project.Settings.files.destination_directory, site);
        } else {
            EXPECT_EQ(doc.FileName(), path);
            EXPECT_EQ(doc.project.Settings.files.destination_directory, "");
        }
    }
}

TEST_F(ProjectDocumentTest, OpenReadsThenOpensTablesAndTakesTheDestination) {
    const std::string site = dir / "site";
    test::WriteFile(site + "/keep", "");
    dir.Write("menu.csv", "Haupt;Text\r\nHome;a\r\n");
    const std::string path = dir.Write(
        "p.plp", CrLf({"[files]", "destination-directory=" + site, "[table]",
                       "firstpage_database=" + dir.Path(), "firstpage_table=weg.csv",
                       "firstpage_table_type=csv_table", "mainmenu_database=" + dir.Path(),
                       "mainmenu_table=menu.csv", "mainmenu_table_type=csv_table",
                       "mainmenu_seperator_char=;", "mainmenu_caption=1"}));
    doc.Modified = true;
    doc.Build.PreviewDirectory = "/alt";
    doc.Open(path);

    EXPECT_EQ(doc.FileName(), path);
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.Build.Destination, site);
    EXPECT_EQ(doc.Build.PreviewDirectory, site);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Fehler beim Einlesen der Datei:weg.csv"});
    EXPECT_EQ(doc.project.Tables.Slot[ContentSlot::firstpage].name_display, "");
    ContentTable* menu = doc.Tables().For(doc.project.PrjParams, ContentSlot::mainmenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu, doc.Build.Tables->For(doc.project.PrjParams, ContentSlot::mainmenu));
    menu->Open();
    EXPECT_EQ(menu->RowCount(), 1u);
    menu->Close();

    // The reader's message about the destination comes before the tables' messages; an empty
    // destination keeps the preview's folder.
    host.messages.clear();
    test::WriteFile(path, CrLf({"[files]", "destination-directory=" + dir / "fehlt", "[table]",
                                "mainmenu_table=weg.csv", "mainmenu_table_type=csv_table"}));
    doc.Open(path);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"Das Verzeichnis " + dir / "fehlt" + " existiert nicht!",
                                        "Fehler beim Einlesen der Datei:weg.csv"}));
    EXPECT_EQ(doc.Build.Destination, "");
    EXPECT_EQ(doc.Build.PreviewDirectory, site);
}

TEST_F(ProjectDocumentTest, NewComesFromTheProgramsDefaultProjectWithoutFileName) {
    doc.Open(dir.Write("p.plp", CrLf({"[frameset]", "titel=Alt"})));
    dir.Write("default.plp", CrLf({"[frameset]", "titel=Neu"}));
    doc.Modified = true;
    doc.New();
    EXPECT_EQ(doc.project.Settings.frameset.titel, "Neu");
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_FALSE(doc.Modified);
    EXPECT_FALSE(doc.Save()) << "no file name to save to";
}

TEST_F(ProjectDocumentTest, SaveClearsTheMarkOnlyWhenTheFileWasWritten) {
    doc.project.Settings.frameset.titel = "Titel";
    doc.Modified = true;
    const std::string path = dir / "neu.plp";
    ASSERT_TRUE(doc.SaveAs(path));
    EXPECT_EQ(doc.FileName(), path);
    EXPECT_FALSE(doc.Modified);
    EXPECT_NE(test::ReadFile(path).find("titel=Titel"), std::string::npos);

    doc.Modified = true;
    const std::string unwritable = dir / "fehlt/andere.plp";
    EXPECT_FALSE(doc.SaveAs(unwritable));
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(doc.FileName(), path) << "the name stays the last one saved to";
    EXPECT_EQ(host.messages.back(), "In " + unwritable + " kann nicht geschrieben werden");
}

TEST_F(ProjectDocumentTest, RegionChoiceOverrideCountsOnlyWhileTheChoiceIsShown) {
    ContentPageSettings& cp = doc.project.Settings.content_page;
    cp.source.Select(kDwTemplatePages);
    cp.dw_editable_overwrite = false;
    doc.PresetRegionChoice(true);
    EXPECT_TRUE(doc.Build.RegionOverwriteVisible);
    EXPECT_TRUE(doc.Build.RegionOverwrite);
    doc.PresetRegionChoice();
    EXPECT_FALSE(doc.Build.RegionOverwrite) << "the project's preset";

    cp.source.Select(kEmptyPages);
    doc.Build.RegionOverwrite = true;
    doc.PresetRegionChoice(false);
    EXPECT_FALSE(doc.Build.RegionOverwriteVisible);
    EXPECT_TRUE(doc.Build.RegionOverwrite) << "a hidden choice is left as it was";
}

TEST_F(ProjectDocumentTest, BuildRunsOnlyAfterAPassedTableCheck) {
    doc.project.Settings.content_page.source.Select(kTabTemplatePages);
    doc.project.Tables.Slot[ContentSlot::mainmenu].content_source = kSlotTemplate;
    doc.project.Tables.Slot[ContentSlot::submenu].content_source = kSlotNoPages;
    doc.Build.Destination = dir.Path();
    EXPECT_EQ(doc.CheckAndBuild(), std::nullopt);
    EXPECT_EQ(host.messages, std::vector<std::string>{
                                 "Sie haben keine Tabelle im Hauptmen\xFC-Regiser ausgew\xE4hlt!"});
    EXPECT_TRUE(doc.Build.Report.Lines().empty());

    doc.project.Settings.content_page.source.Select(kEmptyPages);
    const std::optional<BuildOutcome> outcome = doc.CheckAndBuild();
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->Succeeded());
    EXPECT_TRUE(test::Exists(dir / "index.htm"));
}

}  // namespace
}  // namespace pagloom
