// SPDX-License-Identifier: MIT
// Captures the main window's tab "Tabelle" with each of its three pages, at the window's opening
// size, as PNG files; then the "Haupt-Menü" page once more with empty pages and page names from
// text (its fixed text greyed but editable). Run under a real X server:
//   xvfb-run -a build/bin/pagloom-tabletab-screenshots OUTPUT_DIR [PROJECT.plp]
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>

#include "AppTestSupport.h"
#include "ToolSupport.h"
#include "tables/TableTab.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

namespace {

void Save(QWidget* w, const QString& file) {
    Settle(400);
    SavePng(w->grab(), file);
}

}  // namespace

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: pagloom-tabletab-screenshots OUTPUT_DIR [PROJECT.plp]");
        return 64;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);

    AppFixture app(QCoreApplication::applicationDirPath());
    if (args.size() > 2) app.main->OpenProject(QFileInfo(args.at(2)).absoluteFilePath());
    // Without a project the tab is shown anyway, for a look at its controls.
    app.session.Settings().content_page.source.Select(kTabTemplatePages);
    app.main->ApplyTabRules();
    app.main->show();
    Settle(300);
    TableTab* tab = app.main->Tables();
    app.main->PageControl()->setCurrentWidget(tab);
    const char* names[] = {"erste-seite", "haupt-menue", "unter-menue"};
    for (int i = 0; i < tab->count(); ++i) {
        tab->setCurrentIndex(i);
        Save(app.main.get(), QDir(out).filePath(QStringLiteral("tabelle-%1.png").arg(names[i])));
    }

    tab->setCurrentIndex(1);
    app.session.project.Tables.mainmenu.filename.Select(kNameFromText);
    app.main->RefreshFromModel();
    auto* source = tab->findChild<QComboBox*>(QStringLiteral("CBTabMQuelle"));
    source->setCurrentIndex(kSlotEmptyPages);
    emit source->activated(kSlotEmptyPages);
    Save(app.main.get(), QDir(out).filePath(QStringLiteral("tabelle-haupt-menue-leer.png")));
    return 0;
}
