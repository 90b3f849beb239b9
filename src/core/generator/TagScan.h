// SPDX-License-Identifier: MIT
// Scanners that find tags in templates: the tag around a word, a tag's attributes, the name
// attribute of many tags of one text, and the field and record tags of table templates with
// their chosen brackets. Texts are Windows-1252 bytes. Positions are 1-based byte positions;
// 0 means "not found". None of these functions fails or throws.
#pragma once
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagloom {

// The tag around a word, found in lower case: the first occurrence of the word at or after
// `start`, the last "<" between `start` and it, and the first ">" after the word.
struct TagAround {
    size_t open = 0;   // position of the "<"; 0 when there is no such tag
    size_t after = 0;  // position just after the ">"
};
TagAround FindTagAround(std::string_view text, size_t start, std::string_view word);

// Reads the text of one tag (brackets included) into entries in lower case: first
// "tagname=" + name, then one entry per attribute, "name=value" with quotes removed, or the
// name alone for an attribute without a value. '<FIELD name="Vorname">' gives
// "tagname=field", "name=vorname".
std::vector<std::string> ParseTagAttributes(std::string_view tag);

// The value of the first entry "name=..." that ParseTagAttributes gives for a tag of one text,
// for many tags of it. Tags inside one another share their closing bracket; reading each on its
// own would read the shared rest again, so what was read is remembered by position and reader
// state, and all tags of a text cost time in proportion to its size. The text must outlive the
// object.
class TagNameAttribute {
  public:
    explicit TagNameAttribute(std::string_view text) : text_(text) {}
    // For the tag from `open` to `close` (1-based positions of its brackets); nullopt when the
    // tag has no such entry.
    std::optional<std::string> Of(size_t open, size_t close) const;

  private:
    // The reader's state after a byte, with only what can still decide the entry: the state,
    // how much of "name" the current attribute name matched, whether the attribute is "name",
    // whether its "=" came right after it, and where a value began.
    struct Key {
        size_t close, at, from;
        unsigned char state, matched;
        bool isName, direct;
        bool operator==(const Key&) const = default;
    };
    struct Found {
        size_t from, to;  // 0-based, `from` npos when there is no entry
    };
    struct Seen {
        Key key;
        Found found;
        size_t next;  // the next state seen at the same byte, 1-based in seen_; 0 ends the list
    };
    std::string_view text_;
    // Per byte a short list of the states seen after it and what followed from each.
    mutable std::vector<size_t> first_;
    mutable std::deque<Seen> seen_;  // grows without copying what it holds
    mutable std::vector<Key> path_;
};

// The opening and closing character of the field and record tags of table templates.
struct TagBrackets {
    char open = '<';
    char close = '>';
};
// The brackets of the tag-bracket list entry `index` (0 "<...>", 1 "(...)", 2 "{...}",
// 3 "[...]", 4 "«...»"); an index outside the list gives the first entry.
TagBrackets TagBracketsFor(int index);

struct BracketTag {
    bool found = false;
    std::string_view name;  // as written in the text
    size_t open = 0;        // position of the opening bracket
    size_t close = 0;       // position of the closing bracket
    // Whether the name is `lowerName` (given in lower case), letter case ignored.
    bool Named(std::string_view lowerName) const;
};

// The tags of one text, read in a single pass, so that walking a template tag by tag costs
// time in proportion to its size for any text: unclosed, nested and lone brackets included.
// The text must outlive the object.
class BracketTags {
  public:
    BracketTags(std::string_view text, TagBrackets brackets);
    // The next non-empty tag at or after `start`. A tag may span lines; empty tags ("<>") are
    // skipped; an opening bracket inside a tag is an ordinary byte of it. A tag whose closing
    // bracket is missing is not found, and neither is any tag after it.
    BracketTag Next(size_t start) const;
    // The first tag named `lowerName` (lower case; letter case of the text ignored) on the walk
    // from tag to tag that starts with Next(start).
    BracketTag Find(size_t start, std::string_view lowerName) const;

  private:
    struct Tag {
        size_t open, close;  // 0-based
        size_t nameFrom, nameSize;
    };
    static constexpr size_t kNone = static_cast<size_t>(-1);
    BracketTag Make(size_t index) const;
    const std::vector<size_t>& WalkFor(std::string_view lowerName) const;

    std::string_view text_;
    std::vector<Tag> tags_;     // from the last opening bracket to the first
    std::vector<size_t> next_;  // per 0-based position (and the end): the tag Next finds
    // Per name asked of Find: per tag, the first tag of that name on the walk from it. Few
    // names are asked of one text (the closing field and record tags).
    mutable std::vector<std::pair<std::string, std::vector<size_t>>> walks_;
};

}  // namespace pagloom
