// SPDX-License-Identifier: MIT
// The five style editors in the main window: the colour choice, the key filters and the
// number edits, each editor's mapping of its record, and a save round trip.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>

#include "AppTestSupport.h"
#include "generator/StylesheetWriter.h"
#include "style/StyleControls.h"
#include "style/StylePages.h"
#include "style/TFrameBorder.h"
#include "style/TFrameColorChoice.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;

class StyleEditorsTest : public QObject {
    Q_OBJECT
  private slots:
    void hexEdit_data();
    void hexEdit();
    void enterMovesOn();
    void colorComponents_data();
    void colorComponents();
    void setColorShowsListEntry_data();
    void setColorShowsListEntry();
    void colorList_data();
    void colorList();
    void leavingUnchangedKeepsRecord_data();
    void leavingUnchangedKeepsRecord();
    void keyFilters_data();
    void keyFilters();
    void fontFamily_data();
    void fontFamily();
    void fontSizeAndHover();
    void textEditor();
    void positionStaticAndBack();
    void borderOpening_data();
    void borderOpening();
    void borderPicture();
    void borderUnifiesOnOpening();
    void borderWidthAndStyle();
    void background_data();
    void background();
    void refusedEditHoldsPageAndCommands();
    void roundTrip();
};

namespace {

// The program with a project whose style sections are `css1` and `css2`, the window shown.
struct Styles {
    QTemporaryDir dir;
    QString file;
    AppFixture app;

    explicit Styles(const QByteArray& css1 = {}, const QByteArray& css2 = {}) {
        file = dir.filePath("p.plp");
        WriteFile(file, "[css_1]\r\n" + css1 + "[css_2]\r\n" + css2);
        app.main->OpenProject(file);
        app.ShowActive();
    }
    TCSS& Css(MenuLevel level = kMainMenuLevel) {
        return app.session.project.PrjParams.Style(level);
    }
    // The editor `name` on the front of its page, with its level's tab in front.
    template <typename T = QWidget>
    T* Frame(const char* name) {
        auto* frame = app.Find<QWidget>(name);
        auto* levels = qobject_cast<QTabWidget*>(frame->parentWidget()->parentWidget());
        app.main->PageControl()->setCurrentWidget(levels);
        levels->setCurrentWidget(frame);
        return qobject_cast<T*>(frame);
    }
    template <typename T>
    static T* In(QWidget* frame, const char* name) {
        T* w = frame->findChild<T*>(QString::fromLatin1(name));
        if (!w) qWarning("no control %s", name);
        return w;
    }
    static void Type(QLineEdit* edit, const QString& keys) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, keys);
    }
    // A user's choice of entry `i`.
    static void Choose(QComboBox* combo, int i) {
        combo->setFocus();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    static void Click(QAbstractButton* b) {
        b->setFocus();
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Moves the focus to `w` and lets a refused field take the focus back.
    static void FocusTo(QWidget* w) {
        w->setFocus();
        QCoreApplication::processEvents();
    }
};

}  // namespace

void StyleEditorsTest::hexEdit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("afterLeaving");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("beeps");
    QTest::newRow("three digits are doubled") << "f0a"
                                              << "F0A"
                                              << "FF00AA" << 255 << 170 << 0;
    QTest::newRow("six digits") << "12ab56"
                                << "12AB56"
                                << "12AB56" << 0x12 << 0x56 << 0;
    QTest::newRow("four refused") << "f0a0"
                                  << "F0A0"
                                  << "000000" << 0 << 0 << 1;
    QTest::newRow("five refused") << "f0a0b"
                                  << "F0A0B"
                                  << "000000" << 0 << 0 << 1;
    QTest::newRow("other keys dropped") << "g#1x"
                                        << "1"
                                        << "000000" << 0 << 0 << 1;
}

void StyleEditorsTest::hexEdit() {
    QFETCH(QString, typed);
    QFETCH(QString, whileTyping);
    QFETCH(QString, afterLeaving);
    QFETCH(int, red);
    QFETCH(int, blue);
    QFETCH(int, beeps);
    Styles s;
    QWidget* frame = s.Frame("frameFontM");
    auto* choice = Styles::In<TFrameColorChoice>(frame, "frameFontColorChoice");
    QLineEdit* hex = choice->HexEdit();
    Styles::Type(hex, typed);
    QCOMPARE(hex->text(), whileTyping);
    QVERIFY(s.app.main->Tracker().EditPending());
    Styles::FocusTo(Styles::In<QComboBox>(frame, "cbFontSize"));
    QCOMPARE(hex->text(), afterLeaving);
    QCOMPARE(choice->HexText(), afterLeaving);
    QCOMPARE(choice->Red(), red);
    QCOMPARE(choice->Blue(), blue);
    QCOMPARE(s.app.prompts.beeps, beeps);
    QVERIFY(!s.app.main->Tracker().EditPending());
    // A refused text keeps the focus in the edit; an accepted one reaches the record.
    QCOMPARE(hex->hasFocus(), beeps > 0);
    QCOMPARE(Q(s.Css().color), beeps ? QString("000000") : afterLeaving);
    QCOMPARE(s.app.session.Modified, beeps == 0);
}

