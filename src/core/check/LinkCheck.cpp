// SPDX-License-Identifier: MIT
#include "check/LinkCheck.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "generator/SiteFiles.h"
#include "generator/SitemapWriter.h"
#include "io/FileSystem.h"
#include "model/Project.h"
#include "text/Cp1252.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(s[i]) != Lower(prefix[i])) return false;
    return true;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Character references in an attribute or XML text: the named ones markup needs, and numbers
// (as Windows-1252 bytes where they fit, else left as they are).
std::string DecodeEntities(std::string_view s) {
    if (s.find('&') == std::string_view::npos) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        // A reference is short: looking further for its ';' would make a text full of '&'
        // quadratic.
        const size_t near = s.substr(i, 11).find(';');
        const size_t semi = near == std::string_view::npos ? near : i + near;
        if (semi == std::string_view::npos) {
            out += '&';
            continue;
        }
        const std::string_view name = s.substr(i + 1, semi - i - 1);
        std::optional<unsigned long> code;
        if (name == "amp")
            code = '&';
        else if (name == "lt")
            code = '<';
        else if (name == "gt")
            code = '>';
        else if (name == "quot")
            code = '"';
        else if (name == "apos")
            code = '\'';
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            unsigned long v = 0;
            bool ok = name.size() > (hex ? 2u : 1u);
            for (size_t k = hex ? 2 : 1; ok && k < name.size(); ++k) {
                const int d = hex ? HexDigitValue(name[k])
                                  : (name[k] >= '0' && name[k] <= '9' ? name[k] - '0' : -1);
                if (d < 0 || v > 0x10FFFF)
                    ok = false;
                else
                    v = v * (hex ? 16 : 10) + static_cast<unsigned long>(d);
            }
            if (ok && v > 0 && v < 256) code = v;
        }
        if (!code) {
            out += '&';
            continue;
        }
        out += static_cast<char>(*code);
        i = semi;
    }
    return out;
}

// %XX escapes as bytes. Browsers send non-ASCII names as UTF-8 escapes, so bytes that form
// UTF-8 become the Windows-1252 name the disk is asked for; other bytes stay as they are.
std::string DecodePercent(std::string_view s) {
    if (s.find('%') == std::string_view::npos) return std::string(s);
    std::string out;
    out.reserve(s.size());
    bool high = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexDigitValue(s[i + 1]) >= 0 &&
            HexDigitValue(s[i + 2]) >= 0) {
            const char b =
                static_cast<char>(HexDigitValue(s[i + 1]) * 16 + HexDigitValue(s[i + 2]));
            high = high || static_cast<unsigned char>(b) >= 0x80;
            out += b;
            i += 2;
        } else {
            out += s[i];
        }
    }
    if (high)
        if (std::optional<std::string> cp = Utf8ToCp1252Exact(out)) return *cp;
    return out;
}

// An absolute address: scheme, host (lowercase) and path.
struct Address {
    std::string scheme, host;
    std::string_view path;  // from the first "/" after the host; may be empty
};

std::optional<Address> SplitAddress(std::string_view url) {
    const size_t colon = url.find("://");
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    Address a;
    for (size_t i = 0; i < colon; ++i) a.scheme += Lower(url[i]);
    const size_t hostStart = colon + 3;
    size_t hostEnd = url.find('/', hostStart);
    if (hostEnd == std::string_view::npos) hostEnd = url.size();
    for (size_t i = hostStart; i < hostEnd; ++i) a.host += Lower(url[i]);
    a.path = url.substr(hostEnd);
    return a;
}

bool IsWebScheme(const std::string& scheme) { return scheme == "http" || scheme == "https"; }

// Where a reference leads within the site, as a path relative to the destination ("" is the
// destination itself); nothing for a reference that is not a local file of the site.
class Resolver {
  public:
    explicit Resolver(const std::string& baseAddress) {
        if (std::optional<Address> a = SplitAddress(baseAddress);
            a && IsWebScheme(a->scheme) && !a->host.empty()) {
            baseHost_ = a->host;
            basePath_ = std::string(a->path);
            if (basePath_.empty() || basePath_.back() != '/') basePath_ += '/';
        }
    }

