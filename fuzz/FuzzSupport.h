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
#include <unordered_set>
#include <vector>

#include "Fakes.h"
#include "tables/RowStore.h"

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

// Whether a table read from `inputSize` bytes holds memory in proportion to them: a value per
// record byte at most, each value's bytes once (a repeat shares them), and a few dozen bytes of
// text per input byte (a FoxPro double with twenty decimals, say). A table that holds one long
// memo once per record fails this long before it fails the run's memory limit.
inline bool HeldInProportion(const RowStore& store, size_t inputSize) {
    size_t held = sizeof(size_t) * store.ValueCount();
    std::unordered_set<const char*> seen;
    for (size_t r = 0; r < store.RowCount(); ++r)
        for (size_t f = 0; f < store.FieldCount(); ++f) {
            const std::string_view v = store.Value(r, f);
            if (!v.empty() && seen.insert(v.data()).second) held += v.size();
        }
    return held <= 64 * inputSize + 65536;
}

}  // namespace pagloom::fuzz
