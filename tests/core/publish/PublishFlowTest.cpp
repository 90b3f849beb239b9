// SPDX-License-Identifier: MIT
// The pieces every front end publishes through: the table of protocols, the password's sources,
// the group loop, and the [publish] section read whole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "NoSecrets.h"
#include "TestSupport.h"
#include "generator/MakeReport.h"
#include "model/ProjectSettings.h"
#include "projectfile/IniFile.h"
#include "projectfile/PublishSection.h"
#include "publish/PublishFlow.h"
#include "publish/PublishProtocols.h"

namespace pagloom {
namespace {

using test::TempDir;
using test::WriteFile;

TEST(PublishProtocols, EveryProtocolHasOneCompleteRow) {
    std::set<std::string_view> keys;
    for (const PublishProtocol& p : PublishProtocols()) {
        SCOPED_TRACE(std::string(p.key));
        EXPECT_TRUE(keys.insert(p.key).second);
        EXPECT_FALSE(p.label.empty());
        EXPECT_EQ(FindProtocol(p.key), &p);
        if (p.IsLocal()) {
            EXPECT_EQ(p.defaultPort, 0);
            EXPECT_EQ(p.login, LoginKind::None);
            EXPECT_EQ(p.serverKey, ServerKeyKind::None);
        } else {
            EXPECT_GT(p.defaultPort, 0);
            EXPECT_NE(p.login, LoginKind::None);
            // A server whose key is not checked is said so before every login.
            EXPECT_EQ(p.serverKey == ServerKeyKind::None, !p.warning.empty());
        }
    }
    EXPECT_EQ(keys, (std::set<std::string_view>{"sftp", "ftps", "webdav", "ftp", "folder"}));
    EXPECT_EQ(FindProtocol("SFTP"), FindProtocol("sftp"));
    EXPECT_EQ(FindProtocol("gopher"), nullptr);
    EXPECT_EQ(FindProtocol(""), nullptr);

    PublishTarget t;
    t.protocol = "ftps";
    t.host = "ftp.example.org";
    t.user = "anna";
    t.remoteFolder = "htdocs";
    EXPECT_EQ(EffectivePort(t), 21);
    EXPECT_EQ(TargetAddress(t), "ftps://anna@ftp.example.org/htdocs");
    t.port = 990;
    EXPECT_EQ(ServerOf(t), "ftps://ftp.example.org:990");
    t.protocol = "folder";
    EXPECT_EQ(TargetAddress(t), "folder://htdocs");
}

// What a run asks, answered by the test; every message kept.
struct RecordingPorts : PublishPorts {
    std::vector<std::string> messages;
    std::optional<std::string> password;
    int asked = 0;
    void Message(const std::string& text, const std::string&) override { messages.push_back(text); }
    std::optional<std::string> AskPassword(const PublishTarget&) override {
        ++asked;
        return password;
    }
    bool TrustKey(const PublishTarget&, const std::string&) override { return false; }
    bool KeepTarget(const PublishTarget&) override { return false; }
    bool AllowPlain(const PublishTarget&, const std::string&) override { return false; }
    PlanAnswer ConfirmPlan(const PublishPlan&) override { return PlanAnswer::Cancel; }
};

PublishTarget Ftps(const std::string& user = "anna") {
    PublishTarget t;
    t.protocol = "ftps";
    t.host = "ftp.example.org";
    t.user = user;
    return t;
}

TEST(PublishPassword, ComesFromItsSourcesInOrderAndAFileOnlyWhenItIsTheOwnersAlone) {
    TempDir dir;
    const std::string file = dir / "pw";
    WriteFile(file, "geheim\nzweite Zeile");
    ::chmod(file.c_str(), 0600);
    NoSecrets secrets;
    RecordingPorts ports;
    PublishRequest r;
    r.passwordFile = file;
    ::unsetenv("PAGLOOM_PASSWORD");
    EXPECT_EQ(FindPassword(Ftps(), r, secrets, ports), "geheim");
    r.typed = "getippt";
    EXPECT_EQ(FindPassword(Ftps(), r, secrets, ports), "getippt");
    r.typed.clear();
    // A group member on another server gets neither the environment's nor the file's password.
    r.sharedPassword = false;
    ports.password = "gefragt";
    EXPECT_EQ(FindPassword(Ftps(), r, secrets, ports), "gefragt");
    r.sharedPassword = true;

    struct Case {
        const char* what;
        std::string path;
        mode_t mode;
        const char* message;
    } cases[] = {
        {"missing", dir / "fehlt", 0600, "gibt es nicht"},
        {"readable by others", file, 0644, "nur f\xFCr ihren Besitzer lesbar"},
        {"a folder", dir.Path(), 0700, "keine gew\xF6hnliche Datei"},
        {"a link", dir / "verweis", 0600, "ein Verweis"},
    };
    ::symlink(file.c_str(), (dir / "verweis").c_str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::chmod(c.path.c_str(), c.mode);
        r.passwordFile = c.path;
        ports.messages.clear();
        EXPECT_EQ(FindPassword(Ftps(), r, secrets, ports), std::nullopt);
        ASSERT_EQ(ports.messages.size(), 1u);
        EXPECT_NE(ports.messages[0].find(c.message), std::string::npos) << ports.messages[0];
    }
    ::chmod(file.c_str(), 0600);

    // SSH may log in with its agent or a key file: no question when nothing is known.
    r.passwordFile.clear();
    PublishTarget ssh = Ftps();
    ssh.protocol = "sftp";
    ports.asked = 0;
    EXPECT_EQ(FindPassword(ssh, r, secrets, ports), "");
    EXPECT_EQ(ports.asked, 0);
}

// A group of members opened from a table: their targets and what publishing them gives.
struct TableMembers : GroupMembers {
    std::map<std::string, PublishTarget> targets;
    std::set<std::string> unreadable;
    std::vector<std::pair<std::string, bool>> published;  // member, shared password allowed
    std::atomic<bool>* cancelAfterFirst = nullptr;
    bool Open(const std::string& file, PublishTarget& target) override {
        if (unreadable.count(file)) return false;
        target = targets[file];
        return true;
    }
    PublishResult Publish(const PublishRequest& r) override {
        published.emplace_back(r.projectFile, r.sharedPassword);
        if (cancelAfterFirst) cancelAfterFirst->store(true);
        PublishResult result;
        result.started = FindProtocol(targets[r.projectFile].protocol) != nullptr;
        result.end = result.started ? PublishEnd::Done : PublishEnd::NothingPublished;
        return result;
    }
};

TEST(PublishGroupLoop, EachMemberToItsOwnTargetAndTheSharedPasswordOnlyToTheFirstLogin) {
    TableMembers m;
    m.targets["a.plp"] = Ftps();
    m.targets["b.plp"] = Ftps("bert");  // another user: no shared password
    m.targets["c.plp"] = Ftps();
    m.targets["d.plp"] = PublishTarget{};    // no target
    m.targets["e.plp"].protocol = "gopher";  // unknown: a failure, not "no target"
    m.targets["f.plp"].protocol = "folder";
    m.unreadable.insert("g.plp");
    MakeReport log;
    const GroupPublishOutcome o =
        PublishGroup({"a.plp", "b.plp", "c.plp", "d.plp", "e.plp", "f.plp", "g.plp"}, m, {}, log);
    EXPECT_EQ(
        m.published,
        (std::vector<std::pair<std::string, bool>>{
            {"a.plp", true}, {"b.plp", false}, {"c.plp", true}, {"e.plp", true}, {"f.plp", true}}));
    EXPECT_EQ(o.published, 4);
    EXPECT_EQ(o.withoutTarget, 1);
    EXPECT_EQ(o.failed, (std::vector<std::string>{"e.plp", "g.plp"}));
    EXPECT_FALSE(o.Succeeded());

    std::atomic<bool> cancel{false};
    TableMembers stopped;
    stopped.targets["a.plp"] = stopped.targets["b.plp"] = Ftps();
    stopped.cancelAfterFirst = &cancel;
    PublishRequest r;
    r.cancel = &cancel;
    const GroupPublishOutcome c = PublishGroup({"a.plp", "b.plp"}, stopped, r, log);
    EXPECT_TRUE(c.cancelled);
    EXPECT_EQ(stopped.published.size(), 1u);
}

TEST(PublishSectionKeys, ALongPatternListIsReadWholeAndAnIdIsKept) {
    std::string protect;
    for (int i = 0; protect.size() < 5000; ++i)
        protect += (protect.empty() ? "" : ";") + ("daten/ordner" + std::to_string(i) + "/**");
    protect += ";bestellungen/*.csv";
    IniFile ini("[publish]\r\nprotocol=folder\r\nprotect=" + protect + "\r\n");
    PublishTarget t = ReadPublishSection(ini);
    ASSERT_FALSE(t.protect.empty());
    EXPECT_EQ(t.protect.back(), "bestellungen/*.csv");
    t.projectId = "0123456789abcdef";
    t.publishAfterBuild = true;
    WritePublishSection(ini, t);
    EXPECT_EQ(ReadPublishSection(IniFile(ini.Text())), t);
    EXPECT_NE(ini.Text().find("after-build=1\r\n"), std::string::npos);
    // A new section lists every key but the id, which only a publish makes, and publishing
    // after a build until it is chosen.
    IniFile fresh("");
    PublishTarget f;
    f.protocol = "sftp";
    WritePublishSection(fresh, f);
    EXPECT_EQ(fresh.Text().find("project-id"), std::string::npos);
    EXPECT_EQ(fresh.Text().find("after-build"), std::string::npos);
    EXPECT_NE(fresh.Text().find("connections=4"), std::string::npos);
}

}  // namespace
}  // namespace pagloom
