// SPDX-License-Identifier: MIT
// The table tab's rules that change the project: the fields selected after a take-over and
// "löschen" beside a table name; and the controls' looks over every input.
#include <gtest/gtest.h>

#include "io/FileSystem.h"
#include "model/ProjectRules.h"
#include "tables/TableTabRules.h"

using namespace pagloom;

namespace {
using Items = std::vector<std::string>;
}  // namespace

TEST(TableTabRules, NewTableSelectsTheFirstFieldsItHas) {
    const struct Case {
        const char* name;
        ContentSlot slot;
        Items fields;
        ColumnChoice mainColumn, subMatch, subColumn;
    } cases[] = {
        {"main menu: first field", ContentSlot::mainmenu, {"A", "B"}, {"A", 0}, {"X", 7}, {"Y", 8}},
        {"main menu without fields", ContentSlot::mainmenu, {}, {}, {"X", 7}, {"Y", 8}},
        {"sub-menu: first and second",
         ContentSlot::submenu,
         {"A", "B", "C"},
         {"M", 5},
         {"A", 0},
         {"B", 1}},
        {"sub-menu with one field", ContentSlot::submenu, {"A"}, {"M", 5}, {"A", 0}, {}},
        {"sub-menu without fields", ContentSlot::submenu, {}, {"M", 5}, {}, {}},
        {"first page selects nothing", ContentSlot::firstpage, {"A"}, {"M", 5}, {"X", 7}, {"Y", 8}},
    };
    for (const Case& c : cases) {
        Project p;
        p.Tables.mainmenu.col_mainmenu = {"M", 5};
        p.Tables.submenu.col_mainmenu = {"X", 7};
        p.Tables.submenu.col_submenu = {"Y", 8};
        p.Tables.Slot[c.slot].fields = c.fields;
        SelectColumnsOfNewTable(p, c.slot);
        EXPECT_EQ(p.Tables.mainmenu.col_mainmenu, c.mainColumn) << c.name;
        EXPECT_EQ(p.Tables.submenu.col_mainmenu, c.subMatch) << c.name;
        EXPECT_EQ(p.Tables.submenu.col_submenu, c.subColumn) << c.name;
    }
}

namespace {

// A project whose three slots each hold a table, shown with its fields and selections.
Project ProjectWithTables() {
    Project p;
    for (ContentSlot s : kAllSlots) {
        p.PrjParams.TableKind[s] = kDbaseTable;
        p.PrjParams.DatabaseName[s] = "daten";
        p.PrjParams.TableName[s] = std::string(SlotName(s)) + ".dbf";
        p.Tables.Slot[s].name_display = p.PrjParams.TableName[s];
        p.Tables.Slot[s].fields = {"A", "B"};
        p.Tables.Slot[s].content_source = kSlotTemplate;
        p.Tables.Slot[s].template_file = "vorlage.htm";
    }
    p.Tables.mainmenu.col_mainmenu = {"A", 0};
    p.Tables.submenu.col_mainmenu = {"A", 0};
    p.Tables.submenu.col_submenu = {"B", 1};
    return p;
}

}  // namespace

