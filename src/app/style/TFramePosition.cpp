// SPDX-License-Identifier: MIT
#include "style/TFramePosition.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "QtText.h"
#include "style/StyleControls.h"

namespace pagloom::app {
namespace {

// Radio buttons for the entries of `list`, one per row of `box`, named `name` + index.
std::vector<QAbstractButton*> Radios(const StyleList& list, QGroupBox* box, const QString& name) {
    auto* layout = new QVBoxLayout(box);
    std::vector<QAbstractButton*> buttons;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        auto* b = new QRadioButton(Q(list.entries[i].label), box);
        b->setObjectName(name + QString::number(i));
        layout->addWidget(b);
        buttons.push_back(b);
    }
    return buttons;
}

}  // namespace

TFramePosition::TFramePosition(Record record, MenuLevel level, FieldTracker& tracker,
                               UiPrompts& prompts, QWidget* parent)
    : StyleFrame(std::move(record), level, tracker, prompts, parent) {
    auto field = [this](std::string TCSS::*m) -> Binder::Member<std::string> {
        return [this, m]() -> std::string& { return Css().*m; };
    };
    auto* grid = new QGridLayout(this);

    QGroupBox* kind = MakeGroup(QStringLiteral("Po&sitionsart"), this, QStringLiteral("rgPosArt"));
    binder_.Choice(
        Radios(PositionKindList(), kind, QStringLiteral("rgPosArt")),
        [this] { return kindShown_ = PositionKindList().IndexOf(Css().position, kindShown_); },
        [this](int i) {
            Css().position = PositionKindList().Stored(i);
            Css().ApplyStaticPosition();
        });

    QGroupBox* dirX = MakeGroup(QStringLiteral("Ausrichtung hori&zontal"), this,
                                QStringLiteral("rgPosDirectionX"));
    binder_.Choice(
        Radios(HorizontalDirectionList(), dirX, QStringLiteral("rgPosDirectionX")),
        [this] { return Css().left_right_direction == "left" ? 0 : 1; },
        [this](int i) { Css().left_right_direction = HorizontalDirectionList().Stored(i); });
    QGroupBox* dirY =
        MakeGroup(QStringLiteral("Ausrichtung &vertikal"), this, QStringLiteral("rgPosDirectionY"));
    binder_.Choice(
        Radios(VerticalDirectionList(), dirY, QStringLiteral("rgPosDirectionY")),
        [this] { return Css().top_bottom_direction == "top" ? 0 : 1; },
        [this](int i) { Css().top_bottom_direction = VerticalDirectionList().Stored(i); });
    for (QGroupBox* box : {dirX, dirY})
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>())
            binder_.Enable(b, [this] { return !IsStatic(); });

    struct Length {
        const char* title;
        const char* list;
        const char* edit;
        KeyFilter filter;
        std::string TCSS::*type;
        std::string TCSS::*value;
        bool offset;
    } const lengths[] = {
        {"Abs&tand horizontal", "cbPosOffsetH", "ePosOffsetH", KeyFilter::SignedDecimal,
         &TCSS::left_right_type, &TCSS::left_right_value, true},
        {"Abstand ve&rtikal", "cbPosOffsetV", "ePosOffsetV", KeyFilter::SignedDecimal,
         &TCSS::top_bottom_type, &TCSS::top_bottom_value, true},
        {"&Breite", "cbPosBreite", "ePosBreite", KeyFilter::DecimalPoint, &TCSS::width_type,
         &TCSS::width_value, false},
        {"H&öhe", "cbPosHoehe", "ePosHoehe", KeyFilter::DecimalPoint, &TCSS::height_type,
         &TCSS::height_value, false},
    };
    const StyleList& list = PositionLengthList();
    QGroupBox* lengthBoxes[4] = {};
    int n = 0;
    for (const Length& l : lengths) {
        QGroupBox* box = MakeGroup(QString::fromUtf8(l.title), this);
        auto* row = new QHBoxLayout(box);
        QComboBox* combo = MakeStyleCombo(list, QLatin1String(l.list), box);
        QLineEdit* edit = MakeNumberEdit(QLatin1String(l.edit));
        edit->setParent(box);
        row->addWidget(combo, 1);
        row->addWidget(edit);
        BindList(combo, list, field(l.type));
        FilterKeys(edit, l.filter);
        const Binder::Member<std::string> type = field(l.type);
        binder_.Decimal(edit, field(l.value));
        if (l.offset) {
            // Static: the list is greyed at "automatisch" and the number hidden.
            binder_.Enable(combo, [this] { return !IsStatic(); });
            binder_.Show(edit, [this, type, &list] {
                return !IsStatic() && list.EditVisible(list.IndexOf(type(), -1));
            });
        } else {
            binder_.Show(edit,
                         [type, &list] { return list.EditVisible(list.IndexOf(type(), -1)); });
        }
        lengthBoxes[n++] = box;
    }

    QGroupBox* overflow =
        MakeGroup(QStringLiteral("Über&lauf"), this, QStringLiteral("rgPosOverflow"));
    binder_.Choice(
        Radios(OverflowList(), overflow, QStringLiteral("rgPosOverflow")),
        [this] { return overflowShown_ = OverflowList().IndexOf(Css().overflow, overflowShown_); },
        [this](int i) { Css().overflow = OverflowList().Stored(i); });

    grid->addWidget(kind, 0, 0, 2, 1);
    grid->addWidget(dirX, 0, 1);
    grid->addWidget(lengthBoxes[0], 1, 1);
    grid->addWidget(dirY, 0, 2);
    grid->addWidget(lengthBoxes[1], 1, 2);
    grid->addWidget(lengthBoxes[2], 2, 1);
    grid->addWidget(lengthBoxes[3], 2, 2);
    grid->addWidget(overflow, 2, 0, 2, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(3, 1);
}

void TFramePosition::RefreshFromRecord() {
    // A static position shows, and so keeps, no offsets.
    if (IsStatic()) Css().ApplyStaticPosition();
    binder_.Refresh();
}

}  // namespace pagloom::app
