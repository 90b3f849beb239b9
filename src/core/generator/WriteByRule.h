// SPDX-License-Identifier: MIT
// The write rule applied to a single-file writer: the one place that decides whether its file
// is made, and hands the text to the build's saver.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

// When the writer is due and the write rule allows: builds its lines and saves them.
// Throws BuildAbort like SaveIfChanged.
void WriteByRule(const BuildContext& ctx, const FileWriter& writer);

// The lines the writer would save (for callers that only need the text).
TextLines LinesOf(const BuildContext& ctx, const FileWriter& writer);

}  // namespace pagloom
