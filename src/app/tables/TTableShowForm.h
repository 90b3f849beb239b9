// SPDX-License-Identifier: MIT
// "TableShowForm": shows a content slot's table read-only in the grid DBGVorschau; the main
// window's preview buttons attach the opened table, show the window and detach it again.
#pragma once
#include <QDialog>

class QTableView;

namespace pagloom {
class ContentTable;
}

namespace pagloom::app {

class ContentTableModel;

class TTableShowForm : public QDialog {
    Q_OBJECT
  public:
    explicit TTableShowForm(QWidget* parent = nullptr);

    // Attaches an opened table to the grid; nullptr detaches it. Closing the window detaches it
    // too, so the grid never reads a table that its owner closes or imports anew.
    void SetTable(ContentTable* table);
    void done(int result) override;

    QTableView* Grid() const { return grid_; }
    ContentTableModel* Model() const { return model_; }

  private:
    ContentTableModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
};

// Read-only grid settings shared by the previews: uniform row heights (so a million rows scroll
// without measuring each one) and columns sized from the first rows only.
void PrepareTableGrid(QTableView* grid);
// Sizes the columns to their headers and the first rows, each at most 400 pixels (or a third
// of a wider grid).
void FitTableColumns(QTableView* grid);

}  // namespace pagloom::app
