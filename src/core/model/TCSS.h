// SPDX-License-Identifier: MIT
// The style record of one menu level. Every field is named by its project-file key and holds
// the text exactly as the file stores it: the record never validates, so whatever a file holds
// is written back unchanged. CssValueText turns fields into CSS value texts for the stylesheet.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

// Index of a style record in TPrjParams::Styles; the short names are used in generated CSS.
enum MenuLevel { kMainMenuLevel = 0, kSubMenuLevel = 1 };
// "men" for the main menu, "umen" for the sub-menu.
const char* MenuLevelName(MenuLevel level);

// The nine CSS length units, in the order the editors list them.
extern const std::vector<std::string> UnitCodes;

// Index of the first entry equal to `text` (byte for byte, case-sensitive); -1 if none.
int IndexOfText(const std::vector<std::string>& list, std::string_view text);
// Whether `type` is one of UnitCodes ("PX" is not).
bool IsUnitCode(std::string_view type);

// The box grid: 3 areas by 4 sides.
enum BoxArea { kMargin = 0, kBorder = 1, kPadding = 2 };
enum BoxSide { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

struct TCSS {
    // Position group. While position is "static" the four direction/type fields are forced to
    // left/auto/top/auto (reading and the position editor keep it so).
    std::string position = "static";
    std::string display = "block";  // carried through unchanged
    std::string left_right_direction = "left";
    std::string left_right_type = "auto";
    std::string left_right_value = "0";
    std::string top_bottom_direction = "top";
    std::string top_bottom_type = "auto";
    std::string top_bottom_value = "0";
    std::string width_type = "auto";
    std::string width_value = "150";
    std::string height_type = "auto";
    std::string height_value = "30";
    std::string overflow = "auto";

    // Text group.
    std::string letter_spacing_type = "normal";
    std::string letter_spacing_value = "0";
    std::string line_height_type = "normal";  // may be empty: the value is a plain factor
    std::string line_height_value = "0";
    std::string direction = "ltr";
    std::string text_align = "left";
    std::string text_indent_type = "%";
    std::string text_indent_value = "0";
    std::string text_transform = "none";
    std::string white_space = "normal";
    std::string word_spacing_type = "normal";
    std::string word_spacing_value = "0";
    bool text_decoration_underline = false;
    bool text_decoration_overline = false;
    bool text_decoration_line_through = false;
    bool text_decoration_blink = false;
    bool text_decoration_inherit = false;  // when true the four flags above are false
    std::string vertical_align_type = "baseline";
    std::string vertical_align_value = "0";

    // Font group. Stored as font_family_count and font_family_item_1..N.
    std::vector<std::string> FontFamilyList{"sans-serif"};
    std::string font_size_type = "medium";
    std::string font_size_value = "10";
    std::string font_style = "normal";
    std::string font_variant = "normal";
    std::string font_weight = "normal";
    std::string color = "000000";
    std::string color_selected = "000000";
    std::string color_hover;  // empty: no hover text colour

    // Box group, 32 texts: 12 width values (area-major: margin, border, padding; each left,
    // right, top, bottom), 12 width types in the same order, 4 border colours, 4 border styles.
    std::array<std::string, 32> Box = DefaultBox();

    // Background group.
    std::string background_color = "transparent";
    std::string background_color_selected = "transparent";
    std::string background_color_hover = "transparent";  // empty: no hover background

    std::string& WidthValue(BoxArea a, BoxSide s) { return Box[WidthValueIndex(a, s)]; }
    const std::string& WidthValue(BoxArea a, BoxSide s) const { return Box[WidthValueIndex(a, s)]; }
    std::string& WidthType(BoxArea a, BoxSide s) { return Box[WidthTypeIndex(a, s)]; }
    const std::string& WidthType(BoxArea a, BoxSide s) const { return Box[WidthTypeIndex(a, s)]; }
    std::string& BorderColor(BoxSide s) { return Box[24 + s]; }
    const std::string& BorderColor(BoxSide s) const { return Box[24 + s]; }
    std::string& BorderStyle(BoxSide s) { return Box[28 + s]; }
    const std::string& BorderStyle(BoxSide s) const { return Box[28 + s]; }

    static constexpr int WidthValueIndex(BoxArea a, BoxSide s) { return a * 4 + s; }
    static constexpr int WidthTypeIndex(BoxArea a, BoxSide s) { return 12 + a * 4 + s; }
    // Project-file key of Box[i], e.g. "margin_left_width_value", "border_top_color".
    static std::string BoxKey(int i);
    // Default of Box[i]: width types "px" (margin, padding) or "medium" (border), values "0",
    // colours "000000", styles "none".
    static std::string BoxDefault(int i);
    static std::array<std::string, 32> DefaultBox();

    // Forces the position invariant when position is "static".
    void ApplyStaticPosition();

    bool operator==(const TCSS&) const = default;
};

// The CSS properties whose value text CssValueText builds. For BoxWidth the area and side
// arguments pick the cell; for BorderColor and BorderStyle the side.
enum class CssProp {
    Position,
    Overflow,
    LeftRight,
    TopBottom,
    Width,
    Height,
    LetterSpacing,
    WordSpacing,
    LineHeight,
    TextIndent,
    VerticalAlign,
    Direction,
    TextAlign,
    TextTransform,
    WhiteSpace,
    TextDecoration,
    FontFamily,
    FontSize,
    FontStyle,
    FontVariant,
    FontWeight,
    Color,
    ColorSelected,
    ColorHover,
    BackgroundColor,
    BackgroundColorSelected,
    BackgroundColorHover,
    BoxWidth,
    BorderColor,
    BorderStyle,
};

// The CSS value text of one property of the record ("10px", "#000000", "'Times New Roman',
// Times"...). Empty for a hover colour that is not set and for an empty font list. Never fails.
std::string CssValueText(const TCSS& css, CssProp prop, BoxArea area = kMargin,
                         BoxSide side = kLeft);

}  // namespace pagloom
