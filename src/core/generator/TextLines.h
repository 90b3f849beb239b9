// SPDX-License-Identifier: MIT
// Texts as lists of lines, the form in which every writer builds a file. Generated files end
// every line, the last one included, with CR LF; files are read back splitting at CR LF, at
// a lone CR and at a lone LF, so a page edited on any system compares equal to its text.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

class FileSystem;

using TextLines = std::vector<std::string>;

// Splits at CR LF, lone CR and lone LF; a final line break adds no empty line, so "" and
// "\r\n" give no line and one empty line respectively.
TextLines SplitLines(std::string_view text);

// Position of the next CR or LF at or after `pos`, or npos. (find_first_of with a two-byte set
// asks memchr once per byte; this is one pass.)
size_t FindLineBreak(std::string_view text, size_t pos);

// Each line followed by CR LF.
std::string JoinLines(const TextLines& lines);
// The same, appended to `out` (lets callers reuse one buffer).
void AppendJoinedLines(const TextLines& lines, std::string& out);

// The text as JoinLines(SplitLines(text)) gives it, in one pass: every break CR LF, and one after
// the last line.
std::string NormalizeLineBreaks(std::string_view text);

// Whether two texts have the same lines as SplitLines cuts them (bytes compared exactly).
bool SameLines(std::string_view a, std::string_view b);

// Reads a file as lines. Throws BuildAbort with CannotReadMessage(path) when it cannot be
// read, because a template that cannot be read ends the build.
TextLines ReadTextLines(FileSystem& fs, const std::string& path);

}  // namespace pagloom
