// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QClipboard>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>

#include "AppTestSupport.h"
#include "LogView.h"
#include "generator/SiteFiles.h"
#include "model/TWebMenu.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class MakeFormTest : public QObject {
    Q_OBJECT
  private slots:
    void twoBuildsAppendToTheLog();
    void noDestinationIsAMessage();
    void regionChoiceShownForDreamweaverPages();
    void failedFilesShownBesideTheCount();
    void keptPagesCountedBelowTheLog();
    void cancelHalfWay_data();
    void cancelHalfWay();
    void messageOfAThreadedBuildWaitsForTheUser();
    void theLogKeepsItsLinesCopiesAndScrollsSideways();
};

namespace {

QStringList LogLines(const ProjectSession& session) {
    QStringList out;
    for (const std::string& l : session.Build.Report.Lines()) out << Q(l);
    return out;
}

std::map<QString, QByteArray> FilesIn(const QString& dir) {
    std::map<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) files[it.fileName()] = f.readAll();
    }
    return files;
}

}  // namespace

void MakeFormTest::twoBuildsAppendToTheLog() {
    AppFixture app;
    QTemporaryDir site;
    app.main->HandOnDestination(site.path());
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Start", "start.htm", true));
    QStringList afterFirst;
    QString destinationShown;
    app.prompts.onExec = [&](QDialog* d) {
        destinationShown = app.Find<QLineEdit>("MakeZielEdit")->text();
        auto* start = d->findChild<QPushButton*>("MakeStart");
        start->click();
        afterFirst = d->findChild<LogView*>("MakeReport")->toPlainText().split('\n');
        start->click();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QCOMPARE(destinationShown, site.path());

    const QString log = app.Find<LogView>("MakeReport")->toPlainText();
    QStringList core;
    for (const std::string& l : app.session.Build.Report.Lines()) core << Q(l);
    QCOMPARE(log.split('\n'), core);
    const QString startLine = "Erstelle Dateien in " + site.path() + ":";
    QCOMPARE(core.count(startLine), 2);
    QCOMPARE(core.count("Erstellen der Dateien fertig!"), 2);
    QCOMPARE(afterFirst.first(), startLine);
    QCOMPARE(afterFirst.count("Erstellen der Dateien fertig!"), 1);
    // The second report comes below the first, which stays as it was.
    QCOMPARE(core.mid(0, afterFirst.size()), afterFirst);
    QVERIFY(core.indexOf(startLine, afterFirst.size() - 1) >= afterFirst.size() - 1);
    QVERIFY(core.contains(site.path() + "/index.htm..."));
    QVERIFY(core.contains("Keine Änderung"));  // the second build found the files unchanged
    QVERIFY(QFile::exists(site.filePath("start.htm")));
    QVERIFY(app.Find<QLabel>("MakeProgress")->text().contains(QRegularExpression("[1-9]")));

    // Closing and opening the dialog again keeps the log.
    app.prompts.onExec = [](QDialog*) { return int(QDialog::Rejected); };
    app.main->Erstellen1Click();
    QCOMPARE(app.Find<LogView>("MakeReport")->toPlainText(), log);
}

void MakeFormTest::noDestinationIsAMessage() {
    AppFixture app;
    app.prompts.onExec = [](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QCOMPARE(app.prompts.messages, QStringList{"Sie haben kein Zielverzeichnis angegeben!"});
    QVERIFY(app.Find<LogView>("MakeReport")->toPlainText().isEmpty());
}

void MakeFormTest::regionChoiceShownForDreamweaverPages() {
    AppFixture app;
    ContentPageSettings& cp = app.session.Settings().content_page;
    bool visible = true;
    bool checked = false;
    app.prompts.onExec = [&](QDialog*) {
        auto* box = app.Find<QCheckBox>("CBBeBeOverwrite");
        visible = !box->isHidden();
        checked = box->isChecked();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QVERIFY(!visible);
    cp.source.Select(kDwTemplatePages);
    cp.dw_editable_overwrite = true;
    app.main->Erstellen1Click();
    QVERIFY(visible);
    QVERIFY(checked);
}

// With overwrite off, a rebuild keeps the existing pages; the dialog says how many, and the
// log's lines stay as they were.
void MakeFormTest::keptPagesCountedBelowTheLog() {
    AppFixture app;
    QTemporaryDir site;
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Eins", "eins.htm", true));
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Zwei", "zwei.htm", true));
    ContentPageSettings& cp = app.session.Settings().content_page;
    cp.source.Select(kEmptyPages);
    cp.empty_overwrite = false;
    app.session.Settings().firstpage.overwrite_firstpage = false;
    app.session.Settings().menu_frame.empty_overwrite = false;
    QStringList shown;
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        shown << app.Find<QLabel>("MakeProgress")->text();
        return int(QDialog::Rejected);
    };
    app.main->HandOnDestination(site.path());
    app.main->Erstellen1Click();
    const size_t firstLog = app.session.Build.Report.Lines().size();
    app.main->Erstellen1Click();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(!shown[0].contains(QStringLiteral("übersprungen")), qPrintable(shown[0]));
    // The two pages, the first page and the menu frame, whose overwrite settings are off.
    QVERIFY2(shown[1].endsWith(QStringLiteral(", 4 übersprungen (Überschreiben ist aus)")),
             qPrintable(shown[1]));
    for (size_t i = firstLog; i < app.session.Build.Report.Lines().size(); ++i)
        QVERIFY(!Q(app.session.Build.Report.Lines()[i]).contains(QStringLiteral("bersprungen")));
}

void MakeFormTest::failedFilesShownBesideTheCount() {
    AppFixture app;
    QTemporaryDir site;
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Start", "start.htm", true));
    QStringList shown;
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        shown << app.Find<QLabel>("MakeProgress")->text();
        return int(QDialog::Rejected);
    };
    // Into a folder that is missing every file fails; then a good build counts afresh.
    app.main->HandOnDestination(site.filePath("fehlt"));
    app.main->Erstellen1Click();
    app.main->HandOnDestination(site.path());
    app.main->Erstellen1Click();

    const QStringList lines = [&] {
        QStringList out;
        for (const std::string& l : app.session.Build.Report.Lines()) out << Q(l);
        return out;
    }();
    const int failed = lines.count("Fehler!");
    QVERIFY(failed > 1);
    QCOMPARE(shown.size(), 2);
    const QRegularExpression summary("^Bearbeitete Dateien: (\\d+)(, davon fehlerhaft: (\\d+))?$");
    const QRegularExpressionMatch bad = summary.match(shown[0]);
    QVERIFY2(bad.hasMatch(), qPrintable(shown[0]));
    QCOMPARE(bad.captured(3).toInt(), failed);
    QCOMPARE(bad.captured(1).toInt(), failed);
    const QRegularExpressionMatch good = summary.match(shown[1]);
    QVERIFY2(good.hasMatch() && good.captured(2).isEmpty(), qPrintable(shown[1]));
    QCOMPARE(good.captured(1), bad.captured(1));
}

void MakeFormTest::cancelHalfWay_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Maus") << false;
    QTest::newRow("Escape") << true;
}