    // `from` is the folder of the referring file, relative to the destination ("" for the top).
    std::optional<std::string> Resolve(std::string_view ref, std::string_view from) const {
        ref = Trim(ref);
        ref = ref.substr(0, ref.find_first_of("#?"));
        if (ref.empty()) return std::nullopt;  // the page itself, or only a fragment or query
        if (ref.size() > 1 && ref[0] == '/' && ref[1] == '/')
            return FromAbsolute("http:" + std::string(ref));
        if (HasScheme(ref)) return FromAbsolute(ref);
        if (ref[0] == '/') {
            // Rooted at the server: the site lives under the base address's path.
            if (baseHost_.empty()) return Normalize("", ref.substr(1));
            if (ref.substr(0, basePath_.size()) != basePath_ && std::string(ref) + "/" != basePath_)
                return std::nullopt;
            return Normalize("",
                             ref.size() >= basePath_.size() ? ref.substr(basePath_.size()) : "");
        }
        return Normalize(from, ref);
    }

    std::optional<std::string> FromAbsolute(std::string_view url) const {
        std::optional<Address> a = SplitAddress(url);
        if (!a || !IsWebScheme(a->scheme) || baseHost_.empty() || a->host != baseHost_)
            return std::nullopt;
        std::string_view path = a->path;
        if (path.empty() || std::string(path) + "/" == basePath_) return std::string();
        if (path.substr(0, basePath_.size()) != basePath_) return std::nullopt;
        return Normalize("", path.substr(basePath_.size()));
    }

    // `rel` joined to the folder `from`, with "." and ".." resolved; nothing when it climbs out
    // of the site.
    static std::optional<std::string> Normalize(std::string_view from, std::string_view rel) {
        const std::string decoded = DecodePercent(rel);
        std::vector<std::string_view> parts;
        auto add = [&parts](std::string_view text) {
            size_t b = 0;
            while (b <= text.size()) {
                size_t e = text.find('/', b);
                if (e == std::string_view::npos) e = text.size();
                const std::string_view seg = text.substr(b, e - b);
                if (seg == "..") {
                    if (parts.empty()) return false;
                    parts.pop_back();
                } else if (!seg.empty() && seg != ".") {
                    parts.push_back(seg);
                }
                b = e + 1;
            }
            return true;
        };
        if (!add(from) || !add(decoded)) return std::nullopt;
        std::string out;
        for (const std::string_view p : parts) {
            if (!out.empty()) out += '/';
            out += p;
        }
        return out;
    }

  private:
    static bool HasScheme(std::string_view ref) {
        size_t i = 0;
        while (i < ref.size() && (std::isalnum(static_cast<unsigned char>(ref[i])) ||
                                  ref[i] == '+' || ref[i] == '-' || ref[i] == '.'))
            ++i;
        return i > 0 && i < ref.size() && ref[i] == ':' &&
               std::isalpha(static_cast<unsigned char>(ref[0]));
    }

    std::string baseHost_, basePath_;
};

// Folder part and name of a path relative to the destination.
std::string_view FolderPart(std::string_view rel) {
    const size_t slash = rel.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : rel.substr(0, slash);
}

// Whether a file or folder exists, from one listing per folder.
class SiteFiles {
  public:
    SiteFiles(FileSystem& fs, std::string destination)
        : fs_(fs), destination_(std::move(destination)) {}

    bool Exists(const std::string& rel) {
        if (rel.empty()) return true;
        const size_t slash = rel.rfind('/');
        const std::string folder =
            slash == std::string::npos ? std::string() : rel.substr(0, slash);
        const std::string_view name = slash == std::string::npos
                                          ? std::string_view(rel)
                                          : std::string_view(rel).substr(slash + 1);
        auto it = folders_.find(folder);
        if (it == folders_.end()) {
            std::vector<std::string> names;
            std::unordered_set<std::string> set;
            if (fs_.ListNames(Path(folder), names))
                set.insert(std::make_move_iterator(names.begin()),
                           std::make_move_iterator(names.end()));
            it = folders_.emplace(folder, std::move(set)).first;
        }
        return it->second.count(std::string(name)) > 0;
    }

    std::string Path(const std::string& rel) const {
        return rel.empty() ? destination_ : JoinPath(destination_, rel);
    }

