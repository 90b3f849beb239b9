// SPDX-License-Identifier: MIT
// One colour of a style editor: a hex edit, a list of named colours with "Individuell..." and
// the three component edits. It never writes a style record: the editor around it copies
// HexText() into its field when the choice is left (the Left signal).
#pragma once
#include <QColor>
#include <QFrame>
#include <QString>
#include <functional>
#include <optional>

#include "model/StyleRules.h"

class QComboBox;
class QLineEdit;

namespace pagloom::app {

class FieldTracker;
class UiPrompts;

class TFrameColorChoice : public QFrame {
    Q_OBJECT
  public:
    TFrameColorChoice(FieldTracker& tracker, UiPrompts& prompts, QWidget* parent = nullptr);

    // Shows a colour text of a record. A text that is not six hex digits is kept as HexText
    // (so leaving the choice unchanged never alters the record) and shown as black.
    void SetColor(const QString& text);
    QString HexText() const { return hexText_; }
    int Red() const { return rgb_.red; }
    int Green() const { return rgb_.green; }
    int Blue() const { return rgb_.blue; }

    // The picker behind "Individuell...": gets the current colour, gives the chosen one or
    // nothing when cancelled. The platform's colour dialog unless replaced (tests).
    std::function<std::optional<QColor>(const QColor&)> pickColor;

    QLineEdit* HexEdit() const { return eHexColor_; }
    QComboBox* ColorList() const { return cobColorSelect_; }
    QLineEdit* ComponentEdit(int component) const { return components_[component]; }

  signals:
    // The focus went from inside the choice to a control outside it.
    void Left();
    // An edit was left with an accepted value, or the list chose a colour: HexText() is the
    // colour now shown, though the record takes it only when the choice is left.
    void Accepted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetRgb(Rgb rgb);
    void ShowComponents();
    void ShowInList();
    void LeaveHex();
    void LeaveComponent(int component);
    void ListChosen(int index);
    void FocusChanged(QWidget* old, QWidget* now);
    void Refuse(QLineEdit* edit);

    FieldTracker& tracker_;
    UiPrompts& prompts_;
    Rgb rgb_;
    QString hexText_ = QStringLiteral("000000");
    // The colour carried by "Individuell...".
    QColor custom_ = Qt::black;
    QString enterText_;
    QLineEdit* eHexColor_ = nullptr;
    QComboBox* cobColorSelect_ = nullptr;
    QLineEdit* components_[3] = {};
};

}  // namespace pagloom::app
