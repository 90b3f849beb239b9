// SPDX-License-Identifier: MIT
// The sitemap (sitemap protocol 0.9) of the pages chosen on the "Sitemap" tab. A name is
// listed whether or not the build writes that file: the choices alone decide.
#pragma once
#include <string>
#include <string_view>

#include "generator/FileWriter.h"

namespace pagloom {

struct ProjectSettings;

// The text in front of every listed name: sitemap/urltext with a final "/" (added when
// missing), or, when that is empty, files/destination-directory (the project setting, not
// the build's destination) and "/", so the sitemap lists local paths.
std::string SitemapPrefix(const ProjectSettings& settings);

// An address (Windows-1252) as the text of a <loc> element.
std::string SitemapLocText(std::string_view address);

class SitemapWriter : public FileWriter {
  public:
    SitemapWriter() : FileWriter(SiteFileKind::Sitemap) {}
    bool Overwrite(const BuildContext&) const override { return true; }
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;
};

}  // namespace pagloom
