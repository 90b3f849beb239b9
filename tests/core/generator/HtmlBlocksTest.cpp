// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>

#include "generator/HtmlBlocks.h"
#include "generator/TagScan.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

TEST(PageHeadFoot, EightHeadLinesWithTitleUnconvertedAndTwoFootLines) {
    TextLines lines{"vorher"};
    AddPageHead(lines, "<b>\xC4</b>");
    AddPageFoot(lines);
    const TextLines expected{
        "vorher",
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\">",
        "<html>",
        "<head>",
        "<title><b>\xC4</b></title>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">",
        "</head>",
        "",
        "<body>",
        "</body>",
        "</html>"};
    EXPECT_EQ(lines, expected);

    TextLines empty;
    AddPageHead(empty, "");
    EXPECT_EQ(empty[3], "<title></title>");
}

TEST(WebAddressesToLinks, Table) {
    struct Case {
        const char* name;
        const char* text;
        const char* target;
        const char* expected;
    } cases[] = {
        {"full stop stays outside, target on every link", "Siehe www.a.de, dann www.b.de.",
         "_blank",
         "Siehe <a href=\"http://www.a.de\" target=\"_blank\">www.a.de</a>, dann "
         "<a href=\"http://www.b.de\" target=\"_blank\">www.b.de</a>."},
        {"capital WWW written in lower case, rest as written", "WWW.Example.DE", "",
         "<a href=\"http://www.Example.DE\">www.Example.DE</a>"},
        {"http:// in front stays", "http://www.x.de/a?b=1", "",
         "http://<a href=\"http://www.x.de/a?b=1\">www.x.de/a?b=1</a>"},
        {"only one final punctuation byte is dropped", "www.x.de?!", "",
         "<a href=\"http://www.x.de?\">www.x.de?</a>!"},
        {"ends at a no-break space and at control bytes", "www.x.de\xA0und www.y.de\tz", "",
         "<a href=\"http://www.x.de\">www.x.de</a>\xA0und <a "
         "href=\"http://www.y.de\">www.y.de</a>\tz"},
        {"no address, ampersand untouched", "AT&T ohne Adresse", "_blank", "AT&T ohne Adresse"},
        {"empty text", "", "_blank", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WebAddressesToLinks(c.text, c.target), c.expected) << c.name;
}

TEST(FindTagAround, Table) {
    struct Case {
        const char* name;
        const char* text;
        size_t start;
        const char* word;
        size_t open, after;
    } cases[] = {
        {"tag with attributes, any case", "<HTML lang=\"de\">", 1, "html", 1, 17},
        {"closing tag", "<p>x</p>\r\n</HTML>", 1, "/html", 11, 18},
        {"search starts at start", "<html><body>", 2, "body", 7, 13},
        {"word not found", "<html>", 1, "body", 0, 0},
        {"no < between start and word", "html <x>", 1, "html", 0, 0},
        {"< before start does not count", "<a html>", 2, "html", 0, 0},
        {"no > after the word", "<html", 1, "html", 0, 0},
    };
    for (const auto& c : cases) {
        TagAround t = FindTagAround(c.text, c.start, c.word);
        EXPECT_EQ(t.open, c.open) << c.name;
        if (c.open) {
            EXPECT_EQ(t.after, c.after) << c.name;
        }
    }
}

TEST(ParseTagAttributes, Table) {
    using V = std::vector<std::string>;
    struct Case {
        const char* tag;
        V expected;
    } cases[] = {
        {"<FIELD name=\"Vorname\">", {"tagname=field", "name=vorname"}},
        {"<FIELD NAME=Vorname>", {"tagname=field", "name=vorname"}},
        {"<FIELD name = \"a b\">", {"tagname=field", "name=a b"}},
        {"<RECORD>", {"tagname=record"}},
        {"< RECORD >", {"tagname=record"}},
        {"<x checked a='B'>", {"tagname=x", "checked", "a=b"}},
        // An unquoted value ends at the blank, so further attributes may follow it.
        {"<FIELD name=Vorname size=3>", {"tagname=field", "name=vorname", "size=3"}},
        {"<>", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTagAttributes(c.tag), c.expected) << c.tag;
}

TEST(TagBrackets, ListEntries) {
    const char* entries[] = {"<>", "()", "{}", "[]", "\xAB\xBB"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(TagBracketsFor(i).open, entries[i][0]) << i;
        EXPECT_EQ(TagBracketsFor(i).close, entries[i][1]) << i;
    }
    EXPECT_EQ(TagBracketsFor(7).open, '<');
}

TEST(BracketTags, NextTable) {
    struct Case {
        const char* name;
        const char* text;
        size_t start;
        int bracketIndex;
        bool found;
        const char* tagName;
        size_t open, close;
    } cases[] = {
        {"square brackets ignore angle tags", "<FIELD name=x> [FIELD name=x]", 1, 3, true, "field",
         16, 29},
        {"empty tag skipped", "<>x<y>", 1, 0, true, "y", 4, 6},
        {"blank before the name", "< b>", 1, 0, true, "b", 1, 4},
        {"tag spans lines", "<FIELD name=\"a\r\nb\">", 1, 0, true, "field", 1, 19},
        {"Windows-1252 letters lowered", "\xAB\xC4Ml\xBB", 1, 4, true, "\xE4ml", 1, 5},
        {"starts at start", "<a><b>", 2, 0, true, "b", 4, 6},
        {"unclosed tag", "text <abc", 1, 0, false, "", 0, 0},
        {"unclosed tag with attributes", "<abc d=1", 1, 0, false, "", 0, 0},
        {"no tag", "nur Text", 1, 0, false, "", 0, 0},
    };
    for (const auto& c : cases) {
        const BracketTags tags(c.text, TagBracketsFor(c.bracketIndex));
        BracketTag t = tags.Next(c.start);
        EXPECT_EQ(t.found, c.found) << c.name;
        if (!c.found) continue;
        EXPECT_TRUE(t.Named(c.tagName)) << c.name;
        EXPECT_EQ(t.open, c.open) << c.name;
        EXPECT_EQ(t.close, c.close) << c.name;
    }
}

TEST(BracketTags, FindsFirstTagOfNameIgnoringCase) {
    const std::string text = "<RECORD><td><FIELD name=a>x</FIELD></td></RECORD>";
    const BracketTags tags(text, TagBracketsFor(0));
    BracketTag t = tags.Find(1, "/record");
    ASSERT_TRUE(t.found);
    EXPECT_EQ(t.open, text.find("</RECORD>") + 1);
    EXPECT_EQ(t.close, text.size());

    t = tags.Find(1, "field");
    ASSERT_TRUE(t.found);
    EXPECT_EQ(t.open, text.find("<FIELD") + 1);
    // From after the field tag, the next "field" tag is not the closing one.
    EXPECT_FALSE(tags.Find(t.close + 1, "field").found);
    EXPECT_FALSE(tags.Find(1, "tr").found);
}

// The scanner as it was first written: a state machine run from the start position on every
// call. Kept as the reference the one-pass index must agree with.
struct RefTag {
    bool found = false;
    std::string name;
    size_t open = 0, close = 0;
};

RefTag RefNext(std::string_view text, size_t start, TagBrackets brackets) {
    RefTag tag;
    if (start < 1) start = 1;
    int state = 0;
    size_t nameStart = 0;
    for (size_t i = start - 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == brackets.open && state == 0) {
            tag.open = i + 1;
            state = 3;
        } else if (c == brackets.close) {
            if (state == 3) {
                state = 0;
            } else if (state == 4 || state == 5) {
                if (state == 4) tag.name = ToLowerCp1252(text.substr(nameStart, i - nameStart));
                tag.found = true;
                tag.close = i + 1;
                return tag;
            }
        } else if (c == ' ') {
            if (state == 4) {
                tag.name = ToLowerCp1252(text.substr(nameStart, i - nameStart));
                state = 5;
            }
        } else if (c == brackets.open) {
        } else if (state == 3) {
            nameStart = i;
            state = 4;
        }
    }
    return RefTag{};
}

RefTag RefFind(std::string_view text, size_t start, std::string_view lowerName,
               TagBrackets brackets) {
    RefTag tag = RefNext(text, start, brackets);
    while (tag.found && tag.name != lowerName) tag = RefNext(text, tag.close + 1, brackets);
    return tag;
}

void ExpectSameAsReference(const std::string& text, TagBrackets brackets) {
    const BracketTags tags(text, brackets);
    auto same = [](const BracketTag& got, const RefTag& want) {
        return got.found == want.found && got.open == want.open && got.close == want.close &&
               (!want.found || got.Named(want.name));
    };
    for (size_t start = 0; start <= text.size() + 2; ++start) {
        ASSERT_TRUE(same(tags.Next(start), RefNext(text, start, brackets)))
            << "Next from " << start << " in \"" << text << "\"";
        for (std::string_view name : {"field", "/field", "record", "/record", "a", "\xE4"})
            ASSERT_TRUE(same(tags.Find(start, name), RefFind(text, start, name, brackets)))
                << "Find " << name << " from " << start << " in \"" << text << "\"";
    }
}

TEST(BracketTags, SameResultsAsTheScanFromEachPosition) {
    const char* tricky[] = {
        "",
        "<",
        ">",
        "<>",
        "< >",
        "<<>>",
        "<a<b<c>",
        "<field <field <field name=x>",
        "<record><field name=a>x</field></record>",
        "<record><record></record>",
        "</record <x>",
        "<a>< b ><>< /FIELD>",
        "<FIELD name=a>x</Field >y</field>",
        "<\r\nfield\r\n>",
        "text <a  <  > <> >>> <",
        "<\xC4>\xAB\xC4\xBB",
        "[a][/a]{b}(c)",
    };
    for (const char* text : tricky)
        for (int index = 0; index < 5; ++index) ExpectSameAsReference(text, TagBracketsFor(index));
    // Odd pairs no list entry has: both brackets alike, or a blank as a bracket.
    for (TagBrackets odd : {TagBrackets{'|', '|'}, TagBrackets{' ', '>'}, TagBrackets{'<', ' '}})
        for (const char* text : tricky) ExpectSameAsReference(text, odd);

    std::mt19937 random(16);
    const std::string alphabet = "<<>>  []/aAfieldrcoFR\r\n|\xAB\xBB\xC4";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        ExpectSameAsReference(text, TagBracketsFor(static_cast<int>(random() % 5)));
        if (::testing::Test::HasFatalFailure()) return;
    }
}

