// SPDX-License-Identifier: MIT
// The table selection dialog, the CSV import dialog, the table preview and their grid model,
// driven through their real widgets with a scripted user.

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include "AppTestSupport.h"
#include "tables/ContentTableModel.h"
#include "tables/CsvImport.h"
#include "tables/OdbcAdmin.h"
#include "tables/TCSVImportForm.h"
#include "tables/TTableShowForm.h"
#include "tables/TfmDBExplore.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

namespace {

const QString kShared = QStringLiteral(PAGLOOM_RESOURCES "/../tests/data/shared");

// The CSV dialog's answers: separator and quote entry, caption flag, OK or Abbrechen, and the box
// for blanks in values (-1: as the dialog preselects it, 0 off, 1 on).
struct CsvAnswer {
    int separator = 0;
    int quote = 0;
    bool caption = false;
    bool ok = true;
    int blanks = -1;
};

// The dialog as the program creates it, with a scripted user.
struct Explorer {
    ScriptedPrompts prompts;
    HookedDisk disk;
    int adminCalls = 0;
    TfmDBExplore dlg{disk, prompts, [this] { ++adminCalls; }};
    // What the CSV dialog showed when it last ran.
    QString csvText;

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* w = dlg.findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }

    // Picks the type, then the file in the file list, as a user's clicks do. The list applies
    // a new filter when it gets to it, as it does for a user.
    void Choose(int type, const QString& dir, const QString& file) {
        Find<QComboBox>("dbTabType")->setCurrentIndex(type);
        dlg.SetDirectory(dir);
        auto* list = Find<QListView>("FileListBox1");
        auto* model = static_cast<QFileSystemModel*>(list->model());
        QModelIndex index;
        QVERIFY2(QTest::qWaitFor([&] {
                     index = model->index(QDir(dir).filePath(file));
                     return index.isValid();
                 }),
                 qPrintable(file));
        list->setCurrentIndex(index);
        QCOMPARE(Find<QLineEdit>("edFilename")->text(), file);
    }

    // "Auswählen", answering the CSV dialog (when it comes) with `answer`.
    void Select(const CsvAnswer& answer = {}) {
        prompts.onExec = [&](QDialog* d) {
            auto* form = qobject_cast<TCSVImportForm*>(d);
            if (!form) return int(QDialog::Rejected);
            form->findChild<QComboBox*>(QStringLiteral("CBTextTrenner"))
                ->setCurrentIndex(answer.separator);
            form->findChild<QComboBox*>(QStringLiteral("CBFeldGrenze"))
                ->setCurrentIndex(answer.quote);
            form->findChild<QCheckBox*>(QStringLiteral("cbCaption"))->setChecked(answer.caption);
            if (answer.blanks >= 0)
                form->findChild<QCheckBox*>(QStringLiteral("cbBlanksInValues"))
                    ->setChecked(answer.blanks == 1);
            csvText = form->findChild<QPlainTextEdit*>(QStringLiteral("MMShowCSV"))->toPlainText();
            form->done(answer.ok ? QDialog::Accepted : QDialog::Rejected);
            return form->result();
        };
        Find<QPushButton>("btFileSelect")->click();
        prompts.onExec = nullptr;
    }

    QStringList Headers() const {
        QStringList out;
        const ContentTableModel* m = dlg.Model();
        for (int c = 0; c < m->columnCount(); ++c)
            out << m->headerData(c, Qt::Horizontal).toString();
        return out;
    }
    QString Cell(int row, int col) const {
        return dlg.Model()->data(dlg.Model()->index(row, col)).toString();
    }
};

void WriteCp1252(const QString& path, const std::string& text) {
    pagloom::test::WriteFile(path.toStdString(), text);
}

void CompareChoice(const TableChoice& c, int kind, const std::string& db,
                   const std::string& table) {
    QCOMPARE(c.kind, kind);
    QCOMPARE(c.database, db);
    QCOMPARE(c.table, table);
}

// Receives the file addresses the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

}  // namespace

class TableDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void startsWithoutTableAndLeerenChoosesNone();
    void csvChosenThroughTheDialog();
    void csvWithRunsOfSpaces();
    void cancelledOrFailedCsvChangesNothing();
    void aFailedCsvImportNamesTheLineAndTheBoxWithTheBusyDialogAside();
    void fileTablesGiveTheirKind_data();
    void fileTablesGiveTheirKind();
    void unreadableFileTableKeepsThePreviousChoice();
    void keepsChoiceAndPreviewWhenShownAgain();
    void typeBoxSetsTheFilters();
    void aliasTablesFromTheDataSources();
    void administrationButtonRunsTheCommand();
    void csvDialogShowsOnlyTheBeginningOfAHugeFile();
    void csvDialogNamesTheFirstUnevenLineAndPreselectsBlanks();
    void modelReadsStoredRowsInPlace();
    void modelWalksAFilteredTable();
    void previewWindowShowsAndCloses();
    void odbcAdministrationFallsBack();

  private:
    QTemporaryDir tmp_;
    QString odbcDir_;
};

void TableDialogsTest::initTestCase() {
    // A data source of the test's own, so the dialog's alias list does not depend on the machine.
    QVERIFY(tmp_.isValid());
    odbcDir_ = tmp_.filePath(QStringLiteral("odbc"));
    QVERIFY(QDir().mkpath(odbcDir_));
    const QString db = QDir(odbcDir_).filePath(QStringLiteral("shop.sqlite"));
    WriteFile(QDir(odbcDir_).filePath(QStringLiteral("odbcinst.ini")),
              "[PagloomSQLite]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n"
              "DontDLClose=1\n");
    WriteFile(QDir(odbcDir_).filePath(QStringLiteral("odbc.ini")),
              "[Shop]\nDriver=PagloomSQLite\nDatabase=" + db.toUtf8() +
                  "\n\n[Tot]\nDriver=/nonexistent/libnothing.so\n");
    qputenv("ODBCSYSINI", odbcDir_.toUtf8());
    qputenv("ODBCINI", QDir(odbcDir_).filePath(QStringLiteral("odbc.ini")).toUtf8());
    QVERIFY(pagloom::test::ExecuteOdbcSql(
        "Shop",
        {"CREATE TABLE Kunden (Name TEXT, Ort TEXT)",
         "INSERT INTO Kunden VALUES ('Meier', 'K\xC3\xB6ln')", "CREATE TABLE Weg (Nr INTEGER)"}));
}

void TableDialogsTest::startsWithoutTableAndLeerenChoosesNone() {
    QTemporaryDir dir;
    WriteCp1252(dir.filePath(QStringLiteral("a.csv")), "x,y\n1,2\n");
    Explorer e;
    CompareChoice(e.dlg.Choice(), kParadoxTable, "", "");
    QVERIFY(!e.dlg.TableShown());
    e.Choose(3, dir.path(), QStringLiteral("a.csv"));
    e.Select();
    QVERIFY(e.dlg.TableShown());

    e.Find<QPushButton>("btDBGridDel")->click();
    CompareChoice(e.dlg.Choice(), kNoneTable, "", "");
    QVERIFY(!e.dlg.TableShown());
    QCOMPARE(e.dlg.findChild<QTableView*>(QStringLiteral("dbgDataView"))->model()->columnCount(),
             0);
    QCOMPARE(e.prompts.messages, QStringList{});
}

