// SPDX-License-Identifier: MIT
// Small conversions of Windows-1252 text shared by the writers and the windows. They work on
// bytes, are pure and never fail.
#pragma once
#include <string>
#include <string_view>

namespace pagloom {

// Makes a menu text or table value safe for HTML: '"' and '\'' as numeric references, bytes
// 160..255 as "&#n;", each blank after a blank as "&nbsp;", '<' and '>' kept when keepTags, else
// "&#60;"/"&#62;". The ampersand, control bytes and 128..159 pass unchanged.
std::string HtmlEscape(std::string_view text, bool keepTags);
// The same, appended to `out`.
void AppendHtmlEscaped(std::string& out, std::string_view text, bool keepTags);

// A file-name stem from a menu text: / \ & ' " < > and blank become '_', ä/Ä "ae", ö/Ö "oe",
// ü/Ü "ue", ß "ss"; every other byte stays.
std::string MakeFileName(std::string_view text);

// The value of a hexadecimal digit (either case); -1 for any other byte.
int HexDigitValue(char c);

// Removes blanks (byte 32 only) at both ends; tabs stay.
std::string TrimBlanks(std::string_view text);

// Windows-1252 case mapping of one byte (ASCII letters, the accented letters, Š Œ Ž Ÿ).
// A-Z only: for names in markup, where a lowered umlaut would match what it must not.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
char ToLowerCp1252(char c);
char ToUpperCp1252(char c);
std::string ToLowerCp1252(std::string_view text);

}  // namespace pagloom
