// SPDX-License-Identifier: MIT
// The rules of the style editors that need no window: colour texts and the named colours, the
// key filters of their number and colour edits, the font-family split, the lists that map an
// entry to the text a style record stores, and the border editor's box picture and side
// selection. The widgets only show and edit a record through these. Labels are Windows-1252.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/TCSS.h"

namespace pagloom {

// ---- Colours ----

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// RRGGBB read as hexadecimal (either case); nothing when the text is not six hex digits.
std::optional<Rgb> ParseHexColor(std::string_view text);
// The colour as six upper-case hex digits.
std::string HexColorText(Rgb rgb);
// A colour packed as red + 256 * green + 65536 * blue, and back (the lowest byte is red).
int PackColor(Rgb rgb);
Rgb SplitColor(int packed);

struct NamedColor {
    const char* name;
    Rgb rgb;
};
// The sixteen named colours in the order of the colour list (after "Individuell...").
extern const std::array<NamedColor, 16> NamedColors;
// Index into NamedColors of the colour, or -1.
int NamedColorIndex(Rgb rgb);

// The text a hex colour edit accepts on leaving: three characters are doubled ("f0a" gives
// "ff00aa"), six are kept; any other length is refused.
std::optional<std::string> AcceptHexEdit(std::string_view text);
// `hex` with the two characters of one component (0 red, 1 green, 2 blue) replaced by `value`
// as two upper-case hex digits. A shorter text is padded with "0" first.
std::string ReplaceColorComponent(std::string hex, int component, int value);

// ---- Key filters ----

enum class KeyFilter {
    DecimalComma,   // the colour components
    DecimalPoint,   // widths and heights
    DecimalEither,  // font size, line height
    SignedDecimal,  // offsets and the signed text values
    HexDigit,       // the hex colour edit
};
constexpr char kBackspace = '\b';
// What typing `typed` into an edit holding `text` with the caret at `caret` inserts: the
// character itself, a replacement, or nothing ('\0') when it is dropped.
char FilterKey(KeyFilter filter, char typed, std::string_view text, int caret);

// ---- Font family ----

// The split rule of the family field: outer blanks removed; cut at commas outside single or
// double quotes (the quotes stay); blanks at an item's start skipped, at its end kept; empty
// items dropped.
std::vector<std::string> SplitFontFamily(std::string_view text);
// The list as the family field shows it: joined by ", ".
std::string JoinFontFamily(const std::vector<std::string>& list);

// ---- Lists of the style editors ----

// One drop-down list: each entry's label and the text it stores. Unit entries are part of
// `entries` from `unitBase` on, in UnitCodes order.
struct StyleList {
    struct Entry {
        std::string label;
        std::string stored;
    };
    std::vector<Entry> entries;
    // Index of the first unit entry; -1 for a list without units.
    int unitBase = -1;
    // A unit type beyond the list's units (letter spacing "%") still maps to unitBase + u and
    // so selects no entry; otherwise such a type is treated like a keyword.
    bool unitsBeyondList = true;
    // Index shown for a type in no entry: kKeep keeps the former selection, -1 shows no entry.
    int fallback = kKeep;
    // The number edit beside the list is visible from this index on; -1 for no number edit.
    int editFrom = -1;

    static constexpr int kKeep = -2;

    // The index that shows `type`; `previous` is the list's current index.
    int IndexOf(std::string_view type, int previous) const;
    // Whether the number edit shows for `index` (an index beyond the list counts, -1 not).
    bool EditVisible(int index) const { return editFrom >= 0 && index >= editFrom; }
    // Stored text of an entry; empty for an index outside the list.
    const std::string& Stored(int index) const;
};

// Font editor.
const StyleList& FontSizeList();
const StyleList& FontStyleList();
const StyleList& FontVariantList();
const StyleList& FontWeightList();
extern const std::array<const char*, 6> FontFamilyPresets;

// Text editor.
const StyleList& LetterSpacingList();
const StyleList& LineHeightList();
const StyleList& DirectionList();
const StyleList& TextAlignList();
const StyleList& TextIndentList();
const StyleList& TextTransformList();
const StyleList& WhiteSpaceList();
const StyleList& WordSpacingList();
const StyleList& VerticalAlignList();

// Position editor: the four length lists (offsets, width, height) and the three choices.
const StyleList& PositionLengthList();
const StyleList& PositionKindList();
const StyleList& HorizontalDirectionList();
const StyleList& VerticalDirectionList();
const StyleList& OverflowList();

// Border editor.
const StyleList& BoxWidthList(BoxArea ring);
const StyleList& BorderStyleList();
const StyleList& BoxRingList();

// Background editor: "transparent", "vererbt", "Farbwert" (the colour beside it).
const StyleList& BackgroundList();
constexpr int kBackgroundColorEntry = 2;
// The index shown for a background text; an empty hover text shows "transparent".
int BackgroundIndex(std::string_view text);

// ---- Border editor: sides and the box picture ----

// Side bits: left 1, right 2, top 4, bottom 8.
constexpr int SideBit(BoxSide side) { return 1 << side; }
constexpr int kAllSides = 15;
struct SideEntry {
    const char* label;
    int mask;
};
extern const std::array<SideEntry, 7> SideMaskTable;
// Index of the first side entry with exactly this mask, or -1.
int SideEntryIndex(int mask);

// Whether all sides of `mask` agree on the width type and value of `ring` (and on colour and
// style for the border ring).
bool SidesAgree(const TCSS& css, BoxArea ring, int mask);
// Copies the first selected side's values of `ring` to the other selected sides.
void UnifySides(TCSS& css, BoxArea ring, int mask);

// What the editor's controls show for the selected sides (ShowSideValues).
struct SideValues {
    bool agree = false;
    int widthIndex = -1;  // entry of the ring's width list, -1 for none
    std::string widthValue = "0";
    bool widthEditVisible = false;
    std::string color;  // border ring only
    std::string style;  // border ring only
};
SideValues ShowSideValues(const TCSS& css, BoxArea ring, int mask);

// The picture: 200 x 130, rings 18 pixels wide.
constexpr int kBoxPictureWidth = 200;
constexpr int kBoxPictureHeight = 130;
constexpr int kBoxRingWidth = 18;
// The trapezoid under a point: its ring (3 or more is the inner area) and side.
struct BoxHit {
    int ring;
    BoxSide side;
};
BoxHit HitBoxPicture(int x, int y);

// The ring and sides chosen in the picture, and what a click on it does.
struct BoxSelection {
    int ring = kBorder;
    int mask = kAllSides;
    bool Selected(int r, BoxSide s) const { return r == ring && (mask & SideBit(s)); }
};
enum class ClickFocus { None, Sides, Ring };
// Applies a click released at (x, y) and says where the focus goes. A click on the inner area
// or on the only selected side changes nothing.
ClickFocus ClickBoxPicture(BoxSelection& sel, int x, int y);

}  // namespace pagloom
