// SPDX-License-Identifier: MIT
// What the test programs share: a scratch folder per test, whole-file access, the fakes
// (Fakes.h) and the fake file systems that make single disk operations fail.
#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Fakes.h"
#include "io/FileSystem.h"

namespace pagloom::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::string operator/(const std::string& name) const { return File(name); }
    // Writes bytes as they are (making missing folders on the way) and returns the path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Number of entries in the folder.
    std::size_t EntryCount() const;

  private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
// Every file of a folder tree by its path below the folder, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& root);
// Writes bytes as they are, making missing folders on the way.
void WriteFile(const std::string& path, const std::string& data);
bool Exists(const std::string& path);
// Lines each followed by CR LF, as the desktop program stores its files.
std::string CrLf(const std::vector<std::string>& lines);
// Modification time in nanoseconds.
long long MTimeNs(const std::string& path);
// Sets a file's modification time two days back, so that any rewrite would show.
void AgeFile(const std::string& path);

// Runs `check` as an ordinary user and returns its result (0..255): directly when the tests do
// not run as root, else in a child process that gives root up for the user "nobody" first (root
// may read and write any file, so permission faults only show without it). 255: root could not
// be given up; 254: the child ended otherwise.
int AsOrdinaryUser(const std::function<int()>& check);

// Runs SQL statements on an ODBC data source (DSN) of the test's own odbc.ini; the driver makes
// the database file when it is missing. False at the first statement that fails (named in
// `failed` when given) or when the source cannot be reached.
bool ExecuteOdbcSql(const std::string& dsn, const std::vector<std::string>& statements,
                    std::string* failed = nullptr);

// The disk with switchable faults: reads of chosen paths (or of all) fail, writes to chosen
// paths are refused (as a read-only file or folder would; the tests run as root, which no
// permission stops), a rename fails, or a write stops halfway as on a full disk (the half is on
// the disk).
class FaultyFs : public FileSystem {
  public:
    std::set<std::string> unreadable;  // these paths exist but cannot be read
    std::set<std::string> refused;     // these paths cannot be written, made or renamed onto
    bool failReads = false;            // no file can be read
    bool failWrites = false;
    bool failRenames = false;

    bool ReadAll(const std::string& path, std::string& out) override;
    ReadState Read(const std::string& path, std::string& out) override;
    bool WriteNew(const std::string& path, std::string_view data) override;
    bool Rename(const std::string& from, const std::string& to) override;
    CreateResult CreateNew(const std::string& path, std::string_view data) override;
    bool CanWrite(const std::string& path) override;
};

}  // namespace pagloom::test
