// SPDX-License-Identifier: MIT
#include "MenuEditorTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "FieldTracker.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "model/TWebMenu.h"

namespace pagloom::app {
namespace {

const QString kNoText = QStringLiteral("Bitte geben Sie einen Text für den Menüpunkt ein");
const QString kNoFile = QStringLiteral("Bitte geben sie einen Dateinamen für den Menüpunkt ein");

QToolButton* PickButton(const QString& name, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QStringLiteral("..."));
    b->setToolTip(QStringLiteral("Datei aus dem Zielverzeichnis wählen"));
    b->setStatusTip(QStringLiteral("Eine Datei aus dem Zielverzeichnis auswählen"));
    return b;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

QLineEdit* Edit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

}  // namespace

MenuEditorTab::MenuEditorTab(TWebMenu& mainMenu, FieldTracker& tracker, UiPrompts& prompts,
                             std::function<void()> markModified, ChooseFile chooseFile,
                             QWidget* parent)
    : QWidget(parent),
      mainMenu_(mainMenu),
      tracker_(tracker),
      prompts_(prompts),
      markModified_(std::move(markModified)),
      chooseFile_(std::move(chooseFile)) {
    auto* top = new QHBoxLayout;
    comboMenuWahl_ = new QComboBox(this);
    comboMenuWahl_->setObjectName(QStringLiteral("ComboBoxMenuWahl"));
    comboMenuWahl_->setMinimumContentsLength(30);
    comboMenuWahl_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboMenuWahl_->addItem(QStringLiteral("[HauptMenü]"));
    comboMenuWahl_->setStatusTip(
        QStringLiteral("Hauptmenü oder das Untermenü eines Hauptmenüpunkts bearbeiten"));
    top->addWidget(Label(QStringLiteral("&Menüpunkt:"), comboMenuWahl_, this));
    top->addWidget(comboMenuWahl_, 1);

    auto* addBox = new QGroupBox(QStringLiteral("Menüpunkt hinzufügen"), this);
    auto* addGrid = new QGridLayout(addBox);
    addText_ = Edit(QStringLiteral("EditMenueAddText"), addBox);
    addDatei_ = Edit(QStringLiteral("EditMenueAddDatei"), addBox);
    addPick_ = PickButton(QStringLiteral("SpeedButtonMenueAddDat"), addBox);
    addAktiv_ = new QCheckBox(QStringLiteral("A&ktiv"), addBox);
    addAktiv_->setObjectName(QStringLiteral("CBAddMenueAktiv"));
    addAktiv_->setChecked(true);
    addButton_ = new QPushButton(QStringLiteral("hin&zufügen"), addBox);
    addButton_->setObjectName(QStringLiteral("ButtonMenueAddDatei"));
    addButton_->setStatusTip(QStringLiteral("Einen neuen Menüpunkt hinter dem gewählten einfügen"));
    addGrid->addWidget(Label(QStringLiteral("&Text:"), addText_, addBox), 0, 0);
    addGrid->addWidget(addText_, 0, 1, 1, 2);
    addGrid->addWidget(Label(QStringLiteral("Date&i:"), addDatei_, addBox), 1, 0);
    addGrid->addWidget(addDatei_, 1, 1);
    addGrid->addWidget(addPick_, 1, 2);
    addGrid->addWidget(addAktiv_, 2, 1);
    addGrid->addWidget(addButton_, 2, 2, Qt::AlignRight);
    addGrid->setColumnStretch(1, 1);

    auto* listBox = new QGroupBox(QStringLiteral("&Reihenfolge ändern / Löschen"), this);
    auto* listLayout = new QHBoxLayout(listBox);
    list_ = new QListWidget(listBox);
    list_->setObjectName(QStringLiteral("ListBoxMenue"));
    list_->installEventFilter(this);
    auto* buttons = new QVBoxLayout;
    auto* up = new QToolButton(listBox);
    up->setObjectName(QStringLiteral("ButtonMenueUp"));
    up->setArrowType(Qt::UpArrow);
    up->setToolTip(QStringLiteral("Nach oben"));
    up->setStatusTip(QStringLiteral("Den gewählten Menüpunkt eine Stelle nach oben schieben"));
    auto* down = new QToolButton(listBox);
    down->setObjectName(QStringLiteral("ButtonMenueDown"));
    down->setArrowType(Qt::DownArrow);
    down->setToolTip(QStringLiteral("Nach unten"));
    down->setStatusTip(QStringLiteral("Den gewählten Menüpunkt eine Stelle nach unten schieben"));
    auto* del = new QPushButton(QStringLiteral("&löschen"), listBox);
    del->setObjectName(QStringLiteral("ButtonMenueDelete"));
    del->setStatusTip(QStringLiteral("Den gewählten Menüpunkt (mit seinem Untermenü) löschen"));
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addStretch(1);
    buttons->addWidget(del);
    listLayout->addWidget(list_, 1);
    listLayout->addLayout(buttons);

    auto* changeBox = new QGroupBox(QStringLiteral("Menüpunkt ändern"), this);
    auto* changeGrid = new QGridLayout(changeBox);
    aenderText_ = Edit(QStringLiteral("EditMenueAenderText"), changeBox);
    aenderDatei_ = Edit(QStringLiteral("EditMenueAenderDatei"), changeBox);
    aenderPick_ = PickButton(QStringLiteral("SpeedButtonMenueAenderDat"), changeBox);
    aenderAktiv_ = new QCheckBox(QStringLiteral("Akti&v"), changeBox);
    aenderAktiv_->setObjectName(QStringLiteral("CBAenderMenueAktiv"));
    changeButton_ = new QPushButton(QStringLiteral("ä&ndern"), changeBox);
    changeButton_->setObjectName(QStringLiteral("ButtonMenueAenderDatei"));
    changeButton_->setStatusTip(
        QStringLiteral("Den gewählten Menüpunkt mit diesen Angaben ändern"));
    // "Datei:" of this group has no access key: every letter of it is taken on this tab or
    // opens a menu of the main window.
    changeGrid->addWidget(Label(QStringLiteral("Te&xt:"), aenderText_, changeBox), 0, 0);
    changeGrid->addWidget(aenderText_, 0, 1, 1, 2);
    changeGrid->addWidget(Label(QStringLiteral("Datei:"), aenderDatei_, changeBox), 1, 0);
    changeGrid->addWidget(aenderDatei_, 1, 1);
    changeGrid->addWidget(aenderPick_, 1, 2);
    changeGrid->addWidget(aenderAktiv_, 2, 1);
    changeGrid->addWidget(changeButton_, 2, 2, Qt::AlignRight);
    changeGrid->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(addBox);
    left->addWidget(changeBox);
    left->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(listBox, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(columns, 1);

    // The entry fields only hold what the buttons take; they touch the menu when pressed.
    for (QLineEdit* e : {addText_, addDatei_, aenderText_, aenderDatei_}) tracker_.TrackText(e, {});
    tracker_.TrackSwitch(addAktiv_);
    tracker_.TrackSwitch(aenderAktiv_);

    connect(comboMenuWahl_, &QComboBox::activated, this, &MenuEditorTab::ComboBoxMenuWahlChange);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_) ListBoxMenueSelect(row);
    });
    connect(addButton_, &QPushButton::clicked, this, &MenuEditorTab::ButtonMenueAddDateiClick);
    connect(changeButton_, &QPushButton::clicked, this,
            &MenuEditorTab::ButtonMenueAenderDateiClick);
    // Enter in a field presses the button of its group.
    for (QLineEdit* e : {addText_, addDatei_})
        connect(e, &QLineEdit::returnPressed, addButton_, &QPushButton::click);
    for (QLineEdit* e : {aenderText_, aenderDatei_})
        connect(e, &QLineEdit::returnPressed, changeButton_, &QPushButton::click);
    connect(up, &QToolButton::clicked, this, &MenuEditorTab::ButtonMenueUpClick);
    connect(down, &QToolButton::clicked, this, &MenuEditorTab::ButtonMenueDownClick);
    connect(del, &QPushButton::clicked, this, &MenuEditorTab::ButtonMenueDeleteClick);
    connect(addPick_, &QToolButton::clicked, this, [this] {
        if (auto name = chooseFile_ ? chooseFile_() : std::nullopt) addDatei_->setText(*name);
    });
    connect(aenderPick_, &QToolButton::clicked, this, [this] {
        if (auto name = chooseFile_ ? chooseFile_() : std::nullopt) aenderDatei_->setText(*name);
    });

    setTabOrder(comboMenuWahl_, addText_);
    setTabOrder(addText_, addDatei_);
    setTabOrder(addDatei_, addPick_);
    setTabOrder(addPick_, addAktiv_);
    setTabOrder(addAktiv_, addButton_);
    setTabOrder(addButton_, aenderText_);
    setTabOrder(aenderText_, aenderDatei_);
    setTabOrder(aenderDatei_, aenderPick_);
    setTabOrder(aenderPick_, aenderAktiv_);
    setTabOrder(aenderAktiv_, changeButton_);
    setTabOrder(changeButton_, list_);
    setTabOrder(list_, up);
    setTabOrder(up, down);
    setTabOrder(down, del);
}

