// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <shapefil.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "io/FileSystem.h"
#include "model/TPrjParams.h"
#include "tables/EngineTable.h"
#include "tables/TableError.h"

using namespace pagloom;
using pagloom::test::TempDir;

namespace {
DiskFileSystem disk;  // the tables read the real files of the test data
}  // namespace

namespace {

const std::string kDbase = PAGLOOM_SHARED_TESTDATA "/dbase";

struct Expect {
    const char* field;
    size_t row;
    std::string value;
};

struct DbfCase {
    const char* file;
    int kind;
    size_t fields;
    size_t rows;
    std::vector<Expect> values;
};

struct Field {
    const char* name;
    char type;
    unsigned char width;
};

// A dBase III table made byte by byte: `records` hold each record's field bytes, without the
// deletion mark.
std::string DbfBytes(unsigned char version, const std::vector<Field>& fields,
                     const std::vector<std::string>& records) {
    size_t recordLength = 1;
    for (const Field& f : fields) recordLength += f.width;
    const size_t headerLength = 32 + 32 * fields.size() + 1;
    std::string b(32, '\0');
    b[0] = static_cast<char>(version);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<char>(records.size() >> (8 * i));
    b[8] = static_cast<char>(headerLength & 0xFF);
    b[9] = static_cast<char>(headerLength >> 8);
    b[10] = static_cast<char>(recordLength & 0xFF);
    b[11] = static_cast<char>(recordLength >> 8);
    for (const Field& f : fields) {
        std::string d(32, '\0');
        d.replace(0, std::strlen(f.name), f.name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.width);
        b += d;
    }
    b += '\r';
    for (const std::string& r : records) b += ' ' + r;
    return b + '\x1A';
}

std::string ValueAt(EngineTable& t, size_t row, const char* field) {
    t.First();
    for (size_t i = 0; i < row; ++i) t.Next();
    return std::string(t.FieldText(field));
}

}  // namespace

