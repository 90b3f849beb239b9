// SPDX-License-Identifier: MIT
// The desktop program: creates the windows once, in their fixed order, and runs until the
// main window closes.

#include <QApplication>
#include <QDir>
#include <QIcon>

#include "BrowserEngine.h"
#include "BuildThread.h"
#include "MainForm.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "TFileSelectDlg.h"
#include "TMakeForm.h"
#include "TProOptDlg.h"
#include "TWebAnzeigeForm.h"
#include "Translations.h"
#include "UiPrompts.h"
#include "io/BuildHeap.h"
#include "io/FileSystem.h"

int main(int argc, char* argv[]) {
    // Builds run on a thread of their own: they take their memory from the one prepared heap.
    pagloom::PrepareBuildHeap(true);
    pagloom::app::PrepareBrowserEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pagloom pro 2.0"));
    QApplication::setApplicationVersion(QStringLiteral(PAGLOOM_VERSION));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("pagloom")));
    pagloom::app::InstallGermanTranslations(app);

    using namespace pagloom::app;
    const QString programDir = FindProgramDir(QCoreApplication::applicationDirPath());
    UiPrompts prompts;
    AppHost host(prompts, PathS(programDir));
    pagloom::DiskFileSystem disk;
    ProjectSession session(disk, host);

    TMainForm mainForm(session, prompts, host, programDir);
    TWebAnzeigeForm webForm;
    TMakeForm makeForm(session, prompts, host, &mainForm);
    TProOptDlg optionsDialog(
        session, mainForm.Tracker(), prompts, [&mainForm] { return mainForm.TemplateDir(); },
        &mainForm);
    TFileSelectDlg fileSelect(prompts, &mainForm);
    mainForm.Attach(&webForm, &makeForm, &optionsDialog, &fileSelect);
    session.Build.RefreshMenuEditor = [&mainForm] { mainForm.ShowRebuiltMenu(); };

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) mainForm.SetStartFile(QDir::current().absoluteFilePath(args.at(1)));
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    mainForm.show();
    return QApplication::exec();
}
