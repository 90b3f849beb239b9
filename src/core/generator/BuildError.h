// SPDX-License-Identifier: MIT
// A failure that ends a build: a template, table or existing page that cannot be read.
// Writers throw it; MakeStartClick catches it, shows what() through the Host and stops the
// build without its end lines. A single file that cannot be written is not such a failure:
// SaveIfChanged logs "Fehler!" and the build goes on.
#pragma once
#include <stdexcept>
#include <string>

namespace pagloom {

class BuildAbort : public std::runtime_error {
  public:
    // message: the German text shown to the user (Windows-1252 bytes).
    explicit BuildAbort(const std::string& message) : std::runtime_error(message) {}
};

// The message for a file the build had to read and could not.
std::string CannotReadMessage(const std::string& path);

}  // namespace pagloom
