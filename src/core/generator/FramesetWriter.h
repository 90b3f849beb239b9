// SPDX-License-Identifier: MIT
// The site's entry page (files/frameset-file): the menu frame "links" beside the content
// frame "rechts", optionally with a top frame "oben" and a bottom frame "unten". Its head
// loads the menu script, whose functions the menu frame page calls through its parent.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

class FramesetWriter : public FileWriter {
  public:
    FramesetWriter() : FileWriter(SiteFileKind::Frameset) {}
    bool Overwrite(const BuildContext& ctx) const override;
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;
};

}  // namespace pagloom
