// SPDX-License-Identifier: MIT
// Small pieces every style editor uses: a drop-down filled from a style list, the key filters
// of the number and colour edits, and a titled group.
#pragma once
#include <QComboBox>
#include <QString>
#include <functional>

#include "model/StyleRules.h"

class QGroupBox;
class QLineEdit;
class QWidget;

namespace pagloom::app {

// A drop-down holding the labels of `list`, named `name`.
QComboBox* MakeStyleCombo(const StyleList& list, const QString& name, QWidget* parent);
// Replaces the entries of `combo` by the labels of `list`, showing no entry.
void FillStyleCombo(QComboBox* combo, const StyleList& list);

// Lets only the keys `filter` accepts into `edit`, replacing those it replaces.
void FilterKeys(QLineEdit* edit, KeyFilter filter);
// The Enter key moves the focus to the next control instead of reaching `edit`.
void EnterMovesOn(QLineEdit* edit);

// A group box with a caption, named `name` when given.
QGroupBox* MakeGroup(const QString& title, QWidget* parent, const QString& name = {});

// A drop-down that runs a step before its list opens (the border editor unifies the selected
// sides there).
class OpeningCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> beforeOpen;
    void showPopup() override {
        if (beforeOpen) beforeOpen();
        QComboBox::showPopup();
    }
};

}  // namespace pagloom::app
