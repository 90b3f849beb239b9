// SPDX-License-Identifier: MIT
#include "tables/TableTabRules.h"

#include "model/ProjectRules.h"

namespace pagloom {

std::optional<TabControlLook> TableTabLook(int contentSource, int pageNameSource,
                                           TableTabPart part) {
    if (contentSource < kSlotNoPages || contentSource > kSlotDwTemplate) return std::nullopt;
    const bool pages = SlotTableFieldAvailable(contentSource);
    const auto onWhen = [](bool on) { return on ? TabControlLook::On : TabControlLook::Off; };
    switch (part) {
        case TableTabPart::SlotTable:
            return onWhen(pages);
        case TableTabPart::FromTableName:
            return onWhen(pages && pageNameSource == kNameFromTable);
        case TableTabPart::FromTextExt:
            return onWhen(pages && pageNameSource == kNameFromText);
        case TableTabPart::FromTextText:
            // Without table pages the text stays editable, only greyed, while its radio button
            // is selected.
            if (pageNameSource != kNameFromText) return TabControlLook::Off;
            return pages ? TabControlLook::On : TabControlLook::GreyEditable;
    }
    return std::nullopt;
}

bool TemplateChooserStartsWithDreamweaver(int contentSource) {
    return contentSource != kSlotTemplate;
}

ColumnChoice ColumnAt(const std::vector<std::string>& fields, int index) {
    if (index < 0 || index >= static_cast<int>(fields.size())) return {};
    return {fields[static_cast<size_t>(index)], index};
}

void SelectColumnsOfNewTable(Project& project, ContentSlot slot) {
    const std::vector<std::string>& fields = project.Tables.Slot[slot].fields;
    if (slot == ContentSlot::mainmenu) {
        project.Tables.mainmenu.col_mainmenu = ColumnAt(fields, 0);
    } else if (slot == ContentSlot::submenu) {
        project.Tables.submenu.col_mainmenu = ColumnAt(fields, 0);
        project.Tables.submenu.col_submenu = ColumnAt(fields, 1);
    }
}

bool RemoveSlotTable(Project& project, ContentTables& tables, ContentSlot slot) {
    SlotTableSettings& s = project.Tables.Slot[slot];
    TPrjParams& pp = project.PrjParams;
    const bool stored = pp.TableKind[slot] != kNoneTable || !pp.TableName[slot].empty();
    if (s.name_display.empty() && !stored) return false;
    s.name_display.clear();
    s.fields.clear();
    if (slot == ContentSlot::mainmenu) project.Tables.mainmenu.col_mainmenu = {};
    if (slot == ContentSlot::submenu) {
        project.Tables.submenu.col_mainmenu = {};
        project.Tables.submenu.col_submenu = {};
    }
    EngineTable& engine = tables.Engine(slot);
    engine.Close();
    engine.SetSource(engine.Kind(), engine.Database(), {});
    pp.TableKind[slot] = kNoneTable;
    pp.DatabaseName[slot].clear();
    pp.TableName[slot].clear();
    return true;
}

}  // namespace pagloom