void StyleEditorsTest::enterMovesOn() {
    Styles s;
    auto* choice =
        Styles::In<TFrameColorChoice>(s.Frame("frameFontM"), "frameFontColorChoiceSelected");
    Styles::Type(choice->HexEdit(), "0f0");
    QTest::keyClick(choice->HexEdit(), Qt::Key_Return);
    QVERIFY(choice->ColorList()->hasFocus());
    QCOMPARE(choice->HexText(), QString("00FF00"));
    QCOMPARE(choice->ColorList()->currentText(), QString("Limone"));
    Styles::Type(choice->ComponentEdit(0), "12");
    QTest::keyClick(choice->ComponentEdit(0), Qt::Key_Enter);
    QVERIFY(choice->ComponentEdit(1)->hasFocus());
    QCOMPARE(choice->HexText(), QString("0CFF00"));
    // Tab is no character for the key filters: it leaves the edit and settles it.
    Styles::Type(choice->HexEdit(), "f0a");
    QTest::keyClick(choice->HexEdit(), Qt::Key_Tab);
    QVERIFY(!choice->HexEdit()->hasFocus());
    QCOMPARE(choice->HexText(), QString("FF00AA"));
}

void StyleEditorsTest::colorComponents_data() {
    QTest::addColumn<int>("component");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("listEntry");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<int>("messages");
    QTest::newRow("red 255 gives yellow") << 0 << "255"
                                          << "FFFF00"
                                          << "Gelb" << 0 << 0;
    QTest::newRow("red 256 refused") << 0 << "256"
                                     << "00FF00"
                                     << "Limone" << 1 << 0;
    QTest::newRow("blue 18") << 2 << "18"
                             << "00FF12"
                             << "Individuell..." << 0 << 0;
    QTest::newRow("comma is no whole number") << 2 << "1.5"
                                              << "00FF00"
                                              << "Limone" << 0 << 1;
}

void StyleEditorsTest::colorComponents() {
    QFETCH(int, component);
    QFETCH(QString, typed);
    QFETCH(QString, hex);
    QFETCH(QString, listEntry);
    QFETCH(int, beeps);
    QFETCH(int, messages);
    Styles s("color=00FF00\r\n");
    QWidget* frame = s.Frame("frameFontM");
    auto* choice = Styles::In<TFrameColorChoice>(frame, "frameFontColorChoice");
    QCOMPARE(choice->ColorList()->currentText(), QString("Limone"));
    Styles::Type(choice->ComponentEdit(component), typed);
    Styles::FocusTo(choice->HexEdit());
    QCOMPARE(choice->HexText(), hex);
    QCOMPARE(choice->HexEdit()->text(), hex);
    QCOMPARE(choice->ColorList()->currentText(), listEntry);
    QCOMPARE(s.app.prompts.beeps, beeps);
    QCOMPARE(s.app.prompts.messages.size(), messages);
    if (messages)
        QCOMPARE(s.app.prompts.messages.first(), QString("'1,5' ist kein gültiger Integerwert"));
    if (beeps || messages) QCOMPARE(choice->ComponentEdit(component)->text(), QString("0"));
}

void StyleEditorsTest::setColorShowsListEntry_data() {
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("components");
    QTest::newRow("silver") << "C0C0C0"
                            << "Silber"
                            << "192 192 192";
    QTest::newRow("white") << "FFFFFF"
                           << "Weiß"
                           << "255 255 255";
    QTest::newRow("lower case is the same colour") << "c0c0c0"
                                                   << "Silber"
                                                   << "192 192 192";
    QTest::newRow("no named colour") << "123456"
                                     << "Individuell..."
                                     << "18 52 86";
    QTest::newRow("not hex") << "rot"
                             << "Schwarz"
                             << "0 0 0";
}

void StyleEditorsTest::setColorShowsListEntry() {
    QFETCH(QString, color);
    QFETCH(QString, entry);
    QFETCH(QString, components);
    Styles s;
    auto* choice = Styles::In<TFrameColorChoice>(s.Frame("frameBorderM"), "frameBorderColorChoice");
    choice->SetColor(color);
    QCOMPARE(choice->ColorList()->currentText(), entry);
    QCOMPARE(choice->HexText(), color);
    QCOMPARE(QStringList({choice->ComponentEdit(0)->text(), choice->ComponentEdit(1)->text(),
                          choice->ComponentEdit(2)->text()})
                 .join(' '),
             components);
    QVERIFY(!s.app.session.Modified);
}

void StyleEditorsTest::colorList_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QColor>("picked");  // invalid: the picker is cancelled
    QTest::addColumn<QString>("hex");
    QTest::newRow("named colour") << "123456" << 12 << QColor() << "FFFF00";
    QTest::newRow("picked colour") << "123456" << 0 << QColor(1, 2, 0xAB) << "0102AB";
    QTest::newRow("picker cancelled") << "123456" << 0 << QColor() << "123456";
    QTest::newRow("short text turns black") << "rot" << 0 << QColor() << "000000";
}

