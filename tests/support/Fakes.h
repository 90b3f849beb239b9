// SPDX-License-Identifier: MIT
// The fakes that tests, fuzz targets and benchmarks share: a host that records every message
// and question, one that stays silent, and a file system held in memory.
#pragma once
#include <ctime>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/FileSystem.h"
#include "ports/Host.h"

namespace pagloom {

// Records every message and question; answers questions from a queue (default Yes).
class RecordingHost : public Host {
  public:
    explicit RecordingHost(std::string programDir = ".") : programDir_(std::move(programDir)) {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    Answer Ask(const std::string& question, bool) override {
        questions.push_back(question);
        if (answers.empty()) return Answer::Yes;
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::string ProgramDir() const override { return programDir_; }
    std::tm LocalNow() const override {
        return fixedNow.tm_year != 0 ? fixedNow : Host::LocalNow();
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<Answer> answers;
    // When set (tm_year != 0), LocalNow returns it.
    std::tm fixedNow{};

  private:
    std::string programDir_;
};

// Files live in a map from path to bytes; folders exist when they were created. Nothing touches
// the disk.
class MemoryFs : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::vector<std::string> folders{"/"};

    std::optional<Identity> IdentityOf(const std::string&) override { return std::nullopt; }

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
    bool Exists(const std::string& path) override {
        return FileExists(path) || DirectoryExists(path);
    }
    bool SameFile(const std::string& a, const std::string& b) override {
        return a == b && Exists(a);
    }
    std::string FollowLinks(const std::string& path) override { return path; }
    bool MayWrite(const std::string&) override { return true; }
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
    explicit QuietHost(Answer answer = Answer::Yes, std::string programDir = ".")
        : answer_(answer), programDir_(std::move(programDir)) {}
    void ShowMessage(const std::string&) override { ++messages; }
    Answer Ask(const std::string&, bool withCancel) override {
        return answer_ == Answer::Cancel && !withCancel ? Answer::No : answer_;
    }
    std::string ProgramDir() const override { return programDir_; }
    std::tm LocalNow() const override { return std::tm{}; }
    int messages = 0;

  private:
    Answer answer_;
    std::string programDir_;
};

}  // namespace pagloom
