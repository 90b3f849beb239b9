// SPDX-License-Identifier: MIT
// The grid model of the table previews: shows a content table's fields and rows without copying
// the table. A table that keeps its rows in memory is read cell by cell as the grid asks for
// them; any other table is walked once, a batch of rows at a time, as the grid scrolls down.
// While a build runs on its own thread the grid shows empty cells, since the build reads the
// same table.
#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace pagloom {
class ContentTable;
class RowStore;
}  // namespace pagloom

namespace pagloom::app {

class ContentTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ContentTableModel(QObject* parent = nullptr);

    // Shows `table` (nullptr shows nothing). The table must stay alive and its rows unchanged
    // while attached; attach again (or nullptr) before they change.
    void SetTable(ContentTable* table);
    ContentTable* Table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

  private:
    ContentTable* table_ = nullptr;
    // Random access for tables that hold every row in memory and show all of them.
    const RowStore* rows_ = nullptr;
    // The table's field count when attached; read no more while a build may renew the table.
    size_t columns_ = 0;
    // Otherwise: the rows walked so far, converted, and whether the walk has ended.
    std::vector<std::vector<QString>> fetched_;
    bool walkEnded_ = true;
};

}  // namespace pagloom::app
