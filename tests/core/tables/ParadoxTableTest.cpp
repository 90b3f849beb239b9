// SPDX-License-Identifier: MIT
// Paradox tables are made here with pxlib's own writer, then read back through the engine.
#include <gtest/gtest.h>

extern "C" {
#include <paradox.h>
}

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

void Quiet(pxdoc_t*, int, const char*, void*) {}

// Writes a table of names (DOS code page 850), counts, prices, dates and flags.
void WriteSampleTable(const std::string& path) {
    pxdoc_t* px = PX_new3(Quiet, nullptr, nullptr, nullptr, nullptr);
    char name[] = "Name", count[] = "Anzahl", price[] = "Preis", day[] = "Datum", flag[] = "Aktiv",
         big[] = "Gross";
    pxfield_t fields[6] = {{name, pxfAlpha, 20, 0},  {count, pxfShort, 2, 0},
                           {price, pxfNumber, 8, 0}, {day, pxfDate, 4, 0},
                           {flag, pxfLogical, 1, 0}, {big, pxfLong, 4, 0}};
    // pxlib takes ownership of the field array and its names.
    auto* owned = static_cast<pxfield_t*>(px->malloc(px, sizeof fields, "fields"));
    for (int i = 0; i < 6; ++i) {
        owned[i] = fields[i];
        owned[i].px_fname = PX_strdup(px, fields[i].px_fname);
    }
    ASSERT_EQ(PX_create_file(px, owned, 6, path.c_str(), pxfFileTypNonIndexDB), 0);
    px->px_head->px_doscodepage = 850;
    struct Row {
        const char* name;
        short count;
        double price;
        int y, m, d;
        bool flag;
        int big;
    };
    const Row rows[] = {{"\x84pfel", 3, 2.5, 2024, 2, 29, true, 100000},
                        {"Birnen \x81"
                         "ber",
                         -1, 3.0, 1999, 12, 31, false, -7}};
    std::vector<char> record(static_cast<size_t>(PX_get_recordsize(px)));
    for (const auto& r : rows) {
        std::fill(record.begin(), record.end(), 0);
        char* p = record.data();
        char text[21] = {};
        std::strncpy(text, r.name, 20);
        PX_put_data_alpha(px, p, 20, text);
        PX_put_data_short(px, p + 20, 2, r.count);
        PX_put_data_double(px, p + 22, 8, r.price);
        PX_put_data_long(px, p + 30, 4,
                         static_cast<int>(PX_GregorianToSdn(r.y, r.m, r.d) - 1721425));
        PX_put_data_byte(px, p + 34, 1, r.flag ? 1 : 0);
        PX_put_data_long(px, p + 35, 4, r.big);
        ASSERT_GE(PX_put_record(px, p), 0);
    }
    PX_close(px);
    PX_delete(px);
}

// Writes a table of names and memos, with its memo file beside it; `memos` go into the first
// records, the others have none.
void WriteMemoTable(const std::string& path, const std::vector<std::string>& memos, int records) {
    pxdoc_t* px = PX_new3(Quiet, nullptr, nullptr, nullptr, nullptr);
    auto* owned = static_cast<pxfield_t*>(px->malloc(px, 2 * sizeof(pxfield_t), "fields"));
    owned[0] = {PX_strdup(px, "Name"), pxfAlpha, 10, 0};
    owned[1] = {PX_strdup(px, "Text"), pxfMemoBLOb, 20, 0};
    ASSERT_EQ(PX_create_file(px, owned, 2, path.c_str(), pxfFileTypNonIndexDB), 0);
    ASSERT_GE(PX_set_blob_file(px, (path.substr(0, path.size() - 2) + "mb").c_str()), 0);
    std::vector<char> record(static_cast<size_t>(PX_get_recordsize(px)));
    for (int r = 0; r < records; ++r) {
        std::fill(record.begin(), record.end(), 0);
        char name[11] = {};
        std::snprintf(name, sizeof name, "n%d", r);
        PX_put_data_alpha(px, record.data(), 10, name);
        if (r < static_cast<int>(memos.size())) {
            std::string memo = memos[static_cast<size_t>(r)];
            PX_put_data_blob(px, record.data() + 10, 20, memo.data(),
                             static_cast<int>(memo.size()));
        }
        ASSERT_GE(PX_put_record(px, record.data()), 0);
    }
    PX_close(px);
    PX_delete(px);
}

}  // namespace

TEST(ParadoxTable, TableWrittenByPxlibReadsBackAsText) {
    TempDir dir;
    WriteSampleTable(dir.File("obst.db"));
    EngineTable t(disk);
    t.SetSource(kParadoxTable, dir.Path(), "obst.db");
    ASSERT_NO_THROW(t.Open());
    ASSERT_EQ(t.FieldCount(), 6u);
    EXPECT_EQ(t.FieldName(0), "Name");
    ASSERT_EQ(t.RowCount(), 2u);
    const std::vector<std::vector<std::string>> expected = {
        {"\xE4pfel", "3", "2.5", "2024-02-29", "T", "100000"},
        {"Birnen \xFC"
         "ber",
         "-1", "3", "1999-12-31", "F", "-7"},
    };
    size_t row = 0;
    for (t.First(); !t.AtEnd(); t.Next(), ++row)
        for (size_t f = 0; f < 6; ++f)
            EXPECT_EQ(t.FieldText(f), expected[row][f]) << row << "/" << f;
    t.Close();
    t.SetEqualityFilter({{"name", "\xE4pfel"}});
    t.Open();
    EXPECT_EQ(t.RowCount(), 1u);
    EXPECT_EQ(t.FieldText("Preis"), "2.5");
}

