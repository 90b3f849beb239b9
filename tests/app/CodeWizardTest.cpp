// SPDX-License-Identifier: MIT
// The code wizard driven through its widgets: opening for a slot, moving fields, the code the
// choices give, copying, and saving a template.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "tables/TableTab.h"
#include "tables/TfmTabCodeWizard.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class CodeWizardTest : public QObject {
    Q_OBJECT
  private slots:
    void openingFillsTheFieldsSortedAndShowsTheWindow();
    void aSlotWithoutTableDoesNotOpenTheWindow();
    void transfersMoveSelectedFieldsAndReselect();
    void choicesGiveTheCodeAndKeepTheirValuesForTheNextOpening();
    void copiesTheWholeCodeWhenNothingIsSelected();
    void savesATemplateByItsExtension();
    void makesATemplateBesideTheProjectAndOffersIt();
    void doubleClickMovesAFieldLikeTheArrows();
};

namespace {

// A project whose main-menu slot holds a CSV table with these fields.
Project ProjectWithFields(const std::vector<std::string>& fields) {
    Project p;
    p.PrjParams.TableKind[ContentSlot::mainmenu] = kCsvTable;
    p.Tables.Slot[ContentSlot::mainmenu].fields = fields;
    p.Tables.Slot[ContentSlot::mainmenu].name_display = "katalog.csv";
    return p;
}

QString Written(const QString& file) {
    return QStringLiteral("Die Vorlage wurde in „%1“ gespeichert.").arg(file);
}

// The scripted user, also noting the file name the save dialog proposes.
struct WizardPrompts : ScriptedPrompts {
    QString SaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filters, const QString& suffix) override {
        proposals << proposed;
        saveFilters = filters;
        return ScriptedPrompts::SaveFile(parent, caption, proposed, filters, suffix);
    }
    QStringList proposals;
    QString saveFilters;
};

struct Wizard {
    WizardPrompts prompts;
    TfmTabCodeWizard window{prompts};
    int opened = 0;
    QDialog* shown = nullptr;  // the dialog handed to Exec last

    // Opens the wizard for the main-menu slot of `p`; `inside` runs while it is shown.
    void Open(const Project& p, const std::function<void()>& inside = {}) {
        prompts.onExec = [this, inside](QDialog* d) {
            ++opened;
            shown = d;
            if (inside) inside();
            return int(QDialog::Rejected);
        };
        window.OpenFor(p, ContentSlot::mainmenu);
    }

    template <typename W>
    W* Get(const char* name) {
        W* w = window.findChild<W*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QListWidget* Src() { return Get<QListWidget>("lbFieldSrc"); }
    QListWidget* Dst() { return Get<QListWidget>("lbFieldDst"); }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
    QPushButton* Command(const QString& text) {
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (QString(b->text()).remove(u'&') == text) return b;  // caption without its key
        qFatal("no button %s", qPrintable(text));
    }
    QRadioButton* Radio(const char* group, int i) {
        return Get<QGroupBox>(group)->findChildren<QRadioButton*>().at(i);
    }
    QString Code() { return Get<QPlainTextEdit>("mmCode")->toPlainText(); }

    static QStringList Items(const QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }
    void Select(QListWidget* list, const QStringList& names) {
        list->clearSelection();
        for (const QString& n : names)
            list->findItems(n, Qt::MatchExactly).first()->setSelected(true);
    }
    // Which of >, >>, <, << are enabled.
    QList<bool> TransferButtons() {
        return {Button("IncludeBtn")->isEnabled(), Button("IncAllBtn")->isEnabled(),
                Button("ExcludeBtn")->isEnabled(), Button("ExAllBtn")->isEnabled()};
    }
};

}  // namespace

