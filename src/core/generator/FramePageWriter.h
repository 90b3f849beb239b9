// SPDX-License-Identifier: MIT
// The top and bottom frame pages: empty pages the user fills later. Due only when the
// frameset layout has that frame and the page is switched on.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

class FramePageWriter : public FileWriter {
  public:
    enum Frame { Top, Bottom };
    explicit FramePageWriter(Frame frame)
        : FileWriter(frame == Top ? SiteFileKind::TopFrame : SiteFileKind::BottomFrame),
          frame_(frame) {}

    bool Overwrite(const BuildContext& ctx) const override;
    // Page head titled "Oberer Frame" or "Unterer Frame", an empty line, the page foot.
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;

  private:
    Frame frame_;
};

}  // namespace pagloom
