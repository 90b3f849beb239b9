// SPDX-License-Identifier: MIT
// The tabs "Zielverzeichnis", "FrameSet" and "Dateien" of the main window, and how they show
// the project.
#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
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

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

QWidget* TMainForm::BuildZielTab() {
    auto* tab = new QWidget(pageControl_);
    tab->setObjectName(QStringLiteral("Zielverzeichnis"));
    auto* row = new QHBoxLayout;
    editDir_ = NamedEdit("EditDir", tab);
    // The folder is chosen with the button only, so it always names a folder that exists.
    editDir_->setReadOnly(true);
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
    layout->addWidget(new QLabel(QStringLiteral("Zielverzeichnis:"), tab));
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

    auto* layoutBox = new QGroupBox(QStringLiteral("Aufteilung"), tab);
    auto* layoutGrid = new QVBoxLayout(layoutBox);
    auto radio = [&](const char* name, const QString& text) {
        auto* rb = new QRadioButton(text, layoutBox);
        rb->setObjectName(QString::fromLatin1(name));
        layoutGrid->addWidget(rb);
        tracker_.TrackSwitch(rb);
        connect(rb, &QRadioButton::clicked, this, &TMainForm::LayoutButtonClick);
        return rb;
    };
    rbOhne_ = radio("RBFSetOhne", QStringLiteral("Menü und Inhalt"));
    rbOben_ = radio("RBFSetOben", QStringLiteral("Mit oberem Frame"));
    rbUnten_ = radio("RBFSetUnten", QStringLiteral("Mit unterem Frame"));
    rbObenUnten_ = radio("RBFSetObenUnten", QStringLiteral("Mit oberem und unterem Frame"));
    rbOhne_->setStatusTip(QStringLiteral("Nur Menüframe und Inhaltsframe"));
    rbOben_->setStatusTip(QStringLiteral("Zusätzlich ein Frame über Menü und Inhalt"));
    rbUnten_->setStatusTip(QStringLiteral("Zusätzlich ein Frame unter Menü und Inhalt"));
    rbObenUnten_->setStatusTip(QStringLiteral("Zusätzlich je ein Frame oben und unten"));
    layoutGrid->addStretch(1);

    auto* grid = new QGridLayout;
    editFSetTitel_ = NamedEdit("EditFSetTitel", tab);
    editFSetTitel_->setStatusTip(
        QStringLiteral("Titel der Frameset-Seite, den der Browser anzeigt"));
    tracker_.TrackText(editFSetTitel_,
                       [this](const QString& t) { session_.Settings().frameset.titel = S(t); });
    comboRahmen_ = new QComboBox(tab);
    comboRahmen_->setObjectName(QStringLiteral("ComboBoxFSetRahmen"));
    comboRahmen_->addItems({QStringLiteral("Fenstergröße nicht änderbar, kein Rahmen"),
                            QStringLiteral("flacher Zwischenraum als Rahmen"),
                            QStringLiteral("3D-Rahmen")});
    comboRahmen_->setStatusTip(QStringLiteral("Wie die Frames voneinander getrennt sind"));
    tracker_.TrackCombo(comboRahmen_);
    connect(comboRahmen_, &QComboBox::activated, this, &TMainForm::ComboBoxFSetRahmenChange);
    comboRahmenBreite_ = new QComboBox(tab);
    comboRahmenBreite_->setObjectName(QStringLiteral("ComboBoxFSetRahmenBreite"));
    for (int i = 1; i <= 10; ++i) comboRahmenBreite_->addItem(QString::number(i));
    comboRahmenBreite_->setStatusTip(QStringLiteral("Breite des Rahmens in Pixel"));
    tracker_.TrackCombo(comboRahmenBreite_);
    connect(comboRahmenBreite_, &QComboBox::activated, this,
            [this](int i) { session_.Settings().frameset.frameborderwidth = i + 1; });
    labelRahmenBreite_ = NamedLabel("LabelFSetRahmenbreite", QStringLiteral("Rahmenbreite:"), tab);

    editFrameBreite_ = NamedEdit("EditFrameBreite", tab);
    editFrameBreite_->setStatusTip(QStringLiteral("Breite der Menüspalte in Pixel"));
    tracker_.TrackInt(editFrameBreite_,
                      [this](int v) { session_.Settings().frameset.menuframe_size = v; });
    editOFrameBreite_ = NamedEdit("EditOFrameBreite", tab);
    editOFrameBreite_->setStatusTip(QStringLiteral("Höhe des oberen Frames in Pixel"));
    tracker_.TrackInt(editOFrameBreite_,
                      [this](int v) { session_.Settings().frameset.frametop_size = v; });
    editUFrameBreite_ = NamedEdit("EditUFrameBreite", tab);
    editUFrameBreite_->setStatusTip(QStringLiteral("Höhe des unteren Frames in Pixel"));
    tracker_.TrackInt(editUFrameBreite_,
                      [this](int v) { session_.Settings().frameset.framebottom_size = v; });
    for (QLineEdit* e : {editFrameBreite_, editOFrameBreite_, editUFrameBreite_})
        e->setMaximumWidth(90);
    auto* labelO =
        NamedLabel("LabelFSetOFrameBreite", QStringLiteral("Höhe oberer Frame (Pixel):"), tab);
    auto* labelU =
        NamedLabel("LabelFSetUFrameBreite", QStringLiteral("Höhe unterer Frame (Pixel):"), tab);

    grid->addWidget(new QLabel(QStringLiteral("Titel:"), tab), 0, 0);
    grid->addWidget(editFSetTitel_, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Rahmen:"), tab), 1, 0);
    grid->addWidget(comboRahmen_, 1, 1, 1, 2);
    grid->addWidget(labelRahmenBreite_, 2, 0);
    grid->addWidget(comboRahmenBreite_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Breite Menüframe (Pixel):"), tab), 3, 0);
    grid->addWidget(editFrameBreite_, 3, 1);
    grid->addWidget(labelO, 4, 0);
    grid->addWidget(editOFrameBreite_, 4, 1);
    grid->addWidget(labelU, 5, 0);
    grid->addWidget(editUFrameBreite_, 5, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(6, 1);

    auto* outer = new QHBoxLayout(tab);
    outer->addWidget(layoutBox);
    outer->addLayout(grid, 1);

    topFrameControls_ << editOFrameBreite_ << labelO;
    bottomFrameControls_ << editUFrameBreite_ << labelU;

    setTabOrder(rbOhne_, rbOben_);
    setTabOrder(rbOben_, rbUnten_);
    setTabOrder(rbUnten_, rbObenUnten_);
    setTabOrder(rbObenUnten_, editFSetTitel_);
    setTabOrder(editFSetTitel_, comboRahmen_);
    setTabOrder(comboRahmen_, comboRahmenBreite_);
    setTabOrder(comboRahmenBreite_, editFrameBreite_);
    setTabOrder(editFrameBreite_, editOFrameBreite_);
    setTabOrder(editOFrameBreite_, editUFrameBreite_);
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
        {"LabelDatFSet", "EditDatFSet", "SpeedButtonDatFSet", QStringLiteral("Frameset:"),
         QStringLiteral("Dateiname der Frameset-Seite"), &FilesSettings::frameset_file},
        {"LabelDatCSS", "EditDatCSS", "SpeedButtonDatCSS", QStringLiteral("Stylesheet:"),
         QStringLiteral("Dateiname des Stylesheets"), &FilesSettings::stylesheet_file},
        {"LabelDatJS", "EditDatJS", "SpeedButtonDatJS", QStringLiteral("Javascript:"),
         QStringLiteral("Dateiname des Menü-Skripts"), &FilesSettings::javascript_file},
        {"LabelDatMFrame", "EditDatMFrame", "SpeedButtonDatMFrame", QStringLiteral("Menüframe:"),
         QStringLiteral("Dateiname der Menü-Frame-Seite"), &FilesSettings::menuframe_file},
        {"LabelDatSeite1", "EditDatSeite1", "SpeedButtonDatSeite1", QStringLiteral("Erste Seite:"),
         QStringLiteral("Dateiname der ersten Inhaltsseite"), &FilesSettings::starting_page_file},
        {"LabelDatOben", "EditDatOben", "SpeedButtonDatOben", QStringLiteral("Oberer Frame:"),
         QStringLiteral("Dateiname der Seite im oberen Frame"), &FilesSettings::frame_top_file},
        {"LabelDatUnten", "EditDatUnten", "SpeedButtonDatUnten", QStringLiteral("Unterer Frame:"),
         QStringLiteral("Dateiname der Seite im unteren Frame"), &FilesSettings::frame_bottom_file},
    };
    QWidget* previous = nullptr;
    for (int i = 0; i < 7; ++i) {
        const Row& r = rows[i];
        auto* label = NamedLabel(r.label, r.caption, tab);
        QLineEdit* edit = NamedEdit(r.edit, tab);
        edit->setStatusTip(r.hint);
        std::string FilesSettings::*member = r.member;
        tracker_.TrackText(
            edit, [this, member](const QString& t) { session_.Settings().files.*member = S(t); });
        auto* button = new QToolButton(tab);
        button->setObjectName(QString::fromLatin1(r.button));
        button->setText(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("Datei wählen"));
        button->setStatusTip(QStringLiteral("Eine Datei aus dem Zielverzeichnis auswählen"));
        connect(button, &QToolButton::clicked, this,
                [this, edit, member] { PickFileInto(edit, session_.Settings().files.*member); });
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        grid->addWidget(button, i, 2);
        fileEdits_[static_cast<size_t>(i)] = edit;
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

void TMainForm::ShowTopFrameControls(bool show) {
    for (QWidget* w : topFrameControls_) w->setVisible(show);
}

void TMainForm::ShowBottomFrameControls(bool show) {
    for (QWidget* w : bottomFrameControls_) w->setVisible(show);
}

void TMainForm::LayoutButtonClick() {
    FramesetSettings& fs = session_.Settings().frameset;
    fs.frametop = rbOben_->isChecked() || rbObenUnten_->isChecked();
    fs.framebottom = rbUnten_->isChecked() || rbObenUnten_->isChecked();
    ShowTopFrameControls(fs.frametop);
    ShowBottomFrameControls(fs.framebottom);
}

void TMainForm::ComboBoxFSetRahmenChange(int index) {
    FramesetSettings& fs = session_.Settings().frameset;
    fs.frameoption = index;
    const bool withWidth = index == 1 || index == 2;
    fs.frameborderwidth = withWidth ? 1 : 0;
    comboRahmenBreite_->setCurrentIndex(withWidth ? 0 : -1);
    comboRahmenBreite_->setVisible(withWidth);
    labelRahmenBreite_->setVisible(withWidth);
}

void TMainForm::RefreshFromModel() {
    const ProjectSettings& s = session_.Settings();
    const FramesetSettings& fs = s.frameset;
    rbOhne_->setChecked(!fs.frametop && !fs.framebottom);
    rbOben_->setChecked(fs.frametop && !fs.framebottom);
    rbUnten_->setChecked(!fs.frametop && fs.framebottom);
    rbObenUnten_->setChecked(fs.frametop && fs.framebottom);
    ShowTopFrameControls(TopFrameControlsVisible(session_.project));
    ShowBottomFrameControls(BottomFrameControlsVisible(session_.project));
    editFSetTitel_->setText(Q(fs.titel));
    comboRahmen_->setCurrentIndex(fs.frameoption >= 0 && fs.frameoption <= 2 ? fs.frameoption : -1);
    comboRahmenBreite_->setCurrentIndex(
        fs.frameborderwidth >= 1 && fs.frameborderwidth <= 10 ? fs.frameborderwidth - 1 : -1);
    const bool widthShown = BorderWidthListVisible(session_.project);
    comboRahmenBreite_->setVisible(widthShown);
    labelRahmenBreite_->setVisible(widthShown);
    editFrameBreite_->setText(QString::number(fs.menuframe_size));
    editOFrameBreite_->setText(QString::number(fs.frametop_size));
    editUFrameBreite_->setText(QString::number(fs.framebottom_size));
    const FilesSettings& f = s.files;
    const std::string* names[] = {&f.frameset_file,    &f.stylesheet_file,    &f.javascript_file,
                                  &f.menuframe_file,   &f.starting_page_file, &f.frame_top_file,
                                  &f.frame_bottom_file};
    for (size_t i = 0; i < fileEdits_.size(); ++i) fileEdits_[i]->setText(Q(*names[i]));
    tabSitemap_->RefreshFromModel();
}

}  // namespace pagloom::app
