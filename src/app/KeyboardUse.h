// SPDX-License-Identifier: MIT
// Keyboard use of a window: access keys for its controls, and Tab that leaves grids.
#pragma once
#include <QChar>
#include <QString>

class QWidget;

namespace pagloom::app {

// The access key of a caption ("&Datei" gives 'D'), or none ("&&" is a plain ampersand).
QChar AccessKey(const QString& text);

// Gives every button, check box, radio button, group box, tab and label with a buddy in
// `window` an access key unless its caption has one, keeping the keys of the window unique
// (the keys of its menu bar included): the first letter of a word that is still free, else any
// free letter. A caption without a free letter keeps none. Labels of a form layout get their
// field as buddy. Buttons of a tool bar are reached through their menu and are left alone.
// Call it once the window is built; captions set later must bring their own key.
void GiveAccessKeys(QWidget* window);

// Tab and Shift+Tab leave every table and tree in `window` instead of walking its cells; the
// arrow keys still move inside.
void TabLeavesGrids(QWidget* window);

}  // namespace pagloom::app
