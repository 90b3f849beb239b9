// SPDX-License-Identifier: MIT
// The first page ("Startseite") and the content pages of the menu entries, as empty pages
// that carry the menu text or as copies of one template file. WriteEmptyPage also serves the
// Dreamweaver and table writers for pages that are to be empty.
#pragma once
#include <string>
#include <string_view>

#include "generator/BuildContext.h"
#include "generator/MenuEntries.h"
#include "generator/TextLines.h"
#include "model/Project.h"

namespace pagloom {

// The fixed name of the first page.
extern const char* const kFirstPageName;  // "Startseite"

// The lines of an empty page: the page head, titled `name` when content-page/
// empty-titel-is-menu is on (else an empty title), "<h1>" + name + "</h1>" when
// content-page/empty-content-is-menu is on, the page foot. The name goes in unconverted.
TextLines EmptyPageLines(const BuildContext& ctx, std::string_view name);
// Saves EmptyPageLines at `path` (no write rule: the caller has applied it).
void WriteEmptyPage(const BuildContext& ctx, const std::string& path, std::string_view name);

// Paths of the first page and of an entry's content page.
std::string FirstPagePath(const BuildContext& ctx);

// Calls f(entry) for every content page in menu order: the active main entries and the active
// sub entries of active main entries.
template <typename F>
void ForEachContentPage(const BuildContext& ctx, F&& f) {
    ForEachWrittenEntry(ctx.project.MainMenu, [&f](const TWebMenuItem& e, bool) { f(e); });
}

// The first page (when firstpage/make-firstpage is on) and every content page as empty pages,
// each by the write rule (firstpage/overwrite-firstpage, content-page/empty-overwrite).
void WriteEmptyPages(const BuildContext& ctx);

// The same with copies of content-page/template-file (which must not be empty): the content
// pages always, the first page when firstpage/firstpage-from-template is on (else an empty
// page). The template is read again for every page; its line breaks become CR LF.
// Throws BuildAbort when the template cannot be read.
void WriteTemplatePages(const BuildContext& ctx);

}  // namespace pagloom
