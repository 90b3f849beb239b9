// SPDX-License-Identifier: MIT
#include "generator/Dreamweaver.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "generator/TagScan.h"
#include "ports/Host.h"
#include "text/TextConversions.h"

namespace pagloom {

const char* const kNoHtmlTagMessage = "Fehler: Vorlagen-Datei enth\xe4lt kein <HTML>-Tag";
const char* const kNoHtmlEndTagMessage = "Fehler: Vorlagen-Datei enth\xe4lt kein </HTML>-Tag";

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr std::string_view kCommentOpen = "<!--";
constexpr std::string_view kCommentClose = "-->";

struct Markers {
    std::string_view begin;  // lower case
    std::string_view end;
};

Markers MarkersOf(TemplateStyle style) {
    if (style == TemplateStyle::dw_mx2004) return {"instancebegineditable", "instanceendeditable"};
    return {"#begineditable", "#endeditable"};
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string_view> PathComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsSeparator(path[i])) ++i;
        size_t start = i;
        while (i < path.size() && !IsSeparator(path[i])) ++i;
        if (i > start) parts.push_back(path.substr(start, i - start));
    }
    return parts;
}

std::string WithForwardSlashes(std::string_view path) {
    std::string s(path);
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

// Every start position of `needle` in `text`, ascending (overlapping ones included).
std::vector<size_t> AllPositions(std::string_view text, std::string_view needle) {
    std::vector<size_t> found;
    for (size_t pos = text.find(needle); pos != npos; pos = text.find(needle, pos + 1))
        found.push_back(pos);
    return found;
}

// The last position in the ascending list that is >= lo and < hi, or npos.
size_t LastIn(const std::vector<size_t>& sorted, size_t lo, size_t hi) {
    auto it = std::lower_bound(sorted.begin(), sorted.end(), hi);
    if (it == sorted.begin()) return npos;
    --it;
    return *it >= lo ? *it : npos;
}

// The first position in the ascending list that is >= from, or npos.
size_t FirstFrom(const std::vector<size_t>& sorted, size_t from) {
    auto it = std::lower_bound(sorted.begin(), sorted.end(), from);
    return it == sorted.end() ? npos : *it;
}

// Writes every occurrence of a lower-case word (any case in `text`) as `replacement`, which
// has the same length, so positions found in the lower-case copy stay valid.
void ReplaceSameLength(std::string& text, const std::string& lower, std::string_view word,
                       std::string_view replacement) {
    for (size_t pos = lower.find(word); pos != npos; pos = lower.find(word, pos + word.size()))
        text.replace(pos, word.size(), replacement);
}

void WriteInstanceRegionMarkers(std::string& text) {
    const std::string lower = ToLowerCp1252(text);
    ReplaceSameLength(text, lower, "templatebegineditable", "InstanceBeginEditable");
    ReplaceSameLength(text, lower, "templateendeditable", "InstanceEndEditable");
}

// FindTagAround(text, start, word), handed only the stretch of text that decides its result
// (from `start` to the first ">" after the next occurrence of the word), because it lowers
// the whole text it is given: called once per tag of a long template, it would be quadratic.
// `lower` is the text in lower case.
TagAround NextTagAround(std::string_view text, std::string_view lower, size_t start,
                        std::string_view word) {
    const size_t from = start - 1;
    const size_t wordAt = lower.find(word, from);
    if (wordAt == npos) return {};
    const size_t close = lower.find('>', wordAt + word.size());
    // Without a ">" after this occurrence there is none after any later one either.
    if (close == npos) return {};
    const TagAround tag = FindTagAround(text.substr(from, close + 1 - from), 1, word);
    if (tag.open == 0) return {};
    return {tag.open + from, tag.after + from};
}

TemplateStyle FrameText(std::string& text, const std::string& reference, Host& host) {
    const TemplateStyle style = TemplateStyleOf(text);
    std::string header, footer;
    if (style == TemplateStyle::dw_mx2004) {
        header = "<!-- InstanceBegin template=\"" + reference +
                 "\" codeOutsideHTMLIsLocked=\"false\" -->";
        footer = "<!-- InstanceEnd -->";
    } else {
        header = "<!-- #BeginTemplate \"" + reference + "\" -->";
        footer = "<!-- #EndTemplate -->";
    }

    // FindTagAround works with 1-based positions; 0 is "none".
    bool headerPlaced = false;
    const size_t html = ToLowerCp1252(text).find("<html");
    if (html != npos) {
        const TagAround tag = FindTagAround(text, html + 1, "html");
        if (tag.open != 0) {
            text.insert(tag.after - 1, header);
            headerPlaced = true;
        }
    }
    if (!headerPlaced) host.ShowMessage(kNoHtmlTagMessage);

    // Only a tag that is itself "</html" counts: the word alone also sits in attributes such
    // as content="text/html", and a footer put before such a <meta> tag would cut the page's
    // head in two while the missing closing tag went unreported.
    const std::string lower = ToLowerCp1252(text);
    TagAround last;
    for (size_t start = 1;;) {
        const TagAround tag = NextTagAround(text, lower, start, "/html");
        if (tag.open == 0) break;
        if (std::string_view(lower).substr(tag.open - 1, 6) == "</html") last = tag;
        start = tag.after;
    }
    if (last.open != 0)
        text.insert(last.open - 1, footer);
    else
        host.ShowMessage(kNoHtmlEndTagMessage);
    return style;
}

// The editable regions of an existing page, found once so that looking up each of the
// template's regions costs no new scan of the page.
class PageRegions {
  public:
    PageRegions(std::string_view page, const Markers& markers) : page_(page) {
        const std::string lower = ToLowerCp1252(page);
        const std::vector<size_t> opens = AllPositions(lower, kCommentOpen);
        const std::vector<size_t> closes = AllPositions(lower, kCommentClose);
        const std::vector<size_t> ends = AllPositions(lower, markers.end);

        for (size_t begin : AllPositions(lower, markers.begin)) {
            Region r;
            r.commentStart = LastIn(opens, 0, begin);
            if (r.commentStart == npos) r.commentStart = begin;
            r.commentClose = FirstFrom(closes, begin + markers.begin.size());
            // Without "-->" the comment never ends, so no content can follow it.
            if (r.commentClose == npos) break;
            r.contentStart = r.commentClose + kCommentClose.size();
            const size_t end = FirstFrom(ends, r.contentStart);
            if (end != npos) {
                r.closed = true;
                r.contentEnd = LastIn(opens, r.contentStart, end);
                if (r.contentEnd == npos) r.contentEnd = end;
            }
            regions_.push_back(r);
        }
        IndexNames(lower);
    }

    // The content of the region whose begin comment holds `lowerName` (quotes included),
    // the last such region counting. None when no region holds the name or when the one that
    // counts has no end marker.
    std::optional<std::string_view> Content(const std::string& lowerName) const {
        auto it = lastByName_.find(lowerName);
        if (it == lastByName_.end()) return std::nullopt;
        const Region& r = regions_[it->second];
        if (!r.closed) return std::nullopt;
        return page_.substr(r.contentStart, r.contentEnd - r.contentStart);
    }

  private:
    struct Region {
        size_t commentStart = 0;
        size_t commentClose = 0;  // position of the comment's "-->"
        size_t contentStart = 0;
        size_t contentEnd = 0;
        bool closed = false;  // an end marker follows
    };

    // A region name is a quote, bytes without a quote, and a quote; so the names a comment
    // holds are exactly the spans between two neighbouring quotes inside it. Comment starts
    // and ends both grow with the marker position, so the last region whose comment holds a
    // span is the last one starting at or before it, if that one ends after it.
    void IndexNames(const std::string& lower) {
        std::vector<size_t> starts;
        starts.reserve(regions_.size());
        for (const Region& r : regions_) starts.push_back(r.commentStart);
        const std::vector<size_t> quotes = AllPositions(lower, "\"");
        for (size_t i = 0; i + 1 < quotes.size(); ++i) {
            const size_t from = quotes[i], to = quotes[i + 1];
            auto it = std::upper_bound(starts.begin(), starts.end(), from);
            if (it == starts.begin()) continue;
            const size_t index = static_cast<size_t>(it - starts.begin()) - 1;
            if (to >= regions_[index].commentClose) continue;
            size_t& slot = lastByName_[lower.substr(from, to - from + 1)];
            slot = std::max(slot, index);
        }
    }

    std::string_view page_;
    std::vector<Region> regions_;
    std::unordered_map<std::string, size_t> lastByName_;
};

}  // namespace

