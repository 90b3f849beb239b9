// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "model/ContentPageRules.h"
#include "model/ProjectSettings.h"
#include "model/TableSettings.h"
#include "model/TagBrackets.h"

using namespace pagloom;

TEST(TagBrackets, ListInOrderAndOutOfRangeGivesFirst) {
    const char* texts[] = {"<...>", "(...)", "{...}", "[...]", "\xAB...\xBB"};
    ASSERT_EQ(TagBracketKinds().size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const TagBracketKind& k = TagBracketKindAt(i);
        EXPECT_EQ(k.listText, texts[i]) << i;
        // The list text shows the very bytes that open and close a tag.
        EXPECT_EQ(k.listText.front(), k.open) << i;
        EXPECT_EQ(k.listText.back(), k.close) << i;
    }
    for (int outside : {-1, 5, 1000}) {
        EXPECT_FALSE(IsTagBracketIndex(outside));
        EXPECT_EQ(TagBracketKindAt(outside).open, '<') << outside;
    }
}

TEST(TagBrackets, Examples) {
    struct Case {
        const char* name;
        int index;
        const char* field;
        const char* record;
        const char* fieldExample;
        const char* recordExample;
    };
    const Case cases[] = {
        {"defaults", kAngleBrackets, "FIELD", "RECORD", "<FIELD NAME=\"Vorname\">...</FIELD>",
         "<RECORD>...</RECORD>"},
        {"square", kSquareBrackets, "F", "R", "[F NAME=\"Vorname\"]...[/F]", "[R]...[/R]"},
        {"guillemets", kGuillemets, "FELD", "SATZ",
         "\xAB"
         "FELD NAME=\"Vorname\"\xBB...\xAB/FELD\xBB",
         "\xABSATZ\xBB...\xAB/SATZ\xBB"},
        {"empty names", kRoundBrackets, "", "", "( NAME=\"Vorname\")...(/)", "()...(/)"},
        {"index outside the list", 7, "FIELD", "RECORD", "", ""},
    };
    for (const Case& c : cases) {
        TableSettings t;
        t.tag_item_index = c.index;
        t.field_tag_name = c.field;
        t.record_tag_name = c.record;
        EXPECT_EQ(FieldTagExample(t), c.fieldExample) << c.name;
        EXPECT_EQ(RecordTagExample(t), c.recordExample) << c.name;
    }
}

TEST(ContentPageRules, MissingTemplate) {
    struct Case {
        const char* name;
        int source;
        const char* templ;
        const char* dwTempl;
        MissingTemplate missing;
    };
    const Case cases[] = {
        {"template named", kTemplatePages, "a.htm", "", MissingTemplate::None},
        {"template missing", kTemplatePages, "", "b.dwt", MissingTemplate::Html},
        {"dreamweaver missing", kDwTemplatePages, "a.htm", "", MissingTemplate::Dreamweaver},
        {"dreamweaver named", kDwTemplatePages, "", "b.dwt", MissingTemplate::None},
        {"empty pages need none", kEmptyPages, "", "", MissingTemplate::None},
        {"tables need none", kTabTemplatePages, "", "", MissingTemplate::None},
        {"nothing selected", -1, "", "", MissingTemplate::None},
    };
    for (const Case& c : cases) {
        ContentPageSettings s;
        s.source = Choice<5>(c.source);
        s.template_file = c.templ;
        s.dw_template_file = c.dwTempl;
        EXPECT_EQ(MissingTemplateOf(s), c.missing) << c.name;
    }
}
