// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "model/NumberRules.h"

using namespace pagloom;

namespace {

struct WholeCase {
    const char* name;
    const char* text;
    std::optional<int> value;
};

const WholeCase kWhole[] = {
    {"plain", "140", 140},
    {"leading blanks", "  150", 150},
    {"plus and leading zero", "+0140", 140},
    {"negative", "-5", -5},
    {"hex dollar", "$96", 150},
    {"hex x upper digits", "xFF", 255},
    {"hex 0X", "0X8c", 140},
    {"negative hex", "-$10", -16},
    {"largest", "2147483647", 2147483647},
    {"smallest", "-2147483648", -2147483647 - 1},
    {"smallest in hex", "-0x80000000", -2147483647 - 1},
    {"one too large", "2147483648", std::nullopt},
    {"hex too large", "$80000000", std::nullopt},
    {"far too large", "99999999999999999999", std::nullopt},
    {"empty", "", std::nullopt},
    {"blanks only", "   ", std::nullopt},
    {"sign only", "-", std::nullopt},
    {"hex without digits", "0x", std::nullopt},
    {"trailing blank", "140 ", std::nullopt},
    {"blank after sign", "- 5", std::nullopt},
    {"letters", "abc", std::nullopt},
    {"hex digit in decimal", "12a", std::nullopt},
    {"two signs", "--5", std::nullopt},
    {"decimal point", "1.5", std::nullopt},
    {"tab is no blank", "\t5", std::nullopt},
    {"superscript digit", "1\xB2", std::nullopt},
};

struct DecimalCase {
    const char* name;
    const char* text;
    std::optional<std::string> kept;
};

const DecimalCase kDecimal[] = {
    {"whole", "12", "12"},
    {"comma", "1,25", "1,25"},
    {"point", "1.25", "1.25"},
    {"leading comma", ",5", "0,5"},
    {"trailing point", "5.", "5.0"},
    {"blanks around", "  1,25 ", "1,25"},
    {"exponent and sign", "-1.5e3", "-1.5e3"},
    {"plus and exponent sign", "+2E-2", "+2E-2"},
    {"separator before exponent", "2,e5", "2,e5"},
    {"sign before separator", "-.5", "-.5"},
    {"tiny but representable", "4e-324", "4e-324"},
    {"empty", "", std::nullopt},
    {"blanks only", "   ", std::nullopt},
    {"separator only", ",", "0,0"},
    {"letters", "12a", std::nullopt},
    {"two separators", "1,2.3", std::nullopt},
    {"exponent without digits", "1e", std::nullopt},
    {"exponent only", "e5", std::nullopt},
    {"two signs", "+-1", std::nullopt},
    {"inner blank", "1 5", std::nullopt},
    {"overflow", "1e309", std::nullopt},
    {"underflow", "1e-400", std::nullopt},
    {"infinity", "inf", std::nullopt},
    {"hex", "0x1", std::nullopt},
};

}  // namespace

TEST(NumberRules, WholeNumber) {
    for (const WholeCase& c : kWhole) EXPECT_EQ(ParseWholeNumber(c.text), c.value) << c.name;
}

TEST(NumberRules, Decimal) {
    for (const DecimalCase& c : kDecimal) EXPECT_EQ(ParseDecimal(c.text), c.kept) << c.name;
}
