// SPDX-License-Identifier: MIT
// A read-only log of many lines, such as the build dialog's: one list row per line, so appending
// costs next to nothing however long the log grows (a text document would lay out every line).
// Lines can be selected and copied (Ctrl+C, Ctrl+A); the view scrolls sideways for long lines.
#pragma once
#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

namespace pagloom::app {

class LogRows : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void Append(const QStringList& lines);
    void Clear();
    const QStringList& Lines() const { return lines_; }
    // The longest line in characters, for the view's width.
    qsizetype LongestLine() const { return longest_; }

  private:
    QStringList lines_;
    qsizetype longest_ = 0;
};

class LogView : public QListView {
    Q_OBJECT
  public:
    explicit LogView(QWidget* parent = nullptr);

    // Appends `text` as lines (split at line ends) and keeps the newest line in view when the
    // view showed the end before.
    void AppendPlainText(const QString& text);
    void AppendLines(const QStringList& lines);
    void Clear();
    // The whole log, lines joined by '\n'.
    QString toPlainText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FitWidth();

    LogRows* lines_;
    qsizetype fittedTo_ = -1;  // the longest line the rows' width was last set for
};

}  // namespace pagloom::app
