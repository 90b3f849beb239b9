// SPDX-License-Identifier: MIT
#include "model/ContentPageRules.h"

#include "model/ProjectSettings.h"

namespace pagloom {

MissingTemplate MissingTemplateOf(const ContentPageSettings& content) {
    if (content.source.Is(kTemplatePages) && content.template_file.empty())
        return MissingTemplate::Html;
    if (content.source.Is(kDwTemplatePages) && content.dw_template_file.empty())
        return MissingTemplate::Dreamweaver;
    return MissingTemplate::None;
}

}  // namespace pagloom