QList<QToolButton*> MenuEditorTab::PickButtons() const { return {addPick_, aenderPick_}; }

TWebMenu& MenuEditorTab::CurrentMenu() const {
    if (level_ > 0 && level_ <= mainMenu_.Count()) return *mainMenu_.Item(level_ - 1).SubMenu;
    return mainMenu_;
}

void MenuEditorTab::ClearAddFields() {
    addText_->clear();
    addDatei_->clear();
    addAktiv_->setChecked(true);
}

void MenuEditorTab::Redraw(bool changeFields) {
    if (level_ > mainMenu_.Count()) level_ = 0;
    const TWebMenu& menu = CurrentMenu();
    QStringList levels{QStringLiteral("[HauptMenü]")};
    for (int i = 0; i < mainMenu_.Count(); ++i) levels << Q(mainMenu_.Item(i).Text);
    QStringList entries;
    for (int i = 0; i < menu.Count(); ++i) entries << Q(menu.Item(i).Text);
    const int current = menu.ItemIndex >= 0 && menu.ItemIndex < menu.Count() ? menu.ItemIndex : -1;

    // Lists are only refilled when their lines differ, so a redraw keeps their scrolling and
    // never deletes the item a click is being delivered to.
    filling_ = true;
    QStringList shownLevels;
    for (int i = 0; i < comboMenuWahl_->count(); ++i) shownLevels << comboMenuWahl_->itemText(i);
    if (shownLevels != levels) {
        comboMenuWahl_->clear();
        comboMenuWahl_->addItems(levels);
    }
    comboMenuWahl_->setCurrentIndex(level_);
    QStringList shownEntries;
    for (int i = 0; i < list_->count(); ++i) shownEntries << list_->item(i)->text();
    if (shownEntries.size() == entries.size()) {
        // Renamed in place: a changed entry never costs the list the item being clicked.
        for (int i = 0; i < entries.size(); ++i)
            if (shownEntries[i] != entries[i]) list_->item(i)->setText(entries[i]);
    } else {
        list_->clear();
        list_->addItems(entries);
    }
    list_->setCurrentRow(current);
    filling_ = false;
    if (!changeFields) return;

    if (current < 0) {
        aenderText_->clear();
        aenderDatei_->clear();
        aenderAktiv_->setChecked(false);
        return;
    }
    const TWebMenuItem& item = menu.Item(current);
    aenderText_->setText(Q(item.Text));
    aenderDatei_->setText(Q(item.FileName));
    aenderAktiv_->setChecked(item.Active);
}

