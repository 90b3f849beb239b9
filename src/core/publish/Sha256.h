// SPDX-License-Identifier: MIT
// SHA-256 of a byte string, as 64 lower-case hex digits: the fingerprint by which publishing
// tells a changed file from an unchanged one (size and time alone miss an image changed in place).
#pragma once
#include <string>
#include <string_view>

namespace pagloom {

std::string Sha256Hex(std::string_view data);

}  // namespace pagloom
