// SPDX-License-Identifier: MIT
#include "tables/RowStore.h"

#include <algorithm>

#include "tables/TextFold.h"

namespace pagloom {

int RowStore::FieldIndex(std::string_view name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (SameText1252(names_[i], name)) return static_cast<int>(i);
    return -1;
}

void RowStore::AppendRepeat(size_t value) {
    if (ends_[value] & kRepeat) value = RepeatedValue(value);
    repeats_.emplace_back(ends_.size(), value);
    ends_.push_back(data_.size() | kRepeat);
}

size_t RowStore::RepeatedValue(size_t value) const {
    const auto it =
        std::lower_bound(repeats_.begin(), repeats_.end(), std::make_pair(value, size_t(0)));
    return it->second;
}

const std::vector<uint32_t>& RowStore::RowsWhere(size_t field, std::string_view value) const {
    static const std::vector<uint32_t> kNone;
    if (field >= names_.size()) return kNone;
    if (indexes_.size() < names_.size()) indexes_.resize(names_.size());
    auto& index = indexes_[field];
    if (!index) {
        // Built once per field: every later look-up is a hash probe, so a build that filters
        // once per page stays linear in the number of rows.
        index = std::make_unique<Index>();
        const size_t rows = RowCount();
        for (size_t r = 0; r < rows; ++r)
            (*index)[Value(r, field)].push_back(static_cast<uint32_t>(r));
    }
    auto it = index->find(value);
    return it == index->end() ? kNone : it->second;
}

}  // namespace pagloom
