// SPDX-License-Identifier: MIT
#include "projectfile/ProjectFile.h"

#include <algorithm>
#include <cstdio>

#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "io/UserFile.h"
#include "projectfile/PublishSection.h"
#include "projectfile/SectionKeys.h"

namespace pagloom {

namespace {

using keys::Key;
using keys::Opt;

// Missing keys of a list give placeholder entries. A damaged file could claim billions of them;
// every list may hold this many more entries than the file has keys, so loading stays bounded.
constexpr long long kPlaceholderAllowance = 10000;

std::string Indexed(std::string_view prefix, long long i) {
    return std::string(prefix) + std::to_string(i);
}

// --- the key tables, each in the order the keys are written ------------------------------------

template <class R>
using Table = std::vector<Key<R>>;

const Table<ContentPageSettings>& ContentPageKeys() {
    using R = ContentPageSettings;
    static const Table<R> keys{
        {"no-pages", Opt(&R::source, kNoPages)},
        {"empty-pages", Opt(&R::source, kEmptyPages)},
        {"empty-overwrite", &R::empty_overwrite},
        {"empty-titel-is-menu", &R::empty_titel_is_menu},
        {"empty-content-is-menu", &R::empty_content_is_menu},
        {"template-pages", Opt(&R::source, kTemplatePages)},
        {"template-file", &R::template_file},
        {"template-overwrite", &R::template_overwrite},
        {"dw-template-pages", Opt(&R::source, kDwTemplatePages)},
        {"dw-template-file", &R::dw_template_file},
        {"dw-template-update", &R::dw_template_update},
        {"dw-editable-overwrite", &R::dw_editable_overwrite},
        {"tab-template-pages", Opt(&R::source, kTabTemplatePages)},
        {"tab-overwrite", &R::tab_overwrite},
        {"tab-dw-editable-overwrite", &R::tab_dw_editable_overwrite},
    };
    return keys;
}

const Table<MenuFrameSettings>& MenuFrameKeys() {
    using R = MenuFrameSettings;
    static const Table<R> keys{
        {"no-frame", Opt(&R::frame, kOff)},
        {"empty-frame", Opt(&R::frame, kOn)},
        {"empty-overwrite", &R::empty_overwrite},
        {"noscript", &R::noscript},
        {"noscript-iframe", Opt(&R::noscript_kind, kNoscriptIFrame)},
        {"noscript-SSI", Opt(&R::noscript_kind, kNoscriptSSI)},
        {"noscript-PHP", Opt(&R::noscript_kind, kNoscriptPHP)},
        {"menuetext-tags", &R::menuetext_tags},
    };
    return keys;
}

const Table<FramesetSettings>& FramesetKeys() {
    using R = FramesetSettings;
    static const Table<R> keys{
        {"no-frameset", Opt(&R::frameset, kOff)},
        {"empty-frameset", Opt(&R::frameset, kOn)},
        {"empty-overwrite", &R::empty_overwrite},
        {"menuframe-marginwidth", &R::menuframe_marginwidth},
        {"menuframe-marginheight", &R::menuframe_marginheight},
        {"contentframe-marginwidth", &R::contentframe_marginwidth},
        {"contentframe-marginheight", &R::contentframe_marginheight},
        {"topframe-marginwidth", &R::topframe_marginwidth},
        {"topframe-marginheight", &R::topframe_marginheight},
        {"bottomframe-marginwidth", &R::bottomframe_marginwidth},
        {"bottomframe-marginheight", &R::bottomframe_marginheight},
        {"frametop", &R::frametop},
        {"framebottom", &R::framebottom},
        {"titel", &R::titel},
        // Positions in the option lists; anything else means "none chosen".
        {"frameoption", keys::Ranged<R>{&R::frameoption, 0, 2, -1}},
        {"frameborderwidth", keys::Ranged<R>{&R::frameborderwidth, 1, 10, 0}},
        {"menuframe-size", &R::menuframe_size},
        {"frametop-size", &R::frametop_size},
        {"framebottom-size", &R::framebottom_size},
    };
    return keys;
}

const Table<FramesSettings>& FramesKeys() {
    using R = FramesSettings;
    static const Table<R> keys{
        {"no-topframe", Opt(&R::topframe, kOff)},
        {"empty-topframe", Opt(&R::topframe, kOn)},
        {"overwrite-topframe", &R::overwrite_topframe},
        {"no-bottomframe", Opt(&R::bottomframe, kOff)},
        {"empty-bottomframe", Opt(&R::bottomframe, kOn)},
        {"overwrite-bottomframe", &R::overwrite_bottomframe},
    };
    return keys;
}

const Table<FirstPageSettings>& FirstPageKeys() {
    using R = FirstPageSettings;
    static const Table<R> keys{
        {"no-firstpage", Opt(&R::firstpage, kOff)},
        {"make-firstpage", Opt(&R::firstpage, kOn)},
        {"overwrite-firstpage", &R::overwrite_firstpage},
        {"firstpage-from-template", &R::firstpage_from_template},
    };
    return keys;
}

const Table<FilesSettings>& FilesKeys() {
    using R = FilesSettings;
    static const Table<R> keys{
        {"destination-directory", &R::destination_directory},
        {"frameset-file", &R::frameset_file},
        {"stylesheet-file", &R::stylesheet_file},
        {"javascript-file", &R::javascript_file},
        {"menuframe-file", &R::menuframe_file},
        {"starting-page-file", &R::starting_page_file},
        {"frame-top-file", &R::frame_top_file},
        {"frame-bottom-file", &R::frame_bottom_file},
    };
    return keys;
}

const Table<CssSettings>& CssKeys() {
    using R = CssSettings;
    static const Table<R> keys{
        {"no-css", Opt(&R::css, kOff)},
        {"empty-css", Opt(&R::css, kOn)},
        {"overwrite-css", &R::overwrite_css},
    };
    return keys;
}

const Table<JavascriptSettings>& JavascriptKeys() {
    using R = JavascriptSettings;
    static const Table<R> keys{
        {"no-javascript", Opt(&R::javascript, kOff)},
        {"empty-javascript", Opt(&R::javascript, kOn)},
        {"overwrite-javascript", &R::overwrite_javascript},
    };
    return keys;
}

const Table<SitemapSettings>& SitemapKeys() {
    using R = SitemapSettings;
    static const Table<R> keys{
        {"make-sitemap", &R::make_sitemap},
        {"filename", &R::filename},
        {"urltext", &R::urltext},
        {"url", &R::url},
        {"frameset", &R::frameset},
        {"menuframe", &R::menuframe},
        {"contenframes", &R::contenframes},
        {"firstpage", &R::firstpage},
        {"topframe", &R::topframe},
        {"bottomframe", &R::bottomframe},
        {"extra-files-count", keys::TextList<R>{&R::extra_files, "extra-files_", 0, "", true}},
    };
    return keys;
}

// css_1 and css_2. The box group's keys are named by TCSS::BoxKey; per cell the type comes
// before the value.
const Table<TCSS>& StyleKeys() {
    using R = TCSS;
    static const Table<R> keys = [] {
        Table<R> k{
            {"position", &R::position},
            {"display", &R::display},
            {"left_right_direction", &R::left_right_direction},
            {"left_right_type", &R::left_right_type},
            {"left_right_value", &R::left_right_value},
            {"top_bottom_direction", &R::top_bottom_direction},
            {"top_bottom_type", &R::top_bottom_type},
            {"top_bottom_value", &R::top_bottom_value},
            {"width_type", &R::width_type},
            {"width_value", &R::width_value},
            {"height_type", &R::height_type},
            {"height_value", &R::height_value},
            {"overflow", &R::overflow},

            {"letter_spacing_type", &R::letter_spacing_type},
            {"letter_spacing_value", &R::letter_spacing_value},
            {"line_height_type", &R::line_height_type},
            {"line_height_value", &R::line_height_value},
            {"direction", &R::direction},
            {"text_align", &R::text_align},
            {"text_indent_type", &R::text_indent_type},
            {"text_indent_value", &R::text_indent_value},
            {"text_transform", &R::text_transform},
            {"white_space", &R::white_space},
            {"word_spacing_type", &R::word_spacing_type},
            {"word_spacing_value", &R::word_spacing_value},
            {"text_decoration_underline", &R::text_decoration_underline},
            {"text_decoration_overline", &R::text_decoration_overline},
            {"text_decoration_line_through", &R::text_decoration_line_through},
            {"text_decoration_blink", &R::text_decoration_blink},
            {"text_decoration_inherit", &R::text_decoration_inherit},
            {"vertical_align_type", &R::vertical_align_type},
            {"vertical_align_value", &R::vertical_align_value},

            {"font_family_count",
             keys::TextList<R>{&R::FontFamilyList, "font_family_item_", 1, "sans-serif", false}},
            {"font_size_type", &R::font_size_type},
            {"font_size_value", &R::font_size_value},
            {"font_style", &R::font_style},
            {"font_variant", &R::font_variant},
            {"font_weight", &R::font_weight},
            {"color", &R::color},
            {"color_selected", &R::color_selected},
            {"color_hover", &R::color_hover},
        };
        const auto box = [&k](int i) {
            k.push_back({TCSS::BoxKey(i), keys::Element<R>{&R::Box, i}});
        };
        for (int area = 0; area < 3; ++area) {
            for (int side = 0; side < 4; ++side) {
                const auto a = static_cast<BoxArea>(area);
                const auto s = static_cast<BoxSide>(side);
                box(TCSS::WidthTypeIndex(a, s));
                box(TCSS::WidthValueIndex(a, s));
            }
        }
        for (int i = 24; i < 32; ++i) box(i);
        k.push_back({"background_color", &R::background_color});
        k.push_back({"background_color_selected", &R::background_color_selected});
        k.push_back({"background_color_hover", &R::background_color_hover});
        return k;
    }();
    return keys;
}

// Section `table`: per slot (keys prefixed "<slot>_") what its pages are made of, then its
// table source; after the main-menu and sub-menu slots their page-name keys.
const Table<SlotTableSettings>& SlotKeys() {
    using R = SlotTableSettings;
    static const Table<R> keys{
        {"content_source", &R::content_source},
        {"template_file", &R::template_file},
    };
    return keys;
}

const Table<TPrjParams>& SlotSourceKeys() {
    using R = TPrjParams;
    static const Table<R> keys{
        {"database", &R::DatabaseName},
        {"table", &R::TableName},
        {"table_type", &R::TableKind},
        {"quote_char", &R::QuoteChar},
        {"seperator_char", &R::SeparatorChar},
        {"caption", &R::HasCaptionRow},
        {"blanks_in_values", keys::LaterFlag<R>{&R::BlanksInValues}},
    };
    return keys;
}

const Table<MainMenuTableSettings>& MainMenuTableKeys() {
    using R = MainMenuTableSettings;
    static const Table<R> keys{
        {"col_mainmenu", keys::ColumnName<R>{&R::col_mainmenu}},
        {"col_index_mainmenu", keys::ColumnIndex<R>{&R::col_mainmenu}},
        {"filename_from_table", Opt(&R::filename, kNameFromTable)},
        {"from_table_extension", &R::from_table_extension},
        {"filename_from_text", Opt(&R::filename, kNameFromText)},
        {"from_text_text", &R::from_text_text},
        {"from_text_extension", &R::from_text_extension},
    };
    return keys;
}

const Table<SubMenuTableSettings>& SubMenuTableKeys() {
    using R = SubMenuTableSettings;
    static const Table<R> keys{
        {"col_mainmenu", keys::ColumnName<R>{&R::col_mainmenu}},
        {"col_index_mainmenu", keys::ColumnIndex<R>{&R::col_mainmenu}},
        {"col_submenu", keys::ColumnName<R>{&R::col_submenu}},
        {"col_index_submenu", keys::ColumnIndex<R>{&R::col_submenu}},
        {"filename_from_table", Opt(&R::filename, kNameFromTable)},
        {"from_table_seperator", &R::from_table_seperator},
        {"from_table_extension", &R::from_table_extension},
        {"filename_from_text", Opt(&R::filename, kNameFromText)},
        {"from_text_text", &R::from_text_text},
        {"from_text_extension", &R::from_text_extension},
    };
    return keys;
}

const Table<TableSettings>& TableTailKeys() {
    using R = TableSettings;
    static const Table<R> keys{
        {"field_tag_name", &R::field_tag_name},
        {"record_tag_name", &R::record_tag_name},
        // The bracket list has five entries; anything else would leave tags without brackets.
        // Written as it stands, read back as angle brackets.
        {"tag_item_index",
         keys::Ranged<R>{&R::tag_item_index, kAngleBrackets, kGuillemets, kAngleBrackets, true}},
    };
    return keys;
}

const Table<TableConvertSettings>& TableConvertKeys() {
    using R = TableConvertSettings;
    static const Table<R> keys{
        {"special_sign_unicode", &R::special_sign_unicode},
        {"tags_unicode", &R::tags_unicode},
        {"newline_br", &R::newline_br},
        {"multispaces", &R::multispaces},
        {"tab_to_list", &R::tab_to_list},
        {"web_to_link", &R::web_to_link},
    };
    return keys;
}

// --- walking the tables -------------------------------------------------------------------

template <class R>
void ReadSection(const IniFile& ini, std::string section, const Table<R>& keys, R& out,
                 long long& allowance) {
    keys::ReadKeys(ini, keys::Place{std::move(section), ""}, keys, out, allowance);
}

// A section written whole: emptied first so it holds exactly the keys written now.
template <class R>
void RewriteSection(IniFile& ini, std::string section, const Table<R>& keys, const R& in) {
    ini.ClearSection(section);
    keys::WriteKeys(ini, keys::Place{std::move(section), ""}, keys, in);
}

// One menu level: `count` entries, each key missing giving its placeholder.
void ReadMenuList(const IniFile& ini, const std::string& section, bool mainLevel, TWebMenu& menu,
                  long long& allowance) {
    const int n = keys::ListLength(ini, section, ini.ReadInteger(section, "count", 0), allowance);
    for (int i = 0; i < n; ++i) {
        const std::string idx = std::to_string(i);
        std::string text = ini.ReadString(section, "text_" + idx, "text_" + idx);
        std::string file = ini.ReadString(section, "file_" + idx, "datei_" + idx);
        const bool active = ini.ReadBool(section, "aktiv_" + idx, true);
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

void WriteMenuList(IniFile& ini, const std::string& section, const TWebMenu* menu) {
    ini.ClearSection(section);
    const int n = menu ? menu->Count() : 0;
    ini.WriteInteger(section, "count", n);
    for (int i = 0; i < n; ++i) {
        const TWebMenuItem& item = menu->Item(i);
        const std::string idx = std::to_string(i);
        ini.WriteString(section, "text_" + idx, item.Text);
        ini.WriteString(section, "file_" + idx, item.FileName);
        ini.WriteBool(section, "aktiv_" + idx, item.Active);
    }
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

}  // namespace

std::string FormatLastSave(const std::tm& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::string CssSectionName(MenuLevel level) { return level == kSubMenuLevel ? "css_2" : "css_1"; }

void ReadCssSection(const IniFile& ini, MenuLevel level, TCSS& css) {
    long long allowance = kPlaceholderAllowance;
    ReadSection(ini, CssSectionName(level), StyleKeys(), css, allowance);
    // A static position has no direction or type of its own, whatever the file says.
    css.ApplyStaticPosition();
}

void WriteCssSection(IniFile& ini, MenuLevel level, const TCSS& css) {
    RewriteSection(ini, CssSectionName(level), StyleKeys(), css);
}

void ReadTableSection(const IniFile& ini, Project& p) {
    long long allowance = kPlaceholderAllowance;  // the section has no lists
    TPrjParams& pp = p.PrjParams;
    TableSettings& t = p.Tables;
    for (ContentSlot slot : kAllSlots) {
        const keys::Place at{"table", std::string(SlotName(slot)) + "_", slot};
        SlotTableSettings& s = t.Slot[slot];
        keys::ReadKeys(ini, at, SlotKeys(), s, allowance);
        keys::ReadKeys(ini, at, SlotSourceKeys(), pp, allowance);
        SplitFullTablePath(pp.DatabaseName[slot], pp.TableName[slot]);
        s.name_display.clear();
        s.fields.clear();
        if (slot == ContentSlot::mainmenu)
            keys::ReadKeys(ini, at, MainMenuTableKeys(), t.mainmenu, allowance);
        else if (slot == ContentSlot::submenu)
            keys::ReadKeys(ini, at, SubMenuTableKeys(), t.submenu, allowance);
    }
    ReadSection(ini, "table", TableTailKeys(), t, allowance);
    ReadSection(ini, "table_convert", TableConvertKeys(), t.convert, allowance);
}

void WriteTableSection(IniFile& ini, const Project& p) {
    const TPrjParams& pp = p.PrjParams;
    const TableSettings& t = p.Tables;
    for (ContentSlot slot : kAllSlots) {
        const keys::Place at{"table", std::string(SlotName(slot)) + "_", slot};
        keys::WriteKeys(ini, at, SlotKeys(), t.Slot[slot]);
        keys::WriteKeys(ini, at, SlotSourceKeys(), pp);
        if (slot == ContentSlot::mainmenu)
            keys::WriteKeys(ini, at, MainMenuTableKeys(), t.mainmenu);
        else if (slot == ContentSlot::submenu)
            keys::WriteKeys(ini, at, SubMenuTableKeys(), t.submenu);
    }
    keys::WriteKeys(ini, keys::Place{"table", ""}, TableTailKeys(), t);
    keys::WriteKeys(ini, keys::Place{"table_convert", ""}, TableConvertKeys(), t.convert);
}

std::string ProjectUnreadableMessage(const std::string& fileName) {
    return "Die Projektdatei " + fileName + " kann nicht gelesen werden!";
}

std::string ProjectMissingMessage(const std::string& fileName) {
    return "Die Projektdatei " + fileName + " existiert nicht!" + WindowsPathNote(fileName);
}

std::string NotAProjectMessage(const std::string& fileName) {
    return fileName + " ist keine Projektdatei!";
}

bool LoadProject(Project& p, const std::string& fileName, FileSystem& fs, Host& host,
                 std::optional<FileStamp>* stamp) {
    // A folder, a pipe or a device under the name is no project: read as the defaults, it would
    // be built over an existing site or saved over with them.
    if (!fs.FileExists(fileName) && fs.Exists(fileName)) {
        host.ShowMessage(NotAProjectMessage(fileName));
        return false;
    }
    std::string text;
    // Reading an unreadable file as an empty one would put the defaults in its place, and the
    // next save or build would overwrite the user's work with them.
    if (fs.Read(fileName, text) == FileSystem::ReadState::Unreadable) {
        host.ShowMessage(ProjectUnreadableMessage(fileName));
        return false;
    }
    IniFile ini(text);
    // The same for a file of another kind (a table, a picture): it has no section at all.
    const bool blank = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    if (!ini.HasAnySection() && !blank) {
        host.ShowMessage(NotAProjectMessage(fileName));
        return false;
    }
    ReadProject(p, ini, fs, host);
    if (stamp) *stamp = StampOf(text);
    return true;
}

void ReadProject(Project& p, const IniFile& ini, FileSystem& fs, Host& host) {
    ProjectSettings& s = p.Settings;
    long long allowance = kPlaceholderAllowance;

    s.lastsave = ini.HasKey("project", "lastsave") ? ini.ReadString("project", "lastsave", "")
                                                   : FormatLastSave(host.LocalNow());
    ReadSection(ini, "content-page", ContentPageKeys(), s.content_page, allowance);
    ReadSection(ini, "menu-frame", MenuFrameKeys(), s.menu_frame, allowance);
    ReadSection(ini, "frameset", FramesetKeys(), s.frameset, allowance);
    ReadSection(ini, "frames", FramesKeys(), s.frames, allowance);
    ReadSection(ini, "firstpage", FirstPageKeys(), s.firstpage, allowance);
    ReadSection(ini, "files", FilesKeys(), s.files, allowance);
    std::string& dir = s.files.destination_directory;
    if (!fs.DirectoryExists(dir)) {
        if (!dir.empty())
            host.ShowMessage("Das Verzeichnis " + dir + " existiert nicht!" + WindowsPathNote(dir));
        dir.clear();
    }
    ReadSection(ini, "css", CssKeys(), s.css, allowance);
    ReadCssSection(ini, kMainMenuLevel, p.PrjParams.Style(kMainMenuLevel));
    ReadCssSection(ini, kSubMenuLevel, p.PrjParams.Style(kSubMenuLevel));
    ReadSection(ini, "javascript", JavascriptKeys(), s.javascript, allowance);
    ReadSection(ini, "sitemap", SitemapKeys(), s.sitemap, allowance);
    ReadMenu(ini, p.MainMenu, allowance);
    ReadTableSection(ini, p);
    p.Publish = ReadPublishSection(ini);
}

std::string ProjectFileText(const Project& p, std::string_view existing,
                            const std::string& lastsave, const std::string& version) {
    IniFile ini(existing);
    ini.ClearSection("application");
    ini.WriteString("application", "program", "pagloom");
    ini.WriteString("application", "version", version.empty() ? "0.0.0" : version);
    ini.ClearSection("project");
    ini.WriteString("project", "lastsave", lastsave);
    const ProjectSettings& s = p.Settings;
    RewriteSection(ini, "content-page", ContentPageKeys(), s.content_page);
    RewriteSection(ini, "menu-frame", MenuFrameKeys(), s.menu_frame);
    RewriteSection(ini, "frameset", FramesetKeys(), s.frameset);
    RewriteSection(ini, "frames", FramesKeys(), s.frames);
    RewriteSection(ini, "firstpage", FirstPageKeys(), s.firstpage);
    // An old name of this section; left in place it would shadow nothing but confuse. The
    // section itself is written over, so keys of other programs in it stay.
    ini.EraseSection("Dateien");
    keys::WriteKeys(ini, keys::Place{"files", ""}, FilesKeys(), s.files);
    RewriteSection(ini, "css", CssKeys(), s.css);
    WriteCssSection(ini, kMainMenuLevel, p.PrjParams.Style(kMainMenuLevel));
    WriteCssSection(ini, kSubMenuLevel, p.PrjParams.Style(kSubMenuLevel));
    RewriteSection(ini, "javascript", JavascriptKeys(), s.javascript);
    RewriteSection(ini, "sitemap", SitemapKeys(), s.sitemap);
    WriteMenuList(ini, "menu", &p.MainMenu);
    // Sections of entries beyond the current count stay as they are; the reader ignores them.
    for (int i = 0; i < p.MainMenu.Count(); ++i)
        WriteMenuList(ini, Indexed("submenu_", i), p.MainMenu.Item(i).SubMenu.get());
    WriteTableSection(ini, p);
    WritePublishSection(ini, p.Publish);
    return ini.Text();
}

bool SaveProject(const Project& p, const std::string& fileName, FileSystem& fs, Host& host,
                 std::optional<FileStamp>* stamp) {
    // The whole new text is built first and replaces the file in one rename, so a failed save
    // leaves the previous file exactly as it was.
    const auto text = [&](std::string_view existing) {
        return ProjectFileText(p, existing, FormatLastSave(host.LocalNow()), host.ProgramVersion());
    };
    switch (SaveUserFile(fs, host, fileName, text, stamp)) {
        case UserSave::Saved:
            return true;
        case UserSave::Declined:
            return false;
        case UserSave::Failed:
            break;
    }
    host.ShowMessage("In " + fileName + " kann nicht geschrieben werden");
    return false;
}

}  // namespace pagloom
