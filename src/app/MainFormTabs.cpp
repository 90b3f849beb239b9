// SPDX-License-Identifier: MIT
// The tabs "Zielverzeichnis", "FrameSet" and "Dateien" of the main window, bound to the project
// through the window's binder.
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "MainForm.h"
#include "MenuEditorTab.h"
#include "QtText.h"
#include "SitemapTab.h"

namespace pagloom::app {
namespace {

QLineEdit* NamedEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QLabel* NamedLabel(const char* name, const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    return l;
}

// The frame layouts of the "Aufteilung" buttons, in their order.
int LayoutOf(const FramesetSettings& fs) {
    return fs.frametop ? (fs.framebottom ? 3 : 1) : (fs.framebottom ? 2 : 0);
}

}  // namespace

// The access keys of the tabs leave out D, P, A, E and H, which open the menus.
QWidget* TMainForm::BuildZielTab() {
    auto* tab = new QWidget(pageControl_);
    tab->setObjectName(QStringLiteral("Zielverzeichnis"));
    auto* row = new QHBoxLayout;
    editDir_ = NamedEdit("EditDir", tab);
    // The folder is chosen with the button only, so it always names a folder that exists. The
    // field looks read-only (the window's colour instead of the white of an input field) but
    // its text can still be selected and copied.
    editDir_->setReadOnly(true);
    QPalette readOnly = editDir_->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        readOnly.setColor(g, QPalette::Base, readOnly.color(g, QPalette::Window));
    editDir_->setPalette(readOnly);
    editDir_->setStatusTip(QStringLiteral("Ordner, in den die Website erstellt wird"));
    auto* pick = new QToolButton(tab);
    pick->setObjectName(QStringLiteral("SpeedButtonZiel"));
    pick->setText(QStringLiteral("..."));
    pick->setToolTip(QStringLiteral("Zielverzeichnis wählen"));
    pick->setStatusTip(QStringLiteral("Das Zielverzeichnis auswählen oder ein neues anlegen"));
    connect(pick, &QToolButton::clicked, this, &TMainForm::SpeedButtonZielClick);
    row->addWidget(editDir_, 1);
    row->addWidget(pick);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(NamedLabel("LabelZiel", QStringLiteral("&Zielverzeichnis:"), editDir_, tab));
    layout->addLayout(row);
    auto* note = new QLabel(
        QStringLiteral("In diesen Ordner schreibt „Erstellen“ die Dateien der Website. "
                       "Mit der Schaltfläche „...“ wählen Sie ihn aus oder legen ihn an."),
        tab);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch(1);
    return tab;
}

QWidget* TMainForm::BuildFrameSetTab() {
    auto* tab = new QWidget(pageControl_);
    tab->setObjectName(QStringLiteral("FrameSet"));
    auto fs = [this]() -> FramesetSettings& { return session_.Settings().frameset; };

    auto* layoutBox = new QGroupBox(QStringLiteral("Aufteilung"), tab);
    auto* layoutColumn = new QVBoxLayout(layoutBox);
    auto radio = [&](const char* name, const QString& text, const QString& hint) {
        auto* rb = new QRadioButton(text, layoutBox);
        rb->setObjectName(QString::fromLatin1(name));
        rb->setStatusTip(hint);
        layoutColumn->addWidget(rb);
        return rb;
    };
    QRadioButton* ohne = radio("RBFSetOhne", QStringLiteral("&Menü und Inhalt"),
                               QStringLiteral("Nur Menüframe und Inhaltsframe"));
    QRadioButton* oben = radio("RBFSetOben", QStringLiteral("Mit &oberem Frame"),
                               QStringLiteral("Zusätzlich ein Frame über Menü und Inhalt"));
    QRadioButton* unten = radio("RBFSetUnten", QStringLiteral("Mit &unterem Frame"),
                                QStringLiteral("Zusätzlich ein Frame unter Menü und Inhalt"));
    QRadioButton* beide = radio("RBFSetObenUnten", QStringLiteral("Mit oberem und un&terem Frame"),
                                QStringLiteral("Zusätzlich je ein Frame oben und unten"));
    layoutColumn->addStretch(1);
    binder_.Choice(
        {ohne, oben, unten, beide}, [fs] { return LayoutOf(fs()); },
        [fs](int layout) {
            fs().frametop = layout == 1 || layout == 3;
            fs().framebottom = layout == 2 || layout == 3;
        });

    QLineEdit* titel = NamedEdit("EditFSetTitel", tab);
    titel->setStatusTip(QStringLiteral("Titel der Frameset-Seite, den der Browser anzeigt"));
    binder_.Text(titel, [fs]() -> std::string& { return fs().titel; });
    comboRahmen_ = new QComboBox(tab);
    comboRahmen_->setObjectName(QStringLiteral("ComboBoxFSetRahmen"));
    comboRahmen_->addItems({QStringLiteral("Fenstergröße nicht änderbar, kein Rahmen"),
                            QStringLiteral("flacher Zwischenraum als Rahmen"),
                            QStringLiteral("3D-Rahmen")});
    comboRahmen_->setStatusTip(QStringLiteral("Wie die Frames voneinander getrennt sind"));
    // A border with a width starts at width 1; the option without one has width 0.
    binder_.Choice(
        comboRahmen_, [fs] { return fs().frameoption; },
        [fs](int option) {
            fs().frameoption = option;
            fs().frameborderwidth = option == 1 || option == 2 ? 1 : 0;
        });
    comboRahmenBreite_ = new QComboBox(tab);
    comboRahmenBreite_->setObjectName(QStringLiteral("ComboBoxFSetRahmenBreite"));
    for (int i = 1; i <= 10; ++i) comboRahmenBreite_->addItem(QString::number(i));
    comboRahmenBreite_->setStatusTip(QStringLiteral("Breite des Rahmens in Pixel"));
    binder_.Choice(
        comboRahmenBreite_, [fs] { return fs().frameborderwidth - 1; },
        [fs](int i) { fs().frameborderwidth = i + 1; });
    labelRahmenBreite_ = NamedLabel("LabelFSetRahmenbreite", QStringLiteral("Rahmen&breite:"),
                                    comboRahmenBreite_, tab);
    for (QWidget* w :
         {static_cast<QWidget*>(comboRahmenBreite_), static_cast<QWidget*>(labelRahmenBreite_)})
        binder_.Show(w, [this] { return BorderWidthListVisible(session_.project); });

    auto number = [&](const char* name, const QString& hint, int FramesetSettings::*member) {
        QLineEdit* e = NamedEdit(name, tab);
        e->setStatusTip(hint);
        e->setMaximumWidth(90);
        binder_.WholeNumber(e, [fs, member]() -> int& { return fs().*member; });
        return e;
    };
    QLineEdit* menuWidth =
        number("EditFrameBreite", QStringLiteral("Breite der Menüspalte in Pixel"),
               &FramesetSettings::menuframe_size);
    QLineEdit* topHeight =
        number("EditOFrameBreite", QStringLiteral("Höhe des oberen Frames in Pixel"),
               &FramesetSettings::frametop_size);
    QLineEdit* bottomHeight =
        number("EditUFrameBreite", QStringLiteral("Höhe des unteren Frames in Pixel"),
               &FramesetSettings::framebottom_size);
    auto* labelO = NamedLabel("LabelFSetOFrameBreite",
                              QStringLiteral("Höhe obe&rer Frame (Pixel):"), topHeight, tab);
    auto* labelU = NamedLabel("LabelFSetUFrameBreite",
                              QStringLiteral("Höhe unterer Frame (Pixe&l):"), bottomHeight, tab);

    auto* grid = new QGridLayout;
    grid->addWidget(NamedLabel("LabelFSetTitel", QStringLiteral("T&itel:"), titel, tab), 0, 0);
    grid->addWidget(titel, 0, 1, 1, 2);
    grid->addWidget(NamedLabel("LabelFSetRahmen", QStringLiteral("Rahme&n:"), comboRahmen_, tab), 1,
                    0);
    grid->addWidget(comboRahmen_, 1, 1, 1, 2);
    grid->addWidget(labelRahmenBreite_, 2, 0);
    grid->addWidget(comboRahmenBreite_, 2, 1);
    grid->addWidget(NamedLabel("LabelFSetFrameBreite", QStringLiteral("Breite Menü&frame (Pixel):"),
                               menuWidth, tab),
                    3, 0);
    grid->addWidget(menuWidth, 3, 1);
    grid->addWidget(labelO, 4, 0);
    grid->addWidget(topHeight, 4, 1);
    grid->addWidget(labelU, 5, 0);
    grid->addWidget(bottomHeight, 5, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(6, 1);

    auto* outer = new QHBoxLayout(tab);
    outer->addWidget(layoutBox);
    outer->addLayout(grid, 1);

    topFrameControls_ << topHeight << labelO;
    bottomFrameControls_ << bottomHeight << labelU;

    const QList<QWidget*> order = {
        ohne,      oben,      unten,       beide, titel, comboRahmen_, comboRahmenBreite_,
        menuWidth, topHeight, bottomHeight};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    return tab;
}

QWidget* TMainForm::BuildDateienTab() {
    auto* tab = new QWidget(pageControl_);
    tab->setObjectName(QStringLiteral("Dateien"));
    auto* grid = new QGridLayout(tab);
    struct Row {
        const char* label;
        const char* edit;
        const char* button;
        QString caption;
        QString hint;
        std::string FilesSettings::*member;
    };
    const Row rows[] = {
        {"LabelDatFSet", "EditDatFSet", "SpeedButtonDatFSet", QStringLiteral("&Frameset:"),
         QStringLiteral("Dateiname der Frameset-Seite"), &FilesSettings::frameset_file},
        {"LabelDatCSS", "EditDatCSS", "SpeedButtonDatCSS", QStringLiteral("&Stylesheet:"),
         QStringLiteral("Dateiname des Stylesheets"), &FilesSettings::stylesheet_file},
        {"LabelDatJS", "EditDatJS", "SpeedButtonDatJS", QStringLiteral("&Javascript:"),
         QStringLiteral("Dateiname des Menü-Skripts"), &FilesSettings::javascript_file},
        {"LabelDatMFrame", "EditDatMFrame", "SpeedButtonDatMFrame", QStringLiteral("&Menüframe:"),
         QStringLiteral("Dateiname der Menü-Frame-Seite"), &FilesSettings::menuframe_file},
        {"LabelDatSeite1", "EditDatSeite1", "SpeedButtonDatSeite1", QStringLiteral("E&rste Seite:"),
         QStringLiteral("Dateiname der ersten Inhaltsseite"), &FilesSettings::starting_page_file},
        {"LabelDatOben", "EditDatOben", "SpeedButtonDatOben", QStringLiteral("&Oberer Frame:"),
         QStringLiteral("Dateiname der Seite im oberen Frame"), &FilesSettings::frame_top_file},
        {"LabelDatUnten", "EditDatUnten", "SpeedButtonDatUnten", QStringLiteral("&Unterer Frame:"),
         QStringLiteral("Dateiname der Seite im unteren Frame"), &FilesSettings::frame_bottom_file},
    };
    QWidget* previous = nullptr;
    for (int i = 0; i < 7; ++i) {
        const Row& r = rows[i];
        QLineEdit* edit = NamedEdit(r.edit, tab);
        edit->setStatusTip(r.hint);
        auto* label = NamedLabel(r.label, r.caption, edit, tab);
        std::string FilesSettings::*member = r.member;
        binder_.Text(
            edit, [this, member]() -> std::string& { return session_.Settings().files.*member; });
        auto* button = new QToolButton(tab);
        button->setObjectName(QString::fromLatin1(r.button));
        button->setText(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("Datei wählen"));
        button->setStatusTip(QStringLiteral("Eine Datei aus dem Zielverzeichnis auswählen"));
        connect(button, &QToolButton::clicked, this,
                [this, member] { PickFileInto(session_.Settings().files.*member); });
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        grid->addWidget(button, i, 2);
        pickButtons_ << button;
        if (previous) setTabOrder(previous, edit);
        setTabOrder(edit, button);
        previous = button;
        if (i == 5) topFrameControls_ << label << edit << button;
        if (i == 6) bottomFrameControls_ << label << edit << button;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
    return tab;
}

void TMainForm::BindFrameRules() {
    for (QWidget* w : topFrameControls_)
        binder_.Show(w, [this] { return TopFrameControlsVisible(session_.project); });
    for (QWidget* w : bottomFrameControls_)
        binder_.Show(w, [this] { return BottomFrameControlsVisible(session_.project); });
}

void TMainForm::RefreshFromModel() { binder_.Refresh(); }

}  // namespace pagloom::app
