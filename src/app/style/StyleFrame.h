// SPDX-License-Identifier: MIT
// The common part of the five style editors: the record of its menu level (reached through a
// member accessor, so a replaced project is picked up), the binder that ties its controls to
// that record, and the change signal the preview listens to.
#pragma once
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "Binding.h"
#include "model/StyleRules.h"
#include "model/TCSS.h"

class QComboBox;
class QLineEdit;

namespace pagloom::app {

class FieldTracker;
class TFrameColorChoice;
class UiPrompts;

class StyleFrame : public QWidget {
    Q_OBJECT
  public:
    using Record = Binder::Member<TCSS>;
    StyleFrame(Record record, MenuLevel level, FieldTracker& tracker, UiPrompts& prompts,
               QWidget* parent);

    MenuLevel Level() const { return level_; }
    // Shows the record of the level in the controls, including which of them are visible.
    virtual void RefreshFromRecord() = 0;

  signals:
    // A control of this editor changed the record.
    void RecordChanged();
    // The record holds, for the length of this call, a value a control shows but has not
    // stored yet (a colour whose choice was not left); the preview shows it now.
    void PreviewNow();

  protected:
    TCSS& Css() { return record_(); }
    // After a change the binder did not see: marks the project changed and redraws.
    void Changed();
    // PreviewNow with `fields` holding `value`; each is given its own value back afterwards.
    void PreviewWith(const std::vector<std::string*>& fields, const std::string& value);

    // A list showing and storing `field` by `list`.
    void BindList(QComboBox* combo, const StyleList& list, Binder::Member<std::string> field);
    // A number edit with its key filter storing `field` on leaving, visible while `type`
    // maps to an index of `list` that shows the edit.
    void BindNumber(QLineEdit* edit, KeyFilter filter, Binder::Member<std::string> field,
                    const StyleList& list, Binder::Member<std::string> type);
    // A colour choice copying its colour into `field` when left with a different colour.
    TFrameColorChoice* MakeColorChoice(const QString& name, Binder::Member<std::string> field);
    QLineEdit* MakeNumberEdit(const QString& name);

    Record record_;
    MenuLevel level_;
    FieldTracker& tracker_;
    UiPrompts& prompts_;
    Binder binder_;
};

}  // namespace pagloom::app
