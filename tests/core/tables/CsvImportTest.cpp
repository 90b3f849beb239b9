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

// Spreadsheets quote a value only when they must. With blanks kept in values an unquoted value
// runs to the separator; blanks around it are still dropped. Without, the specified rule holds.
TEST(CsvSplit, BlanksInValuesKeepTheBlanksInsideAValueOnly) {
    struct Case {
        const char* name;
        std::string line;
        char sep;
        Values off, on;
    };
    const Case cases[] = {
        {"spreadsheet export",
         "Heimwerker & Garten;S\xE4gen;12,90",
         ';',
         {"Heimwerker", "&", "Garten", "S\xE4gen", "12,90"},
         {"Heimwerker & Garten", "S\xE4gen", "12,90"}},
        {"blanks around separators", " a b , c d ", ',', {"a", "b", "c", "d"}, {"a b", "c d"}},
        {"separator last byte", "a b,", ',', {"a", "b", ""}, {"a b", ""}},
        {"blank after last separator", "a b, ", ',', {"a", "b"}, {"a b"}},
        {"leading separator", ",a b", ',', {"", "a", "b"}, {"", "a b"}},
        {"empty value between", "a,,b c", ',', {"a", "", "b", "c"}, {"a", "", "b c"}},
        {"text after closing quote", "'x y' z,w", ',', {"x y", "z", "w"}, {"x y", "z", "w"}},
        {"quoted word after a blank",
         "ab 'cd' e,f",
         ',',
         {"ab", "cd", "e", "f"},
         {"ab 'cd' e", "f"}},
        {"control bytes inside", "a \x01z,b", ',', {"a", "z", "b"}, {"a \x01z", "b"}},
        {"tab separator keeps spaces",
         "a\tb c\t\td",
         '\t',
         {"a", "b", "c", "d"},
         {"a", "b c", "d"}},
        {"space separator still splits", "a  b", ' ', {"a", "b"}, {"a", "b"}},
        {"blank line", " \t ", ',', {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitDelimitedLine(c.line, c.sep, '\''), c.off) << c.name;
        EXPECT_EQ(SplitDelimitedLine(c.line, c.sep, '\'', false), c.off) << c.name;
        EXPECT_EQ(SplitDelimitedLine(c.line, c.sep, '\'', true), c.on) << c.name;
    }
}

TEST_F(CsvImport, BlanksInValuesReadSpreadsheetExportsEvenly) {
    const std::string file =
        "Bereich;Artikel Nr;Preis\nHeimwerker & Garten;S\xE4gen;12,90\nK\xFC"
        "che;'Messer; Set';4,90\n";
    EXPECT_FALSE(ImportCsvFile(disk, host, dir.Write("t.csv", file), ';', '\'', true, table));
    EXPECT_EQ(host.messages, Values{kCsvFieldCountsDiffer});
    host.messages.clear();
    ASSERT_TRUE(ImportCsvFile(disk, host, dir.Write("t.csv", file), ';', '\'', true, table, true));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(FieldNames(table), (Values{"Bereich", "Artikel Nr", "Preis"}));
    EXPECT_EQ(AllRows(table), (std::vector<Values>{{"Heimwerker & Garten", "S\xE4gen", "12,90"},
                                                   {"K\xFC"
                                                    "che",
                                                    "Messer; Set", "4,90"}}));
    EXPECT_EQ(table.FieldWidths(), (std::vector<size_t>{19, 11, 5}));
}

// UTF-8 files (with a byte order mark, or well-formed with multi-byte sequences) are read as
// Windows-1252; Windows-1252 files, which are not well-formed UTF-8, stay as they are.
TEST_F(CsvImport, Utf8FilesAreReadAsWindows1252) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Values> rows;
    };
    const Case cases[] = {
        {"umlaut and euro sign",
         "Gartenm\xC3\xB6"
         "bel;4,90 \xE2\x82\xAC\n",
         {{"Gartenm\xF6"
           "bel",
           "4,90 \x80"}}},
        {"byte order mark, ASCII only",
         "\xEF\xBB\xBF"
         "a;b\n",
         {{"a", "b"}}},
        {"Windows-1252 umlauts and euro sign", "K\xF6ln;\x80\n", {{"K\xF6ln", "\x80"}}},
        {"Windows-1252 bytes that look like a start", "\xC3;\xA4x\n", {{"\xC3", "\xA4x"}}},
        {"a character already lost", "B\xEF\xBF\xBDrger;x\n", {{"B?rger", "x"}}},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        ASSERT_TRUE(
            ImportCsvFile(disk, host, dir.Write("t.csv", c.bytes), ';', '"', false, table, true))
            << c.name;
        EXPECT_EQ(AllRows(table), c.rows) << c.name;
        EXPECT_TRUE(host.messages.empty()) << c.name;
    }
}

