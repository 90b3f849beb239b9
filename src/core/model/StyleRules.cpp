// SPDX-License-Identifier: MIT
#include "model/StyleRules.h"

#include <cstdlib>

#include "text/TextConversions.h"

namespace pagloom {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool Holds(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

const char* const kHexDigits = "0123456789ABCDEF";

std::string TwoHex(int v) { return {kHexDigits[(v >> 4) & 15], kHexDigits[v & 15]}; }

// The labels of the nine unit entries, shared by every unit list.
const std::array<const char*, 9> kUnitLabels = {
    "bezogen auf Schriftgr\xF6\xDF"
    "e (em)",
    "bezogen auf Schrifth\xF6he (ex)",
    "Pixel (px)",
    "Inch (in)",
    "Zentimeter (cm)",
    "Millimeter (mm)",
    "Punkt (pt)",
    "Pica (pc)",
    "Prozent (%)",
};

// A list of keyword entries followed by the first `units` unit entries (labelled, or showing
// the bare codes).
StyleList MakeList(std::vector<StyleList::Entry> keywords, int units, bool bareUnits = false) {
    StyleList l;
    l.entries = std::move(keywords);
    if (units > 0) {
        l.unitBase = static_cast<int>(l.entries.size());
        for (int u = 0; u < units; ++u)
            l.entries.push_back({bareUnits ? UnitCodes[u] : kUnitLabels[u], UnitCodes[u]});
    }
    return l;
}

StyleList WithEdit(StyleList l, int editFrom, int fallback) {
    l.editFrom = editFrom;
    l.fallback = fallback;
    return l;
}

}  // namespace

std::optional<Rgb> ParseHexColor(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    int v[6];
    for (int i = 0; i < 6; ++i)
        if ((v[i] = HexDigitValue(text[i])) < 0) return std::nullopt;
    return Rgb{v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]};
}

std::string HexColorText(Rgb rgb) { return TwoHex(rgb.red) + TwoHex(rgb.green) + TwoHex(rgb.blue); }

int PackColor(Rgb rgb) { return rgb.red + 256 * rgb.green + 65536 * rgb.blue; }

Rgb SplitColor(int packed) { return {packed & 255, (packed >> 8) & 255, (packed >> 16) & 255}; }

const std::array<NamedColor, 16> NamedColors = {{
    {"Schwarz", {0x00, 0x00, 0x00}},
    {"Braun", {0x80, 0x00, 0x00}},
    {"Gr\xFCn", {0x00, 0x80, 0x00}},
    {"Olivgr\xFCn", {0x80, 0x80, 0x00}},
    {"Dunkelblau", {0x00, 0x00, 0x80}},
    {"Purpur", {0x80, 0x00, 0x80}},
    {"Gr\xFCnblau", {0x00, 0x80, 0x80}},
    {"Grau", {0x80, 0x80, 0x80}},
    {"Silber", {0xC0, 0xC0, 0xC0}},
    {"Rot", {0xFF, 0x00, 0x00}},
    {"Limone", {0x00, 0xFF, 0x00}},
    {"Gelb", {0xFF, 0xFF, 0x00}},
    {"Blau", {0x00, 0x00, 0xFF}},
    {"Fuchsie", {0xFF, 0x00, 0xFF}},
    {"Aquamarin", {0x00, 0xFF, 0xFF}},
    {"Wei\xDF", {0xFF, 0xFF, 0xFF}},
}};

int NamedColorIndex(Rgb rgb) {
    for (int i = 0; i < static_cast<int>(NamedColors.size()); ++i)
        if (NamedColors[i].rgb == rgb) return i;
    return -1;
}

std::optional<std::string> AcceptHexEdit(std::string_view text) {
    if (text.size() == 6) return std::string(text);
    if (text.size() != 3) return std::nullopt;
    std::string doubled;
    for (char c : text) doubled += std::string(2, c);
    return doubled;
}

std::string ReplaceColorComponent(std::string hex, int component, int value) {
    if (hex.size() < 6) hex.resize(6, '0');
    hex.replace(static_cast<size_t>(component) * 2, 2, TwoHex(value));
    return hex;
}