void CodeWizardTest::openingFillsTheFieldsSortedAndShowsTheWindow() {
    Wizard w;
    QCOMPARE(w.window.windowTitle(), QStringLiteral("Code-Wizard"));
    w.Open(ProjectWithFields({"Titel", "preis", "Autor"}), [&] {
        QCOMPARE(Wizard::Items(w.Src()), (QStringList{"Autor", "preis", "Titel"}));
        QCOMPARE(Wizard::Items(w.Dst()), QStringList{});
        QCOMPARE(w.TransferButtons(), (QList<bool>{true, true, false, false}));
        QCOMPARE(w.Code(), QString());
        // Layout 0 is chosen: only the field separator is enabled.
        QVERIFY(w.Radio("rgCodeType", 0)->isChecked());
        QVERIFY(w.Radio("rgQuote", 0)->isChecked());
        QVERIFY(w.Get<QComboBox>("cbFieldSplit")->isEnabled());
        QVERIFY(!w.Get<QComboBox>("cbRecSplit")->isEnabled());
        QVERIFY(!w.Get<QComboBox>("cbTabHead")->isEnabled());
        QCOMPARE(w.Get<QComboBox>("cbTabHead")->currentText(), QStringLiteral("nicht erstellen"));
    });
    QCOMPARE(w.opened, 1);
    QCOMPARE(w.shown, &w.window);
}

void CodeWizardTest::aSlotWithoutTableDoesNotOpenTheWindow() {
    Wizard w;
    Project p = ProjectWithFields({"A"});
    p.PrjParams.TableKind[ContentSlot::mainmenu] = kNoneTable;
    w.Open(p);
    QCOMPARE(w.opened, 0);
}

void CodeWizardTest::transfersMoveSelectedFieldsAndReselect() {
    Wizard w;
    w.Open(ProjectWithFields({"Titel", "Preis", "Autor", "Zeit"}), [&] {
        // Preis and Titel together arrive bottom-up; the remembered position stays selected.
        w.Select(w.Src(), {"Preis", "Titel"});
        w.Button("IncludeBtn")->click();
        QCOMPARE(Wizard::Items(w.Dst()), (QStringList{"Titel", "Preis"}));
        QCOMPARE(Wizard::Items(w.Src()), (QStringList{"Autor", "Zeit"}));
        QCOMPARE(w.Src()->currentRow(), 1);
        QCOMPARE(w.Src()->selectedItems().size(), 1);
        QVERIFY(w.Src()->item(1)->isSelected());
        QCOMPARE(w.Code(), QStringLiteral("<FIELD Name='Titel'>Titel</FIELD>\n"
                                          "<FIELD Name='Preis'>Preis</FIELD>"));

        // Back into the sorted list.
        w.Select(w.Dst(), {"Titel"});
        w.Button("ExcludeBtn")->click();
        QCOMPARE(Wizard::Items(w.Src()), (QStringList{"Autor", "Titel", "Zeit"}));
        QCOMPARE(Wizard::Items(w.Dst()), (QStringList{"Preis"}));
        QVERIFY(w.Dst()->item(0)->isSelected());

        w.Button("IncAllBtn")->click();
        QCOMPARE(Wizard::Items(w.Dst()), (QStringList{"Preis", "Autor", "Titel", "Zeit"}));
        QCOMPARE(w.TransferButtons(), (QList<bool>{false, false, true, true}));
        w.Button("ExAllBtn")->click();
        QCOMPARE(Wizard::Items(w.Src()), (QStringList{"Autor", "Preis", "Titel", "Zeit"}));
        QCOMPARE(w.TransferButtons(), (QList<bool>{true, true, false, false}));
    });
}

