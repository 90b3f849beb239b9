// SPDX-License-Identifier: MIT
// Keyboard use of the dialogs: access keys unique per window, Tab that leaves grids, the group
// window's Tab order, and the keys that close the browser window.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "AppTestSupport.h"
#include "KeyboardUse.h"
#include "TfmProjectGroup.h"
#include "tables/TCSVImportForm.h"
#include "tables/TableTab.h"
#include "tables/TfmDBExplore.h"
#include "tables/TfmTabCodeWizard.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class KeyboardTest : public QObject {
    Q_OBJECT
  private slots:
    void accessKeysOnEveryControlAndUniquePerWindow();
    void groupWindowTabOrderFollowsItsLayout();
    void escapeAndCtrlWCloseTheBrowserWindow();
};

namespace {

struct Window {
    const char* name;
    QWidget* widget;
    QStringList captions;  // the window's own captions, which must still read as they do
};

// The five windows, the group window created as its menu command does.
std::vector<Window> Windows(AppFixture& app) {
    app.prompts.onExec = [](QDialog*) { return int(QDialog::Rejected); };
    app.main->ProjectGroupClick();
    TableTab* tables = app.main->Tables();
    return {
        {"Code-Wizard",
         tables->Wizard(),
         {"Vorhandene Felder:", "Ausgewählte Felder:", "Auswahl:", "Anführungszeichen:",
          "Felder trennen durch:", "Datensätze trennen durch:", "Tabellenkopf",
          "Datenfelder nebeneinander", "Datensätze als Tabelle", "In Zwischenablage kopieren",
          "Vorlage erstellen", "Schließen"}},
        {"CSV-Import",
         tables->DbExplore()->CsvForm(),
         {"Texttrenner:", "Zeichen für Feldanfang und -Ende:", "Erste Zeile als Feldname",
          "Leerzeichen gehören zum Wert"}},
        {"Erstellen", app.make.get(), {"Start", "Schließen", "Zielverzeichnis:"}},
        {"Tabellenauswahl",
         tables->DbExplore(),
         {"Typ:", "Auswählen", "Aktualisieren", "Leeren", "BDE-Administration", "Tabellen-Datei",
          "BDE"}},
        {"Projektgruppe",
         app.main->ProjectGroupWindow(),
         {"Nur geänderte Projekte berücksichtigen", "Sitemap-Indexdatei erstellen", "Schließen"}},
    };
}

bool HasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

QString Visible(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(u'&')
        .replace(u'\x01', u'&');
}

}  // namespace

void KeyboardTest::accessKeysOnEveryControlAndUniquePerWindow() {
    AppFixture app;
    for (const Window& w : Windows(app)) {
        QVERIFY2(w.widget, w.name);
        QMultiHash<QChar, QString> keys;
        QStringList without, noBuddy, visible;
        // A dialog the window owns (the CSV dialog of the table selection) is a window of its own.
        const auto own = [&](QWidget* c) { return c->window() == w.widget; };
        const auto note = [&](const QString& text, bool needsKey) {
            visible << Visible(text);
            if (const QChar k = AccessKey(text); !k.isNull())
                keys.insert(k, text);
            else if (needsKey && HasLetter(text))
                without << text;
        };
        for (QAbstractButton* b : w.widget->findChildren<QAbstractButton*>()) {
            if (!own(b)) continue;
            auto* tool = qobject_cast<QToolButton*>(b);
            if (tool && (tool->defaultAction() || qobject_cast<QToolBar*>(tool->parent())))
                continue;  // the tool bar's commands are in the menu
            note(b->text(), true);
        }
        for (QLabel* l : w.widget->findChildren<QLabel*>()) {
            if (!own(l)) continue;
            note(l->text(), l->buddy() != nullptr);
            if (!AccessKey(l->text()).isNull() && !l->buddy()) noBuddy << l->text();
        }
        for (QGroupBox* g : w.widget->findChildren<QGroupBox*>())
            if (own(g)) note(g->title(), true);
        for (QTabWidget* t : w.widget->findChildren<QTabWidget*>())
            for (int i = 0; i < t->count(); ++i) note(t->tabText(i), true);
        for (QMenuBar* bar : w.widget->findChildren<QMenuBar*>())
            for (QAction* a : bar->actions()) note(a->text(), true);

        QVERIFY2(without.isEmpty(),
                 qPrintable(QString::fromUtf8(w.name) + ": " + without.join(", ")));
        QVERIFY2(noBuddy.isEmpty(),
                 qPrintable(QString::fromUtf8(w.name) + ": " + noBuddy.join(", ")));
        for (const QChar k : keys.uniqueKeys())
            QVERIFY2(keys.count(k) == 1, qPrintable(QString::fromUtf8(w.name) + ": " +
                                                    QStringList(keys.values(k)).join(", ")));
        for (const QString& caption : w.captions)
            QVERIFY2(visible.contains(caption),
                     qPrintable(QString::fromUtf8(w.name) + ": " + caption));
        // Tab leaves every grid and list instead of walking its cells.
        for (QAbstractItemView* view : w.widget->findChildren<QAbstractItemView*>())
            QVERIFY2(!own(view) || !view->tabKeyNavigation(),
                     qPrintable(QString::fromUtf8(w.name) + ": " + view->objectName()));
    }
}

void KeyboardTest::groupWindowTabOrderFollowsItsLayout() {
    AppFixture app;
    Windows(app);
    TfmProjectGroup* g = app.main->ProjectGroupWindow();
    const QStringList layout = {"lbProjects",     "btHinzufuegen", "btLoeschen",
                                "btProjektLaden", "ButtonMenueUp", "ButtonMenueDown",
                                "cbMakeModified", "cbIndexMap",    "edIndexMap",
                                "sbIndexMap",     "btSchliessen"};
    QWidget* start = g->findChild<QWidget*>(QStringLiteral("lbProjects"));
    QStringList order;
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain())
        if (layout.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
    order.prepend(start->objectName());
    QCOMPARE(order, layout);
}

void KeyboardTest::escapeAndCtrlWCloseTheBrowserWindow() {
    AppFixture app;
    TWebAnzeigeForm* web = app.web.get();
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        web->show();
        QApplication::setActiveWindow(web);
        QVERIFY(QTest::qWaitForWindowActive(web));
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : web;
        QTest::keySequence(target, keys);
        QTRY_VERIFY2(!web->isVisible(), qPrintable(keys.toString()));
    }
}

int main(int argc, char* argv[]) {
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    KeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "KeyboardTest.moc"
