// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "AppTestSupport.h"
#include "MenuEditorTab.h"
#include "model/TWebMenu.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

Q_DECLARE_METATYPE(pagloom::Answer)

class MenuEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void addInsertsAfterCurrentAndKeepsChooserInStep();
    void addRefusesMissingTextOrFile_data();
    void addRefusesMissingTextOrFile();
    void subMenuLevel();
    void changeRenamesListAndChooser();
    void moveKeepsSubMenusAndChooser();
    void deleteSelectsNeighbour();
    void refreshShowsLoadedMenu();
    void rebuiltMenuIsDrawnWhenItsTabShows();
    void enterPressesTheGroupsButton();
    void moveKeepsFocusOnList();
    void unappliedChangeAsksBeforeAnotherEntry_data();
    void unappliedChangeAsksBeforeAnotherEntry();
    void unappliedChangeAsksBeforeLevelOrMove();
    void deletingAnEntryWithSubMenuAsks_data();
    void deletingAnEntryWithSubMenuAsks();
};

namespace {

struct Editor {
    AppFixture app;
    QComboBox* chooser;
    QListWidget* list;
    QLineEdit* addText;
    QLineEdit* addFile;
    QCheckBox* addActive;
    QLineEdit* changeText;
    QLineEdit* changeFile;
    QCheckBox* changeActive;

    Editor() {
        chooser = app.Find<QComboBox>("ComboBoxMenuWahl");
        list = app.Find<QListWidget>("ListBoxMenue");
        addText = app.Find<QLineEdit>("EditMenueAddText");
        addFile = app.Find<QLineEdit>("EditMenueAddDatei");
        addActive = app.Find<QCheckBox>("CBAddMenueAktiv");
        changeText = app.Find<QLineEdit>("EditMenueAenderText");
        changeFile = app.Find<QLineEdit>("EditMenueAenderDatei");
        changeActive = app.Find<QCheckBox>("CBAenderMenueAktiv");
    }
    TWebMenu& Menu() { return app.session.project.MainMenu; }
    void Add(const QString& text, const QString& file, bool active = true) {
        addText->setText(text);
        addFile->setText(file);
        addActive->setChecked(active);
        app.Find<QPushButton>("ButtonMenueAddDatei")->click();
    }
    void Click(const char* button) { app.Find<QAbstractButton>(button)->click(); }
    QStringList Lines(QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    QStringList Lines(QListWidget* l) {
        QStringList out;
        for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
        return out;
    }
    QStringList MenuTexts(const TWebMenu& m) {
        QStringList out;
        for (int i = 0; i < m.Count(); ++i) out << Q(m.Item(i).Text);
        return out;
    }
};

}  // namespace

void MenuEditorTest::addInsertsAfterCurrentAndKeepsChooserInStep() {
    Editor e;
    QCOMPARE(e.Lines(e.chooser), QStringList{"[HauptMenü]"});
    e.Add("Eins", "eins.htm");
    e.Add("Zwei", "zwei.htm", false);
    e.Add("Drei", "drei.htm");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"Eins", "Zwei", "Drei"}));
    QVERIFY(!e.Menu().Item(1).Active);
    QVERIFY(e.Menu().Item(1).SubMenu != nullptr);
    // The new entry is current and shown in the change fields; the add fields are emptied.
    QCOMPARE(e.list->currentRow(), 2);
    QCOMPARE(e.changeText->text(), QString("Drei"));
    QCOMPARE(e.changeFile->text(), QString("drei.htm"));
    QVERIFY(e.changeActive->isChecked());
    QVERIFY(e.addText->text().isEmpty() && e.addFile->text().isEmpty());
    QVERIFY(e.addActive->isChecked());
    QVERIFY(e.app.session.Modified);

    e.list->setCurrentRow(0);
    e.Add("Einsb", "einsb.htm");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"Eins", "Einsb", "Zwei", "Drei"}));
    QCOMPARE(e.Lines(e.list), e.MenuTexts(e.Menu()));
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "Eins", "Einsb", "Zwei", "Drei"}));
    QCOMPARE(e.list->currentRow(), 1);
}

