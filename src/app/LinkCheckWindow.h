// SPDX-License-Identifier: MIT
// "Extras → Links prüfen": the link check of the built site in the build's destination, one
// line per broken reference or orphan page. The site is read on a thread of its own, so the
// windows answer while it runs; the findings are shown through a model, so a list of hundreds of
// thousands scrolls like a short one. A double click opens the page in the preview.
#pragma once
#include <QAbstractListModel>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <vector>

#include "check/LinkCheck.h"

class QLabel;
class QListView;
class QPushButton;
class QThread;

namespace pagloom::app {

class UiPrompts;
struct ProjectSession;

// The findings of one check, a line each, as LinkProblemText gives it.
class LinkProblemModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;
    void SetProblems(std::vector<LinkProblem> problems);
    const std::vector<LinkProblem>& Problems() const { return problems_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    std::vector<LinkProblem> problems_;
};

class LinkCheckWindow : public QDialog {
    Q_OBJECT
  public:
    // `openPage` shows a page of the site (its full path) in the preview window.
    LinkCheckWindow(ProjectSession& session, UiPrompts& prompts,
                    std::function<void(const QString& path)> openPage, QWidget* parent = nullptr);
    ~LinkCheckWindow() override;

    // Starts checking the site in the build's destination afresh and returns; the list shows
    // the findings when the check is done. A missing destination is a message and leaves the
    // list empty.
    void Check();
    // A check runs now.
    bool Checking() const { return thread_ != nullptr; }
    // Opens the page of the list's line `row` in the preview.
    void OpenRow(int row);

  private:
    void Finished(std::vector<LinkProblem> problems);

    ProjectSession& session_;
    UiPrompts& prompts_;
    std::function<void(const QString&)> openPage_;
    QListView* list_ = nullptr;
    LinkProblemModel* model_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* again_ = nullptr;
    QString destination_;
    QThread* thread_ = nullptr;
};

}  // namespace pagloom::app
