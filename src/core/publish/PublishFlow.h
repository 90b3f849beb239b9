// SPDX-License-Identifier: MIT
// One publishing run as every front end starts it: the password from its sources, the server's
// key asked about, plain FTP confirmed before the login, the plan asked about, then the run.
// Whatever needs an answer or shows something goes through PublishPorts, as a build goes
// through its host: pagloom-cli answers from its options, the window with its questions. A
// group publishes each member to its own target through the same loop.
#pragma once
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/PublishTarget.h"
#include "publish/Publisher.h"
#include "publish/SecretStore.h"
#include "publish/TargetConnection.h"

namespace pagloom {

class FileSystem;
class MakeReport;
struct ProjectSettings;

// The answer to the plan shown before a run.
enum class PlanAnswer {
    Publish,           // as planned, deletions included (also beyond the limits they showed)
    WithoutDeletions,  // the files are sent, nothing is deleted
    Cancel,
};

// What a front end answers and shows for a run. Called on the run's thread.
class PublishPorts {
  public:
    virtual ~PublishPorts() = default;
    // A failure or a warning, shown to the user.
    virtual void Message(const std::string& text, const std::string& advice = {}) = 0;
    // A password when no source had one; nothing stops the run.
    virtual std::optional<std::string> AskPassword(const PublishTarget& target) = 0;
    // The server shows a key not trusted yet; true trusts it.
    virtual bool TrustKey(const PublishTarget& target, const std::string& fingerprint) = 0;
    // Keeps what a run added to the target with the project: the key just trusted
    // (`target.hostKey`), the project's id made on its first publish (`target.projectId`);
    // false when it could not be kept (the run stops).
    virtual bool KeepTarget(const PublishTarget& target) = 0;
    // Plain FTP sends name and password readable: asked before the login.
    virtual bool AllowPlain(const PublishTarget& target, const std::string& warning) = 0;
    // The plan before anything is sent (only when the request asks for it and there is
    // something to do). It names its deletions, their count against the limit and whether they
    // are more than half of the target: a yes is the yes they need.
    virtual PlanAnswer ConfirmPlan(const PublishPlan& plan) = 0;
    virtual void Status(const std::string& /*text*/) {}
    virtual void Progress(const PublishProgress& /*progress*/) {}
};

struct PublishRequest {
    std::string projectFile;  // names the project on the target; a folder target is relative to it
    std::string site;         // the built site's folder
    bool dryRun = false;
    bool deleteRemoved = false;  // besides the target's own rule
    int maxDelete = 100;
    bool allowManyDeletions = false;  // more than half of the target may go without a question
    PublishOptions::Verify verify = PublishOptions::Verify::None;
    int connections = 0;         // 0: the target's own
    bool askPlan = false;        // ConfirmPlan before sending
    std::string typed;           // a password typed in the window ("" for none)
    std::string passwordFile;    // --password-file
    bool sharedPassword = true;  // PAGLOOM_PASSWORD and the password file may be used
    const std::atomic<bool>* cancel = nullptr;
};

// The result of a run; `started` false when it stopped before the plan (the ports were told).
struct PublishResult {
    bool started = false;
    PublishEnd end = PublishEnd::NothingPublished;
    PublishCounts counts;
    std::string refusal;  // NothingPublished after the start: why (logged as well)
};

// The password for the target, in this order: typed, PAGLOOM_PASSWORD, the password file (only
// for its owner, a regular file), the secret store, the question. "" when an SSH agent or key
// file logs in; nothing when there is none (the ports were told why).
std::optional<std::string> FindPassword(const PublishTarget& target, const PublishRequest& request,
                                        PasswordStore& secrets, PublishPorts& ports);

// Connects to the target as a run does: plain FTP confirmed, the password found, an unknown key
// asked about (and kept when trusted). Nothing when no connection came about (the ports were
// told why). `target` gets a trusted key.
std::optional<TargetConnection> OpenTarget(FileSystem& fs, PublishTarget& target,
                                           const PublishRequest& request, PasswordStore& secrets,
                                           PublishPorts& ports);

// Publishes the site of a project with these settings to its target as the request says; the
// log gets the run's lines.
PublishResult PublishProject(FileSystem& fs, const ProjectSettings& settings,
                             const PublishTarget& target, const PublishRequest& request,
                             PasswordStore& secrets, PublishPorts& ports, MakeReport& log);

// A group's members as the front end opens them.
class GroupMembers {
  public:
    virtual ~GroupMembers() = default;
    // Opens the member; false when it cannot be read (the front end said why).
    virtual bool Open(const std::string& file, PublishTarget& target) = 0;
    // Publishes the member just opened.
    virtual PublishResult Publish(const PublishRequest& request) = 0;
};

struct GroupPublishOutcome {
    int published = 0, withoutTarget = 0;
    std::vector<std::string> failed;  // members that failed or could not be opened
    bool cancelled = false;
    bool Succeeded() const { return failed.empty() && !cancelled; }
};

// Publishes every member with a target, in order. A password from the environment or a file
// goes only to members that share host and user with the first member that logs in.
GroupPublishOutcome PublishGroup(const std::vector<std::string>& members, GroupMembers& open,
                                 const PublishRequest& request, MakeReport& log);

}  // namespace pagloom
