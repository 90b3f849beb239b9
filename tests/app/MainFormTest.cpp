// SPDX-License-Identifier: MIT
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "AppTestSupport.h"
#include "PageTabs.h"
#include "RecentProjects.h"
#include "document/ProjectDocument.h"
#include "tables/SlotOpening.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

Q_DECLARE_METATYPE(pagloom::Answer)

class MainFormTest : public QObject {
    Q_OBJECT
  private slots:
    void saveQuestion_data();
    void saveQuestion();
    void quitWithCancelledSaveAsStaysOpen();
    void failedSaveStopsTheCommand();
    void unreadableProjectIsRefusedAndTheOpenOneStays();
    void whatIsNoProjectIsRefusedAndTheOpenOneStays();
    void saveAsSetsCaptionAndFileName();
    void wholeNumberFields_data();
    void wholeNumberFields();
    void switchClickedTwiceIsNoChange();
    void decimalRule_data();
    void decimalRule();
    void refusedPendingEditAbandonsCommand();
    void layoutButtonsShowFrameControls();
    void borderOptionShowsWidthList();
    void destinationFolderChooser();
    void pathsOutsideWindows1252AreRefused();
    void fileChooserFillsBareName();
    void tabRulesAfterLoading();
    void sitemapExtraFilesFromChooser();
    void previewMessages();
    void commandsCarryNamesAndHints();
    void startOpensTheCommandLineProject();
    void startFileOpensOnceShownWithoutActivation();
    void refusedStartFileLeavesANewProject();
    void hiddenTabsAreUnreachable();
    void quitShortcut();
    void recentProjectsInTheFileMenu();
    void openingReadsTheTablesBesideTheWindow();
};

void MainFormTest::saveQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("wentOn");
    for (const char* cmd : {"new", "open", "quit"}) {
        QTest::addRow("%s-ja", cmd) << cmd << Answer::Yes << true << true;
        QTest::addRow("%s-nein", cmd) << cmd << Answer::No << false << true;
        QTest::addRow("%s-abbrechen", cmd) << cmd << Answer::Cancel << false << false;
    }
}

void MainFormTest::saveQuestion() {
    QFETCH(QString, command);
    QFETCH(Answer, answer);
    QFETCH(bool, saved);
    QFETCH(bool, wentOn);
    AppFixture app;
    QTemporaryDir dir;
    const QString current = dir.filePath("current.plp");
    const QString other = dir.filePath("other.plp");
    WriteFile(other, "[frameset]\r\ntitel=Andere Seite\r\n");
    app.main->OpenProject(current);
    app.session.Settings().frameset.titel = "Geändert";
    app.session.Modified = true;
    app.prompts.answers = {answer};
    app.prompts.files = {other};

    bool closed = false;
    if (command == "new")
        app.main->FileNew();
    else if (command == "open")
        app.main->FileOpen();
    else
        closed = app.main->close();

    QCOMPARE(app.prompts.questions, QStringList{"Projekt vorher speichern?"});
    QCOMPARE(QFile::exists(current), saved);
    if (command == "quit") {
        QCOMPARE(closed, wentOn);
    } else if (!wentOn) {
        QVERIFY(app.session.Modified);
        QCOMPARE(app.main->windowTitle(), "pagloom: " + current);
        QVERIFY(app.prompts.openFilters.isEmpty());
    } else if (command == "new") {
        QCOMPARE(app.main->windowTitle(), QString("pagloom: [neues Projekt]"));
        QCOMPARE(app.session.Settings().frameset.titel, std::string("Homepage"));
        QVERIFY(!app.session.Modified);
    } else {
        QCOMPARE(app.main->windowTitle(), "pagloom: " + other);
        QCOMPARE(app.session.Settings().frameset.titel, std::string("Andere Seite"));
        QVERIFY(!app.session.Modified);
    }
}

void MainFormTest::quitWithCancelledSaveAsStaysOpen() {
    AppFixture app;
    app.session.Modified = true;
    app.prompts.answers = {Answer::Yes};
    app.prompts.files = {QString()};  // the save-as dialog is cancelled
    QVERIFY(!app.main->close());
    QCOMPARE(app.prompts.saveDialogs, 1);
    QVERIFY(app.session.Modified);

    // New goes on without saving when save-as is cancelled.
    app.prompts.answers = {Answer::Yes};
    app.prompts.files = {QString()};
    app.main->FileNew();
    QVERIFY(!app.session.Modified);
}

void MainFormTest::failedSaveStopsTheCommand() {
    AppFixture app;
    QTemporaryDir dir;
    const QString unwritable = dir.filePath("fehlt/projekt.plp");
    app.main->OpenProject(unwritable);
    app.session.Modified = true;
    app.prompts.answers = {Answer::Yes};
    app.main->FileNew();
    QCOMPARE(app.prompts.messages.size(), 1);
    QVERIFY(app.prompts.messages.first().startsWith("In "));
    QVERIFY(app.session.Modified);
    QCOMPARE(app.main->windowTitle(), "pagloom: " + unwritable);
    app.prompts.answers = {Answer::Yes};
    QVERIFY(!app.main->close());
}