// A build held on its thread at its 20th page: the dialog shows how far it is, answers, keeps
// the controls that would change the build disabled; "Abbrechen" (or Escape) ends it after that
// page, and every file it left is whole.
void MakeFormTest::cancelHalfWay() {
    QFETCH(bool, byKey);
    AppFixture app;
    QTemporaryDir site, whole;
    for (int i = 1; i <= 40; ++i)
        app.session.project.MainMenu.Add(
            TWebMenu::NewMainItem(QStringLiteral("Seite %1").arg(i).toStdString(),
                                  "p" + std::to_string(i) + ".htm", true));
    app.session.Settings().content_page.source.Select(kEmptyPages);
    const std::vector<SiteFile> list = SiteFileList(app.session.project);
    const int total = static_cast<int>(list.size());
    const int heldAt =
        static_cast<int>(std::find_if(list.begin(), list.end(),
                                      [](const SiteFile& f) { return f.name == "p20.htm"; }) -
                         list.begin());
    QVERIFY(heldAt > 20 && heldAt < total);
    BuildPause pause;
    const std::string held = S(site.filePath("p20.htm"));
    pause.when = [&](const std::string& path) { return path == held; };
    app.disk.beforeNaming = std::ref(pause);

    QString shownWhileHeld;
    int barWhileHeld = -1;
    bool stillOpen = false;
    app.prompts.onExec = [&](QDialog* d) {
        d->show();
        QTimer::singleShot(0, d, [&, d] {
            QVERIFY(pause.WaitUntilHeld());
            auto* progress = d->findChild<QLabel*>("MakeProgress");
            QTRY_VERIFY(progress->text().endsWith(QStringLiteral(" von %1").arg(total)));
            shownWhileHeld = progress->text();
            barWhileHeld = d->findChild<QProgressBar*>("MakeProgressBar")->value();
            for (const char* name :
                 {"MakeStart", "MakeAbbruch", "MakeZielEdit", "CBNurPruefen", "SpeedButtonZiel"})
                QVERIFY2(!d->findChild<QWidget*>(name)->isEnabled(), name);
            // "Nur prüfen" clicked during the build changes neither it nor the next one.
            QTest::mouseClick(d->findChild<QCheckBox*>("CBNurPruefen"), Qt::LeftButton);
            QVERIFY(!app.session.Build.DryRun);
            auto* cancel = d->findChild<QPushButton*>("MakeCancel");
            QVERIFY(cancel->isEnabled());
            if (byKey)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                QTest::mouseClick(cancel, Qt::LeftButton);
            stillOpen = d->isVisible();
            pause.Resume();
        });
        d->findChild<QPushButton*>("MakeStart")->click();
        return int(QDialog::Rejected);
    };
    app.main->HandOnDestination(site.path());
    app.main->Erstellen1Click();

    // The window counted the files before the held page.
    QCOMPARE(shownWhileHeld, QStringLiteral("Datei %1 von %2").arg(heldAt).arg(total));
    QCOMPARE(barWhileHeld, heldAt);
    QVERIFY(stillOpen);
    const QStringList log = LogLines(app.session);
    QCOMPARE(app.Find<LogView>("MakeReport")->toPlainText().split('\n'), log);
    QCOMPARE(log.mid(log.size() - 3),
             (QStringList{"", QStringLiteral("Erstellen abgebrochen!"), ""}));
    QVERIFY(!log.contains(QStringLiteral("Erstellen der Dateien fertig!")));
    const int files = static_cast<int>(log.filter(QRegularExpression("\\.\\.\\.$")).size());
    QCOMPARE(files, heldAt + 1);  // the held page was still written
    QCOMPARE(log.at(log.indexOf(Q(held) + "...") + 1), QStringLiteral("OK"));
    QCOMPARE(app.Find<QLabel>("MakeProgress")->text(),
             QStringLiteral("Bearbeitete Dateien: %1 (abgebrochen)").arg(heldAt + 1));
    QVERIFY(app.Find<QPushButton>("MakeStart")->isEnabled());
    QVERIFY(!app.Find<QCheckBox>("CBNurPruefen")->isChecked());

    // Every file left is whole: as a full build writes it, and nothing else lies there.
    app.disk.beforeNaming = {};
    app.main->HandOnDestination(whole.path());
    app.prompts.onExec = [](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QCOMPARE(LogLines(app.session).last(2).first(),
             QStringLiteral("Erstellen der Dateien fertig!"));
    const auto cancelled = FilesIn(site.path()), full = FilesIn(whole.path());
    QCOMPARE(int(cancelled.size()), int(log.count(QStringLiteral("OK"))));
    for (const auto& [name, bytes] : cancelled) {
        QVERIFY2(full.count(name), qPrintable(name));
        QVERIFY2(full.at(name) == bytes, qPrintable(name));
    }
}

// A message of a build on its own thread appears on the window thread; the build waits for it.
void MakeFormTest::messageOfAThreadedBuildWaitsForTheUser() {
    AppFixture app;
    QTemporaryDir site;
    const QString dwt = site.filePath("vorlage.dwt");
    WriteFile(dwt, "<body>ohne Kopf</body>\r\n");
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Eins", "eins.htm", true));
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Zwei", "zwei.htm", true));
    ContentPageSettings& cp = app.session.Settings().content_page;
    cp.source.Select(kDwTemplatePages);
    cp.dw_template_file = S(dwt);
    QStringList logWhileShown;
    bool laterPageThere = true;
    app.prompts.onMessage = [&](const QString&) {
        if (!logWhileShown.isEmpty()) return;
        // The build waits: nothing after the page being made is written meanwhile.
        QTest::qWait(100);
        laterPageThere = QFile::exists(site.filePath("zwei.htm"));
        logWhileShown = LogLines(app.session);
    };
    app.prompts.onExec = [](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        return int(QDialog::Rejected);
    };
    app.main->HandOnDestination(site.path());
    app.main->Erstellen1Click();
    QVERIFY(!app.prompts.messages.isEmpty());
    QVERIFY(!app.prompts.offWindowThread);
    QVERIFY(!logWhileShown.isEmpty());
    QVERIFY(!laterPageThere);
    QVERIFY(!logWhileShown.contains(Q(S(site.filePath("zwei.htm"))) + "..."));
    QCOMPARE(LogLines(app.session).last(2).first(),
             QStringLiteral("Erstellen der Dateien fertig!"));
    QVERIFY(QFile::exists(site.filePath("zwei.htm")));
}

void MakeFormTest::theLogKeepsItsLinesCopiesAndScrollsSideways() {
    AppFixture app;
    LogView* log = app.make->Log();
    const QString longLine = QStringLiteral("/ein/sehr/langer/Pfad/") + QString(300, u'x');
    log->AppendLines({QStringLiteral("erste"), QString(), longLine});
    log->AppendPlainText(QStringLiteral("vierte\nfünfte"));
    QCOMPARE(log->toPlainText(),
             QStringLiteral("erste\n\n") + longLine + QStringLiteral("\nvierte\nfünfte"));

    app.make->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.make.get()));
    QVERIFY(log->horizontalScrollBar()->maximum() > 0);  // the long line is not cut
    log->setFocus();
    log->selectionModel()->select(log->model()->index(3, 0), QItemSelectionModel::Select);
    log->selectionModel()->select(log->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::keySequence(log, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("erste\nvierte"));
}

QTEST_MAIN(MakeFormTest)
#include "MakeFormTest.moc"
