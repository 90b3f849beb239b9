// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>

#include "model/OptionsSnapshot.h"
#include "projectfile/ProjectFile.h"

using namespace pagloom;

namespace {

// The whole project as it would be saved, so a value the restore missed shows as a line.
std::string Saved(const Project& p) { return ProjectFileText(p, "", "x", "1.0.0"); }

// A project that differs from the defaults where the cases edit, so that a restore which
// only resets to defaults is caught.
Project Opened() {
    Project p;
    p.Settings.content_page.source.Select(kDwTemplatePages);
    p.Settings.content_page.dw_template_file = "/vorlagen/a.dwt";
    p.Settings.frameset.menuframe_marginwidth = 4;
    p.Settings.menu_frame.menuetext_tags = false;
    p.Tables.field_tag_name = "FELD";
    p.Tables.convert.web_to_link = true;
    return p;
}

}  // namespace

TEST(OptionsSnapshot, AbbruchRestoresAllButMarginsAndMenuTextTags) {
    using Edit = std::function<void(Project&)>;
    const Edit none = [](Project&) {};
    struct Case {
        const char* name;
        bool markedWhenOpened;
        // What the user changes while the dialog is open, and what of it "Abbruch" leaves.
        Edit edit, left;
        bool markedAfter;
    } cases[] = {
        {"content source and template", false,
         [](Project& p) {
             p.Settings.content_page.source.Select(kTemplatePages);
             p.Settings.content_page.template_file = "b.htm";
         },
         none, false},
        {"menu frame and noscript", false,
         [](Project& p) {
             p.Settings.menu_frame.frame.Select(kOff);
             p.Settings.menu_frame.noscript_kind.Select(kNoscriptPHP);
         },
         none, false},
        {"frameset, frames, first page", false,
         [](Project& p) {
             p.Settings.frameset.frameset.Select(kOff);
             p.Settings.frameset.empty_overwrite = false;
             p.Settings.frames.overwrite_bottomframe = true;
             p.Settings.firstpage.firstpage_from_template = true;
         },
         none, false},
        {"stylesheet, script, sitemap", false,
         [](Project& p) {
             p.Settings.css.css.Select(kOff);
             p.Settings.javascript.overwrite_javascript = false;
             p.Settings.sitemap.make_sitemap = true;
         },
         none, false},
        {"table tags and conversions", false,
         [](Project& p) {
             p.Tables.field_tag_name = "F";
             p.Tables.record_tag_name = "R";
             p.Tables.tag_item_index = kGuillemets;
             p.Tables.convert.web_to_link = false;
         },
         none, false},
        // Copied whole: a setting the dialog does not show today is restored all the same.
        {"setting outside the dialog", false,
         [](Project& p) {
             p.Settings.files.stylesheet_file = "x.css";
             p.Tables.mainmenu.from_text_text = "seite";
         },
         none, false},
        {"mark set when opened stays", true,
         [](Project& p) { p.Settings.css.overwrite_css = false; }, none, true},
        {"a margin is kept and marks the project", false,
         [](Project& p) { p.Settings.frameset.bottomframe_marginheight = 0; },
         [](Project& p) { p.Settings.frameset.bottomframe_marginheight = 0; }, true},
        {"the menu-text tags switch is kept and marks the project", false,
         [](Project& p) { p.Settings.menu_frame.menuetext_tags = true; },
         [](Project& p) { p.Settings.menu_frame.menuetext_tags = true; }, true},
        {"kept and restored at once", false,
         [](Project& p) {
             p.Settings.frameset.menuframe_marginwidth = 25;
             p.Settings.frameset.frameset.Select(kOff);
         },
         [](Project& p) { p.Settings.frameset.menuframe_marginwidth = 25; }, true},
        {"a margin changed and changed back is no change", false,
         [](Project& p) {
             p.Settings.frameset.topframe_marginwidth = 99;
             p.Settings.frameset.topframe_marginwidth = 10;
         },
         none, false},
    };
    for (const Case& c : cases) {
        Project p = Opened();
        const OptionsSnapshot snapshot(p, c.markedWhenOpened);
        c.edit(p);
        const bool marked = snapshot.Restore(p);

        Project expected = Opened();
        c.left(expected);
        EXPECT_EQ(Saved(p), Saved(expected)) << c.name;
        EXPECT_EQ(marked, c.markedAfter) << c.name;
    }
}