void MainFormTest::unreadableProjectIsRefusedAndTheOpenOneStays() {
    // A regular file that not even root can read, so the test needs no other user.
    const QString unreadable = QStringLiteral("/proc/self/clear_refs");
    QFile probe(unreadable);
    const bool readable = probe.open(QIODevice::ReadOnly) && (probe.read(1), true) &&
                          probe.error() == QFileDevice::NoError;
    if (!QFile::exists(unreadable) || readable) QSKIP("no file here that cannot be read");
    AppFixture app;
    QTemporaryDir dir;
    const QString file = dir.filePath("projekt.plp");
    app.session.Modified = true;
    app.prompts.files = {file};
    QCOMPARE(app.main->FileSave(), TMainForm::SaveOutcome::Saved);
    app.session.Modified = true;

    QVERIFY(!app.main->OpenProject(unreadable));
    QCOMPARE(app.prompts.messages,
             QStringList{"Die Projektdatei " + unreadable + " kann nicht gelesen werden!"});
    QCOMPARE(app.session.ProjectFileName(), file);
    QCOMPARE(app.main->windowTitle(), "pagloom: " + file);
    QVERIFY(app.session.Modified);
    // The next save goes to the project that stayed open.
    QCOMPARE(app.main->FileSave(), TMainForm::SaveOutcome::Saved);
    QCOMPARE(app.prompts.saveDialogs, 1);
}

void MainFormTest::whatIsNoProjectIsRefusedAndTheOpenOneStays() {
    AppFixture app;
    QTemporaryDir dir;
    const QString file = dir.filePath("projekt.plp");
    app.prompts.files = {file};
    QCOMPARE(app.main->FileSave(), TMainForm::SaveOutcome::Saved);
    const QString table = dir.filePath("katalog.csv"), folder = dir.filePath("ordner.plp");
    QFile csv(table);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Haupt;Unter\r\nGarten;Werkzeug\r\n");
    csv.close();
    QVERIFY(QDir(dir.path()).mkdir("ordner.plp"));
    for (const QString& wrong : {table, folder}) {
        app.prompts.messages.clear();
        QVERIFY(!app.main->OpenProject(wrong));
        QCOMPARE(app.prompts.messages, QStringList{wrong + " ist keine Projektdatei!"});
        QCOMPARE(app.session.ProjectFileName(), file);
        QCOMPARE(app.main->windowTitle(), "pagloom: " + file);
    }
}

void MainFormTest::saveAsSetsCaptionAndFileName() {
    AppFixture app;
    QTemporaryDir dir;
    const QString file = dir.filePath("neu.plp");
    app.session.Modified = true;
    app.prompts.files = {file};
    QCOMPARE(app.main->FileSave(), TMainForm::SaveOutcome::Saved);  // no file name yet: save as
    QCOMPARE(app.prompts.saveDialogs, 1);
    QVERIFY(QFile::exists(file));
    QCOMPARE(app.main->windowTitle(), "pagloom: " + file);
    QCOMPARE(app.session.ProjectFileName(), file);
    QVERIFY(!app.session.Modified);
}

void MainFormTest::wholeNumberFields_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("beeps");
    QTest::newRow("leading blanks") << "  150"
                                    << "150" << 150 << true << 0;
    QTest::newRow("hex 0x") << "0x8C"
                            << "140" << 140 << false << 0;
    QTest::newRow("hex $") << "$96"
                           << "150" << 150 << true << 0;
    QTest::newRow("sign and zero") << "+0140"
                                   << "140" << 140 << false << 0;
    QTest::newRow("negative") << "-5"
                              << "-5" << -5 << true << 0;
    QTest::newRow("trailing blank") << "140 "
                                    << "140" << 140 << false << 1;
    QTest::newRow("letters") << "abc"
                             << "140" << 140 << false << 1;
    QTest::newRow("empty") << ""
                           << "140" << 140 << false << 1;
    QTest::newRow("too large") << "2147483648"
                               << "140" << 140 << false << 1;
    QTest::newRow("hex without digits") << "0x"
                                        << "140" << 140 << false << 1;
}

