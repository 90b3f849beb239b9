// SPDX-License-Identifier: MIT
#include <QAction>
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <map>
#include <set>

#include "AppTestSupport.h"
#include "LogView.h"
#include "TfmProjectGroup.h"
#include "generator/SiteFiles.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

namespace {

const QString kAskGroup = QStringLiteral("Projekt-Gruppe vorher speichern?");
const QString kDemoLastSave = QStringLiteral("10.12.2026 09:00:00");

// A copy of the demo project named `name` in `dir` that builds into dir/site-<name>.
QString DemoProject(const QTemporaryDir& dir, const QString& name) {
    QFile demo(QStringLiteral(PAGLOOM_RESOURCES "/../examples/demo/demo.plp"));
    if (!demo.open(QIODevice::ReadOnly)) return {};
    QByteArray text = demo.readAll();
    const QString site = dir.filePath(QStringLiteral("site-") + name);
    QDir().mkpath(site);
    // The demo's destination is empty; the key occurs once.
    text.replace(QByteArray("destination-directory="),
                 QByteArray("destination-directory=") + QByteArray(S(site).c_str()));
    const QString path = dir.filePath(name + QStringLiteral(".plp"));
    WriteFile(path, text);
    return path;
}

QStringList Lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void Trigger(QDialog* d, const char* action) {
    QAction* a = d->findChild<QAction*>(QString::fromLatin1(action));
    QVERIFY2(a, action);
    a->trigger();
}

void Select(QListWidget* list, const QList<int>& rows) {
    list->clearSelection();
    for (int r : rows) list->item(r)->setSelected(true);
}

// Every file below `root` (relative path to contents), group files and projects left out.
std::map<QString, QByteArray> Snapshot(const QString& root) {
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QStringLiteral(".plg")) || path.endsWith(QStringLiteral(".plp")))
            continue;
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) files[QDir(root).relativeFilePath(path)] = f.readAll();
    }
    return files;
}

}  // namespace

class ProjectGroupTest : public QObject {
    Q_OBJECT
  private slots:
    void buildOnlyChangedThenSavedSkipsBoth();
    void cancelStillBuildsAndEmptyIndexFileIsDefault();
    void listCommands();
    void openingAsksAboutTheProject();
    void previewMessagesAndPage();
    void windowGroupBuildsLikeTheCli();
    void groupBuildShowsProgressAndStops_data();
    void groupBuildShowsProgressAndStops();
    void pathsOutsideWindows1252AreRefused();
    void everyWayOfClosingIsOne_data();
    void everyWayOfClosingIsOne();
    void quittingAsksAboutTheGroupFirst_data();
    void quittingAsksAboutTheGroupFirst();
};