TEST_F(CsvImport, Utf8ThatWindows1252CannotHoldFailsNamingLineAndCharacter) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* found;
    };
    const Case cases[] = {
        {"arrow in line 3", "a;b\r\nc;\xC3\xA4\r\nd;\xE2\x86\x92\r\n",
         "Zeile 3 enth\xE4lt das Zeichen U+2192, das es in Windows-1252 nicht gibt."},
        {"emoji after a lone CR", "a\r\xF0\x9F\x8C\xB1\n",
         "Zeile 2 enth\xE4lt das Zeichen U+1F331"},
        {"no UTF-8 after a byte order mark",
         "\xEF\xBB\xBF"
         "a\n\xFC\n",
         "Zeile 2 enth\xE4lt das Byte 0xFC"},
    };
    ASSERT_TRUE(Import("x,y\n"));
    for (const auto& c : cases) {
        host.messages.clear();
        const std::string path = dir.Write("t.csv", c.bytes);
        EXPECT_FALSE(ImportCsvFile(disk, host, path, ';', '"', false, table)) << c.name;
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_EQ(host.messages[0].rfind("Die Datei " + path + " ist UTF-8-Text", 0), 0u)
            << host.messages[0];
        EXPECT_NE(host.messages[0].find(c.found), std::string::npos) << host.messages[0];
        EXPECT_EQ(AllRows(table), (std::vector<Values>{{"x", "y"}})) << c.name;
    }
}

TEST(CsvText, Utf8IsRecognisedOnlyWhenWellFormedWithMultiByteSequences) {
    const struct {
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"", false},
        {"plain ASCII", false},
        {"\xEF\xBB\xBF", true},
        {"\xEF\xBB\xBFM\xFCll", true},  // the mark decides
        {"M\xC3\xBCll", true},
        {"M\xFCll", false},
        {"\xC0\xAF", false},          // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\xE2\x82", false},          // cut short
        {"\xC3\xBC \xE9", false},     // one good sequence, then Windows-1252
    };
    for (const auto& c : cases) EXPECT_EQ(IsUtf8CsvText(c.bytes), c.utf8) << c.bytes;
}

TEST(CsvText, FirstUnevenLineNamesItsNumberAndCounts) {
    const struct {
        const char* name;
        std::string text;
        bool caption, blanks;
        std::optional<CsvUnevenLine> expected;
    } cases[] = {
        {"even", "a,b\nc,d\n", false, false, std::nullopt},
        {"no data line", "", false, false, std::nullopt},
        {"second line short", "a,b\nc\n", false, false, CsvUnevenLine{2, 1, 2}},
        {"caption counted as line 1", "x,y\na,b\nc,d,e\n", true, false, CsvUnevenLine{3, 3, 2}},
        {"blank line", "a\n\nb\n", false, false, CsvUnevenLine{2, 0, 1}},
        {"blanks split values", "a b,c\nd,e\n", false, false, CsvUnevenLine{2, 2, 3}},
        {"blanks kept", "a b,c\nd,e\n", false, true, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = FirstUnevenCsvLine(c.text, ',', '"', c.caption, c.blanks);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.name;
        if (!got) continue;
        EXPECT_EQ(got->line, c.expected->line) << c.name;
        EXPECT_EQ(got->fields, c.expected->fields) << c.name;
        EXPECT_EQ(got->expected, c.expected->expected) << c.name;
    }
}
