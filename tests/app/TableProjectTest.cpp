// SPDX-License-Identifier: MIT
// The windows open and build a table-driven project the way the program does: the session's
// own tables are opened with the project, and "Erstellen" and "Start" make the table pages.
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AppTestSupport.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class TableProjectTest : public QObject {
    Q_OBJECT
  private slots:
    void openedTableProjectBuildsItsTablePages();
};

void TableProjectTest::openedTableProjectBuildsItsTablePages() {
    // The demo names its table and templates relative to its project file, which is found
    // from this test's working folder, wherever that is.
    const QString demo = QStringLiteral(PAGLOOM_RESOURCES "/../examples/csv-demo");
    QVERIFY(QDir::currentPath() != QDir(demo).absolutePath());
    QTemporaryDir site;
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.main->OpenProject(QDir(demo).absoluteFilePath(QStringLiteral("csv-demo.plp")));
    QCOMPARE(app.prompts.messages, QStringList{});
    QCOMPARE(app.session.project.Tables.Slot[ContentSlot::mainmenu].name_display,
             std::string("katalog.csv"));

    app.main->HandOnDestination(site.path());
    QString log;
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QPushButton*>(QStringLiteral("MakeStart"))->click();
        log = d->findChild<QPlainTextEdit*>(QStringLiteral("MakeReport"))->toPlainText();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();

    QCOMPARE(app.prompts.messages, QStringList{});
    QVERIFY2(log.contains(QStringLiteral("Erstellen der Dateien fertig!")), qPrintable(log));
    QVERIFY(!log.contains(QStringLiteral("Fehler!")));
    // The menu comes from the table: one main entry per area, each with its page.
    QVERIFY(app.session.project.MainMenu.Count() > 1);
    for (int i = 0; i < app.session.project.MainMenu.Count(); ++i) {
        const QString page = Q(app.session.project.MainMenu.Item(i).FileName);
        QVERIFY2(QFileInfo::exists(site.filePath(page)), qPrintable(page));
    }
}

QTEST_MAIN(TableProjectTest)
#include "TableProjectTest.moc"
