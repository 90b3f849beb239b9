// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "projectfile/ProjectFile.h"

using namespace pagloom;

namespace {
TCSS Read(const std::string& section, MenuLevel level = kMainMenuLevel) {
    TCSS css;
    css.position = "fixed";  // whatever was there before must not survive
    css.FontFamilyList = {"old"};
    ReadCssSection(IniFile(section), level, css);
    return css;
}
}  // namespace

TEST(CssSection, MissingSectionGivesAllDefaults) {
    const TCSS css = Read("[css_2]\nposition=absolute\n");  // another level's section
    EXPECT_EQ(css, TCSS{});
    EXPECT_EQ(css.position, "static");
    EXPECT_EQ(css.width_type, "auto");
    EXPECT_EQ(css.width_value, "150");
    EXPECT_EQ(css.height_value, "30");
    EXPECT_EQ(css.FontFamilyList, std::vector<std::string>{"sans-serif"});
    EXPECT_EQ(css.font_size_type, "medium");
    EXPECT_EQ(css.font_size_value, "10");
    EXPECT_EQ(css.color, "000000");
    EXPECT_EQ(css.color_hover, "");
    EXPECT_EQ(css.background_color_hover, "transparent");
    EXPECT_EQ(css.WidthType(kBorder, kLeft), "medium");
    EXPECT_EQ(css.WidthType(kMargin, kBottom), "px");
    EXPECT_EQ(css.WidthType(kPadding, kTop), "px");
    EXPECT_EQ(css.BorderStyle(kTop), "none");
    EXPECT_EQ(Read("[css_2]\nposition=absolute\n", kSubMenuLevel).position, "absolute");
}

TEST(CssSection, StaticPositionForcesDirectionsAndTypes) {
    const std::string keys =
        "left_right_direction=right\nleft_right_type=px\nleft_right_value=-5\n"
        "top_bottom_direction=bottom\ntop_bottom_type=em\ntop_bottom_value=2\n";
    TCSS css = Read("[css_1]\nposition=absolute\n" + keys);
    EXPECT_EQ(css.left_right_direction, "right");
    EXPECT_EQ(css.left_right_type, "px");
    EXPECT_EQ(css.left_right_value, "-5");
    EXPECT_EQ(css.top_bottom_direction, "bottom");
    EXPECT_EQ(css.top_bottom_type, "em");

    css = Read("[css_1]\nposition=static\n" + keys);
    EXPECT_EQ(css.left_right_direction, "left");
    EXPECT_EQ(css.left_right_type, "auto");
    EXPECT_EQ(css.top_bottom_direction, "top");
    EXPECT_EQ(css.top_bottom_type, "auto");
    EXPECT_EQ(css.left_right_value, "-5");
    EXPECT_EQ(css.top_bottom_value, "2");
}

