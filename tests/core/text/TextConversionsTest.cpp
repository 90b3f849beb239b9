// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "text/TextConversions.h"

using namespace pagloom;

namespace {
struct Case {
    const char* name;
    std::string in;
    std::string out;
};
}  // namespace

TEST(HtmlEscape, ConvertsByteByByte) {
    const Case withTags[] = {
        {"empty", "", ""},
        {"blank run keeps first blank", "a  b", "a &nbsp;b"},
        {"three blanks", "a   b", "a &nbsp;&nbsp;b"},
        {"single leading blank unchanged", " x", " x"},
        {"leading run", "  x", " &nbsp;x"},
        {"quotes as references", "\"it's\"", "&#34;it&#39;s&#34;"},
        {"tags kept", "<b>Start</b>", "<b>Start</b>"},
        {"ampersand unchanged", "AT&T", "AT&T"},
        {"high bytes numbered", "M\xE4rz \xA0\xFF", "M&#228;rz &#160;&#255;"},
        {"128..159 and controls pass", "\x80\x9F\t\x01", "\x80\x9F\t\x01"},
    };
    for (const auto& c : withTags) EXPECT_EQ(HtmlEscape(c.in, true), c.out) << c.name;
    EXPECT_EQ(HtmlEscape("<b>Start</b>", false), "&#60;b&#62;Start&#60;/b&#62;");
    EXPECT_EQ(HtmlEscape("a > b", false), "a &#62; b");
}

TEST(MakeFileName, ReplacesSpecialBytesAndUmlauts) {
    const Case cases[] = {
        {"example",
         "\xDC"
         "ber uns & Team",
         "ueber_uns___Team"},
        {"capital umlaut becomes lower pair", "\xC4rzte", "aerzte"},
        {"sharp s",
         "Stra\xDF"
         "e",
         "Strasse"},
        {"all punctuation", "a/b\\c&d'e\"f<g>h i", "a_b_c_d_e_f_g_h_i"},
        {"o and u umlauts", "\xF6\xD6\xFC\xDC", "oeoeueue"},
        {"other bytes stay", "Caf\xE9-1.2 X", "Caf\xE9-1.2_X"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeFileName(c.in), c.out) << c.name;
}

TEST(TrimBlanks, RemovesOnlyBlanksAtBothEnds) {
    const Case cases[] = {
        {"both ends", "  a b  ", "a b"},
        {"tab stays", "\tx", "\tx"},
        {"blanks only", "   ", ""},
        {"empty", "", ""},
        {"trailing tab stays", "x \t", "x \t"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimBlanks(c.in), c.out) << c.name;
}

TEST(Cp1252Case, MapsLettersPairwise) {
    EXPECT_EQ(ToLowerCp1252("COUNT \xC4\xD6\xDC\x8A\x9F"), "count \xE4\xF6\xFC\x9A\xFF");
    // The multiplication sign sits among the capitals but has no lower-case form.
    EXPECT_EQ(ToLowerCp1252('\xD7'), '\xD7');
    EXPECT_EQ(ToUpperCp1252('\xE4'), '\xC4');
    EXPECT_EQ(ToUpperCp1252('\xDF'), '\xDF');
}
