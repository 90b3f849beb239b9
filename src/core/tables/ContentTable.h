// SPDX-License-Identifier: MIT
// ContentTable: the generator's, preview's and code wizard's view of a content slot's table,
// whatever holds the rows (an imported CSV file or a database table). StoredTable implements it
// over rows held in memory; MemoryTable and the engine tables derive from it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tables/RowStore.h"

namespace pagloom {

// One condition of an equality filter: the named field holds exactly this text (case matters).
struct FieldCondition {
    std::string field;
    std::string value;
};

class ContentTable {
  public:
    virtual ~ContentTable() = default;

    // Makes the rows readable and goes to the first row. Throws TableError when the table
    // cannot be read or a filter names a field the table does not have.
    virtual void Open() = 0;
    // Ends reading; fields and (for a memory table) rows stay.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Fields in table order; known once the table has been opened (or imported) once.
    virtual size_t FieldCount() const = 0;
    virtual const std::string& FieldName(size_t i) const = 0;
    // Position of a field compared without regard to case; -1 when there is none.
    virtual int FieldIndex(std::string_view name) const = 0;

    // Walks the rows that pass the filter, in table order.
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool AtEnd() const = 0;
    // Number of rows that pass the filter (while open).
    virtual size_t RowCount() const = 0;

    // The value of a field in the current row; empty when there is no current row.
    // The view stays valid until the table is read again. A name that is not a field of the
    // table throws TableError.
    virtual std::string_view FieldText(std::string_view fieldName) const = 0;
    virtual std::string_view FieldText(size_t field) const = 0;

    // Set while closed; applies from the next Open on.
    virtual void SetEqualityFilter(std::vector<FieldCondition> conditions) = 0;
    virtual void ClearFilter() = 0;
};

// A ContentTable over a RowStore. Derived classes fill the store in LoadRows, which Open
// calls only while the rows are not loaded: a table is read once and then answers every
// Open, First/Next and filter from memory. Rows once read are never changed, only replaced, so
// two tables of the same source may share them (the table selection dialog's preview and the
// slot it was taken over into hold one copy).
class StoredTable : public ContentTable {
  public:
    void Open() override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }

    size_t FieldCount() const override { return store_->FieldCount(); }
    const std::string& FieldName(size_t i) const override { return store_->FieldName(i); }
    int FieldIndex(std::string_view name) const override { return store_->FieldIndex(name); }

    void First() override { pos_ = 0; }
    void Next() override {
        if (pos_ < RowCount()) ++pos_;
    }
    bool AtEnd() const override { return !open_ || pos_ >= RowCount(); }
    size_t RowCount() const override;

    std::string_view FieldText(std::string_view fieldName) const override;
    std::string_view FieldText(size_t field) const override;

    void SetEqualityFilter(std::vector<FieldCondition> conditions) override {
        filter_ = std::move(conditions);
        rowsCurrent_ = false;
    }
    void ClearFilter() override {
        filter_.clear();
        rowsCurrent_ = false;
    }
    const std::vector<FieldCondition>& Filter() const { return filter_; }

    // All rows regardless of the filter (preview, tests). Valid until this table's rows are
    // replaced.
    const RowStore& Rows() const { return *store_; }

  protected:
    // Reads the table into `store`; throws TableError on failure.
    virtual void LoadRows(RowStore& store) = 0;
    // Replaces the rows (a finished import) and marks them loaded.
    void ReplaceRows(RowStore&& store);
    // Holds the rows `other` holds, as loaded, without copying them; `other` keeps them too.
    void ShareRows(const StoredTable& other);
    // Forgets the rows so that the next Open reads the table again.
    void Unload();
    bool Loaded() const { return loaded_; }

  private:
    void UseRows(std::shared_ptr<const RowStore> store);
    void ApplyFilter();
    size_t CurrentRow() const { return filtered_ ? rows_[pos_] : pos_; }

    // Shared with tables given the same rows by ShareRows; never changed once loaded (the
    // store's look-up indexes aside).
    std::shared_ptr<const RowStore> store_ = std::make_shared<const RowStore>();
    bool loaded_ = false;
    bool open_ = false;
    size_t pos_ = 0;
    std::vector<FieldCondition> filter_;
    bool filtered_ = false;
    std::vector<uint32_t> rows_;  // rows that pass the filter, when filtered_
    // rows_ answers filter_ on the current rows: a page opens its table once per element, and
    // the rows are looked up once.
    bool rowsCurrent_ = false;
};

}  // namespace pagloom
