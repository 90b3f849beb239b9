// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "AppTestSupport.h"
#include "model/TWebMenu.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class OptionsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void tenPagesInOrder();
    void enableRules_data();
    void enableRules();
    void noscriptNeedsFrameAndSwitch();
    void switchingOnClearsSwitches_data();
    void switchingOnClearsSwitches();
    void closeCheckAsksForTemplate();
    void abbruchRestoresSnapshotButKeepsMargins();
    void marginValidation();
    void tagExamples();
    void closingAppliesTabRulesAndRegionPreset();
    void fitsOverTheMainWindow();
    void switchingAHandMadeMenuToTablesAsks();
};

namespace {

// Runs the dialog modally; `user` acts while it is open and closes it.
void RunDialog(AppFixture& app, std::function<void(TProOptDlg&)> user) {
    app.prompts.onExec = [&app, user](QDialog* d) {
        d->show();
        QApplication::setActiveWindow(d);
        user(*static_cast<TProOptDlg*>(d));
        const int r = d->isVisible() ? -1 : d->result();
        d->hide();
        return r;
    };
    app.main->OptionenItemClick();
}

bool Enabled(AppFixture& app, const char* name) { return app.Find(name)->isEnabled(); }
bool Checked(AppFixture& app, const char* name) {
    return app.Find<QAbstractButton>(name)->isChecked();
}

}  // namespace

void OptionsDialogTest::tenPagesInOrder() {
    AppFixture app;
    QTabWidget* pages = app.options->Pages();
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i) captions << pages->tabText(i);
    QCOMPARE(captions, (QStringList{"FrameSet", "Stylesheet", "Javascript", "Menueframe",
                                    "Oberer Frame", "Unterer Frame", "Erste Seite",
                                    "Inhalts-Seiten", "Sitemap", "Tabellen"}));
}

void OptionsDialogTest::enableRules_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    const QStringList empty = {"CBMenTextTitel", "CBMenTextInhalt", "CBUeberschreibenLeer"};
    const QStringList temp = {"TempFileLabel", "TempFileEdit", "TempFileButton",
                              "CBUeberschreibenVorlage"};
    const QStringList dw = {"DWTempFileLabel", "DWTempFileEdit", "DWTempFileButton",
                            "CBUeberschreibenDWVorlage", "cbDWEditableOverwrite"};
    const QStringList tab = {"CBUeberschreibenTab", "cbTabDWEditableOverwrite"};
    QTest::newRow("keine") << "MakeTempOff" << QStringList{} << empty + temp + dw + tab;
    QTest::newRow("leer") << "MakeTempOn" << empty << temp + dw + tab;
    QTest::newRow("vorlage") << "MakeTempFile" << temp << empty + dw + tab;
    QTest::newRow("dreamweaver") << "MakeDWTempFile" << dw << empty + temp + tab;
    QTest::newRow("tabellen") << "MakeTabFile" << tab << empty + temp + dw;
    QTest::newRow("frameset an") << "MakeFramesetOn" << QStringList{"CBUeberschreibenFrameset"}
                                 << QStringList{};
    QTest::newRow("frameset aus") << "MakeFramesetOff" << QStringList{}
                                  << QStringList{"CBUeberschreibenFrameset"};
    QTest::newRow("css aus") << "MakeCSSOff" << QStringList{} << QStringList{"CBUeberschreibenCSS"};
    QTest::newRow("js aus") << "MakeJSOff" << QStringList{} << QStringList{"CBUeberschreibenJS"};
    QTest::newRow("oben aus") << "MakeOFrameOff" << QStringList{}
                              << QStringList{"CBUeberschreibenOFrame"};
    QTest::newRow("unten an") << "MakeUFrameOn" << QStringList{"CBUeberschreibenUFrame"}
                              << QStringList{};
    QTest::newRow("erste aus") << "MakeFirstPageOff" << QStringList{}
                               << QStringList{"CBUeberschreibenFirstPage", "CBFirstFromTemp"};
    QTest::newRow("menueframe aus") << "MakeMFrameOff" << QStringList{}
                                    << QStringList{"CBUeberschreibenMFrame", "CBMakeIncludeMFrame"};
}

