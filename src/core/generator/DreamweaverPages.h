// SPDX-License-Identifier: MIT
// The first page and the content pages made from the project's Dreamweaver template
// (content-page/dw-template-file): written fresh as template instances, or, for pages that
// exist, rebuilt from the template with the contents of their editable regions kept.
// BuildWithoutTables picks one by the build dialog's RegionOverwrite.
#pragma once
#include "generator/BuildContext.h"

namespace pagloom {

// Fresh instances: the first page (when firstpage/make-firstpage is on, by the write rule with
// firstpage/overwrite-firstpage; an empty "Startseite" page when firstpage/firstpage-from-
// template is off) and every content page by the write rule with content-page/
// dw-template-update. The template is read again for every page.
// Throws BuildAbort when the template cannot be read.
void WriteDWPages(const BuildContext& ctx);

// Pages that keep their editable regions: an existing page is merged with the template
// (content pages only when content-page/dw-template-update is on, the first page when
// firstpage/overwrite-firstpage is on); a missing page is made as a fresh instance.
// Throws BuildAbort when the template or an existing page cannot be read.
void UpdateDWPages(const BuildContext& ctx);

}  // namespace pagloom
