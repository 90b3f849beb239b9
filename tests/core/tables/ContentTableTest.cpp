// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "tables/MemoryTable.h"
#include "tables/TableError.h"

using namespace pagloom;

namespace {

MemoryTable MakeTable() {
    RowStore rows;
    rows.AddField("Menu");
    rows.AddField("Sub");
    for (const char* v : {"Home", "a", "home", "b", "News", "a", "Home", "c", "Home", "a"})
        rows.AppendValue(v);
    MemoryTable t;
    t.Assign(std::move(rows), {4, 1});
    return t;
}

std::vector<std::string> Column(ContentTable& t, const char* field) {
    std::vector<std::string> out;
    t.Open();
    for (t.First(); !t.AtEnd(); t.Next()) out.emplace_back(t.FieldText(field));
    t.Close();
    return out;
}

}  // namespace

TEST(ContentTableFilter, MatchesExactlyWithCaseAndKeepsRowOrder) {
    MemoryTable t = MakeTable();
    t.SetEqualityFilter({{"menu", "Home"}});
    EXPECT_EQ(Column(t, "Sub"), (std::vector<std::string>{"a", "c", "a"}));
    t.SetEqualityFilter({{"Menu", "Home"}, {"SUB", "a"}});
    EXPECT_EQ(Column(t, "Sub"), (std::vector<std::string>{"a", "a"}));
    t.SetEqualityFilter({{"Menu", "Nowhere"}});
    EXPECT_EQ(Column(t, "Sub"), std::vector<std::string>{});
    t.ClearFilter();
    EXPECT_EQ(Column(t, "Menu").size(), 5u);
}

TEST(ContentTableFilter, ReopeningGivesTheSameRowsAndFieldsStayWhenClosed) {
    MemoryTable t = MakeTable();
    EXPECT_EQ(Column(t, "Menu"), Column(t, "Menu"));
    EXPECT_FALSE(t.IsOpen());
    EXPECT_EQ(t.FieldCount(), 2u);
    EXPECT_EQ(t.FieldName(1), "Sub");
    EXPECT_TRUE(t.AtEnd());
    EXPECT_EQ(t.FieldText("Menu"), "");  // no current row while closed
}

TEST(ContentTableFilter, UnknownFieldNamesAreErrors) {
    MemoryTable t = MakeTable();
    t.Open();
    EXPECT_THROW(t.FieldText("Preis"), TableError);
    t.Close();
    t.SetEqualityFilter({{"Preis", "1"}});
    EXPECT_THROW(t.Open(), TableError);
    EXPECT_FALSE(t.IsOpen());
}

// A repeated value reads like the one it repeats, in place, for rows, filters and moved stores;
// the values after it keep their own bytes.
TEST(RowStore, RepeatsReadLikeTheValueTheyRepeatWithoutItsBytes) {
    RowStore rows;
    rows.AddField("Menu");
    rows.AddField("Memo");
    rows.AppendValue("Home");
    rows.AppendValue("ein langer Text");
    rows.AppendValue("News");
    rows.AppendRepeat(1);
    rows.AppendRepeat(0);
    rows.AppendRepeat(3);  // a repeat of a repeat
    rows.AppendValue("Home");
    rows.AppendValue("");
    MemoryTable t;
    t.Assign(std::move(rows), {4, 15});
    EXPECT_EQ(Column(t, "Menu"), (std::vector<std::string>{"Home", "News", "Home", "Home"}));
    EXPECT_EQ(Column(t, "Memo"), (std::vector<std::string>{"ein langer Text", "ein langer Text",
                                                           "ein langer Text", ""}));
    t.SetEqualityFilter({{"Memo", "ein langer Text"}, {"Menu", "Home"}});
    t.Open();
    EXPECT_EQ(t.RowCount(), 2u);
    const std::string_view first = t.FieldText("Memo");
    t.Next();
    EXPECT_EQ(t.FieldText("Memo").data(), first.data());
    EXPECT_EQ(t.Rows().Value(0, 1).data(), first.data());
}