void TableDialogsTest::csvChosenThroughTheDialog() {
    QTemporaryDir dir;
    const std::string raw = "Name;Ort\r\n\xC4pfel;K\xF6ln\r\n\"Birne; gro\xDF\";Bonn\r\n";
    WriteCp1252(dir.filePath(QStringLiteral("obst.csv")), raw);
    Explorer e;
    e.Choose(3, dir.path(), QStringLiteral("obst.csv"));
    e.Select({1, 0, true, true});

    QCOMPARE(e.prompts.messages, QStringList{});
    // The text box shows line ends as new lines, whichever the file has.
    QCOMPARE(e.csvText, Q(raw).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const TableChoice& c = e.dlg.Choice();
    CompareChoice(c, kCsvTable, PathS(dir.path()), "obst.csv");
    QCOMPARE(c.separator, ';');
    QCOMPARE(c.quote, '"');
    QVERIFY(c.hasCaptionRow);
    QVERIFY(e.dlg.TableShown());
    QCOMPARE(e.Headers(), (QStringList{QStringLiteral("Name"), QStringLiteral("Ort")}));
    QCOMPARE(e.dlg.Model()->rowCount(), 2);
    QCOMPARE(e.Cell(0, 0), QStringLiteral("Äpfel"));
    QCOMPARE(e.Cell(0, 1), QStringLiteral("Köln"));
    QCOMPARE(e.Cell(1, 0), QStringLiteral("Birne; groß"));

    // The choice is what the main window takes over into a slot.
    Project project;
    ContentTables tables(e.disk);
    AppHost host(e.prompts, {});
    QVERIFY(SetASCIITab(project, tables, ContentSlot::mainmenu, c, host));
    QCOMPARE(project.Tables.Slot[ContentSlot::mainmenu].fields,
             (std::vector<std::string>{"Name", "Ort"}));
}

void TableDialogsTest::csvWithRunsOfSpaces() {
    QTemporaryDir dir;
    WriteCp1252(dir.filePath(QStringLiteral("leer.txt")), "a   b      c\n1 22    333\n");
    Explorer e;
    e.Choose(3, dir.path(), QStringLiteral("leer.txt"));
    e.Select({4, 0, false, true});
    QCOMPARE(e.prompts.messages, QStringList{});
    QCOMPARE(e.dlg.Choice().separator, ' ');
    QCOMPARE(e.Headers(), (QStringList{QStringLiteral("Field0"), QStringLiteral("Field1"),
                                       QStringLiteral("Field2")}));
    QCOMPARE(e.dlg.Model()->rowCount(), 2);
    QCOMPARE(e.Cell(1, 1), QStringLiteral("22"));
    QCOMPARE(e.Cell(1, 2), QStringLiteral("333"));
}

void TableDialogsTest::cancelledOrFailedCsvChangesNothing() {
    QTemporaryDir dir;
    WriteCp1252(dir.filePath(QStringLiteral("gut.csv")), "a,b\n1,2\n");
    WriteCp1252(dir.filePath(QStringLiteral("schief.csv")), "a,b\n1,2,3\n");
    WriteCp1252(dir.filePath(QStringLiteral("weg.csv")), "a,b\n1,2\n");
    Explorer e;
    e.Choose(3, dir.path(), QStringLiteral("gut.csv"));
    e.Select();
    QCOMPARE(e.dlg.Choice().table, std::string("gut.csv"));

    struct Case {
        const char* file;
        bool ok;
        QString message;
    };
    const Case cases[] = {
        {"schief.csv", false, {}},
        {"schief.csv", true, Q(kCsvFieldCountsDiffer)},
        // The file goes away after it was picked: the read failure is reported.
        {"weg.csv", true, QStringLiteral("weg.csv")},
    };
    for (const Case& c : cases) {
        e.prompts.messages.clear();
        e.Choose(3, dir.path(), QString::fromLatin1(c.file));
        if (QString::fromLatin1(c.file) == QStringLiteral("weg.csv"))
            QVERIFY(QFile::remove(dir.filePath(QStringLiteral("weg.csv"))));
        e.Select({0, 0, false, c.ok});
        if (c.message.isEmpty()) {
            QCOMPARE(e.prompts.messages, QStringList{});
        } else {
            QCOMPARE(e.prompts.messages.size(), 1);
            QVERIFY2(e.prompts.messages.first().contains(c.message),
                     qPrintable(e.prompts.messages.first()));
        }
        CompareChoice(e.dlg.Choice(), kCsvTable, PathS(dir.path()), "gut.csv");
        QVERIFY(e.dlg.TableShown());
        QCOMPARE(e.Headers(), (QStringList{QStringLiteral("Field0"), QStringLiteral("Field1")}));
        QCOMPARE(e.Cell(1, 1), QStringLiteral("2"));
    }
}

// Real exports with an unquoted value holding a blank: the import's message names the first line
// that differs and the box that evens them out; when it comes while the busy dialog is up, that
// dialog steps aside (over the message it would block the message's OK), and comes back after.
void TableDialogsTest::aFailedCsvImportNamesTheLineAndTheBoxWithTheBusyDialogAside() {
    struct Case {
        const char* file;
        bool caption;
        const char* line;  // the line the message names
        bool box;          // whether ticking the box evens the lines out
    };
    // The facilities' caption holds a quoted line break, which no setting reads; the election's
    // captions hold blanks, which split them unless kept.
    for (const auto& [file, caption, line, box] :
         {Case{"bochum_sports_facilities.csv", true, "Zeile 3 hat 10 Felder", false},
          Case{"bochum_national_election_20170924_Bochum_I.csv", false, "Zeile 2 hat ", true}}) {
        Explorer e;
        e.dlg.show();
        BuildPause pause;
        pause.when = [&](const std::string& path) { return path.ends_with(file); };
        e.disk.onRead = std::ref(pause);
        auto busy = [&] {
            return e.dlg.findChild<QProgressDialog*>(QStringLiteral("BusyProgress"));
        };
        bool busyShown = false, busyOverMessage = true;
        e.prompts.onMessage = [&](const QString&) {
            busyOverMessage = busy() && busy()->isVisible();
        };
        QTimer::singleShot(0, &e.dlg, [&] {
            // No early return: the read must be resumed.
            (void)pause.WaitUntilHeld();
            busyShown = QTest::qWaitFor([&] { return busy() && busy()->isVisible(); });
            pause.Resume();
        });
        e.Choose(3, kShared + QStringLiteral("/csv"), QString::fromLatin1(file));
        e.Select({1, 0, caption, true, 0});  // ";", '"', the box for blanks unticked
        QCOMPARE(e.prompts.messages.size(), 1);
        const QString& message = e.prompts.messages[0];
        QVERIFY2(message.startsWith(Q(kCsvFieldCountsDiffer) + u'\n' + QString::fromUtf8(line)),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("„Leerzeichen gehören zum Wert“ an.")) == box,
                 qPrintable(message));
        QVERIFY(busyShown);
        QVERIFY2(!busyOverMessage, file);
        QVERIFY(!busy());
    }
}

