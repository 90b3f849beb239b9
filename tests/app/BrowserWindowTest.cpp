// SPDX-License-Identifier: MIT
// The preview and help window: Back and Forward through the pages seen, and where it opens.
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QScreen>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "AppTestSupport.h"
#include "Translations.h"
#include "WindowPlacement.h"

using namespace pagloom::app;

class BrowserWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void centredOver_data();
    void centredOver();
    void opensOverTheMainWindowOnItsScreen();
    void backAndForwardFollowTheHistory();
    void contextMenuSpeaksGerman();
};

namespace {

void WritePage(const QString& path, const char* title) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("<html><head><title>") + title + "</title></head><body>" + title +
            "</body></html>");
}

bool Loads(TWebAnzeigeForm& web, const QString& path, const QWidget* over = nullptr) {
    web.ShowFile(path, "Vorschau", over);
    auto* view = web.findChild<QWebEngineView*>();
    QSignalSpy done(view, &QWebEngineView::loadFinished);
    return done.wait(15000) && done.first().first().toBool();
}

}  // namespace

void BrowserWindowTest::centredOver_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("placed");
    const QRect screen(0, 0, 1280, 1024);
    QTest::newRow("centred") << QRect(100, 100, 800, 600) << QSize(400, 300) << screen << QMargins()
                             << QRect(300, 250, 400, 300);
    QTest::newRow("larger than the screen") << QRect(100, 100, 800, 600) << QSize(2000, 1500)
                                            << screen << QMargins() << QRect(0, 0, 1280, 1024);
    QTest::newRow("anchor near the bottom right")
        << QRect(1000, 800, 800, 600) << QSize(600, 400) << screen << QMargins()
        << QRect(680, 624, 600, 400);
    QTest::newRow("anchor beyond the top left") << QRect(-500, -300, 400, 300) << QSize(600, 400)
                                                << screen << QMargins() << QRect(0, 0, 600, 400);
    QTest::newRow("frame kept on screen") << QRect(0, 0, 1280, 1024) << QSize(2000, 2000) << screen
                                          << QMargins(4, 30, 4, 4) << QRect(4, 30, 1272, 990);
    QTest::newRow("second screen")
        << QRect(1400, 100, 800, 600) << QSize(900, 650) << QRect(1280, 0, 1920, 1080) << QMargins()
        << QRect(1350, 75, 900, 650);
}

void BrowserWindowTest::centredOver() {
    QFETCH(QRect, anchor);
    QFETCH(QSize, wanted);
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QFETCH(QRect, placed);
    QCOMPARE(CenteredOver(anchor, wanted, available, frame), placed);
}

void BrowserWindowTest::opensOverTheMainWindowOnItsScreen() {
    QWidget main;
    main.setGeometry(40, 30, 600, 400);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTemporaryDir dir;
    WritePage(dir.filePath("a.htm"), "A");
    TWebAnzeigeForm web;
    QVERIFY(Loads(web, dir.filePath("a.htm"), &main));
    const QRect available = main.screen()->availableGeometry();
    QVERIFY2(available.contains(web.frameGeometry()), qPrintable(QString("%1,%2 %3x%4")
                                                                     .arg(web.frameGeometry().x())
                                                                     .arg(web.frameGeometry().y())
                                                                     .arg(web.width())
                                                                     .arg(web.height())));
    QVERIFY(web.geometry().contains(main.geometry().center()));
}

void BrowserWindowTest::backAndForwardFollowTheHistory() {
    TWebAnzeigeForm web;
    QAction* back = web.BackAction();
    QAction* forward = web.ForwardAction();
    QCOMPARE(back->toolTip(), QString("Zurück"));
    QCOMPARE(forward->toolTip(), QString("Vor"));
    QCOMPARE(back->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
    QCOMPARE(forward->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Right));
    QVERIFY(!back->isEnabled() && !forward->isEnabled());

    QTemporaryDir dir;
    WritePage(dir.filePath("a.htm"), "A");
    WritePage(dir.filePath("b.htm"), "B");
    QVERIFY(Loads(web, dir.filePath("a.htm")));
    QVERIFY(!back->isEnabled() && !forward->isEnabled());
    QVERIFY(Loads(web, dir.filePath("b.htm")));
    QTRY_VERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());

    // The keys work from anywhere in the window.
    QApplication::setActiveWindow(&web);
    QVERIFY(QTest::qWaitForWindowActive(&web));
    auto* view = web.findChild<QWebEngineView*>();
    QTest::keyClick(&web, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(view->url().fileName(), QString("a.htm"));
    QTRY_VERIFY(forward->isEnabled());
    QVERIFY(!back->isEnabled());
    QTest::keyClick(&web, Qt::Key_Right, Qt::AltModifier);
    QTRY_COMPARE(view->url().fileName(), QString("b.htm"));
    QTRY_VERIFY(back->isEnabled() && !forward->isEnabled());
}

void BrowserWindowTest::contextMenuSpeaksGerman() {
    TWebAnzeigeForm web;
    QTemporaryDir dir;
    WritePage(dir.filePath("a.htm"), "A");
    QVERIFY(Loads(web, dir.filePath("a.htm")));
    QWebEnginePage* page = web.findChild<QWebEngineView*>()->page();
    const std::pair<QWebEnginePage::WebAction, const char*> entries[] = {
        {QWebEnginePage::Back, "Zurück"},
        {QWebEnginePage::Reload, "Neu laden"},
        {QWebEnginePage::Copy, "Kopieren"},
        {QWebEnginePage::SelectAll, "Alles auswählen"}};
    for (const auto& [action, text] : entries)
        QCOMPARE(page->action(action)->text(), QString::fromUtf8(text));
}

int main(int argc, char* argv[]) {
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    InstallGermanTranslations(app);
    BrowserWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BrowserWindowTest.moc"
