// SPDX-License-Identifier: MIT
#include "PageTabs.h"

#include <QKeyEvent>
#include <QStyle>
#include <QTabBar>
#include <QWheelEvent>

namespace pagloom::app {

PageTabs::PageTabs(QWidget* parent) : QTabWidget(parent) { tabBar()->installEventFilter(this); }

void PageTabs::SelectNextPage(bool forward, bool wrap) {
    const int n = count();
    int page = currentIndex();
    for (int pass = 0; pass < n; ++pass) {
        page += forward ? 1 : -1;
        if (page < 0 || page >= n) {
            if (!wrap) return;
            page = (page + n) % n;
        }
        if (isTabVisible(page) && isTabEnabled(page)) {
            setCurrentIndex(page);
            return;
        }
    }
}

void PageTabs::keyPressEvent(QKeyEvent* event) {
    const bool tabKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tabKey && (event->modifiers() & Qt::ControlModifier)) {
        SelectNextPage(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    QTabWidget::keyPressEvent(event);
}

bool PageTabs::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabBar() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            SelectNextPage((key->key() == Qt::Key_Right) != isRightToLeft(), false);
            return true;
        }
    } else if (watched == tabBar() && event->type() == QEvent::Wheel &&
               style()->styleHint(QStyle::SH_TabBar_AllowWheelScrolling, nullptr, this)) {
        const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
        const int d = delta.y() != 0 ? delta.y() : delta.x();
        if (d != 0) SelectNextPage(d < 0, false);
        return true;
    }
    return QTabWidget::eventFilter(watched, event);
}

}  // namespace pagloom::app
