// SPDX-License-Identifier: MIT
// "Menueframe": the page that holds the navigation in its frame, and the navigation for browsers
// without scripts.
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class MenuFramePage : public OptionsPage {
    Q_OBJECT
  public:
    MenuFramePage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