void TableDialogsTest::fileTablesGiveTheirKind_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("field");
    QTest::newRow("DBase") << 0 << QStringLiteral("dbase_03.dbf") << int(kDbaseTable)
                           << QStringLiteral("Point_ID");
    QTest::newRow("Foxpro") << 1 << QStringLiteral("dbase_30.dbf") << int(kFoxproTable)
                            << QStringLiteral("ACCESSNO");
}

void TableDialogsTest::fileTablesGiveTheirKind() {
    QFETCH(int, type);
    QFETCH(QString, file);
    QFETCH(int, kind);
    QFETCH(QString, field);
    const QString dir = QDir(kShared).filePath(QStringLiteral("dbase/ruby-dbf"));
    Explorer e;
    e.Choose(type, dir, file);
    e.Select();
    QCOMPARE(e.prompts.messages, QStringList{});
    CompareChoice(e.dlg.Choice(), kind, PathS(QDir::cleanPath(dir)), PathS(file));
    QVERIFY(e.dlg.TableShown());
    QVERIFY2(e.Headers().contains(field), qPrintable(e.Headers().join(u',')));
    QVERIFY(e.dlg.Model()->rowCount() > 0);
}

void TableDialogsTest::unreadableFileTableKeepsThePreviousChoice() {
    QTemporaryDir dir;
    WriteCp1252(dir.filePath(QStringLiteral("gut.csv")), "a,b\n1,2\n");
    WriteCp1252(dir.filePath(QStringLiteral("kaputt.dbf")), "Das ist keine Tabelle.");
    Explorer e;
    e.Choose(3, dir.path(), QStringLiteral("gut.csv"));
    e.Select();
    e.Choose(0, dir.path(), QStringLiteral("kaputt.dbf"));
    e.Select();
    QCOMPARE(e.prompts.messages.size(), 1);
    QVERIFY(!e.prompts.messages.first().isEmpty());
    CompareChoice(e.dlg.Choice(), kCsvTable, PathS(dir.path()), "gut.csv");
    QVERIFY(!e.dlg.TableShown());

    // Without a picked file there is nothing to open: a hint, and the choice stays.
    e.prompts.messages.clear();
    e.dlg.SetDirectory(dir.path());
    QCOMPARE(e.Find<QLineEdit>("edFilename")->text(), QStringLiteral("*.*"));
    e.Select();
    QCOMPARE(e.prompts.messages.size(), 1);
    CompareChoice(e.dlg.Choice(), kCsvTable, PathS(dir.path()), "gut.csv");

    // A folder whose name Windows-1252 cannot hold is refused before anything is read.
    const QString foreign = dir.filePath(QStringLiteral("Tabellen-Ω"));
    QVERIFY(QDir().mkpath(foreign));
    WriteCp1252(QDir(foreign).filePath(QStringLiteral("b.csv")), "a,b\n1,2\n");
    e.prompts.messages.clear();
    e.Choose(3, foreign, QStringLiteral("b.csv"));
    bool asked = false;
    e.prompts.onExec = [&](QDialog*) {
        asked = true;
        return int(QDialog::Accepted);
    };
    e.Find<QPushButton>("btFileSelect")->click();
    QVERIFY(!asked);
    QCOMPARE(e.prompts.messages.size(), 1);
    CompareChoice(e.dlg.Choice(), kCsvTable, PathS(dir.path()), "gut.csv");
}

