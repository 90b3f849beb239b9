// SPDX-License-Identifier: MIT
#include "generator/SaveIfChanged.h"

#include <string_view>

#include "generator/BuildError.h"
#include "io/FileSystem.h"

namespace pagloom {
namespace {

// Compares the lines with the text as SplitLines would cut it, without building the list:
// a build may compare thousands of pages, and this keeps it to one pass and no allocation.
bool SameLines(const TextLines& lines, std::string_view text) {
    size_t pos = 0;
    for (const auto& line : lines) {
        if (pos >= text.size()) return false;  // the file has fewer lines
        size_t eol = FindLineBreak(text, pos);
        size_t end = eol == std::string_view::npos ? text.size() : eol;
        if (std::string_view(line) != text.substr(pos, end - pos)) return false;
        if (eol == std::string_view::npos) {
            pos = text.size();
        } else {
            pos = eol +
                  ((text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n') ? 2 : 1);
        }
    }
    return pos >= text.size();  // no lines left over in the file
}

}  // namespace

SaveResult SaveLines(const std::string& path, const TextLines& lines, bool knownMissing) {
    // Buffers are kept between calls: a build saves many files one after the other.
    static thread_local std::string existing;
    static thread_local std::string joined;

    FileSystem& fs = Fs();
    if (knownMissing && !lines.empty()) {
        joined.clear();
        AppendJoinedLines(lines, joined);
        switch (fs.CreateNew(path, joined)) {
            case FileSystem::CreateResult::Created:
                return SaveResult::Written;
            case FileSystem::CreateResult::Failed:
                return SaveResult::Failed;
            case FileSystem::CreateResult::Exists:
                break;  // made by someone else since the caller looked: compare it
        }
    }
    // One read tells an existing file (to compare with), a missing one (to create) and one that
    // cannot be read (which ends the build).
    bool missing = false;
    switch (fs.Read(path, existing)) {
        case FileSystem::ReadState::Read:
            break;
        case FileSystem::ReadState::Missing:
            existing.clear();
            missing = true;
            break;
        case FileSystem::ReadState::Unreadable:
            throw BuildAbort(CannotReadMessage(path));
    }
    if (SameLines(lines, existing)) return SaveResult::Unchanged;
    joined.clear();
    AppendJoinedLines(lines, joined);
    return WriteFileAtomic(path, joined, nullptr, missing) ? SaveResult::Written
                                                           : SaveResult::Failed;
}

SaveResult SaveIfChanged(const std::string& path, const TextLines& lines, MakeReport& report) {
    report.Add(path + "...");
    const SaveResult result = SaveLines(path, lines);
    report.AddOutcome(result);
    return result;
}

}  // namespace pagloom
