// SPDX-License-Identifier: MIT
// Pieces of the generated pages that the writers share: the document types, the head and foot
// of the simple pages, web addresses turned into links. Texts are Windows-1252 bytes. None of
// these functions fails or throws.
#pragma once
#include <string>
#include <string_view>

#include "generator/TextLines.h"

namespace pagloom {

// Document type lines of the generated pages.
extern const char* const kDoctypeTransitional;  // HTML 4.01 Transitional
extern const char* const kDoctypeFrameset;      // HTML 4.01 Frameset
// The charset line every simple page carries in its head.
extern const char* const kMetaContentType;

// Appends the eight head lines of a simple page; the title goes in unchanged.
void AddPageHead(TextLines& lines, std::string_view title);
// Appends "</body>" and "</html>".
void AddPageFoot(TextLines& lines);

// Replaces every "www." address (letter case ignored) by a link to "http://www." + address.
// The address runs up to the first byte <= 32 or 160; one final "!", ",", ".", ";" or "?"
// stays outside the link. A non-empty target adds ' target="<target>"' to every link.
std::string WebAddressesToLinks(std::string_view text, std::string_view target);

}  // namespace pagloom
