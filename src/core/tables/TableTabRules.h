// SPDX-License-Identifier: MIT
// The rules of the desktop program's table tab: which controls of a slot's page are usable for
// its content source and page-name choice, the field selection after a table was taken over, and
// what "löschen" beside a table name does to the project. They live in the core because they
// change the model and its tables; the tab only shows their results.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "model/Project.h"
#include "tables/ContentTables.h"

namespace pagloom {

// How a control is shown: off (disabled, grey), on (enabled, normal field colour), or grey
// but still editable (a menu's fixed page-name text while the menu makes no table pages).
enum class TabControlLook { Off, On, GreyEditable };

// Controls of a slot's page that share one rule.
enum class TableTabPart {
    // Template field and its buttons, table name and its buttons, the wizard, the field lists
    // and the page-name radio buttons.
    SlotTable,
    // The page name made from field values: extension (and the sub-menu's separator).
    FromTableName,
    // The fixed text of page names made from text and the entry number.
    FromTextText,
    // The extension of page names made from text.
    FromTextExt,
};

// The look of `part` for a slot whose source list shows `contentSource` and whose page-name
// radio pair shows `pageNameSource` (a PageNameSource, -1 when neither is selected; the first
// page has none). Nothing when the source list has no position selected: the controls then
// keep the look they have.
std::optional<TabControlLook> TableTabLook(int contentSource, int pageNameSource,
                                           TableTabPart part);

// The template chooser opens on the Dreamweaver-Template filter unless the slot's source is
// "Standard-Vorlage".
bool TemplateChooserStartsWithDreamweaver(int contentSource);

// The field chosen at `index` of `fields`, or no field when the index is outside the list.
ColumnChoice ColumnAt(const std::vector<std::string>& fields, int index);

// After a table was taken over (or the take-over failed): the main menu selects its first
// field; the sub-menu its first field for the match and its second as the sub-menu field.
void SelectColumnsOfNewTable(Project& project, ContentSlot slot);

// "löschen" beside a slot's table name. Empties the name display and the field lists with their
// selections, closes the slot's engine table and forgets its table name, and lets the slot hold
// no table (kind 5, no database, no table name), so a saved project does not bring it back. A
// slot whose stored table could not be opened shows no name but still holds that table; it is
// removed the same way. Returns false, changing nothing, when the slot has no table at all;
// true: the project changed.
bool RemoveSlotTable(Project& project, ContentTables& tables, ContentSlot slot);

}  // namespace pagloom
