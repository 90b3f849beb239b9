// SPDX-License-Identifier: MIT
#include "generator/StylesheetWriter.h"

#include "model/Project.h"
#include "model/TCSS.h"

namespace pagloom {
namespace {

const char* const kSides[] = {"left", "right", "top", "bottom"};

}  // namespace

bool StylesheetWriter::Overwrite(const BuildContext& ctx) const {
    return ctx.Settings().css.overwrite_css;
}

void StylesheetWriter::BuildLines(const BuildContext& ctx, TextLines& lines) const {
    lines.emplace_back("/* CSS Document */");
    lines.emplace_back();
    for (MenuLevel level : {kMainMenuLevel, kSubMenuLevel})
        AddLevel(ctx.project.PrjParams.Style(level), MenuLevelName(level), lines);
}

void StylesheetWriter::AddLevel(const TCSS& css, const std::string& s, TextLines& lines) {
    auto v = [&css](CssProp p, BoxArea a = kMargin, BoxSide side = kLeft) {
        return CssValueText(css, p, a, side);
    };
    auto add = [&lines](std::string line) { lines.push_back(std::move(line)); };
    const std::string cls = ".pagloom_" + s;

    add(cls + " {");
    add("  /* Positionierung */");
    add("  position:" + css.position + ";");
    add("  " + css.left_right_direction + ":" + v(CssProp::LeftRight) + ";");
    add("  " + css.top_bottom_direction + ":" + v(CssProp::TopBottom) + ";");
    add("  margin:0px;");
    add("  padding:0px;");
    add("}");
    add("");

    add(cls + " li {");
    add("  /* Positionierung */");
    add("  width:" + v(CssProp::Width) + ";");
    add("  height:" + v(CssProp::Height) + ";");
    add("  overflow:" + css.overflow + ";");
    add("  /* Listen-Darstellung */");
    add("  list-style-type:none;");
    add("");
    add("");
    add("  /* Text */");
    add("  letter-spacing:" + v(CssProp::LetterSpacing) + ";");
    add("  line-height:" + v(CssProp::LineHeight) + ";");
    add("  direction:" + css.direction + ";");
    add("  text-indent:" + v(CssProp::TextIndent) + ";");
    add("  text-transform:" + css.text_transform + ";");
    add("  word-spacing:" + v(CssProp::WordSpacing) + ";");
    add("  vertical-align:" + v(CssProp::VerticalAlign) + ";");
    add("  /* Border */");
    for (int side = kLeft; side <= kBottom; ++side)
        add(std::string("  margin-") + kSides[side] + ":" +
            v(CssProp::BoxWidth, kMargin, BoxSide(side)) + ";");
    for (int side = kLeft; side <= kBottom; ++side)
        add(std::string("  border-") + kSides[side] +
            "-width:" + v(CssProp::BoxWidth, kBorder, BoxSide(side)) + ";");
    for (int side = kLeft; side <= kBottom; ++side)
        add(std::string("  border-") + kSides[side] + "-color:#" + css.BorderColor(BoxSide(side)) +
            ";");
    for (int side = kLeft; side <= kBottom; ++side)
        add(std::string("  border-") + kSides[side] + "-style:" + css.BorderStyle(BoxSide(side)) +
            ";");
    for (int side = kLeft; side <= kBottom; ++side)
        add(std::string("  padding-") + kSides[side] + ":" +
            v(CssProp::BoxWidth, kPadding, BoxSide(side)) + ";");
    add("  background-color:" + v(CssProp::BackgroundColor) + ";");
    add("}");
    add("");

    add(cls + " li a {");
    add("  /* Positionierung */");
    add("  display:block;");
    add("  width:100%;");
    if (css.height_type != "auto") add("  height:100%;");
    add("  /* Text */");
    add("  text-align:" + css.text_align + ";");
    add("  text-decoration:" + v(CssProp::TextDecoration) + ";");
    add("  white-space:" + css.white_space + ";");
    add("  /* Font */");
    add("  font-family:" + v(CssProp::FontFamily) + ";");
    add("  font-size:" + v(CssProp::FontSize) + ";");
    add("  font-style:" + css.font_style + ";");
    add("  font-variant:" + css.font_variant + ";");
    add("  font-weight:" + css.font_weight + ";");
    add("  color:#" + css.color + ";");
    add("}");
    add("");

    add(cls + " li a#" + s + "_selected {");
    add("  /* Font */");
    add("  color:#" + css.color_selected + ";");
    add("  /* Background */");
    add("  background-color:" + v(CssProp::BackgroundColorSelected) + ";");
    add("}");
    add("");

    if (!css.color_hover.empty() || !css.background_color_hover.empty()) {
        add(cls + " li a:hover,");
        add(cls + " li a:focus,");
        add(cls + " li a:active {");
        if (!css.color_hover.empty()) add("  color:#" + css.color_hover + ";");
        if (!css.background_color_hover.empty())
            add("  background-color:" + v(CssProp::BackgroundColorHover) + ";");
        add("}");
        add("");
    }
}

}  // namespace pagloom