void StyleEditorsTest::colorList() {
    QFETCH(QString, start);
    QFETCH(int, entry);
    QFETCH(QColor, picked);
    QFETCH(QString, hex);
    Styles s("color=" + start.toLatin1() + "\r\n");
    QWidget* frame = s.Frame("frameFontM");
    auto* choice = Styles::In<TFrameColorChoice>(frame, "frameFontColorChoice");
    choice->pickColor = [picked](const QColor&) -> std::optional<QColor> {
        if (!picked.isValid()) return std::nullopt;
        return picked;
    };
    Styles::Choose(choice->ColorList(), entry);
    QCOMPARE(choice->HexText(), hex);
    QCOMPARE(choice->HexEdit()->text(), hex);
    QVERIFY(choice->ColorList()->hasFocus());
    Styles::FocusTo(Styles::In<QComboBox>(frame, "cbFontSize"));
    QCOMPARE(Q(s.Css().color), hex);
    QCOMPARE(s.app.session.Modified, hex != start);
}

void StyleEditorsTest::leavingUnchangedKeepsRecord_data() {
    QTest::addColumn<QString>("color");
    QTest::newRow("hex colour") << "123456";
    QTest::newRow("lower case") << "abcdef";
    QTest::newRow("not hex") << "rot";
}

void StyleEditorsTest::leavingUnchangedKeepsRecord() {
    QFETCH(QString, color);
    Styles s("color_selected=" + color.toLatin1() + "\r\n");
    QWidget* frame = s.Frame("frameFontM");
    auto* choice = Styles::In<TFrameColorChoice>(frame, "frameFontColorChoiceSelected");
    for (QLineEdit* w : {choice->HexEdit(), choice->ComponentEdit(0), choice->ComponentEdit(2)})
        Styles::FocusTo(w);
    Styles::FocusTo(Styles::In<QComboBox>(frame, "cbFontStyle"));
    QCOMPARE(Q(s.Css().color_selected), color);
    QVERIFY(!s.app.session.Modified);
    QCOMPARE(s.app.prompts.beeps, 0);
}

void StyleEditorsTest::keyFilters_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    const int sig = int(KeyFilter::SignedDecimal);
    QTest::newRow("signed: digit before minus") << sig << "-5" << 0 << "3"
                                                << "-5";
    QTest::newRow("signed: minus after start") << sig << "-5" << 2 << "-"
                                               << "-5";
    QTest::newRow("signed: minus at start") << sig << "5" << 0 << "-"
                                            << "-5";
    QTest::newRow("signed: one separator") << sig << "-5" << 2 << ",.1"
                                           << "-5,1";
    QTest::newRow("signed: letters") << sig << "" << 0 << "1e2"
                                     << "12";
    QTest::newRow("comma: point becomes comma") << int(KeyFilter::DecimalComma) << "" << 0 << "1.5."
                                                << "1,5";
    QTest::newRow("point: comma becomes point") << int(KeyFilter::DecimalPoint) << "" << 0 << "1,5,"
                                                << "1.5";
    QTest::newRow("either: second separator") << int(KeyFilter::DecimalEither) << "" << 0 << "1,5.2"
                                              << "1,52";
    QTest::newRow("hex: upper case") << int(KeyFilter::HexDigit) << "" << 0 << "a0fz"
                                     << "A0F";
}

void StyleEditorsTest::keyFilters() {
    QFETCH(int, filter);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QLineEdit edit(text);
    FilterKeys(&edit, static_cast<KeyFilter>(filter));
    edit.show();
    edit.setCursorPosition(caret);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), result);
    // Backspace always passes, also before a minus.
    edit.setText("-5");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("5"));
}

void StyleEditorsTest::fontFamily_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("shownAgain");
    QTest::newRow("quoted comma") << "Arial , 'Comic, Sans', serif"
                                  << QStringList{"Arial ", "'Comic, Sans'", "serif"}
                                  << "Arial , 'Comic, Sans', serif";
    QTest::newRow("empty") << "" << QStringList{} << "";
    QTest::newRow("blanks") << "  Georgia,,Times  " << QStringList{"Georgia", "Times"}
                            << "Georgia, Times";
}

