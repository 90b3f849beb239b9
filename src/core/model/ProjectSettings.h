// SPDX-License-Identifier: MIT
// Every setting of the open project, grouped by its project-file section. Member names are the
// project-file keys with '-' written as '_'; choice groups are Choice<N> with the options in the
// order the project reader sets them. Defaults are those of a new project without default.plp.
#pragma once
#include <string>
#include <vector>

#include "model/Choice.h"

namespace pagloom {

// content-page: no-pages, empty-pages, template-pages, dw-template-pages, tab-template-pages
enum ContentSource {
    kNoPages = 0,
    kEmptyPages,
    kTemplatePages,
    kDwTemplatePages,
    kTabTemplatePages
};
// Two-option groups: option 0 is "not written" (no-...), option 1 is "written"
// (empty-.../make-...).
enum OffOn { kOff = 0, kOn = 1 };
// menu-frame: noscript-iframe, noscript-SSI, noscript-PHP
enum NoscriptKind { kNoscriptIFrame = 0, kNoscriptSSI, kNoscriptPHP };

struct ContentPageSettings {
    Choice<5> source{kEmptyPages};
    bool empty_overwrite = false;
    bool empty_titel_is_menu = true;
    bool empty_content_is_menu = true;
    std::string template_file;
    bool template_overwrite = false;
    std::string dw_template_file;
    bool dw_template_update = false;
    bool dw_editable_overwrite = false;
    bool tab_overwrite = false;
    bool tab_dw_editable_overwrite = false;
};

struct MenuFrameSettings {
    Choice<2> frame{kOn};  // no-frame, empty-frame
    bool empty_overwrite = false;
    bool noscript = false;
    Choice<3> noscript_kind{kNoscriptIFrame};
    bool menuetext_tags = true;
};

struct FramesetSettings {
    Choice<2> frameset{kOn};  // no-frameset, empty-frameset
    bool empty_overwrite = true;
    int menuframe_marginwidth = 10;
    int menuframe_marginheight = 10;
    int contentframe_marginwidth = 10;
    int contentframe_marginheight = 10;
    int topframe_marginwidth = 10;
    int topframe_marginheight = 10;
    int bottomframe_marginwidth = 10;
    int bottomframe_marginheight = 10;
    bool frametop = false;
    bool framebottom = false;
    std::string titel = "Homepage";
    int frameoption = 1;       // 0..2, -1 none chosen
    int frameborderwidth = 1;  // 1..10, 0 none chosen
    int menuframe_size = 140;
    int frametop_size = 60;
    int framebottom_size = 60;
};

struct FramesSettings {
    Choice<2> topframe{kOn};  // no-topframe, empty-topframe
    bool overwrite_topframe = false;
    Choice<2> bottomframe{kOn};  // no-bottomframe, empty-bottomframe
    bool overwrite_bottomframe = false;
};

struct FirstPageSettings {
    Choice<2> firstpage{kOn};  // no-firstpage, make-firstpage
    bool overwrite_firstpage = false;
    bool firstpage_from_template = false;
};

struct FilesSettings {
    std::string destination_directory;
    std::string frameset_file = "index.htm";
    std::string stylesheet_file = "index.css";
    std::string javascript_file = "index.js";
    std::string menuframe_file = "menframe.htm";
    std::string starting_page_file = "erste.htm";
    std::string frame_top_file = "oben.htm";
    std::string frame_bottom_file = "unten.htm";
};

struct CssSettings {
    Choice<2> css{kOn};  // no-css, empty-css
    bool overwrite_css = true;
};

struct JavascriptSettings {
    Choice<2> javascript{kOn};  // no-javascript, empty-javascript
    bool overwrite_javascript = true;
};

struct SitemapSettings {
    bool make_sitemap = false;
    std::string filename = "sitemap.xml";
    std::string urltext = "http://";
    bool url = true;
    bool frameset = true;
    bool menuframe = false;
    bool contenframes = true;
    bool firstpage = true;
    bool topframe = false;
    bool bottomframe = false;
    // One entry per line of the extra-files list, blank lines included (they are not stored).
    std::vector<std::string> extra_files;
};

struct ProjectSettings {
    std::string lastsave;  // project/lastsave as read (LastSave)
    ContentPageSettings content_page;
    MenuFrameSettings menu_frame;
    FramesetSettings frameset;
    FramesSettings frames;
    FirstPageSettings firstpage;
    FilesSettings files;
    CssSettings css;
    JavascriptSettings javascript;
    SitemapSettings sitemap;

    // Derived rules that both the windows and the generator ask.
    bool TopFrameWritten() const { return frameset.frametop && frames.topframe.Is(kOn); }
    bool BottomFrameWritten() const { return frameset.framebottom && frames.bottomframe.Is(kOn); }
    bool TablesDrive() const { return content_page.source.Is(kTabTemplatePages); }
};

}  // namespace pagloom