char FilterKey(KeyFilter filter, char typed, std::string_view text, int caret) {
    if (filter == KeyFilter::HexDigit) {
        if (typed == kBackspace || IsDigit(typed) || (typed >= 'A' && typed <= 'F')) return typed;
        if (typed >= 'a' && typed <= 'f') return static_cast<char>(typed - 'a' + 'A');
        return '\0';
    }
    if (filter == KeyFilter::SignedDecimal && caret == 0 && Holds(text, '-'))
        return typed == kBackspace ? typed : '\0';
    if (typed == kBackspace || IsDigit(typed)) return typed;
    const bool separator = typed == '.' || typed == ',';
    switch (filter) {
        case KeyFilter::DecimalComma:
            return separator && !Holds(text, ',') ? ',' : '\0';
        case KeyFilter::DecimalPoint:
            return separator && !Holds(text, '.') ? '.' : '\0';
        case KeyFilter::DecimalEither:
            return separator && !Holds(text, '.') && !Holds(text, ',') ? typed : '\0';
        case KeyFilter::SignedDecimal:
            if (typed == '\n') return typed;
            if (separator) return !Holds(text, '.') && !Holds(text, ',') ? typed : '\0';
            return typed == '-' && caret == 0 ? typed : '\0';
        case KeyFilter::HexDigit:
            break;
    }
    return '\0';
}

std::vector<std::string> SplitFontFamily(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::vector<std::string> items;
    std::string item;
    char quote = '\0';
    auto finish = [&] {
        size_t b = 0;
        while (b < item.size() && item[b] == ' ') ++b;
        if (b < item.size()) items.push_back(item.substr(b));
        item.clear();
    };
    for (char c : text) {
        if (quote) {
            if (c == quote) quote = '\0';
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ',') {
            finish();
            continue;
        }
        item += c;
    }
    finish();
    return items;
}

std::string JoinFontFamily(const std::vector<std::string>& list) {
    std::string out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i) out += ", ";
        out += list[i];
    }
    return out;
}

int StyleList::IndexOf(std::string_view type, int previous) const {
    const int u = IndexOfText(UnitCodes, type);
    if (unitBase >= 0 && u >= 0) {
        const bool inList = unitBase + u < static_cast<int>(entries.size());
        if (inList || unitsBeyondList) return unitBase + u;
    }
    const int keywords = unitBase >= 0 ? unitBase : static_cast<int>(entries.size());
    for (int i = 0; i < keywords; ++i)
        if (entries[i].stored == type) return i;
    return fallback == kKeep ? previous : fallback;
}

const std::string& StyleList::Stored(int index) const {
    static const std::string kNone;
    return index >= 0 && index < static_cast<int>(entries.size()) ? entries[index].stored : kNone;
}

const StyleList& FontSizeList() {
    static const StyleList l = WithEdit(MakeList({{"extrem klein", "xx-small"},
                                                  {"sehr klein", "x-small"},
                                                  {"klein", "small"},
                                                  {"mittel", "medium"},
                                                  {"gro\xDF", "large"},
                                                  {"sehr gro\xDF", "x-large"},
                                                  {"extrem gro\xDF", "xx-large"},
                                                  {"kleiner", "smaller"},
                                                  {"gr\xF6\xDF"
                                                   "er",
                                                   "larger"},
                                                  {"vererbt", "inherit"}},
                                                 9),
                                        10, 3);
    return l;
}

const StyleList& FontStyleList() {
    static const StyleList l = MakeList({{"normal", "normal"},
                                         {"kursiv", "italic"},
                                         {"schr\xE4ggestellt", "oblique"},
                                         {"vererbt", "inherit"}},
                                        0);
    return l;
}

const StyleList& FontVariantList() {
    static const StyleList l = MakeList(
        {{"normal", "normal"}, {"Kapit\xE4lchen", "small-caps"}, {"vererbt", "inherit"}}, 0);
    return l;
}

const StyleList& FontWeightList() {
    static const StyleList l = [] {
        StyleList w = MakeList({{"normal", "normal"},
                                {"dicker", "bolder"},
                                {"d\xFCnner", "lighter"},
                                {"fett", "bold"},
                                {"vererbt", "inherit"}},
                               0);
        for (int n = 100; n <= 900; n += 100)
            w.entries.push_back({std::to_string(n), std::to_string(n)});
        return w;
    }();
    return l;
}

const std::array<const char*, 6> FontFamilyPresets = {
    "Arial, Helvetica, sans-serif",
    "Times New Roman, Times, serif",
    "Courier New, Courier, mono",
    "Georgia, Times New Roman, Times, serif",
    "Verdana, Arial, Helvetica, sans-serif",
    "Geneva, Arial, Helvetica, sans-serif",
};

const StyleList& LetterSpacingList() {
    static const StyleList l =
        WithEdit(MakeList({{"normal", "normal"}, {"vererbt", "inherit"}}, 8), 2, 0);
    return l;
}

const StyleList& LineHeightList() {
    static const StyleList l = WithEdit(
        MakeList(
            {{"normal", "normal"}, {"vererbt", "inherit"}, {"Faktor (H\xF6he=Wert*Standard)", ""}},
            9),
        2, 0);
    return l;
}

const StyleList& DirectionList() {
    static const StyleList l = MakeList(
        {{"links nach rechts", "ltr"}, {"rechts nach links", "rtl"}, {"vererbt", "inherit"}}, 0);
    return l;
}

