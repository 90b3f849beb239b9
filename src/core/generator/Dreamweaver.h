// SPDX-License-Identifier: MIT
// Pages made from Dreamweaver templates (".dwt"). A page becomes an instance of its template:
// it carries the instance comments the editor uses, so the site can later be maintained with
// that editor. An existing page can be rebuilt from the template while the contents of its
// editable regions stay.
//
// Two template styles exist: the older one marks regions with "#BeginEditable" and
// "#EndEditable" comments in template and page alike; the MX 2004 one marks them
// "TemplateBeginEditable"/"TemplateEndEditable" in the template and
// "InstanceBeginEditable"/"InstanceEndEditable" in its pages. Markers are found in any case.
//
// Texts are Windows-1252 bytes. None of these functions reads or writes a file; problems of
// the template's frame are reported through the Host and never stop the caller.
#pragma once
#include <string>
#include <string_view>

#include "generator/TextLines.h"

namespace pagloom {

class Host;

enum class TemplateStyle { dw_4, dw_mx2004 };

// dw_mx2004 when the text holds "TemplateBeginEditable" in any letter case, else dw_4.
TemplateStyle TemplateStyleOf(std::string_view templateText);

// The template's path as the editor names it in its instances: "/" followed by the path
// relative to `destinationDirectory` (the project's destination setting), folder names
// compared without regard to case, one "../" per folder of the destination below the common
// ones, backslashes written as "/". A template that shares no leading folder with the
// destination (or one path is absolute and the other not) keeps its full path; an absolute
// full path is not given a second "/", which would turn it into a host name.
// "/site" and "/site/Templates/a.dwt" give "/Templates/a.dwt".
std::string InstanceReference(std::string_view templatePath, std::string_view destinationDirectory);

// Puts the instance comments around the template's text: the header right after the
// "<html ...>" tag, the footer right before the last "</html>" tag, each on the line of its
// tag. A missing "<html" tag shows "Fehler: Vorlagen-Datei enthält kein <HTML>-Tag", a
// missing "</html>" tag "Fehler: Vorlagen-Datei enthält kein </HTML>-Tag" (each once per
// call); the part of the frame that has no place is left out. Returns the template's style.
TemplateStyle AddInstanceFrame(TextLines& lines, std::string_view templatePath,
                               std::string_view destinationDirectory, Host& host);

// Turns the template's lines into a fresh page: AddInstanceFrame, then every
// "TemplateBeginEditable"/"TemplateEndEditable" (any case) written as
// "InstanceBeginEditable"/"InstanceEndEditable".
void MakeDWInstance(TextLines& lines, std::string_view templatePath,
                    std::string_view destinationDirectory, Host& host);

// Replaces `pageLines` (an existing page) by a fresh instance of the template in which every
// editable region that the page also has, by name (letter case ignored), keeps the page's
// content. Everything outside the regions comes from the template; regions only the template
// has keep the template's content; regions only the page has are dropped. Runs in time
// linear in the sizes of page and template.
void MergeDWPage(TextLines& pageLines, const TextLines& templateLines,
                 std::string_view templatePath, std::string_view destinationDirectory, Host& host);

// The merge itself, on whole texts: `instanceTemplate` is the template's text already framed
// and, for dw_mx2004, with the instance markers (as MergeDWPage prepares it); `style` picks
// the markers. Returns the new page text. A page without regions gives `instanceTemplate`.
std::string MergeDWText(std::string_view oldPage, std::string_view instanceTemplate,
                        TemplateStyle style);

// The German messages of a template without "<html" / "</html>" tag.
extern const char* const kNoHtmlTagMessage;
extern const char* const kNoHtmlEndTagMessage;

}  // namespace pagloom
