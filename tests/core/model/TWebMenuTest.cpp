// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "model/TWebMenu.h"

using namespace pagloom;

TEST(TWebMenu, DeletingMainEntryTakesItsSubMenuAndKeepsItemIndexValid) {
    TWebMenu menu;
    auto& a = menu.Add(TWebMenu::NewMainItem("A", "a.htm", true));
    a.SubMenu->Add(TWebMenu::NewSubItem("A1", "a1.htm", true));
    menu.Add(TWebMenu::NewMainItem("B", "b.htm", true));
    menu.ItemIndex = 1;
    menu.Delete(1);
    EXPECT_EQ(menu.ItemIndex, 0);
    menu.Delete(0);
    EXPECT_EQ(menu.Count(), 0);
    EXPECT_EQ(menu.ItemIndex, -1);
}

TEST(TWebMenu, MovingMainEntryMovesItsSubMenu) {
    TWebMenu menu;
    menu.Add(TWebMenu::NewMainItem("A", "a.htm", true));
    auto& b = menu.Add(TWebMenu::NewMainItem("B", "b.htm", false));
    b.SubMenu->Add(TWebMenu::NewSubItem("B1", "b1.htm", true));
    menu.Move(1, 0);
    ASSERT_EQ(menu.Item(0).Text, "B");
    ASSERT_EQ(menu.Item(0).SubMenu->Count(), 1);
    EXPECT_EQ(menu.Item(0).SubMenu->Item(0).Text, "B1");
    EXPECT_EQ(menu.Item(0).SubMenu->Item(0).SubMenu, nullptr);
    menu.Clear();
    menu.ResetItemIndex();
    EXPECT_EQ(menu.ItemIndex, -1);
}