void MainFormTest::wholeNumberFields() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    QFETCH(bool, modified);
    QFETCH(int, beeps);
    AppFixture app;
    app.ShowActive();
    app.main->PageControl()->setCurrentWidget(app.Find("FrameSet"));
    auto* edit = app.Find<QLineEdit>("EditFrameBreite");
    QCOMPARE(edit->text(), QString("140"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    app.main->FocusPageControl();
    QCOMPARE(edit->text(), shown);
    QCOMPARE(app.session.Settings().frameset.menuframe_size, stored);
    QCOMPARE(app.session.Modified, modified);
    QCOMPARE(app.prompts.beeps, beeps);
    QVERIFY(app.prompts.messages.isEmpty());
}

void MainFormTest::switchClickedTwiceIsNoChange() {
    AppFixture app;
    app.session.Settings().sitemap.make_sitemap = true;
    app.main->ApplyTabRules();
    app.ShowActive();
    app.main->PageControl()->setCurrentWidget(app.Find("tsSitemap"));
    auto* box = app.Find<QCheckBox>("cbMapFrameset");
    QVERIFY(box->isVisible());
    const bool before = box->isChecked();

    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    app.main->FocusPageControl();
    QCOMPARE(box->isChecked(), before);
    QVERIFY(!app.session.Modified);

    QTest::mouseClick(box, Qt::LeftButton);
    app.main->FocusPageControl();
    QVERIFY(app.session.Modified);
    QCOMPARE(app.session.Settings().sitemap.frameset, !before);

    // Two clicks do not clear a mark made earlier either.
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    app.main->FocusPageControl();
    QVERIFY(app.session.Modified);
}

void MainFormTest::decimalRule_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("accepted");  // "-" for refused
    QTest::newRow("leading comma") << ",5"
                                   << "0,5";
    QTest::newRow("trailing point") << "5."
                                    << "5.0";
    QTest::newRow("blanks around") << "  1,25 "
                                   << "1,25";
    QTest::newRow("exponent and sign") << "-1.5e3"
                                       << "-1.5e3";
    QTest::newRow("empty") << ""
                           << "-";
    QTest::newRow("blanks only") << "   "
                                 << "-";
    QTest::newRow("letters") << "12a"
                             << "-";
    QTest::newRow("two separators") << "1,2.3"
                                    << "-";
}

void MainFormTest::decimalRule() {
    QFETCH(QString, typed);
    QFETCH(QString, accepted);
    const std::optional<QString> r = FieldTracker::ParseDecimal(typed);
    QCOMPARE(r.value_or("-"), accepted);
}

void MainFormTest::refusedPendingEditAbandonsCommand() {
    AppFixture app;
    app.ShowActive();
    // A decimal field as the style editors add them to the tabs.
    auto* field = new QLineEdit(app.Find("FrameSet"));
    field->setText("1,5");
    QString stored;
    app.main->Tracker().TrackDecimal(field, [&](const QString& t) { stored = t; });
    app.main->PageControl()->setCurrentWidget(app.Find("FrameSet"));
    field->show();
    field->setFocus();
    QTest::keyClicks(field, "x");
    QVERIFY(app.main->Tracker().EditPending());

    app.session.Modified = true;
    app.main->FileNew();
    QCOMPARE(field->text(), QString("1,5"));
    QCOMPARE(app.prompts.beeps, 1);
    QVERIFY(app.prompts.questions.isEmpty());  // the command was abandoned before its question
    QVERIFY(app.session.Modified);

    // The user may repeat the command; the field is settled now.
    app.prompts.answers = {Answer::No};
    app.main->FileNew();
    QCOMPARE(app.prompts.questions.size(), 1);
    QVERIFY(!app.session.Modified);

    // A change of tab is abandoned the same way; an accepted value lets it through.
    QTabWidget* tabs = app.main->PageControl();
    tabs->setCurrentWidget(app.Find("FrameSet"));
    field->setFocus();
    QTest::keyClicks(field, "z");
    tabs->setCurrentWidget(app.Find("Dateien"));
    QCOMPARE(tabs->currentWidget(), app.Find("FrameSet"));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, ",25");
    tabs->setCurrentWidget(app.Find("Dateien"));
    QCOMPARE(tabs->currentWidget(), app.Find("Dateien"));
    QCOMPARE(stored, QString("0,25"));
    QVERIFY(app.session.Modified);
}

void MainFormTest::layoutButtonsShowFrameControls() {
    AppFixture app;
    app.ShowActive();
    app.main->PageControl()->setCurrentWidget(app.Find("FrameSet"));
    struct Case {
        const char* button;
        bool top, bottom;
    };
    for (const Case& c : {Case{"RBFSetOben", true, false}, Case{"RBFSetUnten", false, true},
                          Case{"RBFSetObenUnten", true, true}, Case{"RBFSetOhne", false, false}}) {
        QTest::mouseClick(app.Find<QRadioButton>(c.button), Qt::LeftButton);
        QCOMPARE(app.session.Settings().frameset.frametop, c.top);
        QCOMPARE(app.session.Settings().frameset.framebottom, c.bottom);
        QCOMPARE(!app.Find("EditOFrameBreite")->isHidden(), c.top);
        QCOMPARE(!app.Find("EditDatOben")->isHidden(), c.top);
        QCOMPARE(!app.Find("cbMapFrameOben")->isHidden(), c.top);
        QCOMPARE(!app.Find("LabelDatUnten")->isHidden(), c.bottom);
        QCOMPARE(!app.Find("SpeedButtonDatUnten")->isHidden(), c.bottom);
    }
    app.main->FocusPageControl();
    QVERIFY(app.session.Modified);
}

