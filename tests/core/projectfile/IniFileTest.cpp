// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "projectfile/IniFile.h"

using namespace pagloom;

TEST(IniRead, ValuesAreTrimmedUnquotedAndCut) {
    const std::string longValue(3000, 'x');
    IniFile ini(
        "[S]\r\n"
        "plain=  a b  \r\n"
        "dq=\"quoted\"\r\n"
        "sq= 'single' \r\n"
        "inner=\"a\" b \"c\"\r\n"
        "onequote=\"\r\n"
        "mixed=\"x'\r\n"
        "twice=\"\"x\"\"\r\n"
        "eq=a=b\r\n"
        "long=" +
        longValue + "\r\n");
    const struct {
        const char* key;
        std::string expected;
    } cases[] = {
        {"plain", "a b"},       {"dq", "quoted"},   {"sq", "single"},
        {"inner", "a\" b \"c"}, {"onequote", "\""}, {"mixed", "\"x'"},
        {"twice", "\"x\""},     {"eq", "a=b"},      {"long", std::string(2047, 'x')},
        {"missing", "default"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString("S", c.key, "default"), c.expected) << c.key;
}

// Lists the user makes long (the publishing patterns) are read whole; the cut stays for the
// rest, as files of the old program expect.
TEST(IniRead, AWholeValueIsNotCut) {
    std::string patterns;
    while (patterns.size() < 5000) patterns += "ordner" + std::to_string(patterns.size()) + "/**;";
    IniFile ini;
    ini.WriteString("publish", "exclude", patterns);
    ini.WriteString("publish", "protect", " " + patterns + " ");
    const IniFile again(ini.Text());
    EXPECT_EQ(again.ReadStringWhole("publish", "exclude", ""), patterns);
    EXPECT_EQ(again.ReadStringWhole("publish", "protect", ""), " " + patterns + " ");
    EXPECT_EQ(again.ReadString("publish", "exclude", ""), patterns.substr(0, 2047));
    EXPECT_EQ(again.ReadStringWhole("publish", "missing", "nichts"), "nichts");
}

TEST(IniRead, NamesMatchWithoutRegardToCase) {
    IniFile ini("[SubMenu_0]\nCOUNT=3\n[\xC4nderung]\nSch\xDCssel=1\n");
    EXPECT_EQ(ini.ReadInteger("submenu_0", "count", 0), 3);
    EXPECT_EQ(ini.ReadInteger("SUBMENU_0", "Count", 0), 3);
    EXPECT_EQ(ini.ReadInteger("\xE4nderung", "sch\xFCssel", 0), 1);
}

TEST(IniRead, IntegersFollowTheNumberRules) {
    const struct {
        const char* value;
        int expected;  // default is -7
    } cases[] = {
        {"42", 42},
        {"-42", -42},
        {"+5", 5},
        {"007", 7},
        {"$1F", 31},
        {"x10", 16},
        {"X10", 16},
        {"0x10", 16},
        {"0X1f", 31},
        {"-$10", -16},
        {"'12'", 12},
        {" 12 ", 12},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -7},
        {"$80000000", -7},
        {"99999999999999999999", -7},
        {"yes", -7},
        {"12abc", -7},
        {"1 2", -7},
        {"", -7},
        {"$", -7},
        {"0x", -7},
        {"-", -7},
        {"1.5", -7},
        {"$G", -7},
        {"0x10h", -7},
        {"--1", -7},
    };
    for (const auto& c : cases) {
        IniFile ini(std::string("[s]\nk=") + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("s", "k", -7), c.expected) << '"' << c.value << '"';
    }
    IniFile none("[s]\n");
    EXPECT_EQ(none.ReadInteger("s", "k", -7), -7);
}

TEST(IniRead, BooleansAreIntegers) {
    IniFile ini("[s]\nzero=0\none=1\nhex=0x10\ntwo=2\nyes=yes\n");
    EXPECT_FALSE(ini.ReadBool("s", "zero", true));
    EXPECT_TRUE(ini.ReadBool("s", "one", false));
    EXPECT_TRUE(ini.ReadBool("s", "hex", false));
    EXPECT_TRUE(ini.ReadBool("s", "two", false));
    EXPECT_TRUE(ini.ReadBool("s", "yes", true));  // not a number: the default
    EXPECT_FALSE(ini.ReadBool("s", "yes", false));
    EXPECT_TRUE(ini.ReadBool("s", "missing", true));
}

