// SPDX-License-Identifier: MIT
// The windows open and build a table-driven project the way the program does: the session's
// own tables are opened with the project, and "Erstellen" and "Start" make the table pages.
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "AppTestSupport.h"
#include "LogView.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class TableProjectTest : public QObject {
    Q_OBJECT
  private slots:
    void openedTableProjectBuildsItsTablePages();
    void tableThatDoesNotOpenShowsTheReasonAsDetails();
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
        log = d->findChild<LogView*>(QStringLiteral("MakeReport"))->toPlainText();
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

// A table that its reader refuses is named in the message, and the reader's reason is the
// message's details.
void TableProjectTest::tableThatDoesNotOpenShowsTheReasonAsDetails() {
    QTemporaryDir dir;
    // A dBase table with a memo field, without its memo file.
    QByteArray dbf(32, '\0');
    dbf[0] = '\x83';
    dbf[4] = 1;    // one record
    dbf[8] = 65;   // header length
    dbf[10] = 11;  // record length
    QByteArray field(32, '\0');
    field.replace(0, 4, "TEXT");
    field[11] = 'M';
    field[16] = 10;
    WriteFile(dir.filePath("notiz.dbf"), dbf + field + "\r          1\x1A");
    WriteFile(dir.filePath("p.plp"), "[table]\r\nmainmenu_database=" + dir.path().toUtf8() +
                                         "\r\nmainmenu_table=notiz.dbf\r\n"
                                         "mainmenu_table_type=dbase_table\r\n");
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.main->OpenProject(dir.filePath("p.plp"));
    QCOMPARE(app.prompts.messages, QStringList{"Fehler beim Einlesen der Datei:notiz.dbf"});
    QCOMPARE(app.prompts.messageDetails,
             QStringList{"Die Tabelle notiz.dbf braucht die Memodatei notiz.dbt, die fehlt!"});
}

QTEST_MAIN(TableProjectTest)
#include "TableProjectTest.moc"
