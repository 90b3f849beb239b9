// SPDX-License-Identifier: MIT
#include "tables/engines/OdbcSource.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <cstdint>

#include "tables/TableError.h"
#include "text/Cp1252.h"

namespace pagloom {

namespace {

// A data source that does not answer must not hold the program for long.
constexpr SQLULEN kLoginTimeoutSeconds = 10;
constexpr SQLULEN kQueryTimeoutSeconds = 60;

static_assert(sizeof(SQLWCHAR) == sizeof(std::uint16_t), "ODBC's wide characters are UTF-16");

std::string WideToCp1252(const SQLWCHAR* s, size_t n) {
    return Utf16ToCp1252(reinterpret_cast<const std::uint16_t*>(s), n);
}

std::basic_string<SQLWCHAR> Cp1252ToWide(const std::string& text) {
    std::basic_string<SQLWCHAR> out;
    for (unsigned char c : text) out.push_back(static_cast<SQLWCHAR>(Cp1252ToCodePoint(c)));
    return out;
}

SQLWCHAR* W(std::basic_string<SQLWCHAR>& s) { return s.data(); }

// The handles of one conversation with a data source; freed in reverse order.
class Connection {
  public:
    explicit Connection(const std::string& dataSource) : name_(dataSource) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
            throw TableError("Die ODBC-Umgebung kann nicht angelegt werden!");
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) Fail(SQL_HANDLE_ENV, env_);
        SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
        // Braces keep a name with ';' in one piece; plain names go without them, since some
        // drivers read the DSN from the connection string again and do not strip braces.
        std::string value = dataSource;
        if (value.find_first_of(";{}=") != std::string::npos || value.empty()) {
            value = "{";
            for (char ch : dataSource) {
                value.push_back(ch);
                if (ch == '}') value.push_back('}');
            }
            value += "}";
        }
        auto connect = Cp1252ToWide("DSN=" + value + ";");
        SQLWCHAR out[1024];
        SQLSMALLINT outLen = 0;
        if (!SQL_SUCCEEDED(SQLDriverConnectW(dbc_, nullptr, W(connect), SQL_NTS, out, 1024, &outLen,
                                             SQL_DRIVER_NOPROMPT)))
            Fail(SQL_HANDLE_DBC, dbc_);
        connected_ = true;
    }
    ~Connection() {
        if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        if (connected_) SQLDisconnect(dbc_);
        if (dbc_) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    SQLHSTMT Statement() {
        if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        stmt_ = SQL_NULL_HSTMT;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt_)))
            Fail(SQL_HANDLE_DBC, dbc_);
        SQLSetStmtAttr(stmt_, SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(kQueryTimeoutSeconds), 0);
        return stmt_;
    }
    SQLHDBC Dbc() const { return dbc_; }

    [[noreturn]] void Fail(SQLSMALLINT type, SQLHANDLE handle, const std::string& what = "") const {
        std::string message =
            what.empty() ? "Die Datenquelle " + name_ + " antwortet nicht!" : what;
        const std::string detail = Diagnostics(type, handle);
        if (!detail.empty()) message += " (" + detail + ")";
        throw TableError(message);
    }

    static std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
        SQLWCHAR state[6], text[512];
        SQLINTEGER native = 0;
        SQLSMALLINT len = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, 1, state, &native, text, 512, &len)))
            return "";
        return WideToCp1252(text, static_cast<size_t>(std::clamp<int>(len, 0, 511)));
    }

  private:
    std::string name_;
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
    bool connected_ = false;
};

// Reads column `col` of the current row as text; long values come in pieces.
bool GetText(SQLHSTMT stmt, SQLUSMALLINT col, std::string& out) {
    out.clear();
    std::basic_string<SQLWCHAR> wide;
    SQLWCHAR buf[2048];
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN rc = SQLGetData(stmt, col, SQL_C_WCHAR, buf, sizeof buf, &ind);
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc)) return false;
        if (ind == SQL_NULL_DATA) return true;
        const size_t cap = sizeof buf / sizeof(SQLWCHAR) - 1;
        const size_t got =
            (ind == SQL_NO_TOTAL || static_cast<size_t>(ind) / sizeof(SQLWCHAR) > cap)
                ? cap
                : static_cast<size_t>(ind) / sizeof(SQLWCHAR);
        wide.append(buf, got);
        if (rc == SQL_SUCCESS) break;  // SQL_SUCCESS_WITH_INFO: more to come
    }
    out = WideToCp1252(wide.data(), wide.size());
    return true;
}

