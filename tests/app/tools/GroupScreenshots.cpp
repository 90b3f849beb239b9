// SPDX-License-Identifier: MIT
// Captures the project group window empty, with a list of three demo projects, and during and
// after a group build (with the build dialog), for a look at the layout. Run under an X server:
//   xvfb-run -a build/bin/pagloom-group-screenshots OUTPUT_DIR
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "AppTestSupport.h"
#include "TfmProjectGroup.h"
#include "ToolSupport.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

namespace {

void Save(const QPixmap& picture, const QString& dir, const QString& name) {
    SavePng(picture, PngIn(dir, name));
}

// The demo project as `name`.plp in `dir`, building into dir/name.
QString DemoCopy(const QString& dir, const QString& name) {
    QFile demo(QStringLiteral(PAGLOOM_RESOURCES "/../examples/demo/demo.plp"));
    if (!demo.open(QIODevice::ReadOnly)) return {};
    QByteArray text = demo.readAll();
    const QString site = QDir(dir).filePath(name);
    QDir().mkpath(site);
    text.replace(QByteArray("destination-directory="),
                 QByteArray("destination-directory=") + QByteArray(S(site).c_str()));
    const QString path = QDir(dir).filePath(name + ".plp");
    WriteFile(path, text);
    return path;
}

}  // namespace

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: pagloom-group-screenshots OUTPUT_DIR");
        return 2;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);
    QTemporaryDir work;
    const QString projects = QDir(work.path()).filePath("Webseiten/Vereine");
    QDir().mkpath(projects);
    const QStringList files = {DemoCopy(projects, "Sportverein Grünfeld"),
                               DemoCopy(projects, "Gesangverein Grünfeld"),
                               DemoCopy(projects, "Heimatverein Grünfeld")};

    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.main->show();
    Settle();
    std::function<void(TfmProjectGroup*)> Drive;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        // Driven from inside the window's own modal loop, as a user would.
        QTimer::singleShot(0, g, [&, g] { Drive(g); });
        return g->exec();
    };
    Drive = [&](TfmProjectGroup* g) {
        Settle();
        Save(g->grab(), out, "group-empty");

        app.prompts.files = {files.join('\n')};
        g->findChild<QPushButton*>("btHinzufuegen")->click();
        g->findChild<QCheckBox*>("cbIndexMap")->setChecked(true);
        g->findChild<QCheckBox*>("cbMakeModified")->setChecked(true);
        g->findChild<QListWidget*>("lbProjects")->item(1)->setSelected(true);
        Settle();
        Save(g->grab(), out, "group-list");

        app.prompts.files = {QDir(projects).filePath("Vereine.plg")};
        g->findChild<QAction*>("acSpeichernUnter")->trigger();

        // During the build the windows repaint between projects; capture the second one.
        bool taken = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* progress = app.Find<QLabel>("MakeProgress");
            if (taken || !progress || !progress->text().startsWith("Projekt 2 von 3")) return;
            taken = true;
            Save(app.make->grab(), out, "group-build-running");
            Save(QGuiApplication::primaryScreen()->grabWindow(0), out, "group-build-screen");
        });
        watch.start(0);
        app.prompts.answers = {Answer::No};
        g->findChild<QAction*>("acErstellen")->trigger();
        watch.stop();
        Settle();
        Save(app.make->grab(), out, "group-build-done");
        Save(g->grab(), out, "group-after-build");
        Save(QGuiApplication::primaryScreen()->grabWindow(0), out, "group-after-build-screen");
        app.prompts.answers = {Answer::No};
        g->reject();
    };
    app.main->ProjectGroupClick();
    qInfo("build dialog after closing: %s", app.make->isVisible() ? "visible" : "closed");
    return 0;
}
