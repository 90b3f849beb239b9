// SPDX-License-Identifier: MIT
// Captures the link check window over the demo site with a deleted page and after a rebuild,
// and the build dialog after a run with "Nur prüfen, nichts schreiben", for a look at the
// layout. Run under an X server:
//   xvfb-run -a build/bin/pagloom-linkcheck-screenshots OUTPUT_DIR
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include "AppTestSupport.h"
#include "LinkCheckWindow.h"
#include "ToolSupport.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

namespace {

void Save(const QPixmap& picture, const QString& dir, const QString& name) {
    SavePng(picture, PngIn(dir, name));
}

}  // namespace

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: pagloom-linkcheck-screenshots OUTPUT_DIR");
        return 2;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);
    QTemporaryDir site;

    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.session.Open(PAGLOOM_RESOURCES "/../examples/demo/demo.plp");
    app.main->HandOnDestination(site.path());
    app.main->show();
    if (!app.session.MakeStart().Succeeded()) qWarning("the demo did not build");
    QFile::remove(QDir(site.path()).filePath("rosen.htm"));

    app.main->LinkCheckClick();
    auto* window = app.main->findChild<LinkCheckWindow*>();
    QTest::qWaitFor([window] { return !window->Checking(); }, 20000);
    Settle();
    Save(window->grab(), out, "linkcheck-broken");

    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QCheckBox*>("CBNurPruefen")->setChecked(true);
        d->findChild<QPushButton*>("MakeStart")->click();
        d->show();
        Settle();
        Save(d->grab(), out, "build-dry-run");
        d->findChild<QCheckBox*>("CBNurPruefen")->setChecked(false);
        d->findChild<QPushButton*>("MakeStart")->click();
        d->hide();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();

    window->findChild<QPushButton*>("LinkCheckAgain")->click();
    QTest::qWaitFor([window] { return !window->Checking(); }, 20000);
    Settle();
    Save(window->grab(), out, "linkcheck-clean");
    return 0;
}
