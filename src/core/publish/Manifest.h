// SPDX-License-Identifier: MIT
// What a target holds of pagloom's: the file `.pagloom-publish.json` in the remote folder names
// the project and target it belongs to and, per published file, its SHA-256 and size. It is
// the truth about the server, so a second computer publishes only what differs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pagloom {

extern const char* const kManifestName;  // ".pagloom-publish.json"

// The largest manifest read: room for some 300,000 files of ordinary names, and a bound on what
// a broken or hostile server can make the program hold.
inline constexpr std::size_t kMaxManifestBytes = std::size_t{64} << 20;

struct PublishedFile {
    std::string sha256;
    std::uint64_t size = 0;
    bool operator==(const PublishedFile&) const = default;
};

// The manifest lies in the served folder, readable by anyone: it names no login, host, port or
// server path, only what tells a target and a project apart.
struct Manifest {
    std::string project;    // the project file's name, for messages
    std::string projectId;  // the project's own id (its [publish] project-id); "" from old runs
    std::string target;     // a hash of the target's address
    std::map<std::string, PublishedFile> files;  // by name relative to the remote folder
};

// JSON in UTF-8; names are Windows-1252 inside the program.
std::string ManifestText(const Manifest& m);
// Nothing when the text is not a manifest of ours.
std::optional<Manifest> ParseManifest(std::string_view json);
// The same, and on nothing `why` says in a sentence for the log why nothing is published: the
// text is larger than kMaxManifestBytes, names a file that is no plain relative name (see
// IsPlainRelativeName; deleting it could reach beyond the remote folder), or is no manifest.
std::optional<Manifest> ParseManifest(std::string_view json, std::string& why);
// The sentence for a manifest larger than kMaxManifestBytes, for a reader that stops early.
std::string ManifestTooLargeMessage();

}  // namespace pagloom
