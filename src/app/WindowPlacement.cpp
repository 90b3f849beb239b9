// SPDX-License-Identifier: MIT
#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace pagloom::app {

QRect CenteredOver(const QRect& anchor, const QSize& wanted, const QRect& available,
                   const QMargins& frame) {
    const QRect inner = available.marginsRemoved(frame);
    const QSize size(std::min(wanted.width(), inner.width()),
                     std::min(wanted.height(), inner.height()));
    QRect r(QPoint(0, 0), size);
    r.moveCenter(anchor.center());
    // Keep the left and top edges on screen last, so the title bar stays reachable.
    r.moveLeft(std::max(std::min(r.left(), inner.right() - size.width() + 1), inner.left()));
    r.moveTop(std::max(std::min(r.top(), inner.bottom() - size.height() + 1), inner.top()));
    return r;
}

void PlaceOver(QWidget* window, const QWidget* anchor, const QSize& wanted) {
    if (!anchor) return;
    const QWidget* top = anchor->window();
    const QScreen* screen = top->screen();
    if (!screen) return;
    const QRect outer = top->frameGeometry();
    const QRect inner = top->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    window->setGeometry(CenteredOver(outer, wanted, screen->availableGeometry(), frame));
}

}  // namespace pagloom::app
