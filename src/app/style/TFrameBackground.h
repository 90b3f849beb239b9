// SPDX-License-Identifier: MIT
// The background editor: background of a menu entry, of the current entry and under the mouse,
// each "transparent", "vererbt" or a colour.
#pragma once
#include "style/StyleFrame.h"

class QCheckBox;

namespace pagloom::app {

class TFrameBackground : public StyleFrame {
    Q_OBJECT
  public:
    TFrameBackground(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
                     QWidget* parent = nullptr);
    void RefreshFromRecord() override;

  private:
    // The stored text of the entry `index` of a background list beside `choice`.
    static std::string StoredText(int index, const TFrameColorChoice* choice);

    TFrameColorChoice* color_ = nullptr;
    TFrameColorChoice* colorSelected_ = nullptr;
    TFrameColorChoice* colorHover_ = nullptr;
    QComboBox* cbHover_ = nullptr;
    QCheckBox* cbHoverActive_ = nullptr;
    // While a record is shown, an empty hover text selects "transparent"; otherwise the hidden
    // hover list keeps its entry for the next time "aktivieren" is checked.
    bool showingRecord_ = false;
};

}  // namespace pagloom::app
