// SPDX-License-Identifier: MIT
// What the pages of "Optionen" share: the dialog's binder, the project they edit and the small
// builders of their controls. A page binds its controls in its constructor and keeps no state
// of its own; the dialog refreshes all pages through the one binder.
#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/Choice.h"

class QAbstractButton;
class QBoxLayout;
class QCheckBox;
class QHBoxLayout;
class QRadioButton;

namespace pagloom {
struct ProjectSettings;
struct TableSettings;
}  // namespace pagloom

namespace pagloom::app {

class Binder;
struct ProjectSession;

class OptionsPage : public QWidget {
    Q_OBJECT
  public:
    OptionsPage(Binder& binder, ProjectSession& session, QWidget* parent);

  protected:
    ProjectSettings& Settings() const;
    TableSettings& Tables() const;

    QRadioButton* Radio(const char* name, const QString& text);
    // A check box bound to the bool that `member` gives.
    QCheckBox* Switch(QWidget* parent, const char* name, const QString& text,
                      std::function<bool&()> member);
    // Radio buttons bound to a two-option group; switching option 1 on (it was off) clears the
    // switches given for it, so a choice always starts with its switches off.
    void OnOff(QAbstractButton* on, QAbstractButton* off, std::function<Choice<2>&()> choice,
               std::function<std::vector<bool*>()> clearedOnSwitchingOn);
    // Enables every widget while `rule` holds.
    void EnableWhile(std::initializer_list<QWidget*> widgets, std::function<bool()> rule);
    // Indents a switch that belongs to the choice above it.
    static QHBoxLayout* Indented(QWidget* w, int depth = 1);
    // Keyboard order as listed.
    void Order(std::initializer_list<QWidget*> widgets);

    Binder& binder_;
    ProjectSession& session_;
};

// The overwrite switches of the pages, "Vorhandene Dateien überschreiben" and "Vorhandene Datei
// überschreiben", with the access key on the letter at `keyAt` (a page may hold several).
QString OverwriteFiles(int keyAt = 0);
QString OverwriteFile(int keyAt = 0);

}  // namespace pagloom::app
