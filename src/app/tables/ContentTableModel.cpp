// SPDX-License-Identifier: MIT
#include "tables/ContentTableModel.h"

#include <limits>

#include "BuildThread.h"
#include "tables/ContentTable.h"
#include "text/Cp1252.h"

namespace pagloom::app {

namespace {

// Rows converted per step of a walked table: enough to fill a tall grid, little enough that
// scrolling never waits long.
constexpr int kFetchBatch = 500;

QString Text(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

int ClampToInt(size_t n) {
    return n > static_cast<size_t>(std::numeric_limits<int>::max())
               ? std::numeric_limits<int>::max()
               : static_cast<int>(n);
}

}  // namespace

ContentTableModel::ContentTableModel(QObject* parent) : QAbstractTableModel(parent) {
    // A build on its own thread may read or renew the table; the grid shows it again after.
    connect(&BuildRunNotifier::Instance(), &BuildRunNotifier::Ended, this, [this] {
        if (!table_) return;
        if (table_->FieldCount() != columns_) {
            SetTable(table_);
            return;
        }
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    });
}

void ContentTableModel::SetTable(ContentTable* table) {
    beginResetModel();
    table_ = table;
    rows_ = nullptr;
    fetched_.clear();
    walkEnded_ = true;
    columns_ = table_ ? table_->FieldCount() : 0;
    if (table_) {
        auto* stored = dynamic_cast<StoredTable*>(table_);
        if (stored && stored->Filter().empty()) {
            rows_ = &stored->Rows();
        } else if (table_->IsOpen()) {
            // A filtered or foreign table is read through its cursor, from the first row on.
            table_->First();
            walkEnded_ = table_->AtEnd();
        }
    }
    endResetModel();
}

int ContentTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_) return 0;
    if (rows_) return ClampToInt(rows_->RowCount());
    return ClampToInt(fetched_.size());
}

int ContentTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_) return 0;
    return ClampToInt(columns_);
}

QVariant ContentTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !table_ || (role != Qt::DisplayRole && role != Qt::ToolTipRole) ||
        BuildRunning())
        return {};
    const auto row = static_cast<size_t>(index.row());
    const auto col = static_cast<size_t>(index.column());
    if (rows_) {
        if (row >= rows_->RowCount() || col >= rows_->FieldCount()) return {};
        return Text(rows_->Value(row, col));
    }
    if (row >= fetched_.size() || col >= fetched_[row].size()) return {};
    return fetched_[row][col];
}

QVariant ContentTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !table_ || section < 0) return {};
    if (BuildRunning()) return orientation == Qt::Vertical ? QVariant(section + 1) : QVariant();
    if (orientation == Qt::Horizontal) {
        if (static_cast<size_t>(section) >= table_->FieldCount()) return {};
        return Text(table_->FieldName(static_cast<size_t>(section)));
    }
    return section + 1;
}

bool ContentTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && table_ && !rows_ && !walkEnded_ && !BuildRunning();
}

void ContentTableModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    if (!table_->IsOpen()) {
        walkEnded_ = true;
        return;
    }
    std::vector<std::vector<QString>> batch;
    const size_t fields = table_->FieldCount();
    while (!table_->AtEnd() && batch.size() < static_cast<size_t>(kFetchBatch)) {
        std::vector<QString> row;
        row.reserve(fields);
        for (size_t f = 0; f < fields; ++f) row.push_back(Text(table_->FieldText(f)));
        batch.push_back(std::move(row));
        table_->Next();
    }
    walkEnded_ = table_->AtEnd();
    if (batch.empty()) return;
    const int first = ClampToInt(fetched_.size());
    beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
    for (auto& row : batch) fetched_.push_back(std::move(row));
    endInsertRows();
}

}  // namespace pagloom::app
