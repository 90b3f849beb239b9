// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "io/FileSystem.h"
#include "ports/Host.h"
#include "tables/CsvImport.h"
#include "tables/TableError.h"

using namespace pagloom;
using pagloom::test::TempDir;

namespace {
DiskFileSystem disk;  // the tables read the real files of the test data
}  // namespace

namespace {

using Values = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string line;
    char sep;
    Values expected;
};

// Values of the open table, row by row.
std::vector<Values> AllRows(ContentTable& t) {
    std::vector<Values> rows;
    t.Open();
    for (t.First(); !t.AtEnd(); t.Next()) {
        Values row;
        for (size_t f = 0; f < t.FieldCount(); ++f) row.emplace_back(t.FieldText(f));
        rows.push_back(row);
    }
    t.Close();
    return rows;
}

Values FieldNames(const ContentTable& t) {
    Values names;
    for (size_t f = 0; f < t.FieldCount(); ++f) names.push_back(t.FieldName(f));
    return names;
}

}  // namespace

TEST(CsvSplit, SplitsLinesByTheBlankAndQuoteRules) {
    const SplitCase cases[] = {
        {"blank separates words", "a b,c", ',', {"a", "b", "c"}},
        {"quoted blank stays", "'a b',c", ',', {"a b", "c"}},
        {"doubled quote", "'it''s',x", ',', {"it's", "x"}},
        {"two separators enclose empty", "a,,b", ',', {"a", "", "b"}},
        {"separator last byte", "a,", ',', {"a", ""}},
        {"blank after last separator", "a, ", ',', {"a"}},
        {"leading separator", ",a", ',', {"", "a"}},
        {"text after closing quote", "'ab'cd,e", ',', {"ab", "cd", "e"}},
        {"quote inside unquoted run", "ab'cd',e", ',', {"ab'cd'", "e"}},
        {"blanks around separator", " a , b ", ',', {"a", "b"}},
        {"unclosed quote loses last byte", "'abc", ',', {"ab"}},
        {"unclosed quote, one byte", "'a", ',', {""}},
        {"unclosed quote with doubled quote", "'ab''cd", ',', {"ab'c"}},
        {"tab runs collapse", "a\t\tb", '\t', {"a", "b"}},
        {"space separator", "a  b", ' ', {"a", "b"}},
        {"control bytes are blanks",
         "\x01"
         "a\x1f,b",
         ',',
         {"a", "b"}},
        {"high bytes are ordinary", "\xC4pfel,\xFC", ',', {"\xC4pfel", "\xFC"}},
        {"empty line", "", ',', {}},
        {"blank line", " \t ", ',', {}},
        {"empty quoted value", "'',x", ',', {"", "x"}},
        {"separator inside quotes", "'a,b';c", ';', {"a,b", "c"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitDelimitedLine(c.line, c.sep, '\''), c.expected) << c.name;
}

TEST(CsvSplit, CutsLinesAtEveryBreakKindAndStopsAtNul) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(SplitCsvLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitCsvLines("a\n"), (Lines{"a"}));
    EXPECT_EQ(SplitCsvLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitCsvLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitCsvLines("\r\r"), (Lines{"", ""}));
    EXPECT_EQ(SplitCsvLines(std::string_view("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
    EXPECT_EQ(SplitCsvLines(""), Lines{});
}

class CsvImport : public ::testing::Test {
  protected:
    bool Import(const std::string& bytes, char sep = ',', bool caption = false) {
        return ImportCsvFile(disk, host, dir.Write("t.csv", bytes), sep, '\'', caption, table);
    }
    TempDir dir;
    RecordingHost host;
    MemoryTable table;
};

TEST_F(CsvImport, NamesFieldsByPositionAndKeepsRowsInFileOrder) {
    ASSERT_TRUE(Import("a,b,c\r\n1,2,3\n"));
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(FieldNames(table), (Values{"Field0", "Field1", "Field2"}));
    EXPECT_EQ(AllRows(table), (std::vector<Values>{{"a", "b", "c"}, {"1", "2", "3"}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CsvImport, CaptionRowNamesFieldsAndExtraCaptionsAreIgnored) {
    ASSERT_TRUE(Import("Name;Preis;Rest\nBrot;2\n", ';', true));
    EXPECT_EQ(FieldNames(table), (Values{"Name", "Preis"}));
    EXPECT_EQ(AllRows(table), (std::vector<Values>{{"Brot", "2"}}));
}

TEST_F(CsvImport, WidthsAreLongestValueAndAtLeastOne) {
    ASSERT_TRUE(Import("ab,,x\nabcd,,\xE4\xF6\xFC\n"));
    EXPECT_EQ(table.FieldWidths(), (std::vector<size_t>{4, 1, 3}));
}

TEST_F(CsvImport, FailuresShowTheirMessage) {
    struct Case {
        const char* name;
        std::string bytes;
        bool caption;
        const char* message;
    };
    const Case cases[] = {
        {"empty file", "", false, kCsvNoRecords},
        {"caption only", "a,b\r\n", true, kCsvNoRecords},
        {"mixed counts", "a,b\nc\n", false, kCsvFieldCountsDiffer},
        {"blank line between rows", "a\n\nb\n", false, kCsvFieldCountsDiffer},
        {"two breaks at the end", "a\nb\n\n", false, kCsvFieldCountsDiffer},
        {"too few captions", "x\n1,2\n", true, kCsvImportFailed},
        {"captions equal without case", "Preis,PREIS\n1,2\n", true, kCsvImportFailed},
        {"empty caption", "a,,c\n1,2,3\n", true, kCsvImportFailed},
        {"all lines blank", " \n\t\n", false, kCsvImportFailed},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        EXPECT_FALSE(Import(c.bytes, ',', c.caption)) << c.name;
        EXPECT_EQ(host.messages, Values{c.message}) << c.name;
    }
}

TEST_F(CsvImport, FailureKeepsThePreviousRows) {
    ASSERT_TRUE(Import("x,y\n"));
    EXPECT_FALSE(Import("a,b\nc\n"));
    EXPECT_FALSE(Import("A,a\n1,2\n", ',', true));
    EXPECT_EQ(AllRows(table), (std::vector<Values>{{"x", "y"}}));
}

TEST_F(CsvImport, RowsHoldWhatSplittingEachLineGives) {
    // Lines of three values each in many shapes, mixed: the import writes values into the
    // file's own buffer, so a value must never overrun the line that is read next.
    const std::vector<std::string> shapes = {
        "a b,c",       "'it''s',x,y",   "'ab'cd,e",    "ab'cd',e,f",       "x,,y",
        " p , q , r ", "'''','''''',z", "'a,b' 'c' d", "\xE4,\xF6,'\xFC'", ",,"};
    std::string text;
    std::vector<Values> expected;
    for (int i = 0; i < 500; ++i) {
        const std::string& line = shapes[(i * 7 + i / 3) % shapes.size()];
        Values v = SplitDelimitedLine(line, ',', '\'');
        ASSERT_EQ(v.size(), 3u) << line;
        expected.push_back(v);
        text += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    ASSERT_TRUE(Import(text));
    EXPECT_EQ(AllRows(table), expected);
}

TEST_F(CsvImport, BinaryFileFailsWithAMessage) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
    EXPECT_FALSE(Import(bytes));
    ASSERT_EQ(host.messages.size(), 1u);
}

// A NUL ends the text: padding after it is cut off, but data after it would be lost without a
// word, so such a file is refused with the line of the NUL.
TEST_F(CsvImport, NulEndsTheTextButNeverLosesDataSilently) {
    ASSERT_TRUE(Import(std::string("a,b\nc,d\n\0\0\0\r\n", 12)));
    EXPECT_EQ(AllRows(table).size(), 2u);
    EXPECT_TRUE(host.messages.empty());
    for (const std::string& bytes :
         {std::string("a,b\nc,d\n\0\x01\x02zzz", 13), std::string("a,b\r\nc,d\r\n\0x,y\r\n", 16)}) {
        host.messages.clear();
        EXPECT_FALSE(Import(bytes));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].find(" in Zeile 3 ein NUL-Zeichen"), std::string::npos)
            << host.messages[0];
    }
}

TEST_F(CsvImport, UnreadableFileIsAnErrorWithoutMessage) {
    EXPECT_THROW(ImportCsvFile(disk, host, dir.File("missing.csv"), ',', '\'', false, table),
                 TableError);
    EXPECT_TRUE(host.messages.empty());
}

TEST(CsvImportRealFiles, SportsFacilitiesFailsOnItsRaggedRows) {
    // Rows of 8, 9 or 10 fields and quoted line breaks: the importer refuses it as a whole.
    RecordingHost host;
    MemoryTable table;
    EXPECT_FALSE(ImportCsvFile(disk, host,
                               PAGLOOM_SHARED_TESTDATA "/csv/bochum_sports_facilities.csv", ';',
                               '"', true, table));
    EXPECT_EQ(host.messages, Values{kCsvFieldCountsDiffer});
}

TEST(CsvImportRealFiles, MayoralElectionImportsWithTheFirstCaptionsAsNames) {
    // The caption line holds more values than the data lines; the surplus names are dropped.
    RecordingHost host;
    MemoryTable table;
    ASSERT_TRUE(ImportCsvFile(disk, host,
                              PAGLOOM_SHARED_TESTDATA "/csv/bochum_mayoral_election_20090930.csv",
                              ',', '"', true, table));
    table.Open();
    EXPECT_EQ(table.RowCount(), 397u);
    ASSERT_EQ(table.FieldCount(), 17u);
    EXPECT_EQ(table.FieldName(3), "Bez-Nr");
    EXPECT_EQ(table.FieldText("wahltermin_datum"), "30.08.2009");
    // Blanks split "Bürgermeisterwahl NRW" into two values, so the columns shift by one.
    EXPECT_EQ(table.FieldText("bez-nr"), "5911000");
}

TEST_F(CsvImport, UmlautsStayWindows1252Bytes) {
    ASSERT_TRUE(
        Import("Stra\xDF"
               "e,Ort\n'Gr\xFCner Weg',K\xF6ln\n",
               ',', true));
    EXPECT_EQ(AllRows(table), (std::vector<Values>{{"Gr\xFCner Weg", "K\xF6ln"}}));
    EXPECT_EQ(FieldNames(table)[0],
              "Stra\xDF"
              "e");
}