void ProjectGroupTest::buildOnlyChangedThenSavedSkipsBoth() {
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a"), b = DemoProject(tmp, "b");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    const QString plg = tmp.filePath("gruppe.plg");
    QStringList progress;
    QStringList captions;
    bool startHiddenDuringBuild = false, overwriteDisabledDuringBuild = false;
    bool destinationDisabledDuringBuild = false, destinationEnabledAfter = false;
    QString projectAfterBuild;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        captions << g->windowTitle();
        app.prompts.files = {a + "\n" + b};
        g->findChild<QPushButton*>("btHinzufuegen")->click();
        auto* list = g->findChild<QListWidget*>("lbProjects");
        if (Lines(list) != QStringList{a, b}) return int(QDialog::Rejected);
        g->findChild<QCheckBox*>("cbMakeModified")->setChecked(true);

        // The windows stay alive between projects: a timer sees each project's progress.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QString t = app.Find<QLabel>("MakeProgress")->text();
            if (progress.isEmpty() || progress.last() != t) progress << t;
            // The build runs on its own thread: its end is seen apart from the group's end.
            if (!app.make->Building()) return;
            startHiddenDuringBuild = app.Find<QPushButton>("MakeStart")->isHidden();
            overwriteDisabledDuringBuild = !app.Find<QCheckBox>("CBBeBeOverwrite")->isEnabled();
            destinationDisabledDuringBuild =
                !app.make->findChild<QLineEdit*>("MakeZielEdit")->isEnabled() &&
                !app.make->findChild<QToolButton*>("SpeedButtonZiel")->isEnabled();
        });
        watch.start(0);
        app.prompts.answers = {Answer::No};
        Trigger(g, "acErstellen");
        watch.stop();
        destinationEnabledAfter = app.make->findChild<QLineEdit*>("MakeZielEdit")->isEnabled() &&
                                  app.make->findChild<QToolButton*>("SpeedButtonZiel")->isEnabled();
        captions << g->windowTitle();
        if (!g->Group().GroupModified) captions << "not modified after first build";
        if (g->Group().LastSaveList != std::vector<std::string>{S(kDemoLastSave), S(kDemoLastSave)})
            captions << "LastSaveList not updated";
        if (!app.make->isVisible()) captions << "build dialog not shown";

        app.prompts.files = {plg};
        Trigger(g, "acSpeichern");
        captions << g->windowTitle();
        Trigger(g, "acErstellen");  // unchanged: no question
        projectAfterBuild = app.session.ProjectFileName();
        g->reject();
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();

    QCOMPARE(captions, (QStringList{"Projektgruppe: [neues Projekt]",
                                    "Projektgruppe: [neues Projekt]", "Projektgruppe: " + plg}));
    QCOMPARE(app.prompts.questions, QStringList{kAskGroup});
    QVERIFY(QFile::exists(tmp.filePath("site-a/index.htm")));
    QVERIFY(QFile::exists(tmp.filePath("site-b/index.htm")));
    // Each project's line, with its file count while its files go; a project of a few files
    // may be done before a sample shows the count (on a loaded machine), not before its line.
    for (const auto& [n, project] : {std::pair{1, a}, std::pair{2, b}})
        QVERIFY2(!progress
                      .filter(QRegularExpression(
                          "^" +
                          QRegularExpression::escape(QStringLiteral("Projekt %1 von 2: ").arg(n) +
                                                     project) +
                          "( – Datei \\d+( von \\d+)?)?$"))
                      .isEmpty(),
                 qPrintable(progress.join(u'|')));
    QVERIFY(startHiddenDuringBuild);
    QVERIFY(overwriteDisabledDuringBuild);
    QVERIFY(destinationDisabledDuringBuild);
    QVERIFY(destinationEnabledAfter);

    QStringList log;
    for (const std::string& l : app.session.Build.Report.Lines()) log << Q(l);
    QCOMPARE(app.Find<LogView>("MakeReport")->toPlainText().split('\n'), log);
    QCOMPARE(log.count("Projektgruppe  erstellen:"), 1);
    QCOMPARE(log.count("Projektgruppe " + plg + " erstellen:"), 1);
    const qsizetype second = log.indexOf("Projektgruppe " + plg + " erstellen:");
    const QStringList secondRun = log.mid(second);
    QCOMPARE(secondRun.count("Keine Änderung im Projekt " + a), 1);
    QCOMPARE(secondRun.count("Keine Änderung im Projekt " + b), 1);
    QVERIFY(!secondRun.contains("Erstellen der Dateien fertig!"));
    QCOMPARE(log.mid(0, second).count("Erstellen der Dateien fertig!"), 2);

    // The saved group holds both LastSave texts; the main window holds the last project.
    TProjectGroup saved;
    QVERIFY(saved.Open(app.disk, PathS(plg)));
    QCOMPARE(saved.LastSaveList.size(), size_t(2));
    QCOMPARE(Q(saved.LastSaveList[1]), kDemoLastSave);
    QVERIFY(saved.MakeModified);
    // After the build the main window holds the last project; closing the window replaced it.
    QCOMPARE(projectAfterBuild, b);
    QVERIFY(app.session.FileName().empty());
    // Closed: the build dialog is closed with its "Start" back.
    QVERIFY(!app.make->isVisible());
    QVERIFY(!app.Find<QPushButton>("MakeStart")->isHidden());
    QCOMPARE(app.make->parentWidget(), app.main.get());
}