  private:
    FileSystem& fs_;
    std::string destination_;
    std::unordered_map<std::string, std::unordered_set<std::string>> folders_;
};

// A reference found in a file: the text as written and its line.
struct Ref {
    std::string text;
    int line;
};

// Counts lines while moving forward through a text (CR LF, CR and LF each end a line).
class Cursor {
  public:
    explicit Cursor(std::string_view s) : s_(s) {}
    void MoveTo(size_t to) {
        if (to > s_.size()) to = s_.size();
        for (; pos_ < to; ++pos_) {
            const char c = s_[pos_];
            if (c == '\n' || (c == '\r' && (pos_ + 1 >= s_.size() || s_[pos_ + 1] != '\n')))
                ++line_;
        }
    }
    size_t Pos() const { return pos_; }
    int Line() const { return line_; }

  private:
    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
};

// The closing tag `what` ("</script"), in any letter case, from `from` on.
size_t FindClosingTag(std::string_view s, std::string_view what, size_t from) {
    for (size_t k = s.find("</", from); k != std::string_view::npos; k = s.find("</", k + 2))
        if (StartsWithNoCase(s.substr(k), what)) return k;
    return std::string_view::npos;
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

// href and src of every tag (but <base>), outside comments and the bodies of scripts and
// style blocks.
void HtmlRefs(std::string_view s, std::vector<Ref>& refs) {
    Cursor cur(s);
    size_t i = 0;
    const size_t n = s.size();
    while ((i = s.find('<', i)) != std::string_view::npos) {
        if (s.compare(i, 4, "<!--") == 0) {
            const size_t end = s.find("-->", i + 4);
            if (end == std::string_view::npos) break;
            i = end + 3;
            continue;
        }
        size_t j = i + 1;
        if (j < n && s[j] == '/') {
            i = j;
            continue;
        }
        std::string tag;
        while (j < n && IsNameChar(s[j])) tag += Lower(s[j++]);
        if (tag.empty()) {
            i = j;
            continue;
        }
        // Attributes up to the closing bracket.
        while (j < n && s[j] != '>') {
            if (IsSpace(s[j]) || s[j] == '/') {
                ++j;
                continue;
            }
            const size_t nameStart = j;
            while (j < n && !IsSpace(s[j]) && s[j] != '=' && s[j] != '>' && s[j] != '/') ++j;
            if (j == nameStart) {
                ++j;
                continue;
            }
            const std::string_view name = s.substr(nameStart, j - nameStart);
            size_t k = j;
            while (k < n && IsSpace(s[k])) ++k;
            if (k >= n || s[k] != '=') continue;
            ++k;
            while (k < n && IsSpace(s[k])) ++k;
            size_t valueStart = k, valueEnd;
            if (k < n && (s[k] == '"' || s[k] == '\'')) {
                valueStart = k + 1;
                valueEnd = s.find(s[k], valueStart);
                if (valueEnd == std::string_view::npos) valueEnd = n;
                j = valueEnd < n ? valueEnd + 1 : n;
            } else {
                valueEnd = k;
                while (valueEnd < n && !IsSpace(s[valueEnd]) && s[valueEnd] != '>') ++valueEnd;
                j = valueEnd;
            }
            const bool wanted = (name.size() == 4 && StartsWithNoCase(name, "href")) ||
                                (name.size() == 3 && StartsWithNoCase(name, "src"));
            if (wanted && tag != "base") {
                cur.MoveTo(valueStart);
                refs.push_back(
                    {DecodeEntities(s.substr(valueStart, valueEnd - valueStart)), cur.Line()});
            }
        }
        i = j;
        if (tag == "script" || tag == "style") {
            const size_t close = FindClosingTag(s, tag == "script" ? "</script" : "</style", i);
            if (close == std::string_view::npos) break;
            i = close;
        }
    }
}

// A string literal of the menu script starting at s[i] == '"'; `i` ends after it.
std::optional<std::string> ScriptString(std::string_view s, size_t& i) {
    if (i >= s.size() || s[i] != '"') return std::nullopt;
    std::string out;
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[++i];
        } else if (s[i] == '"') {
            ++i;
            return out;
        } else if (s[i] == '\n' || s[i] == '\r') {
            return std::nullopt;
        } else {
            out += s[i];
        }
    }
    return std::nullopt;
}

