// SPDX-License-Identifier: MIT
// What a target holds of pagloom's: the file `.pagloom-publish.json` in the remote folder names
// the project and target it belongs to and, per published file, its SHA-256 and size. It is
// the truth about the server, so a second computer publishes only what differs.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {

extern const char* const kManifestName;  // ".pagloom-publish.json"

struct PublishedFile {
    std::string sha256;
    std::uint64_t size = 0;
    bool operator==(const PublishedFile&) const = default;
};

struct Manifest {
    std::string project;                         // the project file's name
    std::string target;                          // PublishTarget::Address()
    std::map<std::string, PublishedFile> files;  // by name relative to the remote folder
};

// JSON in UTF-8; names are Windows-1252 inside the program.
std::string ManifestText(const Manifest& m);
// Nothing when the text is not a manifest of ours.
std::optional<Manifest> ParseManifest(std::string_view json);

}  // namespace pagloom
