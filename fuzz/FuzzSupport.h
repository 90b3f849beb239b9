// SPDX-License-Identifier: MIT
// What the fuzz targets share: a file system held in memory (so every reader sees the fuzzed
// bytes through the same seam as real files, and no run touches the disk), a host that stays
// silent, and a way to cut one input into several files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "io/FileSystem.h"
#include "ports/Host.h"

namespace pagloom::fuzz {

// Files live in a map from path to bytes; folders exist when they were created or hold a file.
// Each input makes its own and hands it to the code under test.
class MemoryFs : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::vector<std::string> folders{"/", "/fuzz"};

    bool ReadAll(const std::string& path, std::string& out) override {
        auto it = files.find(path);
        if (it == files.end()) {
            out.clear();
            return false;
        }
        out = it->second;
        return true;
    }
    bool WriteNew(const std::string& path, std::string_view data) override {
        if (!DirectoryExists(Parent(path)) || DirectoryExists(path)) return false;
        files[path] = std::string(data);
        return true;
    }
    CreateResult CreateNew(const std::string& path, std::string_view data) override {
        if (FileExists(path)) return CreateResult::Exists;
        return WriteNew(path, data) ? CreateResult::Created : CreateResult::Failed;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        auto it = files.find(from);
        if (it == files.end() || DirectoryExists(to)) return false;
        std::string data = std::move(it->second);
        files.erase(it);
        files[to] = std::move(data);
        return true;
    }
    bool Remove(const std::string& path) override { return files.erase(path) > 0; }
    void CopyPermissions(const std::string&, const std::string&) override {}
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool DirectoryExists(const std::string& path) override {
        for (const auto& f : folders)
            if (f == path) return true;
        return false;
    }
    bool CreateDirectory(const std::string& path) override {
        if (!DirectoryExists(Parent(path)) || FileExists(path)) return false;
        if (!DirectoryExists(path)) folders.push_back(path);
        return true;
    }
    std::vector<std::string> ListFiles(const std::string& dir) override {
        std::vector<std::string> names;
        const std::string prefix = dir.empty() || dir.back() == '/' ? dir : dir + "/";
        for (const auto& [path, data] : files)
            if (path.compare(0, prefix.size(), prefix) == 0 &&
                path.find('/', prefix.size()) == std::string::npos)
                names.push_back(path.substr(prefix.size()));
        return names;
    }

  private:
    static std::string Parent(const std::string& path) {
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos) return ".";
        return slash == 0 ? "/" : path.substr(0, slash);
    }
};

// Answers every question with the given answer and forgets every message.
class QuietHost : public Host {
  public:
    explicit QuietHost(Answer answer = Answer::Yes) : answer_(answer) {}
    void ShowMessage(const std::string&) override { ++messages; }
    Answer Ask(const std::string&, bool withCancel) override {
        return answer_ == Answer::Cancel && !withCancel ? Answer::No : answer_;
    }
    std::string ProgramDir() const override { return "/fuzz"; }
    std::tm LocalNow() const override { return std::tm{}; }
    int messages = 0;

  private:
    Answer answer_;
};

// Cuts an input into parts at each occurrence of `separator`; a separator that never occurs
// leaves the whole input as the one part. Lets one input carry a table with its memo file, or
// a page with its template.
inline std::vector<std::string_view> SplitInput(const uint8_t* data, size_t size,
                                                std::string_view separator) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = all.find(separator);
        if (at == std::string_view::npos) break;
        parts.push_back(all.substr(0, at));
        all.remove_prefix(at + separator.size());
    }
    parts.push_back(all);
    return parts;
}

}  // namespace pagloom::fuzz
