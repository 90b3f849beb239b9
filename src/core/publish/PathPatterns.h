// SPDX-License-Identifier: MIT
// The patterns of a publishing target ("exclude", "protect") against names relative to the
// site's folder.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

// Whether a name relative to the site's folder ("bilder/logo.gif") matches one of the patterns:
// '*' any run of characters but '/', "**" any run at all, '?' one character but '/'. A pattern
// without '/' is matched against the last part of the name as well.
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name);

}  // namespace pagloom
