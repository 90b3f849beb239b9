// SPDX-License-Identifier: MIT
#include "projectfile/ProjectFile.h"

#include <cstdio>

#include "io/FileSystem.h"
#include "text/TextConversions.h"

namespace pagloom {

namespace {

// Missing keys of a list give placeholder entries. A damaged file could claim billions of them;
// every list may hold this many more entries than the file has keys, so loading stays bounded.
constexpr long long kPlaceholderAllowance = 10000;

// Reads the keys of one section, each with its default.
struct SectionReader {
    const IniFile& ini;
    std::string section;

    bool B(std::string_view key, bool def) const { return ini.ReadBool(section, key, def); }
    int I(std::string_view key, int def) const { return ini.ReadInteger(section, key, def); }
    std::string S(std::string_view key, std::string_view def = {}) const {
        return ini.ReadString(section, key, def);
    }
    template <std::size_t N>
    void Option(Choice<N>& choice, int option, std::string_view key,
                const Choice<N>& defaults) const {
        choice.Set(option, B(key, defaults.Is(option)));
    }
    // Entries to read for a stored count, bounded by the file's own size.
    int ListLength(int count, long long& allowance) const {
        if (count <= 0) return 0;
        const long long keys = static_cast<long long>(ini.KeyCount(section));
        long long n = count;
        if (n > keys + allowance) n = keys + allowance;
        if (n > keys) allowance -= n - keys;
        return static_cast<int>(n);
    }
};

struct SectionWriter {
    IniFile& ini;
    std::string section;