void MainFormTest::borderOptionShowsWidthList() {
    AppFixture app;
    auto* option = app.Find<QComboBox>("ComboBoxFSetRahmen");
    auto* width = app.Find<QComboBox>("ComboBoxFSetRahmenBreite");
    QCOMPARE(option->currentIndex(), 1);
    QVERIFY(!width->isHidden());
    emit option->activated(0);
    QVERIFY(width->isHidden());
    QVERIFY(app.Find("LabelFSetRahmenbreite")->isHidden());
    QCOMPARE(app.session.Settings().frameset.frameborderwidth, 0);
    QCOMPARE(app.session.Settings().frameset.frameoption, 0);
    emit option->activated(2);
    QVERIFY(!width->isHidden());
    QCOMPARE(width->currentText(), QString("1"));
    QCOMPARE(app.session.Settings().frameset.frameborderwidth, 1);
}

void MainFormTest::destinationFolderChooser() {
    AppFixture app;
    const char* pickers[] = {
        "SpeedButtonDatFSet",   "SpeedButtonDatCSS",      "SpeedButtonDatJS",
        "SpeedButtonDatMFrame", "SpeedButtonDatSeite1",   "SpeedButtonDatOben",
        "SpeedButtonDatUnten",  "SpeedButtonMenueAddDat", "SpeedButtonMenueAenderDat"};
    for (const char* p : pickers) QVERIFY2(!app.Find(p)->isEnabled(), p);
    QTemporaryDir dir;
    const QString fresh = dir.filePath("site/neu");
    app.prompts.files = {fresh};
    app.prompts.answers = {Answer::Yes};
    app.Find<QToolButton>("SpeedButtonZiel")->click();
    QCOMPARE(app.prompts.questions,
             QStringList{"Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?"});
    QVERIFY(QFileInfo(fresh).isDir());
    QCOMPARE(app.Find<QLineEdit>("EditDir")->text(), fresh);
    QCOMPARE(Q(app.session.Settings().files.destination_directory), fresh);
    QCOMPARE(Q(app.session.Build.Destination), fresh);
    QCOMPARE(Q(app.session.Build.PreviewDirectory), fresh);
    QCOMPARE(app.fileSelect->Directory(), fresh);
    QVERIFY(app.session.Modified);
    for (const char* p : pickers) QVERIFY2(app.Find(p)->isEnabled(), p);
}

void MainFormTest::pathsOutsideWindows1252AreRefused() {
    AppFixture app;
    QTemporaryDir dir;
    const QString file = dir.filePath("projekt.plp");
    app.session.Modified = true;
    app.prompts.files = {file};
    QCOMPARE(app.main->FileSave(), TMainForm::SaveOutcome::Saved);
    app.main->HandOnDestination(dir.path());
    app.session.Settings().files.destination_directory = PathS(dir.path());
    app.session.Modified = false;
    const QString foreign = dir.filePath(QStringLiteral("日本"));
    const QString message = QStringLiteral(
        "Der Pfad „%1“ enthält Zeichen außerhalb von "
        "Windows-1252 und kann nicht verwendet werden.");

    app.prompts.files = {foreign + ".plp", foreign + ".plp", foreign};
    app.main->FileOpen();
    QCOMPARE(app.main->FileSaveAs(), TMainForm::SaveOutcome::Failed);
    app.Find<QToolButton>("SpeedButtonZiel")->click();
    QCOMPARE(app.prompts.messages,
             QStringList({message.arg(foreign + ".plp"), message.arg(foreign + ".plp"),
                          message.arg(foreign)}));
    QVERIFY(app.prompts.questions.isEmpty());
    QVERIFY(!QFileInfo::exists(foreign));
    QVERIFY(!QFileInfo::exists(foreign + ".plp"));
    QCOMPARE(app.session.ProjectFileName(), file);
    QCOMPARE(app.main->windowTitle(), "pagloom: " + file);
    QCOMPARE(Q(app.session.Settings().files.destination_directory), dir.path());
    QCOMPARE(Q(app.session.Build.Destination), dir.path());
    QCOMPARE(app.Find<QLineEdit>("EditDir")->text(), dir.path());
    QVERIFY(!app.session.Modified);

    // A file of the destination folder with such a name is refused by the Dateien choosers.
    WriteFile(foreign + ".htm", "x");
    app.prompts.messages.clear();
    app.session.Settings().files.starting_page_file = "start.htm";
    app.main->RefreshFromModel();
    app.prompts.onExec = [&](QDialog* d) {
        QListWidget* list = static_cast<TFileSelectDlg*>(d)->FileListBox();
        list->setCurrentItem(list->findItems(QStringLiteral("日本.htm"), Qt::MatchExactly).first());
        return int(QDialog::Accepted);
    };
    app.Find<QToolButton>("SpeedButtonDatSeite1")->click();
    QCOMPARE(app.prompts.messages, QStringList{message.arg(QStringLiteral("日本.htm"))});
    QCOMPARE(app.session.Settings().files.starting_page_file, std::string("start.htm"));
    QCOMPARE(app.Find<QLineEdit>("EditDatSeite1")->text(), QString("start.htm"));
    QVERIFY(!app.session.Modified);
}

