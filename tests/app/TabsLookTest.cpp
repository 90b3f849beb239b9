// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>

#include "AppTestSupport.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class TabsLookTest : public QObject {
    Q_OBJECT
  private slots:
    void accessKeysUniquePerPage();
    void editDirLooksReadOnly();
};

namespace {

// The access key of a caption ("&Datei" gives 'D'), or none.
QChar AccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

// Every captioned control on `page` with its access key; a label with a key but no buddy to
// lead to goes to `noBuddy`.
QMultiHash<QChar, QString> Keys(QWidget* page, QStringList& noBuddy) {
    QMultiHash<QChar, QString> keys;
    for (QLabel* l : page->findChildren<QLabel*>()) {
        const QChar k = AccessKey(l->text());
        if (k.isNull()) continue;
        keys.insert(k, l->text());
        if (!l->buddy()) noBuddy << l->text();
    }
    for (QAbstractButton* b : page->findChildren<QAbstractButton*>())
        if (const QChar k = AccessKey(b->text()); !k.isNull()) keys.insert(k, b->text());
    for (QGroupBox* g : page->findChildren<QGroupBox*>())
        if (const QChar k = AccessKey(g->title()); !k.isNull()) keys.insert(k, g->title());
    return keys;
}

}  // namespace

void TabsLookTest::accessKeysUniquePerPage() {
    AppFixture app;
    QSet<QChar> menuKeys;
    for (QAction* a : app.main->menuBar()->actions()) menuKeys << AccessKey(a->text());
    QCOMPARE(menuKeys.size(), 5);

    struct Pages {
        QTabWidget* tabs;
        bool besideMenus;
    };
    for (const Pages& p :
         {Pages{app.main->PageControl(), true}, Pages{app.options->Pages(), false}}) {
        for (int i = 0; i < p.tabs->count(); ++i) {
            // A page of level tabs shows one level at a time; each level has its own keys.
            QList<QWidget*> parts{p.tabs->widget(i)};
            if (auto* levels = qobject_cast<QTabWidget*>(parts.first())) {
                parts.clear();
                for (int j = 0; j < levels->count(); ++j) parts << levels->widget(j);
            }
            for (QWidget* part : parts) {
                const QString page = p.tabs->tabText(i);
                QStringList noBuddy;
                const QMultiHash<QChar, QString> keys = Keys(part, noBuddy);
                QVERIFY2(!keys.isEmpty(), qPrintable(page));
                QVERIFY2(noBuddy.isEmpty(), qPrintable(page + ": " + noBuddy.join(", ")));
                for (const QChar k : keys.uniqueKeys()) {
                    QVERIFY2(keys.count(k) == 1,
                             qPrintable(page + ": " + QStringList(keys.values(k)).join(", ")));
                    // On the main window the menus' keys stay with the menus.
                    QVERIFY2(!p.besideMenus || !menuKeys.contains(k),
                             qPrintable(page + ": " + keys.value(k)));
                }
            }
        }
    }
}

void TabsLookTest::editDirLooksReadOnly() {
    AppFixture app;
    auto* dir = app.Find<QLineEdit>("EditDir");
    auto* other = app.Find<QLineEdit>("EditDatFSet");
    QVERIFY(dir->isReadOnly());
    QVERIFY(dir->isEnabled());  // its text can still be selected and copied
    // Not the white of an input field: the window's own colour, unlike an editable field.
    const QPalette p = dir->palette();
    QCOMPARE(p.color(QPalette::Active, QPalette::Base),
             p.color(QPalette::Active, QPalette::Window));
    QVERIFY(other->palette().color(QPalette::Base) != p.color(QPalette::Base));
}

QTEST_MAIN(TabsLookTest)
#include "TabsLookTest.moc"