void ProjectGroupTest::cancelStillBuildsAndEmptyIndexFileIsDefault() {
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a"), b = DemoProject(tmp, "b");
    const QString plg = tmp.filePath("g.plg");
    const QByteArray stored = "[projects]\r\ncount=1\r\nfilename_1=" + QByteArray(S(a).c_str()) +
                              "\r\nlastsave_1=\r\n[group]\r\nmakemodified=0\r\nindexmap=1\r\n"
                              "indexmapfile=\r\n";
    WriteFile(plg, stored);
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    QString shownIndex, caption;
    bool shownWithIndexOn = false, hiddenWithIndexOff = false;
    int closings = 0, closedAfterCancel = -1;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        app.prompts.files = {plg};
        Trigger(g, "acOeffnen");
        caption = g->windowTitle();
        shownIndex = g->findChild<QLineEdit*>("edIndexMap")->text();
        auto shown = [g](const char* name) { return g->findChild<QWidget*>(name)->isVisibleTo(g); };
        shownWithIndexOn = shown("LBMapFile") && shown("edIndexMap") && shown("sbIndexMap");

        app.prompts.files = {b};
        g->findChild<QPushButton*>("btHinzufuegen")->click();
        app.prompts.answers = {Answer::Cancel};
        Trigger(g, "acErstellen");

        auto* index = g->findChild<QCheckBox*>("cbIndexMap");
        index->setChecked(false);
        hiddenWithIndexOff = !shown("LBMapFile") && !shown("edIndexMap") && !shown("sbIndexMap");
        index->setChecked(true);
        // Closing a changed group asks; Abbrechen keeps the window, Nein closes it.
        app.prompts.answers = {Answer::Cancel, Answer::No};
        QObject::connect(g, &QDialog::finished, g, [&] { ++closings; });
        g->reject();
        closedAfterCancel = closings;
        g->reject();
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();

    QCOMPARE(caption, "Projektgruppe: " + plg);
    QCOMPARE(shownIndex, tmp.filePath("sitemap_index.xml"));
    QVERIFY(shownWithIndexOn);
    QVERIFY(hiddenWithIndexOff);
    QCOMPARE(app.prompts.questions, (QStringList{kAskGroup, kAskGroup, kAskGroup}));
    QCOMPARE(closedAfterCancel, 0);
    QCOMPARE(closings, 1);
    // Built, but the group file was not saved.
    QVERIFY(QFile::exists(tmp.filePath("site-b/index.htm")));
    QFile f(plg);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), stored);
    // The index lists both sitemaps.
    QFile index(tmp.filePath("sitemap_index.xml"));
    QVERIFY(index.open(QIODevice::ReadOnly));
    QCOMPARE(index.readAll().count("<loc>http://www.example.org/gruenfeld/sitemap.xml</loc>"), 2);
}

