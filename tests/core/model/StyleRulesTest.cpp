// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "model/StyleRules.h"

using namespace pagloom;

namespace {

TEST(StyleColors, HexTextsAndNamedColors) {
    struct Case {
        const char* text;
        std::optional<Rgb> rgb;
        int named;  // index in NamedColors, -1 for none
    } const cases[] = {
        {"000000", Rgb{0, 0, 0}, 0},           {"C0C0C0", Rgb{192, 192, 192}, 8},
        {"c0c0c0", Rgb{192, 192, 192}, 8},     {"FFFF00", Rgb{255, 255, 0}, 11},
        {"123456", Rgb{0x12, 0x34, 0x56}, -1}, {"FFFFFF", Rgb{255, 255, 255}, 15},
        {"12345", std::nullopt, -1},           {"GG0000", std::nullopt, -1},
        {"transparent", std::nullopt, -1},     {"", std::nullopt, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Rgb> rgb = ParseHexColor(c.text);
        ASSERT_EQ(rgb.has_value(), c.rgb.has_value());
        if (!rgb) continue;
        EXPECT_EQ(*rgb, *c.rgb);
        EXPECT_EQ(NamedColorIndex(*rgb), c.named);
        EXPECT_EQ(SplitColor(PackColor(*rgb)), *rgb);
    }
    EXPECT_STREQ(NamedColors[8].name, "Silber");
    EXPECT_STREQ(NamedColors[15].name, "Wei\xDF");
    EXPECT_EQ(HexColorText({255, 0, 170}), "FF00AA");
    // The lowest byte is red.
    EXPECT_EQ(SplitColor(0x0000FF), (Rgb{255, 0, 0}));
    EXPECT_EQ(SplitColor(0xFF0000), (Rgb{0, 0, 255}));
}

TEST(StyleColors, HexEditAndComponents) {
    EXPECT_EQ(AcceptHexEdit("F0A"), "FF00AA");
    EXPECT_EQ(AcceptHexEdit("123456"), "123456");
    for (const char* refused : {"", "F", "F0", "F0A0", "F0A0B", "1234567"})
        EXPECT_FALSE(AcceptHexEdit(refused)) << refused;

    EXPECT_EQ(ReplaceColorComponent("00FF00", 0, 255), "FFFF00");
    EXPECT_EQ(ReplaceColorComponent("00FF00", 1, 10), "000A00");
    EXPECT_EQ(ReplaceColorComponent("00FF00", 2, 171), "00FFAB");
    EXPECT_EQ(ReplaceColorComponent("F", 0, 1), "010000");
}

TEST(StyleKeyFilters, Decisions) {
    using F = KeyFilter;
    struct Case {
        const char* name;
        F filter;
        char typed;
        const char* text;
        int caret;
        char result;
    } const cases[] = {
        {"comma: digit", F::DecimalComma, '7', "12", 2, '7'},
        {"comma: point becomes comma", F::DecimalComma, '.', "12", 2, ','},
        {"comma: second separator", F::DecimalComma, ',', "1,2", 3, '\0'},
        {"comma: letter", F::DecimalComma, 'a', "", 0, '\0'},
        {"comma: minus", F::DecimalComma, '-', "", 0, '\0'},
        {"point: comma becomes point", F::DecimalPoint, ',', "1", 1, '.'},
        {"point: second separator", F::DecimalPoint, ',', "1.5", 3, '\0'},
        {"either: point kept", F::DecimalEither, '.', "1", 1, '.'},
        {"either: comma kept", F::DecimalEither, ',', "1", 1, ','},
        {"either: after a comma", F::DecimalEither, '.', "1,5", 3, '\0'},
        {"either: backspace", F::DecimalEither, kBackspace, "1", 1, kBackspace},
        {"signed: minus at start", F::SignedDecimal, '-', "5", 0, '-'},
        {"signed: minus elsewhere", F::SignedDecimal, '-', "5", 1, '\0'},
        {"signed: digit before minus", F::SignedDecimal, '3', "-5", 0, '\0'},
        {"signed: second minus at start", F::SignedDecimal, '-', "-5", 0, '\0'},
        {"signed: backspace before minus", F::SignedDecimal, kBackspace, "-5", 0, kBackspace},
        {"signed: digit after minus", F::SignedDecimal, '3', "-5", 1, '3'},
        {"signed: separator", F::SignedDecimal, ',', "-5", 2, ','},
        {"signed: second separator", F::SignedDecimal, '.', "-5,1", 4, '\0'},
        {"signed: letter", F::SignedDecimal, 'e', "5", 1, '\0'},
        {"hex: upper", F::HexDigit, 'C', "", 0, 'C'},
        {"hex: lower becomes upper", F::HexDigit, 'f', "", 0, 'F'},
        {"hex: beyond f", F::HexDigit, 'g', "", 0, '\0'},
        {"hex: digit", F::HexDigit, '9', "", 0, '9'},
        {"hex: hash", F::HexDigit, '#', "", 0, '\0'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterKey(c.filter, c.typed, c.text, c.caret), c.result) << c.name;
}

TEST(StyleFontFamily, SplitAndJoin) {
    using V = std::vector<std::string>;
    struct Case {
        const char* name;
        const char* text;
        V items;
    } const cases[] = {
        {"quoted comma, blanks",
         "Arial , 'Comic, Sans', serif",
         {"Arial ", "'Comic, Sans'", "serif"}},
        {"double quotes", "\"A, B\",C", {"\"A, B\"", "C"}},
        {"other quote inside", "'it\"s', x", {"'it\"s'", "x"}},
        {"unclosed quote runs to the end", "'a, b", {"'a, b"}},
        {"outer blanks", "  Times New Roman, Times  ", {"Times New Roman", "Times"}},
        {"empty items dropped", ",a,, ,b,", {"a", "b"}},
        {"empty", "", {}},
        {"blanks only", "   ", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitFontFamily(c.text), c.items) << c.name;
    EXPECT_EQ(JoinFontFamily({"Times New Roman", "Times", "serif"}),
              "Times New Roman, Times, serif");
    EXPECT_EQ(JoinFontFamily({}), "");
}

TEST(StyleLists, IndexOfType) {
    struct Case {
        const char* name;
        const StyleList& list;
        const char* type;
        int previous;
        int index;
        bool edit;
    } const cases[] = {
        {"font size unit", FontSizeList(), "px", 0, 12, true},
        {"font size keyword", FontSizeList(), "larger", 0, 8, false},
        {"font size 12pt", FontSizeList(), "12pt", 0, 3, false},
        {"font size PX", FontSizeList(), "PX", 5, 3, false},
        {"letter spacing %", LetterSpacingList(), "%", 0, 10, true},
        {"letter spacing pc", LetterSpacingList(), "pc", 0, 9, true},
        {"letter spacing inherit", LetterSpacingList(), "inherit", 0, 1, false},
        {"letter spacing other", LetterSpacingList(), "wide", 1, 0, false},
        {"word spacing %", WordSpacingList(), "%", 1, 0, false},
        {"word spacing em", WordSpacingList(), "em", 0, 2, true},
        {"line height factor", LineHeightList(), "", 0, 2, true},
        {"line height %", LineHeightList(), "%", 0, 11, true},
        {"line height normal", LineHeightList(), "normal", 2, 0, false},
        {"indent inherit", TextIndentList(), "inherit", 3, 0, false},
        {"indent %", TextIndentList(), "%", 0, 9, true},
        {"vertical keyword", VerticalAlignList(), "text-bottom", 0, 6, false},
        {"vertical unit", VerticalAlignList(), "em", 0, 8, true},
        {"vertical unknown", VerticalAlignList(), "start", 4, 0, false},
        {"text align kept", TextAlignList(), "start", 3, 3, false},
        {"text align known", TextAlignList(), "justify", 0, 3, false},
        {"font weight number", FontWeightList(), "700", 0, 11, false},
        {"font weight kept", FontWeightList(), "heavy", 4, 4, false},
        {"position length unit", PositionLengthList(), "%", 0, 9, true},
        {"position length auto", PositionLengthList(), "auto", 3, 0, false},
        {"position length keyword", PositionLengthList(), "inherit", 3, 0, false},
        {"overflow kept", OverflowList(), "clip", 2, 2, false},
        {"margin px", BoxWidthList(kMargin), "px", 0, 4, true},
        {"border thick", BoxWidthList(kBorder), "thick", 0, 2, false},
        {"border em", BoxWidthList(kBorder), "em", 0, 4, true},
        {"padding unknown", BoxWidthList(kPadding), "auto", 3, -1, false},
        {"border style kept", BorderStyleList(), "wavy", 3, 3, false},
    };
    for (const Case& c : cases) {
        const int i = c.list.IndexOf(c.type, c.previous);
        EXPECT_EQ(i, c.index) << c.name;
        EXPECT_EQ(c.list.EditVisible(i), c.edit) << c.name;
    }
}

TEST(StyleLists, LabelsAndStoredTexts) {
    struct Case {
        const StyleList& list;
        int index;
        const char* label;
        const char* stored;
    } const cases[] = {
        {FontSizeList(), 10,
         "bezogen auf Schriftgr\xF6\xDF"
         "e (em)",
         "em"},
        {FontSizeList(), 18, "Prozent (%)", "%"},
        {FontSizeList(), 8,
         "gr\xF6\xDF"
         "er",
         "larger"},
        {LineHeightList(), 2, "Faktor (H\xF6he=Wert*Standard)", ""},
        {LetterSpacingList(), 9, "Pica (pc)", "pc"},
        {TextTransformList(), 0, "ohne \xC4nderung", "none"},
        {BoxWidthList(kMargin), 10, "%", "%"},
        {BoxWidthList(kBorder), 11, "pc", "pc"},
        {BoxWidthList(kBorder), 0, "d\xFCnn", "thin"},
        {BorderStyleList(), 4, "2 parallele Linien", "double"},
        {PositionKindList(), 3, "fixiert", "fixed"},
        {OverflowList(), 0, "browserabh\xE4ngig", "auto"},
        {FontWeightList(), 13, "900", "900"},
    };
    for (const Case& c : cases) {
        ASSERT_LT(c.index, static_cast<int>(c.list.entries.size())) << c.label;
        EXPECT_EQ(c.list.entries[c.index].label, c.label);
        EXPECT_EQ(c.list.Stored(c.index), c.stored) << c.label;
    }
    EXPECT_EQ(FontSizeList().entries.size(), 19u);
    EXPECT_EQ(LetterSpacingList().entries.size(), 10u);
    EXPECT_EQ(BoxWidthList(kBorder).entries.size(), 12u);
    EXPECT_EQ(VerticalAlignList().entries.size(), 17u);
    EXPECT_EQ(FontSizeList().Stored(19), "");
    EXPECT_EQ(BackgroundIndex(""), 0);
    EXPECT_EQ(BackgroundIndex("transparent"), 0);
    EXPECT_EQ(BackgroundIndex("inherit"), 1);
    EXPECT_EQ(BackgroundIndex("FF0000"), 2);
}

TEST(StyleBorder, SideEntries) {
    const struct {
        int mask;
        int entry;
    } cases[] = {{1, 0},  {2, 1},  {4, 2},  {8, 3},   {3, 4},
                 {12, 5}, {15, 6}, {5, -1}, {14, -1}, {0, -1}};
    for (const auto& c : cases) EXPECT_EQ(SideEntryIndex(c.mask), c.entry) << c.mask;
}

TEST(StyleBorder, ShowAndUnifySides) {
    TCSS css;
    css.WidthType(kMargin, kLeft) = "px";
    css.WidthValue(kMargin, kLeft) = "5";
    css.WidthType(kMargin, kRight) = "px";
    css.WidthValue(kMargin, kRight) = "10";

    SideValues v = ShowSideValues(css, kMargin, 3);
    EXPECT_FALSE(v.agree);
    EXPECT_EQ(v.widthIndex, -1);
    EXPECT_EQ(v.widthValue, "0");
    EXPECT_FALSE(v.widthEditVisible);
    // Top and bottom still hold the defaults and agree.
    v = ShowSideValues(css, kMargin, 12);
    EXPECT_TRUE(v.agree);
    EXPECT_EQ(v.widthIndex, 4);

    const TCSS before = css;
    UnifySides(css, kMargin, 3);
    EXPECT_EQ(css.WidthValue(kMargin, kRight), "5");
    EXPECT_EQ(css.WidthValue(kMargin, kLeft), "5");
    // Other rings and sides are untouched.
    EXPECT_EQ(css.WidthValue(kMargin, kTop), before.WidthValue(kMargin, kTop));
    EXPECT_EQ(css.BorderColor(kRight), before.BorderColor(kRight));
    v = ShowSideValues(css, kMargin, 3);
    EXPECT_TRUE(v.agree);
    EXPECT_EQ(v.widthValue, "5");
    EXPECT_TRUE(v.widthEditVisible);

    // The border ring also compares and copies colour and style; the first side is the source.
    css.BorderColor(kTop) = "FF0000";
    css.BorderStyle(kTop) = "solid";
    EXPECT_FALSE(SidesAgree(css, kBorder, 15));
    EXPECT_TRUE(SidesAgree(css, kMargin, 12));
    UnifySides(css, kBorder, 12);
    EXPECT_EQ(css.BorderColor(kBottom), "FF0000");
    EXPECT_EQ(css.BorderStyle(kBottom), "solid");
    v = ShowSideValues(css, kBorder, 12);
    EXPECT_EQ(v.color, "FF0000");
    EXPECT_EQ(v.style, "solid");
    EXPECT_EQ(v.widthIndex, 1);  // "mittel"

    css.WidthType(kBorder, kLeft) = "%";  // a unit the border list lacks
    v = ShowSideValues(css, kBorder, 1);
    EXPECT_EQ(v.widthIndex, -1);
    EXPECT_TRUE(v.widthEditVisible);
}

TEST(StyleBorder, PictureHitRule) {
    struct Case {
        int x, y;
        int ring;
        BoxSide side;
    } const cases[] = {
        {0, 65, 0, kLeft},     {17, 65, 0, kLeft},    {18, 65, 1, kLeft},     {36, 65, 2, kLeft},
        {53, 65, 2, kLeft},    {199, 65, 0, kRight},  {182, 65, 0, kRight},   {181, 65, 1, kRight},
        {100, 0, 0, kTop},     {100, 18, 1, kTop},    {100, 129, 0, kBottom}, {100, 93, 2, kBottom},
        {100, 65, 3, kBottom}, {100, 60, 3, kTop},    {5, 5, 0, kLeft},       {10, 5, 0, kTop},
        {5, 124, 0, kLeft},    {194, 124, 0, kRight}, {60, 40, 2, kTop},
    };
    for (const Case& c : cases) {
        const BoxHit h = HitBoxPicture(c.x, c.y);
        EXPECT_EQ(h.ring, c.ring) << c.x << "," << c.y;
        EXPECT_EQ(h.side, c.side) << c.x << "," << c.y;
    }
}

TEST(StyleBorder, PictureClicks) {
    struct Case {
        const char* name;
        BoxSelection start;
        int x, y;
        BoxSelection after;
        ClickFocus focus;
    } const cases[] = {
        {"add a side of the current ring", {kBorder, 1}, 100, 25, {kBorder, 5}, ClickFocus::Sides},
        {"only selected side", {kBorder, 1}, 25, 65, {kBorder, 1}, ClickFocus::None},
        {"remove one of two", {kBorder, 5}, 25, 65, {kBorder, 4}, ClickFocus::Sides},
        {"another ring", {kBorder, 15}, 190, 65, {kMargin, 2}, ClickFocus::Ring},
        {"selected side of another ring", {kMargin, 1}, 25, 65, {kBorder, 1}, ClickFocus::Ring},
        {"inner area", {kBorder, 1}, 100, 65, {kBorder, 1}, ClickFocus::None},
        {"outside", {kBorder, 1}, 200, 65, {kBorder, 1}, ClickFocus::None},
    };
    for (const Case& c : cases) {
        BoxSelection sel = c.start;
        EXPECT_EQ(ClickBoxPicture(sel, c.x, c.y), c.focus) << c.name;
        EXPECT_EQ(sel.ring, c.after.ring) << c.name;
        EXPECT_EQ(sel.mask, c.after.mask) << c.name;
    }
}

}  // namespace