// The first "name=" entry, read from the tag on its own.
std::optional<std::string> NameReadAlone(std::string_view tag) {
    for (const std::string& entry : ParseTagAttributes(tag))
        if (entry.rfind("name=", 0) == 0) return entry.substr(5);
    return std::nullopt;
}

// Every tag of the text, asked in increasing order of position (as the template readers ask)
// or backwards, must give what reading it alone gives.
void ExpectSameNameAsAlone(const std::string& text) {
    const BracketTags tags(text, TagBrackets{});
    std::map<size_t, size_t> all;  // open -> close
    for (size_t start = 1; start <= text.size(); ++start)
        if (const BracketTag t = tags.Next(start); t.found) all[t.open] = t.close;
    const TagNameAttribute forwards(text), backwards(text);
    auto check = [&](const TagNameAttribute& names, size_t open, size_t close) {
        ASSERT_EQ(names.Of(open, close), NameReadAlone(text.substr(open - 1, close - open + 1)))
            << "tag at " << open << " in \"" << text << "\"";
    };
    for (const auto& [open, close] : all) check(forwards, open, close);
    for (auto it = all.rbegin(); it != all.rend(); ++it) check(backwards, it->first, it->second);
}

TEST(TagNameAttribute, SameAsReadingEachTagAlone) {
    const char* tricky[] = {
        "<field name=a>",
        "<FIELD Name=\"Vor Name\">",
        "<field <field name=x>",
        "<field <field <field >",
        "<field name=>",
        "<field name=  = >",
        "<field name  = x>",
        "<field name =>",
        "<field name= =  >",
        "<field x='NAME=y>",
        "<field x=\"name=\">",
        "<field a=b=c name=d=e>",
        "<field name=a=b name=c>",
        "<field name='a b' name=c>",
        "<field name\"=x>",
        "<<field name=x>",
        "< < field name=x>",
        "<field name=\"a <field name=b\" c>",
        "<field na=me name=<field name=z>",
        // The inner tag reads on in its value where the outer one starts a new attribute.
        "<field a=\"<field name=x\"name=y>",
    };
    for (const char* text : tricky) ExpectSameNameAsAlone(text);

    // Random texts of pieces, so that attribute names "name" are frequent.
    std::mt19937 random(17);
    const char* pieces[] = {"<", "<",    ">",    " ", " ",  "=", "\"",
                            "'", "name", "NAME", "x", "na", "me"};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (size_t n = random() % 24; n > 0; --n) text += pieces[random() % std::size(pieces)];
        ExpectSameNameAsAlone(text);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace pagloom
