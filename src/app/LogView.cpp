// SPDX-License-Identifier: MIT
#include "LogView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

namespace pagloom::app {

int LogRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant LogRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= lines_.size()) return {};
    if (role == Qt::DisplayRole) return lines_.at(index.row());
    return {};
}

void LogRows::Append(const QStringList& lines) {
    if (lines.isEmpty()) return;
    const int first = static_cast<int>(lines_.size());
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    for (const QString& l : lines) longest_ = std::max(longest_, l.size());
    lines_ += lines;
    endInsertRows();
}

void LogRows::Clear() {
    beginResetModel();
    lines_.clear();
    longest_ = 0;
    endResetModel();
}

LogView::LogView(QWidget* parent) : QListView(parent), lines_(new LogRows(this)) {
    setModel(lines_);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Every row is one line of the same font: the view lays them out without asking each one.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void LogView::AppendPlainText(const QString& text) { AppendLines(text.split(u'\n')); }

void LogView::AppendLines(const QStringList& lines) {
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    lines_->Append(lines);
    FitWidth();
    if (atEnd) scrollToBottom();
}

void LogView::Clear() {
    lines_->Clear();
    FitWidth();
}

QString LogView::toPlainText() const { return lines_->Lines().join(u'\n'); }

void LogView::FitWidth() {
    if (lines_->LongestLine() == fittedTo_) return;
    fittedTo_ = lines_->LongestLine();
    // A fixed-pitch font: the longest line's width follows from its length. All rows get that
    // width, so a long line scrolls sideways rather than being cut.
    const QFontMetrics metrics(font());
    const int width = static_cast<int>(fittedTo_) * metrics.horizontalAdvance(u'M') + 8;
    setGridSize(QSize(width, metrics.lineSpacing() + 2));
}

void LogView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        QModelIndexList rows = selectionModel()->selectedRows();
        std::sort(rows.begin(), rows.end(),
                  [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        QStringList text;
        for (const QModelIndex& i : rows) text << lines_->Lines().at(i.row());
        QApplication::clipboard()->setText(text.join(u'\n'));
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace pagloom::app
