// SPDX-License-Identifier: MIT
#include "generator/FramesetWriter.h"

#include "generator/HtmlBlocks.h"
#include "model/Project.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

std::string FrameLine(const std::string& file, const char* name, int marginWidth,
                      int marginHeight) {
    return "  <FRAME SRC=\"" + file + "\" NAME=\"" + name + "\" SCROLLING=\"AUTO\"" +
           " marginwidth=" + std::to_string(marginWidth) +
           " marginheight=" + std::to_string(marginHeight) + ">";
}

}  // namespace

bool FramesetWriter::Overwrite(const BuildContext& ctx) const {
    return ctx.Settings().frameset.empty_overwrite;
}

void FramesetWriter::BuildLines(const BuildContext& ctx, TextLines& lines) const {
    const FramesetSettings& fs = ctx.Settings().frameset;
    const FilesSettings& files = ctx.Settings().files;
    // A border option outside 0..2 (none chosen) is written as option 0.
    const int frameborder = fs.frameoption == 2 ? 1 : 0;
    const int width = fs.frameoption > 0 ? fs.frameborderwidth : 0;
    const std::string borders = "\" frameborder=\"" + std::to_string(frameborder) + "\" border=\"" +
                                std::to_string(width) + "\" framespacing=\"" +
                                std::to_string(width) + "\">";
    const bool top = fs.frametop;
    const bool bottom = fs.framebottom;

    lines.emplace_back(kDoctypeFrameset);
    lines.emplace_back("<HTML>");
    lines.emplace_back("<HEAD>");
    lines.push_back("<!-- #pagloom: project=" + ctx.projectFile + "# -->");
    lines.push_back("<title>" + HtmlEscape(fs.titel, false) + "</title>");
    lines.emplace_back("<meta name=\"generator\" content=\"pagloom\">");
    lines.emplace_back("<!-- #pagloom: begin fs_include# -->");
    lines.push_back("<script language=\"JavaScript\" src=\"" + files.javascript_file +
                    "\" type=\"text/javascript\">");
    lines.emplace_back("</script>");
    lines.emplace_back("<!-- #pagloom: end fs_include# -->");
    lines.emplace_back("</HEAD>");
    if (top || bottom) {
        std::string rows;
        if (top && bottom)
            rows = std::to_string(fs.frametop_size) + ",*," + std::to_string(fs.framebottom_size);
        else if (top)
            rows = std::to_string(fs.frametop_size) + ",*";
        else
            rows = "*," + std::to_string(fs.framebottom_size);
        lines.push_back("<FRAMESET ROWS=\"" + rows + borders);
    } else {
        lines.emplace_back();
    }
    if (top)
        lines.push_back(FrameLine(files.frame_top_file, "oben", fs.topframe_marginwidth,
                                  fs.topframe_marginheight));
    lines.push_back("<FRAMESET COLS=\"" + std::to_string(fs.menuframe_size) + ",*" + borders);
    lines.push_back(FrameLine(files.menuframe_file, "links", fs.menuframe_marginwidth,
                              fs.menuframe_marginheight));
    lines.push_back(FrameLine(files.starting_page_file, "rechts", fs.contentframe_marginwidth,
                              fs.contentframe_marginheight));
    lines.emplace_back("</FRAMESET>");
    if (bottom)
        lines.push_back(FrameLine(files.frame_bottom_file, "unten", fs.bottomframe_marginwidth,
                                  fs.bottomframe_marginheight));
    if (top || bottom)
        lines.emplace_back("</frameset>");
    else
        lines.emplace_back();
    lines.emplace_back("<noframes></noframes>");
    lines.emplace_back("</HTML>");
}

}  // namespace pagloom
