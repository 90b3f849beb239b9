// SPDX-License-Identifier: MIT
#include "generator/MenuFrameWriter.h"

#include "generator/HtmlBlocks.h"
#include "generator/SiteFiles.h"
#include "model/Project.h"

namespace pagloom {

bool MenuFrameWriter::Overwrite(const BuildContext& ctx) const {
    return ctx.Settings().menu_frame.empty_overwrite;
}

void MenuFrameWriter::BuildLines(const BuildContext& ctx, TextLines& lines) const {
    const ProjectSettings& s = ctx.Settings();
    lines.emplace_back(kDoctypeTransitional);
    lines.emplace_back("<html>");
    lines.emplace_back("<head>");
    lines.emplace_back("<title>Navigation-Frame</title>");
    lines.push_back("<link media=\"screen, projection\" href=\"" + s.files.stylesheet_file +
                    "\" type=\"text/css\" rel=\"stylesheet\"/>");
    lines.emplace_back(kMetaContentType);
    lines.emplace_back("</head>");
    lines.emplace_back();
    lines.emplace_back("<body>");
    lines.emplace_back();
    lines.emplace_back("<!-- #pagloom: begin mf_menuscript# -->");
    lines.emplace_back("<script language=\"JavaScript\">");
    lines.emplace_back("<!--");
    lines.emplace_back("parent.writemenu();");
    lines.emplace_back("// -->");
    lines.emplace_back("</script>");
    if (s.menu_frame.noscript) {
        const std::string include = IncludeFileName(s.files.menuframe_file);
        const auto& kind = s.menu_frame.noscript_kind;
        lines.emplace_back("<noscript>");
        if (kind.Is(kNoscriptIFrame)) {
            lines.push_back("<iframe src=\"" + include +
                            "\" frameborder=\"0\" marginwidth=\"0\" marginheight=\"0\" "
                            "height=\"300\" width=\"100%\">");
            lines.emplace_back("</iframe>");
        }
        if (kind.Is(kNoscriptSSI)) lines.push_back("<!--#include virtual=\"" + include + "\" -->");
        if (kind.Is(kNoscriptPHP)) {
            lines.emplace_back("<?");
            lines.push_back("$pl_filename = \"" + include + "\";");
            lines.emplace_back("if ($pl_myFile = fopen($pl_filename, \"r\")) {");
            lines.emplace_back("  while (!feof ($pl_myFile)) {");
            lines.emplace_back("    $pl_myLine = fgets($pl_myFile, 255);");
            lines.emplace_back("    print(\"$pl_myLine\");");
            lines.emplace_back("  }");
            lines.emplace_back("}");
            lines.emplace_back("fclose($pl_myFile);");
            lines.emplace_back("?>");
        }
        lines.emplace_back("</noscript>");
    }
    lines.emplace_back("<!-- #pagloom: end mf_menuscript# -->");
    lines.emplace_back();
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
}

}  // namespace pagloom
