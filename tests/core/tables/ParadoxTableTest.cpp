// SPDX-License-Identifier: MIT
// Paradox tables are made here with pxlib's own writer, then read back through the engine.
#include <gtest/gtest.h>

extern "C" {
#include <paradox.h>
}

#include <cstdint>
#include <cstring>

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

// A header whose record count contradicts the file is refused with the reason, never read as an
// empty table (which would replace a published menu by an empty one).
TEST(ParadoxTable, AHeaderThatContradictsTheFileIsRefused) {
    TempDir dir;
    WriteSampleTable(dir.File("obst.db"));
    const std::string good = pagloom::test::ReadFile(dir.File("obst.db"));
    for (const std::uint32_t claimed : {0xFFFFFFFFu, 1000000u}) {
        std::string bad = good;
        std::memcpy(bad.data() + 6, &claimed, 4);  // the header's record count
        dir.Write("kaputt.db", bad);
        EngineTable t(disk);
        t.SetSource(kParadoxTable, dir.Path(), "kaputt.db");
        try {
            t.Open();
            ADD_FAILURE() << claimed << " opened with " << t.RowCount() << " rows";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find("die Datei fasst so viele nicht"),
                      std::string::npos)
                << e.what();
        }
    }
}
