// SPDX-License-Identifier: MIT
// The names publishing reads back from the server's manifest and from the local journal. They
// are only ever used relative to the remote folder, so each must be a plain relative path: a
// name that climbs out ("../x"), starts at the root or hides a second meaning (a backslash, a
// control character) would let a file on the server point publishing at files it does not own.
#pragma once
#include <string>
#include <string_view>

namespace pagloom {

// The start of the last part of every temporary name publishing uploads under.
inline constexpr std::string_view kOwnTempPrefix = ".pagloom-up-";

// Parts joined by single '/', none empty, "." or "..", none the manifest's own name; no
// backslash, no control character (NUL included), no '/' at either end.
bool IsPlainRelativeName(std::string_view name);

// A plain relative name whose last part is one of publishing's temporary names, so removing it
// after a broken run can only ever take away what such a run left behind.
bool IsOwnTempName(std::string_view name);

// A name as a log line shows it: control bytes spelled out, so one line stays one line, and
// cut short, so a name of megabytes does not become a log line of megabytes.
std::string ShownName(std::string_view name);

}  // namespace pagloom
