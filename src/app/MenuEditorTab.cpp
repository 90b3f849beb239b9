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
      currentMenu_(&mainMenu),
      tracker_(tracker),
      prompts_(prompts),
      markModified_(std::move(markModified)),
      chooseFile_(std::move(chooseFile)) {
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Menüpunkt:"), this));
    comboMenuWahl_ = new QComboBox(this);
    comboMenuWahl_->setObjectName(QStringLiteral("ComboBoxMenuWahl"));
    comboMenuWahl_->setMinimumContentsLength(30);
    comboMenuWahl_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboMenuWahl_->addItem(QStringLiteral("[HauptMenü]"));
    comboMenuWahl_->setStatusTip(
        QStringLiteral("Hauptmenü oder das Untermenü eines Hauptmenüpunkts bearbeiten"));
    top->addWidget(comboMenuWahl_, 1);

    auto* addBox = new QGroupBox(QStringLiteral("Menüpunkt hinzufügen"), this);
    auto* addGrid = new QGridLayout(addBox);
    addText_ = Edit(QStringLiteral("EditMenueAddText"), addBox);
    addDatei_ = Edit(QStringLiteral("EditMenueAddDatei"), addBox);
    addPick_ = PickButton(QStringLiteral("SpeedButtonMenueAddDat"), addBox);
    addAktiv_ = new QCheckBox(QStringLiteral("Aktiv"), addBox);
    addAktiv_->setObjectName(QStringLiteral("CBAddMenueAktiv"));
    addAktiv_->setChecked(true);
    auto* addButton = new QPushButton(QStringLiteral("hinzufügen"), addBox);
    addButton->setObjectName(QStringLiteral("ButtonMenueAddDatei"));
    addButton->setStatusTip(QStringLiteral("Einen neuen Menüpunkt hinter dem gewählten einfügen"));
    addGrid->addWidget(new QLabel(QStringLiteral("Text:"), addBox), 0, 0);
    addGrid->addWidget(addText_, 0, 1, 1, 2);
    addGrid->addWidget(new QLabel(QStringLiteral("Datei:"), addBox), 1, 0);
    addGrid->addWidget(addDatei_, 1, 1);
    addGrid->addWidget(addPick_, 1, 2);
    addGrid->addWidget(addAktiv_, 2, 1);
    addGrid->addWidget(addButton, 2, 2, Qt::AlignRight);
    addGrid->setColumnStretch(1, 1);

    auto* listBox = new QGroupBox(QStringLiteral("Reihenfolge ändern / Löschen"), this);
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
    auto* del = new QPushButton(QStringLiteral("löschen"), listBox);
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
    aenderAktiv_ = new QCheckBox(QStringLiteral("Aktiv"), changeBox);
    aenderAktiv_->setObjectName(QStringLiteral("CBAenderMenueAktiv"));
    auto* changeButton = new QPushButton(QStringLiteral("ändern"), changeBox);
    changeButton->setObjectName(QStringLiteral("ButtonMenueAenderDatei"));
    changeButton->setStatusTip(QStringLiteral("Den gewählten Menüpunkt mit diesen Angaben ändern"));
    changeGrid->addWidget(new QLabel(QStringLiteral("Text:"), changeBox), 0, 0);
    changeGrid->addWidget(aenderText_, 0, 1, 1, 2);
    changeGrid->addWidget(new QLabel(QStringLiteral("Datei:"), changeBox), 1, 0);
    changeGrid->addWidget(aenderDatei_, 1, 1);
    changeGrid->addWidget(aenderPick_, 1, 2);
    changeGrid->addWidget(aenderAktiv_, 2, 1);
    changeGrid->addWidget(changeButton, 2, 2, Qt::AlignRight);
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
    connect(addButton, &QPushButton::clicked, this, &MenuEditorTab::ButtonMenueAddDateiClick);
    connect(changeButton, &QPushButton::clicked, this, &MenuEditorTab::ButtonMenueAenderDateiClick);
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
    setTabOrder(addAktiv_, addButton);
    setTabOrder(addButton, aenderText_);
    setTabOrder(aenderText_, aenderDatei_);
    setTabOrder(aenderDatei_, aenderPick_);
    setTabOrder(aenderPick_, aenderAktiv_);
    setTabOrder(aenderAktiv_, changeButton);
    setTabOrder(changeButton, list_);
    setTabOrder(list_, up);
    setTabOrder(up, down);
    setTabOrder(down, del);
}

QList<QToolButton*> MenuEditorTab::PickButtons() const { return {addPick_, aenderPick_}; }

bool MenuEditorTab::OnMainLevel() const { return currentMenu_ == &mainMenu_; }

void MenuEditorTab::ClearMenuEditFields() {
    filling_ = true;
    list_->clear();
    filling_ = false;
    addText_->clear();
    addDatei_->clear();
    aenderText_->clear();
    aenderDatei_->clear();
    addAktiv_->setChecked(true);
    aenderAktiv_->setChecked(false);
}

void MenuEditorTab::FillList() {
    filling_ = true;
    list_->clear();
    for (int i = 0; i < currentMenu_->Count(); ++i) list_->addItem(Q(currentMenu_->Item(i).Text));
    filling_ = false;
}

