// SPDX-License-Identifier: MIT
#include "tables/ContentTable.h"

#include "tables/TableError.h"

namespace pagloom {

void StoredTable::Open() {
    open_ = false;
    if (!loaded_) {
        auto fresh = std::make_shared<RowStore>();
        LoadRows(*fresh);
        store_ = std::move(fresh);
        loaded_ = true;
        rowsCurrent_ = false;
    }
    if (!rowsCurrent_) ApplyFilter();
    pos_ = 0;
    open_ = true;
}

void StoredTable::ReplaceRows(RowStore&& store) {
    UseRows(std::make_shared<const RowStore>(std::move(store)));
}

void StoredTable::ShareRows(const StoredTable& other) {
    if (&other != this) UseRows(other.store_);
}

void StoredTable::UseRows(std::shared_ptr<const RowStore> store) {
    open_ = false;
    store_ = std::move(store);
    loaded_ = true;
    filtered_ = false;
    rows_.clear();
    rowsCurrent_ = false;
}

void StoredTable::Unload() {
    open_ = false;
    loaded_ = false;
    filtered_ = false;
    rows_.clear();
    rowsCurrent_ = false;
}

void StoredTable::ApplyFilter() {
    filtered_ = !filter_.empty();
    rows_.clear();
    rowsCurrent_ = !filtered_;
    if (!filtered_) return;
    std::vector<size_t> fields;
    for (const auto& c : filter_) {
        const int f = store_->FieldIndex(c.field);
        if (f < 0) throw TableError("Das Feld \"" + c.field + "\" gibt es in der Tabelle nicht!");
        fields.push_back(static_cast<size_t>(f));
    }
    // Start from the shortest candidate list and check the other conditions row by row.
    size_t best = 0;
    for (size_t i = 1; i < filter_.size(); ++i)
        if (store_->RowsWhere(fields[i], filter_[i].value).size() <
            store_->RowsWhere(fields[best], filter_[best].value).size())
            best = i;
    for (uint32_t r : store_->RowsWhere(fields[best], filter_[best].value)) {
        bool pass = true;
        for (size_t i = 0; i < filter_.size() && pass; ++i)
            if (i != best && store_->Value(r, fields[i]) != filter_[i].value) pass = false;
        if (pass) rows_.push_back(r);
    }
    rowsCurrent_ = true;
}

size_t StoredTable::RowCount() const {
    if (!open_) return 0;
    return filtered_ ? rows_.size() : store_->RowCount();
}

std::string_view StoredTable::FieldText(std::string_view fieldName) const {
    const int f = store_->FieldIndex(fieldName);
    if (f < 0)
        throw TableError("Das Feld \"" + std::string(fieldName) +
                         "\" gibt es in der Tabelle nicht!");
    return FieldText(static_cast<size_t>(f));
}

std::string_view StoredTable::FieldText(size_t field) const {
    if (AtEnd() || field >= store_->FieldCount()) return {};
    return store_->Value(CurrentRow(), field);
}

}  // namespace pagloom
