// SPDX-License-Identifier: MIT
#include "tables/engines/OdbcSource.h"

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

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

// How the ODBC configuration spells a data source's name: odbc.ini holds bytes, on this system
// mostly UTF-8, sometimes Windows-1252. The project holds Windows-1252.
std::string DisplayName(const std::string& configured) {
    const std::optional<std::string> exact = Utf8ToCp1252Exact(configured);
    return exact ? *exact : configured;
}

// The configured name of the data source a project calls `name`: the one spelled with exactly
// these bytes, else the one that reads as `name`; when none is configured, `name` in UTF-8.
std::string ConfiguredName(const std::string& name) {
    std::string readsAs;
    SQLHENV env = SQL_NULL_HENV;
    if (SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLCHAR dsn[SQL_MAX_DSN_LENGTH + 1], description[512];
        SQLSMALLINT dsnLen = 0, descriptionLen = 0;
        for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
             SQL_SUCCEEDED(SQLDataSources(env, direction, dsn, sizeof dsn, &dsnLen, description,
                                          sizeof description, &descriptionLen));
             direction = SQL_FETCH_NEXT) {
            const std::string configured(reinterpret_cast<const char*>(dsn));
            if (configured == name) {
                SQLFreeHandle(SQL_HANDLE_ENV, env);
                return configured;
            }
            if (readsAs.empty() && DisplayName(configured) == name) readsAs = configured;
        }
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    return readsAs.empty() ? Cp1252ToUtf8(name) : readsAs;
}

// A value of the data source's entry in odbc.ini (or of its driver's in odbcinst.ini).
std::string Profile(const std::string& section, const char* key, const char* file) {
    char value[4096] = {};
    if (SQLGetPrivateProfileString(section.c_str(), key, "", value, sizeof value, file) <= 0)
        return "";
    return value;
}

// The SQLite driver makes an empty database where the data source's file is missing, so a
// build or a check that only reads would leave files behind; it is told not to (NoCreat), and
// a missing file is reported before anything is opened. It also reads the data source's entry
// again under the name as it stands in the connection string, braces and all, so a name that
// needs them gets its database file handed over directly.
struct SqliteSource {
    bool is = false;
    std::string database;  // as odbc.ini names it
};

SqliteSource SqliteSourceOf(const std::string& dsn) {
    std::string driver = Profile(dsn, "Driver", "odbc.ini");
    if (!driver.empty() && driver.find('/') == std::string::npos)
        driver = Profile(driver, "Driver", "odbcinst.ini");
    std::string file = driver.substr(driver.find_last_of('/') + 1);
    std::transform(file.begin(), file.end(), file.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (file.find("sqlite") == std::string::npos) return {};
    return {true, Profile(dsn, "Database", "odbc.ini")};
}

// The connection string for the data source the ODBC configuration names `dsn`. Throws
// TableError (through `refuse`) when the source must not be opened.
template <class Refuse>
std::string ConnectionString(const std::string& dsn, Refuse&& refuse) {
    // Braces keep a name with ';' or '=' in one piece; plain names go without them, since
    // some drivers read the DSN from the connection string again and do not strip braces.
    std::string value = dsn;
    const bool braced = value.find_first_of(";{}=") != std::string::npos || value.empty();
    if (braced) {
        value = "{";
        for (char ch : dsn) {
            value.push_back(ch);
            if (ch == '}') value.push_back('}');
        }
        value += "}";
    }
    const std::string connect = "DSN=" + value + ";";
    const SqliteSource sqlite = SqliteSourceOf(dsn);
    if (!sqlite.is) return connect;
    const std::string& db = sqlite.database;
    struct stat st;
    if (!db.empty() && db != ":memory:" && db.rfind("file:", 0) != 0 &&
        ::stat(db.c_str(), &st) != 0)
        refuse("Ihre Datenbankdatei " + DisplayName(db) + " fehlt.");
    // The driver takes the first value of a key and reads a value up to the next ';', braces
    // and all: its own keys go first, and a file name with ';' cannot be handed over (the
    // driver then reads the entry itself, which only a plain name allows).
    if (braced && db.find(';') != std::string::npos)
        refuse("Der SQLite-Treiber kann ihre Datenbankdatei " + DisplayName(db) +
               " nicht \xF6"
               "ffnen: ihr Name enth\xE4lt ; = { oder } und der Dateiname ein "
               "Semikolon.");
    return "NoCreat=1;" + (braced && !db.empty() ? "Database=" + db + ";" : "") + connect;
}

// The handles of one conversation with a data source; freed in reverse order.
class Connection {
  public:
    explicit Connection(const std::string& dataSource) : name_(dataSource) {
        // The name goes over as the configuration spells it; the driver manager would turn
        // a wide name into Latin-1 and miss a name stored in UTF-8.
        std::string connect = ConnectionString(ConfiguredName(dataSource),
                                               [this](const std::string& why) { Refuse(why); });
        try {
            if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
                throw TableError("Die ODBC-Umgebung kann nicht angelegt werden!");
            SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                          0);
            if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)))
                Fail(SQL_HANDLE_ENV, env_);
            SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT,
                              reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
            SQLCHAR out[1024];
            SQLSMALLINT outLen = 0;
            if (!SQL_SUCCEEDED(SQLDriverConnect(dbc_, nullptr,
                                                reinterpret_cast<SQLCHAR*>(connect.data()),
                                                static_cast<SQLSMALLINT>(connect.size()), out,
                                                sizeof out, &outLen, SQL_DRIVER_NOPROMPT)))
                FailToConnect();
            connected_ = true;
        } catch (...) {
            Release();  // no destructor runs for a constructor that throws
            throw;
        }
    }
    ~Connection() { Release(); }
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

    // The data source cannot be opened, and why.
    [[noreturn]] void Refuse(const std::string& why) const {
        throw TableError("Die Datenquelle " + name_ + " antwortet nicht! " + why);
    }

    [[noreturn]] void FailToConnect() const {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT len = 0;
        SQLGetDiagRecW(SQL_HANDLE_DBC, dbc_, 1, state, &native, nullptr, 0, &len);
        const std::string code = WideToCp1252(state, 5);
        std::string why;
        if (code == "IM002")
            why = " Sie ist nicht eingerichtet (odbc.ini).";
        else if (code == "IM003" || code == "01000")
            why = " Ihr Treiber kann nicht geladen werden.";
        Fail(SQL_HANDLE_DBC, dbc_, "Die Datenquelle " + name_ + " antwortet nicht!" + why);
    }

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
    void Release() {
        if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        if (connected_) SQLDisconnect(dbc_);
        if (dbc_) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
        stmt_ = SQL_NULL_HSTMT;
        connected_ = false;
        dbc_ = SQL_NULL_HDBC;
        env_ = SQL_NULL_HENV;
    }

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
    // The names' bytes as configured (see DisplayName); the wide listing would widen each byte.
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1], description[512];
    SQLSMALLINT nameLen = 0, descriptionLen = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &nameLen, description,
                                        sizeof description, &descriptionLen))) {
        names.push_back(DisplayName(reinterpret_cast<const char*>(name)));
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

namespace {

void ReadTable(const std::string& dataSource, const std::string& table, RowStore& store) {
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

}  // namespace

void ReadOdbcTable(const std::string& dataSource, const std::string& table, RowStore& store) {
    ReadWithinMemory(table, [&] { ReadTable(dataSource, table, store); });
}

}  // namespace pagloom
