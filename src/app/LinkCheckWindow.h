// SPDX-License-Identifier: MIT
// "Extras → Links prüfen": the link check of the built site in the build's destination, one
// line per broken reference or orphan page. A double click opens the page in the preview.
#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "check/LinkCheck.h"

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace pagloom::app {

class UiPrompts;
struct ProjectSession;

class LinkCheckWindow : public QDialog {
    Q_OBJECT
  public:
    // `openPage` shows a page of the site (its full path) in the preview window.
    LinkCheckWindow(ProjectSession& session, UiPrompts& prompts,
                    std::function<void(const QString& path)> openPage, QWidget* parent = nullptr);

    // Checks the site in the build's destination afresh and lists what it found; a missing
    // destination is a message and leaves the list empty.
    void Check();
    // Opens the page of the list's line `row` in the preview.
    void OpenRow(int row);

  private:
    ProjectSession& session_;
    UiPrompts& prompts_;
    std::function<void(const QString&)> openPage_;
    QListWidget* list_ = nullptr;
    QLabel* summary_ = nullptr;
    std::vector<LinkProblem> problems_;
    QString destination_;
};

}  // namespace pagloom::app
