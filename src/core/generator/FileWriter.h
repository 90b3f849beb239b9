// SPDX-License-Identifier: MIT
// The one small interface of the writers of single site files (frameset page, stylesheet,
// menu script, navigation include file, menu frame page, top and bottom frame pages, sitemap).
// A writer only builds text. Its file's name and whether the settings ask for it come from the
// site's file list (SiteFiles.h); where the file goes and whether it is written is decided by
// the write rule (WriteByRule.h), and the text reaches the disk only through SaveIfChanged.
#pragma once
#include <string>

#include "generator/BuildContext.h"
#include "generator/SiteFiles.h"
#include "generator/TextLines.h"

namespace pagloom {

class FileWriter {
  public:
    explicit FileWriter(SiteFileKind kind) : kind_(kind) {}
    virtual ~FileWriter() = default;

    SiteFileKind Kind() const { return kind_; }
    // File name within the destination.
    std::string FileName(const BuildContext& ctx) const {
        return SiteFileName(ctx.Settings(), kind_);
    }
    // Whether the settings ask for this file at all.
    bool Due(const BuildContext& ctx) const { return SiteFileDue(ctx.Settings(), kind_); }
    // The file's overwrite setting. Files without one (the include file and the sitemap)
    // return true: whenever they are due they go to SaveIfChanged.
    virtual bool Overwrite(const BuildContext& ctx) const = 0;
    // Appends the lines of the file. Never touches the disk.
    virtual void BuildLines(const BuildContext& ctx, TextLines& lines) const = 0;

  private:
    SiteFileKind kind_;
};

}  // namespace pagloom
