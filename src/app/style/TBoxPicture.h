// SPDX-License-Identifier: MIT
// The border editor's picture of the box: three rings of four trapezoids around the label
// "MENÜTEXT", the selected sides of the current ring painted in the selection colour. It
// reports the release of a click; the release that ends a double click is ignored.
#pragma once
#include <QWidget>
#include <functional>

#include "model/StyleRules.h"

namespace pagloom::app {

class TBoxPicture : public QWidget {
    Q_OBJECT
  public:
    // `selection` gives the ring and sides to paint.
    TBoxPicture(std::function<BoxSelection()> selection, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kBoxPictureWidth, kBoxPictureHeight}; }

  signals:
    void Clicked(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    std::function<BoxSelection()> selection_;
    bool ignoreRelease_ = false;
};

}  // namespace pagloom::app
