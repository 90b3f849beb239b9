// SPDX-License-Identifier: MIT
// The number rules of the input fields, kept out of the GUI so every editor applies the same
// ones. Texts are Windows-1252 like the rest of the model.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {

// A whole number as a field accepts it: leading blanks, an optional sign, then decimal digits or
// hex digits behind "$", "x" or "0x"; nothing after the digits; the value fits in 32 bits.
std::optional<int> ParseWholeNumber(std::string_view text);

// A decimal number as the style editors accept it. Returns the text to keep: blanks trimmed and
// a "0" added before a leading or after a trailing separator ("," or "."); nothing when refused.
std::optional<std::string> ParseDecimal(std::string_view text);

}  // namespace pagloom
