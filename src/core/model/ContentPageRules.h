// SPDX-License-Identifier: MIT
// Rules about where content pages come from that the options ask before they close.
#pragma once

namespace pagloom {

struct ContentPageSettings;

enum class MissingTemplate { None, Html, Dreamweaver };

// Which template the chosen source needs but the settings do not name.
MissingTemplate MissingTemplateOf(const ContentPageSettings& content);

}  // namespace pagloom