void TableDialogsTest::keepsChoiceAndPreviewWhenShownAgain() {
    QTemporaryDir dir;
    WriteCp1252(dir.filePath(QStringLiteral("a.csv")), "x,y\n1,2\n3,4\n");
    Explorer e;
    e.Choose(3, dir.path(), QStringLiteral("a.csv"));
    e.Select();
    for (int round = 0; round < 2; ++round) {
        e.dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.dlg));
        e.Find<QPushButton>("btOK")->click();
        QCOMPARE(e.dlg.result(), int(QDialog::Accepted));
        QVERIFY(!e.dlg.isVisible());
        CompareChoice(e.dlg.Choice(), kCsvTable, PathS(dir.path()), "a.csv");
        QVERIFY(e.dlg.TableShown());
        QCOMPARE(e.Cell(2, 1), QStringLiteral("4"));
        QCOMPARE(e.Find<QLineEdit>("edFilename")->text(), QStringLiteral("a.csv"));
    }
}

void TableDialogsTest::typeBoxSetsTheFilters() {
    QTemporaryDir dir;
    for (const char* f : {"a.dbf", "B.DBF", "c.db", "d.txt", "e.csv", "f.xls", "ohne"})
        WriteCp1252(dir.filePath(QString::fromLatin1(f)), "x");
    Explorer e;
    e.dlg.SetDirectory(dir.path());
    auto* types = e.Find<QComboBox>("dbTabType");
    auto* filters = e.Find<QComboBox>("FilterComboBox1");
    auto* list = e.Find<QListView>("FileListBox1");
    auto listed = [&] {
        QStringList names;
        for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r)
            names << list->model()->index(r, 0, list->rootIndex()).data().toString();
        names.sort(Qt::CaseInsensitive);
        return names;
    };
    QCOMPARE(types->count(), 4);
    QCOMPARE(types->currentText(), QStringLiteral("DBase"));
    struct Case {
        const char* type;
        const char* filter;
        QStringList files;
    };
    const QStringList all = {"a.dbf", "B.DBF", "c.db", "d.txt", "e.csv", "f.xls", "ohne"};
    const Case cases[] = {
        {"Foxpro", "Foxpro (*.dbf)", {"a.dbf", "B.DBF"}},
        {"Paradox", "Paradox (*.db)", {"c.db"}},
        {"ASCII", "ASCII (*.txt, *.csv)", {"d.txt", "e.csv"}},
        {"DBase", "DBase (*.dbf)", {"a.dbf", "B.DBF"}},
    };
    for (const Case& c : cases) {
        types->setCurrentText(QString::fromLatin1(c.type));
        QCOMPARE(filters->count(), 2);
        QCOMPARE(filters->itemText(0), QString::fromLatin1(c.filter));
        QCOMPARE(filters->itemText(1), QStringLiteral("Alle (*.*)"));
        QCOMPARE(filters->currentIndex(), 0);
        QTRY_COMPARE(listed(), c.files);
        filters->setCurrentIndex(1);
        QTRY_COMPARE(listed(), all);
    }
}

