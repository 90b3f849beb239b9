// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include "AppTestSupport.h"
#include "Binding.h"
#include "FieldTracker.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class BindingTest : public QObject {
    Q_OBJECT
  private slots:
    void refreshShowsTheModel();
    void userChangesWriteThroughAndMarkOnlyRealChanges();
    void refusedWholeNumberBeepsAndRestores();
    void decimalEditPendingUntilLeft();
    void changeRedrawsDependentControls();
};

namespace {

struct Model {
    bool on = false;
    std::string text = "abc";
    int number = 140;
    std::string decimal = "1,5";
    int index = 1;
    Choice<3> choice{0};
    std::vector<std::string> lines{"a", "b"};
};

// Every kind of bound control in one shown window, with a scripted user.
struct Bound {
    ScriptedPrompts prompts;
    int marks = 0;
    FieldTracker tracker{prompts, [this] { ++marks; }};
    Binder binder{tracker};
    Model m;
    QWidget window;
    QCheckBox* box = new QCheckBox("Schalter", &window);
    QLineEdit* text = new QLineEdit(&window);
    QLineEdit* number = new QLineEdit(&window);
    QLineEdit* decimal = new QLineEdit(&window);
    QComboBox* combo = new QComboBox(&window);
    QRadioButton* radios[3] = {new QRadioButton("eins", &window), new QRadioButton("zwei", &window),
                               new QRadioButton("drei", &window)};
    QPlainTextEdit* list = new QPlainTextEdit(&window);
    QLabel* label = new QLabel(&window);
    QLineEdit* elsewhere = new QLineEdit(&window);

    Bound() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w :
             std::initializer_list<QWidget*>{box, text, number, decimal, combo, radios[0],
                                             radios[1], radios[2], list, label, elsewhere})
            layout->addWidget(w);
        combo->addItems({"null", "eins", "zwei"});
        binder.Switch(box, [this]() -> bool& { return m.on; });
        binder.Text(text, [this]() -> std::string& { return m.text; });
        binder.WholeNumber(number, [this]() -> int& { return m.number; });
        binder.Decimal(decimal, [this]() -> std::string& { return m.decimal; });
        binder.Choice(
            combo, [this] { return m.index; }, [this](int i) { m.index = i; });
        binder.Choice<3>({radios[0], radios[1], radios[2]},
                         [this]() -> Choice<3>& { return m.choice; });
        binder.List(list, [this]() -> std::vector<std::string>& { return m.lines; });
        binder.Label(label, [this] { return QString::fromStdString(m.text).toUpper(); });
        binder.Enable(number, [this] { return m.on; });
        binder.Show(decimal, [this] { return m.choice.Is(2); });
        binder.Refresh();
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window)) qWarning("window not active");
    }
    void Type(QLineEdit* edit, const QString& keys) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, keys);
    }
    void Leave() { elsewhere->setFocus(); }
    // On the box itself: a button stretched over the window's width ignores clicks beside
    // its text.
    static void Click(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
};

}  // namespace

void BindingTest::refreshShowsTheModel() {
    Bound b;
    QVERIFY(!b.box->isChecked());
    QCOMPARE(b.text->text(), QString("abc"));
    QCOMPARE(b.number->text(), QString("140"));
    QVERIFY(!b.number->isEnabled());
    QCOMPARE(b.decimal->text(), QString("1,5"));
    QVERIFY(b.decimal->isHidden());
    QCOMPARE(b.combo->currentIndex(), 1);
    QVERIFY(b.radios[0]->isChecked());
    QCOMPARE(b.list->toPlainText(), QString("a\nb"));
    QCOMPARE(b.label->text(), QString("ABC"));

    // A model changed behind the controls' back: shown by one refresh, including states a
    // user cannot make (no option chosen, an index beyond the list).
    b.m = Model{true, "xyz", -7, "2.5", 9, Choice<3>{}, {}};
    b.binder.Refresh();
    QVERIFY(b.box->isChecked());
    QCOMPARE(b.text->text(), QString("xyz"));
    QCOMPARE(b.number->text(), QString("-7"));
    QVERIFY(b.number->isEnabled());
    QCOMPARE(b.combo->currentIndex(), -1);
    for (QRadioButton* r : b.radios) QVERIFY(!r->isChecked());
    QVERIFY(b.list->toPlainText().isEmpty());
    QCOMPARE(b.label->text(), QString("XYZ"));
    // Redrawing writes nothing back and is no change.
    QCOMPARE(b.m.index, 9);
    QCOMPARE(b.marks, 0);
}

