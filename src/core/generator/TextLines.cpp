// SPDX-License-Identifier: MIT
#include "generator/TextLines.h"

#include "generator/BuildError.h"
#include "io/FileSystem.h"

namespace pagloom {

std::string CannotReadMessage(const std::string& path) {
    return "Die Datei " + path + " kann nicht gelesen werden!";
}

size_t FindLineBreak(std::string_view text, size_t pos) {
    const char* data = text.data();
    for (size_t i = pos, n = text.size(); i < n; ++i) {
        if (data[i] == '\n' || data[i] == '\r') return i;
    }
    return std::string_view::npos;
}

TextLines SplitLines(std::string_view text) {
    TextLines lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = FindLineBreak(text, pos);
        if (eol == std::string_view::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, eol - pos));
        pos = eol + ((text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

void AppendJoinedLines(const TextLines& lines, std::string& out) {
    size_t size = out.size();
    for (const auto& l : lines) size += l.size() + 2;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
}

std::string JoinLines(const TextLines& lines) {
    std::string out;
    AppendJoinedLines(lines, out);
    return out;
}

TextLines ReadTextLines(const std::string& path) {
    std::string text;
    if (!Fs().ReadAll(path, text)) throw BuildAbort(CannotReadMessage(path));
    return SplitLines(text);
}

}  // namespace pagloom
