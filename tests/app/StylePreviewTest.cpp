// SPDX-License-Identifier: MIT
// The menu preview beside the style pages: its sample page and how it follows the records.
#include <unistd.h>

#include <QDockWidget>
#include <QLineEdit>
#include <QPlatformSurfaceEvent>
#include <QSignalSpy>
#include <QTabWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWindow>

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
    void subEntriesStandUnderTheirOwnParent();
    void tableProjectShowsTheTablesMenuInTheFramesWidth();
    void followsTheRecords();
    void typedHexShowsOnLeavingTheEdit();
    void firstStyleTabKeepsTheWindow();
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

// Sub entries under several main entries, the first and the last included: each sub list
// follows its own parent, and the first parent with sub entries is the current one.
void StylePreviewTest::subEntriesStandUnderTheirOwnParent() {
    struct Case {
        const char* name;
        std::vector<std::vector<const char*>> menu;  // per main entry: its text, then its subs
        QStringList order;                           // texts in page order
        QString current, currentSub;
    };
    const Case cases[] = {
        {"first and last",
         {{"A", "a1", "a2"}, {"B"}, {"C", "c1"}},
         {"A", "a1", "a2", "B", "C", "c1"},
         "A",
         "a1"},
        {"last only", {{"A"}, {"B"}, {"C", "c1", "c2"}}, {"A", "B", "C", "c1", "c2"}, "C", "c1"},
        {"every entry",
         {{"A", "a1"}, {"B", "b1"}, {"C", "c1"}},
         {"A", "a1", "B", "b1", "C", "c1"},
         "A",
         "a1"},
        {"middle only", {{"A"}, {"B", "b1"}, {"C"}}, {"A", "B", "b1", "C"}, "B", "b1"},
    };
    for (const Case& c : cases) {
        Project project;
        for (const auto& entry : c.menu) {
            TWebMenuItem& main =
                project.MainMenu.Add(TWebMenu::NewMainItem(entry[0], "m.htm", true));
            for (size_t i = 1; i < entry.size(); ++i)
                main.SubMenu->Add(TWebMenu::NewSubItem(entry[i], "s.htm", true));
        }
        const QString page = PreviewPage(project);
        qsizetype at = 0;
        for (const QString& text : c.order) {
            const qsizetype found = page.indexOf(QStringLiteral(">%1</a>").arg(text), at);
            QVERIFY2(found > at, qPrintable(QStringLiteral("%1: %2").arg(c.name, text)));
            at = found;
        }
        QVERIFY2(page.contains(QStringLiteral("id=\"men_selected\">%1<").arg(c.current)), c.name);
        QVERIFY2(page.contains(QStringLiteral("id=\"umen_selected\">%1<").arg(c.currentSub)),
                 c.name);
        // Each sub list opens right after its parent's entry.
        for (const auto& entry : c.menu)
            if (entry.size() > 1)
                QVERIFY2(page.contains(QStringLiteral("%1</a></li>\n</ul>\n<ul "
                                                      "class=\"pagloom_umen\">\n")
                                           .arg(QLatin1String(entry[0]))),
                         c.name);
    }
}

