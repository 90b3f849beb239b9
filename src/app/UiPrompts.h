// SPDX-License-Identifier: MIT
// Every blocking interaction of the windows with the user: message boxes, questions, the
// beep and the file and folder dialogs. The windows never open these directly, so tests can
// answer them from a script instead of a person.
#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "ports/Host.h"

class QWidget;
class QDialog;

namespace pagloom::app {

// The icon of a message box.
enum class MessageKind { Information, Warning, Critical };

class UiPrompts {
  public:
    virtual ~UiPrompts() = default;

    // An information box with "OK"; `details`, when given, behind the box's details button.
    virtual void Message(QWidget* parent, const QString& text, const QString& details = {});
    // A confirmation box titled "Bestätigung" with "&Ja", "&Nein" and, when withCancel,
    // "Abbrechen". Closing the box counts as Abbrechen (or Nein without a cancel button).
    virtual Answer Ask(QWidget* parent, const QString& question, bool withCancel);
    // A box with the kind's icon, titled after the window it belongs to; advice belongs into
    // `text`, where it is read, not behind a details button.
    virtual void Notice(QWidget* parent, MessageKind kind, const QString& title,
                        const QString& text);
    // A yes/no question about something that cannot be undone, with a warning icon: "&Nein" is
    // the default and Escape's answer. True for "&Ja".
    virtual bool AskSafely(QWidget* parent, const QString& title, const QString& question);
    // The short beep of refused input.
    virtual void Beep();
    // An open dialog; returns the chosen file or an empty text when cancelled. The filter
    // list uses Qt's ";;" form; `selected` preselects one of its entries.
    virtual QString OpenFile(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filters, const QString& selected,
                             const QString& defaultSuffix);
    // An open dialog for several existing files at once; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filters, const QString& defaultSuffix);
    // A save dialog that asks before overwriting an existing file; empty when cancelled.
    virtual QString SaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                             const QString& filters, const QString& defaultSuffix);
    // A folder chooser that can create folders; the result may name a folder that does not
    // exist yet (the caller asks before creating it). Empty when cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& start);
    // Runs a modal dialog and returns its result code (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog* dialog);
    // The question about a server's unknown key: "&Vertrauen" (true) or "Abbrechen".
    virtual bool Trust(QWidget* parent, const QString& question);
    // Asks for a password (typed hidden); nothing when cancelled.
    virtual std::optional<QString> Password(QWidget* parent, const QString& prompt);
};

// The destination folder chooser of the main window and the build dialog: starts in
// `preferred` when that is a folder, else in the user's documents, else in `fallback`; offers to
// create a chosen folder that does not exist. Empty when cancelled or not created.
QString ChooseDestinationFolder(UiPrompts& prompts, QWidget* parent, const QString& preferred,
                                const QString& fallback);

// A path the user chose, as the core's Windows-1252 text. A path that text cannot hold is
// refused with a message (nullopt) rather than stored with replaced characters, which would
// name another file.
std::optional<std::string> ChosenPath(UiPrompts& prompts, QWidget* parent, const QString& path);

// Runs a command of a window so that no exception leaves it into Qt's event handling: an
// unexpected failure is shown as a message and the program goes on.
void RunGuarded(UiPrompts& prompts, QWidget* parent, const std::function<void()>& command);

// The host port of the core, answered with the same prompts. Texts arrive as Windows-1252.
class AppHost : public Host {
  public:
    AppHost(UiPrompts& prompts, std::string programDir)
        : prompts_(prompts), programDir_(std::move(programDir)) {}
    void ShowMessage(const std::string& text) override;
    void ShowMessageWithDetails(const std::string& text, const std::string& details) override;
    Answer Ask(const std::string& question, bool withCancel) override;
    std::string ProgramDir() const override { return programDir_; }
    void Beep() override;
    // Lets the event loop run so windows repaint during long work on the window thread.
    void KeepAlive() override;
    void SetParentWidget(QWidget* w) { parent_ = w; }

  private:
    UiPrompts& prompts_;
    std::string programDir_;
    QWidget* parent_ = nullptr;
};

// Folder holding default.plp, default.js and the help: the executable's folder when the
// resources sit beside it (build tree), else the installed data folder next to it.
QString FindProgramDir(const QString& executableDir);

}  // namespace pagloom::app
