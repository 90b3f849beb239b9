// SPDX-License-Identifier: MIT
// "Unterer Frame": whether the page of the bottom frame is written and overwrites an existing one.
#pragma once
#include "options/TwoChoicePage.h"

namespace pagloom::app {

class BottomFramePage : public TwoChoicePage {
    Q_OBJECT
  public:
    BottomFramePage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
