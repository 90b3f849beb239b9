// SPDX-License-Identifier: MIT
#include "publish/RemoteNames.h"

#include <cstdio>
#include <string>

#include "publish/Manifest.h"

namespace pagloom {

bool IsPlainRelativeName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '\\') return false;
    }
    size_t start = 0;
    for (;;) {
        const size_t slash = name.find('/', start);
        const std::string_view part = name.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (part.empty() || part == "." || part == ".." || part == kManifestName) return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

bool IsOwnTempName(std::string_view name) {
    if (!IsPlainRelativeName(name)) return false;
    const size_t slash = name.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    return last.size() > kOwnTempPrefix.size() && last.starts_with(kOwnTempPrefix);
}

std::string ShownName(std::string_view name) {
    constexpr size_t kLongest = 200;
    std::string out;
    for (size_t i = 0; i < name.size() && i < kLongest; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (name.size() > kLongest) out += '\x85';  // the ellipsis
    return out;
}

}  // namespace pagloom
