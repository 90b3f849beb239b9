// SPDX-License-Identifier: MIT
// The desktop program: creates the windows once, in their fixed order, and runs until the
// main window closes.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QIcon>

#include "MainForm.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "TFileSelectDlg.h"
#include "TMakeForm.h"
#include "TProOptDlg.h"
#include "TWebAnzeigeForm.h"
#include "Translations.h"
#include "UiPrompts.h"
#include "io/FileSystem.h"

int main(int argc, char* argv[]) {
    // The embedded browser's sandbox cannot run as root (containers, live systems); without
    // this the preview window would stay blank there.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
    session.Build.RefreshMenuEditor = [&mainForm] { mainForm.RefreshMenuEditor(); };

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) mainForm.SetStartFile(QDir::current().absoluteFilePath(args.at(1)));
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    mainForm.show();
    return QApplication::exec();
}
