// SPDX-License-Identifier: MIT
// An INI text held in memory, with the reading rules and the in-place update the project and
// group files need. Section and key names match without regard to case (Windows-1252 letters);
// on duplicates the first occurrence counts. Lines the class does not understand are kept and
// written back as they were, so a file from another program survives a save.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pagloom {

class FileSystem;

class IniFile {
  public:
    // Longest value a reader gets; longer values are cut.
    static constexpr std::size_t kMaxValueLength = 2047;

    IniFile() = default;
    // Takes the lines of `text` (CR LF, LF or CR line ends). Any bytes are accepted; what is not
    // a section header or a key line is kept as it stands.
    explicit IniFile(std::string_view text);

    // Reads the file through `fs`. A missing or unreadable file (or a folder) gives an empty
    // INI and false.
    bool Load(FileSystem& fs, const std::string& path);
    // The whole text, every line ended by CR LF.
    std::string Text() const;

    bool HasSection(std::string_view section) const;
    // Whether the text has a section header at all.
    bool HasAnySection() const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // Number of key lines in the section (0 when it is missing).
    std::size_t KeyCount(std::string_view section) const;

    // The value trimmed of blanks and tabs, without one pair of enclosing '"' or '\'' quotes, cut
    // to kMaxValueLength; `def` when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // ReadString without the cut, for values that are lists a user may make long (the
    // publishing patterns): a cut there would drop a pattern without a word.
    std::string ReadStringWhole(std::string_view section, std::string_view key,
                                std::string_view def) const;
    // Everything after the first '=' exactly as stored (a TAB or blank value survives here);
    // false when the key is missing.
    bool ReadRaw(std::string_view section, std::string_view key, std::string& value) const;
    // A 32-bit integer: optional sign, then decimal digits or hex digits behind "$", "x" or
    // "0x"; nothing after the digits. `def` when missing, malformed or out of range.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Read as an integer; non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Sets a key: an existing key keeps its place, a new key goes after the section's last key,
    // a new section goes at the end of the file. CR and LF in the value become blanks so a
    // value can never start a line of its own. A value that ReadString would change (blanks or
    // tabs at an end, or wholly enclosed in a pair of quotes) is stored inside double quotes, so
    // it reads back exactly.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // Empties a section but keeps its place in the file, so rewriting it leaves the section
    // order stable from one save to the next. Later sections of the same name are removed.
    void ClearSection(std::string_view section);
    // Removes every section of that name, header included.
    void EraseSection(std::string_view section);

    // Parses an integer by the rules of ReadInteger; false when it is none.
    static bool ParseInteger(std::string_view text, int& value);
    // Applies the value rules of ReadString to a raw value.
    static std::string CleanValue(std::string_view raw);

  private:
    struct Line {
        std::string text;   // the whole line for raw lines; the key as written for key lines
        std::string value;  // key lines: everything after '='
        bool isKey = false;
    };
    struct Section {
        std::string name;    // as written; empty for the lines before the first header
        std::string header;  // the header line as it stands
        bool hasHeader = false;
        bool removed = false;
        std::vector<Line> lines;
        std::vector<std::string> trailing;                  // empty lines after the last other line
        std::unordered_map<std::string, std::size_t> keys;  // lower-case key -> first line
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Line* FindKey(std::string_view section, std::string_view key) const;
    Section& SectionForWrite(std::string_view name);
    void AddLine(std::string_view line);
    static void SplitTrailingBlanks(Section& s);

    std::vector<Section> sections_;
    // Lower-case name -> the sections of that name still in the file, in file order.
    std::unordered_map<std::string, std::vector<std::size_t>> index_;
};

}  // namespace pagloom
