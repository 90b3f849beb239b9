// SPDX-License-Identifier: MIT
// What one build did with each file it was to make, in the order it came to them: written new,
// changed, left as it was, skipped because its overwrite setting is off and a file is there,
// or failed. A planning build fills it with what the build would do. Publishing and progress
// read it; the log stays the user's view of the same run.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace pagloom {

enum class FileFate { New, Changed, Unchanged, Skipped, Failed };

struct FileRecord {
    std::string path;  // as the build wrote it: destination + "/" + name
    FileFate fate;
};

class BuildRecord {
  public:
    void Add(std::string path, FileFate fate) {
        ++counts_[static_cast<size_t>(fate)];
        files_.push_back({std::move(path), fate});
    }
    const std::vector<FileRecord>& Files() const { return files_; }
    int Count(FileFate fate) const { return counts_[static_cast<size_t>(fate)]; }

  private:
    std::vector<FileRecord> files_;
    std::array<int, 5> counts_{};
};

}  // namespace pagloom
