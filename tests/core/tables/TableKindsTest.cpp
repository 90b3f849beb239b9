// SPDX-License-Identifier: MIT
// The table of table kinds: every code has one complete kind, and each kind's functions carry a
// table from the take-over through a saved project back into its slot.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "document/ProjectDocument.h"
#include "io/FileSystem.h"
#include "ports/Host.h"
#include "tables/SlotOpening.h"
#include "tables/TableKinds.h"

using namespace pagloom;
using pagloom::test::TempDir;

namespace {
using Items = std::vector<std::string>;
}  // namespace

TEST(TableKinds, EveryCodeHasOneCompleteKindAndOtherCodesAreNone) {
    for (int code = 0; code <= kNoneTable; ++code) {
        int rows = 0;
        for (const TableKind& k : TableKinds()) rows += k.code == code;
        EXPECT_EQ(rows, 1) << "code " << code;
        const TableKind& k = TableKindOf(code);
        EXPECT_EQ(k.code, code);
        // A kind that a slot can hold can be opened and taken over; an engine also needs its
        // reader, a file type its patterns.
        const bool holds = k.holder != TableHolder::None;
        EXPECT_EQ(k.openSlot != nullptr, holds) << k.keyText;
        EXPECT_EQ(k.takeOver != nullptr, holds) << k.keyText;
        EXPECT_EQ(k.openFailed != nullptr, holds) << k.keyText;
        EXPECT_EQ(k.readRows != nullptr, k.holder == TableHolder::Engine) << k.keyText;
        if (k.fileType) {
            EXPECT_TRUE(k.inFolder) << k.keyText;
            EXPECT_NE(k.fileFilter, nullptr) << k.keyText;
            EXPECT_FALSE(k.filePatterns.empty()) << k.keyText;
        }
    }
    for (int code : {-1, kNoneTable + 1, 255}) EXPECT_EQ(TableKindOf(code).code, kNoneTable);
}

namespace {

class TableKindRoundTrip : public ::testing::Test {
  protected:
    TempDir dir;
    DiskFileSystem disk;
    RecordingHost host;
};

}  // namespace

// Each kind takes a chosen table over into a slot, where the build finds it in the kind's
// object, and opens it again when the saved project is read.
TEST_F(TableKindRoundTrip, EachKindTakesOverAndReopensItsTable) {
    dir.Write("menu.csv", "Haupt;Unter\nHome;Team\nNews;Neu\n");
    const std::string dbase = PAGLOOM_SHARED_TESTDATA "/dbase/dbfread";
    const struct Case {
        const char* name;
        TableChoice choice;
        Items fields;
        bool inMemory;
    } cases[] = {
        {"dBase", {kDbaseTable, dbase, "people.dbf"}, {"NAME", "BIRTHDATE"}, false},
        {"dBase without extension", {kDbaseTable, dbase, "people"}, {"NAME", "BIRTHDATE"}, false},
        {"FoxPro", {kFoxproTable, dbase, "people.dbf"}, {"NAME", "BIRTHDATE"}, false},
        {"CSV", {kCsvTable, dir.Path(), "menu.csv", '\'', ';', true}, {"Haupt", "Unter"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string plp = dir / (std::string(c.name) + ".plp");
        size_t rows = 0;
        {
            ProjectDocument doc{disk, host};
            ASSERT_TRUE(
                TakeOverTable(doc.project, doc.Tables(), ContentSlot::mainmenu, c.choice, host));
            EXPECT_EQ(doc.project.PrjParams.TableKind[ContentSlot::mainmenu], c.choice.kind);
            EXPECT_EQ(doc.project.Tables.Slot[ContentSlot::mainmenu].fields, c.fields);
            ContentTable* t = doc.Tables().For(doc.project.PrjParams, ContentSlot::mainmenu);
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t == &doc.Tables().Memory(ContentSlot::mainmenu), c.inMemory);
            t->Open();
            rows = t->RowCount();
            t->Close();
            EXPECT_GT(rows, 0u);
            ASSERT_TRUE(doc.SaveAs(plp));
        }
        ProjectDocument doc{disk, host};
        ASSERT_TRUE(doc.Open(plp));
        EXPECT_EQ(doc.project.Tables.Slot[ContentSlot::mainmenu].name_display, c.choice.table);
        EXPECT_EQ(doc.project.Tables.Slot[ContentSlot::mainmenu].fields, c.fields);
        ContentTable* t = doc.Tables().For(doc.project.PrjParams, ContentSlot::mainmenu);
        ASSERT_NE(t, nullptr);
        t->Open();
        EXPECT_EQ(t->RowCount(), rows);
        t->Close();
        EXPECT_EQ(host.messages, Items{});
    }
}

TEST_F(TableKindRoundTrip, TheNoneKindTakesNothingOver) {
    ProjectDocument doc{disk, host};
    const TPrjParams params = doc.project.PrjParams;
    const TableSettings settings = doc.project.Tables;
    EXPECT_FALSE(TakeOverTable(doc.project, doc.Tables(), ContentSlot::firstpage,
                               TableChoice{kNoneTable, dir.Path(), "menu.csv"}, host));
    EXPECT_EQ(doc.project.PrjParams, params);
    EXPECT_EQ(doc.project.Tables, settings);
    EXPECT_EQ(host.messages, Items{});
}