void CodeWizardTest::choicesGiveTheCodeAndKeepTheirValuesForTheNextOpening() {
    Wizard w;
    w.Open(ProjectWithFields({"Titel", "Preis"}), [&] {
        w.Select(w.Src(), {"Preis"});
        w.Button("IncludeBtn")->click();
        w.Select(w.Src(), {"Titel"});
        w.Button("IncludeBtn")->click();
        auto* fieldSplit = w.Get<QComboBox>("cbFieldSplit");
        fieldSplit->setCurrentIndex(1);  // "[Komma + Leer]"
        QCOMPARE(w.Code(), QStringLiteral("<FIELD Name='Preis'>Preis</FIELD>, \n"
                                          "<FIELD Name='Titel'>Titel</FIELD>"));
        // A typed separator is used as it stands, blanks included.
        fieldSplit->setEditText(QStringLiteral(" | "));
        QCOMPARE(w.Code(), QStringLiteral("<FIELD Name='Preis'>Preis</FIELD> | \n"
                                          "<FIELD Name='Titel'>Titel</FIELD>"));
        QCOMPARE(w.Get<QPlainTextEdit>("mmCode")->textCursor().position(), 0);

        // Layout 3 with paragraphs and the double quote.
        w.Radio("rgCodeType", 3)->click();
        w.Radio("rgQuote", 1)->click();
        QVERIFY(!fieldSplit->isEnabled());
        QVERIFY(w.Get<QComboBox>("cbRecSplit")->isEnabled());
        w.Get<QComboBox>("cbRecSplit")->setCurrentIndex(2);  // "als Absätze (<p>...</p>)"
        QCOMPARE(w.Code(), QStringLiteral("<RECORD><p>\n"
                                          "<FIELD Name=\"Preis\">Preis</FIELD><br>\n"
                                          "<FIELD Name=\"Titel\">Titel</FIELD>\n"
                                          "</p></RECORD>"));

        // Layout 4 with an empty head row; the record separator does not count.
        w.Radio("rgCodeType", 4)->click();
        auto* head = w.Get<QComboBox>("cbTabHead");
        QVERIFY(head->isEnabled());
        head->setCurrentIndex(2);
        emit head->activated(2);
        QCOMPARE(w.Code().split(u'\n'),
                 (QStringList{"<table>", "<tr>", "<th></th>", "<th></th>", "</tr>", "<RECORD>",
                              "<tr>", "<td><FIELD Name=\"Preis\">Preis</FIELD></td>",
                              "<td><FIELD Name=\"Titel\">Titel</FIELD></td>", "</tr>", "</RECORD>",
                              "</table>"}));
    });

    // The next opening refills the lists and keeps every choice; the tags follow the project.
    Project p = ProjectWithFields({"Nr"});
    p.Tables.tag_item_index = kSquareBrackets;
    w.Open(p, [&] {
        QCOMPARE(Wizard::Items(w.Src()), QStringList{"Nr"});
        QCOMPARE(Wizard::Items(w.Dst()), QStringList{});
        QVERIFY(w.Radio("rgCodeType", 4)->isChecked());
        QVERIFY(w.Radio("rgQuote", 1)->isChecked());
        QCOMPARE(w.Get<QComboBox>("cbFieldSplit")->currentText(), QStringLiteral(" | "));
        QCOMPARE(w.Get<QComboBox>("cbRecSplit")->currentText(),
                 QStringLiteral("als Absätze (<p>...</p>)"));
        QCOMPARE(w.Get<QComboBox>("cbTabHead")->currentIndex(), 2);
        w.Button("IncAllBtn")->click();
        QVERIFY(w.Code().contains(QStringLiteral("<td>[FIELD Name=\"Nr\"]Nr[/FIELD]</td>")));
    });
    QCOMPARE(w.opened, 2);
}

void CodeWizardTest::copiesTheWholeCodeWhenNothingIsSelected() {
    Wizard w;
    w.Open(ProjectWithFields({"A", "B"}), [&] {
        w.Button("IncAllBtn")->click();
        QApplication::clipboard()->clear();
        w.Command(QStringLiteral("In Zwischenablage kopieren"))->click();
        QCOMPARE(QApplication::clipboard()->text(), w.Code());
        QVERIFY(w.Code().contains(u'\n'));

        // A selection of the code is copied as it is.
        auto* code = w.Get<QPlainTextEdit>("mmCode");
        QTextCursor c = code->textCursor();
        c.setPosition(1);
        c.setPosition(6, QTextCursor::KeepAnchor);
        code->setTextCursor(c);
        w.Command(QStringLiteral("In Zwischenablage kopieren"))->click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("FIELD"));
    });
}

