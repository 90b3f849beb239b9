// SPDX-License-Identifier: MIT
#include "generator/SitemapWriter.h"

#include "generator/MenuEntries.h"
#include "model/Project.h"
#include "text/Cp1252.h"

namespace pagloom {

std::string SitemapPrefix(const ProjectSettings& s) {
    const std::string& url = s.sitemap.urltext;
    if (url.empty()) return s.files.destination_directory + "/";
    return url.back() == '/' ? url : url + "/";
}

std::string SitemapLocText(std::string_view address) {
    // The file declares UTF-8 and is read by XML parsers, so unlike the pages it cannot carry
    // Windows-1252 bytes or raw markup characters.
    std::string out;
    out.reserve(address.size() + address.size() / 8);
    for (const char c : address) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (b >= 0x80) {
                    out += Cp1252ToUtf8(std::string_view(&c, 1));
                } else if (b < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    // XML 1.0 has no form for these control bytes, not even a reference;
                    // an address writes them percent-encoded.
                    static constexpr char kHex[] = "0123456789ABCDEF";
                    out += '%';
                    out += kHex[b >> 4];
                    out += kHex[b & 0xF];
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void SitemapWriter::BuildLines(const BuildContext& ctx, TextLines& lines) const {
    const ProjectSettings& s = ctx.Settings();
    const SitemapSettings& map = s.sitemap;
    const std::string prefix = SitemapPrefix(s);
    auto entry = [&](const std::string& name) {
        lines.emplace_back("<url>");
        lines.push_back("<loc>" + SitemapLocText(prefix + name) + "</loc>");
        lines.emplace_back("</url>");
    };
    lines.emplace_back("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    lines.emplace_back("<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">");
    if (map.url) entry("");
    if (map.frameset) entry(s.files.frameset_file);
    if (map.menuframe) entry(s.files.menuframe_file);
    if (map.firstpage) entry(s.files.starting_page_file);
    if (map.topframe) entry(s.files.frame_top_file);
    if (map.bottomframe) entry(s.files.frame_bottom_file);
    if (map.contenframes)
        ForEachWrittenEntry(ctx.project.MainMenu,
                            [&](const TWebMenuItem& e, bool) { entry(e.FileName); });
    for (const std::string& extra : map.extra_files) entry(extra);
    lines.emplace_back("</urlset>");
}

}  // namespace pagloom
