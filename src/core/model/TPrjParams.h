// SPDX-License-Identifier: MIT
// The table sources of the three content slots and the two menu style records. One object lives
// for the whole run (inside Project); reading a project overwrites its values.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "model/TCSS.h"

namespace pagloom {

// The three content slots; their names are the key prefixes of the `table` section.
enum class ContentSlot { firstpage = 0, mainmenu = 1, submenu = 2 };
inline constexpr int kSlotCount = 3;
inline constexpr std::array<ContentSlot, kSlotCount> kAllSlots{
    ContentSlot::firstpage, ContentSlot::mainmenu, ContentSlot::submenu};
// "firstpage", "mainmenu", "submenu".
const char* SlotName(ContentSlot slot);

// An array indexed by content slot (or by its number 0..2).
template <typename T>
struct SlotArray {
    std::array<T, kSlotCount> v{};
    T& operator[](ContentSlot s) { return v[static_cast<std::size_t>(s)]; }
    const T& operator[](ContentSlot s) const { return v[static_cast<std::size_t>(s)]; }
    T& operator[](int i) { return v[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return v[static_cast<std::size_t>(i)]; }
    bool operator==(const SlotArray&) const = default;
};

// Codes of TPrjParams::TableKind. What each kind is and how its tables are read is the table of
// kinds (tables/TableKinds.h).
enum TableKindCode : std::uint8_t {
    kParadoxTable = 0,
    kDbaseTable = 1,
    kFoxproTable = 2,
    kCsvTable = 3,
    kBdeTable = 4,  // a table of a named database alias (an ODBC data source here)
    kNoneTable = 5,
};
struct TPrjParams {
    SlotArray<char> QuoteChar{{'\'', '\'', '\''}};
    SlotArray<char> SeparatorChar{{',', ',', ','}};
    SlotArray<bool> HasCaptionRow{{false, false, false}};
    // CSV only: blanks inside an unquoted value belong to it (spreadsheet exports).
    SlotArray<bool> BlanksInValues{{false, false, false}};
    SlotArray<std::uint8_t> TableKind{{kNoneTable, kNoneTable, kNoneTable}};
    SlotArray<std::string> DatabaseName;  // folder without trailing separator, or alias name
    SlotArray<std::string> TableName;     // file name with extension, or table name
    // Index kMainMenuLevel (section css_1) and kSubMenuLevel (css_2); owned, never replaced.
    std::array<TCSS, 2> Styles;

    TCSS& Style(MenuLevel level) { return Styles[static_cast<std::size_t>(level)]; }
    const TCSS& Style(MenuLevel level) const { return Styles[static_cast<std::size_t>(level)]; }
    bool operator==(const TPrjParams&) const = default;
};

}  // namespace pagloom