void StyleEditorsTest::fontFamily() {
    QFETCH(QString, typed);
    QFETCH(QStringList, items);
    QFETCH(QString, shownAgain);
    Styles s;
    QWidget* frame = s.Frame("frameFontUM");
    auto* family = Styles::In<QComboBox>(frame, "cbFontFamily");
    QCOMPARE(family->currentText(), QString("sans-serif"));
    Styles::Type(family->lineEdit(), typed.isEmpty() ? QString("x") : typed);
    if (typed.isEmpty()) QTest::keyClick(family->lineEdit(), Qt::Key_Backspace);
    QVERIFY(s.app.main->Tracker().EditPending());
    Styles::FocusTo(Styles::In<QComboBox>(frame, "cbFontStyle"));
    QStringList got;
    for (const std::string& i : s.Css(kSubMenuLevel).FontFamilyList) got << Q(i);
    QCOMPARE(got, items);
    QVERIFY(s.app.session.Modified);
    QVERIFY(!s.app.main->Tracker().EditPending());
    // The other level is not touched.
    QCOMPARE(s.Css(kMainMenuLevel).FontFamilyList, std::vector<std::string>{"sans-serif"});
    s.app.main->Styles()->RefreshFromRecord();
    QCOMPARE(family->currentText(), shownAgain);

    // A preset applies at once.
    Styles::Choose(family, 1);
    QCOMPARE(s.Css(kSubMenuLevel).FontFamilyList,
             (std::vector<std::string>{"Times New Roman", "Times", "serif"}));
}

void StyleEditorsTest::fontSizeAndHover() {
    Styles s("font_size_type=12pt\r\nfont_size_value=10\r\n");
    QWidget* frame = s.Frame("frameFontM");
    auto* size = Styles::In<QComboBox>(frame, "cbFontSize");
    auto* sizeEdit = Styles::In<QLineEdit>(frame, "eFontSize");
    QCOMPARE(size->currentText(), QString("mittel"));
    QVERIFY(sizeEdit->isHidden());
    QCOMPARE(s.Css().font_size_type, std::string("12pt"));

    Styles::Choose(size, size->findText("Pixel (px)"));
    QCOMPARE(s.Css().font_size_type, std::string("px"));
    QCOMPARE(s.Css().font_size_value, std::string("10"));
    QVERIFY(sizeEdit->isVisible());
    QCOMPARE(CssValueText(s.Css(), CssProp::FontSize), std::string("10px"));

    // No hover colour: the box is unchecked; checking it again takes the choice's red.
    auto* hover = Styles::In<QCheckBox>(frame, "cbFontColorHoverActive");
    auto* hoverChoice = Styles::In<TFrameColorChoice>(frame, "frameFontColorChoiceHover");
    QVERIFY(!hover->isChecked());
    QVERIFY(hoverChoice->isHidden());
    Styles::Click(hover);
    QCOMPARE(s.Css().color_hover, std::string("FF0000"));
    QVERIFY(hoverChoice->isVisible());
    Styles::Click(hover);
    QCOMPARE(s.Css().color_hover, std::string());
    QVERIFY(hoverChoice->isHidden());
}

void StyleEditorsTest::textEditor() {
    Styles s(
        "text_decoration_inherit=1\r\ntext_decoration_underline=1\r\nword_spacing_type=%\r\n"
        "letter_spacing_type=%\r\ntext_align=start\r\nline_height_value=1.5\r\n");
    QWidget* frame = s.Frame("frameTextM");
    auto* inherit = Styles::In<QCheckBox>(frame, "cbTextDecorationInherit");
    auto* underline = Styles::In<QCheckBox>(frame, "cbTextDecorationUnderline");
    QVERIFY(inherit->isChecked());
    QVERIFY(!underline->isChecked());
    QVERIFY(!underline->isEnabled());
    QVERIFY(!s.Css().text_decoration_underline);

    Styles::Click(inherit);
    QVERIFY(!s.Css().text_decoration_inherit);
    for (const char* name : {"cbTextDecorationUnderline", "cbTextDecorationOverline",
                             "cbTextDecorationLineThrough", "cbTextDecorationBlink"}) {
        auto* b = Styles::In<QCheckBox>(frame, name);
        QVERIFY2(!b->isChecked() && b->isEnabled(), name);
    }
    Styles::Click(underline);
    Styles::Click(inherit);
    QVERIFY(!s.Css().text_decoration_underline);
    QVERIFY(!underline->isChecked());

    // Word spacing "%" shows "normal" without its edit and is kept; letter spacing "%" shows
    // no entry but its edit; an unknown alignment keeps the list's entry and the text.
    QCOMPARE(Styles::In<QComboBox>(frame, "cbTextWordSpacing")->currentIndex(), 0);
    QVERIFY(Styles::In<QLineEdit>(frame, "eTextWordSpacing")->isHidden());
    QCOMPARE(s.Css().word_spacing_type, std::string("%"));
    QCOMPARE(Styles::In<QComboBox>(frame, "cbTextLetterSpacing")->currentIndex(), -1);
    QVERIFY(Styles::In<QLineEdit>(frame, "eTextLetterSpacing")->isVisible());
    QCOMPARE(Styles::In<QComboBox>(frame, "cbTextAlign")->currentIndex(), 0);
    QCOMPARE(s.Css().text_align, std::string("start"));

    auto* lineHeight = Styles::In<QComboBox>(frame, "cbTextLineHeight");
    Styles::Choose(lineHeight, 2);
    QCOMPARE(s.Css().line_height_type, std::string());
    QVERIFY(Styles::In<QLineEdit>(frame, "eTextLineHeight")->isVisible());
    QCOMPARE(CssValueText(s.Css(), CssProp::LineHeight), std::string("1.5"));
    QVERIFY(s.app.session.Modified);
}

