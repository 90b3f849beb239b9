// SPDX-License-Identifier: MIT
// The menu preview beside the style pages: its sample page and how it follows the records.
#include <unistd.h>

#include <QDockWidget>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "AppTestSupport.h"
#include "style/StylePages.h"
#include "style/StylePreview.h"
#include "style/TFrameColorChoice.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class StylePreviewTest : public QObject {
    Q_OBJECT
  private slots:
    void samplePage();
    void followsTheRecords();
};

namespace {

// The result of a script in the page, waited for.
QString Eval(QWebEngineView* view, const QString& js) {
    QString result;
    bool done = false;
    view->page()->runJavaScript(js, [&](const QVariant& v) {
        result = v.toString();
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000)) qWarning("no answer from the page");
    return result;
}

// A main entry that is not the current one.
const QString kMainLink =
    "getComputedStyle(document.querySelector('.pagloom_men li a:not(#men_selected)'))";
const QString kSubItem = "getComputedStyle(document.querySelector('.pagloom_umen li'))";

}  // namespace

void StylePreviewTest::samplePage() {
    Project project;
    QString page = PreviewPage(project);
    QVERIFY(page.contains("<a href=\"#\" id=\"men_selected\">Startseite</a>"));
    QVERIFY(page.contains("<a href=\"#\" id=\"umen_selected\">Übersicht</a>"));
    QVERIFY(page.contains(PreviewStylesheet(project.PrjParams.Style(kMainMenuLevel),
                                            project.PrjParams.Style(kSubMenuLevel))));

    // The project's own first entries, escaped; inactive ones are left out.
    project.MainMenu.Add(TWebMenu::NewMainItem("Inaktiv", "a.html", false));
    TWebMenuItem& first =
        project.MainMenu.Add(TWebMenu::NewMainItem("K\xFC"
                                                   "che & Bad",
                                                   "b.html", true));
    first.SubMenu->Add(TWebMenu::NewSubItem("Fliesen", "c.html", true));
    for (const char* t : {"Zwei", "Drei", "Vier"})
        project.MainMenu.Add(TWebMenu::NewMainItem(t, "d.html", true));
    page = PreviewPage(project);
    QVERIFY(page.contains("id=\"men_selected\">Küche &amp; Bad</a>"));
    QVERIFY(page.contains("id=\"umen_selected\">Fliesen</a>"));
    QVERIFY(page.contains(">Drei<"));
    QVERIFY(!page.contains("Inaktiv"));
    QVERIFY(!page.contains("Vier"));
}

void StylePreviewTest::followsTheRecords() {
    AppFixture app;
    app.ShowActive();
    StylePreview* preview = app.main->Styles()->Preview();
    QVERIFY(preview);
    auto* dock = app.Find<QDockWidget>("dockStylePreview");
    QVERIFY(!dock->isVisible());

    auto* frame = app.Find<QWidget>("frameFontM");
    QSignalSpy loaded(preview->View(), &QWebEngineView::loadFinished);
    app.main->PageControl()->setCurrentWidget(app.Find("tsFont"));
    QVERIFY(dock->isVisible());
    QVERIFY(loaded.wait(15000));
    QCOMPARE(Eval(preview->View(), kMainLink + ".color"), QString("rgb(0, 0, 0)"));

    auto* choice = frame->findChild<TFrameColorChoice*>("frameFontColorChoice");
    choice->HexEdit()->setFocus();
    QTest::keyClicks(choice->HexEdit(), "\b\b\b\b\b\bf00");
    frame->findChild<QWidget*>("cbFontSize")->setFocus();
    QCOMPARE(app.session.project.PrjParams.Style(kMainMenuLevel).color, std::string("FF0000"));
    QTRY_COMPARE_WITH_TIMEOUT(Eval(preview->View(), kMainLink + ".color"),
                              QString("rgb(255, 0, 0)"), 10000);

    // The sub-menu's background, set on its own tab, reaches the sub list only.
    app.session.project.PrjParams.Style(kSubMenuLevel).background_color = "00FF00";
    emit app.main->Styles()->RecordChanged();
    QTRY_COMPARE_WITH_TIMEOUT(Eval(preview->View(), kSubItem + ".backgroundColor"),
                              QString("rgb(0, 255, 0)"), 10000);
    QCOMPARE(Eval(preview->View(), kMainLink + ".backgroundColor"), QString("rgba(0, 0, 0, 0)"));
    // Only the style changed: the page was not loaded again.
    QCOMPARE(loaded.size(), 1);

    // Leaving the style pages hides the preview.
    app.main->PageControl()->setCurrentWidget(app.Find("Dateien"));
    QVERIFY(!dock->isVisible());
}

int main(int argc, char* argv[]) {
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    StylePreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StylePreviewTest.moc"
