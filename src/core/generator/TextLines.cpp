// SPDX-License-Identifier: MIT
#include "generator/TextLines.h"

#include "generator/BuildError.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"

namespace pagloom {

std::string CannotReadMessage(const std::string& path) {
    return "Die Datei " + path + " kann nicht gelesen werden!" + WindowsPathNote(path);
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

namespace {

// Steps through a text's lines as SplitLines cuts them, without copying them.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    std::string_view Next() {
        const size_t eol = FindLineBreak(text_, pos_);
        const size_t end = eol == std::string_view::npos ? text_.size() : eol;
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = eol == std::string_view::npos
                   ? text_.size()
                   : eol + ((text_[eol] == '\r' && eol + 1 < text_.size() && text_[eol + 1] == '\n')
                                ? 2
                                : 1);
        return line;
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

std::string NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (LineCursor lines(text); !lines.AtEnd();) {
        out += lines.Next();
        out += "\r\n";
    }
    return out;
}

bool SameLines(std::string_view a, std::string_view b) {
    if (a == b) return true;  // the usual case: a page as this program wrote it
    LineCursor x(a), y(b);
    while (!x.AtEnd() && !y.AtEnd())
        if (x.Next() != y.Next()) return false;
    return x.AtEnd() && y.AtEnd();
}

TextLines ReadTextLines(FileSystem& fs, const std::string& path) {
    std::string text;
    if (!fs.ReadAll(path, text)) throw BuildAbort(CannotReadMessage(path));
    return SplitLines(text);
}

}  // namespace pagloom
