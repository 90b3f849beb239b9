// SPDX-License-Identifier: MIT
#include "style/StyleControls.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "QtText.h"

namespace pagloom::app {
namespace {

// Decides each typed character of one edit by its filter.
class KeyFilterHook : public QObject {
  public:
    KeyFilterHook(QLineEdit* edit, KeyFilter filter)
        : QObject(edit), edit_(edit), filter_(filter) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != edit_ || event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        // Shortcuts and keys that type nothing (arrows, Delete, Tab) are not characters.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        char typed = '\0';
        if (key->key() == Qt::Key_Backspace)
            typed = kBackspace;
        else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            typed = '\n';
        else if (key->text().isEmpty() || key->text()[0].unicode() < 0x20)
            return false;  // Tab, Escape and the like move on or close; they type nothing
        else if (key->text().size() == 1 && key->text()[0].unicode() < 0x80)
            typed = static_cast<char>(key->text()[0].unicode());
        else
            return true;
        const char result = FilterKey(filter_, typed, S(edit_->text()), edit_->cursorPosition());
        if (result == typed) return false;
        if (result != '\0') edit_->insert(QString(QChar(result)));
        return true;
    }

  private:
    QLineEdit* edit_;
    KeyFilter filter_;
};

class EnterHook : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(event)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                auto* w = static_cast<QWidget*>(watched);
                if (QWidget* next = w->nextInFocusChain()) {
                    while (next != w && !(next->focusPolicy() & Qt::TabFocus && next->isVisible() &&
                                          next->isEnabled()))
                        next = next->nextInFocusChain();
                    next->setFocus(Qt::TabFocusReason);
                }
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void FillStyleCombo(QComboBox* combo, const StyleList& list) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (const StyleList::Entry& e : list.entries) combo->addItem(Q(e.label));
    combo->setCurrentIndex(-1);
}

QComboBox* MakeStyleCombo(const StyleList& list, const QString& name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setMaxVisibleItems(20);
    FillStyleCombo(combo, list);
    // A list whose field holds a text of no entry keeps its selection, at first the first one.
    combo->setCurrentIndex(0);
    return combo;
}

void FilterKeys(QLineEdit* edit, KeyFilter filter) {
    edit->installEventFilter(new KeyFilterHook(edit, filter));
}

void EnterMovesOn(QLineEdit* edit) { edit->installEventFilter(new EnterHook(edit)); }

QGroupBox* MakeGroup(const QString& title, QWidget* parent, const QString& name) {
    auto* box = new QGroupBox(title, parent);
    if (!name.isEmpty()) box->setObjectName(name);
    return box;
}

}  // namespace pagloom::app