void OptionsDialogTest::enableRules() {
    QFETCH(QString, choice);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    AppFixture app;
    // Make every other choice of the group selected first, so each row really switches.
    app.options->RefreshFromModel();
    app.Find<QRadioButton>(choice.toLatin1().constData())->click();
    for (const QString& n : enabled)
        QVERIFY2(Enabled(app, n.toLatin1().constData()), qPrintable(n));
    for (const QString& n : disabled)
        QVERIFY2(!Enabled(app, n.toLatin1().constData()), qPrintable(n));
}

void OptionsDialogTest::noscriptNeedsFrameAndSwitch() {
    AppFixture app;
    const char* radios[] = {"RBMakeIFrameMFrame", "RBMakeServerSideIncludeMFrame",
                            "RBMakePHPIncludeMFrame"};
    for (const char* r : radios) QVERIFY(!Enabled(app, r));
    app.Find<QCheckBox>("CBMakeIncludeMFrame")->click();
    for (const char* r : radios) QVERIFY(Enabled(app, r));
    QVERIFY(app.session.Settings().menu_frame.noscript);

    // A project with the switch on but no menu frame: checked, yet disabled with its radios.
    QTemporaryDir dir;
    QFile f(dir.filePath("p.plp"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[menu-frame]\r\nno-frame=1\r\nempty-frame=0\r\nnoscript=1\r\nnoscript-PHP=1\r\n");
    f.close();
    app.main->OpenProject(f.fileName());
    QVERIFY(Checked(app, "CBMakeIncludeMFrame"));
    QVERIFY(!Enabled(app, "CBMakeIncludeMFrame"));
    QVERIFY(Checked(app, "RBMakePHPIncludeMFrame"));
    for (const char* r : radios) QVERIFY(!Enabled(app, r));
}

void OptionsDialogTest::switchingOnClearsSwitches_data() {
    QTest::addColumn<QString>("off");
    QTest::addColumn<QString>("on");
    QTest::addColumn<QStringList>("cleared");
    QTest::newRow("css") << "MakeCSSOff"
                         << "MakeCSSOn" << QStringList{"CBUeberschreibenCSS"};
    QTest::newRow("frameset") << "MakeFramesetOff"
                              << "MakeFramesetOn" << QStringList{"CBUeberschreibenFrameset"};
    QTest::newRow("erste") << "MakeFirstPageOff"
                           << "MakeFirstPageOn"
                           << QStringList{"CBUeberschreibenFirstPage", "CBFirstFromTemp"};
    QTest::newRow("dreamweaver") << "MakeTempOn"
                                 << "MakeDWTempFile"
                                 << QStringList{"CBUeberschreibenDWVorlage",
                                                "cbDWEditableOverwrite"};
    QTest::newRow("tabellen") << "MakeTempOn"
                              << "MakeTabFile"
                              << QStringList{"CBUeberschreibenTab", "cbTabDWEditableOverwrite"};
}

void OptionsDialogTest::switchingOnClearsSwitches() {
    QFETCH(QString, off);
    QFETCH(QString, on);
    QFETCH(QStringList, cleared);
    AppFixture app;
    // The switches are on in the project while the choice is off.
    ProjectSettings& s = app.session.Settings();
    s.css.overwrite_css = s.frameset.empty_overwrite = true;
    s.firstpage.overwrite_firstpage = s.firstpage.firstpage_from_template = true;
    s.content_page.dw_template_update = s.content_page.dw_editable_overwrite = true;
    s.content_page.tab_overwrite = s.content_page.tab_dw_editable_overwrite = true;
    app.options->RefreshFromModel();
    app.Find<QRadioButton>(off.toLatin1().constData())->click();
    for (const QString& n : cleared) QVERIFY(Checked(app, n.toLatin1().constData()));
    app.Find<QRadioButton>(on.toLatin1().constData())->click();
    for (const QString& n : cleared) {
        QVERIFY2(!Checked(app, n.toLatin1().constData()), qPrintable(n));
        QVERIFY2(Enabled(app, n.toLatin1().constData()), qPrintable(n));
    }
    QVERIFY(!s.css.overwrite_css || on != "MakeCSSOn");
    QVERIFY(!s.content_page.tab_overwrite || on != "MakeTabFile");
}

void OptionsDialogTest::closeCheckAsksForTemplate() {
    AppFixture app;
    const QString question =
        "Sie haben keine Vorlage angegeben! Wollen Sie jetzt eine Vorlage auswählen?";
    // Yes, then the file dialog cancelled: the dialog stays open. No: it closes, name empty.
    app.prompts.answers = {Answer::Yes, Answer::No};
    app.prompts.files = {QString()};
    bool stayedOpen = false;
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeTempFile")->click();
        d.OkClick();
        stayedOpen = d.isVisible();
        d.OkClick();
    });
    QVERIFY(stayedOpen);
    QVERIFY(!app.session.Modified);
    QCOMPARE(app.prompts.questions, (QStringList{question, question}));
    QCOMPARE(app.prompts.openFilters, QStringList{"HTML (*.htm *.html)"});
    QVERIFY(app.session.Settings().content_page.template_file.empty());

    // Yes with a chosen file puts it into the field and keeps the dialog open once more.
    app.prompts.questions.clear();
    app.prompts.openFilters.clear();
    app.prompts.answers = {Answer::Yes};
    app.prompts.files = {"/vorlagen/seite.dwt"};
    QString shown;
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeDWTempFile")->click();
        d.OkClick();
        shown = app.Find<QLineEdit>("DWTempFileEdit")->text();
        d.OkClick();
    });
    QCOMPARE(app.prompts.questions.size(), 1);
    QVERIFY(
        app.prompts.questions.first().startsWith("Sie haben keine Dreamweaver-Vorlage angegeben!"));
    QCOMPARE(app.prompts.openFilters, QStringList{"Dreamweaver-Template  (*.dwt)"});
    QCOMPARE(shown, QString("/vorlagen/seite.dwt"));
    QCOMPARE(app.session.Settings().content_page.dw_template_file,
             std::string("/vorlagen/seite.dwt"));
    // The template chosen there is a change that the save question must not miss.
    QVERIFY(app.session.Modified);
}