TEST(IniRead, AcceptsEveryLineEndAndFirstOccurrenceWins) {
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        const std::string e = eol;
        IniFile ini("[a]" + e + "k=1" + e + "k=2" + e + "[b]" + e + "k=3" + e + "[A]" + e + "k=4" +
                    e + "j=5");
        EXPECT_EQ(ini.ReadInteger("a", "k", 0), 1) << "eol " << e.size();
        EXPECT_EQ(ini.ReadInteger("b", "k", 0), 3);
        EXPECT_FALSE(ini.HasKey("a", "j"));  // only the first section of a name counts
    }
}

TEST(IniRead, KeyLinesBeforeAnyHeaderBelongToNoSection) {
    IniFile ini("k=1\n[s]\nk=2\n");
    EXPECT_EQ(ini.ReadInteger("", "k", 0), 0);
    EXPECT_EQ(ini.ReadInteger("s", "k", 0), 2);
}

TEST(IniWrite, UpdatesInPlaceAndKeepsWhatItDoesNotKnow) {
    const std::string original =
        "; comment line\r\n"
        "[files]\r\n"
        "Frameset-File=old.htm\r\n"
        "my-own-key = keep me\r\n"
        "junk line without equals\r\n"
        "\r\n"
        "[Foreign]\r\n"
        "x=1\r\n";
    IniFile ini(original);
    EXPECT_EQ(ini.Text(), original);  // untouched text comes back byte for byte
    ini.WriteString("files", "frameset-file", "new.htm");
    ini.WriteString("files", "stylesheet-file", "index.css");
    ini.WriteInteger("other", "n", -3);
    EXPECT_EQ(ini.Text(),
              "; comment line\r\n"
              "[files]\r\n"
              "Frameset-File=new.htm\r\n"
              "my-own-key = keep me\r\n"
              "junk line without equals\r\n"
              "stylesheet-file=index.css\r\n"
              "\r\n"
              "[Foreign]\r\n"
              "x=1\r\n"
              "\r\n"
              "[other]\r\n"
              "n=-3\r\n");
}

TEST(IniWrite, ClearedSectionKeepsItsPlaceAndDuplicatesGo) {
    IniFile ini("[menu]\ncount=2\ntext_0=a\n\n[keep]\nk=v\n[MENU]\nstale=1\n");
    ini.ClearSection("Menu");
    ini.WriteInteger("menu", "count", 0);
    EXPECT_EQ(ini.Text(), "[menu]\r\ncount=0\r\n\r\n[keep]\r\nk=v\r\n");
    ini.ClearSection("absent");  // nothing to clear, nothing added
    EXPECT_FALSE(ini.HasSection("absent"));
}

TEST(IniWrite, EraseRemovesEverySectionOfTheName) {
    IniFile ini("[Dateien]\na=1\n[x]\nb=2\n[dateien]\nc=3\n");
    ini.EraseSection("DATEIEN");
    EXPECT_FALSE(ini.HasSection("dateien"));
    EXPECT_EQ(ini.Text(), "[x]\r\nb=2\r\n");
    ini.WriteString("Dateien", "d", "4");  // can be written anew afterwards
    EXPECT_EQ(ini.ReadString("dateien", "d", ""), "4");
}

TEST(IniWrite, LineBreaksInValuesCannotStartNewLines) {
    IniFile ini;
    ini.WriteString("s", "k", "a\r\n[evil]\nx=1");
    EXPECT_FALSE(IniFile(ini.Text()).HasSection("evil"));
    EXPECT_EQ(IniFile(ini.Text()).ReadString("s", "k", ""), "a  [evil] x=1");
}

TEST(IniWrite, EveryTextReadsBackAsWritten) {
    const struct {
        std::string value;
        std::string stored;
    } cases[] = {
        {"plain", "plain"},
        {" blanks ", "\" blanks \""},
        {"\"Neu\"", "\"\"Neu\"\""},
        {"'x'", "\"'x'\""},
        {"\t", "\"\t\""},
        {" ", "\" \""},
        {"\"", "\""},
        {"'", "'"},
        {"\"a'", "\"a'"},
        {"", ""},
    };
    for (const auto& c : cases) {
        IniFile ini;
        ini.WriteString("s", "k", c.value);
        EXPECT_EQ(ini.Text(), "[s]\r\nk=" + c.stored + "\r\n") << c.value;
        EXPECT_EQ(IniFile(ini.Text()).ReadString("s", "k", "?"), c.value) << c.value;
    }
}
