// SPDX-License-Identifier: MIT
// WriteDWPages and UpdateDWPages against a real scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "generator/BuildContext.h"
#include "generator/BuildDriver.h"
#include "generator/BuildError.h"
#include "generator/DreamweaverPages.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "ports/Host.h"

namespace pagloom {
namespace {

using test::ReadFile;
using test::WriteFile;

std::string Template(const std::string& head) {
    return "<html>\n<head>\n"
           "<!-- TemplateBeginEditable name=\"doctitle\" --><title>Vorlage</title><!-- "
           "TemplateEndEditable -->\n"
           "</head>\n<body>\n" +
           head +
           "\n"
           "<!-- TemplateBeginEditable name=\"main\" -->Text<!-- TemplateEndEditable -->\n"
           "</body>\n</html>\n";
}

std::string Page(const std::string& head, const std::string& main) {
    return "<html><!-- InstanceBegin template=\"/Templates/t.dwt\" "
           "codeOutsideHTMLIsLocked=\"false\" -->\r\n"
           "<head>\r\n"
           "<!-- InstanceBeginEditable name=\"doctitle\" --><title>Vorlage</title><!-- "
           "InstanceEndEditable -->\r\n"
           "</head>\r\n<body>\r\n" +
           head +
           "\r\n"
           "<!-- InstanceBeginEditable name=\"main\" -->" +
           main +
           "<!-- InstanceEndEditable -->\r\n"
           "</body>\r\n<!-- InstanceEnd --></html>\r\n";
}

class DreamweaverPages : public ::testing::Test {
  protected:
    void SetUp() override {
        site = tmp.Path() + "/site";
        tpl = site + "/Templates/t.dwt";
        WriteFile(tpl, Template("<p>Kopf</p>"));
        ProjectSettings& s = project.Settings;
        s.content_page.source.Select(kDwTemplatePages);
        s.content_page.dw_template_file = tpl;
        s.files.destination_directory = site;
        s.firstpage.firstpage_from_template = true;
        project.MainMenu.Add(TWebMenu::NewMainItem("Eins", "eins.htm", true))
            .SubMenu->Add(TWebMenu::NewSubItem("Zwei", "zwei.htm", true));
    }

    BuildContext Ctx(FileSystem& fs) {
        return BuildContext{project, fs, host, report, site, "", library};
    }
    BuildContext Ctx() { return Ctx(disk); }
    std::string File(const std::string& name) { return ReadFile(site + "/" + name); }
    void Put(const std::string& name, const std::string& text) {
        WriteFile(site + "/" + name, text);
    }
    bool Exists(const std::string& name) { return std::filesystem::exists(site + "/" + name); }
    // The log without the path lines, one outcome per saved file.
    std::vector<std::string> Logged() {
        std::vector<std::string> lines;
        for (const std::string& l : report.Lines()) lines.push_back(l.substr(l.rfind('/') + 1));
        return lines;
    }

    test::TempDir tmp;
    std::string site, tpl;
    Project project;
    DiskFileSystem disk;
    RecordingHost host;
    MakeReport report;
    TextLines library;
};

const std::string kUnchanged = "Keine \xc4nderung";

TEST_F(DreamweaverPages, WriteMakesFreshInstancesReferencedFromTheProjectDestination) {
    BuildContext ctx = Ctx();
    ctx.destination =
        tmp.Path() + "/out";  // the build's folder; the reference stays relative to the setting
    std::filesystem::create_directory(ctx.destination);
    WriteDWPages(ctx);
    for (const char* name : {"erste.htm", "eins.htm", "zwei.htm"})
        EXPECT_EQ(ReadFile(ctx.destination + "/" + name), Page("<p>Kopf</p>", "Text")) << name;
    EXPECT_EQ(Logged(), (std::vector<std::string>{"erste.htm...", "OK", "eins.htm...", "OK",
                                                  "zwei.htm...", "OK"}));
}

TEST_F(DreamweaverPages, WriteFollowsTheWriteRule) {
    for (bool update : {false, true}) {
        Put("eins.htm", Page("<p>Kopf</p>", "Mein Text"));
        Put("erste.htm", "alt");
        project.Settings.content_page.dw_template_update = update;
        project.Settings.firstpage.firstpage_from_template = false;
        WriteDWPages(Ctx());
        EXPECT_EQ(File("eins.htm"), Page("<p>Kopf</p>", update ? "Text" : "Mein Text")) << update;
        EXPECT_EQ(File("erste.htm"), "alt");
        EXPECT_TRUE(Exists("zwei.htm"));
    }
}

TEST_F(DreamweaverPages, UpdateKeepsRegionsAndTakesTemplateChanges) {
    Put("eins.htm", Page("<p>Kopf</p>", "Mein Text"));
    WriteFile(tpl, Template("<p>Neuer Kopf</p>"));
    project.Settings.content_page.dw_template_update = true;
    project.Settings.firstpage.firstpage.Select(kOff);
    UpdateDWPages(Ctx());
    EXPECT_EQ(File("eins.htm"), Page("<p>Neuer Kopf</p>", "Mein Text"));
    EXPECT_EQ(File("zwei.htm"), Page("<p>Neuer Kopf</p>", "Text"));
    EXPECT_EQ(Logged(), (std::vector<std::string>{"eins.htm...", "OK", "zwei.htm...", "OK"}));
}

TEST_F(DreamweaverPages, UpdateOffLeavesExistingPagesAndCreatesMissingOnes) {
    const std::string edited = "<html>von Hand\n";
    Put("eins.htm", edited);
    project.Settings.firstpage.firstpage.Select(kOff);
    UpdateDWPages(Ctx());
    EXPECT_EQ(File("eins.htm"), edited);
    EXPECT_EQ(File("zwei.htm"), Page("<p>Kopf</p>", "Text"));
    EXPECT_EQ(Logged(), (std::vector<std::string>{"zwei.htm...", "OK"}));
}

TEST_F(DreamweaverPages, MergedPageEqualToExistingIsLoggedUnchanged) {
    // LF breaks on disk: equal by lines, so the file is left as it is.
    std::string page = Page("<p>Kopf</p>", "Mein\r\nText");
    std::erase(page, '\r');
    Put("eins.htm", page);
    Put("zwei.htm", page);
    project.Settings.content_page.dw_template_update = true;
    project.Settings.firstpage.firstpage.Select(kOff);
    UpdateDWPages(Ctx());
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"eins.htm...", kUnchanged, "zwei.htm...", kUnchanged}));
    EXPECT_EQ(File("eins.htm"), page);
}

