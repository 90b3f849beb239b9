// SPDX-License-Identifier: MIT
// A live look at the menu: a sample two-level menu (the first entries of the menu the next build
// writes, or sample texts) styled by exactly the stylesheet a build writes from the two style
// records, in a box as wide as the project's menu frame. It follows each change of a style
// control without a build and without writing a file.
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
// The sample page of `menu`: up to three active main entries, each followed by up to three of
// its own active sub entries, in the flat lists of the built menu. The first main entry with sub
// entries is the current one (else the first), and its first sub entry; sample texts stand in
// for a menu without entries at either level. The lists sit in a box of the menu frame's width
// and margins that cuts off what the frame would.
QString PreviewPage(const Project& project, const TWebMenu& menu);
// The same for the project's own menu.
QString PreviewPage(const Project& project);
// The width of that box in pixels; 0 when the project gives none.
int PreviewFrameWidth(const Project& project);

class StylePreview : public QWidget {
    Q_OBJECT
  public:
    // `tableMenu` gives the menu a table-driven project's next build makes from its tables;
    // the project's own menu is shown otherwise.
    StylePreview(std::function<const Project&()> project, std::function<TWebMenu()> tableMenu,
                 QWidget* parent = nullptr);

    // Loads the sample page afresh (menu texts and styles).
    void Reload();
    // Applies the current records soon; calls made while typing are gathered into one.
    void StylesChanged();
    // Applies the records as they are at this moment (they may hold a value for this call only).
    void ShowStylesNow();

    QWebEngineView* View() const { return view_; }

  private:
    void ApplyStyles();

    std::function<const Project&()> project_;
    std::function<TWebMenu()> tableMenu_;
    QWebEngineView* view_ = nullptr;
    QTimer pending_;
    bool loaded_ = false;
};

}  // namespace pagloom::app
