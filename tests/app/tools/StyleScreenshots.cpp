// SPDX-License-Identifier: MIT
// Captures the ten style editor tabs (five pages, two menu levels) with the menu preview
// beside them, as PNG files. Run under a real X server:
//   xvfb-run -a build/bin/pagloom-style-screenshots OUTPUT_DIR [PROJECT.plp]
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>
#include <QWebEngineView>

#include "AppTestSupport.h"
#include "ToolSupport.h"
#include "style/StylePages.h"
#include "style/StylePreview.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: pagloom-style-screenshots OUTPUT_DIR [PROJECT.plp]");
        return 64;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);

    AppFixture app(QCoreApplication::applicationDirPath());
    if (args.size() > 2) app.main->OpenProject(QFileInfo(args.at(2)).absoluteFilePath());
    app.main->resize(1100, 640);
    app.main->show();
    QTabWidget* pages = app.main->PageControl();
    const char* names[] = {"tsFont", "tsText", "tsPosition", "tsBorder", "tsBackground"};
    for (const char* name : names) {
        auto* levels = pages->findChild<QTabWidget*>(name);
        pages->setCurrentWidget(levels);
        for (int level = 0; level < levels->count(); ++level) {
            levels->setCurrentIndex(level);
            if (StylePreview* preview = app.main->Styles()->Preview()) {
                QEventLoop loop;
                QObject::connect(preview->View(), &QWebEngineView::loadFinished, &loop,
                                 &QEventLoop::quit);
                QTimer::singleShot(1500, &loop, &QEventLoop::quit);
                loop.exec();
            }
            Settle(400);
            const QString file = QDir(out).filePath(
                QStringLiteral("style-%1-%2.png")
                    .arg(QString::fromLatin1(name + 2).toLower(), level ? "unter" : "haupt"));
            if (!app.main->grab().save(file))
                qWarning("cannot write %s", qPrintable(file));
            else
                qInfo("%s", qPrintable(file));
        }
    }
    return 0;
}
