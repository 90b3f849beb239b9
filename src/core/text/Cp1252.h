// SPDX-License-Identifier: MIT
// The one Windows-1252 <-> UTF-8 codec. Inside the core every text is a std::string of
// Windows-1252 bytes (that is what project files, templates and generated pages hold);
// conversion happens only at the edges: GUI, CLI output, engines that deliver UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {

// Windows-1252 bytes to UTF-8. The five undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control of the same number, so the conversion never loses a byte.
std::string Cp1252ToUtf8(std::string_view cp1252);

// UTF-8 to Windows-1252. Characters without a Windows-1252 form become '?';
// invalid UTF-8 bytes are taken as Windows-1252 bytes as they stand.
std::string Utf8ToCp1252(std::string_view utf8);

// UTF-8 to Windows-1252 only where nothing is lost: nothing when a character has no
// Windows-1252 form or the bytes are not UTF-8. For names (paths) that must not be replaced by
// another name, as '?' or a byte taken as it stands would do.
std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8);

// UTF-16 code units (as ODBC drivers deliver text) to Windows-1252. A surrogate pair is one
// character; characters without a Windows-1252 form and lone surrogates become '?'.
std::string Utf16ToCp1252(const std::uint16_t* units, std::size_t count);

// The well-formed UTF-8 sequence that starts at `at`: its code point and length in bytes.
// Length 0 when the bytes there are not well-formed UTF-8 (a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate, a code point beyond U+10FFFF).
struct Utf8Char {
    char32_t cp = 0;
    std::size_t length = 0;
};
Utf8Char DecodeUtf8(std::string_view utf8, std::size_t at);

// Unicode code point of a Windows-1252 byte, and back (-1 when not representable).
char32_t Cp1252ToCodePoint(unsigned char byte);
int CodePointToCp1252(char32_t cp);

}  // namespace pagloom
