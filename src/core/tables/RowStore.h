// SPDX-License-Identifier: MIT
// The rows of a table held in memory: field names and every value as Windows-1252 text.
// All values share one byte buffer (no heap block per value), so a table of millions of values
// loads quickly and compactly. A value may repeat an earlier one without its bytes (a memo that
// many records point at is held once). Equality look-ups are answered from a per-field index that
// is built on the first look-up and kept until the rows change.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pagloom {

class RowStore {
  public:
    RowStore() = default;
    // Moving drops the indexes: they point into the buffer, which a short text keeps inline.
    RowStore(RowStore&& other) noexcept { *this = std::move(other); }
    RowStore& operator=(RowStore&& other) noexcept {
        names_ = std::move(other.names_);
        data_ = std::move(other.data_);
        ends_ = std::move(other.ends_);
        repeats_ = std::move(other.repeats_);
        indexes_.clear();
        other.indexes_.clear();
        return *this;
    }

    // Field names, kept as given; values may be appended before or after the names.
    void AddField(std::string name) { names_.push_back(std::move(name)); }
    size_t FieldCount() const { return names_.size(); }
    const std::string& FieldName(size_t i) const { return names_[i]; }
    // Position of the field named `name` compared without regard to case; -1 when none.
    int FieldIndex(std::string_view name) const;

    // Appends the next value, row by row, field by field. A row is complete after
    // FieldCount() values; RowCount() counts complete rows only.
    void AppendValue(std::string_view value) {
        data_.append(value);
        ends_.push_back(data_.size());
    }
    // Appends the next value as a repeat of the value appended as number `value` (counted from
    // 0 like ValueCount()), without storing its bytes again.
    void AppendRepeat(size_t value);
    size_t ValueCount() const { return ends_.size(); }
    // Takes over a finished buffer of values: `data` holds them one after the other and
    // `ends[i]` is the end of value i. Lets a reader build values in a buffer of its own.
    void Adopt(std::string data, std::vector<size_t> ends) {
        data_ = std::move(data);
        ends_ = std::move(ends);
        repeats_.clear();
        indexes_.clear();
    }

    size_t RowCount() const { return names_.empty() ? 0 : ends_.size() / names_.size(); }
    // The value of `field` in `row`; valid until the store changes.
    std::string_view Value(size_t row, size_t field) const {
        size_t cell = row * names_.size() + field;
        if (ends_[cell] & kRepeat) cell = RepeatedValue(cell);
        const size_t begin = cell == 0 ? 0 : ends_[cell - 1] & ~kRepeat;
        return std::string_view(data_).substr(begin, ends_[cell] - begin);
    }

    // Row numbers, in row order, whose `field` holds exactly `value` (case matters).
    // The reference stays valid until the store changes.
    const std::vector<uint32_t>& RowsWhere(size_t field, std::string_view value) const;

  private:
    using Index = std::unordered_map<std::string_view, std::vector<uint32_t>>;

    // A repeat's entry in `ends_` is the buffer's end before it (it adds no bytes, so the next
    // value starts there) with this bit set; the value it repeats is found in `repeats_`.
    static constexpr size_t kRepeat = size_t(1) << (sizeof(size_t) * 8 - 1);
    size_t RepeatedValue(size_t value) const;

    std::vector<std::string> names_;
    std::string data_;
    std::vector<size_t> ends_;
    // (repeat, value it repeats), in the order appended; a repeated value is never a repeat.
    std::vector<std::pair<size_t, size_t>> repeats_;
    mutable std::vector<std::unique_ptr<Index>> indexes_;
};

}  // namespace pagloom
