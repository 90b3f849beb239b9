// SPDX-License-Identifier: MIT
#include "model/TWebMenu.h"

#include <stdexcept>

namespace pagloom {

TWebMenuItem& TWebMenu::Add(std::unique_ptr<TWebMenuItem> item) {
    items_.push_back(std::move(item));
    return *items_.back();
}

TWebMenuItem& TWebMenu::Insert(int index, std::unique_ptr<TWebMenuItem> item) {
    if (index < 0 || index > Count()) throw std::out_of_range("TWebMenu::Insert");
    auto it = items_.insert(items_.begin() + index, std::move(item));
    return **it;
}

void TWebMenu::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        throw std::out_of_range("TWebMenu::Move");
    if (from == to) return;
    auto item = std::move(items_[static_cast<size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

void TWebMenu::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("TWebMenu::Delete");
    items_.erase(items_.begin() + index);
    ClampItemIndex();
}

void TWebMenu::Clear() {
    while (!items_.empty()) items_.pop_back();
    ItemIndex = -1;
}

void TWebMenu::ClampItemIndex() {
    if (ItemIndex >= Count()) ItemIndex = Count() - 1;
}

std::unique_ptr<TWebMenuItem> TWebMenu::NewMainItem(std::string text, std::string file,
                                                    bool active) {
    auto item = std::make_unique<TWebMenuItem>();
    item->Text = std::move(text);
    item->FileName = std::move(file);
    item->Active = active;
    item->SubMenu = std::make_unique<TWebMenu>();
    return item;
}

std::unique_ptr<TWebMenuItem> TWebMenu::NewSubItem(std::string text, std::string file,
                                                   bool active) {
    auto item = std::make_unique<TWebMenuItem>();
    item->Text = std::move(text);
    item->FileName = std::move(file);
    item->Active = active;
    return item;
}

}  // namespace pagloom
