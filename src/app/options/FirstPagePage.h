// SPDX-License-Identifier: MIT
// "Erste Seite": whether the first content page is written, and from the template.
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class FirstPagePage : public OptionsPage {
    Q_OBJECT
  public:
    FirstPagePage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