void StyleEditorsTest::positionStaticAndBack() {
    Styles s(
        "position=absolute\r\nleft_right_direction=right\r\nleft_right_type=px\r\n"
        "left_right_value=-5\r\nwidth_type=weit\r\n");
    QWidget* frame = s.Frame("framePosM");
    auto* offset = Styles::In<QComboBox>(frame, "cbPosOffsetH");
    auto* offsetEdit = Styles::In<QLineEdit>(frame, "ePosOffsetH");
    auto* right = Styles::In<QRadioButton>(frame, "rgPosDirectionX1");
    QVERIFY(right->isChecked());
    QCOMPARE(offset->currentText(), QString("Pixel (px)"));
    QCOMPARE(offsetEdit->text(), QString("-5"));
    QVERIFY(offsetEdit->isVisible());
    // A width type that is not a unit shows "automatisch" and is kept.
    QCOMPARE(Styles::In<QComboBox>(frame, "cbPosBreite")->currentIndex(), 0);
    QVERIFY(Styles::In<QLineEdit>(frame, "ePosBreite")->isHidden());
    QCOMPARE(s.Css().width_type, std::string("weit"));

    Styles::Click(Styles::In<QRadioButton>(frame, "rgPosArt0"));
    const TCSS& css = s.Css();
    QCOMPARE(css.position, std::string("static"));
    QCOMPARE(css.left_right_direction + css.left_right_type + css.top_bottom_direction +
                 css.top_bottom_type,
             std::string("leftautotopauto"));
    QCOMPARE(css.left_right_value, std::string("-5"));
    QVERIFY(!right->isEnabled());
    QVERIFY(!offset->isEnabled());
    QVERIFY(!Styles::In<QComboBox>(frame, "cbPosOffsetV")->isEnabled());
    QVERIFY(offsetEdit->isHidden());

    Styles::Click(Styles::In<QRadioButton>(frame, "rgPosArt2"));
    QCOMPARE(css.position, std::string("absolute"));
    QVERIFY(Styles::In<QRadioButton>(frame, "rgPosDirectionX0")->isChecked());
    QVERIFY(right->isEnabled());
    QCOMPARE(offset->currentText(), QString("automatisch"));
    QVERIFY(offsetEdit->isHidden());
    Styles::Choose(offset, 3);
    QVERIFY(offsetEdit->isVisible());
    QCOMPARE(CssValueText(css, CssProp::LeftRight), std::string("-5px"));

    auto* width = Styles::In<QComboBox>(frame, "cbPosBreite");
    Styles::Choose(width, width->findText("Prozent (%)"));
    QCOMPARE(CssValueText(css, CssProp::Width), std::string("150%"));
}

void StyleEditorsTest::borderOpening_data() {
    QTest::addColumn<QByteArray>("css");
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("style");
    QTest::newRow("equal borders") << QByteArray(
                                          "border_left_style=solid\r\nborder_right_style="
                                          "solid\r\nborder_top_style=solid\r\n"
                                          "border_bottom_style=solid\r\n")
                                   << "alle Seiten"
                                   << "mittel"
                                   << "durchgezogene Linie";
    QTest::newRow("top differs") << QByteArray(
                                        "border_top_style=dotted\r\nborder_left_width_type="
                                        "thick\r\n")
                                 << "links"
                                 << "dick"
                                 << "kein Rahmen";
}

void StyleEditorsTest::borderOpening() {
    QFETCH(QByteArray, css);
    QFETCH(QString, side);
    QFETCH(QString, width);
    QFETCH(QString, style);
    Styles s(css);
    QWidget* frame = s.Frame("frameBorderM");
    QCOMPARE(Styles::In<QComboBox>(frame, "cbRing")->currentText(), QString("Rahmen"));
    QCOMPARE(Styles::In<QComboBox>(frame, "cbSide")->currentText(), side);
    QCOMPARE(Styles::In<QComboBox>(frame, "cbBorderBreite")->currentText(), width);
    QCOMPARE(Styles::In<QComboBox>(frame, "cbBorderStyle")->currentText(), style);
    QCOMPARE(Styles::In<QWidget>(frame, "frameBorderColorChoice")->isVisible(),
             style != "kein Rahmen");
    QVERIFY(!s.app.session.Modified);
}