const StyleList& TextAlignList() {
    static const StyleList l = MakeList({{"links", "left"},
                                         {"rechts", "right"},
                                         {"zentriert", "center"},
                                         {"Blocksatz", "justify"},
                                         {"vererbt", "inherit"}},
                                        0);
    return l;
}

const StyleList& TextIndentList() {
    static const StyleList l = WithEdit(MakeList({{"vererbt", "inherit"}}, 9), 1, 0);
    return l;
}

const StyleList& TextTransformList() {
    static const StyleList l = MakeList({{"ohne \xC4nderung", "none"},
                                         {"Wortanfang gro\xDF", "capitalize"},
                                         {"alle Zeichen klein", "lowercase"},
                                         {"alle Zeichen gro\xDF", "uppercase"},
                                         {"vererbt", "inherit"}},
                                        0);
    return l;
}

const StyleList& WhiteSpaceList() {
    static const StyleList l = MakeList({{"zusammenfassen, automatischer Umbruch", "normal"},
                                         {"unver\xE4ndert, kein automatischer Umbruch", "pre"},
                                         {"zusammenfassen, kein automatischer Umbruch", "nowrap"},
                                         {"vererbt", "inherit"}},
                                        0);
    return l;
}

const StyleList& WordSpacingList() {
    static const StyleList l = [] {
        StyleList w = WithEdit(MakeList({{"normal", "normal"}, {"vererbt", "inherit"}}, 8), 2, 0);
        w.unitsBeyondList = false;
        return w;
    }();
    return l;
}

const StyleList& VerticalAlignList() {
    static const StyleList l = WithEdit(MakeList({{"Grundlinie", "baseline"},
                                                  {"Fu\xDFlinie", "bottom"},
                                                  {"zentriert", "middle"},
                                                  {"tiefgestellter Text", "sub"},
                                                  {"hochgestellter Text", "super"},
                                                  {"Oberkante Schrift", "text-top"},
                                                  {"Unterkante Schrift", "text-bottom"},
                                                  {"Oben", "top"}},
                                                 9),
                                        8, 0);
    return l;
}

const StyleList& PositionLengthList() {
    // "auto" is matched as a keyword but anything not a unit shows "automatisch" as well.
    static const StyleList l = WithEdit(MakeList({{"automatisch", "auto"}}, 9), 1, 0);
    return l;
}

const StyleList& PositionKindList() {
    static const StyleList l = MakeList({{"statisch", "static"},
                                         {"relativ", "relative"},
                                         {"absolut", "absolute"},
                                         {"fixiert", "fixed"}},
                                        0);
    return l;
}

const StyleList& HorizontalDirectionList() {
    static const StyleList l = MakeList({{"links", "left"}, {"rechts", "right"}}, 0);
    return l;
}

const StyleList& VerticalDirectionList() {
    static const StyleList l = MakeList({{"oben", "top"}, {"unten", "bottom"}}, 0);
    return l;
}

const StyleList& OverflowList() {
    static const StyleList l = MakeList({{"browserabh\xE4ngig", "auto"},
                                         {"versteckt", "hidden"},
                                         {"sichtbar", "visible"},
                                         {"Scrollbalken", "scroll"}},
                                        0);
    return l;
}

const StyleList& BoxWidthList(BoxArea ring) {
    static const StyleList margin =
        WithEdit(MakeList({{"automatisch", "auto"}, {"vererbt", "inherit"}}, 9, true), 2, -1);
    static const StyleList border = WithEdit(
        MakeList(
            {{"d\xFCnn", "thin"}, {"mittel", "medium"}, {"dick", "thick"}, {"vererbt", "inherit"}},
            8, true),
        4, -1);
    static const StyleList padding = WithEdit(MakeList({{"vererbt", "inherit"}}, 9, true), 1, -1);
    return ring == kMargin ? margin : ring == kBorder ? border : padding;
}

const StyleList& BorderStyleList() {
    static const StyleList l = MakeList({{"kein Rahmen", "none"},
                                         {"gepunktete Linie", "dotted"},
                                         {"gestrichelte Linie", "dashed"},
                                         {"durchgezogene Linie", "solid"},
                                         {"2 parallele Linien", "double"},
                                         {"3D-Effekt (groove)", "groove"},
                                         {"3D-Effekt (ridge)", "ridge"},
                                         {"3D-Effekt (inset)", "inset"},
                                         {"3D-Effekt (outset)", "outset"},
                                         {"vererbt", "inherit"}},
                                        0);
    return l;
}

const StyleList& BoxRingList() {
    static const StyleList l = MakeList({{"Au\xDF"
                                          "enabstand",
                                          "margin"},
                                         {"Rahmen", "border"},
                                         {"Innenabstand", "padding"}},
                                        0);
    return l;
}

