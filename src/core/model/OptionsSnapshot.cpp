// SPDX-License-Identifier: MIT
#include "model/OptionsSnapshot.h"

#include <utility>

namespace pagloom {
namespace {

// What "Abbruch" keeps as edited: these margins and the menu-text tags switch (see Restore).
// Everything else the snapshot holds is restored.
constexpr int FramesetSettings::*kKeptMargins[] = {
    &FramesetSettings::menuframe_marginwidth,    &FramesetSettings::menuframe_marginheight,
    &FramesetSettings::contentframe_marginwidth, &FramesetSettings::contentframe_marginheight,
    &FramesetSettings::topframe_marginwidth,     &FramesetSettings::topframe_marginheight,
    &FramesetSettings::bottomframe_marginwidth,  &FramesetSettings::bottomframe_marginheight,
};

}  // namespace

OptionsSnapshot::OptionsSnapshot(const Project& project, bool modified)
    : settings_(project.Settings), tables_(project.Tables), modified_(modified) {}

bool OptionsSnapshot::Restore(Project& project) const {
    const ProjectSettings edited = std::exchange(project.Settings, settings_);
    project.Tables = tables_;
    bool keptChanged = false;
    // `restored` holds the snapshot's value: a difference is a change made while the dialog
    // was open.
    auto keep = [&keptChanged](auto& restored, const auto& now) {
        if (restored != now) keptChanged = true;
        restored = now;
    };
    for (int FramesetSettings::*margin : kKeptMargins)
        keep(project.Settings.frameset.*margin, edited.frameset.*margin);
    keep(project.Settings.menu_frame.menuetext_tags, edited.menu_frame.menuetext_tags);
    return modified_ || keptChanged;
}

}  // namespace pagloom
