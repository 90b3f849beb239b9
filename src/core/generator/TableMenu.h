// SPDX-License-Identifier: MIT
// The menu of a table-driven project, rebuilt from the main-menu and sub-menu tables at the
// start of every such build. It replaces the project's menu in memory (and is stored at the
// next save) without marking the project changed.
#pragma once

#include "generator/BuildContext.h"
#include "model/TWebMenu.h"

namespace pagloom {

class ContentTables;

// One main entry per distinct value (letter case ignored) of the main-menu field, in table
// order. Without a main-menu table in use it logs "*** keine Tabelle für Navigatin
// ausgewählt! ***"; a table that cannot be opened shows "Fehler beim Verarbeiten der Tabelle:
// <name>!"; in both cases the menu stays as it was. Throws BuildAbort when no main-menu field
// is selected.
void BuildMenuFromMainTable(BuildContext& ctx);

// For every main entry, one sub entry per distinct value (letter case ignored) of the sub-menu
// field among the rows whose match field holds exactly the entry's text.
void BuildSubMenusFromSubTable(BuildContext& ctx);

// The menu such a build would make from the slots' tables as they are now, for a look at it
// before a build: the project keeps its menu, nothing is logged or shown. Empty when the tables
// give none (no main-menu table in use, a table that does not open, no field chosen).
TWebMenu MenuFromTables(const Project& project, ContentTables& tables);

// The main-menu field: its name; throws BuildAbort when none is selected.
const std::string& MainMenuField(const Project& project);
// The sub-menu slot's match field and sub-menu field; throw BuildAbort when none is selected.
const std::string& SubMenuMatchField(const Project& project);
const std::string& SubMenuField(const Project& project);

}  // namespace pagloom
