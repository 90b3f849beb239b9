// SPDX-License-Identifier: MIT
#include "FieldTracker.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

#include "QtText.h"
#include "UiPrompts.h"
#include "model/NumberRules.h"

namespace pagloom::app {
namespace {

// Only the space character counts as a blank here, as in the project file.
QString TrimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

}  // namespace

FieldTracker::FieldTracker(UiPrompts& prompts, std::function<void()> markModified, QObject* parent)
    : QObject(parent), prompts_(prompts), markModified_(std::move(markModified)) {}

void FieldTracker::TrackText(QLineEdit* edit, std::function<void(const QString&)> store) {
    fields_.insert(edit, Field{Kind::Text, store, {}});
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [store](const QString& t) {
        if (store) store(t);
    });
}

void FieldTracker::TrackInt(QLineEdit* edit, std::function<void(int)> store) {
    fields_.insert(edit, Field{Kind::Int, {}, std::move(store)});
    edit->installEventFilter(this);
}

void FieldTracker::TrackDecimal(QLineEdit* edit, std::function<void(const QString&)> store) {
    fields_.insert(edit, Field{Kind::Decimal, std::move(store), {}});
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this] { editPending_ = true; });
}

void FieldTracker::TrackCombo(QComboBox* combo) {
    fields_.insert(combo, Field{Kind::Combo, {}, {}});
    combo->installEventFilter(this);
}

void FieldTracker::TrackSwitch(QAbstractButton* button) {
    fields_.insert(button, Field{Kind::Switch, {}, {}});
    button->installEventFilter(this);
}

bool FieldTracker::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A drop-down's own popup or another window taking the focus is not leaving the field.
        const Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
        if (r == Qt::PopupFocusReason || r == Qt::ActiveWindowFocusReason)
            return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        // A press reaches the filter before the widget changes its state, so entering on it
        // captures the state even when no focus event came first.
        case QEvent::FocusIn:
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
            if (w && entered_ != w) {
                if (entered_) Leave(entered_);
                Enter(w);
            }
            break;
        case QEvent::FocusOut:
            if (w && entered_ == w) Leave(w);
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void FieldTracker::Enter(QWidget* w) {
    auto it = fields_.constFind(w);
    if (it == fields_.constEnd()) return;
    entered_ = w;
    switch (it->kind) {
        case Kind::Text:
        case Kind::Int:
        case Kind::Decimal:
            enterText_ = static_cast<QLineEdit*>(w)->text();
            break;
        case Kind::Combo:
            enterIndex_ = static_cast<QComboBox*>(w)->currentIndex();
            break;
        case Kind::Switch:
            enterChecked_ = static_cast<QAbstractButton*>(w)->isChecked();
            break;
    }
}

void FieldTracker::LeaveField() {
    if (entered_) Leave(entered_);
}

void FieldTracker::Leave(QWidget* w) {
    entered_ = nullptr;
    auto it = fields_.constFind(w);
    if (it == fields_.constEnd()) return;
    switch (it->kind) {
        case Kind::Int: {
            auto* edit = static_cast<QLineEdit*>(w);
            const std::optional<int> n = ParseWholeNumber(edit->text());
            if (!n) {
                prompts_.Beep();
                edit->setText(enterText_);
                return;
            }
            edit->setText(QString::number(*n));
            if (it->storeInt) it->storeInt(*n);
            if (edit->text() != enterText_) markModified_();
            break;
        }
        case Kind::Decimal: {
            auto* edit = static_cast<QLineEdit*>(w);
            editPending_ = false;
            const std::optional<QString> accepted = ParseDecimal(edit->text());
            lastEditValid_ = accepted.has_value();
            if (!accepted) {
                prompts_.Beep();
                edit->setText(enterText_);
                return;
            }
            edit->setText(*accepted);
            if (it->storeText) it->storeText(*accepted);
            // Every accepted decimal edit counts as a change, even with the same value.
            markModified_();
            break;
        }
        case Kind::Text: {
            auto* edit = static_cast<QLineEdit*>(w);
            const QString trimmed = TrimBlanks(edit->text());
            if (trimmed != edit->text()) edit->setText(trimmed);
            if (it->storeText) it->storeText(trimmed);
            if (trimmed != enterText_) markModified_();
            break;
        }
        case Kind::Combo:
            if (static_cast<QComboBox*>(w)->currentIndex() != enterIndex_) markModified_();
            break;
        case Kind::Switch:
            if (static_cast<QAbstractButton*>(w)->isChecked() != enterChecked_) markModified_();
            break;
    }
}

std::optional<int> FieldTracker::ParseWholeNumber(const QString& text) {
    return pagloom::ParseWholeNumber(S(text));
}

std::optional<QString> FieldTracker::ParseDecimal(const QString& text) {
    const std::optional<std::string> accepted = pagloom::ParseDecimal(S(text));
    if (!accepted) return std::nullopt;
    return Q(*accepted);
}

}  // namespace pagloom::app
