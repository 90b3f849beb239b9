// SPDX-License-Identifier: MIT
// "Tabellen": the tag names and brackets of table templates and the conversions of table data.
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class TablesPage : public OptionsPage {
    Q_OBJECT
  public:
    TablesPage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