    void B(std::string_view key, bool v) const { ini.WriteBool(section, key, v); }
    void I(std::string_view key, int v) const { ini.WriteInteger(section, key, v); }
    void S(std::string_view key, std::string_view v) const { ini.WriteString(section, key, v); }
};

// A section written whole: emptied first so it holds exactly the keys written now.
SectionWriter Rewritten(IniFile& ini, std::string section) {
    ini.ClearSection(section);
    return SectionWriter{ini, std::move(section)};
}

std::string Indexed(std::string_view prefix, long long i) {
    return std::string(prefix) + std::to_string(i);
}

// --- reading ---------------------------------------------------------------------------------

void ReadContentPage(const IniFile& ini, ContentPageSettings& c) {
    const ContentPageSettings d;
    const SectionReader r{ini, "content-page"};
    r.Option(c.source, kNoPages, "no-pages", d.source);
    r.Option(c.source, kEmptyPages, "empty-pages", d.source);
    c.empty_overwrite = r.B("empty-overwrite", d.empty_overwrite);
    c.empty_titel_is_menu = r.B("empty-titel-is-menu", d.empty_titel_is_menu);
    c.empty_content_is_menu = r.B("empty-content-is-menu", d.empty_content_is_menu);
    r.Option(c.source, kTemplatePages, "template-pages", d.source);
    c.template_file = r.S("template-file", d.template_file);
    c.template_overwrite = r.B("template-overwrite", d.template_overwrite);
    r.Option(c.source, kDwTemplatePages, "dw-template-pages", d.source);
    c.dw_template_file = r.S("dw-template-file", d.dw_template_file);
    c.dw_template_update = r.B("dw-template-update", d.dw_template_update);
    c.dw_editable_overwrite = r.B("dw-editable-overwrite", d.dw_editable_overwrite);
    r.Option(c.source, kTabTemplatePages, "tab-template-pages", d.source);
    c.tab_overwrite = r.B("tab-overwrite", d.tab_overwrite);
    c.tab_dw_editable_overwrite = r.B("tab-dw-editable-overwrite", d.tab_dw_editable_overwrite);
}

void ReadMenuFrame(const IniFile& ini, MenuFrameSettings& m) {
    const MenuFrameSettings d;
    const SectionReader r{ini, "menu-frame"};
    r.Option(m.frame, kOff, "no-frame", d.frame);
    r.Option(m.frame, kOn, "empty-frame", d.frame);
    m.empty_overwrite = r.B("empty-overwrite", d.empty_overwrite);
    m.noscript = r.B("noscript", d.noscript);
    r.Option(m.noscript_kind, kNoscriptIFrame, "noscript-iframe", d.noscript_kind);
    r.Option(m.noscript_kind, kNoscriptSSI, "noscript-SSI", d.noscript_kind);
    r.Option(m.noscript_kind, kNoscriptPHP, "noscript-PHP", d.noscript_kind);
    m.menuetext_tags = r.B("menuetext-tags", d.menuetext_tags);
}

void ReadFrameset(const IniFile& ini, FramesetSettings& f) {
    const FramesetSettings d;
    const SectionReader r{ini, "frameset"};
    r.Option(f.frameset, kOff, "no-frameset", d.frameset);
    r.Option(f.frameset, kOn, "empty-frameset", d.frameset);
    f.empty_overwrite = r.B("empty-overwrite", d.empty_overwrite);
    f.menuframe_marginwidth = r.I("menuframe-marginwidth", d.menuframe_marginwidth);
    f.menuframe_marginheight = r.I("menuframe-marginheight", d.menuframe_marginheight);
    f.contentframe_marginwidth = r.I("contentframe-marginwidth", d.contentframe_marginwidth);
    f.contentframe_marginheight = r.I("contentframe-marginheight", d.contentframe_marginheight);
    f.topframe_marginwidth = r.I("topframe-marginwidth", d.topframe_marginwidth);
    f.topframe_marginheight = r.I("topframe-marginheight", d.topframe_marginheight);
    f.bottomframe_marginwidth = r.I("bottomframe-marginwidth", d.bottomframe_marginwidth);
    f.bottomframe_marginheight = r.I("bottomframe-marginheight", d.bottomframe_marginheight);
    f.frametop = r.B("frametop", d.frametop);
    f.framebottom = r.B("framebottom", d.framebottom);
    f.titel = r.S("titel", d.titel);
    const int option = r.I("frameoption", d.frameoption);
    f.frameoption = option >= 0 && option <= 2 ? option : -1;
    const int width = r.I("frameborderwidth", d.frameborderwidth);
    f.frameborderwidth = width >= 1 && width <= 10 ? width : 0;
    f.menuframe_size = r.I("menuframe-size", d.menuframe_size);
    f.frametop_size = r.I("frametop-size", d.frametop_size);
    f.framebottom_size = r.I("framebottom-size", d.framebottom_size);
}

void ReadFrames(const IniFile& ini, FramesSettings& f) {
    const FramesSettings d;
    const SectionReader r{ini, "frames"};
    r.Option(f.topframe, kOff, "no-topframe", d.topframe);
    r.Option(f.topframe, kOn, "empty-topframe", d.topframe);
    f.overwrite_topframe = r.B("overwrite-topframe", d.overwrite_topframe);
    r.Option(f.bottomframe, kOff, "no-bottomframe", d.bottomframe);
    r.Option(f.bottomframe, kOn, "empty-bottomframe", d.bottomframe);
    f.overwrite_bottomframe = r.B("overwrite-bottomframe", d.overwrite_bottomframe);
}

void ReadFirstPage(const IniFile& ini, FirstPageSettings& f) {
    const FirstPageSettings d;
    const SectionReader r{ini, "firstpage"};
    r.Option(f.firstpage, kOff, "no-firstpage", d.firstpage);
    r.Option(f.firstpage, kOn, "make-firstpage", d.firstpage);
    f.overwrite_firstpage = r.B("overwrite-firstpage", d.overwrite_firstpage);
    f.firstpage_from_template = r.B("firstpage-from-template", d.firstpage_from_template);
}

void ReadFiles(const IniFile& ini, FilesSettings& f, FileSystem& fs, Host& host) {
    const FilesSettings d;
    const SectionReader r{ini, "files"};
    std::string dir = r.S("destination-directory", d.destination_directory);
    if (!fs.DirectoryExists(dir)) {
        if (!dir.empty()) host.ShowMessage("Das Verzeichnis " + dir + " existiert nicht!");
        dir.clear();
    }
    f.destination_directory = dir;
    f.frameset_file = r.S("frameset-file", d.frameset_file);
    f.stylesheet_file = r.S("stylesheet-file", d.stylesheet_file);
    f.javascript_file = r.S("javascript-file", d.javascript_file);
    f.menuframe_file = r.S("menuframe-file", d.menuframe_file);
    f.starting_page_file = r.S("starting-page-file", d.starting_page_file);
    f.frame_top_file = r.S("frame-top-file", d.frame_top_file);
    f.frame_bottom_file = r.S("frame-bottom-file", d.frame_bottom_file);
}

void ReadCss(const IniFile& ini, CssSettings& c) {
    const CssSettings d;
    const SectionReader r{ini, "css"};
    r.Option(c.css, kOff, "no-css", d.css);
    r.Option(c.css, kOn, "empty-css", d.css);
    c.overwrite_css = r.B("overwrite-css", d.overwrite_css);
}

void ReadJavascript(const IniFile& ini, JavascriptSettings& j) {
    const JavascriptSettings d;
    const SectionReader r{ini, "javascript"};
    r.Option(j.javascript, kOff, "no-javascript", d.javascript);
    r.Option(j.javascript, kOn, "empty-javascript", d.javascript);
    j.overwrite_javascript = r.B("overwrite-javascript", d.overwrite_javascript);
}

void ReadSitemap(const IniFile& ini, SitemapSettings& s, long long& allowance) {
    const SitemapSettings d;
    const SectionReader r{ini, "sitemap"};
    s.make_sitemap = r.B("make-sitemap", d.make_sitemap);
    s.filename = r.S("filename", d.filename);
    s.urltext = r.S("urltext", d.urltext);
    s.url = r.B("url", d.url);
    s.frameset = r.B("frameset", d.frameset);
    s.menuframe = r.B("menuframe", d.menuframe);
    s.contenframes = r.B("contenframes", d.contenframes);
    s.firstpage = r.B("firstpage", d.firstpage);
    s.topframe = r.B("topframe", d.topframe);
    s.bottomframe = r.B("bottomframe", d.bottomframe);
    s.extra_files.clear();
    const int n = r.ListLength(r.I("extra-files-count", 0), allowance);
    s.extra_files.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) s.extra_files.push_back(r.S(Indexed("extra-files_", k)));
}

// One menu level: `count` entries, each key missing giving its placeholder.
void ReadMenuList(const IniFile& ini, const std::string& section, bool mainLevel, TWebMenu& menu,
                  long long& allowance) {
    const SectionReader r{ini, section};
    const int n = r.ListLength(r.I("count", 0), allowance);
    for (int i = 0; i < n; ++i) {
        const std::string idx = std::to_string(i);
        std::string text = r.S("text_" + idx, "text_" + idx);
        std::string file = r.S("file_" + idx, "datei_" + idx);
        const bool active = r.B("aktiv_" + idx, true);
        menu.Add(mainLevel ? TWebMenu::NewMainItem(std::move(text), std::move(file), active)
                           : TWebMenu::NewSubItem(std::move(text), std::move(file), active));
    }
    menu.ResetItemIndex();
}

void ReadMenu(const IniFile& ini, TWebMenu& menu, long long& allowance) {
    menu.Clear();
    ReadMenuList(ini, "menu", true, menu, allowance);
    for (int i = 0; i < menu.Count(); ++i) {
        TWebMenuItem& item = menu.Item(i);
        if (!item.SubMenu) item.SubMenu = std::make_unique<TWebMenu>();
        ReadMenuList(ini, Indexed("submenu_", i), false, *item.SubMenu, allowance);
    }
}

// A one-character key (quote or separator). The INI reader trims blanks, so a stored TAB or
// blank is taken from the raw value; an empty value keeps the default.
char ReadCharKey(const IniFile& ini, const std::string& section, const std::string& key, char def) {
    const std::string v = ini.ReadString(section, key, "");
    if (!v.empty()) return v.front();
    std::string raw;
    if (ini.ReadRaw(section, key, raw) && !raw.empty()) return raw.front();
    return def;
}

// A table key holding a full path (with drive colon) splits into folder and file name.
void SplitFullTablePath(std::string& database, std::string& table) {
    if (!database.empty() || table.find(':') == std::string::npos) return;
    const std::size_t cut = table.find_last_of("\\/:");
    std::string dir = table.substr(0, cut + 1);
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    database = dir;
    table = table.substr(cut + 1);
}

// --- writing ---------------------------------------------------------------------------------

void WriteChoice2(const SectionWriter& w, const Choice<2>& c, std::string_view off,
                  std::string_view on) {
    w.B(off, c.Is(kOff));
    w.B(on, c.Is(kOn));
}

void WriteSettings(IniFile& ini, const ProjectSettings& s) {
    {
        const auto& c = s.content_page;
        const SectionWriter w = Rewritten(ini, "content-page");
        w.B("no-pages", c.source.Is(kNoPages));
        w.B("empty-pages", c.source.Is(kEmptyPages));
        w.B("empty-overwrite", c.empty_overwrite);
        w.B("empty-titel-is-menu", c.empty_titel_is_menu);
        w.B("empty-content-is-menu", c.empty_content_is_menu);
        w.B("template-pages", c.source.Is(kTemplatePages));
        w.S("template-file", c.template_file);
        w.B("template-overwrite", c.template_overwrite);
        w.B("dw-template-pages", c.source.Is(kDwTemplatePages));
        w.S("dw-template-file", c.dw_template_file);
        w.B("dw-template-update", c.dw_template_update);
        w.B("dw-editable-overwrite", c.dw_editable_overwrite);
        w.B("tab-template-pages", c.source.Is(kTabTemplatePages));
        w.B("tab-overwrite", c.tab_overwrite);
        w.B("tab-dw-editable-overwrite", c.tab_dw_editable_overwrite);
    }
    {
        const auto& m = s.menu_frame;
        const SectionWriter w = Rewritten(ini, "menu-frame");
        WriteChoice2(w, m.frame, "no-frame", "empty-frame");
        w.B("empty-overwrite", m.empty_overwrite);
        w.B("noscript", m.noscript);
        w.B("noscript-iframe", m.noscript_kind.Is(kNoscriptIFrame));
        w.B("noscript-SSI", m.noscript_kind.Is(kNoscriptSSI));
        w.B("noscript-PHP", m.noscript_kind.Is(kNoscriptPHP));
        w.B("menuetext-tags", m.menuetext_tags);
    }
    {
        const auto& f = s.frameset;
        const SectionWriter w = Rewritten(ini, "frameset");
        WriteChoice2(w, f.frameset, "no-frameset", "empty-frameset");
        w.B("empty-overwrite", f.empty_overwrite);
        w.I("menuframe-marginwidth", f.menuframe_marginwidth);
        w.I("menuframe-marginheight", f.menuframe_marginheight);
        w.I("contentframe-marginwidth", f.contentframe_marginwidth);
        w.I("contentframe-marginheight", f.contentframe_marginheight);
        w.I("topframe-marginwidth", f.topframe_marginwidth);
        w.I("topframe-marginheight", f.topframe_marginheight);
        w.I("bottomframe-marginwidth", f.bottomframe_marginwidth);
        w.I("bottomframe-marginheight", f.bottomframe_marginheight);
        w.B("frametop", f.frametop);
        w.B("framebottom", f.framebottom);
        w.S("titel", f.titel);
        w.I("frameoption", f.frameoption >= 0 && f.frameoption <= 2 ? f.frameoption : -1);
        w.I("frameborderwidth",
            f.frameborderwidth >= 1 && f.frameborderwidth <= 10 ? f.frameborderwidth : 0);
        w.I("menuframe-size", f.menuframe_size);
        w.I("frametop-size", f.frametop_size);
        w.I("framebottom-size", f.framebottom_size);
    }
    {
        const auto& f = s.frames;
        const SectionWriter w = Rewritten(ini, "frames");
        WriteChoice2(w, f.topframe, "no-topframe", "empty-topframe");
        w.B("overwrite-topframe", f.overwrite_topframe);
        WriteChoice2(w, f.bottomframe, "no-bottomframe", "empty-bottomframe");
        w.B("overwrite-bottomframe", f.overwrite_bottomframe);
    }
    {
        const auto& f = s.firstpage;
        const SectionWriter w = Rewritten(ini, "firstpage");
        WriteChoice2(w, f.firstpage, "no-firstpage", "make-firstpage");
        w.B("overwrite-firstpage", f.overwrite_firstpage);
        w.B("firstpage-from-template", f.firstpage_from_template);
    }
    {
        // An old name of this section; left in place it would shadow nothing but confuse.
        ini.EraseSection("Dateien");
        const auto& f = s.files;
        const SectionWriter w{ini, "files"};
        w.S("destination-directory", f.destination_directory);
        w.S("frameset-file", f.frameset_file);
        w.S("stylesheet-file", f.stylesheet_file);
        w.S("javascript-file", f.javascript_file);
        w.S("menuframe-file", f.menuframe_file);
        w.S("starting-page-file", f.starting_page_file);
        w.S("frame-top-file", f.frame_top_file);
        w.S("frame-bottom-file", f.frame_bottom_file);
    }
}

void WriteAfterCss(IniFile& ini, const ProjectSettings& s) {
    {
        const auto& j = s.javascript;
        const SectionWriter w = Rewritten(ini, "javascript");
        WriteChoice2(w, j.javascript, "no-javascript", "empty-javascript");
        w.B("overwrite-javascript", j.overwrite_javascript);
    }
    {
        const auto& m = s.sitemap;
        const SectionWriter w = Rewritten(ini, "sitemap");
        w.B("make-sitemap", m.make_sitemap);
        w.S("filename", m.filename);
        w.S("urltext", m.urltext);
        w.B("url", m.url);
        w.B("frameset", m.frameset);
        w.B("menuframe", m.menuframe);
        w.B("contenframes", m.contenframes);
        w.B("firstpage", m.firstpage);
        w.B("topframe", m.topframe);
        w.B("bottomframe", m.bottomframe);
        int stored = 0;
        for (const std::string& line : m.extra_files) {
            if (TrimBlanks(line).empty()) continue;  // blank lines carry nothing
            w.S(Indexed("extra-files_", stored++), line);
        }
        w.I("extra-files-count", stored);
    }
}

void WriteMenuList(IniFile& ini, const std::string& section, const TWebMenu* menu) {
    const SectionWriter w = Rewritten(ini, section);
    const int n = menu ? menu->Count() : 0;
    w.I("count", n);
    for (int i = 0; i < n; ++i) {
        const TWebMenuItem& item = menu->Item(i);
        const std::string idx = std::to_string(i);
        w.S("text_" + idx, item.Text);
        w.S("file_" + idx, item.FileName);
        w.B("aktiv_" + idx, item.Active);
    }
}

}  // namespace