void OptionsDialogTest::abbruchRestoresSnapshotButKeepsMargins() {
    AppFixture app;
    ProjectSettings& s = app.session.Settings();
    s.content_page.empty_overwrite = true;
    app.options->RefreshFromModel();
    QVERIFY(!app.session.Modified);
    RunDialog(app, [&](TProOptDlg& d) {
        QTest::mouseClick(app.Find<QRadioButton>("MakeTempOff"), Qt::LeftButton);
        QTest::mouseClick(app.Find<QRadioButton>("MakeTempFile"), Qt::LeftButton);
        app.Find<QCheckBox>("cbTabSZ")->click();
        d.AbbruchClick();
    });
    QVERIFY(s.content_page.source.Is(kEmptyPages));
    QVERIFY(s.content_page.empty_overwrite);
    QVERIFY(app.session.project.Tables.convert.special_sign_unicode);
    QVERIFY(Checked(app, "MakeTempOn"));
    QVERIFY(Checked(app, "CBUeberschreibenLeer"));
    QVERIFY(Enabled(app, "CBUeberschreibenLeer"));
    QVERIFY(!Enabled(app, "TempFileEdit"));
    QVERIFY(!app.session.Modified);
    QVERIFY(app.prompts.questions.isEmpty());

    // A margin is not part of the snapshot: it stays, and so does the changed mark for it.
    RunDialog(app, [&](TProOptDlg& d) {
        auto* margin = app.Find<QLineEdit>("EditMFrameMarginRL");
        margin->setFocus();
        margin->selectAll();
        QTest::keyClicks(margin, "25");
        d.AbbruchClick();
    });
    QCOMPARE(s.frameset.menuframe_marginwidth, 25);
    QVERIFY(app.session.Modified);
}

