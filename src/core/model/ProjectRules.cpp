// SPDX-License-Identifier: MIT
#include "model/ProjectRules.h"

namespace pagloom {

bool SlotTableFieldAvailable(int contentSource) {
    return contentSource == kSlotTemplate || contentSource == kSlotDwTemplate;
}

bool SlotTableInUse(const Project& project, ContentSlot slot) {
    const SlotTableSettings& s = project.Tables.Slot[slot];
    return SlotTableFieldAvailable(s.content_source) && !s.name_display.empty();
}

bool RegionOverwriteVisibleFor(const Project& project) {
    const ProjectSettings& s = project.Settings;
    if (s.content_page.source.Is(kDwTemplatePages)) return true;
    if (!s.content_page.source.Is(kTabTemplatePages)) return false;
    return project.Tables.Slot[ContentSlot::mainmenu].content_source == kSlotDwTemplate ||
           project.Tables.Slot[ContentSlot::submenu].content_source == kSlotDwTemplate;
}

bool RegionOverwritePresetFor(const Project& project) {
    const ContentPageSettings& cp = project.Settings.content_page;
    if (cp.source.Is(kDwTemplatePages)) return cp.dw_editable_overwrite;
    if (cp.source.Is(kTabTemplatePages)) return cp.tab_dw_editable_overwrite;
    return false;
}

}  // namespace pagloom