void MenuEditorTab::RefreshMenuEditor() {
    tracker_.Forget();
    level_ = 0;
    ClearAddFields();
    Redraw();
}

void MenuEditorTab::ComboBoxMenuWahlChange(int line) {
    if (line < 0 || line > mainMenu_.Count()) return;
    if (!SettleChange()) {
        Redraw(false);
        return;
    }
    ClearAddFields();
    mainMenu_.ItemIndex = line - 1;
    level_ = line;
    CurrentMenu().ResetItemIndex();
    Redraw();
}

void MenuEditorTab::ListBoxMenueSelect(int row) {
    TWebMenu& menu = CurrentMenu();
    const int to = row >= 0 && row < menu.Count() ? row : -1;
    if (to != menu.ItemIndex && !SettleChange()) {
        // Once the click that moved the list's selection is handled, the list shows the
        // entry that stayed current.
        QMetaObject::invokeMethod(
            this, [this] { Redraw(false); }, Qt::QueuedConnection);
        return;
    }
    menu.ItemIndex = to;
    Redraw();
}

bool MenuEditorTab::ChangePending() const {
    const TWebMenu& menu = CurrentMenu();
    const int k = menu.ItemIndex;
    if (k < 0 || k >= menu.Count()) return false;
    const TWebMenuItem& item = menu.Item(k);
    return aenderText_->text().trimmed() != Q(item.Text).trimmed() ||
           aenderDatei_->text().trimmed() != Q(item.FileName).trimmed() ||
           aenderAktiv_->isChecked() != item.Active;
}

