// SPDX-License-Identifier: MIT
// "Oberer Frame": whether the page of the top frame is written and overwrites an existing one.
#pragma once
#include "options/TwoChoicePage.h"

namespace pagloom::app {

class TopFramePage : public TwoChoicePage {
    Q_OBJECT
  public:
    TopFramePage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
