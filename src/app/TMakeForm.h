// SPDX-License-Identifier: MIT
// The build dialog: destination of this build, the choice to overwrite editable regions,
// "Start", "Abbrechen" and "Schließen", the progress of a running build and the log that keeps
// every build of the program run. It shows the session's BuildDialog state; the build itself is
// the core's MakeStartClick, run on a thread of its own (BuildThread.h).
#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "LogView.h"
#include "generator/BuildPlan.h"
#include "generator/BuildWatch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

namespace pagloom::app {

class AppHost;
class UiPrompts;
struct ProjectSession;

class TMakeForm : public QDialog {
    Q_OBJECT
  public:
    TMakeForm(ProjectSession& session, UiPrompts& prompts, AppHost& host,
              QWidget* parent = nullptr);
    ~TMakeForm() override;

    // FormShow: presets the region choice from the project, shows the state, runs modally.
    void ShowModal();

    // "Start": one build into the destination, on a thread of its own; returns when it is done.
    // Meanwhile the log shows its lines in batches, the progress line and bar count its files,
    // and only "Abbrechen" (or Escape) and the log answer in the dialog.
    void MakeStartClick();
    // "Abbrechen": the running build (or group build) stops after the file being saved.
    void CancelBuild();
    // A build or a group build runs now.
    bool Building() const { return building_ || groupRunning_; }
    // Lets the user choose this build's destination; the project's setting stays.
    void SpeedButtonZielClick();
    // What "Nach dem Erstellen veröffentlichen" does after a build without a fault: the main
    // window opens its publishing dialog and starts it. Group builds publish through the group
    // window instead.
    void SetPublisher(std::function<void()> publish) { publish_ = std::move(publish); }

    LogView* Log() const { return log_; }

    // A project group builds through this dialog without "Start". Each group build begins
    // with BeginGroupRun and ends with EndGroupRun; LeaveGroupMode gives the dialog back when
    // the group window closes.
    //
    // The first call shows the dialog over `over` (a child of it, so its log can be read
    // while that modal window is open) with "Start" hidden, the region choice disabled and the
    // progress line empty. While the group builds, the dialog is as during a build.
    void BeginGroupRun(QWidget* over);
    // Called before a group build starts: its watch starts afresh, without a stop request.
    void PrepareGroupRun() { watch_.Reset(); }
    // "Abbrechen" was asked for during the running (or last) build.
    bool CancelRequested() const { return watch_.cancelRequested; }
    // The progress line ("Projekt i von n: ..."; the file count of its build follows it), with
    // the destination of the project now open and the log so far.
    void SetGroupProgress(const QString& line);
    // The group is built: the region choice is hidden and enabled again, the destination
    // enabled. The dialog stays shown, still without "Start".
    void EndGroupRun();
    // "Start" comes back, the dialog closes and is again a child of the window it belonged to
    // before the first BeginGroupRun.
    void LeaveGroupMode();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void ShowState();
    // The log's line callback; called on the build's thread while a build runs.
    void AppendLine(const std::string& line);
    // Shows the lines handed over so far, in one append.
    void FlushLog();
    // While running: the log so far and "Datei N von M" with the bar.
    void Tick();
    // Enables what a running build must not be changed by, or the reverse.
    void SetRunning(bool on);
    // "Bearbeitete Dateien: n", with the failed ones of this build beside it when there are;
    // after a build that only planned, its counts.
    QString ProgressText() const;

    ProjectSession& session_;
    UiPrompts& prompts_;
    AppHost& host_;
    QLineEdit* ziel_ = nullptr;
    QToolButton* pickZiel_ = nullptr;
    QCheckBox* overwrite_ = nullptr;
    QCheckBox* dryRun_ = nullptr;
    QCheckBox* publishAfter_ = nullptr;
    std::function<void()> publish_;
    QPushButton* start_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* progress_ = nullptr;
    QProgressBar* bar_ = nullptr;
    LogView* log_ = nullptr;
    QTimer* ticker_ = nullptr;
    BuildWatch watch_;
    // Handed over by AppendLine, taken by FlushLog: the lines not shown yet, the length of the
    // core's log after the last of them, and the files the log named in this build.
    std::mutex handOver_;
    std::vector<std::string> incoming_;
    size_t loggedLines_ = 0;
    int filesThisBuild_ = 0;
    size_t shownLines_ = 0;
    QString groupLine_;
    bool cancelled_ = false;  // the last build was stopped by "Abbrechen"
    // The log's count of failed files when this build started.
    int failedBefore_ = 0;
    int skipped_ = 0;  // files of the last build that the overwrite setting kept
    bool building_ = false;
    bool groupRunning_ = false;
    // The parent to return to after group mode; null outside group mode.
    QPointer<QWidget> home_;
    // The counts of the last build when it only planned (shown instead of the file count).
    std::optional<PlanCounts> plan_;
};

}  // namespace pagloom::app
