// SPDX-License-Identifier: MIT
// The windows of the program wired as at start (the same project document with its tables and
// table steps as the program), with prompts answered from a script: the tests say in advance
// what the user answers and chooses, and read what was asked.
#pragma once
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

#include "BrowserEngine.h"
#include "MainForm.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "TFileSelectDlg.h"
#include "TMakeForm.h"
#include "TProOptDlg.h"
#include "TWebAnzeigeForm.h"
#include "TestSupport.h"
#include "UiPrompts.h"
#include "io/FileSystem.h"
#include "publish/PublishFlow.h"
#include "tables/TCSVImportForm.h"
#include "tables/TfmDBExplore.h"

namespace pagloom::app::test {

// Set before any test's QApplication exists: the main window's menu preview starts the browser
// engine, whose sandbox cannot run as root and which shares its GL context.
inline const bool kBrowserEngineReady = [] {
    PrepareBrowserEngine();
    return true;
}();

// The user's settings (the recent project files) go to a folder of the test's own, never to
// the settings of the user running the tests. Set before any window reads them.
inline QTemporaryDir& UserSettingsDir() {
    static QTemporaryDir dir;
    return dir;
}
inline const bool kUserSettingsRedirected = [] {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, UserSettingsDir().path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, UserSettingsDir().path());
    return true;
}();

// The shared file helper for Qt's paths and bytes.
inline void WriteFile(const QString& path, const QByteArray& data) {
    pagloom::test::WriteFile(path.toStdString(), data.toStdString());
}

