// SPDX-License-Identifier: MIT
// The "Navigation" tab: edits the two-level menu one level at a time. The level chooser
// lists the main menu and every main entry's sub-menu; the list shows the entries of the
// chosen level, which can be added, changed, moved and deleted. Every command changes the
// menu and then redraws the tab from it; the current entry is the menu's ItemIndex.
#pragma once
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace pagloom {
class TWebMenu;
}

namespace pagloom::app {

class FieldTracker;
class UiPrompts;

class MenuEditorTab : public QWidget {
    Q_OBJECT
  public:
    // Shows the bare name of a chosen file, or nothing when the chooser was cancelled.
    using ChooseFile = std::function<std::optional<QString>()>;

    // `mainMenu` is the project's main menu, which outlives the tab.
    MenuEditorTab(TWebMenu& mainMenu, FieldTracker& tracker, UiPrompts& prompts,
                  std::function<void()> markModified, ChooseFile chooseFile,
                  QWidget* parent = nullptr);

    void RefreshMenuEditor();
    // The two pick buttons, enabled by the main window with the destination folder.
    QList<QToolButton*> PickButtons() const;

    void ComboBoxMenuWahlChange(int line);
    void ListBoxMenueSelect(int row);
    void ButtonMenueAddDateiClick();
    void ButtonMenueAenderDateiClick();
    void ButtonMenueUpClick();
    void ButtonMenueDownClick();
    void ButtonMenueDeleteClick();

    // The menu whose entries the list shows.
    TWebMenu& CurrentMenu() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shows the chooser, the list and the change fields as the menu holds them; without
    // `changeFields` the change fields keep what they hold.
    void Redraw(bool changeFields = true);
    void ClearAddFields();
    void Move(int delta);
    // Whether the fields under "Menüpunkt ändern" differ from the current entry.
    bool ChangePending() const;
    // Writes those fields into the current entry; false (after its message) when refused.
    bool ApplyChange();
    // Before another entry is shown in the change fields: asks whether to apply what they hold
    // (Ja/Nein/Abbrechen). False for Abbrechen or a refused change: the current entry stays.
    bool SettleChange();

    TWebMenu& mainMenu_;
    // 0 for the main menu, k for the sub-menu of main entry k - 1.
    int level_ = 0;
    FieldTracker& tracker_;
    UiPrompts& prompts_;
    std::function<void()> markModified_;
    ChooseFile chooseFile_;
    bool filling_ = false;

    QComboBox* comboMenuWahl_ = nullptr;
    QLineEdit* addText_ = nullptr;
    QLineEdit* addDatei_ = nullptr;
    QToolButton* addPick_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QCheckBox* addAktiv_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* aenderText_ = nullptr;
    QLineEdit* aenderDatei_ = nullptr;
    QToolButton* aenderPick_ = nullptr;
    QPushButton* changeButton_ = nullptr;
    QCheckBox* aenderAktiv_ = nullptr;
};

}  // namespace pagloom::app
