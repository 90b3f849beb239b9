// SPDX-License-Identifier: MIT
// ODBC data sources: an SQLite database behind the SQLite ODBC driver, configured in an
// odbc.ini of the test's own (ODBCSYSINI/ODBCINI), so no system configuration is touched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

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

const char* const kDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
// Data source names as odbc.ini holds them (UTF-8).
const char* const kOddNames[] = {"Semi;kolon", "Gleich=heit", "Klammer}zu", "K\xC3\xA4se"};

class OdbcTable : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        // DontDLClose keeps the driver loaded at exit, so leak reports can name it.
        dir_->Write("odbcinst.ini",
                    std::string("[PagloomSQLite]\nDriver=") + kDriver + "\nDontDLClose=1\n");
        // Names the connection string must quote, and one stored in UTF-8, name the same
        // database; "Fehlt" names a file that is not there (and may not be made).
        std::string shops;
        for (const char* name : kOddNames)
            shops += std::string("[") + name +
                     "]\nDriver=PagloomSQLite\nDatabase=" + dir_->File("shop.sqlite") + "\n\n";
        dir_->Write("odbc.ini",
                    "[Shop]\nDriver=PagloomSQLite\nDatabase=" + dir_->File("shop.sqlite") +
                        "\n\n[Tot]\nDriver=PagloomSQLite\nDatabase=" +
                        dir_->File("no/such/folder/x.sqlite") +
                        "\nNoCreat=1\n\n[Kaputt]\nDriver=/nonexistent/libnothing.so\n\n" +
                        "[Fehlt]\nDriver=PagloomSQLite\nDatabase=" + dir_->File("fehlt.sqlite") +
                        "\n\n" + shops);
        setenv("ODBCSYSINI", dir_->Path().c_str(), 1);
        setenv("ODBCINI", dir_->File("odbc.ini").c_str(), 1);
        // Values are stored as UTF-8 by SQLite; the engine must hand them over as Windows-1252.
        std::string failed;
        ASSERT_TRUE(pagloom::test::ExecuteOdbcSql(
            "Shop",
            {"CREATE TABLE \"Artikel Liste\" (Gruppe TEXT, Name TEXT, Preis REAL, Tag DATE, Menge "
             "INTEGER)",
             "INSERT INTO \"Artikel Liste\" VALUES ('Obst', '\xC3\xA4pfel', 2.5, '2024-02-29', 3)",
             "INSERT INTO \"Artikel Liste\" VALUES ('obst', 'Birnen', 3, NULL, NULL)",
             "INSERT INTO \"Artikel Liste\" VALUES ('Obst', 'Gr\xC3\xBC"
             "ne Feigen', 4.25, '2024-01-01', 1)",
             "CREATE VIEW Teuer AS SELECT Name FROM \"Artikel Liste\" WHERE Preis > 3"},
            &failed))
            << failed;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
};
TempDir* OdbcTable::dir_ = nullptr;

}  // namespace

TEST_F(OdbcTable, ListsDataSourcesAndTablesWithoutSystemTables) {
    const auto sources = ListDatabaseAliases();
    EXPECT_NE(std::find(sources.begin(), sources.end(), "Shop"), sources.end());
    EXPECT_EQ(ListAliasTables("Shop"), (std::vector<std::string>{"Artikel Liste", "Teuer"}));
}

TEST_F(OdbcTable, ReadsRowsInNaturalOrderAsWindows1252Text) {
    EngineTable t(disk);
    t.SetSource(kBdeTable, "Shop", "Artikel Liste");
    ASSERT_NO_THROW(t.Open());
    ASSERT_EQ(t.FieldCount(), 5u);
    EXPECT_EQ(t.FieldName(2), "Preis");
    std::vector<std::string> names, prices, days;
    for (t.First(); !t.AtEnd(); t.Next()) {
        names.emplace_back(t.FieldText("NAME"));
        prices.emplace_back(t.FieldText("Preis"));
        days.emplace_back(t.FieldText("Tag"));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"\xE4pfel", "Birnen", "Gr\xFCne Feigen"}));
    EXPECT_EQ(prices, (std::vector<std::string>{"2.5", "3.0", "4.25"}));
    EXPECT_EQ(days, (std::vector<std::string>{"2024-02-29", "", "2024-01-01"}));
    t.Close();

    // The filter is answered in memory, with case: 'obst' is not 'Obst'.
    t.SetEqualityFilter({{"Gruppe", "Obst"}});
    t.Open();
    EXPECT_EQ(t.RowCount(), 2u);
}

TEST_F(OdbcTable, UnreachableSourcesAndUnknownTablesFailWithAMessage) {
    struct Case {
        const char* dsn;
        const char* table;
        const char* message;
    };
    const Case cases[] = {
        {"Kaputt", "x",
         "Die Datenquelle Kaputt antwortet nicht! Ihr Treiber kann nicht geladen werden."},
        {"Tot", "x", "Die Datenquelle Tot antwortet nicht!"},
        {"Unbekannt", "x",
         "Die Datenquelle Unbekannt antwortet nicht! Sie ist nicht eingerichtet (odbc.ini)."},
        {"Shop", "Fehlt\"; DROP TABLE \"Artikel Liste",
         "Die Tabelle Fehlt\"; DROP TABLE \"Artikel Liste der Datenquelle Shop kann nicht gelesen "
         "werden!"},
    };
    for (const auto& c : cases) {
        EngineTable t(disk);
        t.SetSource(kBdeTable, c.dsn, c.table);
        try {
            t.Open();
            ADD_FAILURE() << c.dsn << " opened";
        } catch (const TableError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
    EXPECT_THROW(ListAliasTables("Kaputt"), TableError);
    // The quoted name above reached the database as one identifier: the table is still there.
    EngineTable t(disk);
    t.SetSource(kBdeTable, "Shop", "Artikel Liste");
    t.Open();
    EXPECT_EQ(t.RowCount(), 3u);
}

// A data source's database file that is missing is reported, never made: a dry run or a table
// check that only reads must leave nothing behind.
TEST_F(OdbcTable, AMissingDatabaseFileIsReportedAndNotMade) {
    const std::string file = dir_->File("fehlt.sqlite");
    EngineTable t(disk);
    t.SetSource(kBdeTable, "Fehlt", "Artikel Liste");
    try {
        t.Open();
        ADD_FAILURE() << "opened";
    } catch (const TableError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Die Datenquelle Fehlt antwortet nicht! Ihre "
                  "Datenbankdatei " +
                      file + " fehlt.");
    }
    EXPECT_THROW(ListAliasTables("Fehlt"), TableError);
    EXPECT_FALSE(std::filesystem::exists(file));
}

// Names with ';', '=' or '}' and names with umlauts (as the project holds them, Windows-1252)
// open the data source they name and are listed as the project holds them.
TEST_F(OdbcTable, NamesThatNeedQuotingOrHoldUmlautsOpen) {
    const auto sources = ListDatabaseAliases();
    for (const char* name : {"Semi;kolon", "Gleich=heit", "Klammer}zu", "K\xE4se"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(std::find(sources.begin(), sources.end(), name), sources.end());
        EngineTable t(disk);
        t.SetSource(kBdeTable, name, "Artikel Liste");
        ASSERT_NO_THROW(t.Open());
        EXPECT_EQ(t.RowCount(), 3u);
        EXPECT_EQ(ListAliasTables(name), (std::vector<std::string>{"Artikel Liste", "Teuer"}));
    }
}
