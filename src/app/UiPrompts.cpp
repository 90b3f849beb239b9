// SPDX-License-Identifier: MIT
#include "UiPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QThread>
#include <QTreeView>
#include <exception>

#include "BuildThread.h"
#include "QtText.h"

namespace pagloom::app {

void UiPrompts::Message(QWidget* parent, const QString& text, const QString& details) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), text,
                    QMessageBox::Ok, parent);
    if (!details.isEmpty()) box.setDetailedText(details);
    box.exec();
}

Answer UiPrompts::Ask(QWidget* parent, const QString& question, bool withCancel) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), question,
                    QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    QPushButton* cancel =
        withCancel ? box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel ? static_cast<QAbstractButton*>(cancel) : no);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (box.clickedButton() == no) return Answer::No;
    return withCancel ? Answer::Cancel : Answer::No;
}

void UiPrompts::Notice(QWidget* parent, MessageKind kind, const QString& title,
                       const QString& text) {
    const QMessageBox::Icon icon = kind == MessageKind::Critical  ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool UiPrompts::AskSafely(QWidget* parent, const QString& title, const QString& question) {
    QMessageBox box(QMessageBox::Warning, title, question, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void UiPrompts::Beep() { QApplication::beep(); }

bool UiPrompts::Trust(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Unbekannter Server"), question,
                    QMessageBox::NoButton, parent);
    QPushButton* trust = box.addButton(QStringLiteral("&Vertrauen"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    // Trust is never the answer Enter gives by accident.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == trust;
}

std::optional<QString> UiPrompts::Password(QWidget* parent, const QString& prompt) {
    QInputDialog dlg(parent);
    dlg.setWindowTitle(QStringLiteral("Passwort"));
    dlg.setLabelText(prompt);
    dlg.setTextEchoMode(QLineEdit::Password);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue();
}

namespace {

// Qt's own file dialog opens so narrow that the side bar's entries and the size, type and
// date columns are cut off; give it room.
void MakeRoomy(QFileDialog& dlg) {
    dlg.resize(860, 520);
    if (auto* splitter = dlg.findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({180, 680});
    if (auto* tree = dlg.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = tree->header();
        header->resizeSection(0, 250);
        header->resizeSection(1, 90);
        header->resizeSection(2, 130);
        header->resizeSection(3, 150);
    }
}

// Qt's own open dialog (German through its catalogue), roomy, for one or several files.
QStringList RunOpenDialog(QWidget* parent, const QString& caption, const QString& dir,
                          const QString& filters, const QString& selectedFilter,
                          const QString& defaultSuffix, QFileDialog::FileMode mode) {
    QFileDialog dlg(parent, caption, dir, filters);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    MakeRoomy(dlg);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(mode);
    dlg.setDefaultSuffix(defaultSuffix);
    if (!selectedFilter.isEmpty()) dlg.selectNameFilter(selectedFilter);
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.selectedFiles();
}

}  // namespace

QString UiPrompts::OpenFile(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filters, const QString& selected,
                            const QString& defaultSuffix) {
    const QStringList files = RunOpenDialog(parent, caption, dir, filters, selected, defaultSuffix,
                                            QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.first();
}

QStringList UiPrompts::OpenFiles(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filters, const QString& defaultSuffix) {
    return RunOpenDialog(parent, caption, dir, filters, QString(), defaultSuffix,
                         QFileDialog::ExistingFiles);
}

QString UiPrompts::SaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                            const QString& filters, const QString& defaultSuffix) {
    QFileDialog dlg(parent, caption, QString(), filters);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    MakeRoomy(dlg);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty()) {
        QFileInfo info(proposed);
        dlg.setDirectory(info.absolutePath());
        dlg.selectFile(info.fileName());
    }
    // The dialog itself asks before an existing file is replaced.
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
}

namespace {

// Qt's folder dialog refuses the typed name of a folder that does not exist: its button stays
// disabled. This one takes such a name, so the caller can offer to create the folder.
class NewFolderDialog : public QFileDialog {
  public:
    NewFolderDialog(QWidget* parent, const QString& caption, const QString& dir)
        : QFileDialog(parent, caption, dir) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly, true);
        // Qt's own dialog, the one whose accepting can be changed; it also offers "new folder".
        setOption(QFileDialog::DontUseNativeDialog, true);
        edit_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (auto* box = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
            choose_ = box->button(QDialogButtonBox::Open);
        // The dialog disables its button whenever it rechecks the name; undo that for a new one.
        if (choose_) choose_->installEventFilter(this);
        MakeRoomy(*this);
    }

    // The typed new folder when one was accepted, else empty.
    QString typedNew;

    void accept() override {
        if (NamesNewFolder()) {
            typedNew = selectedFiles().first();
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == choose_ && event->type() == QEvent::EnabledChange && !choose_->isEnabled() &&
            NamesNewFolder())
            choose_->setEnabled(true);
        return QFileDialog::eventFilter(watched, event);
    }

  private:
    bool NamesNewFolder() const {
        if (!edit_ || edit_->text().trimmed().isEmpty()) return false;
        const QStringList files = selectedFiles();
        return !files.isEmpty() && !QFileInfo::exists(files.first());
    }

    QLineEdit* edit_ = nullptr;
    QPushButton* choose_ = nullptr;
};

}  // namespace

QString UiPrompts::ChooseFolder(QWidget* parent, const QString& start) {
    NewFolderDialog dlg(parent, QStringLiteral("Verzeichnis wählen"), start);
    if (dlg.exec() != QDialog::Accepted) return {};
    if (!dlg.typedNew.isEmpty()) return QDir::cleanPath(dlg.typedNew);
    if (dlg.selectedFiles().isEmpty()) return {};
    return QDir::cleanPath(dlg.selectedFiles().first());
}

int UiPrompts::Exec(QDialog* dialog) { return dialog->exec(); }

void RunGuarded(UiPrompts& prompts, QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        prompts.Message(parent, QStringLiteral("Unerwarteter Fehler: ") + Q(e.what()));
    } catch (...) {
        prompts.Message(parent, QStringLiteral("Unerwarteter Fehler."));
    }
}

// A build on its own thread asks through the window thread and waits for the answer there.
// A busy dialog steps aside while the work's message or question is shown.
void AppHost::ShowMessage(const std::string& text) {
    OnGuiThread([&] {
        const BusyDialogAside aside;
        prompts_.Message(parent_, Q(text));
    });
}

void AppHost::ShowMessageWithDetails(const std::string& text, const std::string& details) {
    OnGuiThread([&] {
        const BusyDialogAside aside;
        prompts_.Message(parent_, Q(text), Q(details));
    });
}

Answer AppHost::Ask(const std::string& question, bool withCancel) {
    Answer answer = Answer::Cancel;
    OnGuiThread([&] {
        const BusyDialogAside aside;
        answer = prompts_.Ask(parent_, Q(question), withCancel);
    });
    return answer;
}

void AppHost::Beep() {
    OnGuiThread([this] { prompts_.Beep(); });
}

void AppHost::KeepAlive() {
    // Off the window thread the windows answer on their own.
    if (QThread::currentThread() == QCoreApplication::instance()->thread())
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString FindProgramDir(const QString& executableDir) {
    const QDir exe(executableDir);
    const QStringList candidates = {exe.path(), exe.filePath(QStringLiteral("../libexec/pagloom")),
                                    exe.filePath(QStringLiteral("../share/pagloom"))};
    for (const QString& c : candidates)
        if (QFileInfo::exists(QDir(c).filePath(QStringLiteral("default.plp"))))
            return QDir::cleanPath(c);
    return exe.path();
}

QString ChooseDestinationFolder(UiPrompts& prompts, QWidget* parent, const QString& preferred,
                                const QString& fallback) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString start = fallback;
    if (!preferred.isEmpty() && QFileInfo(preferred).isDir())
        start = preferred;
    else if (!documents.isEmpty() && QFileInfo(documents).isDir())
        start = documents;
    const QString chosen = prompts.ChooseFolder(parent, start);
    if (chosen.isEmpty() || !ChosenPath(prompts, parent, chosen)) return {};
    if (!QFileInfo(chosen).isDir()) {
        if (prompts.Ask(parent,
                        QStringLiteral(
                            "Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?"),
                        false) != Answer::Yes)
            return {};
        if (!QDir().mkpath(chosen)) {
            prompts.Message(parent, QStringLiteral("Verzeichnis kann nicht erstellt werden"));
            return {};
        }
    }
    return chosen;
}

std::optional<std::string> ChosenPath(UiPrompts& prompts, QWidget* parent, const QString& path) {
    std::optional<std::string> cp1252 = Utf8ToCp1252Exact(path.toStdString());
    if (!cp1252)
        prompts.Message(parent, QStringLiteral("Der Pfad „") + path +
                                    QStringLiteral("“ enthält Zeichen außerhalb von Windows-1252 "
                                                   "und kann nicht verwendet werden."));
    return cp1252;
}

}  // namespace pagloom::app