std::string FormatLastSave(const std::tm& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::string CssSectionName(MenuLevel level) { return level == kSubMenuLevel ? "css_2" : "css_1"; }

void ReadCssSection(const IniFile& ini, MenuLevel level, TCSS& css) {
    const TCSS d;
    const SectionReader r{ini, CssSectionName(level)};
    css.display = r.S("display", d.display);
    css.position = r.S("position", d.position);
    if (css.position == "static") {
        css.ApplyStaticPosition();
    } else {
        css.left_right_direction = r.S("left_right_direction", d.left_right_direction);
        css.left_right_type = r.S("left_right_type", d.left_right_type);
        css.top_bottom_direction = r.S("top_bottom_direction", d.top_bottom_direction);
        css.top_bottom_type = r.S("top_bottom_type", d.top_bottom_type);
    }
    css.left_right_value = r.S("left_right_value", d.left_right_value);
    css.top_bottom_value = r.S("top_bottom_value", d.top_bottom_value);
    css.width_type = r.S("width_type", d.width_type);
    css.width_value = r.S("width_value", d.width_value);
    css.height_type = r.S("height_type", d.height_type);
    css.height_value = r.S("height_value", d.height_value);
    css.overflow = r.S("overflow", d.overflow);

    css.letter_spacing_type = r.S("letter_spacing_type", d.letter_spacing_type);
    css.letter_spacing_value = r.S("letter_spacing_value", d.letter_spacing_value);
    css.line_height_type = r.S("line_height_type", d.line_height_type);
    css.line_height_value = r.S("line_height_value", d.line_height_value);
    css.direction = r.S("direction", d.direction);
    css.text_align = r.S("text_align", d.text_align);
    css.text_indent_type = r.S("text_indent_type", d.text_indent_type);
    css.text_indent_value = r.S("text_indent_value", d.text_indent_value);
    css.text_transform = r.S("text_transform", d.text_transform);
    css.white_space = r.S("white_space", d.white_space);
    css.word_spacing_type = r.S("word_spacing_type", d.word_spacing_type);
    css.word_spacing_value = r.S("word_spacing_value", d.word_spacing_value);
    css.text_decoration_underline = r.B("text_decoration_underline", false);
    css.text_decoration_overline = r.B("text_decoration_overline", false);
    css.text_decoration_line_through = r.B("text_decoration_line_through", false);
    css.text_decoration_blink = r.B("text_decoration_blink", false);
    css.text_decoration_inherit = r.B("text_decoration_inherit", false);
    css.vertical_align_type = r.S("vertical_align_type", d.vertical_align_type);
    css.vertical_align_value = r.S("vertical_align_value", d.vertical_align_value);

    css.FontFamilyList.clear();
    long long allowance = kPlaceholderAllowance;
    const int fonts = r.ListLength(r.I("font_family_count", 1), allowance);
    for (int i = 1; i <= fonts; ++i)
        css.FontFamilyList.push_back(r.S(Indexed("font_family_item_", i), "sans-serif"));
    css.font_size_type = r.S("font_size_type", d.font_size_type);
    css.font_size_value = r.S("font_size_value", d.font_size_value);
    css.font_style = r.S("font_style", d.font_style);
    css.font_variant = r.S("font_variant", d.font_variant);
    css.font_weight = r.S("font_weight", d.font_weight);
    css.color = r.S("color", d.color);
    css.color_selected = r.S("color_selected", d.color_selected);
    css.color_hover = r.S("color_hover", d.color_hover);

    // Same order as the writer: per cell the type, then the value.
    for (int area = 0; area < 3; ++area) {
        for (int side = 0; side < 4; ++side) {
            const auto a = static_cast<BoxArea>(area);
            const auto s = static_cast<BoxSide>(side);
            const int t = TCSS::WidthTypeIndex(a, s), v = TCSS::WidthValueIndex(a, s);
            css.Box[t] = r.S(TCSS::BoxKey(t), TCSS::BoxDefault(t));
            css.Box[v] = r.S(TCSS::BoxKey(v), TCSS::BoxDefault(v));
        }
    }
    for (int i = 24; i < 32; ++i) css.Box[i] = r.S(TCSS::BoxKey(i), TCSS::BoxDefault(i));

    css.background_color = r.S("background_color", d.background_color);
    css.background_color_selected = r.S("background_color_selected", d.background_color_selected);
    css.background_color_hover = r.S("background_color_hover", d.background_color_hover);
}

void WriteCssSection(IniFile& ini, MenuLevel level, const TCSS& css) {
    const SectionWriter w = Rewritten(ini, CssSectionName(level));
    w.S("position", css.position);
    w.S("display", css.display);
    w.S("left_right_direction", css.left_right_direction);
    w.S("left_right_type", css.left_right_type);
    w.S("left_right_value", css.left_right_value);
    w.S("top_bottom_direction", css.top_bottom_direction);
    w.S("top_bottom_type", css.top_bottom_type);
    w.S("top_bottom_value", css.top_bottom_value);
    w.S("width_type", css.width_type);
    w.S("width_value", css.width_value);
    w.S("height_type", css.height_type);
    w.S("height_value", css.height_value);
    w.S("overflow", css.overflow);

    w.S("letter_spacing_type", css.letter_spacing_type);
    w.S("letter_spacing_value", css.letter_spacing_value);
    w.S("line_height_type", css.line_height_type);
    w.S("line_height_value", css.line_height_value);
    w.S("direction", css.direction);
    w.S("text_align", css.text_align);
    w.S("text_indent_type", css.text_indent_type);
    w.S("text_indent_value", css.text_indent_value);
    w.S("text_transform", css.text_transform);
    w.S("white_space", css.white_space);
    w.S("word_spacing_type", css.word_spacing_type);
    w.S("word_spacing_value", css.word_spacing_value);
    w.B("text_decoration_underline", css.text_decoration_underline);
    w.B("text_decoration_overline", css.text_decoration_overline);
    w.B("text_decoration_line_through", css.text_decoration_line_through);
    w.B("text_decoration_blink", css.text_decoration_blink);
    w.B("text_decoration_inherit", css.text_decoration_inherit);
    w.S("vertical_align_type", css.vertical_align_type);
    w.S("vertical_align_value", css.vertical_align_value);

    w.I("font_family_count", static_cast<int>(css.FontFamilyList.size()));
    for (std::size_t i = 0; i < css.FontFamilyList.size(); ++i)
        w.S(Indexed("font_family_item_", static_cast<long long>(i) + 1), css.FontFamilyList[i]);
    w.S("font_size_type", css.font_size_type);
    w.S("font_size_value", css.font_size_value);
    w.S("font_style", css.font_style);
    w.S("font_variant", css.font_variant);
    w.S("font_weight", css.font_weight);
    w.S("color", css.color);
    w.S("color_selected", css.color_selected);
    w.S("color_hover", css.color_hover);

    for (int area = 0; area < 3; ++area) {
        for (int side = 0; side < 4; ++side) {
            const auto a = static_cast<BoxArea>(area);
            const auto s = static_cast<BoxSide>(side);
            const int t = TCSS::WidthTypeIndex(a, s), v = TCSS::WidthValueIndex(a, s);
            w.S(TCSS::BoxKey(t), css.Box[t]);
            w.S(TCSS::BoxKey(v), css.Box[v]);
        }
    }
    for (int i = 24; i < 32; ++i) w.S(TCSS::BoxKey(i), css.Box[i]);

    w.S("background_color", css.background_color);
    w.S("background_color_selected", css.background_color_selected);
    w.S("background_color_hover", css.background_color_hover);
}

void ReadTableSection(const IniFile& ini, Project& p) {
    const SectionReader r{ini, "table"};
    TPrjParams& pp = p.PrjParams;
    TableSettings& t = p.Tables;
    const TableSettings d;
    for (ContentSlot slot : kAllSlots) {
        const std::string P = std::string(SlotName(slot)) + "_";
        SlotTableSettings& s = t.Slot[slot];
        s.content_source = r.I(P + "content_source", kSlotEmptyPages);
        s.template_file = r.S(P + "template_file");
        pp.DatabaseName[slot] = r.S(P + "database");
        pp.TableName[slot] = r.S(P + "table");
        SplitFullTablePath(pp.DatabaseName[slot], pp.TableName[slot]);
        s.name_display.clear();
        s.fields.clear();
        // A kind text this program does not know leaves the slot's kind as it was.
        TableKindFromText(r.S(P + "table_type", "none_table"), pp.TableKind[slot]);
        pp.QuoteChar[slot] = ReadCharKey(ini, r.section, P + "quote_char", '\'');
        pp.SeparatorChar[slot] = ReadCharKey(ini, r.section, P + "seperator_char", ',');
        pp.HasCaptionRow[slot] = r.B(P + "caption", false);
        if (slot == ContentSlot::mainmenu) {
            MainMenuTableSettings& m = t.mainmenu;
            m.col_mainmenu.name = r.S("mainmenu_col_mainmenu");
            m.col_mainmenu.index = r.I("mainmenu_col_index_mainmenu", -1);
            r.Option(m.filename, kNameFromTable, "mainmenu_filename_from_table",
                     d.mainmenu.filename);
            m.from_table_extension =
                r.S("mainmenu_from_table_extension", d.mainmenu.from_table_extension);
            r.Option(m.filename, kNameFromText, "mainmenu_filename_from_text", d.mainmenu.filename);
            m.from_text_text = r.S("mainmenu_from_text_text", d.mainmenu.from_text_text);
            m.from_text_extension =
                r.S("mainmenu_from_text_extension", d.mainmenu.from_text_extension);
        } else if (slot == ContentSlot::submenu) {
            SubMenuTableSettings& m = t.submenu;
            m.col_mainmenu.name = r.S("submenu_col_mainmenu");
            m.col_mainmenu.index = r.I("submenu_col_index_mainmenu", -1);
            m.col_submenu.name = r.S("submenu_col_submenu");
            m.col_submenu.index = r.I("submenu_col_index_submenu", -1);
            r.Option(m.filename, kNameFromTable, "submenu_filename_from_table", d.submenu.filename);
            m.from_table_seperator =
                r.S("submenu_from_table_seperator", d.submenu.from_table_seperator);
            m.from_table_extension =
                r.S("submenu_from_table_extension", d.submenu.from_table_extension);
            r.Option(m.filename, kNameFromText, "submenu_filename_from_text", d.submenu.filename);
            m.from_text_text = r.S("submenu_from_text_text", d.submenu.from_text_text);
            m.from_text_extension =
                r.S("submenu_from_text_extension", d.submenu.from_text_extension);
        }
    }
    t.field_tag_name = r.S("field_tag_name", d.field_tag_name);
    t.record_tag_name = r.S("record_tag_name", d.record_tag_name);
    const int brackets = r.I("tag_item_index", d.tag_item_index);
    // The bracket list has five entries; anything else would leave tags without brackets.
    t.tag_item_index =
        brackets >= kAngleBrackets && brackets <= kGuillemets ? brackets : d.tag_item_index;

    const SectionReader c{ini, "table_convert"};
    t.convert.special_sign_unicode = c.B("special_sign_unicode", d.convert.special_sign_unicode);
    t.convert.tags_unicode = c.B("tags_unicode", d.convert.tags_unicode);
    t.convert.newline_br = c.B("newline_br", d.convert.newline_br);
    t.convert.multispaces = c.B("multispaces", d.convert.multispaces);
    t.convert.tab_to_list = c.B("tab_to_list", d.convert.tab_to_list);
    t.convert.web_to_link = c.B("web_to_link", d.convert.web_to_link);
}

void WriteTableSection(IniFile& ini, const Project& p) {
    const SectionWriter w{ini, "table"};
    const TPrjParams& pp = p.PrjParams;
    const TableSettings& t = p.Tables;
    for (ContentSlot slot : kAllSlots) {
        const std::string P = std::string(SlotName(slot)) + "_";
        const SlotTableSettings& s = t.Slot[slot];
        w.I(P + "content_source", s.content_source);
        w.S(P + "template_file", s.template_file);
        w.S(P + "database", pp.DatabaseName[slot]);
        w.S(P + "table", pp.TableName[slot]);
        w.S(P + "table_type", TableKindText(pp.TableKind[slot]));
        w.S(P + "quote_char", std::string(1, pp.QuoteChar[slot]));
        w.S(P + "seperator_char", std::string(1, pp.SeparatorChar[slot]));
        w.B(P + "caption", pp.HasCaptionRow[slot]);
        if (slot == ContentSlot::mainmenu) {
            const MainMenuTableSettings& m = t.mainmenu;
            w.S("mainmenu_col_mainmenu", m.col_mainmenu.name);
            w.I("mainmenu_col_index_mainmenu", m.col_mainmenu.index);
            w.B("mainmenu_filename_from_table", m.filename.Is(kNameFromTable));
            w.S("mainmenu_from_table_extension", m.from_table_extension);
            w.B("mainmenu_filename_from_text", m.filename.Is(kNameFromText));
            w.S("mainmenu_from_text_text", m.from_text_text);
            w.S("mainmenu_from_text_extension", m.from_text_extension);
        } else if (slot == ContentSlot::submenu) {
            const SubMenuTableSettings& m = t.submenu;
            w.S("submenu_col_mainmenu", m.col_mainmenu.name);
            w.I("submenu_col_index_mainmenu", m.col_mainmenu.index);
            w.S("submenu_col_submenu", m.col_submenu.name);
            w.I("submenu_col_index_submenu", m.col_submenu.index);
            w.B("submenu_filename_from_table", m.filename.Is(kNameFromTable));
            w.S("submenu_from_table_seperator", m.from_table_seperator);
            w.S("submenu_from_table_extension", m.from_table_extension);
            w.B("submenu_filename_from_text", m.filename.Is(kNameFromText));
            w.S("submenu_from_text_text", m.from_text_text);
            w.S("submenu_from_text_extension", m.from_text_extension);
        }
    }
    w.S("field_tag_name", t.field_tag_name);
    w.S("record_tag_name", t.record_tag_name);
    w.I("tag_item_index", t.tag_item_index);

    const SectionWriter c{ini, "table_convert"};
    c.B("special_sign_unicode", t.convert.special_sign_unicode);
    c.B("tags_unicode", t.convert.tags_unicode);
    c.B("newline_br", t.convert.newline_br);
    c.B("multispaces", t.convert.multispaces);
    c.B("tab_to_list", t.convert.tab_to_list);
    c.B("web_to_link", t.convert.web_to_link);
}

void LoadProject(Project& p, const std::string& fileName, FileSystem& fs, Host& host) {
    IniFile ini;
    ini.Load(fs, fileName);  // a file that cannot be read reads as one without keys
    ReadProject(p, ini, fs, host);
}

void ReadProject(Project& p, const IniFile& ini, FileSystem& fs, Host& host) {
    ProjectSettings& s = p.Settings;
    long long allowance = kPlaceholderAllowance;

    s.lastsave = ini.HasKey("project", "lastsave") ? ini.ReadString("project", "lastsave", "")
                                                   : FormatLastSave(host.LocalNow());
    ReadContentPage(ini, s.content_page);
    ReadMenuFrame(ini, s.menu_frame);
    ReadFrameset(ini, s.frameset);
    ReadFrames(ini, s.frames);
    ReadFirstPage(ini, s.firstpage);
    ReadFiles(ini, s.files, fs, host);
    ReadCss(ini, s.css);
    ReadCssSection(ini, kMainMenuLevel, p.PrjParams.Style(kMainMenuLevel));
    ReadCssSection(ini, kSubMenuLevel, p.PrjParams.Style(kSubMenuLevel));
    ReadJavascript(ini, s.javascript);
    ReadSitemap(ini, s.sitemap, allowance);
    ReadMenu(ini, p.MainMenu, allowance);
    ReadTableSection(ini, p);
}

std::string ProjectFileText(const Project& p, std::string_view existing,
                            const std::string& lastsave, const std::string& version) {
    IniFile ini(existing);
    {
        const SectionWriter w = Rewritten(ini, "application");
        w.S("program", "pagloom");
        w.S("version", version.empty() ? "0.0.0" : version);
    }
    Rewritten(ini, "project").S("lastsave", lastsave);
    WriteSettings(ini, p.Settings);
    {
        const auto& c = p.Settings.css;
        const SectionWriter w = Rewritten(ini, "css");
        WriteChoice2(w, c.css, "no-css", "empty-css");
        w.B("overwrite-css", c.overwrite_css);
    }
    WriteCssSection(ini, kMainMenuLevel, p.PrjParams.Style(kMainMenuLevel));
    WriteCssSection(ini, kSubMenuLevel, p.PrjParams.Style(kSubMenuLevel));
    WriteAfterCss(ini, p.Settings);
    WriteMenuList(ini, "menu", &p.MainMenu);
    // Sections of entries beyond the current count stay as they are; the reader ignores them.
    for (int i = 0; i < p.MainMenu.Count(); ++i)
        WriteMenuList(ini, Indexed("submenu_", i), p.MainMenu.Item(i).SubMenu.get());
    WriteTableSection(ini, p);
    return ini.Text();
}

bool SaveProject(const Project& p, const std::string& fileName, FileSystem& fs, Host& host) {
    std::string existing;
    fs.ReadAll(fileName, existing);  // a new file starts from nothing
    // The whole new text is built first and replaces the file in one rename, so a failed save
    // leaves the previous file exactly as it was.
    const std::string text =
        ProjectFileText(p, existing, FormatLastSave(host.LocalNow()), host.ProgramVersion());
    if (!WriteFileAtomic(fs, fileName, text)) {
        host.ShowMessage("In " + fileName + " kann nicht geschrieben werden");
        return false;
    }
    return true;
}

}  // namespace pagloom
