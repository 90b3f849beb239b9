// SPDX-License-Identifier: MIT
#include "text/Cp1252.h"

#include <array>

namespace pagloom {
namespace {

// 0x80..0x9F; the undefined positions keep their C1 code point.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
    return byte;
}

int CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) return 0x80 + i;
    }
    return -1;
}

Utf8Char DecodeUtf8(std::string_view in, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(in[at + k]); };
    const unsigned char c = byte(0);
    if (c < 0x80) return {c, 1};
    std::size_t len = 0;
    // The allowed range of the second byte keeps out overlong forms, surrogates and code
    // points beyond U+10FFFF.
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return {};
    }
    if (at + len > in.size()) return {};
    char32_t cp = c & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char cc = byte(k);
        if (k == 1 ? (cc < lo || cc > hi) : (cc & 0xC0) != 0x80) return {};
        cp = (cp << 6) | (cc & 0x3F);
    }
    return {cp, len};
}

std::string Cp1252ToUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size() + in.size() / 8);
    for (unsigned char c : in) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            AppendUtf8(out, Cp1252ToCodePoint(c));
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    const size_t n = in.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        int len = (c >= 0xF0 && c < 0xF8)   ? 4
                  : (c >= 0xE0) && c < 0xF0 ? 3
                  : (c >= 0xC2 && c < 0xE0) ? 2
                                            : 0;
        char32_t cp = 0;
        bool ok = len > 0 && i + len <= n;
        if (ok) {
            cp = c & (0x7F >> len);
            for (int k = 1; k < len; ++k) {
                const auto cc = static_cast<unsigned char>(in[i + k]);
                if ((cc & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (!ok) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        const int b = CodePointToCp1252(cp);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
        i += len;
    }
    return out;
}

std::string Utf16ToCp1252(const std::uint16_t* s, std::size_t n) {
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        const int b = CodePointToCp1252(c);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8) {
    // Whatever the conversion replaced or took as it stood does not come back the same way.
    std::string cp1252 = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(cp1252) != utf8) return std::nullopt;
    return cp1252;
}

}  // namespace pagloom