std::string QuoteIdentifier(Connection& c, const std::string& name) {
    SQLWCHAR quote[8] = {};
    SQLSMALLINT len = 0;
    std::string q = "\"";
    if (SQL_SUCCEEDED(SQLGetInfoW(c.Dbc(), SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &len)) &&
        len > 0)
        q = WideToCp1252(quote, static_cast<size_t>(len) / sizeof(SQLWCHAR));
    if (q.empty() || q == " ") q = "\"";
    std::string out = q;
    for (char ch : name) {
        out.push_back(ch);
        if (std::string(1, ch) == q) out.push_back(ch);  // a quote inside the name is doubled
    }
    return out + q;
}

}  // namespace

std::vector<std::string> ListOdbcDataSources() {
    std::vector<std::string> names;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return names;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLWCHAR name[SQL_MAX_DSN_LENGTH + 1], description[512];
    SQLSMALLINT nameLen = 0, descriptionLen = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSourcesW(env, direction, name, SQL_MAX_DSN_LENGTH + 1, &nameLen,
                                         description, 512, &descriptionLen))) {
        names.push_back(WideToCp1252(
            name, static_cast<size_t>(std::clamp<int>(nameLen, 0, SQL_MAX_DSN_LENGTH))));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return names;
}

std::vector<std::string> ListOdbcTables(const std::string& dataSource) {
    Connection c(dataSource);
    SQLHSTMT stmt = c.Statement();
    if (!SQL_SUCCEEDED(SQLTablesW(stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0)))
        c.Fail(SQL_HANDLE_STMT, stmt,
               "Die Tabellen der Datenquelle " + dataSource + " k\xF6nnen nicht gelesen werden!");
    std::vector<std::string> tables;
    std::string name, type;
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        if (!GetText(stmt, 3, name) || !GetText(stmt, 4, type)) break;
        if (type == "TABLE" || type == "VIEW") tables.push_back(name);
    }
    return tables;
}

void ReadOdbcTable(const std::string& dataSource, const std::string& table, RowStore& store) {
    Connection c(dataSource);
    SQLHSTMT stmt = c.Statement();
    auto sql = Cp1252ToWide("SELECT * FROM " + QuoteIdentifier(c, table));
    const std::string cannotRead =
        "Die Tabelle " + table + " der Datenquelle " + dataSource + " kann nicht gelesen werden!";
    if (!SQL_SUCCEEDED(SQLExecDirectW(stmt, W(sql), SQL_NTS)))
        c.Fail(SQL_HANDLE_STMT, stmt, cannotRead);
    SQLSMALLINT columns = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt, &columns)) || columns <= 0)
        c.Fail(SQL_HANDLE_STMT, stmt, cannotRead);
    for (SQLSMALLINT i = 1; i <= columns; ++i) {
        SQLWCHAR name[256];
        SQLSMALLINT len = 0, type = 0, decimals = 0, nullable = 0;
        SQLULEN size = 0;
        if (!SQL_SUCCEEDED(SQLDescribeColW(stmt, static_cast<SQLUSMALLINT>(i), name, 256, &len,
                                           &type, &size, &decimals, &nullable)))
            c.Fail(SQL_HANDLE_STMT, stmt, cannotRead);
        store.AddField(WideToCp1252(name, static_cast<size_t>(std::clamp<int>(len, 0, 255))));
    }
    std::string value;
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc)) c.Fail(SQL_HANDLE_STMT, stmt, cannotRead);
        for (SQLSMALLINT i = 1; i <= columns; ++i) {
            if (!GetText(stmt, static_cast<SQLUSMALLINT>(i), value))
                c.Fail(SQL_HANDLE_STMT, stmt, cannotRead);
            store.AppendValue(value);
        }
    }
}

}  // namespace pagloom
