// SPDX-License-Identifier: MIT
// "Links prüfen" from the Extras menu lists the site's broken references and orphans; a double
// click shows the page in the preview. The build dialog's "Nur prüfen, nichts schreiben" plans
// a build without writing.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AppTestSupport.h"
#include "LinkCheckWindow.h"
#include "LogView.h"
#include "TWebAnzeigeForm.h"
#include "model/TWebMenu.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class LinkCheckWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void listsBrokenLinksAndOpensThePage();
    void missingDestinationIsAMessage();
    void dryRunWritesNothingAndShowsTheCounts();
    void manyFindingsComeThroughTheModelWhileTheWindowAnswers();
};

namespace {

// Builds the fixture's project (two pages) into `site`.
void BuildSite(AppFixture& app, const QString& site) {
    app.main->HandOnDestination(site);
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Eins", "eins.htm", true));
    app.session.project.MainMenu.Add(TWebMenu::NewMainItem("Zwei", "zwei.htm", true));
    app.session.Build.DryRun = false;
    QVERIFY(app.session.MakeStart().Succeeded());
}

QStringList Shown(const QListView* list) {
    QStringList lines;
    const QAbstractItemModel* m = list->model();
    for (int i = 0; i < m->rowCount(); ++i) lines << m->index(i, 0).data().toString();
    return lines;
}

}  // namespace

void LinkCheckWindowTest::listsBrokenLinksAndOpensThePage() {
    AppFixture app;
    QTemporaryDir site;
    BuildSite(app, site.path());
    QVERIFY(QFile::remove(site.filePath("zwei.htm")));

    QAction* action = app.main->findChild<QAction*>("acLinksPruefen");
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("&Links prüfen"));
    action->trigger();
    auto* window = app.main->findChild<LinkCheckWindow*>();
    QVERIFY(window && window->isVisible());
    auto* list = window->findChild<QListView*>("LinkCheckList");
    QTRY_VERIFY(!window->Checking());
    QStringList lines = Shown(list);
    QVERIFY(lines.size() >= 2);
    QCOMPARE(lines.takeFirst(), QStringLiteral("zwei.htm: Datei der Site fehlt"));
    for (const QString& l : lines) QVERIFY2(l.endsWith("Ziel fehlt: zwei.htm"), qPrintable(l));
    QVERIFY(
        lines.contains("index.js:" + lines.last().section(':', 1, 1) + ": Ziel fehlt: zwei.htm"));

    const int row =
        1 + static_cast<int>(lines.indexOf(QRegularExpression("^menframe_include.htm:.*")));
    QVERIFY(row >= 1);
    list->setCurrentIndex(list->model()->index(row, 0));
    emit list->doubleClicked(list->model()->index(row, 0));
    QCOMPARE(app.web->LoadedFile(), QDir(site.path()).filePath("menframe_include.htm"));

    // Rebuilt, the site checks clean.
    QVERIFY(app.session.MakeStart().Succeeded());
    window->findChild<QPushButton*>("LinkCheckAgain")->click();
    QTRY_VERIFY(!window->Checking());
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(window->findChild<QLabel*>("LinkCheckSummary")->text().startsWith("Keine"));
}

void LinkCheckWindowTest::missingDestinationIsAMessage() {
    AppFixture app;
    app.session.Build.Destination = "/nirgends/pagloom-test";
    app.main->LinkCheckClick();
    QCOMPARE(app.prompts.messages,
             QStringList{"Das Verzeichnis /nirgends/pagloom-test existiert nicht!"});
    auto* window = app.main->findChild<LinkCheckWindow*>();
    QVERIFY(!window->Checking());
    QCOMPARE(window->findChild<QListView*>()->model()->rowCount(), 0);
}

void LinkCheckWindowTest::dryRunWritesNothingAndShowsTheCounts() {
    AppFixture app;
    QTemporaryDir site;
    BuildSite(app, site.path());
    QVERIFY(QFile::remove(site.filePath("zwei.htm")));
    const QStringList before = QDir(site.path()).entryList(QDir::Files);
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QCheckBox*>("CBNurPruefen")->setChecked(true);
        d->findChild<QPushButton*>("MakeStart")->click();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QVERIFY(app.session.Build.DryRun);
    QCOMPARE(QDir(site.path()).entryList(QDir::Files), before);
    const QString log = app.Find<LogView>("MakeReport")->toPlainText();
    QVERIFY(log.contains("neu: " + site.path() + "/zwei.htm"));
    const QString progress = app.Find<QLabel>("MakeProgress")->text();
    QVERIFY2(progress.startsWith("Plan: 1 neu, 0 geändert, ") && progress.endsWith(", 0 Fehler"),
             qPrintable(progress));
}

// A site whose page names thousands of missing files: the check runs beside the window thread
// (LinkCheckClick returns at once) and the list shows every finding through its model.
void LinkCheckWindowTest::manyFindingsComeThroughTheModelWhileTheWindowAnswers() {
    AppFixture app;
    QTemporaryDir site;
    BuildSite(app, site.path());
    QByteArray page = "<html><body>\r\n";
    for (int i = 0; i < 20000; ++i)
        page += "<a href=\"fehlt" + QByteArray::number(i) + ".htm\">x</a>\r\n";
    page += "</body></html>\r\n";
    WriteFile(site.filePath("eins.htm"), page);
    app.main->LinkCheckClick();
    auto* window = app.main->findChild<LinkCheckWindow*>();
    // The click returned while the site is being read; the result comes through the event loop.
    QVERIFY(window->Checking());
    QVERIFY(!window->findChild<QPushButton*>("LinkCheckAgain")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!window->Checking(), 20000);
    auto* list = window->findChild<QListView*>("LinkCheckList");
    QCOMPARE(list->model()->rowCount(), 20000);
    QCOMPARE(list->model()->index(19999, 0).data().toString(),
             QStringLiteral("eins.htm:20001: Ziel fehlt: fehlt19999.htm"));
    QVERIFY(window->findChild<QLabel*>("LinkCheckSummary")->text().startsWith("20000 Befunde"));
    QVERIFY(window->findChild<QPushButton*>("LinkCheckAgain")->isEnabled());
}

QTEST_MAIN(LinkCheckWindowTest)
#include "LinkCheckWindowTest.moc"
