// SPDX-License-Identifier: MIT
#include "model/TCSS.h"

namespace pagloom {

const std::vector<std::string> UnitCodes{"em", "ex", "px", "in", "cm", "mm", "pt", "pc", "%"};

const char* MenuLevelName(MenuLevel level) { return level == kSubMenuLevel ? "umen" : "men"; }

int IndexOfText(const std::vector<std::string>& list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == text) return static_cast<int>(i);
    return -1;
}

bool IsUnitCode(std::string_view type) { return IndexOfText(UnitCodes, type) >= 0; }

namespace {
const char* const kAreaNames[3] = {"margin", "border", "padding"};
const char* const kSideNames[4] = {"left", "right", "top", "bottom"};
}  // namespace

std::string TCSS::BoxKey(int i) {
    if (i < 12) return std::string(kAreaNames[i / 4]) + "_" + kSideNames[i % 4] + "_width_value";
    if (i < 24)
        return std::string(kAreaNames[(i - 12) / 4]) + "_" + kSideNames[(i - 12) % 4] +
               "_width_type";
    if (i < 28) return std::string("border_") + kSideNames[i - 24] + "_color";
    return std::string("border_") + kSideNames[(i - 28) % 4] + "_style";
}

std::string TCSS::BoxDefault(int i) {
    if (i < 12) return "0";
    if (i < 24) return (i - 12) / 4 == kBorder ? "medium" : "px";
    if (i < 28) return "000000";
    return "none";
}

std::array<std::string, 32> TCSS::DefaultBox() {
    std::array<std::string, 32> box;
    for (int i = 0; i < 32; ++i) box[static_cast<std::size_t>(i)] = BoxDefault(i);
    return box;
}

void TCSS::ApplyStaticPosition() {
    if (position != "static") return;
    left_right_direction = "left";
    left_right_type = "auto";
    top_bottom_direction = "top";
    top_bottom_type = "auto";
}

namespace {

// "auto" (or "normal"/"inherit") alone, anything else with its number in front.
std::string KeywordOrLength(const std::string& type, const std::string& value,
                            std::initializer_list<std::string_view> keywords) {
    for (auto k : keywords)
        if (type == k) return type;
    return value + type;
}

// A unit gets its number; any other type is a keyword and stands alone.
std::string LengthIfUnit(const std::string& type, const std::string& value) {
    return IsUnitCode(type) ? value + type : type;
}

std::string HashColor(const std::string& c) { return "#" + c; }

std::string OptionalHashColor(const std::string& c) { return c.empty() ? std::string() : "#" + c; }

std::string BackgroundText(const std::string& c) {
    if (c.empty()) return {};
    if (c == "transparent" || c == "inherit") return c;
    return "#" + c;
}

std::string DecorationText(const TCSS& css) {
    if (css.text_decoration_inherit) return "inherit";
    std::string out;
    auto add = [&out](bool on, const char* word) {
        if (!on) return;
        if (!out.empty()) out += ' ';
        out += word;
    };
    add(css.text_decoration_underline, "underline");
    add(css.text_decoration_overline, "overline");
    add(css.text_decoration_line_through, "line-through");
    add(css.text_decoration_blink, "blink");
    return out.empty() ? "none" : out;
}

std::string FontFamilyText(const std::vector<std::string>& list) {
    std::string out;
    for (const auto& name : list) {
        if (!out.empty()) out += ", ";
        if (name.find(' ') == std::string::npos) {
            out += name;
            continue;
        }
        out += '\'';
        for (char c : name) {
            if (c == '\'') out += '\'';
            out += c;
        }
        out += '\'';
    }
    return out;
}

}  // namespace

std::string CssValueText(const TCSS& css, CssProp prop, BoxArea area, BoxSide side) {
    switch (prop) {
        case CssProp::Position:
            return css.position;
        case CssProp::Overflow:
            return css.overflow;
        case CssProp::LeftRight:
            return KeywordOrLength(css.left_right_type, css.left_right_value, {"auto"});
        case CssProp::TopBottom:
            return KeywordOrLength(css.top_bottom_type, css.top_bottom_value, {"auto"});
        case CssProp::Width:
            return KeywordOrLength(css.width_type, css.width_value, {"auto"});
        case CssProp::Height:
            return KeywordOrLength(css.height_type, css.height_value, {"auto"});
        case CssProp::LetterSpacing:
            return KeywordOrLength(css.letter_spacing_type, css.letter_spacing_value,
                                   {"normal", "inherit"});
        case CssProp::WordSpacing:
            return KeywordOrLength(css.word_spacing_type, css.word_spacing_value,
                                   {"normal", "inherit"});
        case CssProp::LineHeight:
            return KeywordOrLength(css.line_height_type, css.line_height_value,
                                   {"normal", "inherit"});
        case CssProp::TextIndent:
            return KeywordOrLength(css.text_indent_type, css.text_indent_value, {"inherit"});
        case CssProp::VerticalAlign:
            return LengthIfUnit(css.vertical_align_type, css.vertical_align_value);
        case CssProp::Direction:
            return css.direction;
        case CssProp::TextAlign:
            return css.text_align;
        case CssProp::TextTransform:
            return css.text_transform;
        case CssProp::WhiteSpace:
            return css.white_space;
        case CssProp::TextDecoration:
            return DecorationText(css);
        case CssProp::FontFamily:
            return FontFamilyText(css.FontFamilyList);
        case CssProp::FontSize:
            return LengthIfUnit(css.font_size_type, css.font_size_value);
        case CssProp::FontStyle:
            return css.font_style;
        case CssProp::FontVariant:
            return css.font_variant;
        case CssProp::FontWeight:
            return css.font_weight;
        case CssProp::Color:
            return HashColor(css.color);
        case CssProp::ColorSelected:
            return HashColor(css.color_selected);
        case CssProp::ColorHover:
            return OptionalHashColor(css.color_hover);
        case CssProp::BackgroundColor:
            return BackgroundText(css.background_color);
        case CssProp::BackgroundColorSelected:
            return BackgroundText(css.background_color_selected);
        case CssProp::BackgroundColorHover:
            return BackgroundText(css.background_color_hover);
        case CssProp::BoxWidth:
            return LengthIfUnit(css.WidthType(area, side), css.WidthValue(area, side));
        case CssProp::BorderColor:
            return HashColor(css.BorderColor(side));
        case CssProp::BorderStyle:
            return css.BorderStyle(side);
    }
    return {};
}

}  // namespace pagloom
