// SPDX-License-Identifier: MIT
#include "publish/PathPatterns.h"

#include <algorithm>

namespace pagloom {
namespace {

// Walks the pattern once, keeping the set of name positions the pattern read so far can end
// at: time is the pattern's length times the name's, whatever stars the pattern holds, where a
// backtracking matcher can take exponential time on "*a*a*a*a*b".
bool Match(std::string_view p, std::string_view s) {
    const size_t n = s.size();
    std::vector<char> at(n + 1, 0), next(n + 1, 0);
    at[0] = 1;
    size_t i = 0;
    while (i < p.size()) {
        std::fill(next.begin(), next.end(), 0);
        if (p[i] == '*') {
            size_t stars = 1;
            while (i + stars < p.size() && p[i + stars] == '*') ++stars;
            const bool folders = stars >= 2 && (i == 0 || p[i - 1] == '/') &&
                                 i + stars < p.size() && p[i + stars] == '/';
            if (folders) {
                // "**/": nothing, or any run that ends with a '/'.
                bool seen = false;
                for (size_t j = 0; j <= n; ++j) {
                    next[j] = at[j] || (seen && s[j - 1] == '/');
                    seen = seen || at[j];
                }
                i += stars + 1;
            } else if (stars >= 2) {
                bool seen = false;
                for (size_t j = 0; j <= n; ++j) next[j] = seen = seen || at[j];
                i += stars;
            } else {
                bool open = false;  // a run started and no '/' since
                for (size_t j = 0; j <= n; ++j) {
                    open = open || at[j];
                    next[j] = open;
                    if (j < n && s[j] == '/') open = false;
                }
                i += 1;
            }
        } else {
            const char c = p[i];
            for (size_t j = 0; j < n; ++j)
                next[j + 1] = at[j] && (c == '?' ? s[j] != '/' : s[j] == c);
            i += 1;
        }
        at.swap(next);
        if (std::find(at.begin(), at.end(), 1) == at.end()) return false;
    }
    return at[n];
}

}  // namespace

bool MatchesPublishPattern(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) return false;
    std::string p(pattern);
    if (p.front() == '/') p.erase(0, 1);
    if (!p.empty() && p.back() == '/') p += "**";
    if (pattern.find('/') != std::string_view::npos) return Match(p, name);
    const size_t slash = name.rfind('/');
    return Match(p, name) || (slash != std::string_view::npos && Match(p, name.substr(slash + 1)));
}

bool MatchesAnyPublishPattern(const std::vector<std::string>& patterns, std::string_view name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& p) { return MatchesPublishPattern(p, name); });
}

}  // namespace pagloom