void CodeWizardTest::savesATemplateByItsExtension() {
    QTemporaryDir dir;
    Wizard w;
    Project p = ProjectWithFields({"Preis"});
    p.Tables.Slot[ContentSlot::mainmenu].template_file = "vorlage.htm";
    const QString upper = dir.filePath(QStringLiteral("seite.HTM"));
    const QString script = dir.filePath(QStringLiteral("code.js"));
    WriteFile(script, "alt");
    const QString missing = dir.filePath(QStringLiteral("fehlt/t.htm"));
    w.Open(p, [&] {
        w.Button("IncAllBtn")->click();
        QPushButton* make = w.Command(QStringLiteral("Vorlage erstellen"));

        // Capital letters are an unknown extension: the answer "Ja" writes a page.
        w.prompts.files = {upper};
        w.prompts.answers = {Answer::Yes};
        make->click();
        QCOMPARE(w.prompts.proposals, QStringList{QStringLiteral("vorlage.htm")});
        QCOMPARE(w.prompts.saveFilters, QStringLiteral("Template [*.htm; *.html] (*.htm *.html);;"
                                                       "Dreamweaver-Template [*.dwt] (*.dwt)"));
        QCOMPARE(
            w.prompts.questions,
            QStringList{QStringLiteral("Unbekannter Datei-Typ! HTML-Tags in Vorlage einfügen?")});
        const QByteArray page = pagloom::test::ReadFile(upper.toStdString()).c_str();
        QVERIFY(page.startsWith("<!DOCTYPE HTML PUBLIC"));
        QVERIFY(page.contains("<title>pagloom content-page</title>\r\n"));
        QVERIFY(
            page.endsWith("<body>\r\n\r\n<FIELD Name='Preis'>Preis</FIELD>\r\n\r\n"
                          "</body>\r\n</html>\r\n"));

        // ".js" writes the code alone over the old file, without asking; the user's own edit
        // of the code counts.
        w.Get<QPlainTextEdit>("mmCode")->setPlainText(QStringLiteral("<p>eigen</p>"));
        w.prompts.files = {script};
        make->click();
        QCOMPARE(w.prompts.questions.size(), 1);
        QCOMPARE(QByteArray(pagloom::test::ReadFile(script.toStdString()).c_str()),
                 QByteArray("<p>eigen</p>\r\n"));

        // Each written file is named; a cancelled dialog does nothing; a file that cannot be
        // written is reported.
        const QStringList written = {Written(upper), Written(script)};
        QCOMPARE(w.prompts.messages, written);
        w.prompts.files = {QString()};
        make->click();
        QCOMPARE(w.prompts.messages, written);
        w.prompts.files = {missing};
        make->click();
        QCOMPARE(w.prompts.messages,
                 written + QStringList{QStringLiteral("In ") + missing +
                                       QStringLiteral(" kann nicht geschrieben werden")});
    });
}