TemplateStyle TemplateStyleOf(std::string_view templateText) {
    return ToLowerCp1252(templateText).find("templatebegineditable") != npos
               ? TemplateStyle::dw_mx2004
               : TemplateStyle::dw_4;
}

std::string InstanceReference(std::string_view templatePath,
                              std::string_view destinationDirectory) {
    const bool templateAbsolute = !templatePath.empty() && IsSeparator(templatePath.front());
    const bool destinationAbsolute =
        !destinationDirectory.empty() && IsSeparator(destinationDirectory.front());
    const std::vector<std::string_view> dest = PathComponents(destinationDirectory);
    const std::vector<std::string_view> tpl = PathComponents(templatePath);

    size_t common = 0;
    if (templateAbsolute == destinationAbsolute) {
        const size_t folders = tpl.empty() ? 0 : tpl.size() - 1;
        while (common < dest.size() && common < folders &&
               ToLowerCp1252(dest[common]) == ToLowerCp1252(tpl[common]))
            ++common;
    }

    std::string path;
    if (common == 0) {
        // Nothing in common: the counterpart of a template on another drive.
        path = WithForwardSlashes(templatePath);
    } else {
        for (size_t i = common; i < dest.size(); ++i) path += "../";
        for (size_t i = common; i < tpl.size(); ++i) {
            if (i > common) path += '/';
            path += tpl[i];
        }
    }
    return !path.empty() && path.front() == '/' ? path : "/" + path;
}