void MenuEditorTest::addRefusesMissingTextOrFile_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("no text") << ""
                             << "a.htm"
                             << "Bitte geben Sie einen Text für den Menüpunkt ein";
    QTest::newRow("blanks only") << "   "
                                 << "a.htm"
                                 << "Bitte geben Sie einen Text für den Menüpunkt ein";
    QTest::newRow("no file") << "Text"
                             << ""
                             << "Bitte geben sie einen Dateinamen für den Menüpunkt ein";
}

void MenuEditorTest::addRefusesMissingTextOrFile() {
    QFETCH(QString, text);
    QFETCH(QString, file);
    QFETCH(QString, message);
    Editor e;
    e.Add(text, file);
    QCOMPARE(e.app.prompts.messages, QStringList{message});
    QCOMPARE(e.Menu().Count(), 0);
    QVERIFY(!e.app.session.Modified);
}

void MenuEditorTest::subMenuLevel() {
    Editor e;
    e.Add("Haupt", "haupt.htm");
    e.Add("Zweit", "zweit.htm");
    e.chooser->setCurrentIndex(1);
    emit e.chooser->activated(1);
    QCOMPARE(e.Menu().ItemIndex, 0);
    QCOMPARE(e.list->count(), 0);
    QVERIFY(e.changeText->text().isEmpty());
    e.Add("Unter A", "a.htm");
    e.Add("Unter B", "b.htm");
    // Sub entries have no sub-menu and do not appear in the level chooser.
    const TWebMenu& sub = *e.Menu().Item(0).SubMenu;
    QCOMPARE(e.MenuTexts(sub), (QStringList{"Unter A", "Unter B"}));
    QVERIFY(sub.Item(0).SubMenu == nullptr);
    QCOMPARE(e.chooser->count(), 3);
    QCOMPARE(e.Menu().ItemIndex, 0);

    // Back on the main level the first entry is current; choosing the sub-menu again shows
    // its first entry.
    emit e.chooser->activated(0);
    QCOMPARE(e.Lines(e.list), (QStringList{"Haupt", "Zweit"}));
    QCOMPARE(e.list->currentRow(), 0);
    emit e.chooser->activated(1);
    QCOMPARE(e.Lines(e.list), (QStringList{"Unter A", "Unter B"}));
    QCOMPARE(e.changeText->text(), QString("Unter A"));
}

void MenuEditorTest::changeRenamesListAndChooser() {
    Editor e;
    e.Add("Alt", "alt.htm");
    e.app.session.Modified = false;
    e.changeText->setText("Neu");
    e.changeFile->setText("neu.htm");
    e.changeActive->setChecked(false);
    e.Click("ButtonMenueAenderDatei");
    const TWebMenuItem& item = e.Menu().Item(0);
    QCOMPARE(Q(item.Text), QString("Neu"));
    QCOMPARE(Q(item.FileName), QString("neu.htm"));
    QVERIFY(!item.Active);
    QCOMPARE(e.list->item(0)->text(), QString("Neu"));
    QCOMPARE(e.list->currentRow(), 0);
    QCOMPARE(e.chooser->itemText(1), QString("Neu"));
    QVERIFY(e.app.session.Modified);

    e.changeFile->clear();
    e.Click("ButtonMenueAenderDatei");
    QCOMPARE(e.app.prompts.messages,
             QStringList{"Bitte geben sie einen Dateinamen für den Menüpunkt ein"});
    QCOMPARE(Q(e.Menu().Item(0).FileName), QString("neu.htm"));
}

void MenuEditorTest::moveKeepsSubMenusAndChooser() {
    Editor e;
    for (const char* t : {"A", "B", "C"}) e.Add(t, QString(t) + ".htm");
    e.Menu().Item(0).SubMenu->Add(TWebMenu::NewSubItem("A1", "a1.htm", true));
    e.app.session.Modified = false;

    // The first entry cannot move up and the last cannot move down; nothing is marked.
    e.list->setCurrentRow(0);
    e.Click("ButtonMenueUp");
    e.list->setCurrentRow(2);
    e.Click("ButtonMenueDown");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"A", "B", "C"}));
    QVERIFY(!e.app.session.Modified);

    e.list->setCurrentRow(0);
    e.Click("ButtonMenueDown");
    e.Click("ButtonMenueDown");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"B", "C", "A"}));
    QCOMPARE(e.Lines(e.list), (QStringList{"B", "C", "A"}));
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "B", "C", "A"}));
    QCOMPARE(e.list->currentRow(), 2);
    QCOMPARE(e.MenuTexts(*e.Menu().Item(2).SubMenu), QStringList{"A1"});
    e.Click("ButtonMenueUp");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"B", "A", "C"}));
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "B", "A", "C"}));
    QVERIFY(e.app.session.Modified);
}

