// SPDX-License-Identifier: MIT
#include "style/TBoxPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace pagloom::app {
namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kSelected(0xA6, 0xCA, 0xF0);
const QColor kInner(0xFF, 0xFB, 0xF0);

// The trapezoid of one side between the rectangles inset by `outer` and `outer` + 18.
QPolygon Trapezoid(int ring, BoxSide side) {
    const int a = ring * kBoxRingWidth, b = a + kBoxRingWidth;
    const int w = kBoxPictureWidth - 1, h = kBoxPictureHeight - 1;
    switch (side) {
        case kLeft:
            return QPolygon({{a, a}, {b, b}, {b, h - b}, {a, h - a}});
        case kRight:
            return QPolygon({{w - a, a}, {w - b, b}, {w - b, h - b}, {w - a, h - a}});
        case kTop:
            return QPolygon({{a, a}, {w - a, a}, {w - b, b}, {b, b}});
        case kBottom:
            return QPolygon({{a, h - a}, {w - a, h - a}, {w - b, h - b}, {b, h - b}});
    }
    return {};
}

}  // namespace

TBoxPicture::TBoxPicture(std::function<BoxSelection()> selection, QWidget* parent)
    : QWidget(parent), selection_(std::move(selection)) {
    setFixedSize(kBoxPictureWidth, kBoxPictureHeight);
    setObjectName(QStringLiteral("iBorderSelect"));
    // A click takes the focus, so a field being edited is left (and checked) first.
    setFocusPolicy(Qt::ClickFocus);
}

void TBoxPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const BoxSelection sel = selection_();
    p.fillRect(rect(), kSilver);
    p.setPen(Qt::NoPen);
    for (BoxSide s : {kLeft, kRight, kTop, kBottom}) {
        if (!sel.Selected(sel.ring, s)) continue;
        p.setBrush(kSelected);
        p.drawPolygon(Trapezoid(sel.ring, s));
    }
    const int w = kBoxPictureWidth - 1, h = kBoxPictureHeight - 1;
    const int in = 3 * kBoxRingWidth;
    p.fillRect(QRect(QPoint(in, in), QPoint(w - in, h - in)), kInner);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    for (int inset = 0; inset <= in; inset += kBoxRingWidth)
        p.drawRect(QRect(QPoint(inset, inset), QPoint(w - inset, h - inset)));
    p.drawLine(0, 0, in, in);
    p.drawLine(w, 0, w - in, in);
    p.drawLine(0, h, in, h - in);
    p.drawLine(w, h, w - in, h - in);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(QPoint(in, in), QPoint(w - in, h - in)), Qt::AlignCenter,
               QStringLiteral("MENÜTEXT"));
}

void TBoxPicture::mouseDoubleClickEvent(QMouseEvent* event) {
    ignoreRelease_ = true;
    event->accept();
}

void TBoxPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (ignoreRelease_) {
        ignoreRelease_ = false;
        return;
    }
    const QPoint pos = event->position().toPoint();
    emit Clicked(pos.x(), pos.y());
}

}  // namespace pagloom::app
