// SPDX-License-Identifier: MIT
// Builds run on a thread of their own so the windows keep answering; the core is still touched
// by one thread at a time. While a build runs, the window thread only shows what the build
// hands over (log lines, counts of the watch) and answers its questions; whatever the build
// asks of the windows (messages, questions, opening a group's project) runs on the window thread
// while the build waits for it; the menu editor shows a rebuilt menu when the build is done.
#pragma once
#include <QObject>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace pagloom {
class ReadProgress;
}

namespace pagloom::app {

struct ProjectSession;

// Runs `work` on a thread of its own and returns once it is done, handling the window thread's
// events meanwhile; what `work` threw (the other is the same, throwing it again here). Every
// off-thread work of the windows goes through these.
std::exception_ptr RunOnThreadOfItsOwn(const std::function<void()>& work);
void RunOffGuiThread(const std::function<void()>& work);

// Runs `f` on the window thread: directly when called there, else queued and waited for.
void OnGuiThread(const std::function<void()>& f);

// Runs `work` (a build through `session`) on a thread of its own and returns once it is done,
// handling the window thread's events meanwhile, as a modal dialog does. An exception of
// `work` is thrown again here. A menu-editor refresh the build asks for runs on the window
// thread once the build is done.
void RunBuildOffGuiThread(ProjectSession& session, const std::function<void()>& work);

// The same for other long work through the session (opening a project with large tables):
// meanwhile the windows take no input, and after a moment a dialog over `over` says `busy`,
// with a bar that shows how far the table being read has come (ContentTables::Progress).
void RunWithProgress(ProjectSession& session, QWidget* over, const QString& busy,
                     const std::function<void()>& work);
// The same for reading a table outside the project (the table selection dialog's), whose
// reader counts into `read`. An exception of `work` is thrown again here.
void RunWithProgress(QWidget* over, const QString& busy, ReadProgress& read,
                     const std::function<void()>& work);

// While it lives (on the window thread), the busy dialog of RunWithProgress is out of the way:
// a message or question of the work is shown without the dialog over it, which would block its
// answer.
class BusyDialogAside {
  public:
    BusyDialogAside();
    ~BusyDialogAside();
    BusyDialogAside(const BusyDialogAside&) = delete;
    BusyDialogAside& operator=(const BusyDialogAside&) = delete;
};

// True while such a build runs: views that read the core's tables in place show nothing then.
bool BuildRunning();

// Tells views that read the core in place when a build starts and ends.
class BuildRunNotifier : public QObject {
    Q_OBJECT
  public:
    static BuildRunNotifier& Instance();
  signals:
    void Ended();
};

}  // namespace pagloom::app
