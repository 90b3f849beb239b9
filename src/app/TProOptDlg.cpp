// SPDX-License-Identifier: MIT
#include "TProOptDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "FieldTracker.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"

namespace pagloom::app {
namespace {

const QString kHtmlFilter = QStringLiteral("HTML (*.htm;*.html)");
const QString kDwFilter = QStringLiteral("Dreamweaver-Template  (*.dwt)");
const QString kTemplateFilters =
    kHtmlFilter + QStringLiteral(";;") + kDwFilter + QStringLiteral(";;alle Dateien (*)");
const QString kOverwriteFiles = QStringLiteral("Vorhandene Dateien überschreiben");
const QString kOverwriteFile = QStringLiteral("Vorhandene Datei überschreiben");
const char* const kBrackets[] = {"<...>", "(...)", "{...}", "[...]", "«...»"};

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text) {
    auto* rb = new QRadioButton(text, parent);
    rb->setObjectName(QString::fromLatin1(name));
    return rb;
}

// Indents the switches that belong to the choice above them.
QHBoxLayout* Indented(QWidget* w) {
    auto* row = new QHBoxLayout;
    row->addSpacing(24);
    row->addWidget(w, 1);
    return row;
}

}  // namespace

TProOptDlg::TProOptDlg(ProjectSession& session, FieldTracker& tracker, UiPrompts& prompts,
                       std::function<QString()> templateDir, QWidget* parent)
    : QDialog(parent),
      session_(session),
      tracker_(tracker),
      prompts_(prompts),
      templateDir_(std::move(templateDir)) {
    setObjectName(QStringLiteral("TProOptDlg"));
    setWindowTitle(QStringLiteral("Optionen"));
    ProjectSettings& s = session_.Settings();

    pages_ = new QTabWidget(this);
    pages_->setUsesScrollButtons(false);
    pages_->addTab(BuildFrameSetPage(), QStringLiteral("FrameSet"));
    pages_->addTab(
        BuildTwoChoicePage("MakeCSSOn", QStringLiteral("Stylesheet-Datei erstellen"), "MakeCSSOff",
                           QStringLiteral("Keine Stylesheet-Datei erstellen"),
                           "CBUeberschreibenCSS", kOverwriteFiles, s.css.css, s.css.overwrite_css),
        QStringLiteral("Stylesheet"));
    cssChoice_ = choices_.back().get();
    cbUeberschreibenCSS_ = switches_.back().box;
    pages_->addTab(BuildTwoChoicePage(
                       "MakeJSOn", QStringLiteral("Javascript-Datei erstellen"), "MakeJSOff",
                       QStringLiteral("Keine Javascript-Datei erstellen"), "CBUeberschreibenJS",
                       kOverwriteFiles, s.javascript.javascript, s.javascript.overwrite_javascript),
                   QStringLiteral("Javascript"));
    jsChoice_ = choices_.back().get();
    cbUeberschreibenJS_ = switches_.back().box;
    pages_->addTab(BuildMenuFramePage(), QStringLiteral("Menueframe"));
    pages_->addTab(BuildTwoChoicePage(
                       "MakeOFrameOn", QStringLiteral("Oberen Frame erstellen"), "MakeOFrameOff",
                       QStringLiteral("Oberen Frame nicht erstellen"), "CBUeberschreibenOFrame",
                       kOverwriteFile, s.frames.topframe, s.frames.overwrite_topframe),
                   QStringLiteral("Oberer Frame"));
    oframeChoice_ = choices_.back().get();
    cbUeberschreibenOFrame_ = switches_.back().box;
    pages_->addTab(BuildTwoChoicePage(
                       "MakeUFrameOn", QStringLiteral("Unteren Frame erstellen"), "MakeUFrameOff",
                       QStringLiteral("Unteren Frame nicht erstellen"), "CBUeberschreibenUFrame",
                       kOverwriteFile, s.frames.bottomframe, s.frames.overwrite_bottomframe),
                   QStringLiteral("Unterer Frame"));
    uframeChoice_ = choices_.back().get();
    cbUeberschreibenUFrame_ = switches_.back().box;
    pages_->addTab(BuildFirstPagePage(), QStringLiteral("Erste Seite"));
    pages_->addTab(BuildContentPage(), QStringLiteral("Inhalts-Seiten"));
    pages_->addTab(BuildSitemapPage(), QStringLiteral("Sitemap"));
    pages_->addTab(BuildTablesPage(), QStringLiteral("Tabellen"));

    // Switching a choice on clears the switches that depend on it.
    cssChoice_->cleared = {{}, {cbUeberschreibenCSS_}};
    jsChoice_->cleared = {{}, {cbUeberschreibenJS_}};
    oframeChoice_->cleared = {{}, {cbUeberschreibenOFrame_}};
    uframeChoice_->cleared = {{}, {cbUeberschreibenUFrame_}};

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &TProOptDlg::OkClick);
    connect(cancel, &QPushButton::clicked, this, &TProOptDlg::AbbruchClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(pages_, 1);
    outer->addLayout(buttons);

    RefreshFromModel();
}

