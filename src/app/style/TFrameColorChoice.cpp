// SPDX-License-Identifier: MIT
#include "style/TFrameColorChoice.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include "FieldTracker.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "style/StyleControls.h"

namespace pagloom::app {
namespace {

QIcon Swatch(const QColor& c) {
    QPixmap pm(16, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}

QColor ToQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace

TFrameColorChoice::TFrameColorChoice(FieldTracker& tracker, UiPrompts& prompts, QWidget* parent)
    : QFrame(parent), tracker_(tracker), prompts_(prompts) {
    pickColor = [this](const QColor& start) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(start, this);
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);

    eHexColor_ = new QLineEdit(QStringLiteral("000000"), this);
    eHexColor_->setObjectName(QStringLiteral("eHexColor"));
    eHexColor_->setMaxLength(6);
    FilterKeys(eHexColor_, KeyFilter::HexDigit);
    EnterMovesOn(eHexColor_);
    auto* hexLabel = new QLabel(QStringLiteral("Hex:"), this);
    hexLabel->setBuddy(eHexColor_);

    cobColorSelect_ = new QComboBox(this);
    cobColorSelect_->setObjectName(QStringLiteral("cobColorSelect"));
    cobColorSelect_->setMaxVisibleItems(17);
    cobColorSelect_->addItem(Swatch(custom_), QStringLiteral("Individuell..."));
    for (const NamedColor& c : NamedColors)
        cobColorSelect_->addItem(Swatch(ToQColor(c.rgb)), Q(c.name));

    grid->addWidget(hexLabel, 0, 0);
    grid->addWidget(eHexColor_, 0, 1);
    grid->addWidget(cobColorSelect_, 0, 2, 1, 4);
    const char* names[3] = {"eRedColor", "eGreenColor", "eBlueColor"};
    const QString labels[3] = {QStringLiteral("rot:"), QStringLiteral("grün:"),
                               QStringLiteral("blau:")};
    for (int i = 0; i < 3; ++i) {
        auto* e = new QLineEdit(QStringLiteral("0"), this);
        e->setObjectName(QLatin1String(names[i]));
        e->setMaxLength(3);
        FilterKeys(e, KeyFilter::DecimalComma);
        EnterMovesOn(e);
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        auto* l = new QLabel(labels[i], this);
        l->setBuddy(e);
        grid->addWidget(l, 1, i * 2 == 0 ? 0 : i * 2);
        grid->addWidget(e, 1, i * 2 + 1);
        components_[i] = e;
    }
    eHexColor_->setMaximumWidth(
        eHexColor_->fontMetrics().horizontalAdvance(QStringLiteral("DDDDDDD")) + 12);
    grid->setColumnStretch(6, 1);
    ShowInList();

    for (QLineEdit* e : {eHexColor_, components_[0], components_[1], components_[2]}) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, [this] { tracker_.SetEditPending(true); });
    }
    connect(cobColorSelect_, &QComboBox::activated, this, &TFrameColorChoice::ListChosen);
    connect(qApp, &QApplication::focusChanged, this, &TFrameColorChoice::FocusChanged);
}

void TFrameColorChoice::FocusChanged(QWidget* old, QWidget* now) {
    if (old && isAncestorOf(old) && !(now && isAncestorOf(now))) emit Left();
}

bool TFrameColorChoice::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::FocusIn) enterText_ = edit->text();
    if (edit && event->type() == QEvent::FocusOut) {
        // The focus going to another window or to a popup is not leaving the edit.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
        if (r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason) {
            // An edit left as it was entered keeps the colour, even one that is not hex.
            if (edit->text() == enterText_) {
                tracker_.SetEditPending(false);
                return QFrame::eventFilter(watched, event);
            }
            if (edit == eHexColor_) LeaveHex();
            for (int i = 0; i < 3; ++i)
                if (edit == components_[i]) LeaveComponent(i);
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TFrameColorChoice::Refuse(QLineEdit* edit) {
    prompts_.Beep();
    edit->setText(enterText_);
    tracker_.SetLastEditValid(false);
    tracker_.SetEditPending(false);
    // The focus is moving away right now; it is taken back once that move is done.
    QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
}

void TFrameColorChoice::LeaveHex() {
    const std::optional<std::string> accepted = AcceptHexEdit(S(eHexColor_->text()));
    if (!accepted) return Refuse(eHexColor_);
    const QString text = Q(*accepted).toUpper();
    const std::optional<Rgb> rgb = ParseHexColor(S(text));
    if (!rgb) return Refuse(eHexColor_);
    if (eHexColor_->text() != text) eHexColor_->setText(text);
    rgb_ = *rgb;
    hexText_ = text;
    ShowComponents();
    ShowInList();
    tracker_.SetLastEditValid(true);
    tracker_.SetEditPending(false);
    emit Accepted();
}

void TFrameColorChoice::LeaveComponent(int component) {
    QLineEdit* edit = components_[component];
    bool ok = false;
    const int n = edit->text().toInt(&ok);
    if (!ok) {
        // A text that is no whole number ends like the platform's conversion error.
        prompts_.Message(this,
                         QStringLiteral("'%1' ist kein gültiger Integerwert").arg(edit->text()));
        edit->setText(enterText_);
        tracker_.SetLastEditValid(false);
        tracker_.SetEditPending(false);
        QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
        return;
    }
    if (n > 255) return Refuse(edit);
    int* parts[3] = {&rgb_.red, &rgb_.green, &rgb_.blue};
    *parts[component] = n;
    hexText_ = Q(ReplaceColorComponent(S(hexText_), component, n));
    eHexColor_->setText(hexText_);
    ShowInList();
    tracker_.SetLastEditValid(true);
    tracker_.SetEditPending(false);
    emit Accepted();
}

void TFrameColorChoice::ListChosen(int index) {
    if (hexText_.size() < 6) SetRgb({0, 0, 0});
    if (index == 0) {
        const std::optional<QColor> c = pickColor ? pickColor(custom_) : std::nullopt;
        if (c) SetRgb({c->red(), c->green(), c->blue()});
    } else if (index > 0 && index <= static_cast<int>(NamedColors.size())) {
        SetRgb(SplitColor(PackColor(NamedColors[index - 1].rgb)));
    }
    ShowInList();
    cobColorSelect_->setFocus(Qt::OtherFocusReason);
    emit Accepted();
}

void TFrameColorChoice::SetRgb(Rgb rgb) {
    rgb_ = rgb;
    hexText_ = Q(HexColorText(rgb));
    eHexColor_->setText(hexText_);
    ShowComponents();
}

void TFrameColorChoice::SetColor(const QString& text) {
    const std::optional<Rgb> rgb = ParseHexColor(S(text));
    rgb_ = rgb ? *rgb : Rgb{};
    hexText_ = text;
    eHexColor_->setText(text);
    ShowComponents();
    ShowInList();
}

void TFrameColorChoice::ShowComponents() {
    components_[0]->setText(QString::number(rgb_.red));
    components_[1]->setText(QString::number(rgb_.green));
    components_[2]->setText(QString::number(rgb_.blue));
}

void TFrameColorChoice::ShowInList() {
    const QSignalBlocker block(cobColorSelect_);
    const int named = NamedColorIndex(rgb_);
    if (named >= 0) {
        cobColorSelect_->setCurrentIndex(named + 1);
        return;
    }
    custom_ = ToQColor(rgb_);
    cobColorSelect_->setItemIcon(0, Swatch(custom_));
    cobColorSelect_->setCurrentIndex(0);
}

}  // namespace pagloom::app
