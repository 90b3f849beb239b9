// SPDX-License-Identifier: MIT
// The database administration command: the data sources here are ODBC ones, so it starts an
// ODBC administration program, or else opens the user's data source file in the desktop's
// editor, or else says that neither is there.
#pragma once

class QWidget;

namespace pagloom::app {

class UiPrompts;

void StartOdbcAdministration(UiPrompts& prompts, QWidget* parent);

}  // namespace pagloom::app