TEST(DbfTable, RealFilesOpenWithTheirFieldsRowsAndTexts) {
    const DbfCase cases[] = {
        {"ruby-dbf/dbase_03.dbf",
         kDbaseTable,
         31,
         14,
         {{"Point_ID", 0, "0507121"},
          {"Date_Visit", 0, "2005-07-12"},
          {"Max_PDOP", 0, "5.2"},
          {"Std_Dev", 1, ""}}},
        {"ruby-dbf/dbase_83.dbf",
         kDbaseTable,
         15,
         67,
         {{"name", 0, "Assorted Petits Fours"},
          {"PRICE", 1, "0.00"},
          {"TAXABLE", 1, "F"},
          {"DESC", 0, "Our Original assortment"}}},
        {"ruby-dbf/dbase_8b.dbf",
         kDbaseTable,
         6,
         10,
         {{"MEMO", 1, "Second memo"},
          {"DATE", 1, "1970-12-31"},
          {"FLOAT", 1, "2.000000000000000000"},
          {"LOGICAL", 0, "T"}}},
        {"ruby-dbf/dbase_30.dbf",
         kFoxproTable,
         145,
         34,
         {{"CLASSES", 0, "Domestic Life\r\nWeddings"},
          {"UPDATED", 0, "2006-04-20 17:13:05"},
          {"ACQVALUE", 1, "0.00"}}},
        {"ruby-dbf/dbase_31.dbf",
         kFoxproTable,
         10,
         77,
         {{"PRODUCTID", 1, "2"}, {"UNITPRICE", 0, "18.0000"}, {"DISCONTINU", 0, "F"}}},
        {"ruby-dbf/dbase_32.dbf", kFoxproTable, 1, 1, {{"NAME", 0, "Bad Meets Evil"}}},
        {"ruby-dbf/foxprodb/calls.dbf",
         kFoxproTable,
         6,
         16,
         {{"CALL_DATE", 0, "1994-11-21 13:35:39"}, {"NOTES", 1, "Usual monthly order."}}},
        {"dbfread/memotest.dbf", kFoxproTable, 3, 2, {{"MEMO", 1, "Bob memo"}}},
        {"dbfread/people.dbf",
         kDbaseTable,
         2,
         2,
         {{"NAME", 1, "Bob"}}},  // the deleted record is skipped
        {"dbfread/invalid_value.dbf", kDbaseTable, 2, 2, {{"BIRTHDATE", 0, "NotAYear"}}},
        {"r-sf/nc.dbf",
         kDbaseTable,
         14,
         100,
         {{"NAME", 1, "Alleghany"}, {"AREA", 0, "0.114000000000000"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::filesystem::path p = kDbase + "/" + c.file;
        EngineTable t(disk);
        t.SetSource(c.kind, p.parent_path().string(), p.filename().string());
        ASSERT_NO_THROW(t.Open());
        EXPECT_EQ(t.FieldCount(), c.fields);
        EXPECT_EQ(t.RowCount(), c.rows);
        for (const auto& e : c.values) {
            const std::string v = ValueAt(t, e.row, e.field);
            EXPECT_EQ(v.substr(0, e.value.size()), e.value) << e.field;
            if (e.value.empty()) {
                EXPECT_EQ(v, "") << e.field;
            }
        }
    }
}

TEST(DbfTable, TextsAreConvertedFromTheLanguageDriverToWindows1252) {
    TempDir dir;
    {
        // Language driver 2 is DOS code page 850: ä ö ü ß are 0x84 0x94 0x81 0xE1 there.
        DBFHandle h = DBFCreateEx(dir.File("dos.dbf").c_str(), "LDID/2");
        ASSERT_NE(h, nullptr);
        DBFAddField(h, "NAME", FTString, 30, 0);
        DBFWriteStringAttribute(h, 0, 0,
                                "\x84rger \x94l \x81"
                                "ber \xE1");
        DBFClose(h);
    }
    EngineTable t(disk);
    t.SetSource(kDbaseTable, dir.Path(), "dos.dbf");
    t.Open();
    EXPECT_EQ(t.FieldText("NAME"),
              "\xE4rger \xF6l \xFC"
              "ber \xDF");

    // Cyrillic has no Windows-1252 form: each letter becomes '?', none turns into a Latin letter.
    EngineTable cyr(disk);
    cyr.SetSource(kFoxproTable, kDbase + "/ruby-dbf", "cp1251.dbf");
    cyr.Open();
    const std::string name(cyr.FieldText("NAME"));
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("?- "), std::string::npos) << name;
}

TEST(DbfTable, BrokenFilesFailWithAGermanMessage) {
    TempDir dir;
    std::string full;
    {
        std::ifstream in(kDbase + "/ruby-dbf/dbase_03.dbf", std::ios::binary);
        full.assign(std::istreambuf_iterator<char>(in), {});
    }
    dir.Write("cut.dbf", full.substr(0, full.size() / 2));
    std::string shortRecord = full;
    shortRecord[10] = 5;  // record length below the fields' widths
    shortRecord[11] = 0;
    dir.Write("short.dbf", shortRecord);
    dir.Write("text.dbf", "Name;Preis\nBrot;2\n" + std::string(200, 'x'));
    dir.Write("empty.dbf", "");
    dir.Write("zero.dbf", DbfBytes(0x03, {{"NAME", 'C', 4}, {"LEER", 'C', 0}}, {"Brot"}));
    struct Case {
        std::string folder, file;
        const char* message;
    };
    const Case cases[] = {
        {dir.Path(), "cut.dbf",
         "Die Tabelle cut.dbf ist unvollst\xE4ndig oder besch\xE4"
         "digt!"},
        {dir.Path(), "short.dbf",
         "Die Tabelle short.dbf kann nicht ge\xF6"
         "ffnet werden!"},
        {dir.Path(), "text.dbf", "Die Tabelle text.dbf hat ein Format"},
        {dir.Path(), "empty.dbf", "Die Tabelle empty.dbf ist keine dBase- oder FoxPro-Tabelle!"},
        {dir.Path(), "missing.dbf", "Die Datei "},
        // A field without bytes would cost a value per record for nothing: refused.
        {dir.Path(), "zero.dbf",
         "Die Tabelle zero.dbf ist besch\xE4"
         "digt: das Feld LEER hat die Breite 0!"},
        {kDbase + "/ruby-dbf", "dbase_02.dbf", "Die Tabelle dbase_02.dbf hat ein Format"},
        {kDbase + "/ruby-dbf", "dbase_83_missing_memo.dbf",
         "Die Tabelle dbase_83_missing_memo.dbf braucht die Memodatei dbase_83_missing_memo.dbt, "
         "die fehlt!"},
        {kDbase + "/dbfread", "no_memofile.dbf",
         "Die Tabelle no_memofile.dbf braucht die Memodatei"},
    };
    for (const auto& c : cases) {
        EngineTable t(disk);
        t.SetSource(kDbaseTable, c.folder, c.file);
        try {
            t.Open();
            ADD_FAILURE() << c.file << " opened";
        } catch (const TableError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
        EXPECT_FALSE(t.IsOpen());
    }
}

// A table stays as small in memory as its files: a memo that many records point at is held
// once, and a memo that runs on over the blocks other records point at ends where they start.
TEST(DbfTable, MemosAreHeldOnceAndEndWhereTheNextOneStarts) {
    TempDir dir;
    std::vector<std::string> records(300, "         1");
    records.push_back("         2");
    records.push_back("         3");
    dir.Write("memo.dbf", DbfBytes(0x83, {{"TEXT", 'M', 10}}, records));
    // Blocks 1 and 2 lack their end marks, so block 1's memo would run on to block 3's end.
    dir.Write("memo.dbt", std::string(512, '\0') + std::string(512, 'a') + std::string(512, 'b') +
                              std::string(100, 'c') + "\x1A\x1A");
    EngineTable t(disk);
    t.SetSource(kDbaseTable, dir.Path(), "memo.dbf");
    ASSERT_NO_THROW(t.Open());
    ASSERT_EQ(t.RowCount(), 302u);
    t.First();
    const std::string_view first = t.FieldText("TEXT");
    EXPECT_EQ(first, std::string(512, 'a'));
    for (size_t r = 0; r < 300; ++r, t.Next())
        ASSERT_EQ(t.FieldText("TEXT").data(), first.data()) << r;  // the same bytes
    EXPECT_EQ(t.FieldText("TEXT"), std::string(512, 'b'));
    t.Next();
    EXPECT_EQ(t.FieldText("TEXT"), std::string(100, 'c'));
}

TEST(DbfTable, ReadsOnceUntilReloaded) {
    TempDir dir;
    std::filesystem::copy_file(kDbase + "/dbfread/people.dbf", dir.File("p.dbf"));
    EngineTable t(disk);
    t.SetSource(kDbaseTable, dir.Path(), "p");  // the extension may be left out
    t.Open();
    t.Close();
    std::filesystem::remove(dir.File("p.dbf"));
    EXPECT_NO_THROW(t.Open());  // answered from the rows read before
    EXPECT_EQ(t.RowCount(), 2u);
    t.Close();
    t.Reload();
    EXPECT_THROW(t.Open(), TableError);
}
