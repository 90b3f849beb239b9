// SPDX-License-Identifier: MIT
// Instance frames, instance references and the region merge, on small hand-made templates.
#include <gtest/gtest.h>

#include <string>

#include "Fakes.h"
#include "generator/Dreamweaver.h"
#include "generator/TextLines.h"
#include "ports/Host.h"

namespace pagloom {
namespace {

TextLines Lines(std::string_view text) { return SplitLines(text); }

// A template in the destination's Templates folder, so its reference is "/Templates/t.dwt".
constexpr const char* kDest = "/site";
constexpr const char* kTemplatePath = "/site/Templates/t.dwt";

TEST(TemplateStyle, DecidedByTemplateMarkerInAnyCase) {
    struct Row {
        const char* text;
        TemplateStyle style;
    } rows[] = {
        {"<!-- TemplateBeginEditable name=\"a\" -->", TemplateStyle::dw_mx2004},
        {"<!-- templatebegineditable name=\"a\" -->", TemplateStyle::dw_mx2004},
        {"<!-- #BeginEditable \"a\" -->", TemplateStyle::dw_4},
        {"<!-- InstanceBeginEditable name=\"a\" -->", TemplateStyle::dw_4},
        {"", TemplateStyle::dw_4},
    };
    for (const Row& r : rows) EXPECT_EQ(TemplateStyleOf(r.text), r.style) << r.text;
}

TEST(InstanceReference, RelativeToDestinationSetting) {
    struct Row {
        const char* templatePath;
        const char* destination;
        const char* reference;
    } rows[] = {
        {"/site/Templates/base.dwt", "/site", "/Templates/base.dwt"},
        {"/site/Templates/base.dwt", "/site/", "/Templates/base.dwt"},
        {"/Site/templates/base.dwt", "/site",
         "/templates/base.dwt"},  // folders compared without case
        {"/site/base.dwt", "/site", "/base.dwt"},
        {"/home/u/tpl/a.dwt", "/home/u/site/www", "/../../tpl/a.dwt"},
        {"C:\\web\\Templates\\a.dwt", "c:\\web", "/Templates/a.dwt"},
        // No leading folder in common: the full path, given no second "/" in front.
        {"/opt/tpl/a.dwt", "/home/site", "/opt/tpl/a.dwt"},
        {"D:\\tpl\\a.dwt", "C:\\web", "/D:/tpl/a.dwt"},
        {"tpl/a.dwt", "/site", "/tpl/a.dwt"},
        {"Templates/a.dwt", "", "/Templates/a.dwt"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(InstanceReference(r.templatePath, r.destination), r.reference)
            << r.templatePath << " | " << r.destination;
}

TEST(MakeDWInstance, Mx2004FrameAndInstanceMarkers) {
    TextLines lines = Lines(
        "<!DOCTYPE html>\n"
        "<HTML lang=\"de\">\n"
        "<head><!-- TemplateBeginEditable name=\"doctitle\" --><title>T</title><!-- "
        "templateendeditable --></head>\n"
        "<body>x</body></HTML>\n");
    RecordingHost host;
    MakeDWInstance(lines, kTemplatePath, kDest, host);
    EXPECT_EQ(lines, Lines("<!DOCTYPE html>\n"
                           "<HTML lang=\"de\"><!-- InstanceBegin template=\"/Templates/t.dwt\" "
                           "codeOutsideHTMLIsLocked=\"false\" -->\n"
                           "<head><!-- InstanceBeginEditable name=\"doctitle\" --><title>T</title>"
                           "<!-- InstanceEndEditable --></head>\n"
                           "<body>x</body><!-- InstanceEnd --></HTML>\n"));
    EXPECT_TRUE(host.messages.empty());
}

TEST(MakeDWInstance, Dw4FrameAroundHtmlTags) {
    TextLines lines =
        Lines("<html>\n<!-- #BeginEditable \"doctitle\" -->t<!-- #EndEditable -->\n</html>\n");
    RecordingHost host;
    MakeDWInstance(lines, kTemplatePath, kDest, host);
    EXPECT_EQ(lines, Lines("<html><!-- #BeginTemplate \"/Templates/t.dwt\" -->\n"
                           "<!-- #BeginEditable \"doctitle\" -->t<!-- #EndEditable -->\n"
                           "<!-- #EndTemplate --></html>\n"));
}

TEST(AddInstanceFrame, FooterGoesBeforeTheLastClosingTag) {
    TextLines lines = Lines("<html>\n<script>document.write('</html>')</script>\n</html>\n");
    RecordingHost host;
    EXPECT_EQ(AddInstanceFrame(lines, kTemplatePath, kDest, host), TemplateStyle::dw_4);
    EXPECT_EQ(lines[1], "<script>document.write('</html>')</script>");
    EXPECT_EQ(lines[2], "<!-- #EndTemplate --></html>");
}

TEST(AddInstanceFrame, MissingHtmlTagsGiveMessageAndLeaveThatPartOut) {
    const std::string noOpen = "Fehler: Vorlagen-Datei enth\xe4lt kein <HTML>-Tag";
    const std::string noClose = "Fehler: Vorlagen-Datei enth\xe4lt kein </HTML>-Tag";
    struct Row {
        const char* name;
        const char* in;
        const char* out;
        std::vector<std::string> messages;
    } rows[] = {
        {"no <html",
         "<head></head>\n</html>\n",
         "<head></head>\n<!-- #EndTemplate --></html>\n",
         {noOpen}},
        {"no </html>",
         "<html>\n<body>\n",
         "<html><!-- #BeginTemplate \"/Templates/t.dwt\" -->\n<body>\n",
         {noClose}},
        {"<html without >", "<body>\n<html", "<body>\n<html\n", {noOpen, noClose}},
        {"/html only in an attribute",
         "<html>\n<meta content=\"text/html\">\n",
         "<html><!-- #BeginTemplate \"/Templates/t.dwt\" -->\n<meta content=\"text/html\">\n",
         {noClose}},
        {"empty", "", "", {noOpen, noClose}},
    };
    for (const Row& r : rows) {
        TextLines lines = Lines(r.in);
        RecordingHost host;
        AddInstanceFrame(lines, kTemplatePath, kDest, host);
        EXPECT_EQ(lines, Lines(r.out)) << r.name;
        EXPECT_EQ(host.messages, r.messages) << r.name;
    }
}

// A small MX 2004 template with three regions, and pages holding some of them.
const char* const kMxTemplate =
    "<html>\n"
    "<head>\n"
    "<!-- TemplateBeginEditable name=\"doctitle\" --><title>Vorlage</title><!-- "
    "TemplateEndEditable -->\n"
    "</head>\n"
    "<body>\n"
    "<div id=\"nav\">Navigation neu</div>\n"
    "<!-- TemplateBeginEditable name=\"main\" -->\n<p>Text</p>\n<!-- TemplateEndEditable -->\n"
    "<!-- TemplateBeginEditable name=\"side\" -->Rand<!-- TemplateEndEditable -->\n"
    "</body>\n"
    "</html>\n";

std::string Merge(const std::string& page, const std::string& tpl,
                  RecordingHost* hostOut = nullptr) {
    TextLines lines = Lines(page);
    RecordingHost host;
    MergeDWPage(lines, Lines(tpl), kTemplatePath, kDest, hostOut ? *hostOut : host);
    return JoinLines(lines);
}

std::string Instance(const std::string& tpl) {
    TextLines lines = Lines(tpl);
    RecordingHost host;
    MakeDWInstance(lines, kTemplatePath, kDest, host);
    return JoinLines(lines);
}

// The instance of kMxTemplate with the given region contents.
std::string MxPage(const std::string& title, const std::string& main, const std::string& side) {
    return "<html><!-- InstanceBegin template=\"/Templates/t.dwt\" "
           "codeOutsideHTMLIsLocked=\"false\" -->\r\n"
           "<head>\r\n"
           "<!-- InstanceBeginEditable name=\"doctitle\" -->" +
           title +
           "<!-- InstanceEndEditable -->\r\n"
           "</head>\r\n"
           "<body>\r\n"
           "<div id=\"nav\">Navigation neu</div>\r\n"
           "<!-- InstanceBeginEditable name=\"main\" -->" +
           main +
           "<!-- InstanceEndEditable -->\r\n"
           "<!-- InstanceBeginEditable name=\"side\" -->" +
           side +
           "<!-- InstanceEndEditable -->\r\n"
           "</body>\r\n"
           "<!-- InstanceEnd --></html>\r\n";
}

TEST(MergeDWPage, FreshInstanceMergesToItself) {
    const std::string fresh = Instance(kMxTemplate);
    EXPECT_EQ(fresh, MxPage("<title>Vorlage</title>", "\r\n<p>Text</p>\r\n", "Rand"));
    EXPECT_EQ(Merge(fresh, kMxTemplate), fresh);
}

TEST(MergeDWPage, KeepsPageRegionsByNameAndTakesEverythingElseFromTemplate) {
    const std::string page =
        "<html><!-- InstanceBegin template=\"/alt.dwt\" codeOutsideHTMLIsLocked=\"false\" -->\n"
        "<head>\n"
        "<!-- InstanceBeginEditable name=\"DocTitle\" --><title>Meine Seite</title><!-- "
        "InstanceEndEditable -->\n"
        "</head>\n"
        "<body>\n"
        "<div id=\"nav\">Navigation alt</div>\n"
        "<!-- InstanceBeginEditable name=\"main\" -->\nmein\r\nText\n<!-- InstanceEndEditable -->\n"
        "<!-- InstanceBeginEditable name=\"extra\" -->weg<!-- InstanceEndEditable -->\n"
        "</body>\n"
        "</html>\n";
    // "DocTitle" matches "doctitle"; "side" only in the template keeps "Rand"; "extra" is dropped.
    EXPECT_EQ(Merge(page, kMxTemplate),
              MxPage("<title>Meine Seite</title>", "\r\nmein\r\nText\r\n", "Rand"));
}

TEST(MergeDWPage, LastRegionOfAName) {
    const std::string page = MxPage("<title>eins</title>", "x", "y") +
                             "<!-- InstanceBeginEditable name=\"doctitle\" "
                             "--><title>zwei</title><!-- InstanceEndEditable -->\r\n";
    EXPECT_EQ(Merge(page, kMxTemplate), MxPage("<title>zwei</title>", "x", "y"));
}

TEST(MergeDWPage, PageRegionWithoutEndTakesTemplateContent) {
    const std::string page =
        "<!-- InstanceBeginEditable name=\"main\" -->mein<!-- InstanceEndEditable -->\n"
        "<!-- InstanceBeginEditable name=\"side\" -->offen bis zum Ende\n";
    EXPECT_EQ(Merge(page, kMxTemplate), MxPage("<title>Vorlage</title>", "mein", "Rand"));
}

TEST(MergeDWPage, Dw4RegionsWithBareQuotedNames) {
    const char* tpl =
        "<html>\n<!-- #BeginEditable \"doctitle\" --><title>V</title><!-- #EndEditable -->\n"
        "<p>neu</p><!-- #BeginEditable \"Main\" -->T<!-- #EndEditable -->\n</html>\n";
    const std::string page =
        "<html><!-- #BeginTemplate \"/Templates/t.dwt\" -->\n<!-- #beginEditable \"doctitle\" "
        "--><title>S</title>"
        "<!-- #endeditable -->\n<p>alt</p><!-- #BeginEditable \"main\" -->meins<!-- #EndEditable "
        "-->\n"
        "<!-- #EndTemplate --></html>\n";
    EXPECT_EQ(Merge(page, tpl),
              "<html><!-- #BeginTemplate \"/Templates/t.dwt\" -->\r\n<!-- #BeginEditable "
              "\"doctitle\" --><title>S</title>"
              "<!-- #EndEditable -->\r\n<p>neu</p><!-- #BeginEditable \"Main\" -->meins<!-- "
              "#EndEditable -->\r\n"
              "<!-- #EndTemplate --></html>\r\n");
}

TEST(MergeDWPage, BrokenTemplateRegionsKeepTheRestOfTheTemplate) {
    const std::string page = MxPage("<title>S</title>", "mein", "meins");
    struct Row {
        const char* name;
        const char* tpl;     // its lines after "<html>"
        const char* merged;  // its lines after the "<html>" line with the header
    } rows[] = {
        // The last region has no end marker: from its begin comment on, the template as it is.
        {"end marker missing",
         "<!-- TemplateBeginEditable name=\"main\" -->T<!-- TemplateEndEditable -->\n"
         "<!-- TemplateBeginEditable name=\"side\" -->Rand\n</body>\n</html>\n",
         "<!-- InstanceBeginEditable name=\"main\" -->mein<!-- InstanceEndEditable -->\n"
         "<!-- InstanceBeginEditable name=\"side\" -->Rand\n</body>\n<!-- InstanceEnd "
         "--></html>\n"},
        {"name without quotes",
         "<!-- TemplateBeginEditable name=main -->T<!-- TemplateEndEditable -->\n"
         "<!-- TemplateBeginEditable name=\"side\" -->R<!-- TemplateEndEditable -->\n</html>\n",
         "<!-- InstanceBeginEditable name=main -->T<!-- InstanceEndEditable -->\n"
         "<!-- InstanceBeginEditable name=\"side\" -->R<!-- InstanceEndEditable -->\n<!-- "
         "InstanceEnd --></html>\n"},
        {"begin comment never closed", "<!-- TemplateBeginEditable name=\"main\"\nT\n</html>\n",
         "<!-- InstanceBeginEditable name=\"main\"\nT\n<!-- InstanceEnd --></html>\n"},
    };
    for (const Row& r : rows) {
        const std::string merged = Merge(page, std::string("<html>\n") + r.tpl);
        EXPECT_EQ(
            merged,
            JoinLines(Lines(std::string("<html><!-- InstanceBegin template=\"/Templates/t.dwt\" "
                                        "codeOutsideHTMLIsLocked=\"false\" -->\n") +
                            r.merged)))
            << r.name;
    }
}

TEST(MergeDWPage, TemplateWithoutHtmlTagsStillMerges) {
    RecordingHost host;
    const std::string merged = Merge(
        MxPage("<title>S</title>", "x", "y"),
        "<!-- TemplateBeginEditable name=\"doctitle\" -->V<!-- TemplateEndEditable -->\n", &host);
    EXPECT_EQ(merged,
              "<!-- InstanceBeginEditable name=\"doctitle\" --><title>S</title><!-- "
              "InstanceEndEditable -->\r\n");
    EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace pagloom
