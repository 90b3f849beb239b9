// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "model/ProjectRules.h"

using namespace pagloom;

TEST(ProjectRules, RegionOverwriteVisibilityAndPreset) {
    struct Case {
        const char* name;
        int source;
        int mainSource, subSource;
        bool dwPreset, tabPreset;
        bool visible, value;
    } cases[] = {
        {"empty pages: hidden", kEmptyPages, 3, 3, true, true, false, false},
        {"template pages: hidden", kTemplatePages, 3, 3, true, true, false, false},
        {"dw pages take dw preset", kDwTemplatePages, 0, 0, true, false, true, true},
        {"dw pages, preset off", kDwTemplatePages, 0, 0, false, true, true, false},
        {"tables with dw main menu take tab preset", kTabTemplatePages, 3, 2, false, true, true,
         true},
        {"tables with dw sub-menu", kTabTemplatePages, 2, 3, true, false, true, false},
        {"tables without dw template: hidden", kTabTemplatePages, 2, 2, true, true, false, false},
    };
    for (const auto& c : cases) {
        Project p;
        p.Settings.content_page.source.Select(c.source);
        p.Tables.Slot[ContentSlot::mainmenu].content_source = c.mainSource;
        p.Tables.Slot[ContentSlot::submenu].content_source = c.subSource;
        // A first page from a Dreamweaver template alone does not show the choice.
        p.Tables.Slot[ContentSlot::firstpage].content_source = kSlotDwTemplate;
        p.Settings.content_page.dw_editable_overwrite = c.dwPreset;
        p.Settings.content_page.tab_dw_editable_overwrite = c.tabPreset;
        EXPECT_EQ(RegionOverwriteVisibleFor(p), c.visible) << c.name;
        if (c.visible) {
            EXPECT_EQ(RegionOverwritePresetFor(p), c.value) << c.name;
        }
    }
}

TEST(ProjectRules, SlotTableInUseNeedsATableFieldAndAnOpenedTable) {
    struct Case {
        int source;
        const char* nameDisplay;
        bool inUse;
    } cases[] = {
        {kSlotNoPages, "t.csv", false},
        {kSlotEmptyPages, "t.csv", false},
        {kSlotTemplate, "t.csv", true},
        {kSlotDwTemplate, "t.csv", true},
        {kSlotTemplate, "", false},
        {kSlotDwTemplate, "", false},
        {4, "t.csv", false},
    };
    for (const auto& c : cases) {
        Project p;
        p.Tables.Slot[ContentSlot::submenu].content_source = c.source;
        p.Tables.Slot[ContentSlot::submenu].name_display = c.nameDisplay;
        EXPECT_EQ(SlotTableInUse(p, ContentSlot::submenu), c.inUse)
            << c.source << " '" << c.nameDisplay << "'";
        EXPECT_FALSE(SlotTableInUse(p, ContentSlot::mainmenu)) << "other slots stay out of use";
    }
}
