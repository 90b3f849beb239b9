// SPDX-License-Identifier: MIT
// Pieces shared by the writers and the template readers: the head and foot of the simple
// pages, web addresses turned into links, and small scanners that find tags in templates.
// Texts are Windows-1252 bytes. Positions are 1-based byte positions; 0 means "not found".
// None of these functions fails or throws.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "generator/TextLines.h"

namespace pagloom {

// Document type lines of the generated pages.
extern const char* const kDoctypeTransitional;  // HTML 4.01 Transitional
extern const char* const kDoctypeFrameset;      // HTML 4.01 Frameset
// The charset line every simple page carries in its head.
extern const char* const kMetaContentType;

// Appends the eight head lines of a simple page; the title goes in unchanged.
void AddPageHead(TextLines& lines, std::string_view title);
// Appends "</body>" and "</html>".
void AddPageFoot(TextLines& lines);

// Replaces every "www." address (letter case ignored) by a link to "http://www." + address.
// The address runs up to the first byte <= 32 or 160; one final "!", ",", ".", ";" or "?"
// stays outside the link. A non-empty target adds ' target="<target>"' to every link.
std::string WebAddressesToLinks(std::string_view text, std::string_view target);

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
    std::string name;  // in lower case
    size_t open = 0;   // position of the opening bracket
    size_t close = 0;  // position of the closing bracket
};
// The next non-empty tag at or after `start`. A tag may span lines; empty tags ("<>") are
// skipped. A tag whose closing bracket is missing is not found.
BracketTag NextBracketTag(std::string_view text, size_t start, TagBrackets brackets);
// The first tag named `name` (letter case ignored) at or after `start`.
BracketTag FindBracketTag(std::string_view text, size_t start, std::string_view name,
                          TagBrackets brackets);

}  // namespace pagloom