void ProjectGroupTest::listCommands() {
    QTemporaryDir tmp;
    const QString x = DemoProject(tmp, "x"), y = DemoProject(tmp, "y");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    QStringList afterUpWithFirst, afterUp, afterDown, afterDelete;
    bool loadWithTwo = true, loadWithOne = false, loadAfterDelete = true;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        auto* list = g->findChild<QListWidget*>("lbProjects");
        auto* load = g->findChild<QPushButton*>("btProjektLaden");
        app.prompts.files = {x + "\n" + y + "\n" + x};
        g->findChild<QPushButton*>("btHinzufuegen")->click();

        Select(list, {0, 2});
        loadWithTwo = load->isEnabled();
        g->findChild<QToolButton*>("ButtonMenueUp")->click();
        afterUpWithFirst = Lines(list);
        Select(list, {1});
        loadWithOne = load->isEnabled();
        g->findChild<QToolButton*>("ButtonMenueUp")->click();
        afterUp = Lines(list);  // y x x, y still selected
        g->findChild<QToolButton*>("ButtonMenueDown")->click();
        g->findChild<QToolButton*>("ButtonMenueDown")->click();
        afterDown = Lines(list);  // x x y
        Select(list, {1});
        QTest::keyRelease(list, Qt::Key_Delete);
        afterDelete = Lines(list);
        loadAfterDelete = load->isEnabled();
        if (g->Group().ProjectList.size() != 2) afterDelete << "group not changed";

        Select(list, {1});
        app.prompts.answers = {Answer::No};  // the group's question on closing
        load->click();
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();

    QCOMPARE(afterUpWithFirst, (QStringList{x, y, x}));
    QCOMPARE(afterUp, (QStringList{y, x, x}));
    QCOMPARE(afterDown, (QStringList{x, x, y}));
    QCOMPARE(afterDelete, (QStringList{x, y}));
    QVERIFY(!loadWithTwo);
    QVERIFY(loadWithOne);
    QVERIFY(!loadAfterDelete);
    // "Selektiertes Projekt laden" opened y in the main window and closed the group window.
    QCOMPARE(app.session.ProjectFileName(), y);
    QCOMPARE(app.prompts.questions, QStringList{kAskGroup});

    // The window keeps its group when opened again.
    QStringList again;
    app.prompts.onExec = [&](QDialog* d) {
        again = Lines(d->findChild<QListWidget*>("lbProjects"));
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();
    QCOMPARE(again, (QStringList{x, y}));
}

void ProjectGroupTest::openingAsksAboutTheProject() {
    QTemporaryDir tmp;
    const QString saved = tmp.filePath("p.plp");
    AppFixture app;
    int opened = 0;
    app.prompts.onExec = [&](QDialog* d) {
        if (qobject_cast<TfmProjectGroup*>(d)) ++opened;
        return int(QDialog::Rejected);
    };
    const QString askProject = QStringLiteral("Projekt vorher speichern?");
    struct Case {
        Answer answer;
        int opens;
        bool savedAfter;
    };
    for (const Case& c :
         {Case{Answer::Cancel, 0, false}, Case{Answer::No, 1, false}, Case{Answer::Yes, 1, true}}) {
        app.main->NewProject();
        app.session.Modified = true;
        app.prompts.questions.clear();
        app.prompts.answers = {c.answer};
        app.prompts.files = {saved};
        opened = 0;
        app.main->ProjectGroupClick();
        QCOMPARE(app.prompts.questions, QStringList{askProject});
        QCOMPARE(opened, c.opens);
        QCOMPARE(QFile::exists(saved), c.savedAfter);
    }
    // Unchanged: no question. "Schließen" makes a new project in the main window.
    app.prompts.questions.clear();
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QPushButton*>("btSchliessen")->click();
        return int(QDialog::Rejected);
    };
    QVERIFY(!app.session.FileName().empty());
    app.main->ProjectGroupClick();
    QVERIFY(app.prompts.questions.isEmpty());
    QVERIFY(app.session.FileName().empty());
}

void ProjectGroupTest::previewMessagesAndPage() {
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    const QString page = tmp.filePath("site-a/index.htm");
    QStringList afterNone, afterUnbuilt;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        app.prompts.files = {a};
        g->findChild<QPushButton*>("btHinzufuegen")->click();
        Trigger(g, "acVorschau");  // nothing selected
        afterNone = app.prompts.messages;
        Select(g->findChild<QListWidget*>("lbProjects"), {0});
        Trigger(g, "acVorschau");  // not built yet
        afterUnbuilt = app.prompts.messages;
        app.prompts.answers = {Answer::No};
        Trigger(g, "acErstellen");
        Trigger(g, "acVorschau");
        app.prompts.answers = {Answer::No};
        g->reject();
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();
    QCOMPARE(afterNone, QStringList{"Es konnte kein Projekt geladen werden!"});
    QCOMPARE(afterUnbuilt.mid(1), QStringList{"Kann Datei " + page + " nicht öffnen"});
    QCOMPARE(app.prompts.messages, afterUnbuilt);
    QCOMPARE(app.web->LoadedFile(), page);
    QCOMPARE(app.web->windowTitle(), "Vorschau: " + page);
}