TemplateStyle AddInstanceFrame(TextLines& lines, std::string_view templatePath,
                               std::string_view destinationDirectory, Host& host) {
    std::string text = JoinLines(lines);
    const TemplateStyle style =
        FrameText(text, InstanceReference(templatePath, destinationDirectory), host);
    lines = SplitLines(text);
    return style;
}

void MakeDWInstance(TextLines& lines, std::string_view templatePath,
                    std::string_view destinationDirectory, Host& host) {
    std::string text = JoinLines(lines);
    FrameText(text, InstanceReference(templatePath, destinationDirectory), host);
    WriteInstanceRegionMarkers(text);
    lines = SplitLines(text);
}

std::string MergeDWText(std::string_view oldPage, std::string_view instanceTemplate,
                        TemplateStyle style) {
    const Markers markers = MarkersOf(style);
    const PageRegions old(oldPage, markers);
    const std::string_view tpl = instanceTemplate;
    const std::string lowerStore = ToLowerCp1252(tpl);
    const std::string_view lower = lowerStore;

    std::string result;
    result.reserve(tpl.size() + oldPage.size() / 2);
    size_t p = 0;
    for (;;) {
        const size_t begin = lower.find(markers.begin, p);
        if (begin == npos) break;

        // Searches stay inside [p, ...) so each stretch of the template is scanned a bounded
        // number of times and the merge stays linear.
        size_t commentStart = lower.substr(p, begin - p).rfind(kCommentOpen);
        size_t closeFrom = begin;
        if (commentStart != npos) {
            commentStart += p;
            closeFrom = commentStart + kCommentOpen.size();
        }
        const size_t close = lower.find(kCommentClose, closeFrom);
        const size_t quote1 = lower.find('"', begin + markers.begin.size());
        const size_t quote2 = quote1 == npos ? npos : lower.find('"', quote1 + 1);
        if (close == npos || quote2 == npos || quote2 > close) break;
        const std::string name(lower.substr(quote1, quote2 - quote1 + 1));

        const size_t contentStart = close + kCommentClose.size();
        result.append(tpl.substr(p, contentStart - p));
        p = contentStart;

        const size_t end = lower.find(markers.end, p);
        // A region whose end marker is missing has no known extent: the template's text
        // from there to its end is kept as it stands (with the instance footer and closing
        // tags), and the page's content for that name is not used. Taking the page's
        // content instead would need an end to resume the template from, and without one it
        // would cut off the rest of the template.
        if (end == npos) break;
        size_t endComment = lower.substr(p, end - p).rfind(kCommentOpen);
        endComment = endComment == npos ? end : p + endComment;

        if (const std::optional<std::string_view> kept = old.Content(name))
            result.append(*kept);
        else
            result.append(tpl.substr(p, endComment - p));
        p = endComment;
    }
    result.append(tpl.substr(p));
    return result;
}

void MergeDWPage(TextLines& pageLines, const TextLines& templateLines,
                 std::string_view templatePath, std::string_view destinationDirectory, Host& host) {
    std::string tpl = JoinLines(templateLines);
    const TemplateStyle style =
        FrameText(tpl, InstanceReference(templatePath, destinationDirectory), host);
    if (style == TemplateStyle::dw_mx2004) WriteInstanceRegionMarkers(tpl);
    const std::string old = JoinLines(pageLines);
    pageLines = SplitLines(MergeDWText(old, tpl, style));
}

}  // namespace pagloom
