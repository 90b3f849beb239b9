// SPDX-License-Identifier: MIT
// Speed of rebuilding an existing page from its Dreamweaver template (MergeDWPage) while its
// editable regions are kept. The main case is a page of about 1 MB with 500 regions, each
// with its own content in the page; the template is of the same size. Then the size and the
// number of regions are doubled step by step: with a linear merge the time per MB stays flat.
// The yardstick is the unavoidable work on the same texts: joining both into one text and
// splitting the result into lines again.
//
//   bench-dreamweaver-merge [runs=7]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Fakes.h"
#include "generator/Dreamweaver.h"
#include "generator/TextLines.h"
#include "ports/Host.h"

using pagloom::TextLines;

namespace {

double Seconds(const std::function<void()>& f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double MedianOf(int runs, const std::function<void()>& f) {
    std::vector<double> v;
    for (int i = 0; i < runs; ++i) v.push_back(Seconds(f));
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Ordinary page text between the regions: markup with attributes in quotes, as real pages
// have, so the page's quoted strings are many; each link names "text/html", which the search
// for the closing html tag must step over.
void AppendLayout(std::string& s, int i, size_t bytes) {
    const size_t stop = s.size() + bytes;
    for (int row = 0; s.size() < stop; ++row)
        s += "<tr><td class=\"cell\" width=\"120\"><a type=\"text/html\" href=\"seite" +
             std::to_string(i) + "_" + std::to_string(row) + ".htm\">Eintrag " +
             std::to_string(row) + "</a></td></tr>\n";
}

struct Texts {
    TextLines templ;
    TextLines page;
    size_t bytes = 0;
};

// A template and one of its pages, each about `bytes` long, with `regions` regions.
Texts Make(size_t bytes, int regions) {
    const size_t chunk = bytes / static_cast<size_t>(regions + 1);
    std::string t = "<html>\n<head><meta content=\"text/html\"></head>\n<body>\n";
    std::string p =
        "<html><!-- InstanceBegin template=\"/Templates/t.dwt\" codeOutsideHTMLIsLocked=\"false\" "
        "-->\n"
        "<head><meta content=\"text/html\"></head>\n<body>\n";
    for (int i = 0; i < regions; ++i) {
        const std::string name = "\"bereich" + std::to_string(i) + "\"";
        AppendLayout(t, i, chunk / 2);
        AppendLayout(p, i, chunk / 2);
        t += "<!-- TemplateBeginEditable name=" + name + " -->\n";
        p += "<!-- InstanceBeginEditable name=" + name + " -->\n";
        AppendLayout(t, -i, chunk / 2);
        AppendLayout(p, 100000 + i, chunk / 2);  // the page's own content
        t += "<!-- TemplateEndEditable -->\n";
        p += "<!-- InstanceEndEditable -->\n";
    }
    AppendLayout(t, -1, chunk);
    AppendLayout(p, -1, chunk);
    t += "</body>\n</html>\n";
    p += "</body>\n<!-- InstanceEnd --></html>\n";
    Texts x;
    x.bytes = p.size();
    x.templ = pagloom::SplitLines(t);
    x.page = pagloom::SplitLines(p);
    return x;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    pagloom::RecordingHost host;

    std::printf("%10s %8s %12s %12s %10s %8s\n", "page MB", "regions", "merge ms", "yardstick ms",
                "ms per MB", "ratio");
    struct Step {
        size_t bytes;
        int regions;
    } steps[] = {{1u << 20, 500},  {1u << 19, 250}, {1u << 21, 1000},
                 {1u << 22, 2000}, {1u << 22, 500}, {1u << 20, 5000}};
    for (const Step& step : steps) {
        const Texts x = Make(step.bytes, step.regions);
        TextLines merged;
        const double merge = MedianOf(runs, [&] {
            merged = x.page;
            pagloom::MergeDWPage(merged, x.templ, "/site/Templates/t.dwt", "/site", host);
        });
        const double yard = MedianOf(runs, [&] {
            std::string all = pagloom::JoinLines(x.page) + pagloom::JoinLines(x.templ);
            TextLines lines = pagloom::SplitLines(all);
            if (lines.empty()) std::abort();
        });
        // Keep the merge honest: the page's layout equals the template's and every region
        // keeps the page's content, so the merged page must be the page itself.
        if (merged != x.page) {
            std::fprintf(stderr, "merged page differs from the page (%zu / %zu lines)\n",
                         merged.size(), x.page.size());
            return 1;
        }
        const double mb = static_cast<double>(x.bytes) / (1 << 20);
        std::printf("%10.2f %8d %12.1f %12.1f %10.1f %8.2f\n", mb, step.regions, merge * 1000,
                    yard * 1000, merge * 1000 / mb, merge / yard);
    }
    return 0;
}
