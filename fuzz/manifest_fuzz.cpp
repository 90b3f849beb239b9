// SPDX-License-Identifier: MIT
// The manifest a server hands back: read it, write it, read it again. Whatever is read names
// only plain names inside the remote folder and survives the write unchanged; whatever is
// refused comes with the sentence the log shows.
#include <cstdlib>

#include "publish/Manifest.h"
#include "publish/RemoteNames.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string why;
    const std::optional<Manifest> m = ParseManifest(text, why);
    if (!m) {
        if (why.empty()) std::abort();
        return 0;
    }
    for (const auto& [name, file] : m->files)
        if (!IsPlainRelativeName(name)) std::abort();
    const std::optional<Manifest> again = ParseManifest(ManifestText(*m));
    if (!again || again->project != m->project || again->target != m->target ||
        again->files != m->files)
        std::abort();
    return 0;
}