void CodeWizardTest::makesATemplateBesideTheProjectAndOffersIt() {
    QTemporaryDir dir;
    const QString projectDir = dir.filePath(QStringLiteral("katalog"));
    QVERIFY(QDir().mkpath(projectDir));
    const QString projectFile = projectDir + QStringLiteral("/katalog.plp");
    WriteFile(projectFile, "[frameset]\r\ntitel=Katalog\r\n");
    AppFixture app;
    QVERIFY(app.main->OpenProject(projectFile));
    Project& p = app.session.project;
    p.PrjParams.TableKind[ContentSlot::mainmenu] = kCsvTable;
    p.Tables.Slot[ContentSlot::mainmenu].fields = {"Name", "Preis"};
    std::string& slotTemplate = p.Tables.Slot[ContentSlot::mainmenu].template_file;
    slotTemplate = S(dir.filePath(QStringLiteral("anderswo/alt.htm")));
    auto* shown = app.Find<QLineEdit>("EditTabMVorlage");
    const QString typed = projectDir + QStringLiteral("/artikel");  // no extension
    const QString page = typed + QStringLiteral(".htm");
    const QString offer = Written(page) + QStringLiteral(
                                              "\n\nAls Vorlage der Ebene „Haupt-Menü“ "
                                              "verwenden?");
    struct Step {
        QString file;
        Answer answer;
    };
    // Nein leaves the slot's template; Ja takes the page; the same file again needs no offer;
    // code alone (".js") is not offered.
    const std::vector<Step> steps = {{typed, Answer::No},
                                     {typed, Answer::Yes},
                                     {page, Answer::Yes},
                                     {projectDir + QStringLiteral("/code.js"), Answer::Yes}};
    std::vector<std::string> templates;
    std::vector<QString> shownTemplates;
    app.prompts.onExec = [&](QDialog* d) {
        auto* wizard = qobject_cast<TfmTabCodeWizard*>(d);
        if (!wizard) return int(QDialog::Rejected);
        wizard->findChild<QPushButton*>("IncAllBtn")->click();
        QPushButton* make = nullptr;
        for (QPushButton* b : wizard->findChildren<QPushButton*>())
            if (QString(b->text()).remove(u'&') == QStringLiteral("Vorlage erstellen")) make = b;
        for (const Step& step : steps) {
            app.prompts.files = {step.file};
            app.prompts.answers = {step.answer};
            make->click();
            templates.push_back(slotTemplate);
            shownTemplates.push_back(shown->text());
        }
        return int(QDialog::Rejected);
    };
    app.main->Tables()->OpenWizard(ContentSlot::mainmenu);

    // The dialog starts in the project's folder, under the slot's template's name, then the
    // name taken.
    QCOMPARE(app.prompts.saveProposals,
             (QStringList{projectDir + "/alt.htm", projectDir + "/alt.htm", page, page}));
    QCOMPARE(app.prompts.saveSuffixes, QStringList(4, QStringLiteral("htm")));
    QCOMPARE(app.prompts.questions, (QStringList{offer, offer}));
    QCOMPARE(app.prompts.messages, (QStringList{Written(page), Written(projectDir + "/code.js")}));
    const std::string old = S(dir.filePath(QStringLiteral("anderswo/alt.htm")));
    QCOMPARE(templates, (std::vector<std::string>{old, S(page), S(page), S(page)}));
    QCOMPARE(shownTemplates.back(), page);
    QVERIFY(app.session.Modified);
    const QByteArray written = pagloom::test::ReadFile(page.toStdString()).c_str();
    QVERIFY(written.contains("<title>pagloom content-page</title>"));
    QVERIFY(written.contains("Name='Preis'"));
}

// A double click on a field moves that field alone, as ">" and "<" move the selected ones.
void CodeWizardTest::doubleClickMovesAFieldLikeTheArrows() {
    Wizard w;
    w.Open(ProjectWithFields({"Titel", "Preis", "Autor"}), [&] {
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        const auto doubleClick = [](QListWidget* list, const QString& name) {
            QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).first();
            const QPoint at = list->visualItemRect(item).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        };
        w.Select(w.Src(), {"Autor", "Titel"});
        doubleClick(w.Src(), "Preis");
        QCOMPARE(Wizard::Items(w.Dst()), QStringList{"Preis"});
        QCOMPARE(Wizard::Items(w.Src()), (QStringList{"Autor", "Titel"}));
        QVERIFY(w.Code().contains(QStringLiteral("Name='Preis'")));
        doubleClick(w.Src(), "Titel");
        QCOMPARE(Wizard::Items(w.Dst()), (QStringList{"Preis", "Titel"}));
        doubleClick(w.Dst(), "Preis");
        QCOMPARE(Wizard::Items(w.Dst()), QStringList{"Titel"});
        QCOMPARE(Wizard::Items(w.Src()), (QStringList{"Autor", "Preis"}));
        QCOMPARE(w.TransferButtons(), (QList<bool>{true, true, true, true}));
    });
    QCOMPARE(w.opened, 1);
}

QTEST_MAIN(CodeWizardTest)
#include "CodeWizardTest.moc"
