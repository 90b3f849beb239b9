// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "projectfile/ProjectFile.h"

using namespace pagloom;

namespace {
Project Read(const std::string& text) {
    Project p;
    ReadTableSection(IniFile(text), p);
    return p;
}
}  // namespace

TEST(TableSection, MissingSectionsGiveTheDefaults) {
    Project p;
    p.PrjParams.TableKind[ContentSlot::submenu] = kCsvTable;
    p.Tables.Slot[ContentSlot::submenu].name_display = "alt.csv";
    p.Tables.Slot[ContentSlot::submenu].fields = {"a"};
    ReadTableSection(IniFile(""), p);
    const Project fresh;
    EXPECT_EQ(p.PrjParams, fresh.PrjParams);
    EXPECT_EQ(p.Tables, fresh.Tables);
    for (ContentSlot s : kAllSlots) {
        EXPECT_EQ(p.Tables.Slot[s].content_source, kSlotEmptyPages);
        EXPECT_EQ(p.PrjParams.TableKind[s], kNoneTable);
        EXPECT_EQ(p.PrjParams.QuoteChar[s], '\'');
        EXPECT_EQ(p.PrjParams.SeparatorChar[s], ',');
        EXPECT_FALSE(p.PrjParams.HasCaptionRow[s]);
    }
    EXPECT_TRUE(p.Tables.mainmenu.filename.Is(kNameFromText));
    EXPECT_EQ(p.Tables.mainmenu.from_text_text, "inhalt");
    EXPECT_EQ(p.Tables.submenu.from_table_seperator, "_");
    EXPECT_EQ(p.Tables.submenu.from_text_extension, ".htm");
    EXPECT_EQ(p.Tables.field_tag_name, "FIELD");
    EXPECT_EQ(p.Tables.record_tag_name, "RECORD");
    EXPECT_EQ(p.Tables.tag_item_index, kAngleBrackets);
    const TableConvertSettings& c = p.Tables.convert;
    EXPECT_EQ((std::vector<bool>{c.special_sign_unicode, c.tags_unicode, c.newline_br,
                                 c.multispaces, c.tab_to_list, c.web_to_link}),
              (std::vector<bool>{true, true, true, true, false, false}));
}

TEST(TableSection, TableKeysAndTheirEncodings) {
    const Project p = Read(
        "[table]\n"
        "firstpage_table=C:\\Daten\\liste.csv\nfirstpage_table_type=csv_table\nfirstpage_seperator_"
        "char=\t\n"
        "firstpage_quote_char=\"\nfirstpage_caption=1\n"
        "mainmenu_database=/srv/daten\nmainmenu_table=C:x.db\nmainmenu_table_type=undefined_table\n"
        "mainmenu_seperator_char=;;\nmainmenu_quote_char=\n"
        "submenu_table=D:dbase.dbf\nsubmenu_table_type=dbase_table\nsubmenu_seperator_char= \n");
    const TPrjParams& pp = p.PrjParams;
    EXPECT_EQ(pp.DatabaseName[ContentSlot::firstpage], "C:\\Daten");
    EXPECT_EQ(pp.TableName[ContentSlot::firstpage], "liste.csv");
    EXPECT_EQ(pp.TableKind[ContentSlot::firstpage], kCsvTable);
    EXPECT_EQ(pp.SeparatorChar[ContentSlot::firstpage], '\t');
    EXPECT_EQ(pp.QuoteChar[ContentSlot::firstpage], '"');
    EXPECT_TRUE(pp.HasCaptionRow[ContentSlot::firstpage]);
    // A database given: the table key is taken as it stands.
    EXPECT_EQ(pp.DatabaseName[ContentSlot::mainmenu], "/srv/daten");
    EXPECT_EQ(pp.TableName[ContentSlot::mainmenu], "C:x.db");
    EXPECT_EQ(pp.TableKind[ContentSlot::mainmenu], kNoneTable);
    EXPECT_EQ(pp.SeparatorChar[ContentSlot::mainmenu], ';');  // first character
    EXPECT_EQ(pp.QuoteChar[ContentSlot::mainmenu], '\'');     // empty: the default
    EXPECT_EQ(pp.DatabaseName[ContentSlot::submenu], "D:");
    EXPECT_EQ(pp.TableName[ContentSlot::submenu], "dbase.dbf");
    EXPECT_EQ(pp.TableKind[ContentSlot::submenu], kDbaseTable);
    EXPECT_EQ(pp.SeparatorChar[ContentSlot::submenu], ' ');
}

TEST(TableSection, UnknownKindTextKeepsThePreviousKind) {
    Project p;
    p.PrjParams.TableKind[ContentSlot::firstpage] = kParadoxTable;
    ReadTableSection(IniFile("[table]\nfirstpage_table_type=access_table\n"), p);
    EXPECT_EQ(p.PrjParams.TableKind[ContentSlot::firstpage], kParadoxTable);
    std::uint8_t kind = 9;
    EXPECT_FALSE(TableKindFromText("CSV_TABLE", kind));
    EXPECT_EQ(kind, 9);
    for (int k = 0; k <= kNoneTable; ++k) {
        ASSERT_TRUE(TableKindFromText(TableKindText(k), kind));
        EXPECT_EQ(kind, k);
    }
}