void StyleEditorsTest::borderPicture() {
    Styles s("border_top_style=dotted\r\n");
    auto* frame = s.Frame<TFrameBorder>("frameBorderM");
    QWidget* picture = Styles::In<QWidget>(frame, "iBorderSelect");
    QCOMPARE(picture->size(), QSize(200, 130));
    auto* side = Styles::In<QComboBox>(frame, "cbSide");
    auto* ring = Styles::In<QComboBox>(frame, "cbRing");
    struct Click {
        QPoint at;
        int ring, mask;
        QString sideText;
        const char* focus;
    } const clicks[] = {
        {{25, 65}, kBorder, 1, "links", "iBorderSelect"},    // the only selected side: nothing
        {{100, 25}, kBorder, 5, "", "cbSide"},               // left + top: no entry
        {{25, 65}, kBorder, 4, "oben", "cbSide"},            // one of two leaves
        {{190, 65}, kMargin, 2, "rechts", "cbRing"},         // another ring: only this side
        {{100, 65}, kMargin, 2, "rechts", "iBorderSelect"},  // the inner area: nothing
    };
    for (const Click& c : clicks) {
        QTest::mouseClick(picture, Qt::LeftButton, {}, c.at);
        QCOMPARE(frame->Selection().ring, c.ring);
        QCOMPARE(frame->Selection().mask, c.mask);
        QCOMPARE(side->currentText(), c.sideText);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString(c.focus));
    }
    QCOMPARE(ring->currentText(), QString("Außenabstand"));
    // Rings other than the border hide colour and style; a double click's release is ignored.
    QVERIFY(!Styles::In<QWidget>(frame, "cbBorderStyle")->isVisible());
    // A double click as the window system delivers it: press, release, double click, release.
    const QPointF at(100, 5);
    const QEvent::Type sequence[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                     QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease};
    for (QEvent::Type type : sequence) {
        const bool release = type == QEvent::MouseButtonRelease;
        QMouseEvent e(type, at, picture->mapToGlobal(at), Qt::LeftButton,
                      release ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &e);
    }
    QCOMPARE(frame->Selection().mask, 2 | 4);
    QVERIFY(!s.app.session.Modified);
}

void StyleEditorsTest::borderUnifiesOnOpening() {
    Styles s(
        "margin_left_width_type=px\r\nmargin_left_width_value=5\r\n"
        "margin_right_width_type=px\r\nmargin_right_width_value=10\r\n");
    auto* frame = s.Frame<TFrameBorder>("frameBorderM");
    auto* ring = Styles::In<QComboBox>(frame, "cbRing");
    auto* side = Styles::In<QComboBox>(frame, "cbSide");
    Styles::Choose(ring, 0);
    Styles::Choose(side, 4);  // links + rechts
    auto* width = Styles::In<QComboBox>(frame, "cbBorderBreite");
    QCOMPARE(width->currentIndex(), -1);
    QCOMPARE(Styles::In<QComboBox>(frame, "cbBorderStyle")->currentIndex(), -1);
    QVERIFY(Styles::In<QLineEdit>(frame, "eBorderBreite")->isHidden());
    width->showPopup();
    QCOMPARE(s.Css().WidthValue(kMargin, kRight), std::string("5"));
    QCOMPARE(width->currentText(), QString("px"));
    QCOMPARE(Styles::In<QLineEdit>(frame, "eBorderBreite")->text(), QString("5"));
    width->hidePopup();
    // The border ring of the other sides is untouched.
    QCOMPARE(s.Css().WidthType(kBorder, kRight), std::string("medium"));
}

void StyleEditorsTest::borderWidthAndStyle() {
    Styles s("margin_top_width_value=7\r\n");
    auto* frame = s.Frame<TFrameBorder>("frameBorderUM");
    auto* width = Styles::In<QComboBox>(frame, "cbBorderBreite");
    auto* edit = Styles::In<QLineEdit>(frame, "eBorderBreite");
    Styles::Choose(Styles::In<QComboBox>(frame, "cbRing"), 0);
    Styles::Choose(Styles::In<QComboBox>(frame, "cbSide"), 6);
    Styles::Choose(width, 0);  // automatisch
    for (BoxSide side : {kLeft, kRight, kTop, kBottom}) {
        QCOMPARE(s.Css(kSubMenuLevel).WidthType(kMargin, side), std::string("auto"));
        QCOMPARE(s.Css(kSubMenuLevel).WidthValue(kMargin, side), std::string("0"));
    }
    QVERIFY(edit->isHidden());
    Styles::Choose(width, width->findText("px"));
    QVERIFY(edit->isVisible());
    QCOMPARE(edit->text(), QString("0"));
    QCOMPARE(s.Css(kSubMenuLevel).WidthType(kMargin, kBottom), std::string("px"));
    Styles::Type(edit, "2,5");
    Styles::FocusTo(width);
    QCOMPARE(s.Css(kSubMenuLevel).WidthValue(kMargin, kLeft), std::string("2,5"));
    QCOMPARE(s.Css(kSubMenuLevel).WidthValue(kMargin, kBottom), std::string("2,5"));

    Styles::Choose(Styles::In<QComboBox>(frame, "cbRing"), 1);
    auto* style = Styles::In<QComboBox>(frame, "cbBorderStyle");
    auto* color = Styles::In<TFrameColorChoice>(frame, "frameBorderColorChoice");
    Styles::Choose(style, 3);
    QVERIFY(color->isVisible());
    QCOMPARE(s.Css(kSubMenuLevel).BorderStyle(kTop), std::string("solid"));
    Styles::Choose(style, 0);
    QVERIFY(color->isHidden());
    QCOMPARE(s.Css(kMainMenuLevel).BorderStyle(kTop), std::string("none"));
    QCOMPARE(s.Css(kMainMenuLevel).WidthValue(kMargin, kTop), std::string("7"));
}

