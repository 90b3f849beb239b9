// SPDX-License-Identifier: MIT
// Rules of a project that both the windows and the generator ask, so they always agree: whether
// a slot's table is in use, and whether (and how) the build dialog offers to overwrite the
// editable regions of Dreamweaver pages.
#pragma once
#include "model/Project.h"

namespace pagloom {

// A level's table field is offered for sources 2 "Standard-Vorlage" and 3 "Dreamweaver-Vorlage".
bool SlotTableFieldAvailable(int contentSource);

// A level's table is in use when its table field is available and its name display is not
// empty (a table was opened for it).
bool SlotTableInUse(const Project& project, ContentSlot slot);

// Whether the region choice is shown for this project: pages from a Dreamweaver template, or
// from tables with a Dreamweaver template for the main menu or the sub-menu.
bool RegionOverwriteVisibleFor(const Project& project);

// The region choice each time the build dialog shows it (only meaningful while visible): off,
// then the project's dw-editable-overwrite for Dreamweaver pages, tab-dw-editable-overwrite
// for table pages.
bool RegionOverwritePresetFor(const Project& project);

}  // namespace pagloom
