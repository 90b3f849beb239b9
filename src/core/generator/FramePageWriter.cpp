// SPDX-License-Identifier: MIT
#include "generator/FramePageWriter.h"

#include "generator/HtmlBlocks.h"
#include "model/Project.h"

namespace pagloom {

bool FramePageWriter::Overwrite(const BuildContext& ctx) const {
    return frame_ == Top ? ctx.Settings().frames.overwrite_topframe
                         : ctx.Settings().frames.overwrite_bottomframe;
}

void FramePageWriter::BuildLines(const BuildContext&, TextLines& lines) const {
    AddPageHead(lines, frame_ == Top ? "Oberer Frame" : "Unterer Frame");
    lines.emplace_back();
    AddPageFoot(lines);
}

}  // namespace pagloom
