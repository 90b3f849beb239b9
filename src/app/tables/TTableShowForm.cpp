// SPDX-License-Identifier: MIT
#include "tables/TTableShowForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "tables/ContentTableModel.h"

namespace pagloom::app {

void PrepareTableGrid(QTableView* grid) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setAlternatingRowColors(true);
    grid->setWordWrap(false);
    // Tab goes on to the next control; the arrow keys walk the cells.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setResizeContentsPrecision(100);
    grid->verticalHeader()->setResizeContentsPrecision(100);
}

void FitTableColumns(QTableView* grid) {
    grid->resizeColumnsToContents();
    // A long text would push the other columns out of sight; the user can still widen it.
    const int widest = std::max(400, grid->viewport()->width() / 3);
    QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        if (header->sectionSize(c) > widest) header->resizeSection(c, widest);
}

TTableShowForm::TTableShowForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TableShowForm"));
    setWindowTitle(QStringLiteral("TableShowForm"));
    model_ = new ContentTableModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGVorschau"));
    PrepareTableGrid(grid_);
    grid_->setModel(model_);
    auto* close = new QPushButton(QStringLiteral("Fenster schließen"), this);
    close->setObjectName(QStringLiteral("btClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    resize(760, 480);
}

void TTableShowForm::SetTable(ContentTable* table) {
    model_->SetTable(table);
    if (table) FitTableColumns(grid_);
}

void TTableShowForm::done(int result) {
    QDialog::done(result);
    model_->SetTable(nullptr);
}

}  // namespace pagloom::app
