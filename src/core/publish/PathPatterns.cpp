// SPDX-License-Identifier: MIT
#include "publish/PathPatterns.h"

namespace pagloom {
namespace {

bool Match(std::string_view p, std::string_view s) {
    // Iterative glob with one backtrack point per star kind: linear enough for file names.
    size_t pi = 0, si = 0, starP = std::string_view::npos, starS = 0;
    bool starCrossesSlash = false;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starCrossesSlash = pi + 1 < p.size() && p[pi + 1] == '*';
            pi += starCrossesSlash ? 2 : 1;
            starP = pi;
            starS = si;
        } else if (pi < p.size() && (p[pi] == s[si] || (p[pi] == '?' && s[si] != '/'))) {
            ++pi;
            ++si;
        } else if (starP != std::string_view::npos && (starCrossesSlash || s[starS] != '/')) {
            pi = starP;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name) {
    const size_t slash = name.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    for (const std::string& p : patterns) {
        if (Match(p, name)) return true;
        if (p.find('/') == std::string::npos && Match(p, base)) return true;
    }
    return false;
}

}  // namespace pagloom
