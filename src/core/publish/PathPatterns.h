// SPDX-License-Identifier: MIT
// The patterns of a target's `exclude` and `protect`: which files of the site stay at home and
// which files on the server publishing never replaces or deletes. Names are relative to the site
// or remote folder, parts joined by '/'.
//
//   *      any run of characters but '/'
//   **     any run of characters, '/' included
//   **/    at the start or after a '/': any number of folders, none included, so
//          "daten/**/x.csv" takes daten/x.csv as well as daten/2024/q1/x.csv
//   ?      one character but '/'
//
// Characters match as they are (case counts). A pattern without '/' is also tried on the last
// part of the name, so "*.bak" takes a.bak and a/b/c.bak. A pattern with '/' is matched against
// the whole name; a leading '/' only says so ("/index.htm" is the top one), and a trailing '/'
// takes everything inside the folder ("entwurf/" is "entwurf/**").
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pagloom {

bool MatchesPublishPattern(std::string_view pattern, std::string_view name);
bool MatchesAnyPublishPattern(const std::vector<std::string>& patterns, std::string_view name);

}  // namespace pagloom