void MenuEditorTest::deleteSelectsNeighbour() {
    Editor e;
    for (const char* t : {"A", "B", "C"}) e.Add(t, QString(t) + ".htm");
    e.Menu().Item(1).SubMenu->Add(TWebMenu::NewSubItem("B1", "b1.htm", true));
    e.list->setCurrentRow(1);
    e.app.prompts.answers = {Answer::Yes};  // B goes with its sub-menu entry
    e.Click("ButtonMenueDelete");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"A", "C"}));
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "A", "C"}));
    QCOMPARE(e.changeText->text(), QString("A"));
    QCOMPARE(e.list->currentRow(), 0);

    // Deleting the first entry makes the new first one current.
    e.Click("ButtonMenueDelete");
    QCOMPARE(e.changeText->text(), QString("C"));
    QCOMPARE(e.list->currentRow(), 0);

    // The Delete key in the list deletes as well; the last one empties the change fields.
    e.app.ShowActive();
    e.app.main->PageControl()->setCurrentWidget(e.app.Find("tsNavigation"));
    e.list->setFocus();
    QTest::keyClick(e.list, Qt::Key_Delete);
    QCOMPARE(e.Menu().Count(), 0);
    QVERIFY(e.changeText->text().isEmpty());
    QVERIFY(!e.changeActive->isChecked());
    QCOMPARE(e.Menu().ItemIndex, -1);
}

void MenuEditorTest::refreshShowsLoadedMenu() {
    Editor e;
    QTemporaryDir dir;
    const QString file = dir.filePath("m.plp");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(
        "[menu]\r\ncount=2\r\ntext_0=<b>Start</"
        "b>\r\nfile_0=s.htm\r\naktiv_0=0\r\ntext_1=Mehr\r\nfile_1=m.htm\r\n");
    f.close();
    e.app.main->OpenProject(file);
    QCOMPARE(e.Lines(e.list), (QStringList{"<b>Start</b>", "Mehr"}));
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "<b>Start</b>", "Mehr"}));
    QCOMPARE(e.list->currentRow(), 0);
    QCOMPARE(e.changeFile->text(), QString("s.htm"));
    QVERIFY(!e.changeActive->isChecked());
}

// A build from tables rebuilds the menu: the editor draws it at once when its tab is current,
// else once its tab is shown.
void MenuEditorTest::rebuiltMenuIsDrawnWhenItsTabShows() {
    Editor e;
    e.Add("Alt", "alt.htm");
    e.app.main->PageControl()->setCurrentWidget(e.app.Find("Zielverzeichnis"));
    e.Menu().Clear();
    e.Menu().Add(TWebMenu::NewMainItem("Neu", "neu.htm", true));
    e.app.session.Build.RefreshMenuEditor();
    QCOMPARE(e.Lines(e.list), QStringList{"Alt"});
    e.app.main->PageControl()->setCurrentWidget(e.app.Find("tsNavigation"));
    QCOMPARE(e.Lines(e.list), QStringList{"Neu"});
    e.Menu().Add(TWebMenu::NewMainItem("Zwei", "zwei.htm", true));
    e.app.session.Build.RefreshMenuEditor();
    QCOMPARE(e.Lines(e.list), (QStringList{"Neu", "Zwei"}));
}