const StyleList& BackgroundList() {
    static const StyleList l =
        MakeList({{"transparent", "transparent"}, {"vererbt", "inherit"}, {"Farbwert", ""}}, 0);
    return l;
}

int BackgroundIndex(std::string_view text) {
    if (text.empty() || text == "transparent") return 0;
    if (text == "inherit") return 1;
    return kBackgroundColorEntry;
}

const std::array<SideEntry, 7> SideMaskTable = {{
    {"links", 1},
    {"rechts", 2},
    {"oben", 4},
    {"unten", 8},
    {"links + rechts", 3},
    {"oben + unten", 12},
    {"alle Seiten", 15},
}};

int SideEntryIndex(int mask) {
    for (int i = 0; i < static_cast<int>(SideMaskTable.size()); ++i)
        if (SideMaskTable[i].mask == mask) return i;
    return -1;
}

namespace {

std::vector<BoxSide> SidesOf(int mask) {
    std::vector<BoxSide> sides;
    for (BoxSide s : {kLeft, kRight, kTop, kBottom})
        if (mask & SideBit(s)) sides.push_back(s);
    return sides;
}

bool SameSide(const TCSS& css, BoxArea ring, BoxSide a, BoxSide b) {
    if (css.WidthType(ring, a) != css.WidthType(ring, b)) return false;
    if (css.WidthValue(ring, a) != css.WidthValue(ring, b)) return false;
    if (ring != kBorder) return true;
    return css.BorderColor(a) == css.BorderColor(b) && css.BorderStyle(a) == css.BorderStyle(b);
}

}  // namespace

bool SidesAgree(const TCSS& css, BoxArea ring, int mask) {
    const std::vector<BoxSide> sides = SidesOf(mask);
    for (size_t i = 1; i < sides.size(); ++i)
        if (!SameSide(css, ring, sides[0], sides[i])) return false;
    return true;
}

void UnifySides(TCSS& css, BoxArea ring, int mask) {
    const std::vector<BoxSide> sides = SidesOf(mask);
    if (sides.empty()) return;
    const BoxSide src = sides[0];
    for (size_t i = 1; i < sides.size(); ++i) {
        const BoxSide s = sides[i];
        css.WidthType(ring, s) = css.WidthType(ring, src);
        css.WidthValue(ring, s) = css.WidthValue(ring, src);
        if (ring == kBorder) {
            css.BorderColor(s) = css.BorderColor(src);
            css.BorderStyle(s) = css.BorderStyle(src);
        }
    }
}

SideValues ShowSideValues(const TCSS& css, BoxArea ring, int mask) {
    SideValues v;
    const std::vector<BoxSide> sides = SidesOf(mask);
    if (sides.empty() || !SidesAgree(css, ring, mask)) return v;
    const BoxSide s = sides[0];
    v.agree = true;
    const std::string& type = css.WidthType(ring, s);
    v.widthValue = css.WidthValue(ring, s);
    v.widthEditVisible = IsUnitCode(type);
    v.widthIndex = BoxWidthList(ring).IndexOf(type, -1);
    if (v.widthIndex >= static_cast<int>(BoxWidthList(ring).entries.size())) v.widthIndex = -1;
    if (ring == kBorder) {
        v.color = css.BorderColor(s);
        v.style = css.BorderStyle(s);
    }
    return v;
}

BoxHit HitBoxPicture(int x, int y) {
    const int hw = kBoxPictureWidth / 2, hh = kBoxPictureHeight / 2;
    const int hx = x / hw, hy = y / hh;
    const int dx = hw - std::abs(x - hw) - hx;
    const int dy = hh - std::abs(y - hh) - hy;
    if (dy < dx) return {dy / kBoxRingWidth, hy == 0 ? kTop : kBottom};
    return {dx / kBoxRingWidth, hx == 0 ? kLeft : kRight};
}

ClickFocus ClickBoxPicture(BoxSelection& sel, int x, int y) {
    if (x < 0 || y < 0 || x >= kBoxPictureWidth || y >= kBoxPictureHeight) return ClickFocus::None;
    const BoxHit hit = HitBoxPicture(x, y);
    // The inner area belongs to no ring; a click there changes nothing.
    if (hit.ring > kPadding) return ClickFocus::None;
    const int bit = SideBit(hit.side);
    if (!sel.Selected(hit.ring, hit.side)) {
        if (hit.ring == sel.ring) {
            sel.mask |= bit;
            return ClickFocus::Sides;
        }
        sel.ring = hit.ring;
        sel.mask = bit;
        return ClickFocus::Ring;
    }
    if (sel.mask == bit) return ClickFocus::None;
    sel.mask &= ~bit;
    return ClickFocus::Sides;
}

}  // namespace pagloom
