// SPDX-License-Identifier: MIT
#include "generator/HtmlBlocks.h"

#include "text/TextConversions.h"

namespace pagloom {

const char* const kDoctypeTransitional =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
    "\"http://www.w3.org/TR/html4/loose.dtd\">";
const char* const kDoctypeFrameset =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" "
    "\"http://www.w3.org/TR/html4/frameset.dtd\">";
const char* const kMetaContentType =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">";

void AddPageHead(TextLines& lines, std::string_view title) {
    lines.emplace_back(kDoctypeTransitional);
    lines.emplace_back("<html>");
    lines.emplace_back("<head>");
    std::string t = "<title>";
    t += title;
    t += "</title>";
    lines.push_back(std::move(t));
    lines.emplace_back(kMetaContentType);
    lines.emplace_back("</head>");
    lines.emplace_back();
    lines.emplace_back("<body>");
}

void AddPageFoot(TextLines& lines) {
    lines.emplace_back("</body>");
    lines.emplace_back("</html>");
}

std::string WebAddressesToLinks(std::string_view text, std::string_view target) {
    std::string attribute;
    if (!target.empty()) {
        attribute = " target=\"";
        attribute += target;
        attribute += '"';
    }
    const std::string lower = ToLowerAscii(text);
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;  // everything before pos is already in out
    for (;;) {
        size_t www = lower.find("www.", pos);
        if (www == std::string::npos) break;
        size_t begin = www + 4;
        size_t end = begin;
        while (end < text.size()) {
            const auto b = static_cast<unsigned char>(text[end]);
            if (b <= 32 || b == 160) break;
            ++end;
        }
        if (end > begin) {
            char last = text[end - 1];
            if (last == '!' || last == ',' || last == '.' || last == ';' || last == '?') --end;
        }
        std::string_view address = text.substr(begin, end - begin);
        out.append(text.substr(pos, www - pos));
        out += "<a href=\"http://www.";
        out += address;
        out += '"';
        out += attribute;
        out += ">www.";
        out += address;
        out += "</a>";
        pos = end;
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace pagloom
