// SPDX-License-Identifier: MIT
// The position editor: positioning scheme, offsets with their edges, width, height and
// overflow of one menu level. A static position has no offsets; this editor keeps it so.
#pragma once
#include "style/StyleFrame.h"

namespace pagloom::app {

class TFramePosition : public StyleFrame {
    Q_OBJECT
  public:
    TFramePosition(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
                   QWidget* parent = nullptr);
    void RefreshFromRecord() override;

  private:
    bool IsStatic() { return Css().position == "static"; }
    // The entries shown for fields whose text is in no entry (kept as they were).
    int kindShown_ = 0;
    int overflowShown_ = 0;
};

}  // namespace pagloom::app
