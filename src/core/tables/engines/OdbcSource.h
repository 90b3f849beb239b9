// SPDX-License-Identifier: MIT
// The adapter for named database aliases: ODBC data sources reached through unixODBC.
// Names and values cross the ODBC interface as Unicode and come back as Windows-1252.
// A table is read whole with one "SELECT * FROM" whose table name is quoted as an identifier;
// no value ever goes into SQL text (row filters are answered in memory).
//
// How values become text: the driver's own text form of each column (dates "YYYY-MM-DD" and
// numbers as the driver writes them, for SQLite "2.5" or "3"); NULL gives "".
// Rows come in the data source's natural order (no ORDER BY).
#pragma once
#include <string>
#include <vector>

#include "tables/RowStore.h"

namespace pagloom {

// The names of the configured data sources (user and system), sorted as the driver manager
// lists them. Empty when there are none or ODBC is not configured.
std::vector<std::string> ListOdbcDataSources();

// The tables and views of a data source, without system tables. Throws TableError when the
// data source cannot be reached.
std::vector<std::string> ListOdbcTables(const std::string& dataSource);

// Reads all rows of `table` from `dataSource` into `store`. Throws TableError with a German
// message when the data source does not answer or the table cannot be read, or when memory runs
// out. A data source whose SQLite database file is missing is reported, never made.
void ReadOdbcTable(const std::string& dataSource, const std::string& table, RowStore& store);

}  // namespace pagloom
