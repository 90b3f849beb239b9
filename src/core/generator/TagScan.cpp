// SPDX-License-Identifier: MIT
#include "generator/TagScan.h"

#include "model/TagBrackets.h"
#include "text/TextConversions.h"

namespace pagloom {

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
    auto slice = [&](size_t from, size_t to) { return ToLowerAscii(tag.substr(from, to - from)); };
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

// The reader of ParseTagAttributes, stepped byte by byte; see there for the states. Only
// entries that begin "name=" are kept: a value after an attribute "name" (states 6 to 8), and
// at the end a "name=" with blanks only (state 5) or an unclosed quoted text that begins so.
std::optional<std::string> TagNameAttribute::Of(size_t open, size_t close) const {
    constexpr size_t kNo = std::string_view::npos;
    constexpr unsigned char kMismatch = 5;
    if (open < 1 || close <= open || close > text_.size()) return std::nullopt;
    const size_t last = close - 1;  // 0-based closing bracket, not read
    Key k{last, open - 1, 0, 0, 0, false, false};
    if (first_.empty()) first_.assign(text_.size(), 0);
    path_.clear();
    Found found{kNo, kNo};
    auto lookup = [&]() -> const Seen* {
        for (size_t n = first_[k.at]; n != 0; n = seen_[n - 1].next)
            if (seen_[n - 1].key == k) return &seen_[n - 1];
        return nullptr;
    };
    auto begin = [&](char c) {  // a new attribute name
        k.state = 3;
        k.matched = ToLowerAscii(c) == 'n' ? 1 : kMismatch;
        k.isName = k.direct = false;
        k.from = 0;
    };
    auto between = [&] {
        k.state = 2;
        k.matched = 0;
        k.isName = k.direct = false;
        k.from = 0;
    };
    for (;;) {
        if (const Seen* seen = lookup()) {
            found = seen->found;
            break;
        }
        path_.push_back(k);
        if (k.at + 1 >= last) {
            switch (k.state) {
                case 5:
                    if (k.isName && k.direct) found = {k.from, last};
                    break;
                case 6:
                    if (k.isName) found = {k.from, last};
                    break;
                case 7:
                case 8:
                    if (last - k.from >= 5 && ToLowerAscii(text_.substr(k.from, 5)) == "name=")
                        found = {k.from + 5, last};
                    break;
                default:
                    break;
            }
            break;
        }
        const size_t i = ++k.at;
        const char c = text_[i];
        const bool blank = c == ' ', dquote = c == '"', apos = c == '\'', eq = c == '=';
        const bool other = !blank && !dquote && !apos && !eq;
        bool entry = false;
        switch (k.state) {
            case 0:
                if (other) k.state = 1;
                break;
            case 1:
                if (blank) between();
                break;
            case 2:
                if (other) begin(c);
                break;
            case 3:
                if (blank || eq) {
                    k.isName = k.matched == 4;
                    k.matched = 0;
                    k.state = blank ? 4 : 5;
                    k.direct = eq && k.isName;
                    k.from = k.direct ? i + 1 : 0;
                } else if (k.matched < 4 && ToLowerAscii(c) == "name"[k.matched]) {
                    ++k.matched;
                } else {
                    k.matched = kMismatch;
                }
                break;
            case 4:
                if (eq)
                    k.state = 5;
                else if (other)
                    begin(c);
                break;
            case 5:
                // Blanks and further "=" keep the state and what it knows.
                if (dquote || apos) {
                    k.state = dquote ? 8 : 7;
                    k.from = i + 1;
                    k.direct = false;
                } else if (other) {
                    k.state = 6;
                    k.from = k.isName ? i : 0;
                    k.direct = false;
                }
                break;
            case 6:
            case 7:
            case 8:
                if ((k.state == 6 && blank) || (k.state == 7 && apos) || (k.state == 8 && dquote)) {
                    entry = k.isName;
                    if (entry) found = {k.from, i};
                    between();
                }
                break;
        }
        if (entry) break;
    }
    for (const Key& p : path_) {
        seen_.push_back({p, found, first_[p.at]});
        first_[p.at] = seen_.size();
    }
    if (found.from == kNo) return std::nullopt;
    return ToLowerAscii(text_.substr(found.from, found.to - found.from));
}

TagBrackets TagBracketsFor(int index) {
    const TagBracketKind& kind = TagBracketKindAt(index);
    return {kind.open, kind.close};
}

bool BracketTag::Named(std::string_view lowerName) const {
    if (name.size() != lowerName.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (ToLowerCp1252(name[i]) != lowerName[i]) return false;
    return true;
}

// Outside a tag only an opening bracket matters, so what Next finds from a position is decided
// by the first opening bracket at or after it; and what that bracket starts is decided by the
// bytes after it. One pass from the end therefore answers Next for every position.
BracketTags::BracketTags(std::string_view text, TagBrackets brackets)
    : text_(text), next_(text.size() + 1, kNone) {
    size_t close = kNone;    // the first closing bracket after i
    size_t stop = kNone;     // the first blank or closing bracket after i: where a name ends
    size_t name = kNone;     // the first byte after i that can begin a name
    size_t nameEnd = kNone;  // where that name ends
    for (size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if (c != brackets.open) {
            next_[i] = next_[i + 1];
        } else if (close == kNone) {
            next_[i] = kNone;  // unclosed: nothing is found from here on
        } else if (name < close) {
            next_[i] = tags_.size();
            tags_.push_back({i, close, name, nameEnd - name});
        } else {
            next_[i] = next_[close + 1];  // an empty tag is skipped
        }
        if (c == brackets.close) close = i;
        if (c == ' ' || c == brackets.close) stop = i;
        if (c != ' ' && c != brackets.open && c != brackets.close) name = i, nameEnd = stop;
    }
}

BracketTag BracketTags::Make(size_t index) const {
    if (index == kNone) return {};
    const Tag& t = tags_[index];
    return {true, text_.substr(t.nameFrom, t.nameSize), t.open + 1, t.close + 1};
}

BracketTag BracketTags::Next(size_t start) const {
    if (start < 1) start = 1;
    return start - 1 < next_.size() ? Make(next_[start - 1]) : BracketTag{};
}

const std::vector<size_t>& BracketTags::WalkFor(std::string_view lowerName) const {
    for (const auto& [n, walk] : walks_)
        if (n == lowerName) return walk;
    std::vector<size_t> walk(tags_.size(), kNone);
    // The walk goes to later tags, which were collected earlier.
    for (size_t k = 0; k < tags_.size(); ++k) {
        if (Make(k).Named(lowerName)) {
            walk[k] = k;
        } else {
            const size_t after = next_[tags_[k].close + 1];
            walk[k] = after == kNone ? kNone : walk[after];
        }
    }
    walks_.emplace_back(std::string(lowerName), std::move(walk));
    return walks_.back().second;
}

BracketTag BracketTags::Find(size_t start, std::string_view lowerName) const {
    const BracketTag first = Next(start);
    if (!first.found) return first;
    return Make(WalkFor(lowerName)[next_[first.open - 1]]);
}

}  // namespace pagloom
