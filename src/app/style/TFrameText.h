// SPDX-License-Identifier: MIT
// The text editor: spacing, line height, direction, alignment, indent, case, white space,
// decoration and vertical alignment of one menu level.
#pragma once
#include "style/StyleFrame.h"

namespace pagloom::app {

class TFrameText : public StyleFrame {
    Q_OBJECT
  public:
    TFrameText(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
               QWidget* parent = nullptr);
    void RefreshFromRecord() override;
};

}  // namespace pagloom::app