void OptionsDialogTest::marginValidation() {
    AppFixture app;
    RunDialog(app, [&](TProOptDlg& d) {
        auto* margin = app.Find<QLineEdit>("EditIFrameMarginOU");
        margin->setFocus();
        margin->selectAll();
        QTest::keyClicks(margin, "12a");
        app.Find<QLineEdit>("EditMFrameMarginRL")->setFocus();
        app.main->Tracker().LeaveField();
        QCOMPARE(margin->text(), QString("10"));
        QCOMPARE(app.prompts.beeps, 1);
        margin->setFocus();
        margin->selectAll();
        QTest::keyClicks(margin, "007");
        app.main->Tracker().LeaveField();
        QCOMPARE(margin->text(), QString("7"));
        d.OkClick();
    });
    QCOMPARE(app.session.Settings().frameset.contentframe_marginheight, 7);
    QVERIFY(app.prompts.messages.isEmpty());
}

void OptionsDialogTest::tagExamples() {
    AppFixture app;
    auto* field = app.Find<QLabel>("FieldBspLabel");
    auto* record = app.Find<QLabel>("RecordBspLabel");
    QCOMPARE(field->text(), QString("<FIELD NAME=\"Vorname\">...</FIELD>"));
    QCOMPARE(record->text(), QString("<RECORD>...</RECORD>"));
    auto* brackets = app.Find<QComboBox>("CBTagKlammer");
    brackets->setCurrentIndex(3);
    emit brackets->activated(3);
    QCOMPARE(field->text(), QString("[FIELD NAME=\"Vorname\"]...[/FIELD]"));
    QCOMPARE(record->text(), QString("[RECORD]...[/RECORD]"));
    QCOMPARE(app.session.project.Tables.tag_item_index, 3);
    brackets->setCurrentIndex(4);
    emit brackets->activated(4);
    QCOMPARE(record->text(), QString("«RECORD»...«/RECORD»"));

    app.ShowActive();
    RunDialog(app, [&](TProOptDlg& d) {
        d.Pages()->setCurrentIndex(9);
        auto* edit = app.Find<QLineEdit>("FieldTagEdit");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "  FELD  ");
        QCOMPARE(edit->text(), QString("FELD"));
        d.OkClick();
    });
    QCOMPARE(app.session.project.Tables.field_tag_name, std::string("FELD"));
    QCOMPARE(field->text(), QString("«FELD NAME=\"Vorname\"»...«/FELD»"));
}

void OptionsDialogTest::closingAppliesTabRulesAndRegionPreset() {
    AppFixture app;
    QTabWidget* tabs = app.main->PageControl();
    auto visible = [&](const char* name) {
        return tabs->isTabVisible(tabs->indexOf(app.Find(name)));
    };
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QCheckBox>("CBMakeSitemap")->click();
        app.Find<QRadioButton>("MakeTabFile")->click();
        app.Find<QCheckBox>("cbTabDWEditableOverwrite")->click();
        d.OkClick();
    });
    QVERIFY(visible("tsSitemap"));
    QVERIFY(!visible("tsNavigation"));
    // The region choice is no longer handed on here: the build dialog presets it from the
    // project each time it is shown (MakeFormTest).

    // The window's close box keeps the changes, as OK does.
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QCheckBox>("CBMakeSitemap")->click();
        d.close();
    });
    QVERIFY(!visible("tsSitemap"));
    QVERIFY(!app.session.Settings().sitemap.make_sitemap);
}

