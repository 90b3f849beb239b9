// SPDX-License-Identifier: MIT
// The keys of the sections `table` and `table_convert` that are not table sources (those live
// in TPrjParams): what each slot makes of its table, the chosen columns, the page-name rules of
// table-driven menus, the tag names and the conversion switches. Plain state with the defaults of
// a project file that lacks the keys; the windows show it and the generator reads it.
#pragma once
#include <string>
#include <vector>

#include "model/Choice.h"
#include "model/TPrjParams.h"

namespace pagloom {

// Positions of a slot's content-source list ("Seite nicht erstellen"/"keine Seiten erstellen",
// "Leere Seite(n) erstellen", "Standard-Vorlage", "Dreamweaver-Vorlage").
enum SlotContentSource {
    kSlotNoPages = 0,
    kSlotEmptyPages = 1,
    kSlotTemplate = 2,
    kSlotDwTemplate = 3
};

// The radio pair that decides where the page names of a table-driven menu come from.
enum PageNameSource { kNameFromTable = 0, kNameFromText = 1 };

// A chosen field of a slot's field list: its name and position, "" and -1 when none is chosen.
// After reading, these are the stored values; once the slot's table is open they are the actual
// selection in the field list (the selection logic lives with the tables).
struct ColumnChoice {
    std::string name;
    int index = -1;
    bool operator==(const ColumnChoice&) const = default;
};

// Per slot: what its pages are made of, and what the table tab shows of its table.
struct SlotTableSettings {
    int content_source = kSlotEmptyPages;  // P_content_source, a SlotContentSource (any int read)
    std::string template_file;             // P_template_file
    // The loaded table's name display; the generator uses the slot's table only while it is
    // non-empty. Filled when the table opens, emptied when it does not.
    std::string name_display;
    // The table's field names in table order (also the names accepted in field tags).
    std::vector<std::string> fields;
    bool operator==(const SlotTableSettings&) const = default;
};

struct MainMenuTableSettings {
    ColumnChoice col_mainmenu;                  // mainmenu_col_mainmenu / _col_index_mainmenu
    Choice<2> filename{kNameFromText};          // mainmenu_filename_from_table / _from_text
    std::string from_table_extension = ".htm";  // mainmenu_from_table_extension
    std::string from_text_text = "inhalt";      // mainmenu_from_text_text
    std::string from_text_extension = ".htm";   // mainmenu_from_text_extension
    bool operator==(const MainMenuTableSettings&) const = default;
};

struct SubMenuTableSettings {
    ColumnChoice col_mainmenu;                  // submenu_col_mainmenu / _col_index_mainmenu
    ColumnChoice col_submenu;                   // submenu_col_submenu / _col_index_submenu
    Choice<2> filename{kNameFromText};          // submenu_filename_from_table / _from_text
    std::string from_table_seperator = "_";     // submenu_from_table_seperator
    std::string from_table_extension = ".htm";  // submenu_from_table_extension
    std::string from_text_text = "inhalt";      // submenu_from_text_text
    std::string from_text_extension = ".htm";   // submenu_from_text_extension
    bool operator==(const SubMenuTableSettings&) const = default;
};

// Section table_convert: how field values are converted when written into pages.
struct TableConvertSettings {
    bool special_sign_unicode = true;
    bool tags_unicode = true;
    bool newline_br = true;
    bool multispaces = true;
    bool tab_to_list = false;
    bool web_to_link = false;
    bool operator==(const TableConvertSettings&) const = default;
};

// Tag brackets, positions of tag_item_index.
enum TagBracketIndex {
    kAngleBrackets = 0,
    kRoundBrackets,
    kCurlyBrackets,
    kSquareBrackets,
    kGuillemets
};

struct TableSettings {
    SlotArray<SlotTableSettings> Slot;
    MainMenuTableSettings mainmenu;
    SubMenuTableSettings submenu;
    std::string field_tag_name = "FIELD";
    std::string record_tag_name = "RECORD";
    int tag_item_index = kAngleBrackets;
    TableConvertSettings convert;
    bool operator==(const TableSettings&) const = default;
};

}  // namespace pagloom
