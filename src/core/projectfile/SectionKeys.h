// SPDX-License-Identifier: MIT
// The keys of a project-file section as one table: each entry names a key and the place of its
// value in the section's record. Reading and writing both walk the table, so a key's name, place,
// kind and position in the file are stated once. A key's default is the value a
// default-constructed record holds.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/Choice.h"
#include "model/TPrjParams.h"
#include "model/TableSettings.h"
#include "projectfile/IniFile.h"
#include "tables/TableKinds.h"
#include "text/TextConversions.h"

namespace pagloom::keys {

// One option of a choice group, stored as a key of its own (true when selected).
template <class R, std::size_t N>
struct Option {
    Choice<N> R::*choice;
    int option;
};
template <class R, std::size_t N>
constexpr Option<R, N> Opt(Choice<N> R::*choice, int option) {
    return {choice, option};
}

// A whole number that means something only within lo..hi; outside it, reading gives `outside`,
// and so does writing unless `writeAsIs`.
template <class R>
struct Ranged {
    int R::*member;
    int lo, hi, outside;
    bool writeAsIs = false;
};

// A chosen field of a table: its name, or its position.
template <class R>
struct ColumnName {
    ColumnChoice R::*column;
};
template <class R>
struct ColumnIndex {
    ColumnChoice R::*column;
};

// One text of a fixed array of texts.
template <class R>
struct Element {
    std::array<std::string, 32> R::*array;
    int index;
};

// A list of texts: the key holds the count, <prefix><first + i> entry i. Lines of a text box
// (`boxLines`) keep their blank lines in memory but not in the file, and their count follows
// them; other lists store every entry after their count.
template <class R>
struct TextList {
    std::vector<std::string> R::*list;
    const char* prefix;
    int first;
    const char* itemDefault;
    bool boxLines;
};

// A per-slot flag added after files without it were in use: written only when set or already in
// the file, so such a file is saved byte for byte as it was.
template <class R>
struct LaterFlag {
    SlotArray<bool> R::*member;
};

// A slot's entry of a per-slot array; the walk names the slot. A char array holds one-character
// keys (quote, separator), a byte array table kinds stored as their key text.
template <class R>
using Target = std::variant<bool R::*, int R::*, std::string R::*, Option<R, 2>, Option<R, 3>,
                            Option<R, 5>, Ranged<R>, ColumnName<R>, ColumnIndex<R>, Element<R>,
                            TextList<R>, SlotArray<std::string> R::*, SlotArray<bool> R::*,
                            SlotArray<char> R::*, SlotArray<std::uint8_t> R::*, LaterFlag<R>>;

template <class R>
struct Key {
    std::string name;  // without the walk's prefix
    Target<R> target;
};

// Missing keys of a list give placeholder entries. A damaged file could claim billions of them;
// every list may hold `allowance` more entries than its section has keys, shared by the lists
// of one read, so loading stays bounded.
inline int ListLength(const IniFile& ini, std::string_view section, int count,
                      long long& allowance) {
    if (count <= 0) return 0;
    const long long keys = static_cast<long long>(ini.KeyCount(section));
    long long n = count;
    if (n > keys + allowance) n = keys + allowance;
    if (n > keys) allowance -= n - keys;
    return static_cast<int>(n);
}

// Where a walk reads or writes: the section, a prefix of every key name, and the slot that
// per-slot arrays are indexed by.
struct Place {
    std::string section;
    std::string prefix;
    ContentSlot slot = ContentSlot::firstpage;
};

template <class R>
class KeyReader {
  public:
    KeyReader(const IniFile& ini, const Place& at, const std::string& key, R& out, const R& d,
              long long& allowance)
        : ini_(ini), at_(at), key_(key), out_(out), d_(d), allowance_(allowance) {}

    void operator()(bool R::*m) const { out_.*m = B(d_.*m); }
    void operator()(int R::*m) const { out_.*m = I(d_.*m); }
    void operator()(std::string R::*m) const { out_.*m = S(d_.*m); }
    template <std::size_t N>
    void operator()(Option<R, N> o) const {
        (out_.*o.choice).Set(o.option, B((d_.*o.choice).Is(o.option)));
    }
    void operator()(Ranged<R> g) const {
        const int v = I(d_.*g.member);
        out_.*g.member = v >= g.lo && v <= g.hi ? v : g.outside;
    }
    void operator()(ColumnName<R> c) const { (out_.*c.column).name = S((d_.*c.column).name); }
    void operator()(ColumnIndex<R> c) const { (out_.*c.column).index = I((d_.*c.column).index); }
    void operator()(Element<R> e) const { (out_.*e.array)[e.index] = S((d_.*e.array)[e.index]); }
    void operator()(TextList<R> l) const {
        std::vector<std::string>& list = out_.*l.list;
        list.clear();
        const int stored = I(static_cast<int>((d_.*l.list).size()));
        const int n = ListLength(ini_, at_.section, stored, allowance_);
        list.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            list.push_back(ini_.ReadString(at_.section, Item(l, i), l.itemDefault));
    }
    void operator()(SlotArray<std::string> R::*m) const {
        (out_.*m)[at_.slot] = S((d_.*m)[at_.slot]);
    }
    void operator()(SlotArray<bool> R::*m) const { (out_.*m)[at_.slot] = B((d_.*m)[at_.slot]); }
    void operator()(LaterFlag<R> f) const { (*this)(f.member); }
    // The INI reader trims blanks, so a stored TAB or blank is taken from the raw value; an
    // empty value keeps the default.
    void operator()(SlotArray<char> R::*m) const {
        char c = (d_.*m)[at_.slot];
        std::string raw;
        if (const std::string v = S(""); !v.empty())
            c = v.front();
        else if (ini_.ReadRaw(at_.section, key_, raw) && !raw.empty())
            c = raw.front();
        (out_.*m)[at_.slot] = c;
    }
    // A kind text this program does not know leaves the slot's kind as it was.
    void operator()(SlotArray<std::uint8_t> R::*m) const {
        TableKindFromText(S(TableKindText((d_.*m)[at_.slot])), (out_.*m)[at_.slot]);
    }