void ProjectGroupTest::windowGroupBuildsLikeTheCli() {
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a"), b = DemoProject(tmp, "b"), c = DemoProject(tmp, "c");
    const QString plg = tmp.filePath("drei.plg");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        app.prompts.files = {a + "\n" + b + "\n" + c};
        g->findChild<QPushButton*>("btHinzufuegen")->click();
        g->findChild<QCheckBox*>("cbIndexMap")->setChecked(true);
        app.prompts.files = {plg};
        Trigger(g, "acSpeichernUnter");
        Trigger(g, "acErstellen");
        g->reject();
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();
    QVERIFY2(app.prompts.messages.isEmpty(), qPrintable(app.prompts.messages.join(" / ")));
    const auto byWindow = Snapshot(tmp.path());
    QVERIFY(byWindow.count("sitemap_index.xml"));
    QVERIFY(byWindow.count("site-c/index.htm"));
    QFile plgFile(plg);
    QVERIFY(plgFile.open(QIODevice::ReadOnly));
    const QByteArray plgByWindow = plgFile.readAll();
    plgFile.close();

    // The same group file built from scratch by pagloom-cli.
    for (const char* site : {"site-a", "site-b", "site-c"})
        QVERIFY(QDir(tmp.filePath(site)).removeRecursively() && QDir().mkpath(tmp.filePath(site)));
    QVERIFY(QFile::remove(tmp.filePath("sitemap_index.xml")));
    QProcess cli;
    cli.start(QStringLiteral(PAGLOOM_CLI), {QStringLiteral("group"), plg});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    QVERIFY(cli.readAllStandardOutput().contains("Projektgruppe " + plg.toUtf8() +
                                                 " erstellen fertig"));
    QVERIFY(Snapshot(tmp.path()) == byWindow);
    QVERIFY(plgFile.open(QIODevice::ReadOnly));
    QCOMPARE(plgFile.readAll(), plgByWindow);
}

void ProjectGroupTest::groupBuildShowsProgressAndStops_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("bis zum Ende") << false;
    QTest::newRow("abgebrochen") << true;
}

// The group builds on its own thread, held at the second file of its second project: the build
// dialog shows both counts, the group window answers but lets nothing change; "Abbrechen" ends
// the group there, with the group file as it was.
void ProjectGroupTest::groupBuildShowsProgressAndStops() {
    QFETCH(bool, cancel);
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a"), b = DemoProject(tmp, "b"), c = DemoProject(tmp, "c");
    const QString plg = tmp.filePath("g.plg");
    const QByteArray stored = "[projects]\r\ncount=3\r\nfilename_1=" + QByteArray(S(a).c_str()) +
                              "\r\nfilename_2=" + QByteArray(S(b).c_str()) +
                              "\r\nfilename_3=" + QByteArray(S(c).c_str()) + "\r\n";
    WriteFile(plg, stored);
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    BuildPause pause;
    const std::string siteB = S(tmp.filePath("site-b")) + "/";
    std::set<std::string> filesOfB;
    pause.when = [&](const std::string& path) {
        if (path.rfind(siteB, 0) == 0 && path.find(".tmp") == std::string::npos)
            filesOfB.insert(path);
        return filesOfB.size() == 2;
    };
    app.disk.beforeNaming = std::ref(pause);
    QString whileHeld, after;
    int barWhileHeld = -1, filesOfProject = 0;
    bool groupLocked = false, cancelOffered = false;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        g->show();
        app.prompts.files = {plg};
        Trigger(g, "acOeffnen");
        QTimer::singleShot(0, g, [&, g] {
            QVERIFY(pause.WaitUntilHeld());
            auto* progress = app.make->findChild<QLabel*>("MakeProgress");
            const QString head = QStringLiteral("Projekt 2 von 3: ") + b + QStringLiteral(" – ");
            QTRY_VERIFY2(progress->text().startsWith(head + QStringLiteral("Datei 1 von ")),
                         qPrintable(progress->text()));
            whileHeld = progress->text();
            // The build holds in the middle of a file; the project is not being read.
            filesOfProject = int(SiteFileList(app.session.project).size());
            barWhileHeld = app.make->findChild<QProgressBar*>("MakeProgressBar")->value();
            groupLocked = !g->findChild<QWidget*>("lbProjects")->isEnabled() &&
                          !g->findChild<QWidget*>("btSchliessen")->isEnabled();
            auto* stop = app.make->findChild<QPushButton*>("MakeCancel");
            cancelOffered = stop->isEnabled() && app.make->isVisible();
            // Escape in the group window is "Abbrechen" too; here the button is clicked.
            if (cancel) QTest::mouseClick(stop, Qt::LeftButton);
            pause.Resume();
        });
        Trigger(g, "acErstellen");
        after = app.make->findChild<QLabel*>("MakeProgress")->text();
        g->reject();
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();

    QVERIFY2(app.prompts.messages.isEmpty(), qPrintable(app.prompts.messages.join(" / ")));
    QVERIFY(!app.prompts.offWindowThread);
    QVERIFY(groupLocked);
    QVERIFY(cancelOffered);
    QCOMPARE(barWhileHeld, 1);
    QVERIFY(filesOfProject > 2);
    QCOMPARE(whileHeld, QStringLiteral("Projekt 2 von 3: ") + b +
                            QStringLiteral(" – Datei 1 von %1").arg(filesOfProject));
    QCOMPARE(after, cancel ? QStringLiteral("Projektgruppe abgebrochen bei Projekt 2 von 3")
                           : QStringLiteral("Projektgruppe erstellt: 3 Projekte"));
    QStringList log;
    for (const std::string& l : app.session.Build.Report.Lines()) log << Q(l);
    QCOMPARE(log.count(QStringLiteral("Erstellen der Dateien fertig!")), cancel ? 1 : 3);
    QCOMPARE(log.count(QStringLiteral("Erstellen abgebrochen!")), cancel ? 1 : 0);
    QCOMPARE(log.at(log.size() - 2), "Projektgruppe " + plg +
                                         (cancel ? QStringLiteral(" erstellen abgebrochen")
                                                 : QStringLiteral(" erstellen fertig")));
    QCOMPARE(QFile::exists(tmp.filePath("site-c/index.htm")), !cancel);
    QFile f(plg);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    // a's save time is recorded either way; b's only when its build was whole.
    QVERIFY(saved.contains("lastsave_1=" + kDemoLastSave.toUtf8()));
    QCOMPARE(saved.contains("lastsave_2=" + kDemoLastSave.toUtf8()), !cancel);
}

