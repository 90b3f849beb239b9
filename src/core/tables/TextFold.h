// SPDX-License-Identifier: MIT
// Case-insensitive comparison of Windows-1252 texts, as field names, captions and menu texts
// are compared: letters of both cases, umlauts included, count as equal.
#pragma once
#include <string>
#include <string_view>

namespace pagloom {

// Lower-case form of one Windows-1252 byte (A-Z, the accented capitals, Š Œ Ž Ÿ).
unsigned char FoldByte1252(unsigned char c);
// The whole text folded with FoldByte1252; equal results mean "equal without regard to case".
std::string FoldText1252(std::string_view text);
bool SameText1252(std::string_view a, std::string_view b);

}  // namespace pagloom
