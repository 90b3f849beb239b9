// SPDX-License-Identifier: MIT
// The section [publish] of a project file. Other readers skip it. Its keys are one table, read
// and written by walking it; writing touches only the keys whose value changed, so the user's
// own comments and layout in the section stay. A value may carry a comment after ';' where the
// value itself cannot hold one (every key but the two pattern lists). Values are never cut: a
// long list of patterns is read whole.
#pragma once
#include <string>

#include "model/PublishTarget.h"

namespace pagloom {

class IniFile;

inline constexpr const char* kPublishSection = "publish";

// A missing section gives a target without a protocol.
PublishTarget ReadPublishSection(const IniFile& ini);
// A project without a target and without the section gets none; a new section gets every key,
// so the user sees what may be set.
void WritePublishSection(IniFile& ini, const PublishTarget& target);

}  // namespace pagloom