TEST(TableSection, FileNameRadioPairsReadTableFirstThenText) {
    const struct {
        const char* fromTable;
        const char* fromText;
        int expected;
    } cases[] = {
        {"1", "0", kNameFromTable},
        {"0", "1", kNameFromText},
        {"1", "1", kNameFromText},
        {"0", "0", -1},
    };
    for (const auto& c : cases) {
        const Project p =
            Read(std::string("[table]\n") + "submenu_filename_from_text=" + c.fromText +
                 "\nsubmenu_filename_from_table=" + c.fromTable +
                 "\nmainmenu_filename_from_table=" + c.fromTable +
                 "\nmainmenu_filename_from_text=" + c.fromText + "\n");
        EXPECT_EQ(p.Tables.submenu.filename.Selected(), c.expected) << c.fromTable << c.fromText;
        EXPECT_EQ(p.Tables.mainmenu.filename.Selected(), c.expected) << c.fromTable << c.fromText;
    }
}

TEST(TableSection, TagBracketIndexOutsideTheListFallsBackToAngles) {
    EXPECT_EQ(Read("[table]\ntag_item_index=3\n").Tables.tag_item_index, kSquareBrackets);
    EXPECT_EQ(Read("[table]\ntag_item_index=5\n").Tables.tag_item_index, kAngleBrackets);
    EXPECT_EQ(Read("[table]\ntag_item_index=-1\n").Tables.tag_item_index, kAngleBrackets);
}

TEST(TableSection, WritesKeysInOrderOverTheOldValues) {
    Project p;
    p.PrjParams.SeparatorChar[ContentSlot::submenu] = '\t';
    IniFile ini("[table]\nsubmenu_seperator_char=;\nforeign=1\n[table_convert]\nweb_to_link=1\n");
    WriteTableSection(ini, p);
    const std::string text = ini.Text();
    EXPECT_EQ(
        text.find(
            "[table]\r\nsubmenu_seperator_char=\"\t\"\r\nforeign=1\r\nfirstpage_content_source="
            "1\r\n"
            "firstpage_template_file=\r\nfirstpage_database=\r\nfirstpage_table=\r\n"
            "firstpage_table_type=none_table\r\nfirstpage_quote_char='\r\n"
            "firstpage_seperator_char=,\r\nfirstpage_caption=0\r\nmainmenu_content_source=1\r\n"),
        0u);
    EXPECT_NE(
        text.find(
            "mainmenu_caption=0\r\nmainmenu_col_mainmenu=\r\nmainmenu_col_index_mainmenu=-1\r\n"
            "mainmenu_filename_from_table=0\r\nmainmenu_from_table_extension=.htm\r\n"
            "mainmenu_filename_from_text=1\r\nmainmenu_from_text_text=inhalt\r\n"
            "mainmenu_from_text_extension=.htm\r\nsubmenu_content_source=1\r\n"),
        std::string::npos);
    EXPECT_NE(
        text.find(
            "submenu_caption=0\r\nsubmenu_col_mainmenu=\r\nsubmenu_col_index_mainmenu=-1\r\n"
            "submenu_col_submenu=\r\nsubmenu_col_index_submenu=-1\r\nsubmenu_filename_from_table="
            "0\r\n"
            "submenu_from_table_seperator=_\r\nsubmenu_from_table_extension=.htm\r\n"
            "submenu_filename_from_text=1\r\nsubmenu_from_text_text=inhalt\r\n"
            "submenu_from_text_extension=.htm\r\nfield_tag_name=FIELD\r\nrecord_tag_name=RECORD\r\n"
            "tag_item_index=0\r\n[table_convert]\r\nweb_to_link=0\r\nspecial_sign_unicode=1\r\n"
            "tags_unicode=1\r\nnewline_br=1\r\nmultispaces=1\r\ntab_to_list=0\r\n"),
        std::string::npos);
}

// "<slot>_blanks_in_values" came later: absent or 0 is off, it is written only when set or
// already in the file, so older files are saved as they were.
TEST(TableSection, BlanksInValuesIsWrittenOnlyWhenSetOrPresent) {
    const Project read = Read("[table]\nmainmenu_blanks_in_values=1\nsubmenu_blanks_in_values=0\n");
    EXPECT_EQ(read.PrjParams.BlanksInValues, (SlotArray<bool>{{false, true, false}}));

    IniFile fresh;
    WriteTableSection(fresh, Project{});
    EXPECT_EQ(fresh.Text().find("blanks_in_values"), std::string::npos);

    Project p;
    p.PrjParams.BlanksInValues[ContentSlot::submenu] = true;
    IniFile set;
    WriteTableSection(set, p);
    EXPECT_NE(set.Text().find("submenu_caption=0\r\nsubmenu_blanks_in_values=1\r\n"
                              "submenu_col_mainmenu="),
              std::string::npos);
    EXPECT_EQ(set.Text().find("mainmenu_blanks_in_values"), std::string::npos);

    // Switched off in a file that has the key: it stays in its place as 0.
    IniFile had("[table]\nfirstpage_blanks_in_values=1\n");
    WriteTableSection(had, Project{});
    EXPECT_EQ(had.Text().find("[table]\r\nfirstpage_blanks_in_values=0\r\n"), 0u);
    EXPECT_EQ(Read(had.Text()).PrjParams.BlanksInValues, (SlotArray<bool>{}));
}
