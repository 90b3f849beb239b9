// SPDX-License-Identifier: MIT
// "Veröffentlichen": the project's publishing target, edited in place like every other setting,
// and the commands that use it. "Verbindung testen" and "Veröffentlichen" run off the window's
// thread; the window answers throughout. An unknown server key is asked about ("Vertrauen"
// stores it in the target), a changed one stops. A password is taken from the field, else from
// the desktop's keychain, else asked for; it is kept in the keychain only when "Passwort
// speichern" is ticked, and never in the project file.
#pragma once
#include <QDialog>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "UiPrompts.h"
#include "io/FileSystem.h"
#include "publish/PublishFlow.h"
#include "publish/SecretStore.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace pagloom::app {

class Binder;
class FieldTracker;
struct ProjectSession;

class PublishDialog : public QDialog {
    Q_OBJECT
  public:
    // `help` shows the help page on publishing.
    PublishDialog(ProjectSession& session, FieldTracker& tracker, UiPrompts& prompts,
                  std::function<void()> help, QWidget* parent = nullptr);
    ~PublishDialog() override;

    // "Verbindung testen": true when every step worked; the log says what was checked.
    bool TestConnection();
    // "Veröffentlichen": plan, plan window, run with progress. The run's end (nothing when it
    // did not start). Without `askFirst` (a group's member, asked about with its group) the plan
    // window shows only a plan that deletes files.
    std::optional<PublishEnd> PublishNow(bool askFirst = true);
    // Stops a run after the files in flight ("Abbrechen" of the progress).
    void Cancel() { cancel_ = true; }
    bool CancelRequested() const { return cancel_; }
    const std::atomic<bool>* CancelFlag() const { return &cancel_; }
    bool Running() const { return running_; }

    // For a group: failures go into the log only, not into message boxes (the group sums them
    // up at its end); the progress line starts with `prefix` ("Projekt 2 von 5: ...").
    void SetGroupRun(bool on, const QString& prefix = {});
    // Shows the target of the session's project again (a group opened its next member).
    void ShowTarget();
    // Why the last connection test or run did not succeed; empty when it did.
    QString LastProblem() const { return problem_; }
    void Log(const QString& line);
    QString LogText() const;

  signals:
    // From a run's thread, queued to the window: how far it is.
    void Progressed(int files, int totalFiles, qulonglong bytes, qulonglong totalBytes,
                    QString current);

  protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    // The rows of the target's form, each bound to the model.
    void AddProtocolRow(QFormLayout* form);
    void AddServerRows(QFormLayout* form);
    void AddKeyFileRow(QFormLayout* form);
    void AddPasswordRows(QFormLayout* form);
    void AddRunRows(QFormLayout* form);
    void AddHostKeyRow(QFormLayout* form);
    void ShowProgress(int files, int totalFiles, qulonglong bytes, qulonglong totalBytes,
                      const QString& current);
    class Ports;
    // The answers of the ports, on the window's thread.
    bool AskTrust(const PublishTarget& target, const std::string& fingerprint);
    bool KeepTarget(const PublishTarget& changed);
    bool AllowPlain(const PublishTarget& target, const std::string& warning);
    PlanAnswer ConfirmPlan(const PublishPlan& plan);
    // A run's request from the window: the project, its site, the typed password.
    PublishRequest Request();
    // A typed password goes into the keychain when "Passwort speichern" is ticked.
    void StoreTypedPassword();
    // Shows whether the keychain holds a password for the target; asks the keychain only when
    // the target's login changed since the last look, unless `again`.
    void LookUpStoredPassword(bool again);
    // "Entfernen" beside the keychain's password.
    void ForgetStoredPassword();
    // Drops the password asked while the window is open.
    void ForgetAskedPassword();
    // A local target folder that is missing is offered to be made; false when making it failed.
    bool LocalFolderReady();
    // A password question cancelled: the last problem says so.
    void Quiet();
    // Runs `work` off the window's thread and waits for it with the window answering.
    void RunAside(const std::function<void()>& work);
    void Log(const std::vector<std::string>& lines);
    // A failure: logged, remembered as the last problem and, outside a group run, shown with
    // its advice below it.
    void Problem(const QString& text, const QString& advice = {},
                 MessageKind kind = MessageKind::Critical);
    // A message box titled after the window.
    void Tell(MessageKind kind, const QString& text);
    void SetBusy(bool busy);
    // Drops the trusted key when the user pointed the target at another server or protocol.
    void ForgetKeyOfOtherServer();

    ProjectSession& session_;
    FieldTracker& tracker_;
    UiPrompts& prompts_;
    std::function<void()> help_;
    Binder* binder_ = nullptr;
    QComboBox* protocol_ = nullptr;
    QLabel* ftpWarning_ = nullptr;
    QLineEdit *host_ = nullptr, *port_ = nullptr, *user_ = nullptr, *folder_ = nullptr,
              *keyFile_ = nullptr, *password_ = nullptr;
    QCheckBox *savePassword_ = nullptr, *deleteRemoved_ = nullptr;
    QSpinBox* connections_ = nullptr;
    QPlainTextEdit *exclude_ = nullptr, *protect_ = nullptr, *log_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton *test_ = nullptr, *publish_ = nullptr, *cancelButton_ = nullptr, *close_ = nullptr;
    DiskFileSystem disk_;
    SecretServiceStore secrets_;
    std::string plainAllowedFor_;  // the plain FTP server the user agreed to log in to
    bool cancelledPassword_ = false;
    // The password asked while the window is open, and the login it is for (SecretKey): asked
    // once for a connection test and the run after it.
    QString asked_;
    std::string askedFor_;
    QWidget* keyringRow_ = nullptr;
    std::string keyringFor_;  // the login the keychain row was looked up for
    bool askPlan_ = true;     // every plan is shown, not only one that deletes
    std::atomic<bool> cancel_{false};
    bool running_ = false;
    bool groupRun_ = false;
    QString prefix_;
    QString problem_;
    std::string keyOwner_;  // the server the stored key was trusted for
    qint64 startedMs_ = 0;
};

// Makes the publishing dialog for the session's project over `parent`, wired as the main
// window wires its own (field tracker, prompts, help).
using PublishDialogMaker = std::function<std::unique_ptr<PublishDialog>(QWidget* parent)>;

}  // namespace pagloom::app
