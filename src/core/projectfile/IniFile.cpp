// SPDX-License-Identifier: MIT
#include "projectfile/IniFile.h"

#include <cstdint>
#include <limits>

#include "io/FileSystem.h"
#include "text/TextConversions.h"

namespace pagloom {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string_view s) { return ToLowerCp1252(Trim(s)); }

std::string OneLine(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// A value the reader would change (blanks at an end, or wholly inside a pair of quotes) is
// stored inside one more pair of double quotes, which the reader takes off again; so a text
// such as "Neu" (with its quotes) or a TAB separator comes back as it was saved.
std::string StoredValue(std::string_view value) {
    std::string v = OneLine(value);
    const bool changedByReader =
        !v.empty() &&
        (IsBlank(v.front()) || IsBlank(v.back()) ||
         (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()));
    return changedByReader ? '"' + v + '"' : v;
}

// The value rules of ReadString but the cut.
std::string Unquoted(std::string_view raw) {
    std::string_view v = Trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

}  // namespace

IniFile::IniFile(std::string_view text) {
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
        AddLine(text.substr(start, end - start));
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    if (!sections_.empty()) SplitTrailingBlanks(sections_.back());
}

void IniFile::SplitTrailingBlanks(Section& s) {
    std::size_t from = s.lines.size();
    while (from > 0 && !s.lines[from - 1].isKey && Trim(s.lines[from - 1].text).empty()) --from;
    for (std::size_t i = from; i < s.lines.size(); ++i)
        s.trailing.push_back(std::move(s.lines[i].text));
    s.lines.resize(from);
}

void IniFile::AddLine(std::string_view line) {
    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == '[') {
        const std::size_t close = t.find(']');
        if (close != std::string_view::npos) {
            if (!sections_.empty()) SplitTrailingBlanks(sections_.back());
            Section s;
            s.name = std::string(Trim(t.substr(1, close - 1)));
            s.header = std::string(line);
            s.hasHeader = true;
            index_[Lower(s.name)].push_back(sections_.size());
            sections_.push_back(std::move(s));
            return;
        }
    }
    if (sections_.empty()) sections_.emplace_back();  // lines before the first header
    Section& s = sections_.back();
    Line l;
    const std::size_t eq = line.find('=');
    if (s.hasHeader && eq != std::string_view::npos && !Trim(line.substr(0, eq)).empty()) {
        l.isKey = true;
        l.text = std::string(line.substr(0, eq));
        l.value = std::string(line.substr(eq + 1));
        s.keys.try_emplace(Lower(l.text), s.lines.size());
    } else {
        l.text = std::string(line);
    }
    s.lines.push_back(std::move(l));
}

bool IniFile::Load(FileSystem& fs, const std::string& path) {
    std::string data;
    if (!fs.ReadAll(path, data)) {
        *this = IniFile();
        return false;
    }
    *this = IniFile(data);
    return true;
}

std::string IniFile::Text() const {
    std::string out;
    auto add = [&out](std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        out.append(a);
        out.append(b);
        out.append(c);
        out.append("\r\n");
    };
    for (const Section& s : sections_) {
        if (s.removed) continue;
        if (s.hasHeader) add(s.header);
        for (const Line& l : s.lines) {
            if (l.isKey)
                add(l.text, "=", l.value);
            else
                add(l.text);
        }
        for (const std::string& t : s.trailing) add(t);
    }
    return out;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    auto it = index_.find(Lower(name));
    return it == index_.end() || it->second.empty() ? nullptr : &sections_[it->second.front()];
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    auto it = index_.find(Lower(name));
    return it == index_.end() || it->second.empty() ? nullptr : &sections_[it->second.front()];
}

const IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    auto it = s->keys.find(Lower(key));
    return it == s->keys.end() ? nullptr : &s->lines[it->second];
}

bool IniFile::HasAnySection() const {
    for (const Section& s : sections_)
        if (s.hasHeader) return true;
    return false;
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return FindKey(section, key) != nullptr;
}

std::size_t IniFile::KeyCount(std::string_view section) const {
    const Section* s = FindSection(section);
    return s ? s->keys.size() : 0;
}

std::string IniFile::CleanValue(std::string_view raw) {
    std::string v = Unquoted(raw);
    if (v.size() > kMaxValueLength) v.resize(kMaxValueLength);
    return v;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    const Line* l = FindKey(section, key);
    return l ? CleanValue(l->value) : std::string(def);
}

std::string IniFile::ReadStringWhole(std::string_view section, std::string_view key,
                                     std::string_view def) const {
    const Line* l = FindKey(section, key);
    return l ? Unquoted(l->value) : std::string(def);
}

bool IniFile::ReadRaw(std::string_view section, std::string_view key, std::string& value) const {
    const Line* l = FindKey(section, key);
    if (!l) return false;
    value = l->value;
    return true;
}

bool IniFile::ParseInteger(std::string_view text, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    // Accumulate the magnitude with a cap so a long digit string cannot overflow.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = base == 16 ? HexDigitValue(text[i])
                                 : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) return false;
        magnitude = magnitude * base + d;
        if (magnitude > kLimit) return false;
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return false;
    value = static_cast<int>(v);
    return true;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const Line* l = FindKey(section, key);
    if (!l) return def;
    int v = 0;
    return ParseInteger(CleanValue(l->value), v) ? v : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

IniFile::Section& IniFile::SectionForWrite(std::string_view name) {
    if (Section* s = FindSection(name)) return *s;
    // A new section is set off from the text before it by one empty line.
    if (!sections_.empty()) {
        Section& last = sections_.back();
        if (last.trailing.empty() && (last.hasHeader || !last.lines.empty()))
            last.trailing.emplace_back();
    }
    Section s;
    s.name = OneLine(Trim(name));
    s.header = "[" + s.name + "]";
    s.hasHeader = true;
    index_[Lower(s.name)].push_back(sections_.size());
    sections_.push_back(std::move(s));
    return sections_.back();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = SectionForWrite(section);
    const std::string lower = Lower(key);
    if (auto it = s.keys.find(lower); it != s.keys.end()) {
        s.lines[it->second].value = StoredValue(value);
        return;
    }
    Line l;
    l.isKey = true;
    l.text = OneLine(Trim(key));
    l.value = StoredValue(value);
    s.keys.emplace(lower, s.lines.size());
    s.lines.push_back(std::move(l));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::ClearSection(std::string_view section) {
    auto it = index_.find(Lower(section));
    if (it == index_.end() || it->second.empty()) return;
    Section& s = sections_[it->second.front()];
    // The trailing empty lines stay: they set the section off from the next one.
    s.lines.clear();
    s.keys.clear();
    for (std::size_t k = 1; k < it->second.size(); ++k) sections_[it->second[k]].removed = true;
    it->second.resize(1);
}

void IniFile::EraseSection(std::string_view section) {
    auto it = index_.find(Lower(section));
    if (it == index_.end()) return;
    for (std::size_t i : it->second) sections_[i].removed = true;
    index_.erase(it);
}

}  // namespace pagloom
