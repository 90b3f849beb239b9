// SPDX-License-Identifier: MIT
#include "TestSupport.h"

#include <sql.h>
#include <sqlext.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace pagloom::test {

namespace stdfs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (stdfs::temp_directory_path() / "pagloom-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) stdfs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    WriteFile(path, bytes);
    return path;
}

std::size_t TempDir::EntryCount() const {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : stdfs::directory_iterator(path_)) ++n;
    return n;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& data) {
    const stdfs::path parent = stdfs::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty()) stdfs::create_directories(parent, ec);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

bool Exists(const std::string& path) { return stdfs::exists(path); }

std::string CrLf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

long long MTimeNs(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

void AgeFile(const std::string& path) {
    stdfs::last_write_time(path, stdfs::file_time_type::clock::now() - std::chrono::hours(48));
}

bool FaultyFs::ReadAll(const std::string& path, std::string& out) {
    if (failReads || unreadable.count(path)) {
        out.clear();
        return false;
    }
    return FileSystem::ReadAll(path, out);
}

FileSystem::ReadState FaultyFs::Read(const std::string& path, std::string& out) {
    if (failReads || unreadable.count(path)) return ReadState::Unreadable;
    return FileSystem::Read(path, out);
}

bool FaultyFs::WriteNew(const std::string& path, std::string_view data) {
    if (!failWrites) return FileSystem::WriteNew(path, data);
    FileSystem::WriteNew(path, data.substr(0, data.size() / 2));
    return false;
}

bool FaultyFs::Rename(const std::string& from, const std::string& to) {
    return !failRenames && !refused.count(to) && FileSystem::Rename(from, to);
}

FileSystem::CreateResult FaultyFs::CreateNew(const std::string& path, std::string_view data) {
    return refused.count(path) ? CreateResult::Failed : FileSystem::CreateNew(path, data);
}

bool FaultyFs::CanWrite(const std::string& path) {
    return !refused.count(path) && FileSystem::CanWrite(path);
}

int AsOrdinaryUser(const std::function<int()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child < 0) return 254;
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(255);
        ::_exit(check() & 0xFF);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 254;
    return WEXITSTATUS(status);
}

bool ExecuteOdbcSql(const std::string& dsn, const std::vector<std::string>& statements,
                    std::string* failed) {
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string connect = "DSN=" + dsn + ";";
    bool ok =
        SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()),
                                       SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
    if (!ok && failed) *failed = connect;
    if (ok) {
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        for (std::string s : statements) {
            if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(s.data()), SQL_NTS)))
                continue;
            ok = false;
            if (failed) *failed = s;
            break;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        SQLDisconnect(dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return ok;
}

std::map<std::string, std::string> FilesBelow(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), root).string()] = ReadFile(e.path().string());
    return files;
}

}  // namespace pagloom::test
