// SPDX-License-Identifier: MIT
#include "tables/TextFold.h"

#include <array>

namespace pagloom {
namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            t[c] = static_cast<unsigned char>(c + 32);  // 0xD7 is the multiplication sign
    t[0x8A] = 0x9A;                                     // Š
    t[0x8C] = 0x9C;                                     // Œ
    t[0x8E] = 0x9E;                                     // Ž
    t[0x9F] = 0xFF;                                     // Ÿ
    return t;
}
constexpr auto kFold = MakeFoldTable();

}  // namespace

unsigned char FoldByte1252(unsigned char c) { return kFold[c]; }

std::string FoldText1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
    return out;
}

bool SameText1252(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

}  // namespace pagloom
