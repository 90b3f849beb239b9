// SPDX-License-Identifier: MIT
// The seam between the build driver and the table code: the table-driven steps of
// BuildWithTables. The driver calls them; the table code (TableBuild) implements them, so
// the dependency runs one way.
#pragma once

namespace pagloom {

struct BuildContext;

class TableBuildSteps {
  public:
    virtual ~TableBuildSteps() = default;
    // BuildMenuFromMainTable, then BuildSubMenusFromSubTable: rebuilds ctx.project.MainMenu.
    virtual void RebuildMenu(BuildContext& ctx) = 0;
    // First page, main-menu pages and sub-menu pages, each by its slot's content source.
    virtual void WritePages(BuildContext& ctx) = 0;
};

}  // namespace pagloom
