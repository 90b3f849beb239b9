// SPDX-License-Identifier: MIT
#include "style/TFrameFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "FieldTracker.h"
#include "QtText.h"
#include "style/StyleControls.h"
#include "style/TFrameColorChoice.h"

namespace pagloom::app {

TFrameFont::TFrameFont(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
                       QWidget* parent)
    : StyleFrame(std::move(record), level, tracker, prompts, parent) {
    auto field = [this](std::string TCSS::*m) -> Binder::Member<std::string> {
        return [this, m]() -> std::string& { return Css().*m; };
    };
    auto* grid = new QGridLayout(this);

    QGroupBox* family = MakeGroup(QStringLiteral("Schrift / Schrift&familie"), this);
    cbFontFamily_ = new QComboBox(family);
    cbFontFamily_->setObjectName(QStringLiteral("cbFontFamily"));
    cbFontFamily_->setEditable(true);
    cbFontFamily_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* preset : FontFamilyPresets) cbFontFamily_->addItem(Q(preset));
    (new QVBoxLayout(family))->addWidget(cbFontFamily_);
    connect(cbFontFamily_, &QComboBox::activated, this, [this](int i) {
        familyTyped_ = false;
        ApplyFamilyText(cbFontFamily_->itemText(i));
    });
    connect(cbFontFamily_->lineEdit(), &QLineEdit::textEdited, this, [this] {
        familyTyped_ = true;
        tracker_.SetEditPending(true);
    });
    // The drop-down hands its focus events to its line edit directly, past any filter on it.
    cbFontFamily_->installEventFilter(this);

    QGroupBox* size = MakeGroup(QStringLiteral("Schrift&größe"), this);
    QComboBox* cbFontSize = MakeStyleCombo(FontSizeList(), QStringLiteral("cbFontSize"), size);
    QLineEdit* eFontSize = MakeNumberEdit(QStringLiteral("eFontSize"));
    eFontSize->setParent(size);
    auto* sizeRow = new QHBoxLayout(size);
    sizeRow->addWidget(cbFontSize, 1);
    sizeRow->addWidget(eFontSize);
    BindList(cbFontSize, FontSizeList(), field(&TCSS::font_size_type));
    BindNumber(eFontSize, KeyFilter::DecimalEither, field(&TCSS::font_size_value), FontSizeList(),
               field(&TCSS::font_size_type));

    struct Simple {
        const char* title;
        const char* name;
        const StyleList& list;
        std::string TCSS::*member;
    } const simple[] = {
        {"Schrift&stil", "cbFontStyle", FontStyleList(), &TCSS::font_style},
        {"Schrift&variante", "cbFontVariant", FontVariantList(), &TCSS::font_variant},
        {"Schriftge&wicht", "cbFontWeight", FontWeightList(), &TCSS::font_weight},
    };
    grid->addWidget(family, 0, 0);
    grid->addWidget(size, 1, 0);
    int row = 2;
    for (const Simple& s : simple) {
        QGroupBox* box = MakeGroup(QString::fromUtf8(s.title), this);
        QComboBox* combo = MakeStyleCombo(s.list, QLatin1String(s.name), box);
        (new QVBoxLayout(box))->addWidget(combo);
        BindList(combo, s.list, field(s.member));
        grid->addWidget(box, row++, 0);
    }

    QGroupBox* colorBox = MakeGroup(QStringLiteral("S&chriftfarbe"), this);
    color_ = MakeColorChoice(QStringLiteral("frameFontColorChoice"), field(&TCSS::color));
    color_->setParent(colorBox);
    (new QVBoxLayout(colorBox))->addWidget(color_);
    QGroupBox* selectedBox = MakeGroup(QStringLiteral("Schriftfarbe a&ktueller Menüpunkt"), this);
    colorSelected_ = MakeColorChoice(QStringLiteral("frameFontColorChoiceSelected"),
                                     field(&TCSS::color_selected));
    colorSelected_->setParent(selectedBox);
    (new QVBoxLayout(selectedBox))->addWidget(colorSelected_);
    QGroupBox* hoverBox = MakeGroup(QStringLiteral("Schriftfarbe bei &Maus-Berührung"), this);
    cbFontColorHoverActive_ = new QCheckBox(QStringLiteral("aktivieren"), hoverBox);
    cbFontColorHoverActive_->setObjectName(QStringLiteral("cbFontColorHoverActive"));
    colorHover_ =
        MakeColorChoice(QStringLiteral("frameFontColorChoiceHover"), field(&TCSS::color_hover));
    colorHover_->setParent(hoverBox);
    auto* hoverLayout = new QVBoxLayout(hoverBox);
    hoverLayout->addWidget(cbFontColorHoverActive_);
    hoverLayout->addWidget(colorHover_);
    connect(cbFontColorHoverActive_, &QCheckBox::clicked, this, [this](bool on) {
        Css().color_hover = on ? S(colorHover_->HexText()) : std::string();
        Changed();
    });
    binder_.Show(colorHover_, [this] { return !Css().color_hover.empty(); });

    grid->addWidget(colorBox, 0, 1, 2, 1);
    grid->addWidget(selectedBox, 2, 1, 2, 1);
    grid->addWidget(hoverBox, 4, 1, 2, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);
}

void TFrameFont::ApplyFamilyText(const QString& text) {
    Css().FontFamilyList = SplitFontFamily(S(text));
    Changed();
}

bool TFrameFont::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cbFontFamily_ && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && familyTyped_) {
        familyTyped_ = false;
        ApplyFamilyText(cbFontFamily_->currentText());
        tracker_.SetLastEditValid(true);
        tracker_.SetEditPending(false);
    }
    return StyleFrame::eventFilter(watched, event);
}

void TFrameFont::RefreshFromRecord() {
    familyTyped_ = false;
    {
        const QSignalBlocker block(cbFontFamily_);
        cbFontFamily_->setCurrentIndex(-1);
        cbFontFamily_->setEditText(Q(JoinFontFamily(Css().FontFamilyList)));
    }
    color_->SetColor(Q(Css().color));
    colorSelected_->SetColor(Q(Css().color_selected));
    const bool hover = !Css().color_hover.empty();
    colorHover_->SetColor(hover ? Q(Css().color_hover) : QStringLiteral("FF0000"));
    cbFontColorHoverActive_->setChecked(hover);
    binder_.Refresh();
}

}  // namespace pagloom::app
