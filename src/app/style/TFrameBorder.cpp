// SPDX-License-Identifier: MIT
#include "style/TFrameBorder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "FieldTracker.h"
#include "QtText.h"
#include "style/StyleControls.h"
#include "style/TBoxPicture.h"
#include "style/TFrameColorChoice.h"

namespace pagloom::app {

TFrameBorder::TFrameBorder(Record record, MenuLevel level, FieldTracker& tracker,
                           UiPrompts& prompts, QWidget* parent)
    : StyleFrame(std::move(record), level, tracker, prompts, parent) {
    auto* grid = new QGridLayout(this);

    QGroupBox* pictureBox = MakeGroup(QStringLiteral("Rahmen / Bereich &wählen"), this);
    auto* pictureLayout = new QGridLayout(pictureBox);
    picture_ = new TBoxPicture([this] { return sel_; }, pictureBox);
    cbRing_ = MakeStyleCombo(BoxRingList(), QStringLiteral("cbRing"), pictureBox);
    cbSide_ = new QComboBox(pictureBox);
    cbSide_->setObjectName(QStringLiteral("cbSide"));
    for (const SideEntry& e : SideMaskTable) cbSide_->addItem(Q(e.label));
    auto* ringLabel = new QLabel(QStringLiteral("&Bereich:"), pictureBox);
    ringLabel->setBuddy(cbRing_);
    auto* sideLabel = new QLabel(QStringLiteral("&Seiten:"), pictureBox);
    sideLabel->setBuddy(cbSide_);
    pictureLayout->addWidget(picture_, 0, 0, 1, 2);
    pictureLayout->addWidget(ringLabel, 1, 0);
    pictureLayout->addWidget(cbRing_, 1, 1);
    pictureLayout->addWidget(sideLabel, 2, 0);
    pictureLayout->addWidget(cbSide_, 2, 1);

    QGroupBox* widthBox = MakeGroup(QStringLiteral("Brei&te"), this);
    auto* widthRow = new QHBoxLayout(widthBox);
    cbBorderBreite_ = new OpeningCombo(widthBox);
    cbBorderBreite_->setObjectName(QStringLiteral("cbBorderBreite"));
    eBorderBreite_ = MakeNumberEdit(QStringLiteral("eBorderBreite"));
    eBorderBreite_->setParent(widthBox);
    widthRow->addWidget(cbBorderBreite_, 1);
    widthRow->addWidget(eBorderBreite_);

    colorGroup_ = MakeGroup(QStringLiteral("Rahmen-&Farbe"), this);
    color_ = new TFrameColorChoice(tracker_, prompts_, colorGroup_);
    color_->setObjectName(QStringLiteral("frameBorderColorChoice"));
    (new QVBoxLayout(colorGroup_))->addWidget(color_);

    styleGroup_ = MakeGroup(QStringLiteral("Rahmen-Sti&l"), this);
    cbBorderStyle_ = new OpeningCombo(styleGroup_);
    cbBorderStyle_->setObjectName(QStringLiteral("cbBorderStyle"));
    FillStyleCombo(cbBorderStyle_, BorderStyleList());
    cbBorderStyle_->setCurrentIndex(0);
    (new QVBoxLayout(styleGroup_))->addWidget(cbBorderStyle_);

    grid->addWidget(pictureBox, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(widthBox, 0, 1);
    grid->addWidget(styleGroup_, 1, 1);
    grid->addWidget(colorGroup_, 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);

    connect(picture_, &TBoxPicture::Clicked, this, &TFrameBorder::PictureClicked);
    connect(cbRing_, &QComboBox::activated, this, [this](int i) {
        sel_.ring = i;
        ShowSideValues();
    });
    connect(cbSide_, &QComboBox::activated, this, [this](int i) {
        sel_.mask = SideMaskTable[static_cast<size_t>(i)].mask;
        ShowSideValues();
    });
    cbBorderBreite_->beforeOpen = [this] { UnifyBeforeOpen(); };
    cbBorderStyle_->beforeOpen = [this] { UnifyBeforeOpen(); };
    connect(cbBorderBreite_, &QComboBox::activated, this, &TFrameBorder::WidthChosen);
    connect(cbBorderStyle_, &QComboBox::activated, this, &TFrameBorder::StyleChosen);
    connect(color_, &TFrameColorChoice::Left, this, &TFrameBorder::ColorLeft);
    connect(color_, &TFrameColorChoice::Accepted, this, [this] {
        std::vector<std::string*> sides;
        ForSelectedSides([&](BoxSide s) { sides.push_back(&Css().BorderColor(s)); });
        PreviewWith(sides, S(color_->HexText()));
    });
    tracker_.TrackDecimal(eBorderBreite_, [this](const QString& text) {
        const std::string value = S(text);
        ForSelectedSides([&](BoxSide s) { Css().WidthValue(Ring(), s) = value; });
        emit RecordChanged();
    });
    ShowRingAndSides();
}

void TFrameBorder::ShowSideValues() {
    if (filledRing_ != sel_.ring) {
        FillStyleCombo(cbBorderBreite_, BoxWidthList(Ring()));
        filledRing_ = sel_.ring;
    }
    const SideValues v = pagloom::ShowSideValues(Css(), Ring(), sel_.mask);
    const bool border = Ring() == kBorder;
    const QSignalBlocker b1(cbBorderBreite_), b2(cbBorderStyle_);
    if (!v.agree) {
        cbBorderBreite_->setCurrentIndex(-1);
        eBorderBreite_->setText(QStringLiteral("0"));
        eBorderBreite_->setVisible(false);
        cbBorderStyle_->setCurrentIndex(-1);
        color_->setVisible(false);
    } else {
        eBorderBreite_->setText(Q(v.widthValue));
        eBorderBreite_->setVisible(v.widthEditVisible);
        cbBorderBreite_->setCurrentIndex(v.widthIndex);
        if (border) {
            color_->SetColor(Q(v.color));
            const int style = BorderStyleList().IndexOf(v.style, cbBorderStyle_->currentIndex());
            cbBorderStyle_->setCurrentIndex(style);
            color_->setVisible(style > 0);
        }
    }
    colorGroup_->setVisible(border);
    styleGroup_->setVisible(border);
    picture_->update();
}

void TFrameBorder::ShowRingAndSides() {
    cbRing_->setCurrentIndex(sel_.ring);
    cbSide_->setCurrentIndex(SideEntryIndex(sel_.mask));
    ShowSideValues();
}

void TFrameBorder::PictureClicked(int x, int y) {
    switch (ClickBoxPicture(sel_, x, y)) {
        case ClickFocus::Sides:
            cbSide_->setFocus(Qt::OtherFocusReason);
            break;
        case ClickFocus::Ring:
            cbRing_->setFocus(Qt::OtherFocusReason);
            break;
        case ClickFocus::None:
            break;
    }
    ShowRingAndSides();
}

void TFrameBorder::UnifyBeforeOpen() {
    if (cbBorderBreite_->currentIndex() != -1 || cbBorderStyle_->currentIndex() != -1) return;
    UnifySides(Css(), Ring(), sel_.mask);
    ShowSideValues();
    emit RecordChanged();
}

void TFrameBorder::WidthChosen(int index) {
    const StyleList& list = BoxWidthList(Ring());
    const std::string type = list.Stored(index);
    const bool unit = IsUnitCode(type);
    if (!unit) eBorderBreite_->setText(QStringLiteral("0"));
    const std::string value = unit ? S(eBorderBreite_->text()) : std::string("0");
    ForSelectedSides([&](BoxSide s) {
        Css().WidthValue(Ring(), s) = value;
        Css().WidthType(Ring(), s) = type;
    });
    eBorderBreite_->setVisible(list.EditVisible(index));
    Changed();
}

void TFrameBorder::StyleChosen(int index) {
    const std::string style = BorderStyleList().Stored(index);
    ForSelectedSides([&](BoxSide s) { Css().BorderStyle(s) = style; });
    color_->setVisible(index > 0);
    Changed();
}

void TFrameBorder::ColorLeft() {
    const std::string hex = S(color_->HexText());
    bool changed = false;
    ForSelectedSides([&](BoxSide s) {
        if (Css().BorderColor(s) == hex) return;
        Css().BorderColor(s) = hex;
        changed = true;
    });
    if (changed) Changed();
}

void TFrameBorder::RefreshFromRecord() {
    sel_.ring = kBorder;
    // Four equal borders are edited together; otherwise the left one shows alone.
    sel_.mask = SidesAgree(Css(), kBorder, kAllSides) ? kAllSides : SideBit(kLeft);
    ShowRingAndSides();
}

}  // namespace pagloom::app
