// SPDX-License-Identifier: MIT
// The border editor: width of margin, border and padding on each side and colour and style of
// the border, edited for a chosen ring and set of sides at once. The ring and sides are chosen
// in a picture of the box or in two lists.
#pragma once
#include "style/StyleFrame.h"

class QGroupBox;

namespace pagloom::app {

class OpeningCombo;
class TBoxPicture;

class TFrameBorder : public StyleFrame {
    Q_OBJECT
  public:
    TFrameBorder(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
                 QWidget* parent = nullptr);
    void RefreshFromRecord() override;

    BoxSelection Selection() const { return sel_; }

  private:
    void ShowSideValues();
    void ShowRingAndSides();
    void PictureClicked(int x, int y);
    void UnifyBeforeOpen();
    void WidthChosen(int index);
    void StyleChosen(int index);
    void ColorLeft();
    // Runs `step` for each selected side.
    template <typename F>
    void ForSelectedSides(F step) {
        for (BoxSide s : {kLeft, kRight, kTop, kBottom})
            if (sel_.mask & SideBit(s)) step(s);
    }
    BoxArea Ring() const { return static_cast<BoxArea>(sel_.ring); }

    BoxSelection sel_{kBorder, SideBit(kLeft)};
    int filledRing_ = -1;
    TBoxPicture* picture_ = nullptr;
    QComboBox* cbRing_ = nullptr;
    QComboBox* cbSide_ = nullptr;
    OpeningCombo* cbBorderBreite_ = nullptr;
    QLineEdit* eBorderBreite_ = nullptr;
    OpeningCombo* cbBorderStyle_ = nullptr;
    TFrameColorChoice* color_ = nullptr;
    QGroupBox* colorGroup_ = nullptr;
    QGroupBox* styleGroup_ = nullptr;
};

}  // namespace pagloom::app
