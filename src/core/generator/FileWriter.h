// SPDX-License-Identifier: MIT
// The one small interface of the writers of single site files (frameset page, stylesheet,
// menu script, navigation include file, menu frame page, top and bottom frame pages, sitemap).
// A writer only builds text; where the file goes and whether it is written is decided here,
// once, by the write rule, and the text reaches the disk only through SaveIfChanged.
#pragma once
#include <string>

#include "generator/BuildContext.h"
#include "generator/TextLines.h"

namespace pagloom {

class FileWriter {
  public:
    virtual ~FileWriter() = default;

    // File name within the destination.
    virtual std::string FileName(const BuildContext& ctx) const = 0;
    // Whether the settings ask for this file at all.
    virtual bool Due(const BuildContext& ctx) const = 0;
    // The file's overwrite setting. Files without one (the include file and the sitemap)
    // return true: whenever they are due they go to SaveIfChanged.
    virtual bool Overwrite(const BuildContext& ctx) const = 0;
    // Appends the lines of the file. Never touches the disk.
    virtual void BuildLines(const BuildContext& ctx, TextLines& lines) const = 0;
};

// When the writer is due and the write rule allows: builds its lines and saves them.
// Throws BuildAbort like SaveIfChanged.
void WriteByRule(const BuildContext& ctx, const FileWriter& writer);

// The lines the writer would save (for callers that only need the text).
TextLines LinesOf(const BuildContext& ctx, const FileWriter& writer);

}  // namespace pagloom