void MainFormTest::fileChooserFillsBareName() {
    AppFixture app;
    QTemporaryDir dir;
    WriteFile(dir.filePath("start.htm"), "x");
    WriteFile(dir.filePath("zwei.htm"), "x");
    app.main->HandOnDestination(dir.path());
    auto* edit = app.Find<QLineEdit>("EditDatSeite1");
    // The chooser opens with the current name selected, so OK without a change keeps it.
    app.session.Settings().files.starting_page_file = "start.htm";
    app.main->RefreshFromModel();
    QStringList preselected;
    app.prompts.onExec = [&](QDialog* d) {
        for (const QListWidgetItem* item :
             static_cast<TFileSelectDlg*>(d)->FileListBox()->selectedItems())
            preselected << item->text();
        return int(QDialog::Accepted);
    };
    app.Find<QToolButton>("SpeedButtonDatSeite1")->click();
    QCOMPARE(preselected, QStringList{"start.htm"});
    QCOMPARE(edit->text(), QString("start.htm"));
    QVERIFY(!app.session.Modified);

    app.prompts.onExec = [](QDialog* d) {
        auto* dlg = static_cast<TFileSelectDlg*>(d);
        dlg->FileListBox()->setCurrentRow(1);
        return int(QDialog::Accepted);
    };
    app.Find<QToolButton>("SpeedButtonDatSeite1")->click();
    QCOMPARE(edit->text(), QString("zwei.htm"));
    QCOMPARE(app.session.Settings().files.starting_page_file, std::string("zwei.htm"));
    QVERIFY(app.session.Modified);

    // OK with nothing selected empties the field.
    app.prompts.onExec = [](QDialog* d) {
        static_cast<TFileSelectDlg*>(d)->FileListBox()->clearSelection();
        return int(QDialog::Accepted);
    };
    app.Find<QToolButton>("SpeedButtonDatSeite1")->click();
    QCOMPARE(edit->text(), QString());
    // Cancel changes nothing.
    edit->setText("bleibt.htm");
    app.prompts.onExec = [](QDialog*) { return int(QDialog::Rejected); };
    app.Find<QToolButton>("SpeedButtonDatSeite1")->click();
    QCOMPARE(edit->text(), QString("bleibt.htm"));
}

void MainFormTest::tabRulesAfterLoading() {
    AppFixture app;
    QTabWidget* tabs = app.main->PageControl();
    auto visible = [&](const char* name) {
        return tabs->isTabVisible(tabs->indexOf(app.Find(name)));
    };
    QVERIFY(visible("tsNavigation"));
    QVERIFY(!visible("tsSitemap"));
    QCOMPARE(tabs->currentWidget(), app.Find("Zielverzeichnis"));

    QTemporaryDir dir;
    const QString file = dir.filePath("p.plp");
    WriteFile(
        file,
        "[content-page]\r\nempty-pages=0\r\ntab-template-pages=1\r\n[sitemap]\r\nmake-sitemap=1\r\n"
        "[frameset]\r\nframetop=1\r\nframeoption=0\r\n[files]\r\ndestination-directory=/gibt/es/"
        "nicht\r\n");
    tabs->setCurrentWidget(app.Find("Dateien"));
    app.main->OpenProject(file);
    QVERIFY(!visible("tsNavigation"));
    QVERIFY(visible("tsSitemap"));
    QCOMPARE(tabs->currentWidget(), app.Find("Zielverzeichnis"));
    QVERIFY(!app.Find("EditDatOben")->isHidden());
    QVERIFY(app.Find("EditDatUnten")->isHidden());
    QVERIFY(app.Find("ComboBoxFSetRahmenBreite")->isHidden());
    QCOMPARE(app.prompts.messages, QStringList{"Das Verzeichnis /gibt/es/nicht existiert nicht!"});
    QCOMPARE(app.Find<QLineEdit>("EditDir")->text(), QString());
    QVERIFY(!app.Find("SpeedButtonDatFSet")->isEnabled());
}

void MainFormTest::sitemapExtraFilesFromChooser() {
    AppFixture app;
    QTemporaryDir dir;
    for (const char* n : {"a.htm", "b.htm", "c.htm", "d.htm"}) WriteFile(dir.filePath(n), "x");
    app.main->HandOnDestination(dir.path());
    app.session.Settings().sitemap.extra_files = {"alt.htm"};
    app.main->RefreshFromModel();
    app.prompts.onExec = [](QDialog* d) {
        auto* list = static_cast<TFileSelectDlg*>(d)->FileListBox();
        for (int row : {0, 2, 3}) list->item(row)->setSelected(true);
        return int(QDialog::Accepted);
    };
    app.Find<QToolButton>("sbMapOtherFiles")->click();
    QCOMPARE(app.session.Settings().sitemap.extra_files,
             (std::vector<std::string>{"alt.htm", "a.htm", "c.htm", "d.htm"}));
    QVERIFY(app.session.Modified);
    QCOMPARE(app.fileSelect->FileListBox()->selectionMode(), QAbstractItemView::SingleSelection);

    app.session.Modified = false;
    app.prompts.onExec = [](QDialog*) { return int(QDialog::Rejected); };
    app.Find<QToolButton>("sbMapOtherFiles")->click();
    QCOMPARE(app.session.Settings().sitemap.extra_files.size(), size_t(4));
    QVERIFY(app.session.Modified);  // cancelling marks the project changed as well
}

