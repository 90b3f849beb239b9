// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "Fakes.h"
#include "generator/TableTemplate.h"
#include "generator/TextLines.h"
#include "ports/Host.h"
#include "tables/MemoryTable.h"

using namespace pagloom;

namespace {

MemoryTable Table(std::vector<std::string> names, std::vector<std::string> values) {
    RowStore rows;
    for (auto& n : names) rows.AddField(n);
    for (auto& v : values) rows.AppendValue(v);
    MemoryTable t;
    t.Assign(std::move(rows), {});
    return t;
}

class FillTemplate : public ::testing::Test {
  protected:
    std::string Fill(const std::string& text) {
        TextLines lines = SplitLines(text);
        FillTableTemplate(lines, TemplateSlot{&table, columns, settings}, host);
        return JoinLines(lines);
    }
    MemoryTable table =
        Table({"Vorname", "Ort"}, {"Anna", "Bonn", "Ben", "K\xF6ln", "Cem", "<b>Ulm</b>"});
    std::vector<std::string> columns{"Vorname", "Ort"};
    TableSettings settings;
    RecordingHost host;
};

}  // namespace

TEST_F(FillTemplate, RecordBlocksRepeatPerRowAndFieldTagsTakeTheFirstRow) {
    struct Case {
        const char* name;
        std::string in, out;
    };
    const Case cases[] = {
        {"record block, three rows", "<RECORD><td><FIELD name=\"Vorname\">x</FIELD></td></RECORD>",
         "<td>Anna</td><td>Ben</td><td>Cem</td>\r\n"},
        {"field outside a block", "Hallo <field NAME='vorname' class=a>x</field>!",
         "Hallo Anna!\r\n"},
        {"unknown field stays", "<FIELD name=\"Preis\">x</FIELD>",
         "<FIELD name=\"Preis\">x</FIELD>\r\n"},
        {"field without closing tag stays", "<FIELD name=\"Ort\">x", "<FIELD name=\"Ort\">x\r\n"},
        {"record without closing tag stays", "<RECORD><FIELD name=Ort>x</FIELD>",
         "<RECORD>Bonn\r\n"},
        {"block without field repeats unchanged", "<RECORD>-</RECORD>", "---\r\n"},
        {"block spanning lines", "<ul><RECORD>\n<li><FIELD name=Ort></FIELD></li></RECORD>\n</ul>",
         "<ul>\r\n<li>Bonn</li>\r\n<li>K&#246;ln</li>\r\n<li>&#60;b&#62;Ulm&#60;/b&#62;</li>\r\n</"
         "ul>\r\n"},
        {"other tags are left alone", "<p class=\"x\"><FIELD name=Ort>x</FIELD></p>",
         "<p class=\"x\">Bonn</p>\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Fill(c.in), c.out) << c.name;
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FillTemplate, InsertedValuesAreNotScannedAgain) {
    settings.convert = {false, false, false, false, false, false};
    table = Table({"Code"}, {"<FIELD name=\"Code\">y</FIELD>"});
    columns = {"Code"};
    EXPECT_EQ(Fill("<FIELD name=Code>x</FIELD>|<RECORD><FIELD name=Code>x</FIELD></RECORD>"),
              "<FIELD name=\"Code\">y</FIELD>|<FIELD name=\"Code\">y</FIELD>\r\n");
}

TEST_F(FillTemplate, OtherBracketsMakeAngleTagsOrdinaryText) {
    settings.tag_item_index = kSquareBrackets;
    settings.record_tag_name = "Satz";
    EXPECT_EQ(Fill("[satz][FIELD name=Vorname]x[/FIELD],[/SATZ] <FIELD name=Ort>x</FIELD>"),
              "Anna,Ben,Cem, <FIELD name=Ort>x</FIELD>\r\n");
}

TEST_F(FillTemplate, FiltersApplyAndEmptyTablesGiveEmptyBlocks) {
    table.SetEqualityFilter({{"Ort", "K\xF6ln"}});
    EXPECT_EQ(Fill("<RECORD><FIELD name=Vorname></FIELD></RECORD>"), "Ben\r\n");
    table.SetEqualityFilter({{"Ort", "Paris"}});
    EXPECT_EQ(Fill("[<RECORD><FIELD name=Vorname></FIELD></RECORD>]<FIELD name=Ort>x</FIELD>"),
              "[]\r\n");
    EXPECT_FALSE(table.IsOpen());
}

TEST_F(FillTemplate, SlotWithoutTableShowsTheMessageAndKeepsTheTags) {
    TextLines lines{"<FIELD name=Ort>x</FIELD>"};
    FillTableTemplate(lines, TemplateSlot{nullptr, columns, settings}, host);
    EXPECT_EQ(lines, TextLines{"<FIELD name=Ort>x</FIELD>"});
    EXPECT_EQ(host.messages, std::vector<std::string>{kNoTableForTemplateMessage});
}

TEST(ConvertFieldValue, AppliesTheSwitchedOnStepsInOrder) {
    const TableConvertSettings defaults;  // 1 1 1 1 0 0
    const TableConvertSettings none{false, false, false, false, false, false};
    const TableConvertSettings all{true, true, true, true, true, true};
    TableConvertSettings tagsOnly = none;
    tagsOnly.tags_unicode = true;
    TableConvertSettings keepTags = defaults;
    keepTags.tags_unicode = false;
    struct Case {
        const char* name;
        std::string value;
        TableConvertSettings settings;
        std::string expected;
    };
    const Case cases[] = {
        {"defaults escape '<'", "a<b", defaults, "a&#60;b"},
        {"all off keeps '<'", "a<b", none, "a<b"},
        {"tags only", "<i>", tagsOnly, "&#60;i&#62;"},
        {"special signs keep tags", "<i>\xE4</i>", keepTags, "<i>&#228;</i>"},
        {"line break and two blanks", "a\r\nb  c", all, "a<br>b &nbsp;c"},
        {"lone LF and CR", "a\nb\rc", defaults, "a<br>b<br>c"},
        {"run of four blanks", "a    b", defaults, "a &nbsp;&nbsp;&nbsp;b"},
        {"tab", "a\tb", all, "a&nbsp;&nbsp; &nbsp; &nbsp; &nbsp;b"},
        {"web address", "siehe www.example.org.", all,
         "siehe <a href=\"http://www.example.org\" target=\"_blank\">www.example.org</a>."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertFieldValue(c.value, c.settings), c.expected) << c.name;
}

// Record blocks take a shortcut for plain values; for every combination of switches a page must
// hold exactly what the stepwise conversion gives.
TEST_F(FillTemplate, RecordValuesAreConvertedLikeSingleValues) {
    const std::vector<std::string> values{"a  b",
                                          "x&nbsp; y",
                                          "Zeile\r\nzwei\nd\re",
                                          "Tab\there",
                                          "<b>K\xF6ln</b> 'q' \"z\"",
                                          "www.beispiel.de",
                                          "   "};
    table = Table({"V"}, values);
    columns = {"V"};
    for (int bits = 0; bits < 64; ++bits) {
        settings.convert = {(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
                            (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
        std::string expected;
        for (const auto& v : values) expected += ConvertFieldValue(v, settings.convert) + "|";
        EXPECT_EQ(Fill("<RECORD><FIELD name=V></FIELD>|</RECORD>"), JoinLines(SplitLines(expected)))
            << bits;
    }
}
