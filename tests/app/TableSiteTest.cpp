// SPDX-License-Identifier: MIT
// A whole table-driven site made through the desktop program as a user makes it: a new project,
// table pages switched on in the options, a table chosen for each slot in the real table
// selection dialog, templates chosen, the project saved, opened again and built. The site must
// equal what pagloom-cli builds from the saved file, for a CSV file, a dBase table and a table
// of an ODBC data source.
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QToolButton>
#include <map>

#include "AppTestSupport.h"
#include "LogView.h"
#include "tables/TableTab.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

namespace {

constexpr int kDbaseType = 0;
constexpr int kAsciiType = 3;

std::map<QString, QByteArray> Snapshot(const QString& root) {
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) files[QDir(root).relativeFilePath(path)] = f.readAll();
    }
    return files;
}

// A table source as the user picks it: how to choose it in the table selection dialog, and the
// fields for the main menu, the sub-menu and the page texts.
struct SiteSource {
    std::function<int(QDialog*)> choose;
    QString mainField, subField, detailField;
};

// Templates that use the source's fields.
void WriteTemplates(const QString& dir, const SiteSource& src) {
    const QByteArray m = src.mainField.toLatin1(), s = src.subField.toLatin1(),
                     d = src.detailField.toLatin1();
    auto field = [](const QByteArray& name) {
        return "<FIELD name=\"" + name + "\">" + name + "</FIELD>";
    };
    WriteFile(dir + "/erste.htm",
              "<html><head><title>Katalog</title></head><body><table>\n"
              "<RECORD><tr><td>" +
                  field(m) + "</td><td>" + field(d) +
                  "</td></tr>\n</RECORD></table></body></html>\n");
    WriteFile(dir + "/haupt.htm", "<html><head><title>" + field(m) + "</title></head><body>\n<h1>" +
                                      field(m) + "</h1>\n<RECORD><p>" + field(s) + ": " + field(d) +
                                      "</p>\n</RECORD></body></html>\n");
    WriteFile(dir + "/unter.htm", "<html><head><title>" + field(s) + "</title></head><body>\n<h1>" +
                                      field(m) + " / " + field(s) + "</h1>\n<RECORD><p>" +
                                      field(d) + "</p>\n</RECORD></body></html>\n");
}

void Pick(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(combo->objectName() + ": " + text));
    combo->setCurrentIndex(i);
    emit combo->activated(i);
}

}  // namespace

class TableSiteTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void csvSite();
    void dbaseSite();
    void odbcSite();

  private:
    void BuildSite(const SiteSource& src);

    QTemporaryDir odbcDir_;
    QString odbcSkip_;
};

void TableSiteTest::initTestCase() {
    // The data source must be known before the first window lists the data sources.
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    if (!QFileInfo::exists(driver)) {
        odbcSkip_ = QStringLiteral("SQLite-ODBC-Treiber nicht installiert (libsqliteodbc)");
        return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty()) {
        odbcSkip_ = QStringLiteral("sqlite3 nicht installiert; die Testdatenbank fehlt");
        return;
    }
    const QString db = odbcDir_.filePath("katalog.sqlite");
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {db});
    sqlite.write(
        "CREATE TABLE katalog (Bereich TEXT, Gruppe TEXT, Pflanze TEXT, Preis TEXT);\n"
        "INSERT INTO katalog VALUES ('Stauden', 'Sonnenstauden', 'Lavendel', '3,90');\n"
        "INSERT INTO katalog VALUES ('Stauden', 'Schattenstauden', 'Funkie', '4,90');\n"
        "INSERT INTO katalog VALUES ('Stauden', 'Sonnenstauden', 'Sonnenhut', '4,20');\n"
        "INSERT INTO katalog VALUES ('Gehölze', 'Obstbäume', 'Apfelbaum', '29,00');\n");
    sqlite.closeWriteChannel();
    QVERIFY(sqlite.waitForFinished(30000));
    QCOMPARE(sqlite.exitCode(), 0);
    WriteFile(odbcDir_.filePath("odbcinst.ini"),
              "[PagloomSQLite]\nDriver=" + driver.toUtf8() + "\n");
    WriteFile(odbcDir_.filePath("odbc.ini"),
              "[PagloomKatalog]\nDriver=PagloomSQLite\nDatabase=" + db.toUtf8() + "\n");
    qputenv("ODBCSYSINI", odbcDir_.path().toUtf8());
    qputenv("ODBCINI", odbcDir_.filePath("odbc.ini").toUtf8());
}