void TableDialogsTest::aliasTablesFromTheDataSources() {
    Explorer e;
    auto* aliases = e.Find<QListWidget>("lbBDEAlias");
    auto* tables = e.Find<QListWidget>("lbBDETables");
    QStringList names;
    for (int i = 0; i < aliases->count(); ++i) names << aliases->item(i)->text();
    QCOMPARE(names, (QStringList{QStringLiteral("Shop"), QStringLiteral("Tot")}));

    aliases->setCurrentRow(0);
    QStringList listed;
    for (int i = 0; i < tables->count(); ++i) listed << tables->item(i)->text();
    listed.sort();
    QCOMPARE(listed, (QStringList{QStringLiteral("Kunden"), QStringLiteral("Weg")}));
    auto click = [&](const QString& name) {
        emit tables->itemClicked(tables->findItems(name, Qt::MatchExactly).first());
    };
    click(QStringLiteral("Kunden"));
    QCOMPARE(e.prompts.messages, QStringList{});
    CompareChoice(e.dlg.Choice(), kBdeTable, "Shop", "Kunden");
    QVERIFY(e.dlg.TableShown());
    QCOMPARE(e.Cell(0, 1), QStringLiteral("Köln"));

    // A listed table that is gone when it is clicked: the engine's error, no table shown, and
    // the choice keeps the previous table.
    QVERIFY(pagloom::test::ExecuteOdbcSql("Shop", {"DROP TABLE Weg"}));
    click(QStringLiteral("Weg"));
    QCOMPARE(e.prompts.messages.size(), 1);
    QVERIFY(!e.dlg.TableShown());
    CompareChoice(e.dlg.Choice(), kBdeTable, "Shop", "Kunden");
    e.prompts.messages.clear();

    // A data source that cannot be reached: its tables cannot be listed; the choice stays.
    aliases->setCurrentRow(1);
    QCOMPARE(e.prompts.messages.size(), 1);
    QCOMPARE(tables->count(), 0);
    CompareChoice(e.dlg.Choice(), kBdeTable, "Shop", "Kunden");

    // "Aktualisieren" clears like "Leeren" and lists the data sources again.
    e.Find<QPushButton>("btBDERefresh")->click();
    CompareChoice(e.dlg.Choice(), kNoneTable, "", "");
    QVERIFY(!e.dlg.TableShown());
    QCOMPARE(aliases->count(), 2);
    QCOMPARE(tables->count(), 0);
}

void TableDialogsTest::administrationButtonRunsTheCommand() {
    Explorer e;
    e.Find<QPushButton>("btDBEAdmin")->click();
    QCOMPARE(e.adminCalls, 1);
    QCOMPARE(e.Find<QPushButton>("btDBEAdmin")->text().remove(u'&'),
             QStringLiteral("BDE-Administration"));
}

void TableDialogsTest::csvDialogShowsOnlyTheBeginningOfAHugeFile() {
    QTemporaryDir dir;
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "Zeile " + std::to_string(i) +
               ";Gr\xFC\xDF"
               "e\n";
    WriteCp1252(dir.filePath(QStringLiteral("gross.csv")), big);
    TCSVImportForm form;
    form.SetFile(dir.filePath(QStringLiteral("gross.csv")));
    const QString shown =
        form.findChild<QPlainTextEdit*>(QStringLiteral("MMShowCSV"))->toPlainText();
    QVERIFY(shown.startsWith(QStringLiteral("Zeile 0;Grüße\nZeile 1;Grüße\n")));
    QVERIFY(shown.size() <= TCSVImportForm::kShownBytes);
    QVERIFY(shown.endsWith(u'\n'));
    QVERIFY(!form.findChild<QLabel*>(QStringLiteral("lbHinweis"))->isHidden());

    // A small file is shown whole, without the note.
    WriteCp1252(dir.filePath(QStringLiteral("klein.csv")), "a;b");
    form.SetFile(dir.filePath(QStringLiteral("klein.csv")));
    QCOMPARE(form.findChild<QPlainTextEdit*>(QStringLiteral("MMShowCSV"))->toPlainText(),
             QStringLiteral("a;b"));
    QVERIFY(form.findChild<QLabel*>(QStringLiteral("lbHinweis"))->isHidden());
}