template <std::size_t N>
TProOptDlg::ChoiceGroup& TProOptDlg::AddChoice(Choice<N>& choice,
                                               std::vector<QRadioButton*> buttons) {
    auto group = std::make_unique<ChoiceGroup>();
    group->buttons = std::move(buttons);
    group->selected = [&choice] { return choice.Selected(); };
    group->select = [&choice](int option) { choice.Select(option); };
    group->cleared.resize(N);
    ChoiceGroup* g = group.get();
    auto* exclusive = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(g->buttons.size()); ++i) {
        QRadioButton* rb = g->buttons[static_cast<size_t>(i)];
        exclusive->addButton(rb);
        tracker_.TrackSwitch(rb);
        connect(rb, &QRadioButton::clicked, this, [this, g, i] { ChoiceClicked(*g, i); });
    }
    choices_.push_back(std::move(group));
    return *g;
}

QCheckBox* TProOptDlg::AddSwitch(QWidget* parent, const char* name, const QString& text,
                                 bool& value) {
    auto* cb = new QCheckBox(text, parent);
    cb->setObjectName(QString::fromLatin1(name));
    tracker_.TrackSwitch(cb);
    bool* v = &value;
    connect(cb, &QCheckBox::toggled, this, [this, v](bool on) {
        if (refreshing_) return;
        *v = on;
        UpdateEnables();
    });
    switches_.push_back({cb, v});
    return cb;
}

QWidget* TProOptDlg::BuildTwoChoicePage(const char* onName, const QString& onText,
                                        const char* offName, const QString& offText,
                                        const char* overwriteName, const QString& overwriteText,
                                        Choice<2>& choice, bool& overwrite) {
    auto* page = new QWidget(pages_);
    QRadioButton* on = Radio(page, onName, onText);
    QRadioButton* off = Radio(page, offName, offText);
    QCheckBox* cb = AddSwitch(page, overwriteName, overwriteText, overwrite);
    AddChoice(choice, {off, on});
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(on);
    layout->addLayout(Indented(cb));
    layout->addWidget(off);
    layout->addStretch(1);
    setTabOrder(on, cb);
    setTabOrder(cb, off);
    return page;
}

std::array<int*, 8> TProOptDlg::Margins() {
    FramesetSettings& f = session_.Settings().frameset;
    return {&f.menuframe_marginwidth,     &f.menuframe_marginheight,  &f.contentframe_marginwidth,
            &f.contentframe_marginheight, &f.topframe_marginwidth,    &f.topframe_marginheight,
            &f.bottomframe_marginwidth,   &f.bottomframe_marginheight};
}