TEST(CssSection, FontListAndFlags) {
    const struct {
        const char* name;
        std::string section;
        std::vector<std::string> fonts;
    } cases[] = {
        {"count 0", "font_family_count=0\nfont_family_item_1=Arial\n", {}},
        {"negative count", "font_family_count=-3\n", {}},
        {"junk count means 1", "font_family_count=two\nfont_family_item_1=Arial\n", {"Arial"}},
        {"missing item",
         "font_family_count=2\nfont_family_item_1=Verdana\n",
         {"Verdana", "sans-serif"}},
        {"numbered from 1",
         "font_family_count=1\nfont_family_item_0=No\nfont_family_item_1=Yes\n",
         {"Yes"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read("[css_1]\n" + c.section).FontFamilyList, c.fonts) << c.name;

    const TCSS css = Read(
        "[css_1]\ntext_decoration_underline=yes\ntext_decoration_overline=2\ntext_decoration_blink="
        "0\n"
        "text_decoration_line_through=$1\ncolor_hover=\nbackground_color_hover=\n");
    EXPECT_FALSE(css.text_decoration_underline);
    EXPECT_TRUE(css.text_decoration_overline);
    EXPECT_TRUE(css.text_decoration_line_through);
    EXPECT_FALSE(css.text_decoration_blink);
    EXPECT_EQ(css.color_hover, "");
    EXPECT_EQ(css.background_color_hover, "");  // present but empty stays empty
}

TEST(CssSection, WritesEveryKeyInItsOrder) {
    TCSS css;
    css.FontFamilyList = {"Arial", "Helvetica"};
    IniFile ini("[css_1]\nstale=1\n");
    WriteCssSection(ini, kMainMenuLevel, css);
    EXPECT_EQ(
        ini.Text(),
        "[css_1]\r\n"
        "position=static\r\ndisplay=block\r\nleft_right_direction=left\r\nleft_right_type=auto\r\n"
        "left_right_value=0\r\ntop_bottom_direction=top\r\ntop_bottom_type=auto\r\ntop_bottom_"
        "value=0\r\n"
        "width_type=auto\r\nwidth_value=150\r\nheight_type=auto\r\nheight_value=30\r\noverflow="
        "auto\r\n"
        "letter_spacing_type=normal\r\nletter_spacing_value=0\r\nline_height_type=normal\r\n"
        "line_height_value=0\r\ndirection=ltr\r\ntext_align=left\r\ntext_indent_type=%\r\n"
        "text_indent_value=0\r\ntext_transform=none\r\nwhite_space=normal\r\nword_spacing_type="
        "normal\r\n"
        "word_spacing_value=0\r\ntext_decoration_underline=0\r\ntext_decoration_overline=0\r\n"
        "text_decoration_line_through=0\r\ntext_decoration_blink=0\r\ntext_decoration_inherit=0\r\n"
        "vertical_align_type=baseline\r\nvertical_align_value=0\r\n"
        "font_family_count=2\r\nfont_family_item_1=Arial\r\nfont_family_item_2=Helvetica\r\n"
        "font_size_type=medium\r\nfont_size_value=10\r\nfont_style=normal\r\nfont_variant="
        "normal\r\n"
        "font_weight=normal\r\ncolor=000000\r\ncolor_selected=000000\r\ncolor_hover=\r\n"
        "margin_left_width_type=px\r\nmargin_left_width_value=0\r\nmargin_right_width_type=px\r\n"
        "margin_right_width_value=0\r\nmargin_top_width_type=px\r\nmargin_top_width_value=0\r\n"
        "margin_bottom_width_type=px\r\nmargin_bottom_width_value=0\r\n"
        "border_left_width_type=medium\r\nborder_left_width_value=0\r\nborder_right_width_type="
        "medium\r\n"
        "border_right_width_value=0\r\nborder_top_width_type=medium\r\nborder_top_width_value=0\r\n"
        "border_bottom_width_type=medium\r\nborder_bottom_width_value=0\r\n"
        "padding_left_width_type=px\r\npadding_left_width_value=0\r\npadding_right_width_type="
        "px\r\n"
        "padding_right_width_value=0\r\npadding_top_width_type=px\r\npadding_top_width_value=0\r\n"
        "padding_bottom_width_type=px\r\npadding_bottom_width_value=0\r\n"
        "border_left_color=000000\r\nborder_right_color=000000\r\nborder_top_color=000000\r\n"
        "border_bottom_color=000000\r\nborder_left_style=none\r\nborder_right_style=none\r\n"
        "border_top_style=none\r\nborder_bottom_style=none\r\n"
        "background_color=transparent\r\nbackground_color_selected=transparent\r\n"
        "background_color_hover=transparent\r\n");
}

TEST(CssSection, WriteThenReadGivesTheSameRecord) {
    TCSS css;
    css.position = "relative";
    css.left_right_direction = "right";
    css.top_bottom_type = "cm";
    css.line_height_type = "";
    css.line_height_value = "1,5";
    css.FontFamilyList = {"Times New Roman", " padded ", "serif"};
    css.font_weight = "WEIRD value";
    css.text_decoration_inherit = true;
    css.color_hover = "";
    css.background_color_hover = "";
    for (int i = 0; i < 32; ++i) css.Box[static_cast<std::size_t>(i)] = "v" + std::to_string(i);
    IniFile ini;
    WriteCssSection(ini, kSubMenuLevel, css);
    TCSS back;
    ReadCssSection(IniFile(ini.Text()), kSubMenuLevel, back);
    EXPECT_EQ(back, css);
}

TEST(CssValueText, BuildsCssValues) {
    TCSS css;
    css.width_type = "px";
    css.width_value = "12";
    css.height_type = "PX";  // not a unit, but "auto" rules add the number
    css.height_value = "12";
    css.font_size_type = "PX";  // unit rules treat it as a keyword
    css.font_size_value = "12";
    css.line_height_type = "";
    css.line_height_value = "1.5";
    css.letter_spacing_type = "inherit";
    css.word_spacing_type = "em";
    css.word_spacing_value = "-0,5";
    css.text_indent_type = "%";
    css.text_indent_value = "3";
    css.vertical_align_type = "pt";
    css.vertical_align_value = "2";
    css.FontFamilyList = {"Times New Roman", "Times", "serif", "O'Neil Sans"};
    css.color_hover = "ABCDEF";
    css.background_color = "inherit";
    css.background_color_selected = "00FF00";
    css.background_color_hover = "";
    css.WidthType(kBorder, kRight) = "thick";
    css.WidthType(kPadding, kBottom) = "mm";
    css.WidthValue(kPadding, kBottom) = "4";
    css.BorderColor(kTop) = "123456";
    css.BorderStyle(kLeft) = "dashed";
    css.left_right_type = "auto";
    css.top_bottom_type = "em";
    css.top_bottom_value = "1";

    const struct {
        CssProp prop;
        std::string expected;
        BoxArea area = kMargin;
        BoxSide side = kLeft;
    } cases[] = {
        {CssProp::Width, "12px"},
        {CssProp::Height, "12PX"},
        {CssProp::FontSize, "PX"},
        {CssProp::LineHeight, "1.5"},
        {CssProp::LetterSpacing, "inherit"},
        {CssProp::WordSpacing, "-0,5em"},
        {CssProp::TextIndent, "3%"},
        {CssProp::VerticalAlign, "2pt"},
        {CssProp::LeftRight, "auto"},
        {CssProp::TopBottom, "1em"},
        {CssProp::FontFamily, "'Times New Roman', Times, serif, 'O''Neil Sans'"},
        {CssProp::Color, "#000000"},
        {CssProp::ColorHover, "#ABCDEF"},
        {CssProp::BackgroundColor, "inherit"},
        {CssProp::BackgroundColorSelected, "#00FF00"},
        {CssProp::BackgroundColorHover, ""},
        {CssProp::TextDecoration, "none"},
        {CssProp::Position, "static"},
        {CssProp::BoxWidth, "thick", kBorder, kRight},
        {CssProp::BoxWidth, "4mm", kPadding, kBottom},
        {CssProp::BoxWidth, "0px", kMargin, kTop},
        {CssProp::BorderColor, "#123456", kMargin, kTop},
        {CssProp::BorderStyle, "dashed", kMargin, kLeft},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CssValueText(css, c.prop, c.area, c.side), c.expected)
            << static_cast<int>(c.prop);

    css.color_hover = "";
    EXPECT_EQ(CssValueText(css, CssProp::ColorHover), "");
    css.FontFamilyList.clear();
    EXPECT_EQ(CssValueText(css, CssProp::FontFamily), "");
}

TEST(CssValueText, TextDecorationJoinsFlagsInOrder) {
    TCSS css;
    css.text_decoration_blink = true;
    css.text_decoration_underline = true;
    EXPECT_EQ(CssValueText(css, CssProp::TextDecoration), "underline blink");
    css.text_decoration_overline = css.text_decoration_line_through = true;
    EXPECT_EQ(CssValueText(css, CssProp::TextDecoration), "underline overline line-through blink");
    css.text_decoration_inherit = true;
    EXPECT_EQ(CssValueText(css, CssProp::TextDecoration), "inherit");
}

TEST(UnitCodes, IndexOfTextIsExact) {
    EXPECT_EQ(UnitCodes,
              (std::vector<std::string>{"em", "ex", "px", "in", "cm", "mm", "pt", "pc", "%"}));
    EXPECT_EQ(IndexOfText(UnitCodes, "px"), 2);
    EXPECT_EQ(IndexOfText(UnitCodes, "%"), 8);
    EXPECT_EQ(IndexOfText(UnitCodes, "PX"), -1);
    EXPECT_EQ(IndexOfText(UnitCodes, ""), -1);
    EXPECT_EQ(IndexOfText({"a", "b", "a"}, "a"), 0);
}