void TableDialogsTest::csvDialogNamesTheFirstUnevenLineAndPreselectsBlanks() {
    QTemporaryDir dir;
    TCSVImportForm form;
    auto* sep = form.findChild<QComboBox*>(QStringLiteral("CBTextTrenner"));
    auto* blanks = form.findChild<QCheckBox*>(QStringLiteral("cbBlanksInValues"));
    auto* counts = form.findChild<QLabel*>(QStringLiteral("lbFeldanzahl"));
    auto* note = form.findChild<QLabel*>(QStringLiteral("lbHinweis"));
    QCOMPARE(blanks->text(), QStringLiteral("&Leerzeichen gehören zum Wert"));
    QVERIFY(!blanks->isChecked());

    // A spreadsheet's UTF-8 export reads evenly only with blanks kept: the box is ticked, the
    // text shown as UTF-8, and the value taken.
    const QString exported = dir.filePath(QStringLiteral("export.csv"));
    WriteCp1252(exported,
                "Bereich,Artikel\nHeimwerker & Garten,S\xC3\xA4gen\nK\xC3\xBC"
                "che,Messer\n");
    form.SetFile(exported);
    QVERIFY(blanks->isChecked());
    QVERIFY(form.blanksInValues());
    QVERIFY(counts->isHidden());
    QVERIFY(form.findChild<QPlainTextEdit*>(QStringLiteral("MMShowCSV"))
                ->toPlainText()
                .contains(QStringLiteral("Heimwerker & Garten,Sägen")));
    QVERIFY(!note->isHidden());
    QVERIFY(note->text().contains(QStringLiteral("UTF-8")));

    // Unticked by the user, the message and the first line that differs show below it.
    blanks->setChecked(false);
    QVERIFY(!form.blanksInValues());
    QVERIFY(!counts->isHidden());
    QCOMPARE(counts->text(),
             QStringLiteral("Fehler: Die Datensätze enthalten unterschiedlich viele "
                            "Datenfelder!\nZeile 2 hat 4 Felder, erwartet werden 2 (wie in der "
                            "ersten Zeile mit Daten)."));
    // Another separator is checked again; the box stays as the user left it.
    sep->setCurrentIndex(4);  // {Leerzeichen}: still uneven
    QVERIFY(!counts->isHidden());
    QVERIFY(!blanks->isChecked());

    // A file that no setting of the box evens out leaves it off and says where.
    const QString ragged = dir.filePath(QStringLiteral("schief.csv"));
    WriteCp1252(ragged, "a;b\n1;2\n1;2;3\n");
    sep->setCurrentIndex(1);
    form.SetFile(ragged);
    QVERIFY(!blanks->isChecked());
    QVERIFY(counts->text().endsWith(
        QStringLiteral("Zeile 3 hat 3 Felder, erwartet werden 2 (wie in der ersten Zeile mit "
                       "Daten).")));
    QVERIFY(note->isHidden());
}

void TableDialogsTest::modelReadsStoredRowsInPlace() {
    QTemporaryDir dir;
    std::string csv = "Nr;Text\n";
    const int rows = 200000;
    for (int i = 0; i < rows; ++i)
        csv += std::to_string(i) + ";Wert_\xE4" + std::to_string(i) + "\n";
    WriteCp1252(dir.filePath(QStringLiteral("viele.csv")), csv);
    DiskFileSystem disk;
    ScriptedPrompts prompts;
    AppHost host(prompts, {});
    MemoryTable table;
    QVERIFY(ImportCsvFile(disk, host, PathS(dir.filePath(QStringLiteral("viele.csv"))), ';', '"',
                          true, table));
    table.Open();
    ContentTableModel model;
    model.SetTable(&table);
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.columnCount(), 2);
    QVERIFY(!model.canFetchMore({}));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Text"));
    QCOMPARE(model.data(model.index(rows - 1, 0)).toString(), QString::number(rows - 1));
    QCOMPARE(model.data(model.index(rows - 1, 1)).toString(),
             QStringLiteral("Wert_ä%1").arg(rows - 1));
    QVERIFY(!model.data(model.index(rows, 0)).isValid());
    model.SetTable(nullptr);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
}

