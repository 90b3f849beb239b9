// SPDX-License-Identifier: MIT
// The site's stylesheet (files/stylesheet-file) from the two menu style records: one block
// of rules for the main menu (class "pagloom_men") and one for the sub-menu ("pagloom_umen"),
// both always written, main menu first.
#pragma once
#include "generator/FileWriter.h"

namespace pagloom {

struct TCSS;

class StylesheetWriter : public FileWriter {
  public:
    StylesheetWriter() : FileWriter(SiteFileKind::Stylesheet) {}
    bool Overwrite(const BuildContext& ctx) const override;
    void BuildLines(const BuildContext& ctx, TextLines& lines) const override;

    // The rules of one level; shortName is "men" or "umen".
    static void AddLevel(const TCSS& css, const std::string& shortName, TextLines& lines);
};

}  // namespace pagloom