class ScriptedPrompts : public UiPrompts {
  public:
    void Message(QWidget*, const QString& text, const QString& details) override {
        NoteThread();
        messages << text;
        messageDetails << details;
        if (onMessage) onMessage(text);
    }
    Answer Ask(QWidget*, const QString& question, bool) override {
        NoteThread();
        questions << question;
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    // Noted among the messages as well, with its kind and title.
    void Notice(QWidget* parent, MessageKind kind, const QString& title,
                const QString& text) override {
        messageKinds << kind;
        messageTitles << title;
        Message(parent, text, QString());
    }
    // Answered from `answers` like Ask (Nein when none is left), and noted among the questions.
    bool AskSafely(QWidget*, const QString&, const QString& question) override {
        NoteThread();
        questions << question;
        safeQuestions << question;
        if (answers.empty()) return false;
        const Answer a = answers.front();
        answers.pop_front();
        return a == Answer::Yes;
    }
    void Beep() override { ++beeps; }
    QString OpenFile(QWidget*, const QString&, const QString&, const QString&,
                     const QString& selected, const QString&) override {
        openFilters << selected;
        return Next();
    }
    // Several files at once: one entry of `files` with the names separated by new lines.
    QStringList OpenFiles(QWidget*, const QString&, const QString&, const QString&,
                          const QString&) override {
        const QString f = Next();
        return f.isEmpty() ? QStringList{} : f.split(u'\n');
    }
    QString SaveFile(QWidget*, const QString&, const QString& proposed, const QString&,
                     const QString& suffix) override {
        ++saveDialogs;
        saveProposals << proposed;
        saveSuffixes << suffix;
        return Next();
    }
    QString ChooseFolder(QWidget*, const QString&) override { return Next(); }
    int Exec(QDialog* dialog) override {
        // The plan window before a run: its texts noted, answered by a click from `plans`.
        if (dialog->objectName() == QStringLiteral("PublishPlanDialog") && !plans.empty()) {
            QStringList text;
            for (QLabel* label : dialog->findChildren<QLabel*>()) text << label->text();
            planTexts << text.join(u'\n');
            const PlanAnswer a = plans.front();
            plans.pop_front();
            const char* button = a == PlanAnswer::Publish            ? "btPlanVeroeffentlichen"
                                 : a == PlanAnswer::WithoutDeletions ? "btPlanOhneLoeschen"
                                                                     : "btPlanAbbrechen";
            dialog->setResult(QDialog::Rejected);
            dialog->findChild<QPushButton*>(QLatin1String(button))->click();
            return dialog->result();
        }
        return onExec ? onExec(dialog) : QDialog::Rejected;
    }
    bool Trust(QWidget*, const QString& question) override {
        trustQuestions << question;
        if (onTrust) onTrust();
        if (trusts.empty()) return false;
        const bool t = trusts.front();
        trusts.pop_front();
        return t;
    }
    std::optional<QString> Password(QWidget*, const QString& prompt) override {
        passwordPrompts << prompt;
        if (passwords.empty()) return std::nullopt;
        const QString p = passwords.front();
        passwords.pop_front();
        if (p.isNull()) return std::nullopt;
        return p;
    }

    QStringList messages;
    QStringList messageDetails;  // the details of each message, empty for most
    // Kind and title of each Notice (a plain Message has none).
    QList<MessageKind> messageKinds;
    QStringList messageTitles;
    QStringList safeQuestions;  // the questions whose default is "Nein"
    QStringList questions;
    std::deque<Answer> answers;
    // Results of the file and folder dialogs in order; an empty text is a cancelled dialog.
    std::deque<QString> files;
    QStringList openFilters;
    int saveDialogs = 0;
    // What each save dialog proposed and the extension it adds to a bare name.
    QStringList saveProposals;
    QStringList saveSuffixes;
    int beeps = 0;
    std::function<int(QDialog*)> onExec;
    // Answers to the plan windows in order (when empty, onExec sees them); their label texts.
    std::deque<PlanAnswer> plans;
    QStringList planTexts;
    std::deque<bool> trusts;  // answers to the question about an unknown server key
    QStringList trustQuestions;
    std::function<void()> onTrust;  // runs while the key is asked about
    std::deque<QString> passwords;  // answers to the password question; a null text cancels
    QStringList passwordPrompts;
    // Runs while a message is shown, before it is acknowledged.
    std::function<void(const QString&)> onMessage;
    // A message or question arrived on another thread than the windows'.
    bool offWindowThread = false;

  private:
    void NoteThread() {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            offWindowThread = true;
    }
    QString Next() {
        if (files.empty()) return {};
        QString f = files.front();
        files.pop_front();
        return f;
    }
};

// The disk, with hooks: one that runs (on the build's thread) before a file gets its name
// (created, or renamed into place), one before a file is read.
class HookedDisk : public FileSystem {
  public:
    std::function<void(const std::string& path)> beforeNaming;
    // Runs before every read of a whole file.
    std::function<void(const std::string& path)> onRead;

    ReadState Read(const std::string& path, std::string& out) override {
        if (onRead) onRead(path);
        return disk_.Read(path, out);
    }
    bool ReadAll(const std::string& path, std::string& out) override {
        if (onRead) onRead(path);
        return FileSystem::ReadAll(path, out);
    }
    CreateResult CreateNew(const std::string& path, std::string_view data) override {
        if (beforeNaming) beforeNaming(path);
        return FileSystem::CreateNew(path, data);
    }
    CreateResult Publish(UnnamedFile& file, const std::string& path) override {
        if (beforeNaming) beforeNaming(path);
        return FileSystem::Publish(file, path);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        if (beforeNaming) beforeNaming(to);
        return FileSystem::Rename(from, to);
    }

  private:
    DiskFileSystem disk_;
};

// Holds a build on its thread at the first file `when` accepts, until the test resumes it; the
// windows go on meanwhile. Install with `disk.beforeNaming = std::ref(pause)`.
struct BuildPause {
    std::function<bool(const std::string& path)> when;
    QSemaphore reached, resumed;
    std::atomic<bool> used{false};

