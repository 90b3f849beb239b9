// SPDX-License-Identifier: MIT
// The main window's tabs. A hidden page is out of reach: Ctrl+Tab, Ctrl+Shift+Tab, the arrow
// keys and the mouse wheel on the tab bar and the page steps all skip it. (Qt's own tab widget
// skips only disabled pages, and a hidden page's controls stay enabled, as the project says.)
#pragma once
#include <QTabWidget>

namespace pagloom::app {

class PageTabs : public QTabWidget {
    Q_OBJECT
  public:
    explicit PageTabs(QWidget* parent = nullptr);

    // Makes the next (or previous) visible, enabled page the current one; `wrap` goes round
    // the end as Ctrl+Tab does, else the last page stays.
    void SelectNextPage(bool forward, bool wrap = true);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace pagloom::app
