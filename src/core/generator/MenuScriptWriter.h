// SPDX-License-Identifier: MIT
// The menu script (files/javascript-file): the project's menu as script data (globals and
// men_init filling y_menarray with y_menrecord objects), followed unchanged by the lines of
// the menu script library default.js, which draws the menu.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

class MenuScriptWriter : public FileWriter {
  public:
    MenuScriptWriter() : FileWriter(SiteFileKind::MenuScript) {}
    bool Overwrite(const BuildContext& ctx) const override;
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;
};

}  // namespace pagloom