    void operator()(const std::string& path) {
        if (used || !when(path) || used.exchange(true)) return;
        reached.release();
        resumed.acquire();
    }
    // On the window thread: handles events until the build holds.
    bool WaitUntilHeld() {
        return QTest::qWaitFor([this] { return reached.tryAcquire(); }, 20000);
    }
    void Resume() { resumed.release(); }
};

// The program's windows with a scripted user. The program folder is an empty temporary
// folder unless one is given, so a new project has exactly the built-in defaults.
struct AppFixture {
    QTemporaryDir emptyDir;
    QString programDir;
    ScriptedPrompts prompts;
    AppHost host;
    HookedDisk disk;
    ProjectSession session{disk, host};
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TWebAnzeigeForm> web;
    std::unique_ptr<TMakeForm> make;
    std::unique_ptr<TProOptDlg> options;
    std::unique_ptr<TFileSelectDlg> fileSelect;

    // `startFile` plays the first command-line argument.
    explicit AppFixture(const QString& dir = {}, const QString& startFile = {})
        : programDir(dir.isEmpty() ? emptyDir.path() : dir), host(prompts, PathS(programDir)) {
        main = std::make_unique<TMainForm>(session, prompts, host, programDir);
        web = std::make_unique<TWebAnzeigeForm>();
        make = std::make_unique<TMakeForm>(session, prompts, host, main.get());
        options = std::make_unique<TProOptDlg>(
            session, main->Tracker(), prompts, [this] { return main->TemplateDir(); }, main.get());
        fileSelect = std::make_unique<TFileSelectDlg>(prompts, main.get());
        main->Attach(web.get(), make.get(), options.get(), fileSelect.get());
        session.Build.RefreshMenuEditor = [this] { main->ShowRebuiltMenu(); };
        main->SetStartFile(startFile);
        main->FirstActivate();
    }

    // Shows the main window and makes it active, so clicks and focus behave as for a user.
    void ShowActive() {
        main->show();
        QApplication::setActiveWindow(main.get());
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* w = main->findChild<T*>(QString::fromLatin1(name));
        if (!w && options) w = options->findChild<T*>(QString::fromLatin1(name));
        if (!w && make) w = make->findChild<T*>(QString::fromLatin1(name));
        return w;
    }
};

// Drives the real table selection dialog inside a scripted Exec: on the file page, type entry
// `type` ("DBase", "Foxpro", "Paradox", "ASCII"), the file `file` in `dir`, then "Auswählen".
// For ASCII the CSV import dialog is answered by the same scripted Exec (see AnswerCsvImport).
// False when the file does not show up in the dialog's list.
inline bool ChooseTableFile(QDialog* dialog, int type, const QString& dir, const QString& file) {
    auto* explore = qobject_cast<TfmDBExplore*>(dialog);
    if (!explore) return false;
    explore->findChild<QComboBox*>(QStringLiteral("dbTabType"))->setCurrentIndex(type);
    explore->SetDirectory(dir);
    auto* view = explore->findChild<QListView*>(QStringLiteral("FileListBox1"));
    auto* model = qobject_cast<QFileSystemModel*>(view->model());
    QModelIndex index;
    const bool listed = QTest::qWaitFor([&] {
        index = model->index(QDir(dir).filePath(file));
        return index.isValid();
    });
    if (!listed) return false;
    // As a click on the file: the list may still have it as its current entry from last time.
    view->selectionModel()->clearCurrentIndex();
    view->setCurrentIndex(index);
    explore->findChild<QPushButton*>(QStringLiteral("btFileSelect"))->click();
    return true;
}

// Answers the CSV import dialog: separator entry (0 ",", 1 ";", 2 ":", 3 TAB, 4 space), quote
// entry (0 '"', 1 "'"), caption row; then OK.
inline int AnswerCsvImport(QDialog* dialog, int separator, int quote, bool caption) {
    dialog->findChild<QComboBox*>(QStringLiteral("CBTextTrenner"))->setCurrentIndex(separator);
    dialog->findChild<QComboBox*>(QStringLiteral("CBFeldGrenze"))->setCurrentIndex(quote);
    dialog->findChild<QCheckBox*>(QStringLiteral("cbCaption"))->setChecked(caption);
    dialog->done(QDialog::Accepted);
    return QDialog::Accepted;
}

}  // namespace pagloom::app::test