void ProjectGroupTest::pathsOutsideWindows1252AreRefused() {
    QTemporaryDir tmp;
    const QString x = DemoProject(tmp, "x");
    const QString foreign = tmp.filePath(QStringLiteral("日本"));
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    QStringList lines;
    QString indexFile;
    std::string groupFile = "unset";
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        app.prompts.files = {foreign + ".plg", x + "\n" + foreign + ".plp", foreign + ".plg",
                             foreign + ".xml"};
        Trigger(d, "acOeffnen");
        Trigger(d, "acHinzufuegen");
        Trigger(d, "acSpeichernUnter");
        g->findChild<QToolButton*>("sbIndexMap")->click();
        lines = Lines(g->findChild<QListWidget*>("lbProjects"));
        indexFile = g->findChild<QLineEdit*>("edIndexMap")->text();
        groupFile = g->Group().GroupFileName;
        if (!g->Group().ProjectList.empty()) lines << "group changed";
        return int(QDialog::Rejected);
    };
    app.main->ProjectGroupClick();
    const QString message = QStringLiteral(
        "Der Pfad „%1“ enthält Zeichen außerhalb von "
        "Windows-1252 und kann nicht verwendet werden.");
    QCOMPARE(app.prompts.messages,
             QStringList({message.arg(foreign + ".plg"), message.arg(foreign + ".plp"),
                          message.arg(foreign + ".plg"), message.arg(foreign + ".xml")}));
    QVERIFY(lines.isEmpty());
    QVERIFY(indexFile.isEmpty());
    QCOMPARE(groupFile, std::string());
    QVERIFY(QDir(tmp.path()).entryList({QStringLiteral("日本*")}).isEmpty());
}

void ProjectGroupTest::everyWayOfClosingIsOne_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"Schließen", "Beenden", "Escape", "close button"})
        QTest::newRow(way) << QString::fromUtf8(way);
}

