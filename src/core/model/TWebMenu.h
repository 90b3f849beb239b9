// SPDX-License-Identifier: MIT
// The two-level menu. The main menu owns its entries, each main entry owns its sub-menu,
// a sub-menu owns its entries; sub-menu entries carry no sub-menu.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace pagloom {

class TWebMenu;

struct TWebMenuItem {
    std::string Text;
    std::string FileName;
    std::unique_ptr<TWebMenu>
        SubMenu;  // set for main entries (possibly empty), null for sub entries
    bool Active = true;
};

class TWebMenu {
  public:
    int ItemIndex = -1;  // -1 or the index of an existing entry

    int Count() const { return static_cast<int>(items_.size()); }
    TWebMenuItem& Item(int i) { return *items_.at(static_cast<size_t>(i)); }
    const TWebMenuItem& Item(int i) const { return *items_.at(static_cast<size_t>(i)); }

    TWebMenuItem& Add(std::unique_ptr<TWebMenuItem> item);
    TWebMenuItem& Insert(int index, std::unique_ptr<TWebMenuItem> item);
    // Moves the entry (with its sub-menu) from one index to another.
    void Move(int from, int to);
    // Removes and destroys the entry, with its sub-menu. ItemIndex is kept valid.
    void Delete(int index);
    // ClearMainMenu: removes every entry (last to first) with its sub-menu; ItemIndex -1.
    void Clear();
    // After refilling a list: ItemIndex 0 when it has entries, -1 otherwise.
    void ResetItemIndex() { ItemIndex = items_.empty() ? -1 : 0; }

    // Entry factories.
    static std::unique_ptr<TWebMenuItem> NewMainItem(std::string text, std::string file,
                                                     bool active);
    static std::unique_ptr<TWebMenuItem> NewSubItem(std::string text, std::string file,
                                                    bool active);

  private:
    void ClampItemIndex();
    std::vector<std::unique_ptr<TWebMenuItem>> items_;
};

}  // namespace pagloom
