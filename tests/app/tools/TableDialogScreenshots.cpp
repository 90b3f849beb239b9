// SPDX-License-Identifier: MIT
// Captures the table selection dialog (both pages, with a CSV table shown), the CSV import
// dialog and the table preview as PNG files. Run under a real X server:
//   xvfb-run -a build/bin/pagloom-table-screenshots OUTPUT_DIR
// Two more uses by hand:
//   pagloom-table-screenshots --interactive FOLDER   the dialog for a person (or xdotool) to
//                                                    drive, starting in FOLDER; prints the choice
//   pagloom-table-screenshots --measure FILE.csv     times importing FILE.csv (";", caption row)
//                                                    and showing it in the preview
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "AppTestSupport.h"
#include "ToolSupport.h"
#include "tables/CsvImport.h"
#include "tables/OdbcAdmin.h"
#include "tables/TCSVImportForm.h"
#include "tables/TTableShowForm.h"
#include "tables/TfmDBExplore.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

namespace {

void Save(QWidget* w, const QString& file) {
    Settle(300);
    SavePng(w->grab(), file);
}

const char kSample[] =
    "Artikel;Gruppe;Preis;Beschreibung\n"
    "\xC4pfel;Obst;2,50;\"Rote \xC4pfel aus dem Alten Land\"\n"
    "Birnen;Obst;3,10;\"Saftig; s\xFC\xDF\"\n"
    "Karotten;Gem\xFC"
    "se;1,20;\"Bund mit Gr\xFCn\"\n"
    "Kartoffeln;Gem\xFC"
    "se;4,99;\"Festkochend, 2,5 kg\"\n"
    "Wei\xDF"
    "kohl;Gem\xFC"
    "se;1,80;\"Ein Kopf\"\n";

int Interactive(const QString& dir) {
    UiPrompts prompts;
    DiskFileSystem disk;
    TfmDBExplore dlg(disk, prompts, [&] { StartOdbcAdministration(prompts, &dlg); });
    dlg.SetDirectory(dir);
    const int result = dlg.exec();
    const TableChoice& c = dlg.Choice();
    std::printf("result=%s kind=%d database=%s table=%s sep=%d quote=%c caption=%d shown=%d\n",
                result == QDialog::Accepted ? "OK" : "Abbrechen", c.kind, c.database.c_str(),
                c.table.c_str(), c.separator, c.quote, c.hasCaptionRow ? 1 : 0,
                dlg.TableShown() ? 1 : 0);
    return 0;
}

int Measure(const QString& file) {
    DiskFileSystem disk;
    ScriptedPrompts prompts;
    AppHost host(prompts, {});
    MemoryTable table;
    QElapsedTimer clock;
    clock.start();
    if (!ImportCsvFile(disk, host, PathS(file), ';', '"', true, table)) {
        qWarning("import failed: %s", qPrintable(prompts.messages.join(u'\n')));
        return 1;
    }
    table.Open();
    const qint64 imported = clock.restart();
    TTableShowForm form;
    form.SetTable(&table);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) qWarning("the preview did not show");
    form.Grid()->scrollToBottom();
    QApplication::processEvents();
    form.grab();
    const qint64 shown = clock.elapsed();
    std::printf("rows=%zu import=%lld ms preview (attach, show, scroll to end, paint)=%lld ms\n",
                table.RowCount(), static_cast<long long>(imported), static_cast<long long>(shown));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args.at(1) == QStringLiteral("--interactive"))
        return Interactive(args.at(2));
    if (args.size() == 3 && args.at(1) == QStringLiteral("--measure")) return Measure(args.at(2));
    if (args.size() < 2) {
        qWarning("usage: pagloom-table-screenshots OUTPUT_DIR");
        return 64;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);
    QTemporaryDir data;
    WriteFile(QDir(data.path()).filePath(QStringLiteral("Obst und Gemüse.csv")), kSample);
    WriteFile(QDir(data.path()).filePath(QStringLiteral("Kunden.dbf")), "x");
    WriteFile(QDir(data.path()).filePath(QStringLiteral("Notizen.txt")), "x");

    ScriptedPrompts prompts;
    DiskFileSystem disk;
    TfmDBExplore dlg(disk, prompts, [] {});
    dlg.show();
    dlg.SetDirectory(data.path());
    dlg.findChild<QComboBox*>(QStringLiteral("dbTabType"))->setCurrentIndex(3);
    Settle(500);
    auto* list = dlg.findChild<QListView*>(QStringLiteral("FileListBox1"));
    auto* model = static_cast<QFileSystemModel*>(list->model());
    list->setCurrentIndex(
        model->index(QDir(data.path()).filePath(QStringLiteral("Obst und Gemüse.csv"))));

    prompts.onExec = [&](QDialog* d) {
        auto* form = qobject_cast<TCSVImportForm*>(d);
        if (!form) return int(QDialog::Rejected);
        form->findChild<QComboBox*>(QStringLiteral("CBTextTrenner"))->setCurrentIndex(1);
        form->findChild<QCheckBox*>(QStringLiteral("cbCaption"))->setChecked(true);
        form->show();
        Save(form, QDir(out).filePath(QStringLiteral("table-csv-dialog.png")));
        form->done(QDialog::Accepted);
        return form->result();
    };
    dlg.findChild<QPushButton*>(QStringLiteral("btFileSelect"))->click();
    if (!prompts.messages.isEmpty()) qWarning("%s", qPrintable(prompts.messages.join(u'\n')));
    Save(&dlg, QDir(out).filePath(QStringLiteral("table-select-file.png")));
    auto* pages = dlg.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(1);
    if (auto* aliases = dlg.findChild<QListWidget*>(QStringLiteral("lbBDEAlias"));
        aliases->count() > 0)
        aliases->setCurrentRow(0);
    Save(&dlg, QDir(out).filePath(QStringLiteral("table-select-bde.png")));

    // A large file's note in the CSV dialog.
    std::string big;
    for (int i = 0; i < 5000; ++i) big += "Zeile " + std::to_string(i) + ";Wert\n";
    const QString bigFile = QDir(data.path()).filePath(QStringLiteral("gross.csv"));
    WriteFile(bigFile, QByteArray::fromStdString(big));
    TCSVImportForm bigForm;
    bigForm.SetFile(bigFile);
    bigForm.show();
    Save(&bigForm, QDir(out).filePath(QStringLiteral("table-csv-dialog-large.png")));

    MemoryTable table;
    AppHost host(prompts, {});
    ImportCsvFile(disk, host,
                  PathS(QDir(data.path()).filePath(QStringLiteral("Obst und Gemüse.csv"))), ';',
                  '"', true, table);
    table.Open();
    TTableShowForm preview;
    preview.SetTable(&table);
    preview.show();
    Save(&preview, QDir(out).filePath(QStringLiteral("table-preview.png")));
    return 0;
}
