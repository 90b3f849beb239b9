// SPDX-License-Identifier: MIT
// Where a secondary window opens: over the main window, never partly off the screen.
#pragma once
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace pagloom::app {

// The inner geometry (without the frame) of a window of `wanted` size centred on `anchor`
// (the anchor window's outer geometry), shrunk and moved so that, with `frame` around it, it
// lies wholly inside `available`.
QRect CenteredOver(const QRect& anchor, const QSize& wanted, const QRect& available,
                   const QMargins& frame = {});

// Places `window` so, centred over `anchor` on the anchor's screen; the frame is taken to be
// as wide as the anchor's own. Without an anchor the window stays where it is.
void PlaceOver(QWidget* window, const QWidget* anchor, const QSize& wanted);

}  // namespace pagloom::app