void TableSiteTest::BuildSite(const SiteSource& src) {
    QTemporaryDir work;
    const QString site = work.filePath("site"), cliSite = work.filePath("cli-site");
    QVERIFY(QDir().mkpath(site) && QDir().mkpath(cliSite));
    WriteTemplates(work.path(), src);
    const QString plp = work.filePath("katalog.plp");

    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    // Options: content pages from tables.
    app.prompts.onExec = [](QDialog* d) {
        d->findChild<QRadioButton*>("MakeTabFile")->click();
        return int(QDialog::Accepted);
    };
    app.main->OptionenItemClick();
    QVERIFY(app.main->PageControl()->isTabVisible(
        app.main->PageControl()->indexOf(app.Find("tsTabelle"))));
    app.prompts.files = {site};
    app.Find<QToolButton>("SpeedButtonZiel")->click();

    // Each slot: a template and the table, chosen in the real dialog.
    struct Slot {
        const char* source;
        const char* templateButton;
        const char* tableButton;
        const char* templateFile;
    };
    const Slot slotPages[] = {
        {"cbTabFirstQuelle", "SBTabFirstVorlage", "SBTabFirstName", "erste.htm"},
        {"CBTabMQuelle", "SBTabMVorlage", "SBTabMName", "haupt.htm"},
        {"CBTabUMQuelle", "SBTabUMVorlage", "SBTabUMName", "unter.htm"},
    };
    app.prompts.onExec = src.choose;
    for (const Slot& s : slotPages) {
        Pick(app.Find<QComboBox>(s.source), QStringLiteral("Standard-Vorlage"));
        app.prompts.files = {work.filePath(QString::fromLatin1(s.templateFile))};
        app.Find<QToolButton>(s.templateButton)->click();
        app.Find<QToolButton>(s.tableButton)->click();
    }
    QCOMPARE(app.prompts.messages, QStringList{});
    Pick(app.Find<QComboBox>("CBTabMColM"), src.mainField);
    Pick(app.Find<QComboBox>("CBTabUMColM"), src.mainField);
    Pick(app.Find<QComboBox>("CBTabUMColUM"), src.subField);
    app.Find<QRadioButton>("RBTabMFileFromTab")->click();
    QVERIFY(app.session.Modified);

    app.prompts.files = {plp};
    QCOMPARE(app.main->FileSaveAs(), TMainForm::SaveOutcome::Saved);
    const std::string tableName =
        app.session.project.Tables.Slot[ContentSlot::submenu].name_display;
    QVERIFY(!tableName.empty());

    // Opened again from the file, as a user would after a restart.
    app.main->FileNew();
    QVERIFY(app.session.project.Tables.Slot[ContentSlot::submenu].name_display.empty());
    app.prompts.files = {plp};
    app.main->FileOpen();
    QCOMPARE(app.prompts.messages, QStringList{});
    QCOMPARE(app.Find<QLineEdit>("EditTabUMName")->text(), Q(tableName));
    QCOMPARE(app.Find<QComboBox>("CBTabUMColUM")->currentText(), src.subField);
    QCOMPARE(app.Find<QComboBox>("CBTabMColM")->currentText(), src.mainField);

    QString log;
    app.prompts.onExec = [&](QDialog* d) {
        d->findChild<QPushButton*>("MakeStart")->click();
        log = d->findChild<LogView*>("MakeReport")->toPlainText();
        return int(QDialog::Rejected);
    };
    app.main->Erstellen1Click();
    QCOMPARE(app.prompts.messages, QStringList{});
    QVERIFY2(log.contains(QStringLiteral("Erstellen der Dateien fertig!")), qPrintable(log));
    QVERIFY2(!log.contains(QStringLiteral("Fehler")), qPrintable(log));
    // One main-menu page per value of the main field, named after it, each with the pages of
    // its sub-menu.
    const Project& p = app.session.project;
    QVERIFY(p.MainMenu.Count() > 1);
    QStringList pages;
    for (int i = 0; i < p.MainMenu.Count(); ++i) {
        const TWebMenuItem& main = p.MainMenu.Item(i);
        pages << Q(main.FileName);
        QVERIFY(main.SubMenu && main.SubMenu->Count() > 0);
        for (int j = 0; j < main.SubMenu->Count(); ++j) pages << Q(main.SubMenu->Item(j).FileName);
    }
    QCOMPARE(pages.first(), Q(p.MainMenu.Item(0).Text) + ".htm");
    QVERIFY(pages.contains("inhalt_1_1.htm"));
    for (const QString& page : pages)
        QVERIFY2(QFileInfo::exists(QDir(site).filePath(page)), qPrintable(page));

    QProcess cli;
    cli.start(QStringLiteral(PAGLOOM_CLI),
              {QStringLiteral("build"), plp, QStringLiteral("--dest"), cliSite});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    const auto byWindow = Snapshot(site), byCli = Snapshot(cliSite);
    QCOMPARE(byWindow.size(), byCli.size());
    for (const auto& [name, bytes] : byWindow) {
        QVERIFY2(byCli.count(name), qPrintable(name));
        QVERIFY2(byCli.at(name) == bytes, qPrintable(name));
    }
}