void MenuEditorTest::enterPressesTheGroupsButton() {
    Editor e;
    e.app.ShowActive();
    e.app.main->PageControl()->setCurrentWidget(e.app.Find("tsNavigation"));
    e.addText->setFocus();
    QTest::keyClicks(e.addText, "Eins");
    e.addFile->setFocus();
    QTest::keyClicks(e.addFile, "eins.htm");
    QTest::keyClick(e.addFile, Qt::Key_Return);
    QCOMPARE(e.MenuTexts(e.Menu()), QStringList{"Eins"});
    QVERIFY(e.addText->hasFocus());
    QTest::keyClicks(e.addText, "Zwei");
    QTest::keyClick(e.addText, Qt::Key_Enter);
    // Without a file the add button answers as when clicked.
    QCOMPARE(e.app.prompts.messages,
             QStringList{"Bitte geben sie einen Dateinamen für den Menüpunkt ein"});

    e.changeText->setFocus();
    e.changeText->selectAll();
    QTest::keyClicks(e.changeText, "Erster");
    QTest::keyClick(e.changeText, Qt::Key_Return);
    QCOMPARE(e.MenuTexts(e.Menu()), QStringList{"Erster"});
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "Erster"}));
    QCOMPARE(e.Menu().Count(), 1);
}

void MenuEditorTest::moveKeepsFocusOnList() {
    Editor e;
    for (const char* t : {"A", "B", "C"}) e.Add(t, QString(t) + ".htm");
    e.app.ShowActive();
    e.app.main->PageControl()->setCurrentWidget(e.app.Find("tsNavigation"));
    e.list->setCurrentRow(0);
    e.changeText->setFocus();
    QTest::mouseClick(e.app.Find<QToolButton>("ButtonMenueDown"), Qt::LeftButton);
    QVERIFY(e.list->hasFocus());
    QTest::mouseClick(e.app.Find<QToolButton>("ButtonMenueDown"), Qt::LeftButton);
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"B", "C", "A"}));
    QCOMPARE(e.list->currentRow(), 2);
    QVERIFY(e.list->hasFocus());
    QTest::mouseClick(e.app.Find<QToolButton>("ButtonMenueUp"), Qt::LeftButton);
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"B", "A", "C"}));
    QVERIFY(e.list->hasFocus());
}

void MenuEditorTest::unappliedChangeAsksBeforeAnotherEntry_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("file");  // typed under "Menüpunkt ändern" with the text "A neu"
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<int>("row");  // current afterwards
    QTest::addColumn<QStringList>("messages");
    const QStringList old{"A", "B", "C"};
    QTest::newRow("Ja applies, then moves on")
        << Answer::Yes << "a-neu.htm" << QStringList{"A neu", "B", "C"} << 2 << QStringList{};
    QTest::newRow("Nein drops it") << Answer::No << "a-neu.htm" << old << 2 << QStringList{};
    QTest::newRow("Abbrechen stays") << Answer::Cancel << "a-neu.htm" << old << 0 << QStringList{};
    QTest::newRow("Ja with a refused change stays")
        << Answer::Yes << "" << old << 0
        << QStringList{"Bitte geben sie einen Dateinamen für den Menüpunkt ein"};
}

void MenuEditorTest::unappliedChangeAsksBeforeAnotherEntry() {
    QFETCH(Answer, answer);
    QFETCH(QString, file);
    QFETCH(QStringList, menu);
    QFETCH(int, row);
    QFETCH(QStringList, messages);
    Editor e;
    for (const char* t : {"A", "B", "C"}) e.Add(t, QString(t) + ".htm");
    e.app.ShowActive();
    e.app.main->PageControl()->setCurrentWidget(e.app.Find("tsNavigation"));
    QTest::mouseClick(e.list->viewport(), Qt::LeftButton, {},
                      e.list->visualItemRect(e.list->item(0)).center());
    QCOMPARE(e.list->currentRow(), 0);
    QVERIFY(e.app.prompts.questions.isEmpty());  // nothing typed yet

    e.changeText->setFocus();
    e.changeText->selectAll();
    QTest::keyClicks(e.changeText, "A neu");
    e.changeFile->setText(file);
    e.app.prompts.answers = {answer};
    QTest::mouseClick(e.list->viewport(), Qt::LeftButton, {},
                      e.list->visualItemRect(e.list->item(2)).center());
    QCoreApplication::processEvents();

    QCOMPARE(e.app.prompts.questions,
             QStringList{"Die Änderungen am Menüpunkt „A“ unter „Menüpunkt ändern“ sind noch "
                         "nicht übernommen. Jetzt übernehmen?"});
    QCOMPARE(e.app.prompts.messages, messages);
    QCOMPARE(e.MenuTexts(e.Menu()), menu);
    QCOMPARE(e.Lines(e.list), menu);
    QCOMPARE(e.Menu().ItemIndex, row);
    QCOMPARE(e.list->currentRow(), row);
    QCOMPARE(e.list->selectedItems(), QList<QListWidgetItem*>{e.list->item(row)});
    // Staying keeps what was typed; moving on shows the entry clicked.
    QCOMPARE(e.changeText->text(), row == 0 ? QString("A neu") : QString("C"));
}