void TableDialogsTest::modelWalksAFilteredTable() {
    QTemporaryDir dir;
    std::string csv;
    for (int i = 0; i < 2500; ++i)
        csv += (i % 2 ? "ungerade," : "gerade,") + std::to_string(i) + "\n";
    WriteCp1252(dir.filePath(QStringLiteral("f.csv")), csv);
    DiskFileSystem disk;
    ScriptedPrompts prompts;
    AppHost host(prompts, {});
    MemoryTable table;
    QVERIFY(ImportCsvFile(disk, host, PathS(dir.filePath(QStringLiteral("f.csv"))), ',', '"', false,
                          table));
    table.SetEqualityFilter({{"Field0", "ungerade"}});
    table.Open();
    ContentTableModel model;
    model.SetTable(&table);
    QCOMPARE(model.columnCount(), 2);
    while (model.canFetchMore({})) model.fetchMore({});
    QCOMPARE(model.rowCount(), 1250);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("1"));
    QCOMPARE(model.data(model.index(1249, 1)).toString(), QStringLiteral("2499"));
}

void TableDialogsTest::previewWindowShowsAndCloses() {
    QTemporaryDir dir;
    WriteCp1252(dir.filePath(QStringLiteral("p.csv")), "Stadt,Fluss\nK\xF6ln,Rhein\n");
    DiskFileSystem disk;
    ScriptedPrompts prompts;
    AppHost host(prompts, {});
    MemoryTable table;
    QVERIFY(ImportCsvFile(disk, host, PathS(dir.filePath(QStringLiteral("p.csv"))), ',', '"', true,
                          table));
    table.Open();
    TTableShowForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("TableShowForm"));
    form.SetTable(&table);
    auto* grid = form.findChild<QTableView*>(QStringLiteral("DBGVorschau"));
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Stadt"));
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("Köln"));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPushButton* close = nullptr;
    for (QPushButton* b : form.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Fenster schließen")) close = b;
    QVERIFY(close);
    close->click();
    QVERIFY(!form.isVisible());
    // The closed window lets go of the table, which its owner closes next.
    QCOMPARE(grid->model()->columnCount(), 0);
}

void TableDialogsTest::odbcAdministrationFallsBack() {
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    const QByteArray ini = qgetenv("ODBCINI");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    const auto restore = qScopeGuard([&] {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        qputenv("PATH", path);
        qputenv("ODBCINI", ini);
    });
    const QString userIni = bin.filePath(QStringLiteral("user-odbc.ini"));
    qputenv("PATH", bin.path().toUtf8());

    // Neither a program nor the file: the message names the file.
    qputenv("ODBCINI", userIni.toUtf8());
    ScriptedPrompts prompts;
    StartOdbcAdministration(prompts, nullptr);
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages.first().contains(userIni));
    QVERIFY(catcher.urls.isEmpty());

    // The file exists: the desktop opens it.
    WriteFile(userIni, "[Shop]\n");
    prompts.messages.clear();
    StartOdbcAdministration(prompts, nullptr);
    QCOMPARE(prompts.messages, QStringList{});
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(userIni)});

    // An administration program comes first.
    const QString marker = bin.filePath(QStringLiteral("gestartet"));
    const QString exe = bin.filePath(QStringLiteral("ODBCManageDataSourcesQ5"));
    WriteFile(exe, "#!/bin/sh\n: > '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    StartOdbcAdministration(prompts, nullptr);
    QTRY_VERIFY(QFileInfo::exists(marker));
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(prompts.messages, QStringList{});
}

QTEST_MAIN(TableDialogsTest)
#include "TableDialogsTest.moc"
