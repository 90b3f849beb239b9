// SPDX-License-Identifier: MIT
// The build dialog: destination of this build, the choice to overwrite editable regions,
// "Start" and "Schließen", and the log that keeps every build of the program run. It shows
// the session's BuildDialog state; the build itself is the core's MakeStartClick.
#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <optional>

#include "generator/BuildPlan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

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
    // Sets the region choice (the options dialog hands on its preset).
    void SetRegionOverwrite(bool on);

    // "Start": one build into the destination; every log line appears as it is added.
    void MakeStartClick();
    // Lets the user choose this build's destination; the project's setting stays.
    void SpeedButtonZielClick();

    QPlainTextEdit* Log() const { return log_; }
    // While a project group builds without "Start", the log repaints as during a build. Each
    // call shows the lines logged so far.
    void SetGroupRunning(bool on) {
        groupRunning_ = on;
        FlushLog(false);
    }

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
    bool building_ = false;
    bool groupRunning_ = false;
    // The counts of the last build when it only planned (shown instead of the file count).
    std::optional<PlanCounts> plan_;
};

}  // namespace pagloom::app
