// SPDX-License-Identifier: MIT
// What publishing takes from outside its own run: the names a server's manifest or the local
// journal hand it (only plain names inside the remote folder), and the target's patterns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "publish/Manifest.h"
#include "publish/PathPatterns.h"
#include "publish/RemoteNames.h"
#include "publish/Sha256.h"

namespace pagloom {
namespace {

TEST(RemoteNames, OnlyPlainRelativeNamesPass) {
    const struct {
        std::string name;
        bool plain;
    } cases[] = {
        {"a.htm", true},
        {"unter/tiefer/\xC4pfel 1.htm", true},
        {".htaccess", true},
        {"a..b/c...htm", true},
        {"sub/.pagloom-up-a.htm", true},
        {"", false},
        {"..", false},
        {"../outside.txt", false},
        {"a/../../outside.txt", false},
        {"a/..", false},
        {".", false},
        {"./a.htm", false},
        {"a/./b", false},
        {"/etc/passwd", false},
        {"a//b", false},
        {"a/", false},
        {"/", false},
        {"..\\outside.txt", false},
        {"a\\b", false},
        {std::string("a\0b", 3), false},
        {"a\nb", false},
        {"a\tb", false},
        {"a\x7F", false},
        {".pagloom-publish.json", false},
        {"sub/.pagloom-publish.json", false},
        {".pagloom-publish.json/x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPlainRelativeName(c.name), c.plain) << c.name;
}

TEST(RemoteNames, OnlyOwnTemporaryNamesAreTakenForTemporary) {
    const struct {
        std::string name;
        bool own;
    } cases[] = {
        {".pagloom-up-index.htm", true},
        {"a/b/.pagloom-up-c.gif", true},
        {".pagloom-up-.pagloom-publish.json", true},  // the manifest's own upload
        {"index.htm", false},
        {".pagloom-up-", false},
        {".pagloom-up-/x", false},
        {"x.pagloom-up-a", false},
        {".pagloom-up-a/b.htm", false},  // a folder of that name holds the user's files
        {"../.pagloom-up-a", false},
        {"a/../../.pagloom-up-a", false},
        {"/.pagloom-up-a", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsOwnTempName(c.name), c.own) << c.name;
}

std::string ManifestWith(const std::string& nameJson) {
    return "{\"pagloom-publish\": 1, \"project\": \"p.plp\", \"target\": \"t\", \"files\": "
           "{\"a.htm\": [\"" +
           Sha256Hex("a") + "\", 1], " + nameJson + ": [\"" + Sha256Hex("") + "\", 0]}}";
}

// One escaping name refuses the whole manifest: deleting by the rest of it could still follow
// a list the server made up, and the log says which name is at fault.
TEST(ManifestNames, AManifestWithAnEscapingNameIsRefusedAsAWhole) {
    const struct {
        std::string json;  // the name as written in the manifest
        std::string shown;
    } cases[] = {
        {"\"../outside.txt\"", "../outside.txt"},
        {"\"/etc/passwd\"", "/etc/passwd"},
        {"\"a/../../x\"", "a/../../x"},
        {"\"a\\\\..\\\\..\\\\x\"", "a\\..\\..\\x"},
        {"\"a//b\"", "a//b"},
        {"\"\"", ""},
        {"\".pagloom-publish.json\"", ".pagloom-publish.json"},
        {"\"a\\u0000b\"", "a\\x00b"},
        {"\"zeile\\neins\"", "zeile\\x0Aeins"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(ParseManifest(ManifestWith(c.json), why)) << c.json;
        EXPECT_EQ(why,
                  "Die Datei .pagloom-publish.json im Zielordner nennt einen unzul\xE4ssigen "
                  "Namen: " +
                      c.shown +
                      "; nichts wird ver\xF6"
                      "ffentlicht.")
            << c.json;
    }
    std::string why;
    const std::optional<Manifest> good = ParseManifest(ManifestWith("\"unter/b.htm\""), why);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->files.size(), 2u);
}

TEST(ManifestNames, ALongBadNameIsShownShort) {
    const std::string name = "../" + std::string(5000, 'x');
    std::string why;
    ASSERT_FALSE(ParseManifest(ManifestWith("\"" + name + "\""), why));
    EXPECT_LT(why.size(), 400u);
    EXPECT_NE(why.find("../xxx"), std::string::npos) << why;
}

TEST(ManifestNames, OtherRefusalsSayWhy) {
    std::string why;
    EXPECT_FALSE(ParseManifest("{\"files\": {}}", why));
    EXPECT_EQ(why,
              "Die Datei .pagloom-publish.json im Zielordner ist keine Liste dieses Programms; "
              "nichts wird ver\xF6"
              "ffentlicht.");

    // Larger than the limit by one blank: well-formed, and still not read.
    Manifest m;
    m.project = "p.plp";
    std::string text = ManifestText(m);
    ASSERT_TRUE(ParseManifest(text));
    text.insert(text.size() - 1, kMaxManifestBytes + 1 - text.size(), ' ');
    ASSERT_EQ(text.size(), kMaxManifestBytes + 1);
    why.clear();
    EXPECT_FALSE(ParseManifest(text, why));
    EXPECT_EQ(why, ManifestTooLargeMessage());
    EXPECT_EQ(why,
              "Die Datei .pagloom-publish.json im Zielordner ist gr\xF6\xDF"
              "er als 64 MiB; nichts wird ver\xF6"
              "ffentlicht.");
    text.pop_back();
    EXPECT_TRUE(ParseManifest(text));
}

// What is read must be written back so that it reads the same: the manifest is rewritten after
// every run, and a hash the server's copy spelled oddly must not break the next one.
TEST(ManifestNames, WhatIsReadIsWrittenBackAsRead) {
    for (const std::string& sha : {std::string("x\\\"y"), std::string("\\\\"), Sha256Hex("a")}) {
        const std::optional<Manifest> read =
            ParseManifest("{\"pagloom-publish\": 1, \"files\": {\"a.htm\": [\"" + sha + "\", 5]}}");
        ASSERT_TRUE(read) << sha;
        const std::optional<Manifest> again = ParseManifest(ManifestText(*read));
        ASSERT_TRUE(again) << sha;
        EXPECT_EQ(again->files, read->files) << sha;
    }
    // \u wants four hex digits; anything else is no manifest of ours.
    for (const char* bad : {"\\u+01a", "\\u 01a", "\\uzzzz", "\\u00"})
        EXPECT_FALSE(
            ParseManifest(std::string("{\"pagloom-publish\": 1, \"project\": \"") + bad + "\"}"))
            << bad;
}

TEST(PublishPatterns, StarsMatchAtEveryDepth) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        // "**/" takes any number of folders, none included.
        {"daten/**/*.csv", "daten/umsatz.csv", true},
        {"daten/**/*.csv", "daten/2024/umsatz.csv", true},
        {"daten/**/*.csv", "daten/2024/q1/umsatz.csv", true},
        {"daten/**/*.csv", "daten/2024/q1/m3/umsatz.csv", true},
        {"daten/**/*.csv", "daten/2024/q1/umsatz.txt", false},
        {"daten/**/*.csv", "andere/2024/umsatz.csv", false},
        {"daten/**/*.csv", "datenx/umsatz.csv", false},
        {"**/*.bak", "notizen.bak", true},
        {"**/*.bak", "a/notizen.bak", true},
        {"**/*.bak", "a/b/notizen.bak", true},
        {"**/*.bak", "a/b/c/notizen.bak", true},
        {"**/*.bak", "a/b/notizen.bak.htm", false},
        {"daten/**/x", "daten/x", true},
        {"daten/**/x", "daten/a/b/x", true},
        {"daten/**/x", "daten/ax", false},
        // "dir/**": everything inside, at any depth, not the folder's namesake.
        {"privat/**", "privat/a.htm", true},
        {"privat/**", "privat/a/b/c.htm", true},
        {"privat/**", "privat", false},
        {"privat/**", "privatsache.htm", false},
        {"privat/**", "x/privat/a.htm", false},
        {"**/cache/**", "cache/a", true},
        {"**/cache/**", "x/cache/a", true},
        {"**/cache/**", "x/y/cache/a/b", true},
        {"**/cache/**", "x/mycache/a", false},
        {"**/cache/**", "x/cache", false},
        // '*' stops at '/', "**" elsewhere does not.
        {"a/*", "a/b", true},
        {"a/*", "a/b/c", false},
        {"a/*/c", "a/b/c", true},
        {"a/*/c", "a/b/x/c", false},
        {"a/**c", "a/b/x/c", true},
        {"a**", "a/b/c", true},
        {"*/*.htm", "a/b.htm", true},
        {"*/*.htm", "a/b/c.htm", false},
        {"*a*b", "xaxxb", true},
        {"*a*b", "xa/xb", false},  // '*' stops at '/', and the last part has no 'a'
        // '?' is one character but '/'.
        {"bilder/?.gif", "bilder/a.gif", true},
        {"bilder/?.gif", "bilder/ab.gif", false},
        {"a?b", "a/b", false},
        {"???", "x/abc", true},
        // A pattern without '/' also takes the last part; a bare '*' takes every file.
        {"*", "a", true},
        {"*", "a/b", true},
        {"*", "a/b/c/d.htm", true},
        {"*.bak", "a/b/c.bak", true},
        {"*.bak", "a.bak/c.htm", false},
        {"index.htm", "sub/index.htm", true},
        // A leading '/' anchors at the top, a trailing '/' takes a folder's contents.
        {"/index.htm", "index.htm", true},
        {"/index.htm", "sub/index.htm", false},
        {"entwurf/", "entwurf/a/b.htm", true},
        {"entwurf/", "x/entwurf/a.htm", false},
        // Case counts; an empty pattern takes nothing.
        {"*.BAK", "a.bak", false},
        {"", "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesPublishPattern(c.pattern, c.name), c.match)
            << c.pattern << " vs " << c.name;
}

TEST(PublishPatterns, AnyOfTheList) {
    const std::vector<std::string> patterns = {"*.bak", "daten/**/*.csv"};
    EXPECT_TRUE(MatchesAnyPublishPattern(patterns, "a/b/c.bak"));
    EXPECT_TRUE(MatchesAnyPublishPattern(patterns, "daten/2024/q1/umsatz.csv"));
    EXPECT_FALSE(MatchesAnyPublishPattern(patterns, "daten/2024/q1/umsatz.htm"));
    EXPECT_FALSE(MatchesAnyPublishPattern({}, "a"));
}

// Patterns that make a backtracking matcher try every split of a long name: they must still
// be answered (the test would hang otherwise), and rightly.
TEST(PublishPatterns, ManyStarsOnALongNameAreAnswered) {
    const std::string as(20000, 'a');
    EXPECT_FALSE(MatchesPublishPattern("*a*a*a*a*a*a*a*a*b", as));
    EXPECT_TRUE(MatchesPublishPattern("*a*a*a*a*a*a*a*a*b", as + "b"));
    EXPECT_FALSE(MatchesPublishPattern("**a**a**a**a**a**a**a**b", as));
    std::string deep;
    for (int i = 0; i < 3000; ++i) deep += "a/";
    EXPECT_FALSE(MatchesPublishPattern("**/a/**/a/**/a/**/a/**/b", deep + "c"));
    EXPECT_TRUE(MatchesPublishPattern("**/a/**/a/**/a/**/a/**/b", deep + "b"));
}

}  // namespace
}  // namespace pagloom