TEST(ParadoxTable, FilesThatAreNotParadoxFailWithAMessage) {
    TempDir dir;
    dir.Write("text.db", "Dies ist keine Tabelle.\r\n");
    dir.Write("empty.db", "");
    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 37 + 11);
    dir.Write("noise.db", noise);
    for (const char* file : {"text.db", "empty.db", "noise.db"}) {
        EngineTable t(disk);
        t.SetSource(kParadoxTable, dir.Path(), file);
        try {
            t.Open();
            ADD_FAILURE() << file << " opened";
        } catch (const TableError& e) {
            EXPECT_EQ(
                std::string(e.what()).rfind(
                    std::string("Die Datei ") + file + " ist keine lesbare Paradox-Tabelle!", 0),
                0u)
                << e.what();
        }
    }
}

// A header that contradicts the file is refused with the reason, never read as an empty table
// (which would replace a published menu by an empty one) nor as one that asks for far more
// memory than the file holds (fields without bytes cost a value per record each).
TEST(ParadoxTable, AHeaderThatContradictsTheFileIsRefused) {
    TempDir dir;
    WriteSampleTable(dir.File("obst.db"));
    const std::string good = pagloom::test::ReadFile(dir.File("obst.db"));
    struct Case {
        size_t at;  // where the header is changed
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {6, std::string("\xFF\xFF\xFF\xFF", 4), "die Datei fasst so viele nicht"},  // -1 records
        {6, std::string("\x40\x42\x0F\x00", 4), "die Datei fasst so viele nicht"},  // a million
        {0x78 + 2 * 4 + 1, std::string(1, '\0'), "das Feld Aktiv hat die L\xE4nge 0"},
        // pxlib would copy nine bytes into a number of eight.
        {0x78 + 2 * 2 + 1, "\x09", "das Feld Preis hat die L\xE4nge 9, sein Typ verlangt 8"},
        // pxlib would make room for and read 65528 field descriptions.
        {0x21, std::string("\xF8\xFF", 2), "der Kopf nennt 65528 Felder, er fasst so viele nicht"},
        {0x02, std::string("\x00\xF0", 2), "der Kopf ist mit 61440 Bytes l\xE4nger als die Datei"},
    };
    for (const Case& c : cases) {
        std::string bad = good;
        bad.replace(c.at, c.bytes.size(), c.bytes);
        dir.Write("kaputt.db", bad);
        EngineTable t(disk);
        t.SetSource(kParadoxTable, dir.Path(), "kaputt.db");
        try {
            t.Open();
            ADD_FAILURE() << c.reason << ": opened with " << t.RowCount() << " rows";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
    }
}

// A table stays as small in memory as its files: a blob that many records point at is held
// once, and a blob that runs on over the blocks other records point at ends where they start.
TEST(ParadoxTable, BlobsAreHeldOnceAndEndWhereTheNextOneStarts) {
    TempDir dir;
    WriteMemoTable(dir.File("memo.db"), {std::string(20000, 'a')}, 5);
    std::string table = pagloom::test::ReadFile(dir.File("memo.db"));
    std::string memo = pagloom::test::ReadFile(dir.File("memo.mb"));
    auto record = [&](int r) { return 0x800 + 6 + static_cast<size_t>(r) * 30; };
    const std::string blobField = table.substr(record(0) + 10, 20);
    ASSERT_EQ(blobField.substr(10, 4), std::string("\xFF\x10\0\0", 4));  // at 0x1000, own blocks
    for (int r = 1; r < 4; ++r) table.replace(record(r) + 10, 20, blobField);
    // Record 4 points at a blob that starts inside the first one: its head is written there.
    const std::string inner = std::string("\x02\x04\0", 3) + std::string("\x20\x3E\0\0", 4) +
                              std::string("\x01\0", 2);  // 4 blocks, 15904 bytes, mod 1
    memo.replace(0x2000, inner.size(), inner);
    table.replace(record(4) + 10, 20,
                  memo.substr(0x2009, 10) + std::string("\xFF\x20\0\0", 4) + inner.substr(3, 6));
    dir.Write("memo.db", table);
    dir.Write("memo.mb", memo);

    EngineTable t(disk);
    t.SetSource(kParadoxTable, dir.Path(), "memo.db");
    ASSERT_NO_THROW(t.Open());
    ASSERT_EQ(t.RowCount(), 5u);
    t.First();
    const std::string_view first = t.FieldText("Text");
    EXPECT_EQ(first, std::string(0x1000 - 9, 'a'));  // up to the inner blob's head
    for (int r = 0; r < 4; ++r, t.Next())
        ASSERT_EQ(t.FieldText("Text").data(), first.data()) << r;  // the same bytes
    EXPECT_EQ(t.FieldText("Text"), std::string(15904, 'a'));
}