QWidget* TProOptDlg::BuildFrameSetPage() {
    ProjectSettings& s = session_.Settings();
    auto* page = new QWidget(pages_);
    QRadioButton* on = Radio(page, "MakeFramesetOn", QStringLiteral("Frameset erstellen"));
    QRadioButton* off = Radio(page, "MakeFramesetOff", QStringLiteral("Kein Frameset erstellen"));
    cbUeberschreibenFrameset_ =
        AddSwitch(page, "CBUeberschreibenFrameset", kOverwriteFiles, s.frameset.empty_overwrite);
    framesetChoice_ = &AddChoice(s.frameset.frameset, {off, on});
    framesetChoice_->cleared = {{}, {cbUeberschreibenFrameset_}};

    auto* marginBox =
        new QGroupBox(QStringLiteral("Abstand des Seiteninhalts zum Seitenrand für Frames"), page);
    auto* grid = new QGridLayout(marginBox);
    grid->addWidget(new QLabel(QStringLiteral("Rechter/Linker Rand"), marginBox), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Oberer/Unterer Rand"), marginBox), 0, 2);
    const char* names[] = {"EditMFrameMarginRL", "EditMFrameMarginOU", "EditIFrameMarginRL",
                           "EditIFrameMarginOU", "EditOFrameMarginRL", "EditOFrameMarginOU",
                           "EditUFrameMarginRL", "EditUFrameMarginOU"};
    const QString rows[] = {QStringLiteral("Menüframe:"), QStringLiteral("Inhalts-Frame:"),
                            QStringLiteral("Oberer Frame:"), QStringLiteral("Unterer Frame:")};
    const std::array<int*, 8> margins = Margins();
    for (int i = 0; i < 8; ++i) {
        auto* e = new QLineEdit(marginBox);
        e->setObjectName(QString::fromLatin1(names[i]));
        e->setMaximumWidth(80);
        int* target = margins[static_cast<size_t>(i)];
        tracker_.TrackInt(e, [target](int v) { *target = v; });
        marginEdits_[static_cast<size_t>(i)] = e;
        if (i % 2 == 0) grid->addWidget(new QLabel(rows[i / 2], marginBox), 1 + i / 2, 0);
        grid->addWidget(e, 1 + i / 2, 1 + i % 2);
    }
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(on);
    layout->addLayout(Indented(cbUeberschreibenFrameset_));
    layout->addWidget(off);
    layout->addSpacing(8);
    layout->addWidget(marginBox);
    layout->addStretch(1);
    setTabOrder(on, cbUeberschreibenFrameset_);
    setTabOrder(cbUeberschreibenFrameset_, off);
    QWidget* prev = off;
    for (QLineEdit* e : marginEdits_) {
        setTabOrder(prev, e);
        prev = e;
    }
    return page;
}

QWidget* TProOptDlg::BuildMenuFramePage() {
    MenuFrameSettings& m = session_.Settings().menu_frame;
    auto* page = new QWidget(pages_);
    QRadioButton* on =
        Radio(page, "MakeMFrameOn", QStringLiteral("Leere Menü-Frame-Seite erstellen"));
    QRadioButton* off =
        Radio(page, "MakeMFrameOff", QStringLiteral("Keine Menü-Frame-Seite erstellen"));
    cbUeberschreibenMFrame_ =
        AddSwitch(page, "CBUeberschreibenMFrame", kOverwriteFiles, m.empty_overwrite);
    cbMakeIncludeMFrame_ =
        AddSwitch(page, "CBMakeIncludeMFrame",
                  QStringLiteral("Navigation im <noscript>-Bereich erstellen"), m.noscript);
    mframeChoice_ = &AddChoice(m.frame, {off, on});
    mframeChoice_->cleared = {{}, {cbUeberschreibenMFrame_}};
    QRadioButton* iframe = Radio(page, "RBMakeIFrameMFrame", QStringLiteral("als IFrame"));
    QRadioButton* ssi =
        Radio(page, "RBMakeServerSideIncludeMFrame", QStringLiteral("als ServerSideInclude"));
    QRadioButton* php = Radio(page, "RBMakePHPIncludeMFrame", QStringLiteral("als PHP-Quelltext"));
    noscriptChoice_ = &AddChoice(m.noscript_kind, {iframe, ssi, php});
    auto* tagsBox = new QGroupBox(QStringLiteral("Verarbeitung von HTML-Tags"), page);
    QCheckBox* tags = AddSwitch(tagsBox, "CBTagsInMenuetext",
                                QStringLiteral("HTML-Tags in Menütext erhalten"), m.menuetext_tags);
    (new QVBoxLayout(tagsBox))->addWidget(tags);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(on);
    layout->addLayout(Indented(cbUeberschreibenMFrame_));
    layout->addLayout(Indented(cbMakeIncludeMFrame_));
    for (QRadioButton* rb : {iframe, ssi, php}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(48);
        row->addWidget(rb, 1);
        layout->addLayout(row);
    }
    layout->addWidget(off);
    layout->addSpacing(8);
    layout->addWidget(tagsBox);
    layout->addStretch(1);
    setTabOrder(on, cbUeberschreibenMFrame_);
    setTabOrder(cbUeberschreibenMFrame_, cbMakeIncludeMFrame_);
    setTabOrder(cbMakeIncludeMFrame_, iframe);
    setTabOrder(iframe, ssi);
    setTabOrder(ssi, php);
    setTabOrder(php, off);
    setTabOrder(off, tags);
    return page;
}

QWidget* TProOptDlg::BuildFirstPagePage() {
    FirstPageSettings& f = session_.Settings().firstpage;
    auto* page = new QWidget(pages_);
    QRadioButton* on = Radio(page, "MakeFirstPageOn", QStringLiteral("Erste Seite erstellen"));
    QRadioButton* off =
        Radio(page, "MakeFirstPageOff", QStringLiteral("Erste Seite nicht erstellen"));
    cbUeberschreibenFirstPage_ =
        AddSwitch(page, "CBUeberschreibenFirstPage", kOverwriteFile, f.overwrite_firstpage);
    cbFirstFromTemp_ = AddSwitch(page, "CBFirstFromTemp", QStringLiteral("Template benutzen "),
                                 f.firstpage_from_template);
    cbFirstFromTemp_->setToolTip(QStringLiteral(
        "Bei Inhalts-Seiten aus einer Vorlage wird auch die erste Seite aus ihr erstellt"));
    firstChoice_ = &AddChoice(f.firstpage, {off, on});
    firstChoice_->cleared = {{}, {cbUeberschreibenFirstPage_, cbFirstFromTemp_}};
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(on);
    layout->addLayout(Indented(cbUeberschreibenFirstPage_));
    layout->addLayout(Indented(cbFirstFromTemp_));
    layout->addWidget(off);
    layout->addStretch(1);
    setTabOrder(on, cbUeberschreibenFirstPage_);
    setTabOrder(cbUeberschreibenFirstPage_, cbFirstFromTemp_);
    setTabOrder(cbFirstFromTemp_, off);
    return page;
}

QWidget* TProOptDlg::BuildContentPage() {
    ContentPageSettings& c = session_.Settings().content_page;
    auto* page = new QWidget(pages_);
    QRadioButton* none =
        Radio(page, "MakeTempOff", QStringLiteral("Keine Inhalts-Seiten erstellen"));
    QRadioButton* empty =
        Radio(page, "MakeTempOn", QStringLiteral("Leere Inhalts-Seiten erstellen"));
    QCheckBox* titel = AddSwitch(page, "CBMenTextTitel", QStringLiteral("Menütexte als Titel"),
                                 c.empty_titel_is_menu);
    QCheckBox* inhalt = AddSwitch(page, "CBMenTextInhalt", QStringLiteral("Menütexte als Inhalt"),
                                  c.empty_content_is_menu);
    QCheckBox* leer = AddSwitch(page, "CBUeberschreibenLeer", kOverwriteFiles, c.empty_overwrite);
    QRadioButton* temp = Radio(page, "MakeTempFile", QStringLiteral("Inhalts-Seiten aus Vorlage"));
    auto* tempLabel = new QLabel(QStringLiteral("Vorlage:"), page);
    tempLabel->setObjectName(QStringLiteral("TempFileLabel"));
    tempFileEdit_ = new QLineEdit(page);
    tempFileEdit_->setObjectName(QStringLiteral("TempFileEdit"));
    tracker_.TrackText(tempFileEdit_, [&c](const QString& t) { c.template_file = S(t); });
    auto* tempButton = new QToolButton(page);
    tempButton->setObjectName(QStringLiteral("TempFileButton"));
    tempButton->setText(QStringLiteral("..."));
    tempButton->setToolTip(QStringLiteral("Vorlage wählen"));
    connect(tempButton, &QToolButton::clicked, this,
            [this, &c] { ChooseTemplate(tempFileEdit_, c.template_file, false); });
    QCheckBox* vorlage =
        AddSwitch(page, "CBUeberschreibenVorlage", kOverwriteFiles, c.template_overwrite);
    QRadioButton* dw =
        Radio(page, "MakeDWTempFile", QStringLiteral("Inhalts-Seiten aus Dremweaver-Vorlage"));
    auto* dwLabel = new QLabel(QStringLiteral("Dreamweaver-Vorlage:"), page);
    dwLabel->setObjectName(QStringLiteral("DWTempFileLabel"));
    dwTempFileEdit_ = new QLineEdit(page);
    dwTempFileEdit_->setObjectName(QStringLiteral("DWTempFileEdit"));
    tracker_.TrackText(dwTempFileEdit_, [&c](const QString& t) { c.dw_template_file = S(t); });
    auto* dwButton = new QToolButton(page);
    dwButton->setObjectName(QStringLiteral("DWTempFileButton"));
    dwButton->setText(QStringLiteral("..."));
    dwButton->setToolTip(QStringLiteral("Dreamweaver-Vorlage wählen"));
    connect(dwButton, &QToolButton::clicked, this,
            [this, &c] { ChooseTemplate(dwTempFileEdit_, c.dw_template_file, true); });
    QCheckBox* dwUpdate =
        AddSwitch(page, "CBUeberschreibenDWVorlage", kOverwriteFiles, c.dw_template_update);
    QCheckBox* dwRegions =
        AddSwitch(page, "cbDWEditableOverwrite",
                  QStringLiteral("Bearbeitbare Bereiche überschreiben (Voreinstellung)"),
                  c.dw_editable_overwrite);
    QRadioButton* tab = Radio(page, "MakeTabFile", QStringLiteral("Inhalts-Seiten aus Tabelle(n)"));
    QCheckBox* tabOverwrite =
        AddSwitch(page, "CBUeberschreibenTab", kOverwriteFiles, c.tab_overwrite);
    QCheckBox* tabRegions = AddSwitch(
        page, "cbTabDWEditableOverwrite",
        QStringLiteral(
            "Bei Dreamweaver-Vorlagen bearbeitbare Bereiche überschreiben (Voreinstellung)"),
        c.tab_dw_editable_overwrite);

    contentChoice_ = &AddChoice(c.source, {none, empty, temp, dw, tab});
    contentChoice_->cleared = {
        {}, {leer}, {vorlage}, {dwUpdate, dwRegions}, {tabOverwrite, tabRegions}};
    emptyControls_ = {titel, inhalt, leer};
    templateControls_ = {tempLabel, tempFileEdit_, tempButton, vorlage};
    dwControls_ = {dwLabel, dwTempFileEdit_, dwButton, dwUpdate, dwRegions};
    tableControls_ = {tabOverwrite, tabRegions};

    auto fileRow = [](QLabel* label, QLineEdit* edit, QToolButton* button) {
        auto* row = new QHBoxLayout;
        row->addSpacing(24);
        row->addWidget(label);
        row->addWidget(edit, 1);
        row->addWidget(button);
        return row;
    };
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(none);
    layout->addWidget(empty);
    layout->addLayout(Indented(titel));
    layout->addLayout(Indented(inhalt));
    layout->addLayout(Indented(leer));
    layout->addWidget(temp);
    layout->addLayout(fileRow(tempLabel, tempFileEdit_, tempButton));
    layout->addLayout(Indented(vorlage));
    layout->addWidget(dw);
    layout->addLayout(fileRow(dwLabel, dwTempFileEdit_, dwButton));
    layout->addLayout(Indented(dwUpdate));
    layout->addLayout(Indented(dwRegions));
    layout->addWidget(tab);
    layout->addLayout(Indented(tabOverwrite));
    layout->addLayout(Indented(tabRegions));
    layout->addStretch(1);
    const QList<QWidget*> order = {
        none,       empty,        titel,     inhalt,          leer,     temp,     tempFileEdit_,
        tempButton, vorlage,      dw,        dwTempFileEdit_, dwButton, dwUpdate, dwRegions,
        tab,        tabOverwrite, tabRegions};
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    return page;
}

QWidget* TProOptDlg::BuildSitemapPage() {
    auto* page = new QWidget(pages_);
    QCheckBox* cb = AddSwitch(page, "CBMakeSitemap", QStringLiteral("Sitemap erstellen"),
                              session_.Settings().sitemap.make_sitemap);
    cb->setToolTip(QStringLiteral(
        "Die Einstellungen der Sitemap stehen im Register „Sitemap“ des Hauptfensters"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(cb);
    layout->addStretch(1);
    return page;
}

QWidget* TProOptDlg::BuildTablesPage() {
    TableSettings& t = session_.project.Tables;
    auto* page = new QWidget(pages_);
    auto* tagBox = new QGroupBox(QStringLiteral("HTML-Datenimport"), page);
    auto* grid = new QGridLayout(tagBox);
    fieldTagEdit_ = new QLineEdit(tagBox);
    fieldTagEdit_->setObjectName(QStringLiteral("FieldTagEdit"));
    recordTagEdit_ = new QLineEdit(tagBox);
    recordTagEdit_->setObjectName(QStringLiteral("RecordTagEdit"));
    cbTagKlammer_ = new QComboBox(tagBox);
    cbTagKlammer_->setObjectName(QStringLiteral("CBTagKlammer"));
    for (const char* b : kBrackets) cbTagKlammer_->addItem(Q(Utf8ToCp1252(b)));
    fieldBspLabel_ = new QLabel(tagBox);
    fieldBspLabel_->setObjectName(QStringLiteral("FieldBspLabel"));
    fieldBspLabel_->setTextFormat(Qt::PlainText);
    recordBspLabel_ = new QLabel(tagBox);
    recordBspLabel_->setObjectName(QStringLiteral("RecordBspLabel"));
    recordBspLabel_->setTextFormat(Qt::PlainText);
    tracker_.TrackText(fieldTagEdit_, {});
    tracker_.TrackText(recordTagEdit_, {});
    tracker_.TrackCombo(cbTagKlammer_);
    connect(fieldTagEdit_, &QLineEdit::textEdited, this,
            [this, &t] { TagTextEdited(fieldTagEdit_, t.field_tag_name); });
    connect(recordTagEdit_, &QLineEdit::textEdited, this,
            [this, &t] { TagTextEdited(recordTagEdit_, t.record_tag_name); });
    connect(cbTagKlammer_, &QComboBox::activated, this, [this, &t](int i) {
        t.tag_item_index = i;
        UpdateTagExamples();
    });
    grid->addWidget(new QLabel(QStringLiteral("Tag für Tabellenfelder: "), tagBox), 0, 0);
    grid->addWidget(fieldTagEdit_, 0, 1);
    grid->addWidget(fieldBspLabel_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Tag für Datensätze:"), tagBox), 1, 0);
    grid->addWidget(recordTagEdit_, 1, 1);
    grid->addWidget(recordBspLabel_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Tag-Klammern:"), tagBox), 2, 0);
    grid->addWidget(cbTagKlammer_, 2, 1);
    grid->setColumnStretch(2, 1);

    auto* convBox = new QGroupBox(QStringLiteral("Daten-Konvertierung"), page);
    auto* convLayout = new QVBoxLayout(convBox);
    TableConvertSettings& cv = t.convert;
    convLayout->addWidget(AddSwitch(convBox, "cbTabSZ", QStringLiteral("Sonderzeichen als Unicode"),
                                    cv.special_sign_unicode));
    convLayout->addWidget(AddSwitch(convBox, "cbTabTags", QStringLiteral("'<' und '>' als Unicode"),
                                    cv.tags_unicode));
    convLayout->addWidget(AddSwitch(convBox, "cbTabNewLine",
                                    QStringLiteral("Zeilenwechsel als <BR>"), cv.newline_br));
    convLayout->addWidget(AddSwitch(
        convBox, "cbTabMultiSpaces",
        QStringLiteral("Mehrere Leerzeichen als erzwungene Leerzeichen"), cv.multispaces));
    convLayout->addWidget(AddSwitch(convBox, "cbTabTabs",
                                    QStringLiteral("Tabulator als 8 Leerzeichen"), cv.tab_to_list));
    convLayout->addWidget(AddSwitch(convBox, "cbTabMakeLink",
                                    QStringLiteral("Web-Adressen in Links umwandeln"),
                                    cv.web_to_link));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tagBox);
    layout->addWidget(convBox);
    layout->addStretch(1);
    setTabOrder(fieldTagEdit_, recordTagEdit_);
    setTabOrder(recordTagEdit_, cbTagKlammer_);
    return page;
}

void TProOptDlg::ShowChoice(const ChoiceGroup& group) {
    const int sel = group.selected();
    // A file can clear every option of a group; an exclusive group could not show that.
    QButtonGroup* exclusive = group.buttons.front()->group();
    exclusive->setExclusive(false);
    for (int i = 0; i < static_cast<int>(group.buttons.size()); ++i)
        group.buttons[static_cast<size_t>(i)]->setChecked(i == sel);
    exclusive->setExclusive(true);
}

void TProOptDlg::RefreshFromModel() {
    refreshing_ = true;
    for (const auto& g : choices_) ShowChoice(*g);
    for (const Switch& s : switches_) s.box->setChecked(*s.value);
    const ContentPageSettings& c = session_.Settings().content_page;
    tempFileEdit_->setText(Q(c.template_file));
    dwTempFileEdit_->setText(Q(c.dw_template_file));
    const std::array<int*, 8> margins = Margins();
    for (size_t i = 0; i < margins.size(); ++i)
        marginEdits_[i]->setText(QString::number(*margins[i]));
    const TableSettings& t = session_.project.Tables;
    fieldTagEdit_->setText(Q(t.field_tag_name));
    recordTagEdit_->setText(Q(t.record_tag_name));
    cbTagKlammer_->setCurrentIndex(t.tag_item_index >= 0 && t.tag_item_index < 5 ? t.tag_item_index
                                                                                 : -1);
    refreshing_ = false;
    UpdateEnables();
    UpdateTagExamples();
}

void TProOptDlg::ChoiceClicked(ChoiceGroup& group, int option) {
    if (refreshing_) return;
    const bool wasSelected = group.selected() == option;
    group.select(option);
    if (!wasSelected) {
        for (QCheckBox* cb : group.cleared[static_cast<size_t>(option)]) cb->setChecked(false);
    }
    UpdateEnables();
}

void TProOptDlg::UpdateEnables() {
    const ProjectSettings& s = session_.Settings();
    cbUeberschreibenFrameset_->setEnabled(s.frameset.frameset.Is(kOn));
    cbUeberschreibenCSS_->setEnabled(s.css.css.Is(kOn));
    cbUeberschreibenJS_->setEnabled(s.javascript.javascript.Is(kOn));
    cbUeberschreibenOFrame_->setEnabled(s.frames.topframe.Is(kOn));
    cbUeberschreibenUFrame_->setEnabled(s.frames.bottomframe.Is(kOn));
    cbUeberschreibenFirstPage_->setEnabled(s.firstpage.firstpage.Is(kOn));
    cbFirstFromTemp_->setEnabled(s.firstpage.firstpage.Is(kOn));
    const bool mframe = s.menu_frame.frame.Is(kOn);
    cbUeberschreibenMFrame_->setEnabled(mframe);
    cbMakeIncludeMFrame_->setEnabled(mframe);
    for (QRadioButton* rb : noscriptChoice_->buttons)
        rb->setEnabled(mframe && s.menu_frame.noscript);
    const Choice<5>& src = s.content_page.source;
    for (QWidget* w : emptyControls_) w->setEnabled(src.Is(kEmptyPages));
    for (QWidget* w : templateControls_) w->setEnabled(src.Is(kTemplatePages));
    for (QWidget* w : dwControls_) w->setEnabled(src.Is(kDwTemplatePages));
    for (QWidget* w : tableControls_) w->setEnabled(src.Is(kTabTemplatePages));
}

void TProOptDlg::TagTextEdited(QLineEdit* edit, std::string& value) {
    const QString trimmed = edit->text().trimmed() == edit->text() ? edit->text() : [&] {
        QString t = edit->text();
        while (t.startsWith(u' ')) t.remove(0, 1);
        while (t.endsWith(u' ')) t.chop(1);
        return t;
    }();
    if (trimmed != edit->text()) {
        const int pos = std::min<int>(edit->cursorPosition(), trimmed.size());
        edit->setText(trimmed);
        edit->setCursorPosition(pos);
    }
    value = S(trimmed);
    UpdateTagExamples();
}

void TProOptDlg::UpdateTagExamples() {
    const TableSettings& t = session_.project.Tables;
    const int i = t.tag_item_index;
    if (i < 0 || i >= 5) {
        fieldBspLabel_->clear();
        recordBspLabel_->clear();
        return;
    }
    const QString pair = Q(Utf8ToCp1252(kBrackets[i]));
    const QString o = pair.left(1);
    const QString c = pair.mid(4, 1);
    const QString f = Q(t.field_tag_name);
    const QString r = Q(t.record_tag_name);
    fieldBspLabel_->setText(o + f + QStringLiteral(" NAME=\"Vorname\"") + c +
                            QStringLiteral("...") + o + u'/' + f + c);
    recordBspLabel_->setText(o + r + c + QStringLiteral("...") + o + u'/' + r + c);
}

// Also after the close check asks for a template: a file chosen there is a change like any
// other, so the project must not be closed later without the save question.
void TProOptDlg::ChooseTemplate(QLineEdit* edit, std::string& value, bool dreamweaver) {
    const QString file =
        prompts_.OpenFile(this,
                          dreamweaver ? QStringLiteral("Dreamweaver-Vorlage wählen")
                                      : QStringLiteral("Vorlage wählen"),
                          templateDir_ ? templateDir_() : QString(), kTemplateFilters,
                          dreamweaver ? kDwFilter : kHtmlFilter, QString());
    if (file.isEmpty()) return;
    const QString before = edit->text();
    edit->setText(file);
    value = S(file);
    if (file != before) session_.Modified = true;
}

TProOptDlg::Snapshot TProOptDlg::Take() const {
    const ProjectSettings& s = session_.Settings();
    const TableSettings& t = session_.project.Tables;
    Snapshot n;
    n.modified = session_.Modified;
    n.contentPage = s.content_page;
    n.menuFrame = s.menu_frame.frame;
    n.menuFrameOverwrite = s.menu_frame.empty_overwrite;
    n.noscript = s.menu_frame.noscript;
    n.noscriptKind = s.menu_frame.noscript_kind;
    n.frameset = s.frameset.frameset;
    n.framesetOverwrite = s.frameset.empty_overwrite;
    n.frames = s.frames;
    n.firstPage = s.firstpage;
    n.css = s.css;
    n.javascript = s.javascript;
    n.makeSitemap = s.sitemap.make_sitemap;
    n.fieldTag = t.field_tag_name;
    n.recordTag = t.record_tag_name;
    n.tagIndex = t.tag_item_index;
    n.convert = t.convert;
    const FramesetSettings& f = s.frameset;
    n.margins = {f.menuframe_marginwidth,     f.menuframe_marginheight,  f.contentframe_marginwidth,
                 f.contentframe_marginheight, f.topframe_marginwidth,    f.topframe_marginheight,
                 f.bottomframe_marginwidth,   f.bottomframe_marginheight};
    n.menuetextTags = s.menu_frame.menuetext_tags;
    return n;
}

void TProOptDlg::ShowModal() {
    RefreshFromModel();
    snapshot_ = Take();
    prompts_.Exec(this);
}

void TProOptDlg::OkClick() {
    tracker_.LeaveField();
    TryClose(QDialog::Accepted);
}

void TProOptDlg::AbbruchClick() {
    tracker_.LeaveField();
    const Snapshot now = Take();
    ProjectSettings& s = session_.Settings();
    TableSettings& t = session_.project.Tables;
    s.frameset.frameset = snapshot_.frameset;
    s.frameset.empty_overwrite = snapshot_.framesetOverwrite;
    s.css = snapshot_.css;
    s.javascript = snapshot_.javascript;
    s.menu_frame.frame = snapshot_.menuFrame;
    s.menu_frame.empty_overwrite = snapshot_.menuFrameOverwrite;
    s.menu_frame.noscript = snapshot_.noscript;
    s.menu_frame.noscript_kind = snapshot_.noscriptKind;
    s.frames = snapshot_.frames;
    s.firstpage = snapshot_.firstPage;
    s.content_page = snapshot_.contentPage;
    s.sitemap.make_sitemap = snapshot_.makeSitemap;
    t.field_tag_name = snapshot_.fieldTag;
    t.record_tag_name = snapshot_.recordTag;
    t.tag_item_index = snapshot_.tagIndex;
    t.convert = snapshot_.convert;
    // Margins and the menu-text switch are kept; if one of them changed, the project stays
    // marked as changed so that change is not lost without the save question.
    const bool keptChange =
        now.margins != snapshot_.margins || now.menuetextTags != snapshot_.menuetextTags;
    session_.Modified = snapshot_.modified || keptChange;
    RefreshFromModel();
    TryClose(QDialog::Rejected);
}

bool TProOptDlg::CloseCheck() {
    const ContentPageSettings& c = session_.Settings().content_page;
    if (c.source.Is(kTemplatePages) && tempFileEdit_->text().isEmpty()) {
        if (prompts_.Ask(
                this,
                QStringLiteral(
                    "Sie haben keine Vorlage angegeben! Wollen Sie jetzt eine Vorlage auswählen?"),
                false) != Answer::Yes)
            return true;
        ChooseTemplate(tempFileEdit_, session_.Settings().content_page.template_file, false);
        return false;
    }
    if (c.source.Is(kDwTemplatePages) && dwTempFileEdit_->text().isEmpty()) {
        if (prompts_.Ask(this,
                         QStringLiteral(
                             "Sie haben keine Dreamweaver-Vorlage angegeben! Wollen Sie jetzt eine "
                             "Dreamweaver-Vorlage auswählen?"),
                         false) != Answer::Yes)
            return true;
        ChooseTemplate(dwTempFileEdit_, session_.Settings().content_page.dw_template_file, true);
        return false;
    }
    return true;
}

void TProOptDlg::TryClose(int result) {
    if (CloseCheck()) QDialog::done(result);
}

void TProOptDlg::closeEvent(QCloseEvent* event) {
    // The window's close box keeps every change, as "OK" does.
    event->ignore();
    tracker_.LeaveField();
    TryClose(QDialog::Accepted);
}

void TProOptDlg::reject() { AbbruchClick(); }

}  // namespace pagloom::app
