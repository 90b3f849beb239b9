// SPDX-License-Identifier: MIT
// Captures every window and tab of the program as PNG files, for looking at the layout as a
// user would (cut-off texts, overlapping controls). Run under a real X server:
//   xvfb-run -a build/bin/pagloom-screenshots OUTPUT_DIR [PROJECT.plp]
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "AppTestSupport.h"
#include "ToolSupport.h"
#include "style/StylePreview.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

namespace {

void Save(QWidget* w, const QString& dir, const QString& name) {
    Settle();
    SavePng(w->grab(), PngIn(dir, name));
}

// Runs `open`, which shows a modal window and waits for it; once it is up, captures it as
// `name` and hands it to `act`, which closes it (Escape when none is given).
void WhileModal(const QString& dir, const QString& name, const std::function<void()>& open,
                const std::function<void(QWidget*)>& act = {}) {
    QWidget* before = QApplication::activeModalWidget();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == before) {
            QTimer::singleShot(50, *poll);
            return;
        }
        Save(w, dir, name);
        if (act)
            act(w);
        else
            QTest::keyClick(w, Qt::Key_Escape);
    };
    QTimer::singleShot(50, *poll);
    open();
}

QString FileName(const QString& tab) {
    QString n = tab.toLower();
    n.replace(u'ü', "ue").replace(u'ä', "ae").replace(u'ö', "oe").replace(u' ', u'-');
    return n;
}

}  // namespace

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
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
    // At the size the program opens with.
    app.main->show();
    QTabWidget* tabs = app.main->PageControl();
    // The menu preview loads its page when the first style tab comes up; grab it once drawn.
    auto* preview = app.main->findChild<StylePreview*>();
    bool previewLoaded = false;
    if (preview)
        QObject::connect(preview->View(), &QWebEngineView::loadFinished,
                         [&previewLoaded] { previewLoaded = true; });
    for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->isTabVisible(i)) continue;
        tabs->setCurrentIndex(i);
        if (preview && preview->isVisible()) {
            for (int waited = 0; !previewLoaded && waited < 8000; waited += 50) Settle(50);
            Settle(600);
        }
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

    // A build into a folder that is missing: the summary counts the failed files.
    const std::string destination = app.session.Build.Destination;
    app.session.Build.Destination = S(site.filePath("fehlt"));
    app.prompts.onExec = [&](QDialog* d) {
        d->show();
        d->findChild<QPushButton*>("MakeStart")->click();
        Save(d, out, "build-dialog-failed");
        d->hide();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    app.session.Build.Destination = destination;
    app.session.Build.PreviewDirectory = destination;

    // The real message boxes and Qt's file dialogs, which speak German too.
    UiPrompts real;
    WhileModal(out, "message-box",
               [&] { real.Message(app.main.get(), "Sie haben kein Zielverzeichnis angegeben!"); });
    WhileModal(out, "question",
               [&] { real.Ask(app.main.get(), "Projekt vorher speichern?", true); });
    const QString filters = "pagloom projekt (*.plp);;Textdatei (*.txt);;alle Dateien (*.*)";
    WhileModal(out, "file-open", [&] {
        real.OpenFile(app.main.get(), "Projekt öffnen", site.path(), filters, {}, "plp");
    });
    // Saving over an existing file: the dialog asks before it replaces it.
    WhileModal(
        out, "file-save",
        [&] {
            real.SaveFile(app.main.get(), "Projekt speichern unter", site.filePath("index.htm"),
                          filters, "plp");
        },
        [&](QWidget* dialog) {
            WhileModal(
                out, "file-overwrite",
                [&] {
                    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                    name->setText("index.htm");
                    QTest::keyClick(name, Qt::Key_Return);
                },
                [dialog](QWidget* box) {
                    QTest::keyClick(box, Qt::Key_Escape);
                    static_cast<QDialog*>(dialog)->reject();
                });
        });
    WhileModal(
        out, "folder-new", [&] { real.ChooseFolder(app.main.get(), site.path()); },
        [&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("neuer-ordner");
            Save(dialog, out, "folder-new-typed");
            static_cast<QDialog*>(dialog)->reject();
        });

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
