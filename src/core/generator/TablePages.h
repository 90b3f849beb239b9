// SPDX-License-Identifier: MIT
// The pages of a table-driven build: the first page, the main-menu pages and the sub-menu
// pages, each level by its own source (empty page, template filled from the level's rows, or
// Dreamweaver template filled and made an instance, fresh or keeping the editable regions of
// existing pages). TableBuild hands these steps and the menu rebuild to the build driver.
// The slots' tables are the ones the build context carries.
#pragma once

#include "generator/BuildContext.h"
#include "generator/TableBuildSteps.h"

namespace pagloom {

// The first page by table/firstpage_content_source.
void WriteTableFirstPage(BuildContext& ctx);
// The page of every main entry (active or not) by table/mainmenu_content_source, each filled
// from the rows whose main-menu field holds exactly the entry's text.
void WriteTableMainMenuPages(BuildContext& ctx);
// The page of every sub entry by table/submenu_content_source, each filled from the rows whose
// match field holds the main entry's text and whose sub-menu field holds the sub entry's text.
void WriteTableSubMenuPages(BuildContext& ctx);

// The table-driven steps of BuildWithTables. RebuildMenu first makes the engine tables read
// their tables afresh (once per build; every page after that is answered from memory).
class TableBuild : public TableBuildSteps {
  public:
    void RebuildMenu(BuildContext& ctx) override;
    void WritePages(BuildContext& ctx) override;
};

}  // namespace pagloom
