// SPDX-License-Identifier: MIT
// A live look at the menu: a sample two-level menu (the project's first entries, or sample
// texts) styled by exactly the stylesheet a build writes from the two style records. It
// follows each change of a style control without a build and without writing a file.
#pragma once
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "model/Project.h"

class QWebEngineView;

namespace pagloom::app {

// The stylesheet of both levels, as the build writes it.
QString PreviewStylesheet(const TCSS& main, const TCSS& sub);
// The sample page: up to three main entries, the sub entries of the first one that has some,
// each level's first entry shown as the current one.
QString PreviewPage(const Project& project);

class StylePreview : public QWidget {
    Q_OBJECT
  public:
    StylePreview(std::function<const Project&()> project, QWidget* parent = nullptr);

    // Loads the sample page afresh (menu texts and styles).
    void Reload();
    // Applies the current records soon; calls made while typing are gathered into one.
    void StylesChanged();

    QWebEngineView* View() const { return view_; }

  private:
    void ApplyStyles();

    std::function<const Project&()> project_;
    QWebEngineView* view_ = nullptr;
    QTimer pending_;
    bool loaded_ = false;
};

}  // namespace pagloom::app
