// SPDX-License-Identifier: MIT
// The font editor: family list, size, style, variant, weight and the three text colours of one
// menu level.
#pragma once
#include "style/StyleFrame.h"

class QCheckBox;

namespace pagloom::app {

class TFrameFont : public StyleFrame {
    Q_OBJECT
  public:
    TFrameFont(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
               QWidget* parent = nullptr);
    void RefreshFromRecord() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyFamilyText(const QString& text);

    QComboBox* cbFontFamily_ = nullptr;
    QCheckBox* cbFontColorHoverActive_ = nullptr;
    TFrameColorChoice* color_ = nullptr;
    TFrameColorChoice* colorSelected_ = nullptr;
    TFrameColorChoice* colorHover_ = nullptr;
    // Text typed into the family field and not yet applied.
    bool familyTyped_ = false;
};

}  // namespace pagloom::app