// The file names of the menu script's data part: the menu frame page, the first page and the
// file of every menu record.
void ScriptRefs(std::string_view s, std::vector<Ref>& refs) {
    Cursor cur(s);
    for (const char* var : {"y_menframe_file = ", "y_firstinhalt_file = "}) {
        size_t i = s.find(var);
        if (i == std::string_view::npos) continue;
        const size_t at = i + std::strlen(var);
        i = at;
        if (std::optional<std::string> name = ScriptString(s, i)) {
            Cursor c(s);
            c.MoveTo(at);
            refs.push_back({*name, c.Line()});
        }
    }
    constexpr std::string_view kRecord = "new y_menrecord(";
    for (size_t i = s.find(kRecord); i != std::string_view::npos; i = s.find(kRecord, i)) {
        const size_t at = i;
        i += kRecord.size();
        if (!ScriptString(s, i) || i >= s.size() || s[i] != ',') continue;
        ++i;
        std::optional<std::string> name = ScriptString(s, i);
        if (!name) continue;
        cur.MoveTo(at);
        refs.push_back({*name, cur.Line()});
    }
}

// The <loc> addresses of a sitemap (UTF-8 text) as Windows-1252 texts.
void SitemapRefs(std::string_view s, std::vector<Ref>& refs) {
    Cursor cur(s);
    for (size_t i = s.find("<loc>"); i != std::string_view::npos; i = s.find("<loc>", i)) {
        const size_t start = i + 5;
        const size_t end = s.find("</loc>", start);
        if (end == std::string_view::npos) break;
        cur.MoveTo(i);
        refs.push_back(
            {Utf8ToCp1252(DecodeEntities(Trim(s.substr(start, end - start)))), cur.Line()});
        i = end + 6;
    }
}

bool LooksLikeHtml(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos) return true;
    std::string ext;
    for (char c : name.substr(dot + 1)) ext += Lower(c);
    for (const char* e : {"htm", "html", "shtml", "xhtml", "php", "php3", "asp", "aspx", "jsp"})
        if (ext == e) return true;
    return false;
}

}  // namespace

std::string LinkProblemText(const LinkProblem& p) {
    if (p.kind == LinkProblem::Kind::SiteFile) return p.page + ": Datei der Site " + p.target;
    if (p.kind == LinkProblem::Kind::Orphan)
        return p.page +
               ": Seite des Men\xFC"
               "s, auf die nichts verweist";
    return p.page + ":" + std::to_string(p.line) + ": Ziel fehlt: " + p.target;
}

LinkCheckSite LinkCheckSiteFor(const Project& project, const std::string& destination) {
    const ProjectSettings& s = project.Settings;
    LinkCheckSite site;
    site.destination = destination;
    // Exactly the files a build makes, so the check reads what the build owns and nothing else.
    for (SiteFile& f : SiteFileList(project)) {
        if (f.kind != SiteFileKind::TablePage) site.siteFiles.push_back(f.name);
        if (f.kind == SiteFileKind::MenuScript)
            site.menuScript = std::move(f.name);
        else if (f.kind == SiteFileKind::Sitemap)
            site.sitemap = std::move(f.name);
        else if (IsSitePage(f.kind) && IsMenuPage(f.kind))
            site.menuPages.push_back(f.name);
        if (IsSitePage(f.kind)) site.pages.push_back(std::move(f.name));
    }
    site.baseAddress = s.sitemap.urltext;
    site.sitemapPrefix = SitemapPrefix(s);
    return site;
}