void StyleEditorsTest::background_data() {
    QTest::addColumn<QByteArray>("css");
    QTest::addColumn<QStringList>("entries");  // the three lists
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("hoverChoice");
    QTest::newRow("no keys") << QByteArray()
                             << QStringList{"transparent", "transparent", "transparent"} << true
                             << "C0C0C0";
    QTest::newRow("empty hover") << QByteArray("background_color_hover=\r\n")
                                 << QStringList{"transparent", "transparent", "transparent"}
                                 << false << "C0C0C0";
    QTest::newRow("inherit hover")
        << QByteArray("background_color_hover=inherit\r\nbackground_color=00FF00\r\n")
        << QStringList{"Farbwert", "transparent", "vererbt"} << true << "C0C0C0";
    QTest::newRow("hover colour") << QByteArray("background_color_hover=123456\r\n")
                                  << QStringList{"transparent", "transparent", "Farbwert"} << true
                                  << "123456";
}

void StyleEditorsTest::background() {
    QFETCH(QByteArray, css);
    QFETCH(QStringList, entries);
    QFETCH(bool, active);
    QFETCH(QString, hoverChoice);
    Styles s(css);
    QWidget* frame = s.Frame("frameBackgroundM");
    const char* lists[] = {"cbBackgroundColor", "cbBackgroundColorSelected",
                           "cbBackgroundColorHover"};
    const char* choices[] = {"frameBackgroundColorChoice", "frameBackgroundColorSelectedChoice",
                             "frameBackgroundColorHoverChoice"};
    auto* box = Styles::In<QCheckBox>(frame, "cbBackgroundColorHoverActive");
    QCOMPARE(box->isChecked(), active);
    for (int i = 0; i < 3; ++i) {
        auto* list = Styles::In<QComboBox>(frame, lists[i]);
        QCOMPARE(list->currentText(), entries[i]);
        QCOMPARE(list->isVisible(), i < 2 || active);
        QCOMPARE(Styles::In<QWidget>(frame, choices[i])->isVisible(),
                 entries[i] == "Farbwert" && (i < 2 || active));
    }
    auto* hover = Styles::In<TFrameColorChoice>(frame, choices[2]);
    QCOMPARE(hover->HexText(), hoverChoice);

    // Unchecking stores an empty text; checking again stores the list's entry.
    const std::string before = s.Css().background_color_hover;
    Styles::Click(box);
    QCOMPARE(Q(s.Css().background_color_hover), active ? QString() : QString("transparent"));
    Styles::Click(box);
    QCOMPARE(s.Css().background_color_hover, active ? before : std::string());
    QVERIFY(s.app.session.Modified);

    // "Farbwert" stores the colour its choice shows: black for one never shown.
    Styles::Choose(Styles::In<QComboBox>(frame, lists[1]), 2);
    QCOMPARE(s.Css().background_color_selected, std::string("000000"));
    QVERIFY(Styles::In<QWidget>(frame, choices[1])->isVisible());
}

void StyleEditorsTest::refusedEditHoldsPageAndCommands() {
    Styles s("letter_spacing_type=px\r\n");
    QWidget* frame = s.Frame("frameTextM");
    QTabWidget* pages = s.app.main->PageControl();
    QWidget* textPage = pages->currentWidget();
    auto* edit = Styles::In<QLineEdit>(frame, "eTextLetterSpacing");
    Styles::Type(edit, "-");
    QVERIFY(s.app.main->Tracker().EditPending());
    pages->setCurrentWidget(s.app.Find("tsFont"));
    QCOMPARE(pages->currentWidget(), textPage);
    QCOMPARE(s.app.prompts.beeps, 1);
    QCOMPARE(edit->text(), QString("0"));
    QCOMPARE(s.Css().letter_spacing_value, std::string("0"));
    // Nor does the other level's tab come to the front.
    auto* levels = s.app.Find<QTabWidget>("tsText");
    Styles::Type(edit, "-");
    levels->setCurrentIndex(1);
    QCOMPARE(levels->currentIndex(), 0);
    QCOMPARE(s.app.prompts.beeps, 2);
    levels->setCurrentIndex(1);
    QCOMPARE(levels->currentIndex(), 1);

    // The same for a colour being typed, before a save.
    auto* choice = Styles::In<TFrameColorChoice>(s.Frame("frameFontM"), "frameFontColorChoice");
    Styles::Type(choice->HexEdit(), "1234");
    QCOMPARE(s.app.main->FileSave(), TMainForm::SaveOutcome::Failed);
    QCOMPARE(s.app.prompts.beeps, 3);
    QCOMPARE(choice->HexEdit()->text(), QString("000000"));
    // Repeated, the command goes on.
    QCOMPARE(s.app.main->FileSave(), TMainForm::SaveOutcome::Saved);
}

