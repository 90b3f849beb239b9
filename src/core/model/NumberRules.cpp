// SPDX-License-Identifier: MIT
#include "model/NumberRules.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "text/TextConversions.h"

namespace pagloom {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [sign] mantissa [e [sign] digits], the mantissa holding at least one digit and at most one
// separator. Either "," or "." separates.
bool IsDecimalNumber(std::string_view t) {
    size_t i = 0;
    const size_t n = t.size();
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && IsDigit(t[i])) ++i, ++digits;
    if (i < n && (t[i] == '.' || t[i] == ',')) {
        ++i;
        while (i < n && IsDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < n && IsDigit(t[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == n;
}

// A value beyond the range of a double, too large or too small, is refused.
bool FitsDouble(std::string probe) {
    for (char& c : probe)
        if (c == ',') c = '.';
    const char* first = probe.data();
    if (*first == '+') ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, probe.data() + probe.size(), value);
    return ec == std::errc() && end == probe.data() + probe.size();
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return std::nullopt;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int d = base == 16 ? HexDigitValue(text[i]) : IsDigit(text[i]) ? text[i] - '0' : -1;
        if (d < 0) return std::nullopt;
        value = value * base + d;
        // Stop before the sum can overflow; the sign decides below whether 2^31 fits.
        if (value > 0x80000000LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::string> ParseDecimal(std::string_view text) {
    // Only the space character counts as a blank here, as in the project file.
    std::string t = TrimBlanks(text);
    if (t.empty()) return std::nullopt;
    if (t.front() == ',' || t.front() == '.') t.insert(t.begin(), '0');
    if (t.back() == ',' || t.back() == '.') t.push_back('0');
    if (!IsDecimalNumber(t)) return std::nullopt;
    if (!FitsDouble(t)) return std::nullopt;
    return t;
}

}  // namespace pagloom
