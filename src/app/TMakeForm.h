// SPDX-License-Identifier: MIT
// The build dialog: destination of this build, the choice to overwrite editable regions,
// "Start" and "Schließen", and the log that keeps every build of the program run. It shows
// the session's BuildDialog state; the build itself is the core's MakeStartClick.
#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <optional>

#include "generator/BuildPlan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
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

    // "Start": one build into the destination; every log line appears as it is added.
    void MakeStartClick();
    // Lets the user choose this build's destination; the project's setting stays.
    void SpeedButtonZielClick();

    QPlainTextEdit* Log() const { return log_; }

    // A project group builds through this dialog without "Start". Each group build begins
    // with BeginGroupRun and ends with EndGroupRun; LeaveGroupMode gives the dialog back when
    // the group window closes.
    //
    // The first call shows the dialog over `over` (a child of it, so its log can be read
    // while that modal window is open) with "Start" hidden, the region choice disabled and the
    // progress line empty. While the group builds, the log repaints as during a build and the
    // destination and its button are disabled.
    void BeginGroupRun(QWidget* over);
    // The progress line, with the destination of the project now open and the log so far.
    void SetGroupProgress(const QString& line);
    // The group is built: the log no longer repaints on its own, the region choice is hidden
    // and enabled again, the destination enabled. The dialog stays shown, still without "Start".
    void EndGroupRun();
    // "Start" comes back, the dialog closes and is again a child of the window it belonged to
    // before the first BeginGroupRun.
    void LeaveGroupMode();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void ShowState();
    void AppendLine(const std::string& line);
    void FlushLog(bool keepAlive);
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
    QPushButton* start_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* progress_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QStringList pending_;
    QElapsedTimer sinceFlush_;
    size_t shownLines_ = 0;
    int filesThisBuild_ = 0;
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