void StyleEditorsTest::roundTrip() {
    Styles s;
    QVERIFY(s.app.main->FileSave() == TMainForm::SaveOutcome::Saved);
    auto readFile = [&] {
        QFile f(s.file);
        f.open(QIODevice::ReadOnly);
        return f.readAll().split('\n');
    };
    auto stylesheet = [&] {
        TextLines lines;
        StylesheetWriter::AddLevel(s.Css(kMainMenuLevel), "men", lines);
        StylesheetWriter::AddLevel(s.Css(kSubMenuLevel), "umen", lines);
        return lines;
    };
    const QList<QByteArray> before = readFile();
    const TextLines cssBefore = stylesheet();

    // One control of each editor on each level; the expected key=value lines by section.
    QMap<QByteArray, QByteArray> expected;  // "css_1/key" -> value
    for (const char* level : {"M", "UM"}) {
        const QByteArray section = QByteArray(level) == "M" ? "css_1/" : "css_2/";
        const QByteArray l(level);
        QWidget* font = s.Frame(("frameFont" + l).constData());
        Styles::Choose(Styles::In<QComboBox>(font, "cbFontWeight"), 3);
        expected[section + "font_weight"] = "bold";
        QWidget* text = s.Frame(("frameText" + l).constData());
        Styles::Choose(Styles::In<QComboBox>(text, "cbTextAlign"), 2);
        expected[section + "text_align"] = "center";
        QWidget* pos = s.Frame(("framePos" + l).constData());
        auto* width = Styles::In<QComboBox>(pos, "cbPosBreite");
        Styles::Choose(width, width->findText("Pixel (px)"));
        expected[section + "width_type"] = "px";
        QWidget* border = s.Frame(("frameBorder" + l).constData());
        Styles::Choose(Styles::In<QComboBox>(border, "cbBorderStyle"), 3);
        for (const char* side : {"left", "right", "top", "bottom"})
            expected[section + "border_" + side + "_style"] = "solid";
        QWidget* back = s.Frame(("frameBackground" + l).constData());
        auto* choice = Styles::In<TFrameColorChoice>(back, "frameBackgroundColorChoice");
        Styles::Choose(Styles::In<QComboBox>(back, "cbBackgroundColor"), 2);
        Styles::Type(choice->HexEdit(), l == "M" ? "abc" : "123456");
        Styles::FocusTo(Styles::In<QComboBox>(back, "cbBackgroundColor"));
        expected[section + "background_color"] = l == "M" ? "AABBCC" : "123456";
    }
    QVERIFY(s.app.session.Modified);
    QCOMPARE(s.app.main->FileSave(), TMainForm::SaveOutcome::Saved);
    const QList<QByteArray> after = readFile();
    QCOMPARE(after.size(), before.size());
    QByteArray section;
    int changed = 0;
    for (int i = 0; i < after.size(); ++i) {
        QByteArray line = after[i];
        if (line.endsWith('\r')) line.chop(1);
        if (line.startsWith('[')) section = line.mid(1, line.size() - 2);
        const QByteArray key = section + "/" + line.left(line.indexOf('='));
        if (expected.contains(key)) {
            QCOMPARE(line.mid(line.indexOf('=') + 1), expected[key]);
            ++changed;
        } else if (key == "project/lastsave") {
            // The time of the save: the same unless the two saves fall into different seconds.
        } else {
            QCOMPARE(after[i], before[i]);
        }
    }
    QCOMPARE(changed, int(expected.size()));

    // Reopened, the editors show the changes; the stylesheet differs only in the changed rules.
    s.app.main->OpenProject(s.file);
    QWidget* font = s.Frame("frameFontUM");
    QCOMPARE(Styles::In<QComboBox>(font, "cbFontWeight")->currentText(), QString("fett"));
    QWidget* back = s.Frame("frameBackgroundM");
    QCOMPARE(Styles::In<TFrameColorChoice>(back, "frameBackgroundColorChoice")->HexText(),
             QString("AABBCC"));
    const TextLines cssAfter = stylesheet();
    QCOMPARE(cssAfter.size(), cssBefore.size());
    QSet<QString> differing;
    for (size_t i = 0; i < cssAfter.size(); ++i)
        if (cssAfter[i] != cssBefore[i]) differing << Q(cssAfter[i]).trimmed();
    const QSet<QString> changedRules = {
        "font-weight:bold;",          "text-align:center;",        "width:150px;",
        "border-left-style:solid;",   "border-right-style:solid;", "border-top-style:solid;",
        "border-bottom-style:solid;", "background-color:#AABBCC;", "background-color:#123456;"};
    QCOMPARE(differing, changedRules);
}

QTEST_MAIN(StyleEditorsTest)
#include "StyleEditorsTest.moc"
