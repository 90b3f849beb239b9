// SPDX-License-Identifier: MIT
// The brackets that table templates may use for their field and record tags, in the order of
// the list the user picks them from (TableSettings::tag_item_index).
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace pagloom {

struct TableSettings;

struct TagBracketKind {
    char open;
    char close;
    // The entry of the list, e.g. "<...>" (Windows-1252).
    std::string_view listText;
};

// Every kind in list order.
std::span<const TagBracketKind> TagBracketKinds();
// The kind at `index`; an index outside the list gives the first kind.
const TagBracketKind& TagBracketKindAt(int index);
// Whether `index` names an entry of the list (a project file may hold any number).
bool IsTagBracketIndex(int index);

// The examples shown beside the tag names, e.g. <FIELD NAME="Vorname">...</FIELD> and
// <RECORD>...</RECORD>; empty when the settings name no entry of the list.
std::string FieldTagExample(const TableSettings& tables);
std::string RecordTagExample(const TableSettings& tables);

}  // namespace pagloom
