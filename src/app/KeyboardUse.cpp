// SPDX-License-Identifier: MIT
#include "KeyboardUse.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <functional>

namespace pagloom::app {
namespace {

// A caption of the window that may carry an access key, with the way to change it.
struct Caption {
    QString text;
    std::function<void(const QString&)> set;
};

// The first widget inside a form row's field that takes the focus.
QWidget* FocusTarget(QLayoutItem* item) {
    if (!item) return nullptr;
    if (QWidget* w = item->widget()) return w;
    if (QLayout* l = item->layout())
        for (int i = 0; i < l->count(); ++i)
            if (QWidget* w = FocusTarget(l->itemAt(i)); w && w->focusPolicy() != Qt::NoFocus)
                return w;
    return nullptr;
}

// Where the key goes in `text`: a free letter that starts a word, else any free letter; -1.
qsizetype KeyPosition(const QString& text, const QSet<QChar>& used) {
    for (int pass = 0; pass < 2; ++pass)
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
            if (c.isLetter() && (pass == 1 || wordStart) && !used.contains(c.toUpper())) return i;
        }
    return -1;
}

}  // namespace

QChar AccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] != u'&') return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

void GiveAccessKeys(QWidget* window) {
    for (QFormLayout* form : window->findChildren<QFormLayout*>()) {
        if (form->parentWidget() && form->parentWidget()->window() != window) continue;
        for (int row = 0; row < form->rowCount(); ++row) {
            auto* label =
                qobject_cast<QLabel*>(FocusTarget(form->itemAt(row, QFormLayout::LabelRole)));
            QWidget* field = FocusTarget(form->itemAt(row, QFormLayout::FieldRole));
            if (label && field && !label->buddy()) label->setBuddy(field);
        }
    }

    std::vector<Caption> captions;
    for (QObject* o : window->findChildren<QObject*>()) {
        // A dialog owned by this window has keys of its own.
        if (auto* w = qobject_cast<QWidget*>(o); w && w->window() != window) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(o)) {
            auto* tool = qobject_cast<QToolButton*>(b);
            if (tool && (tool->defaultAction() || qobject_cast<QToolBar*>(tool->parent())))
                continue;
            captions.push_back({b->text(), [b](const QString& t) { b->setText(t); }});
        } else if (auto* l = qobject_cast<QLabel*>(o); l && l->buddy()) {
            captions.push_back({l->text(), [l](const QString& t) { l->setText(t); }});
        } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
            captions.push_back({g->title(), [g](const QString& t) { g->setTitle(t); }});
        } else if (auto* tabs = qobject_cast<QTabWidget*>(o)) {
            for (int i = 0; i < tabs->count(); ++i)
                captions.push_back(
                    {tabs->tabText(i), [tabs, i](const QString& t) { tabs->setTabText(i, t); }});
        }
    }
    QSet<QChar> used;
    for (QMenuBar* bar : window->findChildren<QMenuBar*>(Qt::FindDirectChildrenOnly))
        for (QAction* a : bar->actions())
            if (const QChar k = AccessKey(a->text()); !k.isNull()) used << k;
    for (const Caption& c : captions)
        if (const QChar k = AccessKey(c.text); !k.isNull()) used << k;
    for (const Caption& c : captions) {
        if (!AccessKey(c.text).isNull() || c.text.contains(u'&')) continue;
        const qsizetype at = KeyPosition(c.text, used);
        if (at < 0) continue;
        used << c.text[at].toUpper();
        QString keyed = c.text;
        keyed.insert(at, u'&');
        c.set(keyed);
    }
}

void TabLeavesGrids(QWidget* window) {
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>())
        view->setTabKeyNavigation(false);
}

}  // namespace pagloom::app
