// SPDX-License-Identifier: MIT
// The tag scanners used on templates. The first byte picks the tag brackets and the second a
// start position; the rest is the text. Checks that every position found lies inside the text,
// that walking from tag to tag always moves forward, and that link making only adds markup.
#include <cstdlib>

#include "FuzzSupport.h"
#include "generator/HtmlBlocks.h"
#include "generator/TagScan.h"
#include "text/TextConversions.h"

using namespace pagloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const TagBrackets brackets = TagBracketsFor(data[0] % 6);
    const size_t start = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    const BracketTags tags(text, brackets);
    size_t from = start < 1 ? 1 : start;
    for (BracketTag tag = tags.Next(from); tag.found; tag = tags.Next(from)) {
        if (tag.open < from || tag.close <= tag.open || tag.close > text.size() || tag.name.empty())
            std::abort();
        if (text[tag.open - 1] != brackets.open || text[tag.close - 1] != brackets.close)
            std::abort();
        if (!tag.Named(ToLowerCp1252(tag.name))) std::abort();
        const std::vector<std::string> attrs =
            ParseTagAttributes(text.substr(tag.open - 1, tag.close - tag.open + 1));
        if (!attrs.empty() && attrs[0].rfind("tagname=", 0) != 0) std::abort();
        from = tag.close + 1;
    }
    const BracketTag field = tags.Find(start, "field");
    if (field.found && (field.open < start || !field.Named("field"))) std::abort();
    (void)ParseTagAttributes(text);

    for (std::string_view word : {"field", "<html", "a", ""}) {
        const TagAround t = FindTagAround(text, start, word);
        if (t.open != 0 && (t.after <= t.open || t.after > text.size() + 1 ||
                            text[t.open - 1] != '<' || text[t.after - 2] != '>'))
            std::abort();
    }

    const std::string linked = WebAddressesToLinks(text, text.substr(0, 8));
    if (linked.size() < text.size()) std::abort();
    if (ToLowerCp1252(text).find("www.") == std::string::npos && linked != text) std::abort();
    return 0;
}
