// SPDX-License-Identifier: MIT
#include "generator/SaveIfChanged.h"

#include <string_view>

#include "generator/BuildError.h"
#include "io/FileSystem.h"

namespace pagloom {

SaveResult SaveText(FileSystem& fs, const std::string& path, std::string_view text,
                    bool knownMissing, bool* wasMissing) {
    static thread_local std::string existing;
    if (wasMissing) *wasMissing = false;
    if (knownMissing && !text.empty()) {
        switch (fs.CreateNew(path, text)) {
            case FileSystem::CreateResult::Created:
                if (wasMissing) *wasMissing = true;
                return SaveResult::Written;
            case FileSystem::CreateResult::Failed:
                if (wasMissing) *wasMissing = true;
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
            if (wasMissing) *wasMissing = true;
            break;
        case FileSystem::ReadState::Unreadable:
            throw BuildAbort(CannotReadMessage(path));
    }
    // Compared line by line, so a page saved with other line breaks counts as unchanged; a
    // missing file counts as no lines.
    if (SameLines(text, existing)) return SaveResult::Unchanged;
    return WriteFileAtomic(fs, path, text, nullptr, missing) ? SaveResult::Written
                                                             : SaveResult::Failed;
}

SaveResult SaveIfChanged(FileSystem& fs, const std::string& path, const TextLines& lines,
                         MakeReport& report) {
    report.Add(path + "...");
    // The buffer is kept between calls: a build saves many files one after the other.
    static thread_local std::string joined;
    joined.clear();
    AppendJoinedLines(lines, joined);
    const SaveResult result = SaveText(fs, path, joined);
    report.AddOutcome(result);
    return result;
}

}  // namespace pagloom
