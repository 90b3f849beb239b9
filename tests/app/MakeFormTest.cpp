// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "AppTestSupport.h"
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
};

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
        afterFirst = d->findChild<QPlainTextEdit*>("MakeReport")->toPlainText().split('\n');
        start->click();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QCOMPARE(destinationShown, site.path());

    const QString log = app.Find<QPlainTextEdit>("MakeReport")->toPlainText();
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
    QCOMPARE(app.Find<QPlainTextEdit>("MakeReport")->toPlainText(), log);
}

void MakeFormTest::noDestinationIsAMessage() {
    AppFixture app;
    app.prompts.onExec = [](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QCOMPARE(app.prompts.messages, QStringList{"Sie haben kein Zielverzeichnis angegeben!"});
    QVERIFY(app.Find<QPlainTextEdit>("MakeReport")->toPlainText().isEmpty());
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

QTEST_MAIN(MakeFormTest)
#include "MakeFormTest.moc"
