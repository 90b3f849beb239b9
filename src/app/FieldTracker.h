// SPDX-License-Identifier: MIT
// The change tracking shared by every window that edits the project: a field remembers its
// state when the user enters it and, when the user leaves it, marks the project changed only
// if the state differs. Whole-number fields are validated on leaving; a refused text is
// answered with a beep and the former text, never with a message.
#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

namespace pagloom::app {

class UiPrompts;

class FieldTracker : public QObject {
    Q_OBJECT
  public:
    // `markModified` sets the project's changed mark; the tracker never clears it.
    FieldTracker(UiPrompts& prompts, std::function<void()> markModified, QObject* parent = nullptr);

    // A text field (EditEnter/EditExit): `store` receives the text on every user edit and the
    // trimmed text on leaving.
    void TrackText(QLineEdit* edit, std::function<void(const QString&)> store);
    // A whole-number field (EditIntExit): `store` receives the number after a valid leave.
    void TrackInt(QLineEdit* edit, std::function<void(int)> store);
    // A drop-down list (ComboBoxEnter/ComboBoxExit); the caller stores the index itself.
    void TrackCombo(QComboBox* combo);
    // A radio button or check box (SwitchEnter/SwitchExit); the caller stores the state itself.
    void TrackSwitch(QAbstractButton* button);

    // A decimal field of a style editor (EditSingleExit): typing marks an edit pending; leaving
    // validates it, stores the accepted text through `store` and records the result.
    void TrackDecimal(QLineEdit* edit, std::function<void(const QString&)> store);
    // A decimal field has been changed and not validated yet.
    bool EditPending() const { return editPending_; }
    // Result of the last validation of a decimal field.
    bool LastEditValid() const { return lastEditValid_; }
    void SetLastEditValid(bool valid) { lastEditValid_ = valid; }
    // For fields that validate themselves on leaving (the colour choice's edits).
    void SetEditPending(bool pending) { editPending_ = pending; }

    // Runs the leaving rule of the field entered last, as if the focus had left it. Commands
    // call it before they act, so a field being typed into is settled first.
    void LeaveField();
    // Forgets the entered field without its leaving rule (after the model was replaced).
    void Forget() { entered_ = nullptr; }
    // Sets the project's changed mark, for controls whose every edit is a change.
    void MarkModified() { markModified_(); }

    // The model's number rules (model/NumberRules.h) for the text of a field.
    static std::optional<int> ParseWholeNumber(const QString& text);
    static std::optional<QString> ParseDecimal(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Kind { Text, Int, Decimal, Combo, Switch };
    struct Field {
        Kind kind;
        std::function<void(const QString&)> storeText;
        std::function<void(int)> storeInt;
    };
    void Enter(QWidget* w);
    void Leave(QWidget* w);

    UiPrompts& prompts_;
    std::function<void()> markModified_;
    QHash<QObject*, Field> fields_;
    QPointer<QWidget> entered_;
    QString enterText_;
    int enterIndex_ = -1;
    bool enterChecked_ = false;
    bool editPending_ = false;
    bool lastEditValid_ = true;
};

}  // namespace pagloom::app