bool MenuEditorTab::SettleChange() {
    if (!ChangePending()) return true;
    const TWebMenu& menu = CurrentMenu();
    const QString question =
        QStringLiteral(
            "Die Änderungen am Menüpunkt „%1“ unter „Menüpunkt ändern“ sind noch "
            "nicht übernommen. Jetzt übernehmen?")
            .arg(Q(menu.Item(menu.ItemIndex).Text));
    switch (prompts_.Ask(window(), question, true)) {
        case Answer::Yes:
            tracker_.LeaveField();
            return ApplyChange();
        case Answer::No:
            return true;
        case Answer::Cancel:
            return false;
    }
    return false;
}

void MenuEditorTab::ButtonMenueAddDateiClick() {
    tracker_.LeaveField();
    if (!SettleChange()) return;
    const QString text = addText_->text().trimmed();
    const QString file = addDatei_->text().trimmed();
    if (text.isEmpty()) return prompts_.Message(window(), kNoText);
    if (file.isEmpty()) return prompts_.Message(window(), kNoFile);
    TWebMenu& menu = CurrentMenu();
    auto item = level_ == 0 ? TWebMenu::NewMainItem(S(text), S(file), addAktiv_->isChecked())
                            : TWebMenu::NewSubItem(S(text), S(file), addAktiv_->isChecked());
    const int at = menu.ItemIndex >= 0 ? menu.ItemIndex + 1 : menu.Count();
    menu.Insert(at, std::move(item));
    menu.ItemIndex = at;
    markModified_();
    ClearAddFields();
    Redraw();
    addText_->setFocus();
}

void MenuEditorTab::ButtonMenueAenderDateiClick() {
    tracker_.LeaveField();
    if (ApplyChange()) Redraw();
}

bool MenuEditorTab::ApplyChange() {
    const QString text = aenderText_->text().trimmed();
    const QString file = aenderDatei_->text().trimmed();
    if (text.isEmpty()) {
        prompts_.Message(window(), kNoText);
        return false;
    }
    if (file.isEmpty()) {
        prompts_.Message(window(), kNoFile);
        return false;
    }
    TWebMenu& menu = CurrentMenu();
    const int k = menu.ItemIndex;
    if (k < 0 || k >= menu.Count()) return false;
    TWebMenuItem& item = menu.Item(k);
    item.Text = S(text);
    item.FileName = S(file);
    item.Active = aenderAktiv_->isChecked();
    markModified_();
    return true;
}

void MenuEditorTab::Move(int delta) {
    tracker_.LeaveField();
    if (!SettleChange()) return;
    TWebMenu& menu = CurrentMenu();
    const int k = menu.ItemIndex;
    const int to = k + delta;
    // The focus stays on the list, so the entry can be moved on with the keys.
    list_->setFocus();
    if (k < 0 || k >= menu.Count() || to < 0 || to >= menu.Count()) return;
    menu.Move(k, to);
    menu.ItemIndex = to;
    markModified_();
    Redraw();
}

void MenuEditorTab::ButtonMenueUpClick() { Move(-1); }
void MenuEditorTab::ButtonMenueDownClick() { Move(+1); }

void MenuEditorTab::ButtonMenueDeleteClick() {
    tracker_.LeaveField();
    TWebMenu& menu = CurrentMenu();
    const int k = menu.ItemIndex;
    if (k < 0 || k >= menu.Count()) return;
    const TWebMenuItem& item = menu.Item(k);
    if (const int subs = item.SubMenu ? item.SubMenu->Count() : 0; subs > 0) {
        const QString goes =
            subs == 1 ? QStringLiteral("einen Untermenüpunkt, der mit ihm gelöscht wird")
                      : QStringLiteral("%1 Untermenüpunkte, die mit ihm gelöscht werden").arg(subs);
        const QString question =
            QStringLiteral("Der Menüpunkt „%1“ hat %2. Trotzdem löschen?").arg(Q(item.Text), goes);
        if (prompts_.Ask(window(), question, false) != Answer::Yes) return;
    }
    menu.Delete(k);
    menu.ItemIndex = menu.Count() == 0 ? -1 : k > 0 ? k - 1 : 0;
    markModified_();
    Redraw();
}

bool MenuEditorTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        ButtonMenueDeleteClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pagloom::app