    static std::string Item(const TextList<R>& l, int i) {
        return l.prefix + std::to_string(l.first + i);
    }

  private:
    bool B(bool def) const { return ini_.ReadBool(at_.section, key_, def); }
    int I(int def) const { return ini_.ReadInteger(at_.section, key_, def); }
    std::string S(std::string_view def) const { return ini_.ReadString(at_.section, key_, def); }

    const IniFile& ini_;
    const Place& at_;
    const std::string& key_;
    R& out_;
    const R& d_;
    long long& allowance_;
};

template <class R>
class KeyWriter {
  public:
    KeyWriter(IniFile& ini, const Place& at, const std::string& key, const R& in)
        : ini_(ini), at_(at), key_(key), in_(in) {}

    void operator()(bool R::*m) const { B(in_.*m); }
    void operator()(int R::*m) const { I(in_.*m); }
    void operator()(std::string R::*m) const { S(in_.*m); }
    template <std::size_t N>
    void operator()(Option<R, N> o) const {
        B((in_.*o.choice).Is(o.option));
    }
    void operator()(Ranged<R> g) const {
        const int v = in_.*g.member;
        I(g.writeAsIs || (v >= g.lo && v <= g.hi) ? v : g.outside);
    }
    void operator()(ColumnName<R> c) const { S((in_.*c.column).name); }
    void operator()(ColumnIndex<R> c) const { I((in_.*c.column).index); }
    void operator()(Element<R> e) const { S((in_.*e.array)[e.index]); }
    void operator()(TextList<R> l) const {
        const std::vector<std::string>& list = in_.*l.list;
        if (!l.boxLines) {
            I(static_cast<int>(list.size()));
            for (std::size_t i = 0; i < list.size(); ++i)
                ini_.WriteString(at_.section, KeyReader<R>::Item(l, static_cast<int>(i)), list[i]);
            return;
        }
        int stored = 0;
        for (const std::string& line : list) {
            if (TrimBlanks(line).empty()) continue;  // blank lines carry nothing
            ini_.WriteString(at_.section, KeyReader<R>::Item(l, stored++), line);
        }
        I(stored);
    }
    void operator()(SlotArray<std::string> R::*m) const { S((in_.*m)[at_.slot]); }
    void operator()(SlotArray<bool> R::*m) const { B((in_.*m)[at_.slot]); }
    void operator()(LaterFlag<R> f) const {
        const bool v = (in_.*f.member)[at_.slot];
        if (v || ini_.HasKey(at_.section, key_)) B(v);
    }
    void operator()(SlotArray<char> R::*m) const { S(std::string(1, (in_.*m)[at_.slot])); }
    void operator()(SlotArray<std::uint8_t> R::*m) const { S(TableKindText((in_.*m)[at_.slot])); }

  private:
    void B(bool v) const { ini_.WriteBool(at_.section, key_, v); }
    void I(int v) const { ini_.WriteInteger(at_.section, key_, v); }
    void S(std::string_view v) const { ini_.WriteString(at_.section, key_, v); }

    IniFile& ini_;
    const Place& at_;
    const std::string& key_;
    const R& in_;
};

// Reads every key of the table into `out`, each missing or unreadable key taking the default
// record's value.
template <class R>
void ReadKeys(const IniFile& ini, const Place& at, const std::vector<Key<R>>& keys, R& out,
              long long& allowance) {
    const R d{};
    for (const Key<R>& k : keys) {
        const std::string name = at.prefix + k.name;
        std::visit(KeyReader<R>(ini, at, name, out, d, allowance), k.target);
    }
}

// Writes every key of the table in table order; keys already in the section keep their place.
template <class R>
void WriteKeys(IniFile& ini, const Place& at, const std::vector<Key<R>>& keys, const R& in) {
    for (const Key<R>& k : keys) {
        const std::string name = at.prefix + k.name;
        std::visit(KeyWriter<R>(ini, at, name, in), k.target);
    }
}

}  // namespace pagloom::keys