TEST(TableTabRules, RemovingATableEmptiesOnlyItsSlotSoSavingDropsIt) {
    const struct Case {
        const char* name;
        ContentSlot slot;
        void (*prepare)(Project&);
        bool removed;
    } cases[] = {
        {"shown table", ContentSlot::submenu, [](Project&) {}, true},
        {"table that did not open", ContentSlot::mainmenu,
         [](Project& p) {
             p.Tables.Slot[ContentSlot::mainmenu].name_display.clear();
             p.Tables.Slot[ContentSlot::mainmenu].fields.clear();
         },
         true},
        {"only a kind stored", ContentSlot::firstpage,
         [](Project& p) {
             p.Tables.Slot[ContentSlot::firstpage].name_display.clear();
             p.PrjParams.TableName[ContentSlot::firstpage].clear();
         },
         true},
        {"only a name stored", ContentSlot::firstpage,
         [](Project& p) {
             p.Tables.Slot[ContentSlot::firstpage].name_display.clear();
             p.PrjParams.TableKind[ContentSlot::firstpage] = kNoneTable;
         },
         true},
        {"no table", ContentSlot::submenu,
         [](Project& p) {
             p.Tables.Slot[ContentSlot::submenu].name_display.clear();
             p.PrjParams.TableKind[ContentSlot::submenu] = kNoneTable;
             p.PrjParams.TableName[ContentSlot::submenu].clear();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiskFileSystem disk;
        ContentTables tables(disk);
        EngineTable& engine = tables.Engine(c.slot);
        engine.SetSource(kDbaseTable, "daten", "alt.dbf");
        Project p = ProjectWithTables();
        c.prepare(p);
        const TPrjParams params = p.PrjParams;
        const TableSettings before = p.Tables;
        ASSERT_EQ(RemoveSlotTable(p, tables, c.slot), c.removed);
        if (!c.removed) {
            EXPECT_EQ(p.PrjParams, params);
            EXPECT_EQ(p.Tables, before);
            EXPECT_EQ(engine.TableName(), "alt.dbf");
            continue;
        }
        // The slot holds no table any more: not in the model, not in its engine table.
        EXPECT_EQ(p.PrjParams.TableKind[c.slot], kNoneTable);
        EXPECT_EQ(p.PrjParams.DatabaseName[c.slot], "");
        EXPECT_EQ(p.PrjParams.TableName[c.slot], "");
        EXPECT_EQ(p.Tables.Slot[c.slot].name_display, "");
        EXPECT_EQ(p.Tables.Slot[c.slot].fields, Items{});
        EXPECT_FALSE(SlotTableInUse(p, c.slot));
        EXPECT_EQ(p.Tables.Slot[c.slot].template_file, "vorlage.htm");
        EXPECT_FALSE(engine.IsOpen());
        EXPECT_EQ(engine.TableName(), "");
        // The slot's field selections go with it; the other slots keep theirs.
        const bool main = c.slot == ContentSlot::mainmenu, sub = c.slot == ContentSlot::submenu;
        EXPECT_EQ(p.Tables.mainmenu.col_mainmenu,
                  main ? ColumnChoice{} : before.mainmenu.col_mainmenu);
        EXPECT_EQ(p.Tables.submenu.col_mainmenu,
                  sub ? ColumnChoice{} : before.submenu.col_mainmenu);
        EXPECT_EQ(p.Tables.submenu.col_submenu, sub ? ColumnChoice{} : before.submenu.col_submenu);
        for (ContentSlot other : kAllSlots) {
            if (other == c.slot) continue;
            EXPECT_EQ(p.Tables.Slot[other], before.Slot[other]);
            EXPECT_EQ(p.PrjParams.TableName[other], params.TableName[other]);
        }
    }
}

// The cases of the single looks are the tab's own tests; these hold over every input.
TEST(TableTabRules, LooksFollowTheSourceListOverEveryInput) {
    const TableTabPart parts[] = {TableTabPart::SlotTable, TableTabPart::FromTableName,
                                  TableTabPart::FromTextText, TableTabPart::FromTextExt};
    for (int source = -2; source <= kSlotDwTemplate + 2; ++source) {
        for (int names : {-1, int(kNameFromTable), int(kNameFromText)}) {
            SCOPED_TRACE(testing::Message() << "source " << source << ", names " << names);
            const bool listed = source >= kSlotNoPages && source <= kSlotDwTemplate;
            const bool pages = listed && SlotTableFieldAvailable(source);
            int on = 0;
            for (TableTabPart part : parts) {
                const std::optional<TabControlLook> look = TableTabLook(source, names, part);
                // A source the list does not show leaves every control as it is.
                ASSERT_EQ(look.has_value(), listed);
                if (!look) continue;
                // Without table pages nothing is usable, at most the fixed text is greyed.
                if (!pages) {
                    EXPECT_NE(*look, TabControlLook::On);
                }
                if (part != TableTabPart::SlotTable) on += *look != TabControlLook::Off;
            }
            // Only the page-name controls of the selected radio button are usable.
            EXPECT_LE(on, names == int(kNameFromText) ? 2 : names == int(kNameFromTable) ? 1 : 0);
        }
    }
}
