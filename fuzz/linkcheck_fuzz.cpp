// SPDX-License-Identifier: MIT
// The link check over a site whose files come from the input: a frameset page, a page in a
// sub-folder, the menu script and the sitemap, separated by "\n--\n". Checks that every report
// names a file of the site and a line inside it, that orphans carry no line, and that no file
// is read twice.
#include <cstdlib>
#include <map>

#include "FuzzSupport.h"
#include "check/LinkCheck.h"

using namespace pagloom;

namespace {

// The memory file system with folder listings, so references resolve against the fuzzed site.
class SiteFs : public fuzz::MemoryFs {
  public:
    std::map<std::string, int> reads;

    bool ReadAll(const std::string& path, std::string& out) override {
        ++reads[path];
        return MemoryFs::ReadAll(path, out);
    }
    bool ListNames(const std::string& dir, std::vector<std::string>& names) override {
        names.clear();
        const std::string prefix = dir + "/";
        bool any = DirectoryExists(dir);
        for (const auto& [path, data] : files) {
            if (path.compare(0, prefix.size(), prefix) != 0) continue;
            any = true;
            const std::string rest = path.substr(prefix.size());
            names.push_back(rest.substr(0, rest.find('/')));
        }
        return any;
    }
};

int Lines(const std::string& text) {
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lines;
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string_view> parts = fuzz::SplitInput(data, size, "\n--\n");
    const char* const names[] = {"index.htm", "unter/seite.htm", "index.js", "sitemap.xml"};
    SiteFs fs;
    fs.folders.push_back("/fuzz/site");
    for (size_t i = 0; i < parts.size() && i < 4; ++i)
        fs.files["/fuzz/site/" + std::string(names[i])] = std::string(parts[i]);
    fs.files["/fuzz/site/da.htm"] = "<a href=\"index.htm\">";

    LinkCheckSite site;
    site.destination = "/fuzz/site";
    site.pages = {"index.htm", "unter/seite.htm", "da.htm"};
    site.menuPages = {"da.htm", "unter/seite.htm", "fehlt.htm"};
    site.menuScript = "index.js";
    site.sitemap = "sitemap.xml";
    site.baseAddress = "http://www.example.org/site";
    site.sitemapPrefix = "http://www.example.org/site/";
    for (const LinkProblem& p : CheckLinks(fs, site)) {
        const auto file = fs.files.find("/fuzz/site/" + p.page);
        if (file == fs.files.end()) std::abort();
        if (p.kind == LinkProblem::Kind::Orphan) {
            if (p.line != 0 || !p.target.empty()) std::abort();
        } else if (p.line < 1 || p.line > Lines(file->second)) {
            std::abort();
        }
        (void)LinkProblemText(p);
    }
    for (const auto& [path, n] : fs.reads)
        if (n > 1) std::abort();
    return 0;
}
