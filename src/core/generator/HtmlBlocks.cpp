// SPDX-License-Identifier: MIT
#include "generator/HtmlBlocks.h"

#include "model/TagBrackets.h"
#include "text/TextConversions.h"

namespace pagloom {

const char* const kDoctypeTransitional =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\">";
const char* const kDoctypeFrameset =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" "
    "\"http://www.w3.org/TR/html4/frameset.dtd\">";
const char* const kMetaContentType =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">";

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = LowerAscii(c);
    return out;
}

}  // namespace

void AddPageHead(TextLines& lines, std::string_view title) {
    lines.emplace_back(kDoctypeTransitional);
    lines.emplace_back("<html>");
    lines.emplace_back("<head>");
    std::string t = "<title>";
    t += title;
    t += "</title>";
    lines.push_back(std::move(t));
    lines.emplace_back(kMetaContentType);
    lines.emplace_back("</head>");
    lines.emplace_back();
    lines.emplace_back("<body>");
}

void AddPageFoot(TextLines& lines) {
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
}

std::string WebAddressesToLinks(std::string_view text, std::string_view target) {
    std::string attribute;
    if (!target.empty()) {
        attribute = " target=\"";
        attribute += target;
        attribute += '"';
    }
    const std::string lower = LowerAscii(text);
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;  // everything before pos is already in out
    for (;;) {
        size_t www = lower.find("www.", pos);
        if (www == std::string::npos) break;
        size_t begin = www + 4;
        size_t end = begin;
        while (end < text.size()) {
            const auto b = static_cast<unsigned char>(text[end]);
            if (b <= 32 || b == 160) break;
            ++end;
        }
        if (end > begin) {
            char last = text[end - 1];
            if (last == '!' || last == ',' || last == '.' || last == ';' || last == '?') --end;
        }
        std::string_view address = text.substr(begin, end - begin);
        out.append(text.substr(pos, www - pos));
        out += "<a href=\"http://www.";
        out += address;
        out += '"';
        out += attribute;
        out += ">www.";
        out += address;
        out += "</a>";
        pos = end;
    }
    out.append(text.substr(pos));
    return out;
}

namespace {

// Case-insensitive find that does not copy the text: the scanners run over whole templates
// many times, and lower-casing the text per call made them quadratic.
size_t FindNoCase(std::string_view text, std::string_view lowerWord, size_t from) {
    if (lowerWord.empty()) return from <= text.size() ? from : std::string_view::npos;
    const char first = lowerWord[0];
    const size_t n = text.size(), m = lowerWord.size();
    for (size_t i = from; i + m <= n; ++i) {
        if (ToLowerCp1252(text[i]) != first) continue;
        size_t k = 1;
        while (k < m && ToLowerCp1252(text[i + k]) == lowerWord[k]) ++k;
        if (k == m) return i;
    }
    return std::string_view::npos;
}

}  // namespace

TagAround FindTagAround(std::string_view text, size_t start, std::string_view word) {
    if (start < 1) start = 1;
    const std::string lw = ToLowerCp1252(word);
    const size_t from = start - 1;
    const size_t occ = FindNoCase(text, lw, from);
    if (occ == std::string_view::npos) return {};
    size_t open = std::string_view::npos;
    for (size_t i = occ; i > from;) {
        --i;
        if (text[i] == '<') {
            open = i;
            break;
        }
    }
    if (open == std::string_view::npos) return {};
    // Without a ">" after this occurrence there is none after any later one either.
    const size_t close = text.find('>', occ + lw.size());
    if (close == std::string_view::npos) return {};
    return {open + 1, close + 2};
}

std::vector<std::string> ParseTagAttributes(std::string_view tag) {
    std::vector<std::string> entries;
    if (tag.size() < 2) return entries;
    const size_t last = tag.size() - 1;  // the closing bracket, not read
    auto slice = [&](size_t from, size_t to) { return LowerAscii(tag.substr(from, to - from)); };
    int state = 0;
    size_t start = 0;
    std::string name;  // the attribute name, with its "=" once one was seen
    for (size_t i = 1; i < last; ++i) {
        const char c = tag[i];
        const bool blank = c == ' ', dquote = c == '"', apos = c == '\'', eq = c == '=';
        const bool other = !blank && !dquote && !apos && !eq;
        switch (state) {
            case 0:
                if (other) start = i, state = 1;
                break;
            case 1:
                if (blank) entries.push_back("tagname=" + slice(start, i)), state = 2;
                break;
            case 2:
                if (other) start = i, state = 3;
                break;
            case 3:
                if (blank)
                    name = slice(start, i), state = 4;
                else if (eq)
                    name = slice(start, i) + "=", state = 5;
                break;
            case 4:
                if (eq) {
                    name += "=";
                    state = 5;
                } else if (other) {
                    entries.push_back(name);
                    start = i;
                    state = 3;
                }
                break;
            case 5:
                if (dquote)
                    start = i + 1, state = 8;
                else if (apos)
                    start = i + 1, state = 7;
                else if (other)
                    start = i, state = 6;
                break;
            case 6:
                // The blank ends the value and is not part of it, so an unquoted value can be
                // followed by further attributes.
                if (blank) entries.push_back(name + slice(start, i)), state = 2;
                break;
            case 7:
                if (apos) entries.push_back(name + slice(start, i)), state = 2;
                break;
            case 8:
                if (dquote) entries.push_back(name + slice(start, i)), state = 2;
                break;
        }
    }
    switch (state) {
        case 1:
            entries.push_back("tagname=" + slice(start, last));
            break;
        case 6:
            entries.push_back(name + slice(start, last));
            break;
        case 3:
        case 4:
        case 5:
        case 7:
        case 8:
            entries.push_back(slice(start, last));
            break;
        default:
            break;
    }
    return entries;
}

TagBrackets TagBracketsFor(int index) {
    const TagBracketKind& kind = TagBracketKindAt(index);
    return {kind.open, kind.close};
}

BracketTag NextBracketTag(std::string_view text, size_t start, TagBrackets brackets) {
    BracketTag tag;
    if (start < 1) start = 1;
    int state = 0;
    size_t nameStart = 0;
    for (size_t i = start - 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == brackets.open && state == 0) {
            tag.open = i + 1;
            state = 3;
        } else if (c == brackets.close) {
            if (state == 3) {
                state = 0;
            } else if (state == 4 || state == 5) {
                if (state == 4) tag.name = ToLowerCp1252(text.substr(nameStart, i - nameStart));
                tag.found = true;
                tag.close = i + 1;
                return tag;
            }
        } else if (c == ' ') {
            if (state == 4) {
                tag.name = ToLowerCp1252(text.substr(nameStart, i - nameStart));
                state = 5;
            }
        } else if (c == brackets.open) {
            // an opening bracket inside a tag is an ordinary byte of it
        } else if (state == 3) {
            nameStart = i;
            state = 4;
        }
    }
    return BracketTag{};
}

BracketTag FindBracketTag(std::string_view text, size_t start, std::string_view name,
                          TagBrackets brackets) {
    const std::string wanted = ToLowerCp1252(name);
    BracketTag tag = NextBracketTag(text, start, brackets);
    while (tag.found && tag.name != wanted) tag = NextBracketTag(text, tag.close + 1, brackets);
    return tag;
}

}  // namespace pagloom