void MainFormTest::previewMessages() {
    AppFixture app;
    app.main->Preview();
    QCOMPARE(
        app.prompts.messages,
        QStringList{
            "Geben Sie im Register Dateien das Zielverzeichnis und den Frameset-Dateinamen an"});
    QTemporaryDir dir;
    app.main->HandOnDestination(dir.path());
    // Emptying the field later keeps the folder the preview uses.
    app.main->HandOnDestination(QString());
    app.prompts.messages.clear();
    app.main->Preview();
    QCOMPARE(app.prompts.messages,
             QStringList{"Kann Datei " + dir.path() + "/index.htm nicht öffnen"});
}

void MainFormTest::commandsCarryNamesAndHints() {
    AppFixture app;
    struct Case {
        const char* button;
        const char* menuText;
        const char* shortHint;
        const char* longHint;
    };
    const Case cases[] = {
        {"SpeedButton1", "&Neues Projekt", "Neu", "Eine neue Datei erzeugen"},
        {"SpeedButton2", "Projekt &Öffnen...", "Öffnen", nullptr},
        {"SaveButton", "Projekt &Speichern", "Speichern", nullptr},
        {"SaveAsButton", "Projekt Speichern &Unter...", "Speichern unter", nullptr},
        {"ErstellenButton", "Erstellen...", nullptr, nullptr},
        {"WebAnsichtButton", "&Vorschau", "Vorschau", nullptr}};
    for (const Case& c : cases) {
        auto* button = app.Find<QToolButton>(c.button);
        QVERIFY2(button && button->defaultAction(), c.button);
        QAction* a = button->defaultAction();
        QCOMPARE(a->text(), QString::fromUtf8(c.menuText));
        if (c.shortHint) QCOMPARE(a->toolTip(), QString::fromUtf8(c.shortHint));
        if (c.longHint) QCOMPARE(a->statusTip(), QString::fromUtf8(c.longHint));
        QVERIFY(!a->statusTip().isEmpty());
    }
    QCOMPARE(app.main->windowTitle(), QString("pagloom: [neues Projekt]"));
}

void MainFormTest::startOpensTheCommandLineProject() {
    QTemporaryDir dir;
    const QString file = dir.filePath("start.plp");
    WriteFile(file, "[frameset]\r\ntitel=Vom Start\r\n");
    AppFixture app({}, file);
    QCOMPARE(app.main->windowTitle(), "pagloom: " + file);
    QCOMPARE(app.session.Settings().frameset.titel, std::string("Vom Start"));
    QCOMPARE(app.main->PageControl()->currentWidget(), app.Find("Zielverzeichnis"));
    QVERIFY(!app.session.Modified);
    // Only the first activation opens it.
    app.session.Settings().frameset.titel = "Geändert";
    app.main->FirstActivate();
    QCOMPARE(app.session.Settings().frameset.titel, std::string("Geändert"));
}

// A start file that is no project is refused with its message; the window then shows a new
// project, filled in, as without a start file.
void MainFormTest::refusedStartFileLeavesANewProject() {
    QTemporaryDir dir;
    const QString file = dir.filePath("katalog.csv");
    WriteFile(file, "Haupt;Unter\r\nGarten;Werkzeug\r\n");
    AppFixture app({}, file);
    QCOMPARE(app.prompts.messages, QStringList{file + " ist keine Projektdatei!"});
    QCOMPARE(app.main->windowTitle(), QString("pagloom: [neues Projekt]"));
    QCOMPARE(app.main->PageControl()->currentWidget(), app.Find("Zielverzeichnis"));
    auto* frameset = app.Find<QLineEdit>("EditDatFSet");
    QVERIFY(frameset);
    QCOMPARE(frameset->text(), Q(app.session.Settings().files.frameset_file));
    QVERIFY(!frameset->text().isEmpty());
}

void MainFormTest::startFileOpensOnceShownWithoutActivation() {
    QTemporaryDir dir;
    const QString file = dir.filePath("start.plp");
    WriteFile(file, "[frameset]\r\ntitel=Vom Start\r\n");
    ScriptedPrompts prompts;
    AppHost host(prompts, PathS(dir.path()));
    DiskFileSystem disk;
    ProjectSession session(disk, host);
    TMainForm main(session, prompts, host, dir.path());
    main.SetStartFile(file);
    // A desktop without a window manager, or one withholding the focus, never activates it.
    struct NoActivation : QObject {
        bool eventFilter(QObject*, QEvent* e) override {
            return e->type() == QEvent::WindowActivate;
        }
    } noActivation;
    main.installEventFilter(&noActivation);
    main.show();
    QTRY_COMPARE(main.windowTitle(), "pagloom: " + file);
    QCOMPARE(session.Settings().frameset.titel, std::string("Vom Start"));

    // Showing the window again opens nothing again.
    session.Settings().frameset.titel = "Geändert";
    main.hide();
    main.show();
    QTest::qWait(20);
    QCOMPARE(session.Settings().frameset.titel, std::string("Geändert"));
}