void ProjectGroupTest::everyWayOfClosingIsOne() {
    QFETCH(QString, way);
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a"), b = DemoProject(tmp, "b");
    const QString plg = tmp.filePath("g.plg");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    QVERIFY(app.main->OpenProject(a));
    bool openAfterCancelledSave = false, stillModified = false, projectKept = false;
    bool closedAfterSave = false;
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        g->show();
        if (!QTest::qWaitForWindowExposed(g)) return int(QDialog::Rejected);
        auto* list = g->findChild<QListWidget*>("lbProjects");
        auto close = [&] {
            if (way == "Schließen")
                g->findChild<QPushButton*>("btSchliessen")->click();
            else if (way == "Beenden")
                Trigger(g, "acBeenden");
            else if (way == "Escape")
                QTest::keyClick(list, Qt::Key_Escape);
            else
                g->close();
        };
        app.prompts.files = {b};
        g->findChild<QPushButton*>("btHinzufuegen")->click();

        // "Ja", then the save dialog cancelled: nothing is lost.
        app.prompts.answers = {Answer::Yes};
        app.prompts.files = {QString()};
        close();
        openAfterCancelledSave = g->isVisible();
        stillModified = g->Group().GroupModified && Lines(list) == QStringList{b};
        projectKept = app.session.ProjectFileName() == a;

        app.prompts.answers = {Answer::Yes};
        app.prompts.files = {plg};
        close();
        closedAfterSave = !g->isVisible();
        return g->result();
    };
    app.main->ProjectGroupClick();

    QVERIFY(openAfterCancelledSave);
    QVERIFY(stillModified);
    QVERIFY(projectKept);
    QVERIFY(closedAfterSave);
    QCOMPARE(app.prompts.questions, (QStringList{kAskGroup, kAskGroup}));
    QCOMPARE(app.prompts.saveDialogs, 2);
    TProjectGroup saved;
    QVERIFY(saved.Open(app.disk, PathS(plg)));
    QCOMPARE(saved.ProjectList, std::vector<std::string>{PathS(b)});
    // Every way leaves the main window a new project, as "Schließen" does.
    QVERIFY(app.session.FileName().empty());
    QVERIFY(!app.make->isVisible());
}

void ProjectGroupTest::quittingAsksAboutTheGroupFirst_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"Beenden", "Ctrl+Q", "close button"}) QTest::newRow(way) << way;
}

void ProjectGroupTest::quittingAsksAboutTheGroupFirst() {
    QFETCH(QString, way);
    QTemporaryDir tmp;
    const QString a = DemoProject(tmp, "a");
    const QString plg = tmp.filePath("g.plg");
    const QString askProject = QStringLiteral("Projekt vorher speichern?");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.ShowActive();
    // The group window closed with "Nein": the group keeps its unsaved list.
    app.prompts.onExec = [&](QDialog* d) {
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        app.prompts.files = {a};
        g->findChild<QPushButton*>("btHinzufuegen")->click();
        app.prompts.answers = {Answer::No};
        g->reject();
        return g->result();
    };
    app.main->ProjectGroupClick();
    QVERIFY(app.main->ProjectGroupWindow()->Group().GroupModified);
    app.prompts.questions.clear();

    QAction* quit = nullptr;
    for (QAction* menu : app.main->menuBar()->actions())
        if (menu->text() == "&Datei")
            for (QAction* act : menu->menu()->actions())
                if (act->text() == "&Beenden") quit = act;
    QVERIFY(quit);
    auto tryQuit = [&] {
        if (way == "Beenden")
            quit->trigger();
        else if (way == "Ctrl+Q")
            QTest::keyClick(app.main.get(), Qt::Key_Q, Qt::ControlModifier);
        else
            app.main->close();
        return !app.main->isVisible();
    };

    app.prompts.answers = {Answer::Cancel};
    QVERIFY(!tryQuit());
    app.prompts.answers = {Answer::Yes};
    app.prompts.files = {QString()};
    QVERIFY(!tryQuit());
    QCOMPARE(app.prompts.questions, (QStringList{kAskGroup, kAskGroup}));

    // The group's question comes before the project's.
    app.prompts.questions.clear();
    app.session.Modified = true;
    app.prompts.answers = {Answer::Yes, Answer::No};
    app.prompts.files = {plg};
    QVERIFY(tryQuit());
    QCOMPARE(app.prompts.questions, (QStringList{kAskGroup, askProject}));
    TProjectGroup saved;
    QVERIFY(saved.Open(app.disk, PathS(plg)));
    QCOMPARE(saved.ProjectList, std::vector<std::string>{PathS(a)});
}

QTEST_MAIN(ProjectGroupTest)
#include "ProjectGroupTest.moc"