void TableSiteTest::csvSite() {
    const QString demo = QDir::cleanPath(QStringLiteral(PAGLOOM_RESOURCES "/../examples/csv-demo"));
    BuildSite({[demo](QDialog* d) {
                   if (qobject_cast<TCSVImportForm*>(d))
                       return AnswerCsvImport(d, /*;*/ 1, /*"*/ 0, true);
                   return ChooseTableFile(d, kAsciiType, demo, "katalog.csv")
                              ? int(QDialog::Accepted)
                              : int(QDialog::Rejected);
               },
               "Bereich", "Gruppe", "Pflanze"});
}

void TableSiteTest::dbaseSite() {
    const QString dir =
        QDir::cleanPath(QStringLiteral(PAGLOOM_RESOURCES "/../tests/data/shared/dbase/ruby-dbf"));
    BuildSite({[dir](QDialog* d) {
                   return ChooseTableFile(d, kDbaseType, dir, "dbase_03.dbf")
                              ? int(QDialog::Accepted)
                              : int(QDialog::Rejected);
               },
               "Condition", "Point_ID", "Shape"});
}

void TableSiteTest::odbcSite() {
    if (!odbcSkip_.isEmpty()) QSKIP(qPrintable(odbcSkip_));
    BuildSite({[](QDialog* d) {
                   // The page "BDE": the data source, then a click on its table.
                   auto* aliases = d->findChild<QListWidget*>("lbBDEAlias");
                   auto* tables = d->findChild<QListWidget*>("lbBDETables");
                   const auto alias = aliases->findItems("PagloomKatalog", Qt::MatchExactly);
                   if (alias.isEmpty()) return int(QDialog::Rejected);
                   aliases->setCurrentItem(alias.first());
                   const auto table = tables->findItems("katalog", Qt::MatchExactly);
                   if (table.isEmpty()) return int(QDialog::Rejected);
                   emit tables->itemClicked(table.first());
                   return int(QDialog::Accepted);
               },
               "Bereich", "Gruppe", "Pflanze"});
}

QTEST_MAIN(TableSiteTest)
#include "TableSiteTest.moc"
