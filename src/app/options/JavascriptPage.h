// SPDX-License-Identifier: MIT
// "Javascript": whether the menu script file is written and overwrites an existing one.
#pragma once
#include "options/TwoChoicePage.h"

namespace pagloom::app {

class JavascriptPage : public TwoChoicePage {
    Q_OBJECT
  public:
    JavascriptPage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