void OptionsDialogTest::fitsOverTheMainWindow() {
    AppFixture app;
    app.ShowActive();
    const QSize mainSize = app.main->size();
    QSize shown;
    QStringList captions;
    QStringList cut;
    RunDialog(app, [&](TProOptDlg& d) {
        shown = d.size();
        QTabBar* bar = d.Pages()->tabBar();
        // Every page fits as well, not only the first one shown.
        for (int i = 0; i < d.Pages()->count(); ++i) {
            d.Pages()->setCurrentIndex(i);
            shown = shown.expandedTo(d.sizeHint());
            captions << bar->tabText(i);
            if (!bar->rect().contains(bar->tabRect(i))) cut << bar->tabText(i);
        }
        // No scroll arrows: the whole row is in view.
        for (const QToolButton* b : bar->findChildren<QToolButton*>())
            if (b->isVisible()) cut << QStringLiteral("scroll arrows");
        d.OkClick();
    });
    QVERIFY2(shown.width() <= mainSize.width(),
             qPrintable(QString("%1 > %2").arg(shown.width()).arg(mainSize.width())));
    QVERIFY2(shown.height() <= mainSize.height(),
             qPrintable(QString("%1 > %2").arg(shown.height()).arg(mainSize.height())));
    QCOMPARE(captions.size(), 10);
    QCOMPARE(app.options->Pages()->elideMode(), Qt::ElideNone);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
}

void OptionsDialogTest::switchingAHandMadeMenuToTablesAsks() {
    AppFixture app;
    TWebMenu& menu = app.session.project.MainMenu;
    menu.Add(TWebMenu::NewMainItem("Start", "start.htm", true));
    menu.Add(TWebMenu::NewMainItem("Produkte", "produkte.htm", true))
        .SubMenu->Add(TWebMenu::NewSubItem("Sägen", "saegen.htm", true));
    const QString question = QStringLiteral(
        "Das Menü dieses Projekts hat 3 von Hand angelegte Einträge (Register „Navigation“). Mit "
        "Inhalts-Seiten aus Tabellen ersetzt das nächste Erstellen das Menü durch die Kategorien "
        "der Tabelle, und das nächste Speichern übernimmt das.\n\nTrotzdem auf Seiten aus "
        "Tabellen umstellen?");
    int afterNo = 0, afterYes = 0;
    QString pageAfterNo;
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeTabFile")->click();
        d.Pages()->setCurrentIndex(0);
        // Nein: the dialog stays, on the page of the switch, which is still set.
        app.prompts.answers = {Answer::No};
        d.OkClick();
        afterNo = d.isVisible();
        pageAfterNo = d.Pages()->tabText(d.Pages()->currentIndex());
        app.prompts.answers = {Answer::Yes};
        d.close();  // the close box asks as OK does
        afterYes = d.isVisible();
    });
    QCOMPARE(app.prompts.questions, (QStringList{question, question}));
    QVERIFY(afterNo);
    QCOMPARE(pageAfterNo, QString("Inhalts-Seiten"));
    QVERIFY(!afterYes);
    QVERIFY(app.session.Settings().TablesDrive());
    QCOMPARE(menu.Count(), 2);  // the menu itself stays until a build replaces it

    // No question: already from tables when opened, Abbruch, or a menu without entries.
    app.prompts.questions.clear();
    RunDialog(app, [&](TProOptDlg& d) { d.OkClick(); });
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeTempOn")->click();
        d.OkClick();
    });
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeTabFile")->click();
        d.AbbruchClick();
    });
    QVERIFY(!app.session.Settings().TablesDrive());
    menu.Clear();
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeTabFile")->click();
        d.OkClick();
    });
    QVERIFY(app.session.Settings().TablesDrive());
    QVERIFY(app.prompts.questions.isEmpty());

    // A single entry is named as one.
    app.main->NewProject();
    menu.Add(TWebMenu::NewMainItem("Start", "start.htm", true));
    RunDialog(app, [&](TProOptDlg& d) {
        app.Find<QRadioButton>("MakeTabFile")->click();
        app.prompts.answers = {Answer::Yes};
        d.OkClick();
    });
    QCOMPARE(app.prompts.questions.size(), 1);
    QVERIFY(app.prompts.questions[0].startsWith(
        "Das Menü dieses Projekts hat einen von Hand angelegten Eintrag (Register"));
}

// The windows are measured on the screen the program is made for, 1280 by 1024 pixels, not
// on the offscreen platform's default 800 by 600.
int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        const QString config = dir.filePath(QStringLiteral("screen.json"));
        QFile f(config);
        if (f.open(QIODevice::WriteOnly))
            f.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1280,
                "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        f.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    }
    QApplication qapp(argc, argv);
    OptionsDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OptionsDialogTest.moc"
