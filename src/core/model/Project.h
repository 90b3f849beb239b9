// SPDX-License-Identifier: MIT
// The open project: settings, menu, table sources with the style records, and the table
// settings. Default-constructed it holds the settings of a new project made without default.plp.
// The windows ask the functions below what to show after loading, so GUI and CLI agree.
#pragma once
#include "model/ProjectSettings.h"
#include "model/PublishTarget.h"
#include "model/TPrjParams.h"
#include "model/TWebMenu.h"
#include "model/TableSettings.h"

namespace pagloom {

struct Project {
    ProjectSettings Settings;
    TWebMenu MainMenu;
    TPrjParams PrjParams;
    TableSettings Tables;
    // Where the built site is published ([publish]); never a password.
    PublishTarget Publish;
};

// Main window tabs the project decides on. After loading, the first tab ("Zielverzeichnis") is
// the selected one.
inline constexpr int kFirstTabIndex = 0;
// "Tabelle" is shown exactly when content pages come from tables; "Navigation" otherwise.
inline bool ShowsTableTab(const Project& p) { return p.Settings.TablesDrive(); }
inline bool ShowsNavigationTab(const Project& p) { return !p.Settings.TablesDrive(); }
// "Sitemap" is shown exactly when a sitemap is made.
inline bool ShowsSitemapTab(const Project& p) { return p.Settings.sitemap.make_sitemap; }
// The border-width list and its label are shown unless border option 0 is chosen (with no
// option chosen, -1, it stays visible).
inline bool BorderWidthListVisible(const Project& p) {
    return p.Settings.frameset.frameoption != 0;
}
// Controls of the top and the bottom frame follow the frameset layout.
inline bool TopFrameControlsVisible(const Project& p) { return p.Settings.frameset.frametop; }
inline bool BottomFrameControlsVisible(const Project& p) { return p.Settings.frameset.framebottom; }
// The frame border actually written: with no option chosen the frameset is written as for 0.
inline int EffectiveFrameOption(const Project& p) {
    int o = p.Settings.frameset.frameoption;
    return o >= 0 && o <= 2 ? o : 0;
}

}  // namespace pagloom