void BindingTest::userChangesWriteThroughAndMarkOnlyRealChanges() {
    Bound b;
    // Switch: written at once; back and forth before leaving is no change.
    b.Click(b.box);
    QVERIFY(b.m.on);
    b.Click(b.box);
    QVERIFY(!b.m.on);
    b.Leave();
    QCOMPARE(b.marks, 0);
    b.Click(b.box);
    b.Leave();
    QCOMPARE(b.marks, 1);

    // Text: every keystroke is stored, leaving trims; the same text again is no change.
    b.Type(b.text, "abc ");
    QCOMPARE(b.m.text, std::string("abc "));
    b.Leave();
    QCOMPARE(b.m.text, std::string("abc"));
    QCOMPARE(b.text->text(), QString("abc"));
    QCOMPARE(b.marks, 1);
    b.Type(b.text, "Gr");
    QTest::sendKeyEvent(QTest::Click, b.text, Qt::Key_unknown, QStringLiteral("üße"), {});
    b.Leave();
    QCOMPARE(b.m.text, std::string("Gr\xFC\xDF\x65"));
    QCOMPARE(b.marks, 2);

    // Drop-down list and radio buttons: the user's pick is stored; the mark comes on leaving.
    b.combo->setFocus();
    QTest::keyClick(b.combo, Qt::Key_Down);
    QCOMPARE(b.m.index, 2);
    b.Click(b.radios[2]);
    QVERIFY(b.m.choice.Is(2));
    b.Leave();
    QCOMPARE(b.marks, 4);

    // List: each edit is a change at once.
    b.list->setFocus();
    b.list->moveCursor(QTextCursor::End);
    QTest::keyClick(b.list, Qt::Key_Return);
    QTest::keyClicks(b.list, "c");
    QCOMPARE(b.m.lines, (std::vector<std::string>{"a", "b", "c"}));
    QVERIFY(b.marks >= 5);
}

void BindingTest::refusedWholeNumberBeepsAndRestores() {
    Bound b;
    b.m.on = true;
    b.binder.Refresh();
    struct Case {
        const char* typed;
        const char* shown;
        int stored;
        int beeps;
    };
    const Case cases[] = {{"12a", "140", 140, 1},
                          {"", "140", 140, 2},
                          {"0x10", "16", 16, 2},
                          {"  +16", "16", 16, 2},
                          {"2147483648", "16", 16, 3}};
    for (const Case& c : cases) {
        const int before = b.m.number;
        b.Type(b.number, c.typed);
        QCOMPARE(b.m.number, before);  // stored only when the field is left
        b.Leave();
        QCOMPARE(b.number->text(), QString(c.shown));
        QCOMPARE(b.m.number, c.stored);
        QCOMPARE(b.prompts.beeps, c.beeps);
    }
    // Only the one real change was marked; refused texts and "+16" for 16 are none.
    QCOMPARE(b.marks, 1);
    QVERIFY(b.prompts.messages.isEmpty());
}

void BindingTest::decimalEditPendingUntilLeft() {
    Bound b;
    b.m.choice.Select(2);
    b.binder.Refresh();
    QVERIFY(!b.decimal->isHidden());
    b.Type(b.decimal, "1,x");
    QVERIFY(b.tracker.EditPending());
    QCOMPARE(b.m.decimal, std::string("1,5"));
    b.tracker.LeaveField();
    QVERIFY(!b.tracker.EditPending());
    QVERIFY(!b.tracker.LastEditValid());
    QCOMPARE(b.decimal->text(), QString("1,5"));
    QCOMPARE(b.prompts.beeps, 1);
    QCOMPARE(b.marks, 0);

    b.tracker.SetLastEditValid(true);
    b.Type(b.decimal, ",25");
    b.tracker.LeaveField();
    QVERIFY(b.tracker.LastEditValid());
    QCOMPARE(b.m.decimal, std::string("0,25"));
    QCOMPARE(b.decimal->text(), QString("0,25"));
    QCOMPARE(b.marks, 1);
}

void BindingTest::changeRedrawsDependentControls() {
    Bound b;
    // A user change is followed by a redraw of the others from the model, so what a hook or a
    // setter changed besides its own member shows at once.
    b.binder.OnUserChange([&] { b.m.text = b.m.on ? "an" : "aus"; });
    b.Click(b.box);
    QCOMPARE(b.text->text(), QString("an"));
    QCOMPARE(b.label->text(), QString("AN"));
    QVERIFY(b.number->isEnabled());
    b.Click(b.radios[2]);
    QVERIFY(!b.decimal->isHidden());
}

QTEST_MAIN(BindingTest)
#include "BindingTest.moc"
