// SPDX-License-Identifier: MIT
// Captures every window and tab of the program as PNG files, for looking at the layout as a
// user would (cut-off texts, overlapping controls). Run under a real X server:
//   xvfb-run -a build/bin/pagloom-screenshots OUTPUT_DIR [PROJECT.plp]
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "AppTestSupport.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

namespace {

void Settle(int ms = 150) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Save(QWidget* w, const QString& dir, const QString& name) {
    Settle();
    const QString path = QDir(dir).filePath(name + ".png");
    if (!w->grab().save(path))
        qWarning("cannot write %s", qPrintable(path));
    else
        qInfo("%s", qPrintable(path));
}

QString FileName(const QString& tab) {
    QString n = tab.toLower();
    n.replace(u'ü', "ue").replace(u'ä', "ae").replace(u'ö', "oe").replace(u' ', u'-');
    return n;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("pagloom pro 2.0");
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: pagloom-screenshots OUTPUT_DIR [PROJECT.plp]");
        return 64;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);

    AppFixture app(QCoreApplication::applicationDirPath());
    QTemporaryDir site;
    if (args.size() > 2) app.main->OpenProject(QFileInfo(args.at(2)).absoluteFilePath());
    app.session.Settings().files.destination_directory = S(site.path());
    app.session.Settings().sitemap.make_sitemap = true;
    app.session.Settings().frameset.frametop = true;
    app.main->RefreshFromModel();
    app.main->ApplyTabRules();
    app.main->HandOnDestination(site.path());
    app.main->RefreshMenuEditor();
    app.main->resize(820, 560);
    app.main->show();
    QTabWidget* tabs = app.main->PageControl();
    for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->isTabVisible(i)) continue;
        tabs->setCurrentIndex(i);
        Save(app.main.get(), out, "main-" + FileName(tabs->tabText(i)));
    }

    // Dialogs are captured while "open": the scripted Exec shows them, saves and closes.
    app.prompts.onExec = [&](QDialog* d) {
        d->show();
        if (auto* opt = qobject_cast<TProOptDlg*>(d)) {
            for (int i = 0; i < opt->Pages()->count(); ++i) {
                opt->Pages()->setCurrentIndex(i);
                Save(d, out, "options-" + FileName(opt->Pages()->tabText(i)));
            }
        } else if (qobject_cast<TMakeForm*>(d)) {
            d->findChild<QPushButton*>("MakeStart")->click();
            Save(d, out, "build-dialog");
        } else {
            Save(d, out, "file-select");
        }
        d->hide();
        return int(QDialog::Rejected);
    };
    app.main->OptionenItemClick();
    app.main->Erstellen1Click();
    app.fileSelect->ChooseOne();

    // The browser window with the built site and with the help.
    auto webShot = [&](const QString& name, std::function<void()> show) {
        show();
        auto* view = app.web->findChild<QWebEngineView*>();
        if (view) {
            QEventLoop loop;
            QObject::connect(view, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
            QTimer::singleShot(8000, &loop, &QEventLoop::quit);
            loop.exec();
        }
        Settle(1200);
        Save(app.web.get(), out, name);
    };
    webShot("preview", [&] { app.main->Preview(); });
    // The frames of a file:// frameset must be able to script each other.
    if (auto* view = app.web->findChild<QWebEngineView*>()) {
        QEventLoop loop;
        view->page()->runJavaScript(
            "(function(){try{var f=window.frames;var t=[];for(var "
            "i=0;i<f.length;++i)t.push(f[i].document.title);"
            "return 'frames scriptable: '+t.join(' | ');}catch(e){return 'frames blocked: "
            "'+e;}})()",
            [&loop](const QVariant& r) {
                qInfo("%s", qPrintable(r.toString()));
                loop.quit();
            });
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    webShot("help", [&] { app.main->Help(); });
    for (const QString& m : app.prompts.messages) qInfo("message: %s", qPrintable(m));
    return 0;
}