// A table-driven project shows the menu its tables give, not the menu stored from before, in
// a box as wide as the menu frame: a text too long for it is cut off there.
void StylePreviewTest::tableProjectShowsTheTablesMenuInTheFramesWidth() {
    Project project;
    project.MainMenu.Add(TWebMenu::NewMainItem("Von Hand", "hand.htm", true));
    project.Settings.content_page.source.Select(kTabTemplatePages);
    project.Settings.frameset.menuframe_size = 120;
    project.Settings.frameset.menuframe_marginwidth = 5;
    auto tableMenu = [] {
        TWebMenu menu;
        menu.Add(TWebMenu::NewMainItem("Aus der Tabelle", "t.htm", true));
        menu.Add(TWebMenu::NewMainItem(std::string(40, 'W'), "w.htm", true))
            .SubMenu->Add(TWebMenu::NewSubItem("Unter", "u.htm", true));
        return menu;
    };
    StylePreview preview([&]() -> const Project& { return project; }, tableMenu);
    preview.resize(400, 300);
    preview.show();
    QSignalSpy loaded(preview.View(), &QWebEngineView::loadFinished);
    preview.Reload();
    QVERIFY(loaded.wait(15000));
    const QString texts =
        Eval(preview.View(),
             "Array.from(document.querySelectorAll('a')).map(a => a.textContent).join('|')");
    QCOMPARE(texts,
             QStringLiteral("Aus der Tabelle|") + QString(40, u'W') + QStringLiteral("|Unter"));
    QCOMPARE(Eval(preview.View(),
                  "String(document.getElementById('pagloom_frame').getBoundingClientRect().width)"),
             QStringLiteral("120"));
    // The long entry's text reaches past the frame's right edge, where it is cut off.
    QCOMPARE(Eval(preview.View(),
                  "const f = document.getElementById('pagloom_frame');"
                  "const r = document.createRange();"
                  "r.selectNodeContents(document.querySelectorAll('a')[1]);"
                  "String(r.getBoundingClientRect().right > f.getBoundingClientRect().right && "
                  "getComputedStyle(f).overflow == 'hidden')"),
             QStringLiteral("true"));

    // Pages made another way: the project's own menu.
    project.Settings.content_page.source.Select(kEmptyPages);
    preview.Reload();
    QVERIFY(loaded.wait(15000));
    QCOMPARE(Eval(preview.View(), "document.querySelector('a').textContent"),
             QStringLiteral("Von Hand"));
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

// Hex, then Tab: the focus stays in the colour choice (on its list), the record waits for the
// choice to be left, and the preview shows the colour at once.
void StylePreviewTest::typedHexShowsOnLeavingTheEdit() {
    AppFixture app;
    app.ShowActive();
    StylePreview* preview = app.main->Styles()->Preview();
    QSignalSpy loaded(preview->View(), &QWebEngineView::loadFinished);
    app.main->PageControl()->setCurrentWidget(app.Find("tsFont"));
    QVERIFY(loaded.wait(15000));
    auto* choice =
        app.Find<QWidget>("frameFontM")->findChild<TFrameColorChoice*>("frameFontColorChoice");
    const TCSS& record = app.session.project.PrjParams.Style(kMainMenuLevel);
    const std::string before = record.color;
    for (const auto& [typed, shown] :
         {std::pair{"00ff00", "rgb(0, 255, 0)"}, std::pair{"0000FF", "rgb(0, 0, 255)"}}) {
        choice->HexEdit()->setFocus();
        QTest::keyClicks(choice->HexEdit(), QStringLiteral("\b\b\b\b\b\b") + typed);
        QTest::keyClick(choice->HexEdit(), Qt::Key_Tab);
        QVERIFY(choice->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(record.color, before);
        QTRY_COMPARE_WITH_TIMEOUT(Eval(preview->View(), kMainLink + ".color"), QString(shown),
                                  10000);
    }
    // Leaving the choice stores the colour the preview already shows.
    app.Find<QWidget>("frameFontM")->findChild<QWidget*>("cbFontSize")->setFocus();
    QCOMPARE(record.color, std::string("0000FF"));
    QCOMPARE(Eval(preview->View(), kMainLink + ".color"), QString("rgb(0, 0, 255)"));
}

// The browser view's needs are met before the main window is first shown: the first style tab
// neither destroys nor re-creates the window.
void StylePreviewTest::firstStyleTabKeepsTheWindow() {
    struct SurfaceWatch : QObject {
        int destroyed = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::PlatformSurface &&
                static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType() ==
                    QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
                ++destroyed;
            return false;
        }
    } watch;
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QSKIP("only a window system re-creates a window for the browser view's surface");
    AppFixture app;
    app.ShowActive();
    app.main->installEventFilter(&watch);
    QWindow* window = app.main->windowHandle();
    QSignalSpy loaded(app.main->Styles()->Preview()->View(), &QWebEngineView::loadFinished);
    app.main->PageControl()->setCurrentWidget(app.Find("tsFont"));
    QVERIFY(loaded.wait(15000));
    QTest::qWait(200);
    QCOMPARE(watch.destroyed, 0);
    QCOMPARE(app.main->windowHandle(), window);
}

int main(int argc, char* argv[]) {
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    StylePreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StylePreviewTest.moc"