void MenuEditorTab::ShowCurrent(int index) {
    filling_ = true;
    list_->setCurrentRow(index);
    filling_ = false;
    if (index < 0 || index >= currentMenu_->Count()) {
        aenderText_->clear();
        aenderDatei_->clear();
        aenderAktiv_->setChecked(false);
        return;
    }
    currentMenu_->ItemIndex = index;
    const TWebMenuItem& item = currentMenu_->Item(index);
    aenderText_->setText(Q(item.Text));
    aenderDatei_->setText(Q(item.FileName));
    aenderAktiv_->setChecked(item.Active);
}

void MenuEditorTab::RefreshMenuEditor() {
    tracker_.Forget();
    ClearMenuEditFields();
    currentMenu_ = &mainMenu_;
    comboMenuWahl_->clear();
    comboMenuWahl_->addItem(QStringLiteral("[HauptMenü]"));
    for (int i = 0; i < mainMenu_.Count(); ++i) comboMenuWahl_->addItem(Q(mainMenu_.Item(i).Text));
    comboMenuWahl_->setCurrentIndex(0);
    FillList();
    if (mainMenu_.ItemIndex >= 0 && mainMenu_.ItemIndex < mainMenu_.Count())
        ShowCurrent(mainMenu_.ItemIndex);
}

void MenuEditorTab::ComboBoxMenuWahlChange(int line) {
    if (line < 0 || line > mainMenu_.Count()) return;
    ClearMenuEditFields();
    mainMenu_.ItemIndex = line - 1;
    currentMenu_ = line == 0 ? &mainMenu_ : mainMenu_.Item(line - 1).SubMenu.get();
    FillList();
    if (currentMenu_->Count() > 0) {
        currentMenu_->ItemIndex = 0;
        ShowCurrent(0);
    }
}

void MenuEditorTab::ListBoxMenueSelect(int row) { ShowCurrent(row); }

void MenuEditorTab::ButtonMenueAddDateiClick() {
    tracker_.LeaveField();
    const QString text = addText_->text().trimmed();
    const QString file = addDatei_->text().trimmed();
    if (text.isEmpty()) return prompts_.Message(window(), kNoText);
    if (file.isEmpty()) return prompts_.Message(window(), kNoFile);
    const bool main = OnMainLevel();
    auto item = main ? TWebMenu::NewMainItem(S(text), S(file), addAktiv_->isChecked())
                     : TWebMenu::NewSubItem(S(text), S(file), addAktiv_->isChecked());
    const int current = list_->currentRow();
    const int at = current >= 0 ? current + 1 : currentMenu_->Count();
    currentMenu_->Insert(at, std::move(item));
    filling_ = true;
    list_->insertItem(at, text);
    filling_ = false;
    if (main) comboMenuWahl_->insertItem(at + 1, text);
    ShowCurrent(at);
    addText_->clear();
    addDatei_->clear();
    addAktiv_->setChecked(true);
    addText_->setFocus();
    markModified_();
}

void MenuEditorTab::ButtonMenueAenderDateiClick() {
    tracker_.LeaveField();
    const QString text = aenderText_->text().trimmed();
    const QString file = aenderDatei_->text().trimmed();
    if (text.isEmpty()) return prompts_.Message(window(), kNoText);
    if (file.isEmpty()) return prompts_.Message(window(), kNoFile);
    const int k = list_->currentRow();
    if (k < 0 || k >= currentMenu_->Count()) return;
    TWebMenuItem& item = currentMenu_->Item(k);
    item.Text = S(text);
    item.FileName = S(file);
    item.Active = aenderAktiv_->isChecked();
    list_->item(k)->setText(text);
    if (OnMainLevel()) comboMenuWahl_->setItemText(k + 1, text);
    markModified_();
}

void MenuEditorTab::Move(int delta) {
    tracker_.LeaveField();
    const int k = list_->currentRow();
    const int to = k + delta;
    if (k < 0 || to < 0 || to >= currentMenu_->Count()) return;
    currentMenu_->Move(k, to);
    filling_ = true;
    list_->insertItem(to, list_->takeItem(k));
    filling_ = false;
    if (OnMainLevel()) {
        const QString moved = comboMenuWahl_->itemText(k + 1);
        comboMenuWahl_->removeItem(k + 1);
        comboMenuWahl_->insertItem(to + 1, moved);
        comboMenuWahl_->setCurrentIndex(0);
    }
    ShowCurrent(to);
    markModified_();
}

void MenuEditorTab::ButtonMenueUpClick() { Move(-1); }
void MenuEditorTab::ButtonMenueDownClick() { Move(+1); }

void MenuEditorTab::ButtonMenueDeleteClick() {
    tracker_.LeaveField();
    const int k = list_->currentRow();
    if (k < 0 || k >= currentMenu_->Count()) return;
    currentMenu_->Delete(k);
    filling_ = true;
    delete list_->takeItem(k);
    filling_ = false;
    if (OnMainLevel()) comboMenuWahl_->removeItem(k + 1);
    if (currentMenu_->Count() > 0) {
        ShowCurrent(k > 0 ? k - 1 : 0);
    } else {
        currentMenu_->ItemIndex = -1;
        ShowCurrent(-1);
    }
    markModified_();
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