std::vector<LinkProblem> CheckLinks(FileSystem& fs, const LinkCheckSite& site) {
    std::vector<LinkProblem> problems;
    SiteFiles files(fs, site.destination);
    const Resolver resolver(site.baseAddress);
    // Targets some page, the include file or the menu script leads to, other than itself.
    std::unordered_set<std::string> linked;
    std::unordered_set<std::string> read;
    std::vector<Ref> refs;
    std::string text;

    // The build's own files first: a site never built, a page replaced by a link that leads
    // nowhere or by a folder is not a clean site.
    std::unordered_set<std::string> seen;
    for (const std::string& name : site.siteFiles) {
        const std::optional<std::string> rel = Resolver::Normalize("", name);
        if (!rel || rel->empty() || !seen.insert(*rel).second) continue;
        const std::string path = files.Path(*rel);
        if (fs.FileExists(path)) continue;
        const char* state = fs.Exists(path)                ? "ist keine Datei"
                            : fs.FollowLinks(path) != path ? "ist ein Verweis ins Leere"
                                                           : "fehlt";
        problems.push_back({LinkProblem::Kind::SiteFile, *rel, 0, state});
    }

    // Reads one file of the site (once) and checks what `collect` finds in it.
    auto checkFile = [&](const std::string& rel, bool countsAsLink, auto&& collect,
                         auto&& resolve) {
        if (rel.empty() || !read.insert(rel).second) return;
        if (!fs.ReadAll(files.Path(rel), text)) return;
        refs.clear();
        collect(std::string_view(text), refs);
        for (const Ref& ref : refs) {
            const std::optional<std::string> target = resolve(ref.text);
            if (!target) continue;
            if (!files.Exists(*target)) {
                problems.push_back({LinkProblem::Kind::Missing, rel, ref.line, ref.text});
            } else if (countsAsLink && *target != rel) {
                linked.insert(*target);
            }
        }
    };

    std::vector<std::string> pages;
    auto addPage = [&](std::string_view name) {
        const std::optional<std::string> rel = resolver.Resolve(name, "");
        if (rel && !rel->empty() && LooksLikeHtml(*rel)) pages.push_back(*rel);
    };
    for (const std::string& p : site.pages) addPage(p);
    // Pages the menu script names belong to the site too (a menu made from tables lists them
    // there only).
    std::vector<Ref> scriptRefs;
    std::optional<std::string> scriptRel;
    if (!site.menuScript.empty()) scriptRel = Resolver::Normalize("", site.menuScript);
    if (scriptRel && !scriptRel->empty() && fs.ReadAll(files.Path(*scriptRel), text)) {
        ScriptRefs(text, scriptRefs);
        for (const Ref& r : scriptRefs) addPage(r.text);
    }

    for (const std::string& page : pages) {
        const std::string folder(FolderPart(page));
        checkFile(page, true, HtmlRefs,
                  [&](const std::string& ref) { return resolver.Resolve(ref, folder); });
    }
    // The menu script was read above; its names are checked here, in the report's order.
    if (scriptRel && !scriptRel->empty() && read.insert(*scriptRel).second) {
        for (const Ref& ref : scriptRefs) {
            const std::optional<std::string> target = resolver.Resolve(ref.text, "");
            if (!target) continue;
            if (!files.Exists(*target))
                problems.push_back({LinkProblem::Kind::Missing, *scriptRel, ref.line, ref.text});
            else
                linked.insert(*target);
        }
    }
    // The sitemap is for search engines, not a link a visitor follows: its addresses are
    // checked, but being listed there does not keep a page from being an orphan.
    if (std::optional<std::string> mapRel = Resolver::Normalize("", site.sitemap);
        mapRel && !mapRel->empty()) {
        const std::string& prefix = site.sitemapPrefix;
        const bool web =
            StartsWithNoCase(prefix, "http://") || StartsWithNoCase(prefix, "https://");
        checkFile(*mapRel, false, SitemapRefs,
                  [&](const std::string& address) -> std::optional<std::string> {
                      if (web) return resolver.FromAbsolute(address);
                      if (prefix.empty() || address.compare(0, prefix.size(), prefix) != 0)
                          return std::nullopt;
                      return Resolver::Normalize("",
                                                 std::string_view(address).substr(prefix.size()));
                  });
    }

    std::unordered_set<std::string> reported;
    for (const std::string& name : site.menuPages) {
        const std::optional<std::string> rel = resolver.Resolve(name, "");
        if (!rel || rel->empty() || linked.count(*rel) || !reported.insert(*rel).second) continue;
        if (files.Exists(*rel)) problems.push_back({LinkProblem::Kind::Orphan, *rel, 0, {}});
    }
    return problems;
}

}  // namespace pagloom