TEST_F(DreamweaverPages, UpdateFirstPageByItsSettings) {
    const std::string existing = Page("<p>alt</p>", "Start");
    struct Row {
        bool overwrite, fromTemplate, exists;
        std::string expected;  // "" = an empty page named Startseite
    } rows[] = {
        {true, true, true, Page("<p>Kopf</p>", "Start")},   // merged
        {false, true, true, existing},                      // left alone
        {false, true, false, Page("<p>Kopf</p>", "Text")},  // fresh instance
        {true, false, true, ""},
        {false, false, false, ""},
    };
    project.MainMenu.Clear();
    for (const Row& r : rows) {
        std::filesystem::remove(site + "/erste.htm");
        if (r.exists) Put("erste.htm", existing);
        project.Settings.firstpage.overwrite_firstpage = r.overwrite;
        project.Settings.firstpage.firstpage_from_template = r.fromTemplate;
        UpdateDWPages(Ctx());
        const std::string page = File("erste.htm");
        if (r.expected.empty())
            EXPECT_NE(page.find("<title>Startseite</title>\r\n"), std::string::npos) << page;
        else
            EXPECT_EQ(page, r.expected) << r.overwrite << r.fromTemplate << r.exists;
    }
}

TEST_F(DreamweaverPages, FrameMessagesComeOncePerPage) {
    WriteFile(
        tpl,
        "<html>\n<!-- TemplateBeginEditable name=\"main\" -->Text<!-- TemplateEndEditable -->\n");
    Put("eins.htm",
        "<!-- InstanceBeginEditable name=\"main\" -->Mein<!-- InstanceEndEditable -->\n");
    project.Settings.content_page.dw_template_update = true;
    UpdateDWPages(Ctx());
    const std::string noClose = "Fehler: Vorlagen-Datei enth\xe4lt kein </HTML>-Tag";
    EXPECT_EQ(host.messages, std::vector<std::string>(3, noClose));
    EXPECT_EQ(File("eins.htm"),
              "<html><!-- InstanceBegin template=\"/Templates/t.dwt\" "
              "codeOutsideHTMLIsLocked=\"false\" -->\r\n"
              "<!-- InstanceBeginEditable name=\"main\" -->Mein<!-- InstanceEndEditable -->\r\n");
}

// The build dialog's RegionOverwrite, preset from the project, picks the writer.
TEST_F(DreamweaverPages, BuildChoosesByRegionOverwrite) {
    struct Row {
        bool update, overwriteRegions;
        std::string expected;
    } rows[] = {
        {true, false, Page("<p>Neuer Kopf</p>", "Mein Text")},
        {true, true, Page("<p>Neuer Kopf</p>", "Text")},
        {false, true, Page("<p>Kopf</p>", "Mein Text")},
        {false, false, Page("<p>Kopf</p>", "Mein Text")},
    };
    for (const Row& r : rows) {
        WriteFile(tpl, Template("<p>Kopf</p>"));
        Put("eins.htm", Page("<p>Kopf</p>", "Mein Text"));
        WriteFile(tpl, Template("<p>Neuer Kopf</p>"));
        project.Settings.content_page.dw_template_update = r.update;
        project.Settings.content_page.dw_editable_overwrite = r.overwriteRegions;
        BuildDialog dialog;
        dialog.Destination = site;
        PresetRegionOverwrite(project, dialog);
        ASSERT_TRUE(dialog.RegionOverwriteVisible);
        EXPECT_EQ(dialog.RegionOverwrite, r.overwriteRegions);
        EXPECT_TRUE(MakeStartClick(dialog, project, "", disk, host).Succeeded());
        EXPECT_EQ(File("eins.htm"), r.expected) << r.update << r.overwriteRegions;
    }
}

TEST_F(DreamweaverPages, UnreadableTemplateOrPageEndsTheBuild) {
    Put("eins.htm", Page("<p>Kopf</p>", "Mein"));
    project.Settings.content_page.dw_template_update = true;
    project.Settings.firstpage.firstpage.Select(kOff);
    struct Row {
        std::string unreadable;
        bool update;
    } rows[] = {{tpl, false}, {tpl, true}, {site + "/eins.htm", true}};
    for (const Row& r : rows) {
        test::FaultyFs faulty;  // reads of one path fail although the file is there
        faulty.unreadable = {r.unreadable};
        try {
            r.update ? UpdateDWPages(Ctx(faulty)) : WriteDWPages(Ctx(faulty));
            ADD_FAILURE() << "no BuildAbort for " << r.unreadable;
        } catch (const BuildAbort& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Die Datei " + r.unreadable + " kann nicht gelesen werden!");
        }
    }
    EXPECT_EQ(File("eins.htm"), Page("<p>Kopf</p>", "Mein"));
}

}  // namespace
}  // namespace pagloom