void MainFormTest::hiddenTabsAreUnreachable() {
    AppFixture app;
    app.ShowActive();
    auto* tabs = static_cast<PageTabs*>(app.main->PageControl());
    // Every page reached by stepping from the first or the last visible page, twice round.
    auto reached = [&](bool forward, const std::function<void()>& step) {
        QList<int> shown;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabVisible(i)) shown << i;
        tabs->setCurrentIndex(forward ? shown.first() : shown.last());
        QSet<QString> names = {tabs->currentWidget()->objectName()};
        for (int i = 0; i < 2 * tabs->count(); ++i) {
            step();
            names << tabs->currentWidget()->objectName();
        }
        return names;
    };
    struct Step {
        const char* name;
        bool forward;
        std::function<void()> step;
    };
    const Step steps[] = {
        {"Ctrl+Tab", true, [&] { QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier); }},
        {"Ctrl+Shift+Tab", false,
         [&] { QTest::keyClick(tabs, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier); }},
        {"Right on the tab bar", true, [&] { QTest::keyClick(tabs->tabBar(), Qt::Key_Right); }},
        {"Left on the tab bar", false, [&] { QTest::keyClick(tabs->tabBar(), Qt::Key_Left); }},
        {"wheel on the tab bar", true,
         [&] {
             const QPointF at = tabs->tabBar()->rect().center();
             QWheelEvent wheel(at, tabs->tabBar()->mapToGlobal(at), {}, QPoint(0, -120),
                               Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
             QApplication::sendEvent(tabs->tabBar(), &wheel);
         }},
        {"next page", true, [&] { tabs->SelectNextPage(true); }},
        {"previous page", false, [&] { tabs->SelectNextPage(false); }},
    };
    const QSet<QString> withNavigation = {"Zielverzeichnis", "FrameSet", "Dateien",
                                          "tsNavigation",    "tsFont",   "tsText",
                                          "tsPosition",      "tsBorder", "tsBackground"};
    for (const Step& s : steps) QVERIFY2(reached(s.forward, s.step) == withNavigation, s.name);
    // Choosing a hidden page from code leaves the current one.
    tabs->setCurrentWidget(app.Find("Dateien"));
    tabs->setCurrentWidget(app.Find("tsSitemap"));
    QCOMPARE(tabs->currentWidget(), app.Find("Dateien"));

    // A table-driven project with a sitemap hides "Navigation" and shows "Sitemap".
    QTemporaryDir dir;
    const QString file = dir.filePath("p.plp");
    WriteFile(file,
              "[content-page]\r\nempty-pages=0\r\ntab-template-pages=1\r\n[sitemap]\r\nmake-"
              "sitemap=1\r\n");
    app.main->OpenProject(file);
    const QSet<QString> withSitemap = {"Zielverzeichnis", "FrameSet",    "Dateien", "tsTabelle",
                                       "tsSitemap",       "tsFont",      "tsText",  "tsPosition",
                                       "tsBorder",        "tsBackground"};
    for (const Step& s : steps) QVERIFY2(reached(s.forward, s.step) == withSitemap, s.name);
}

