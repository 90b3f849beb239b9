// SPDX-License-Identifier: MIT
#include "style/TFrameBackground.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "QtText.h"
#include "style/StyleControls.h"
#include "style/TFrameColorChoice.h"

namespace pagloom::app {

std::string TFrameBackground::StoredText(int index, const TFrameColorChoice* choice) {
    return index == kBackgroundColorEntry ? S(choice->HexText()) : BackgroundList().Stored(index);
}

TFrameBackground::TFrameBackground(Record record, MenuLevel level, FieldTracker& tracker,
                                   UiPrompts& prompts, QWidget* parent)
    : StyleFrame(std::move(record), level, tracker, prompts, parent) {
    auto field = [this](std::string TCSS::*m) -> Binder::Member<std::string> {
        return [this, m]() -> std::string& { return Css().*m; };
    };
    auto* column = new QVBoxLayout(this);

    struct Row {
        const char* title;
        const char* list;
        const char* choice;
        std::string TCSS::*member;
        TFrameColorChoice** slot;
    } const rows[] = {
        {"Hinter&grundfarbe", "cbBackgroundColor", "frameBackgroundColorChoice",
         &TCSS::background_color, &color_},
        {"Hintergrundfarbe aktueller Me&nüpunkt", "cbBackgroundColorSelected",
         "frameBackgroundColorSelectedChoice", &TCSS::background_color_selected, &colorSelected_},
        {"Hintergrundfarbe bei &Maus-Berührung", "cbBackgroundColorHover",
         "frameBackgroundColorHoverChoice", &TCSS::background_color_hover, &colorHover_},
    };
    for (const Row& r : rows) {
        const bool hover = r.member == &TCSS::background_color_hover;
        QGroupBox* box = MakeGroup(QString::fromUtf8(r.title), this);
        auto* layout = new QVBoxLayout(box);
        if (hover) {
            cbHoverActive_ = new QCheckBox(QStringLiteral("aktivieren"), box);
            cbHoverActive_->setObjectName(QStringLiteral("cbBackgroundColorHoverActive"));
            layout->addWidget(cbHoverActive_);
        }
        auto* row = new QHBoxLayout;
        layout->addLayout(row);
        QComboBox* combo = MakeStyleCombo(BackgroundList(), QLatin1String(r.list), box);
        TFrameColorChoice* choice = MakeColorChoice(QLatin1String(r.choice), field(r.member));
        choice->setParent(box);
        row->addWidget(combo);
        row->addWidget(choice);
        row->addStretch(1);
        *r.slot = choice;
        const Binder::Member<std::string> f = field(r.member);
        if (hover) {
            cbHover_ = combo;
            binder_.Choice(
                combo,
                [this, combo, f] {
                    if (f().empty()) return showingRecord_ ? 0 : combo->currentIndex();
                    return BackgroundIndex(f());
                },
                [f, choice](int i) { f() = StoredText(i, choice); });
            binder_.Show(combo, [f] { return !f().empty(); });
            binder_.Show(choice, [f] {
                return !f().empty() && BackgroundIndex(f()) == kBackgroundColorEntry;
            });
        } else {
            binder_.Choice(
                combo, [f] { return BackgroundIndex(f()); },
                [f, choice](int i) { f() = StoredText(i, choice); });
            binder_.Show(choice, [f] { return BackgroundIndex(f()) == kBackgroundColorEntry; });
        }
        column->addWidget(box);
    }
    column->addStretch(1);
    connect(cbHoverActive_, &QCheckBox::clicked, this, [this](bool on) {
        Css().background_color_hover =
            on ? StoredText(cbHover_->currentIndex(), colorHover_) : std::string();
        Changed();
    });
}

void TFrameBackground::RefreshFromRecord() {
    const TCSS& css = Css();
    if (BackgroundIndex(css.background_color) == kBackgroundColorEntry)
        color_->SetColor(Q(css.background_color));
    if (BackgroundIndex(css.background_color_selected) == kBackgroundColorEntry)
        colorSelected_->SetColor(Q(css.background_color_selected));
    const bool hoverColor = BackgroundIndex(css.background_color_hover) == kBackgroundColorEntry;
    colorHover_->SetColor(hoverColor ? Q(css.background_color_hover) : QStringLiteral("C0C0C0"));
    cbHoverActive_->setChecked(!css.background_color_hover.empty());
    showingRecord_ = true;
    binder_.Refresh();
    showingRecord_ = false;
}

}  // namespace pagloom::app
