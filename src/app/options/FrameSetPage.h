// SPDX-License-Identifier: MIT
// "FrameSet": whether the frameset page is written and the margins of the four frames.
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class FrameSetPage : public OptionsPage {
    Q_OBJECT
  public:
    FrameSetPage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
