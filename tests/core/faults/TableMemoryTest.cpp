// SPDX-License-Identifier: MIT
// Memory that runs out while a table is read ends in the table's own error, which names the
// table, never in a bare std::bad_alloc: every place that shows why a table cannot be read (the
// CLI, the dialogs, the build) then shows this too.
#include <gtest/gtest.h>

#include <new>

#include "Fakes.h"
#include "TestSupport.h"
#include "model/TPrjParams.h"
#include "tables/CsvImport.h"
#include "tables/EngineTable.h"
#include "tables/TableError.h"

namespace pagloom {
namespace {

using test::TempDir;

// Runs out of memory when it reads a file whose name ends with `suffix`.
class ShortOfMemoryFs : public FileSystem {
  public:
    explicit ShortOfMemoryFs(std::string suffix) : suffix_(std::move(suffix)) {}
    bool ReadAll(const std::string& path, std::string& out) override {
        if (path.size() >= suffix_.size() &&
            path.compare(path.size() - suffix_.size(), suffix_.size(), suffix_) == 0)
            throw std::bad_alloc();
        return FileSystem::ReadAll(path, out);
    }

  private:
    std::string suffix_;
};

TEST(TableMemory, RunningOutWhileATableIsReadIsTheTablesError) {
    TempDir dir;
    // A dBase table with a memo field and its memo file; the memo runs out of memory.
    std::string dbf(32, '\0');
    dbf[0] = '\x83';
    dbf[4] = 1;
    dbf[8] = 65;
    dbf[10] = 11;
    std::string field(32, '\0');
    field.replace(0, 4, "TEXT");
    field[11] = 'M';
    field[16] = 10;
    dir.Write("notiz.dbf", dbf + field + "\r" + "          1" + "\x1A");
    dir.Write("notiz.dbt", std::string(512, '\0') + "Text\x1A\x1A");
    dir.Write("obst.db", std::string(4096, '\0'));
    struct Case {
        int kind;
        const char* table;
        const char* runsOutAt;
    };
    for (const Case& c :
         {Case{kDbaseTable, "notiz.dbf", ".dbt"}, Case{kParadoxTable, "obst.db", ".db"}}) {
        ShortOfMemoryFs fs(c.runsOutAt);
        EngineTable t(fs);
        t.SetSource(c.kind, dir.Path(), c.table);
        try {
            t.Open();
            ADD_FAILURE() << c.table << " opened";
        } catch (const TableError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Zu wenig Arbeitsspeicher, um die Tabelle ") + c.table +
                          " einzulesen!");
        }
    }

    dir.Write("menu.csv", "a;b\r\n");
    ShortOfMemoryFs fs(".csv");
    RecordingHost host;
    MemoryTable table;
    try {
        ImportCsvFile(fs, host, dir / "menu.csv", ';', '"', false, table);
        ADD_FAILURE() << "imported";
    } catch (const TableError& e) {
        EXPECT_EQ(std::string(e.what()), "Zu wenig Arbeitsspeicher, um die Tabelle " +
                                             (dir / "menu.csv") + " einzulesen!");
    }
}

}  // namespace
}  // namespace pagloom
