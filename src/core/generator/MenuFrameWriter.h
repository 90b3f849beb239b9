// SPDX-License-Identifier: MIT
// The menu frame page (files/menuframe-file). It holds no menu itself: a script block calls
// writemenu() of the menu script the frameset loaded. For browsers without scripts it can
// bring in the navigation include file inside a <noscript> block.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

class MenuFrameWriter : public FileWriter {
  public:
    MenuFrameWriter() : FileWriter(SiteFileKind::MenuFrame) {}
    bool Overwrite(const BuildContext& ctx) const override;
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;
};

}  // namespace pagloom