void MenuEditorTest::unappliedChangeAsksBeforeLevelOrMove() {
    Editor e;
    for (const char* t : {"A", "B"}) e.Add(t, QString(t) + ".htm");
    e.list->setCurrentRow(0);
    e.changeText->setText("A neu");

    // Abbrechen keeps the main level; Ja applies before the sub-menu of "A neu" is shown.
    e.app.prompts.answers = {Answer::Cancel};
    e.chooser->setCurrentIndex(2);
    emit e.chooser->activated(2);
    QCOMPARE(e.chooser->currentIndex(), 0);
    QCOMPARE(e.changeText->text(), QString("A neu"));
    e.app.prompts.answers = {Answer::Yes};
    e.chooser->setCurrentIndex(1);
    emit e.chooser->activated(1);
    QCOMPARE(e.Lines(e.chooser), (QStringList{"[HauptMenü]", "A neu", "B"}));
    QCOMPARE(e.chooser->currentIndex(), 1);

    // Moving the entry asks too: Nein moves it and shows it as stored.
    emit e.chooser->activated(0);
    e.list->setCurrentRow(0);
    e.changeText->setText("verworfen");
    e.app.prompts.answers = {Answer::No};
    e.Click("ButtonMenueDown");
    QCOMPARE(e.MenuTexts(e.Menu()), (QStringList{"B", "A neu"}));
    QCOMPARE(e.changeText->text(), QString("A neu"));
    QCOMPARE(e.app.prompts.questions.size(), 3);
}

void MenuEditorTest::deletingAnEntryWithSubMenuAsks_data() {
    QTest::addColumn<int>("subs");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("question");  // empty: none asked
    QTest::addColumn<bool>("deleted");
    QTest::newRow("no sub-menu entries") << 0 << Answer::No << "" << true;
    QTest::newRow("one, Nein")
        << 1 << Answer::No
        << "Der Menüpunkt „Haupt“ hat einen Untermenüpunkt, der mit ihm gelöscht wird. "
           "Trotzdem löschen?"
        << false;
    QTest::newRow("three, Ja")
        << 3 << Answer::Yes
        << "Der Menüpunkt „Haupt“ hat 3 Untermenüpunkte, die mit ihm gelöscht werden. "
           "Trotzdem löschen?"
        << true;
}

void MenuEditorTest::deletingAnEntryWithSubMenuAsks() {
    QFETCH(int, subs);
    QFETCH(Answer, answer);
    QFETCH(QString, question);
    QFETCH(bool, deleted);
    Editor e;
    e.Add("Haupt", "haupt.htm");
    for (int i = 0; i < subs; ++i)
        e.Menu().Item(0).SubMenu->Add(TWebMenu::NewSubItem("U", "u.htm", true));
    e.app.session.Modified = false;
    e.app.prompts.answers = {answer};
    e.Click("ButtonMenueDelete");
    QCOMPARE(e.app.prompts.questions, question.isEmpty() ? QStringList{} : QStringList{question});
    QCOMPARE(e.Menu().Count(), deleted ? 0 : 1);
    QCOMPARE(e.Lines(e.chooser).size(), deleted ? 1 : 2);
    QCOMPARE(e.app.session.Modified, deleted);
}

QTEST_MAIN(MenuEditorTest)
#include "MenuEditorTest.moc"
