// SPDX-License-Identifier: MIT
// "Stylesheet": whether the stylesheet file is written and overwrites an existing one.
#pragma once
#include "options/TwoChoicePage.h"

namespace pagloom::app {

class StylesheetPage : public TwoChoicePage {
    Q_OBJECT
  public:
    StylesheetPage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
