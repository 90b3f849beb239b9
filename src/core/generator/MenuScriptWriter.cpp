// SPDX-License-Identifier: MIT
#include "generator/MenuScriptWriter.h"

#include "generator/MenuEntries.h"
#include "model/Project.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

// Inside a script string a backslash starts an escape and a double quote ends the string, so
// a text ending in "\" or a file name with a quote would break the whole menu. Ordinary texts
// and names are written unchanged.
std::string ScriptString(const std::string& text) {
    if (text.find_first_of("\\\"\r\n") == std::string::npos) return text;
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        if (c == '\r' || c == '\n') {
            out += ' ';
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace

bool MenuScriptWriter::Overwrite(const BuildContext& ctx) const {
    return ctx.Settings().javascript.overwrite_javascript;
}

void MenuScriptWriter::BuildLines(const BuildContext& ctx, TextLines& lines) const {
    const ProjectSettings& s = ctx.Settings();
    const TWebMenu& menu = ctx.project.MainMenu;
    int count = 0;
    ForEachWrittenEntry(menu, [&count](const TWebMenuItem&, bool) { ++count; });
    // The top frame, when there is one, comes first in the frameset.
    const int menuFrame = s.frameset.frametop ? 1 : 0;

    lines.reserve(lines.size() + 14 + static_cast<size_t>(count) + ctx.menuScriptLibrary.size());
    lines.emplace_back("y_global_dir = \"\";");
    lines.emplace_back("y_grup_trenner = \"<hr>\";");
    lines.push_back("y_menframe_file = \"" + ScriptString(s.files.menuframe_file) + "\";");
    lines.push_back("y_firstinhalt_file = \"" + ScriptString(s.files.starting_page_file) + "\";");
    lines.push_back("y_men_frame_nr = " + std::to_string(menuFrame));
    lines.push_back("y_content_frame_nr = " + std::to_string(menuFrame + 1));
    lines.push_back("y_menanz = " + std::to_string(count) + ";");
    lines.emplace_back();
    lines.emplace_back("function men_init() {");
    lines.emplace_back("y_menarray = new Array(y_menanz);");
    int k = 0;
    const bool keepTags = s.menu_frame.menuetext_tags;
    ForEachWrittenEntry(menu, [&](const TWebMenuItem& e, bool isSub) {
        lines.push_back("y_menarray[" + std::to_string(k++) + "] = new y_menrecord(\"" +
                        ScriptString(HtmlEscape(e.Text, keepTags)) + "\",\"" +
                        ScriptString(e.FileName) + "\"," + (isSub ? "2" : "0") + ");");
    });
    lines.emplace_back("}");
    lines.emplace_back();
    lines.insert(lines.end(), ctx.menuScriptLibrary.begin(), ctx.menuScriptLibrary.end());
}

}  // namespace pagloom
