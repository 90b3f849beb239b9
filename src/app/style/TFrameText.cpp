// SPDX-License-Identifier: MIT
#include "style/TFrameText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "style/StyleControls.h"

namespace pagloom::app {
namespace {

// The inherit flag wins: with it set, the other four flags are false.
void KeepDecorationRule(TCSS& css) {
    if (!css.text_decoration_inherit) return;
    css.text_decoration_underline = false;
    css.text_decoration_overline = false;
    css.text_decoration_line_through = false;
    css.text_decoration_blink = false;
}

}  // namespace

TFrameText::TFrameText(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
                       QWidget* parent)
    : StyleFrame(std::move(record), level, tracker, prompts, parent) {
    auto field = [this](std::string TCSS::*m) -> Binder::Member<std::string> {
        return [this, m]() -> std::string& { return Css().*m; };
    };
    auto* grid = new QGridLayout(this);

    struct Row {
        const char* title;
        const char* list;
        const char* edit;  // nullptr: no number edit
        KeyFilter filter;
        const StyleList& entries;
        std::string TCSS::*type;
        std::string TCSS::*value;
    } const rows[] = {
        {"&Buchstaben-Abstand", "cbTextLetterSpacing", "eTextLetterSpacing",
         KeyFilter::SignedDecimal, LetterSpacingList(), &TCSS::letter_spacing_type,
         &TCSS::letter_spacing_value},
        {"&Zeilenhöhe", "cbTextLineHeight", "eTextLineHeight", KeyFilter::DecimalEither,
         LineHeightList(), &TCSS::line_height_type, &TCSS::line_height_value},
        {"Schreib&richtung",
         "cbTextDirection",
         nullptr,
         {},
         DirectionList(),
         &TCSS::direction,
         nullptr},
        {"Ausrich&tung", "cbTextAlign", nullptr, {}, TextAlignList(), &TCSS::text_align, nullptr},
        {"Text e&inrücken", "cbTextIndent", "eTextIndent", KeyFilter::SignedDecimal,
         TextIndentList(), &TCSS::text_indent_type, &TCSS::text_indent_value},
        {"&Groß-/Kleinbuchstaben",
         "cbTextTransform",
         nullptr,
         {},
         TextTransformList(),
         &TCSS::text_transform,
         nullptr},
        {"Tre&nnzeichen-Behandlung",
         "cbTextWhiteSpace",
         nullptr,
         {},
         WhiteSpaceList(),
         &TCSS::white_space,
         nullptr},
        {"&Wortabstand", "cbTextWordSpacing", "eTextWordSpacing", KeyFilter::SignedDecimal,
         WordSpacingList(), &TCSS::word_spacing_type, &TCSS::word_spacing_value},
        {"&Vertikale Ausrichtung", "cbTextVerticalAlign", "eTextVerticalAlign",
         KeyFilter::SignedDecimal, VerticalAlignList(), &TCSS::vertical_align_type,
         &TCSS::vertical_align_value},
    };
    int i = 0;
    for (const Row& r : rows) {
        QGroupBox* box = MakeGroup(QString::fromUtf8(r.title), this);
        auto* layout = new QHBoxLayout(box);
        QComboBox* combo = MakeStyleCombo(r.entries, QLatin1String(r.list), box);
        layout->addWidget(combo, 1);
        BindList(combo, r.entries, field(r.type));
        if (r.edit) {
            QLineEdit* edit = MakeNumberEdit(QLatin1String(r.edit));
            edit->setParent(box);
            layout->addWidget(edit);
            BindNumber(edit, r.filter, field(r.value), r.entries, field(r.type));
        }
        grid->addWidget(box, i % 5, i / 5, Qt::AlignTop);
        ++i;
    }

    QGroupBox* deco = MakeGroup(QStringLiteral("Text-&Markierung"), this);
    auto* decoLayout = new QVBoxLayout(deco);
    struct Flag {
        const char* name;
        const char* text;
        bool TCSS::*member;
    } const flags[] = {
        {"cbTextDecorationUnderline", "unterstreichen", &TCSS::text_decoration_underline},
        {"cbTextDecorationOverline", "Linie über Text", &TCSS::text_decoration_overline},
        {"cbTextDecorationLineThrough", "durchstreichen", &TCSS::text_decoration_line_through},
        {"cbTextDecorationBlink", "blinken", &TCSS::text_decoration_blink},
        {"cbTextDecorationInherit", "vererbt", &TCSS::text_decoration_inherit},
    };
    for (const Flag& f : flags) {
        auto* box = new QCheckBox(QString::fromUtf8(f.text), deco);
        box->setObjectName(QLatin1String(f.name));
        decoLayout->addWidget(box);
        bool TCSS::*m = f.member;
        binder_.Switch(box, [this, m]() -> bool& { return Css().*m; });
        if (m != &TCSS::text_decoration_inherit)
            binder_.Enable(box, [this] { return !Css().text_decoration_inherit; });
    }
    binder_.OnUserChange([this] { KeepDecorationRule(Css()); });
    grid->addWidget(deco, i % 5, i / 5, Qt::AlignTop);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
}

void TFrameText::RefreshFromRecord() {
    KeepDecorationRule(Css());
    binder_.Refresh();
}

}  // namespace pagloom::app
