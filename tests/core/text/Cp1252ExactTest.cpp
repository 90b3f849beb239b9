// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/Cp1252.h"

using namespace pagloom;

TEST(Utf8ToCp1252Exact, RefusesWhatWindows1252CannotHold) {
    struct Case {
        const char* name;
        std::string utf8;
        std::optional<std::string> cp1252;
    } cases[] = {
        {"ascii", "/tmp/Ziel/a b?.plp", "/tmp/Ziel/a b?.plp"},
        {"umlauts",
         "\xC3\x9C"
         "bersicht",
         "\xDC"
         "bersicht"},
        {"euro and the 0x80 row", "\xE2\x82\xAC\xC5\xB8", "\x80\x9F"},
        {"undefined position keeps its C1 control", "\xC2\x81", "\x81"},
        {"empty", "", ""},
        {"Japanese", "Ziel\xE6\x97\xA5\xE6\x9C\xAC", std::nullopt},
        {"C1 control without a Windows-1252 byte", "\xC2\x80", std::nullopt},
        {"a Latin-1 byte that is not UTF-8", "\xE4.plp", std::nullopt},
        {"overlong form of a slash", "\xC0\xAF", std::nullopt},
        {"cut-off sequence", "a\xE2\x82", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252Exact(c.utf8), c.cp1252) << c.name;
}

TEST(Utf16ToCp1252, TakesSurrogatePairsWholeAndReplacesWhatItCannotHold) {
    struct Case {
        const char* name;
        std::u16string utf16;
        std::string cp1252;
    } cases[] = {
        {"ascii and umlauts", u"Gr\u00FCn \u00DC", "Gr\xFCn \xDC"},
        {"euro and the 0x80 row", u"\u20AC\u0178", "\x80\x9F"},
        {"outside the first plane: one character, one '?'", u"a\U0001F600b", "a?b"},
        {"lone surrogates", u"\xD800x\xDC00", "?x?"},
        {"Japanese", u"\u65E5", "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            Utf16ToCp1252(reinterpret_cast<const std::uint16_t*>(c.utf16.data()), c.utf16.size()),
            c.cp1252);
    }
}
