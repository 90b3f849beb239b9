// SPDX-License-Identifier: MIT
// The navigation include file: the menu as plain HTML lists of links into the frame "rechts",
// for browsers without scripts. The menu frame page brings it in through an inline frame, a
// server-side include or PHP. It has no setting of its own and is due on every build.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

class MenuIncludeWriter : public FileWriter {
  public:
    MenuIncludeWriter() : FileWriter(SiteFileKind::MenuInclude) {}
    bool Overwrite(const BuildContext&) const override { return true; }
    // A page of its own (head and foot) only when the menu frame shows it in an inline frame;
    // otherwise just the lists, which may then be no lines at all.
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;
};

}  // namespace pagloom
