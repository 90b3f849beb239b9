// SPDX-License-Identifier: MIT
// The one way a generated file reaches the disk. A file is rewritten only when its text
// differs from what is on disk, so an unchanged site keeps its file dates (and uploads of
// changed files stay small); a changed file is replaced atomically, so a crash or a full
// disk never leaves half a page.
#pragma once
#include <string>

#include "generator/MakeReport.h"
#include "generator/TextLines.h"

namespace pagloom {

class FileSystem;

// Logs path + "...", then compares `lines` with the file at `path` read as lines (split at
// CR LF, CR or LF; bytes compared exactly, case matters):
//  - equal (a missing file counts as no lines): logs "Keine Änderung", touches nothing and
//    returns Unchanged; an empty text therefore never creates a file;
//  - different: writes the lines, each followed by CR LF, through WriteFileAtomic; logs "OK"
//    and returns Written, or logs "Fehler!" and returns Failed when it cannot be written.
// Throws BuildAbort when the file exists but cannot be read for the comparison.
SaveResult SaveIfChanged(FileSystem& fs, const std::string& path, const TextLines& lines,
                         MakeReport& report);

// SaveIfChanged without the log lines, for lines already joined with CR LF: `text` is what is
// written, compared line by line. `knownMissing`: the caller has just seen that no file is at
// the path, so the read attempt is spared; a file that appeared meanwhile is compared as usual.
// `wasMissing` (optional) is set to whether the file was missing before the call.
SaveResult SaveText(FileSystem& fs, const std::string& path, std::string_view text,
                    bool knownMissing = false, bool* wasMissing = nullptr);

}  // namespace pagloom
