// SPDX-License-Identifier: MIT
// A fresh folder under the system temp dir, removed with everything in it at the end of a test.
#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace pagloom::testing {

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("pagloom-tables-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes bytes as they are and returns the file's path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return File(name);
    }

  private:
    std::filesystem::path path_;
};

}  // namespace pagloom::testing
