// SPDX-License-Identifier: MIT
// What the fuzz targets share: the test fakes' file system held in memory (so every reader sees
// the fuzzed bytes through the same seam as real files, and no run touches the disk) and silent
// host, and a way to cut one input into several files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Fakes.h"

namespace pagloom::fuzz {

// The fakes, with the fuzz targets' folder "/fuzz" made and taken as the program's folder.
class MemoryFs : public pagloom::MemoryFs {
  public:
    MemoryFs() { folders.push_back("/fuzz"); }
};

class QuietHost : public pagloom::QuietHost {
  public:
    explicit QuietHost(Answer answer = Answer::Yes) : pagloom::QuietHost(answer, "/fuzz") {}
};

// Cuts an input into parts at each occurrence of `separator`; a separator that never occurs
// leaves the whole input as the one part. Lets one input carry a table with its memo file, or
// a page with its template.
inline std::vector<std::string_view> SplitInput(const uint8_t* data, size_t size,
                                                std::string_view separator) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = all.find(separator);
        if (at == std::string_view::npos) break;
        parts.push_back(all.substr(0, at));
        all.remove_prefix(at + separator.size());
    }
    parts.push_back(all);
    return parts;
}

}  // namespace pagloom::fuzz