void MainFormTest::quitShortcut() {
    AppFixture app;
    app.ShowActive();
    QAction* quit = nullptr;
    for (QAction* menu : app.main->menuBar()->actions())
        if (menu->text() == "&Datei")
            for (QAction* a : menu->menu()->actions())
                if (a->text() == "&Beenden") quit = a;
    QVERIFY(quit);
    QCOMPARE(quit->shortcut(), QKeySequence("Ctrl+Q"));
    QTest::keyClick(app.main.get(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!app.main->isVisible());
}

void MainFormTest::recentProjectsInTheFileMenu() {
    // The list lives in the test's own settings folder, not in the user's.
    QVERIFY2(RecentProjectsStore().startsWith(UserSettingsDir().path() + u'/'),
             qPrintable(RecentProjectsStore()));
    for (const QString& f : RecentProjects()) ForgetRecentProject(f);
    QTemporaryDir dir;
    auto project = [&](int n) { return dir.filePath(QStringLiteral("p%1.plp").arg(n)); };
    for (int n = 1; n <= 10; ++n)
        WriteFile(project(n), "[frameset]\r\ntitel=Projekt " + QByteArray::number(n) + "\r\n");

    AppFixture app;
    auto* recent = app.main->findChild<QMenu*>("mnZuletztGeoeffnet");
    QVERIFY(recent);
    QVERIFY(!recent->isEnabled());
    QAction* dateiMenu = app.main->menuBar()->actions().value(0);
    QCOMPARE(dateiMenu->text(), QString("&Datei"));
    QVERIFY(dateiMenu->menu()->actions().contains(recent->menuAction()));
    QCOMPARE(recent->title(), QString("&Zuletzt geöffnet"));
    auto entries = [&] {
        QStringList out;
        for (QAction* a : recent->actions()) out << a->text();
        return out;
    };

    // Opened and saved files go first; eight are kept.
    for (int n = 1; n <= 9; ++n) {
        app.prompts.files = {project(n)};
        app.main->FileOpen();
    }
    QVERIFY(recent->isEnabled());
    QStringList expected;
    for (int n = 9; n >= 2; --n) expected << QStringLiteral("&%1 ").arg(10 - n) + project(n);
    QCOMPARE(entries(), expected);

    // An entry opens its project after the save question; it moves to the front.
    app.session.Modified = true;
    app.prompts.answers = {Answer::No};
    recent->actions().at(4)->trigger();  // p5
    QCOMPARE(app.prompts.questions, QStringList{"Projekt vorher speichern?"});
    QCOMPARE(app.main->windowTitle(), "pagloom: " + project(5));
    QCOMPARE(RecentProjects().first(), project(5));
    app.prompts.files = {project(10)};
    app.main->FileSaveAs();
    QCOMPARE(RecentProjects().mid(0, 3), (QStringList{project(10), project(5), project(9)}));
    QCOMPARE(RecentProjects().size(), kRecentProjectCount);

    // A file that is gone is dropped with a note; the open project stays, nothing is asked.
    QVERIFY(QFile::remove(project(9)));
    app.prompts.questions.clear();
    app.session.Modified = true;
    recent->actions().at(2)->trigger();
    QCOMPARE(app.prompts.messages,
             QStringList{"Die Projektdatei „" + project(9) +
                         "“ gibt es nicht mehr. Sie wird aus der Liste „Zuletzt geöffnet“ "
                         "entfernt."});
    QVERIFY(app.prompts.questions.isEmpty());
    QCOMPARE(app.main->windowTitle(), "pagloom: " + project(10));
    QVERIFY(!RecentProjects().contains(project(9)));
    QCOMPARE(entries().size(), kRecentProjectCount - 1);

    // The next run of the program offers the same list, the start file first.
    const QStringList before = RecentProjects();
    AppFixture next({}, project(3));
    auto* nextRecent = next.main->findChild<QMenu*>("mnZuletztGeoeffnet");
    QCOMPARE(nextRecent->actions().size(), before.size());
    QCOMPARE(nextRecent->actions().first()->text(), "&1 " + project(3));
    QStringList after = before;
    after.removeAll(project(3));
    after.prepend(project(3));
    QCOMPARE(RecentProjects(), after);
}

// Opening a project reads its tables on a thread of its own: meanwhile the window takes no
// input and soon says what it does; afterwards the project is open as before.
void MainFormTest::openingReadsTheTablesBesideTheWindow() {
    QTemporaryDir dir;
    const QString csv = dir.filePath("t.csv");
    WriteFile(csv, "Name;Preis\nRose;3\nTulpe;2\n");
    const QString plp = dir.filePath("tabelle.plp");
    {
        RecordingHost host;
        DiskFileSystem disk;
        ProjectDocument doc(disk, host);
        doc.New();
        QVERIFY(SetASCIITab(doc.project, doc.Tables(), ContentSlot::mainmenu,
                            TableChoice{kCsvTable, PathS(dir.path()), "t.csv", '"', ';', true},
                            host));
        QVERIFY(doc.SaveAs(PathS(plp)));
    }
    AppFixture app;
    app.ShowActive();
    BuildPause pause;
    const std::string held = PathS(csv);
    pause.when = [&](const std::string& path) { return path == held; };
    app.disk.onRead = std::ref(pause);
    QString busyText;
    QList<int> barRanges;
    int tabWhileHeld = -1;
    QTimer::singleShot(0, app.main.get(), [&] {
        QVERIFY(pause.WaitUntilHeld());
        QProgressDialog* busy = nullptr;
        QTRY_VERIFY((busy = app.main->findChild<QProgressDialog*>("BusyProgress")) &&
                    busy->isVisible());
        busyText = busy->labelText();
        // Before its reader knows the table's size the bar only says it is busy; then it
        // follows the reader's count. (No early return here: the read must be resumed.)
        ReadProgress& read = app.session.Tables().Progress();
        barRanges << busy->maximum();
        read.Start(400);
        read.Set(100);
        (void)QTest::qWaitFor([&] { return busy->value() == 25; });
        barRanges << busy->maximum() << busy->value();
        read.Start(0);
        (void)QTest::qWaitFor([&] { return busy->maximum() == 0; });
        barRanges << busy->maximum();
        // A click on another tab is not taken while the project changes under the window.
        QTabBar* tabs = app.main->PageControl()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        tabWhileHeld = app.main->PageControl()->currentIndex();
        pause.Resume();
    });
    QVERIFY(app.main->OpenProject(plp));
    QCOMPARE(busyText, QStringLiteral("Projekt tabelle.plp wird geöffnet …"));
    QCOMPARE(barRanges, (QList<int>{0, 100, 25, 0}));
    QCOMPARE(tabWhileHeld, 0);
    QVERIFY(!app.main->findChild<QProgressDialog*>("BusyProgress"));
    QCOMPARE(app.session.ProjectFileName(), plp);
    QCOMPARE(app.session.Tables().Memory(ContentSlot::mainmenu).Rows().RowCount(), size_t(2));
    QVERIFY(app.prompts.messages.isEmpty());
    // Input is taken again.
    QTabBar* tabs = app.main->PageControl()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(app.main->PageControl()->currentIndex(), 1);
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
