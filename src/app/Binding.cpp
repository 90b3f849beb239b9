// SPDX-License-Identifier: MIT
#include "Binding.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "FieldTracker.h"
#include "QtText.h"

namespace pagloom::app {
namespace {

// Only changed text is set: setting a line edit's text moves its cursor to the end.
void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

}  // namespace

Binder::Binder(FieldTracker& tracker, QObject* parent) : QObject(parent), tracker_(tracker) {}

void Binder::Add(QObject* control, std::function<void()> show) {
    bindings_.push_back({control, std::move(show)});
}

void Binder::Switch(QAbstractButton* button, Member<bool> member) {
    tracker_.TrackSwitch(button);
    connect(button, &QAbstractButton::toggled, this, [this, button, member](bool on) {
        if (refreshing_) return;
        member() = on;
        Changed(button);
    });
    Add(button, [button, member] { button->setChecked(member()); });
}

void Binder::Text(QLineEdit* edit, Member<std::string> member, bool trimWhileTyping) {
    tracker_.TrackText(edit, [this, edit, member](const QString& t) {
        member() = S(t);
        Changed(edit);
    });
    if (trimWhileTyping) {
        // Connected after the tracker's store, so the trimmed text is stored last.
        connect(edit, &QLineEdit::textEdited, this, [this, edit, member](const QString& t) {
            qsizetype b = 0, e = t.size();
            while (b < e && t[b] == u' ') ++b;
            while (e > b && t[e - 1] == u' ') --e;
            if (b == 0 && e == t.size()) return;
            const QString trimmed = t.mid(b, e - b);
            const int pos = static_cast<int>(std::min<qsizetype>(edit->cursorPosition(), e - b));
            edit->setText(trimmed);
            edit->setCursorPosition(pos);
            member() = S(trimmed);
            Changed(edit);
        });
    }
    Add(edit, [edit, member] { SetText(edit, Q(member())); });
}

void Binder::WholeNumber(QLineEdit* edit, Member<int> member) {
    tracker_.TrackInt(edit, [this, edit, member](int v) {
        member() = v;
        Changed(edit);
    });
    Add(edit, [edit, member] { SetText(edit, QString::number(member())); });
}

void Binder::Decimal(QLineEdit* edit, Member<std::string> member) {
    tracker_.TrackDecimal(edit, [this, edit, member](const QString& t) {
        member() = S(t);
        Changed(edit);
    });
    Add(edit, [edit, member] { SetText(edit, Q(member())); });
}

void Binder::Choice(QComboBox* combo, std::function<int()> get, std::function<void(int)> set) {
    tracker_.TrackCombo(combo);
    connect(combo, &QComboBox::activated, this, [this, combo, set](int index) {
        if (refreshing_) return;
        set(index);
        Changed(combo);
    });
    Add(combo, [combo, get] {
        const int i = get();
        combo->setCurrentIndex(i >= 0 && i < combo->count() ? i : -1);
    });
}

void Binder::Choice(QComboBox* combo, std::function<std::vector<std::string>()> items,
                    std::function<int()> get, std::function<void(int)> set) {
    Choice(combo, std::move(get), std::move(set));
    // The entries are refilled first, so the index shown refers to the current ones.
    Binding& b = bindings_.back();
    b.show = [combo, items, show = std::move(b.show)] {
        QStringList entries;
        for (const std::string& item : items()) entries << Q(item);
        QStringList current;
        for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
        if (current != entries) {
            combo->clear();
            combo->addItems(entries);
        }
        show();
    };
}

QButtonGroup* Binder::Choice(const std::vector<QAbstractButton*>& buttons, std::function<int()> get,
                             std::function<void(int)> set) {
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        QAbstractButton* b = buttons[static_cast<size_t>(i)];
        group->addButton(b, i);
        tracker_.TrackSwitch(b);
        connect(b, &QAbstractButton::toggled, this, [this, group, set, i](bool on) {
            if (refreshing_ || !on) return;
            set(i);
            Changed(group);
        });
    }
    Add(group, [group, buttons, get] {
        const int selected = get();
        // A project file can clear every option; an exclusive group could not show that.
        group->setExclusive(false);
        for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
            const QSignalBlocker block(buttons[static_cast<size_t>(i)]);
            buttons[static_cast<size_t>(i)]->setChecked(i == selected);
        }
        group->setExclusive(true);
    });
    return group;
}

void Binder::List(QPlainTextEdit* edit, Member<std::vector<std::string>> member) {
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, member] {
        if (refreshing_) return;
        std::vector<std::string>& lines = member();
        lines.clear();
        const QString text = edit->toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split(u'\n')) lines.push_back(S(line));
        tracker_.MarkModified();
        Changed(edit);
    });
    Add(edit, [edit, member] {
        QStringList lines;
        for (const std::string& l : member()) lines << Q(l);
        const QString text = lines.join(u'\n');
        if (edit->toPlainText() != text) edit->setPlainText(text);
    });
}

void Binder::Label(QLabel* label, std::function<QString()> text) {
    rules_.push_back([label, text] { label->setText(text()); });
}

void Binder::Enable(QWidget* widget, std::function<bool()> rule) {
    rules_.push_back([widget, rule] { widget->setEnabled(rule()); });
}

void Binder::Show(QWidget* widget, std::function<bool()> rule) {
    rules_.push_back([widget, rule] { widget->setVisible(rule()); });
}

void Binder::Refresh() { Redraw(nullptr); }

void Binder::Changed(QObject* source) {
    if (refreshing_) return;
    for (const auto& hook : hooks_) hook();
    Redraw(source);
}

void Binder::Redraw(QObject* except) {
    refreshing_ = true;
    for (const Binding& b : bindings_) {
        if (b.control == except) continue;
        const QSignalBlocker block(b.control);
        b.show();
    }
    for (const auto& rule : rules_) rule();
    refreshing_ = false;
}

}  // namespace pagloom::app
