// SPDX-License-Identifier: MIT
// MemoryTable: an in-memory table of text fields, filled by the CSV importer. Closing keeps
// fields and rows; only a new import replaces them.
#pragma once
#include <string>
#include <vector>

#include "tables/ContentTable.h"

namespace pagloom {

class MemoryTable : public StoredTable {
  public:
    // Declared width of each field: the byte length of its longest value, at least 1.
    const std::vector<size_t>& FieldWidths() const { return widths_; }

    // Replaces fields and rows; the table is closed afterwards. Used by the importer.
    void Assign(RowStore&& rows, std::vector<size_t> widths) {
        ReplaceRows(std::move(rows));
        widths_ = std::move(widths);
    }

    // Holds the fields and rows `other` holds (an import done elsewhere) without copying the
    // rows: both tables share them, so they are held once.
    void ShareFrom(const MemoryTable& other) {
        if (&other == this) return;
        ShareRows(other);
        widths_ = other.widths_;
    }

  protected:
    // A memory table holds whatever the last import gave it; before any import it is empty.
    void LoadRows(RowStore&) override {}

  private:
    std::vector<size_t> widths_;
};

}  // namespace pagloom
