// SPDX-License-Identifier: MIT
// The code wizard's rules: separators, the code of each layout, the two field lists and the
// template file.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "generator/CodeWizard.h"
#include "io/FileSystem.h"
#include "model/TableSettings.h"

namespace pagloom {
namespace {

using Lines = std::vector<std::string>;

TEST(CodeWizardSeparators, EntriesStandForTheirSeparatorsOtherTextAsTyped) {
    struct Case {
        const char* box;
        const char* field;
        RecordSeparator record;
    };
    const Case cases[] = {
        {"", "", {"", ""}},
        {"[Leerzeichen]", " ", {"", "[Leerzeichen]"}},
        {"  [Komma + Leer] ", ", ", {"", "  [Komma + Leer] "}},
        {"[Semikolon + Leer]", "; ", {"", "[Semikolon + Leer]"}},
        {" | ", " | ", {"", " | "}},
        {"Zeilenumbruch (<br>)", "Zeilenumbruch (<br>)", {"", "<br>"}},
        {"2 Zeilenumbr\xFC"
         "che (<br><br>)",
         "2 Zeilenumbr\xFC"
         "che (<br><br>)",
         {"", "<br><br>"}},
        {" als Abs\xE4tze (<p>...</p>)", " als Abs\xE4tze (<p>...</p>)", {"<p>", "</p>"}},
        {"<hr>", "<hr>", {"", "<hr>"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldSeparatorOf(c.box), c.field) << c.box;
        EXPECT_EQ(RecordSeparatorOf(c.box), c.record) << c.box;
    }
}

TEST(CodeWizardCode, LayoutsWriteTheirLines) {
    const CodeTags tags;  // the options' defaults: <...>, FIELD, RECORD; the quote is chosen
    struct Case {
        const char* name;
        CodeChoices choices;
        Lines fields;
        Lines expected;
    };
    const Case cases[] = {
        {"side by side, comma",
         {kFieldsSideBySide, '\'', "[Komma + Leer]", "", kNoTableHead},
         {"Preis", "Titel"},
         {"<FIELD Name='Preis'>Preis</FIELD>, ", "<FIELD Name='Titel'>Titel</FIELD>"}},
        {"one below another",
         {kFieldsOneBelowAnother, '"', "[Komma + Leer]", "", kNoTableHead},
         {"Preis", "Titel"},
         {"<FIELD Name=\"Preis\">Preis</FIELD><br>", "<FIELD Name=\"Titel\">Titel</FIELD>"}},
        {"records as paragraphs",
         {kRecordsFieldsBelow, '\'', "", "als Abs\xE4tze (<p>...</p>)", kNoTableHead},
         {"Preis"},
         {"<RECORD><p>", "<FIELD Name='Preis'>Preis</FIELD>", "</p></RECORD>"}},
        {"records side by side, typed separators",
         {kRecordsFieldsSideBySide, '\'', " - ", "<hr>", kNoTableHead},
         {"A", "B"},
         {"<RECORD>", "<FIELD Name='A'>A</FIELD> - ", "<FIELD Name='B'>B</FIELD>",
          "<hr></RECORD>"}},
        {"table without names in the head",
         {kRecordsAsTable, '\'', "[Leerzeichen]", "Zeilenumbruch (<br>)", kHeadWithoutFieldNames},
         {"A", "B"},
         {"<table>", "<tr>", "<th></th>", "<th></th>", "</tr>", "<RECORD>", "<tr>",
          "<td><FIELD Name='A'>A</FIELD></td>", "<td><FIELD Name='B'>B</FIELD></td>", "</tr>",
          "</RECORD>", "</table>"}},
        {"table with names in the head",
         {kRecordsAsTable, '\'', "", "", kHeadWithFieldNames},
         {"A"},
         {"<table>", "<tr>", "<th>A</th>", "</tr>", "<RECORD>", "<tr>",
          "<td><FIELD Name='A'>A</FIELD></td>", "</tr>", "</RECORD>", "</table>"}},
        {"table without head",
         {kRecordsAsTable, '\'', "", "", kNoTableHead},
         {"A"},
         {"<table>", "<RECORD>", "<tr>", "<td><FIELD Name='A'>A</FIELD></td>", "</tr>", "</RECORD>",
          "</table>"}},
        {"no fields, side by side", {kFieldsSideBySide, '\'', ", ", "", kNoTableHead}, {}, {}},
        {"no fields, one below another", {kFieldsOneBelowAnother, '\'', "", "", 0}, {}, {}},
        {"no fields, records",
         {kRecordsFieldsSideBySide, '\'', "",
          "2 Zeilenumbr\xFC"
          "che (<br><br>)",
          kNoTableHead},
         {},
         {"<RECORD>", "<br><br></RECORD>"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GenerateCode(c.choices, c.fields, tags), c.expected) << c.name;
}

TEST(CodeWizardCode, TagPartsComeFromTheTableSettings) {
    TableSettings t;
    t.tag_item_index = kSquareBrackets;
    EXPECT_EQ(FieldCode("Preis", CodeTagsOf(t, '\'')), "[FIELD Name='Preis']Preis[/FIELD]");
    t.tag_item_index = kGuillemets;
    t.field_tag_name = "Feld";
    t.record_tag_name = "Satz";
    const CodeTags tags = CodeTagsOf(t, '"');
    EXPECT_EQ(FieldCode("Preis", tags),
              "\xAB"
              "Feld Name=\"Preis\"\xBBPreis\xAB/Feld\xBB");
    EXPECT_EQ(GenerateCode({kRecordsFieldsBelow, '"', "", "", 0}, {}, tags),
              (Lines{"\xABSatz\xBB", "\xAB/Satz\xBB"}));
}

TEST(CodeWizardCode, EachLayoutEnablesItsBoxes) {
    EXPECT_EQ(LayoutBoxesOf(kFieldsSideBySide), (LayoutBoxes{true, false, false}));
    EXPECT_EQ(LayoutBoxesOf(kFieldsOneBelowAnother), (LayoutBoxes{false, false, false}));
    EXPECT_EQ(LayoutBoxesOf(kRecordsFieldsSideBySide), (LayoutBoxes{true, true, false}));
    EXPECT_EQ(LayoutBoxesOf(kRecordsFieldsBelow), (LayoutBoxes{false, true, false}));
    EXPECT_EQ(LayoutBoxesOf(kRecordsAsTable), (LayoutBoxes{false, false, true}));
}

TEST(CodeWizardLists, TransfersKeepTheOrderRulesAndReselect) {
    FieldLists lists;
    lists.Fill({"Titel", "preis", "\xC4nderung", "Autor", "Zeit"});
    EXPECT_EQ(lists.available, (Lines{"\xC4nderung", "Autor", "preis", "Titel", "Zeit"}))
        << "sorted without regard to case or accents";
    EXPECT_TRUE(lists.chosen.empty());

    // preis and Titel selected together arrive bottom-up: Titel first.
    EXPECT_EQ(TransferSelected(lists, true, {2, 3}), 2) << "the remembered position";
    EXPECT_EQ(lists.chosen, (Lines{"Titel", "preis"}));
    EXPECT_EQ(lists.available, (Lines{"\xC4nderung", "Autor", "Zeit"}));

    // The last entry moved: the selection falls back to the new last one.
    EXPECT_EQ(TransferSelected(lists, true, {2}), 1);
    EXPECT_EQ(lists.chosen, (Lines{"Titel", "preis", "Zeit"}));

    // Back into the sorted list at their places.
    EXPECT_EQ(TransferSelected(lists, false, {0, 2}), 0);
    EXPECT_EQ(lists.available, (Lines{"\xC4nderung", "Autor", "Titel", "Zeit"}));
    EXPECT_EQ(lists.chosen, (Lines{"preis"}));

    // Nothing selected moves nothing and selects the first entry.
    EXPECT_EQ(TransferSelected(lists, true, {}), 0);
    EXPECT_EQ(lists.chosen, (Lines{"preis"}));

    TransferAll(lists, true);
    EXPECT_TRUE(lists.available.empty());
    EXPECT_EQ(lists.chosen, (Lines{"preis", "\xC4nderung", "Autor", "Titel", "Zeit"}));
    EXPECT_EQ(TransferSelected(lists, true, {0}), -1) << "empty source";
    TransferAll(lists, false);
    EXPECT_EQ(lists.available, (Lines{"\xC4nderung", "Autor", "preis", "Titel", "Zeit"}));
    EXPECT_TRUE(lists.chosen.empty());

    // Opening again refills: nothing stays chosen.
    lists.chosen = {"x"};
    lists.Fill({"B", "a"});
    EXPECT_EQ(lists.available, (Lines{"a", "B"}));
    EXPECT_TRUE(lists.chosen.empty());
}

TEST(CodeWizardTemplate, ExtensionDecidesTheFormAndThePageWrapsTheCode) {
    struct Case {
        const char* path;
        TemplateForm form;
    };
    const Case cases[] = {
        {"/a/t.htm", TemplateForm::Page},    {"t.html", TemplateForm::Page},
        {"t.dwt", TemplateForm::Page},       {"t.php5", TemplateForm::Page},
        {"t.js", TemplateForm::CodeOnly},    {"t.xml", TemplateForm::CodeOnly},
        {"t.HTM", TemplateForm::Ask},        {"t.txt", TemplateForm::Ask},
        {"/a.b/vorlage", TemplateForm::Ask}, {"t.php3", TemplateForm::Ask},
    };
    for (const Case& c : cases) EXPECT_EQ(TemplateFormOf(c.path), c.form) << c.path;

    const Lines page = TemplatePage({"<FIELD Name='A'>A</FIELD>"});
    ASSERT_EQ(page.size(), 13u);
    EXPECT_EQ(page[3], "<title>pagloom content-page</title>");
    EXPECT_EQ(page[7], "<body>");
    EXPECT_EQ((Lines{page.begin() + 8, page.end()}),
              (Lines{"", "<FIELD Name='A'>A</FIELD>", "", "</body>", "</html>"}));
}

TEST(CodeWizardTemplate, WritesCrLfLinesAndKeepsTheOldFileOnFailure) {
    test::TempDir dir;
    DiskFileSystem disk;
    const std::string path = dir.Write("t.htm", "alt");
    ASSERT_TRUE(WriteTemplateFile(disk, path, {"<table>", "\xE4"}));
    EXPECT_EQ(test::ReadFile(path), "<table>\r\n\xE4\r\n");
    test::FaultyFs faulty;
    faulty.failWrites = true;
    EXPECT_FALSE(WriteTemplateFile(faulty, path, {"neu"}));
    EXPECT_EQ(test::ReadFile(path), "<table>\r\n\xE4\r\n");
    EXPECT_FALSE(WriteTemplateFile(disk, dir / "fehlt/t.htm", {"x"}));
}

}  // namespace
}  // namespace pagloom
