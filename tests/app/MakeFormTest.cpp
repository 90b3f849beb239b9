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
    void failedFilesShownBesideTheCount();
    void keptPagesCountedBelowTheLog();
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

QTEST_MAIN(MakeFormTest)
#include "MakeFormTest.moc"
