// SPDX-License-Identifier: MIT
#include "tables/TfmTabCodeWizard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Binding.h"
#include "FieldTracker.h"
#include "KeyboardUse.h"
#include "QtText.h"
#include "UiPrompts.h"

namespace pagloom::app {

namespace {

const QString kTemplateFilters =
    QStringLiteral("Template [*.htm; *.html] (*.htm *.html);;Dreamweaver-Template [*.dwt] (*.dwt)");

QString Caption(std::string_view cp1252) { return Q(std::string(cp1252)); }

// The caption of the slot's page on the tab "Tabelle".
QString LevelName(ContentSlot slot) {
    switch (slot) {
        case ContentSlot::firstpage:
            return QStringLiteral("Erste Seite");
        case ContentSlot::mainmenu:
            return QStringLiteral("Haupt-Menü");
        case ContentSlot::submenu:
            return QStringLiteral("Unter-Menü");
    }
    return {};
}

QListWidget* FieldList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QPushButton* TransferButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// An editable separator box: its entries, and any text the user types.
QComboBox* SeparatorBox(const char* name, std::span<const std::string_view> entries,
                        QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (std::string_view e : entries) box->addItem(Caption(e));
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    return box;
}

// Refills a list only when its entries differ, so the user's selection survives other changes.
void FillList(QListWidget* list, const std::vector<std::string>& names) {
    bool same = list->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text() == Q(names[static_cast<size_t>(i)]);
    if (same) return;
    const QSignalBlocker block(list);
    list->clear();
    for (const std::string& n : names) list->addItem(Q(n));
}

std::vector<int> SelectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) rows.push_back(i);
    return rows;
}

}  // namespace

TfmTabCodeWizard::TfmTabCodeWizard(UiPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      prompts_(prompts),
      tracker_(new FieldTracker(
          prompts, [] {}, this)),
      binder_(new Binder(*tracker_, this)) {
    setObjectName(QStringLiteral("TfmTabCodeWizard"));
    setWindowTitle(QStringLiteral("Code-Wizard"));

    available_ = FieldList("lbFieldSrc", this);
    chosen_ = FieldList("lbFieldDst", this);
    include_ = TransferButton("IncludeBtn", QStringLiteral(">"), this);
    includeAll_ = TransferButton("IncAllBtn", QStringLiteral(">>"), this);
    exclude_ = TransferButton("ExcludeBtn", QStringLiteral("<"), this);
    excludeAll_ = TransferButton("ExAllBtn", QStringLiteral("<<"), this);
    include_->setToolTip(QStringLiteral("Ausgewählte Felder übernehmen"));
    includeAll_->setToolTip(QStringLiteral("Alle Felder übernehmen"));
    exclude_->setToolTip(QStringLiteral("Ausgewählte Felder zurückgeben"));
    excludeAll_->setToolTip(QStringLiteral("Alle Felder zurückgeben"));

    auto* layoutBox = new QGroupBox(QStringLiteral("Auswahl:"), this);
    layoutBox->setObjectName(QStringLiteral("rgCodeType"));
    auto* layoutRows = new QVBoxLayout(layoutBox);
    std::vector<QAbstractButton*> layoutButtons;
    for (std::string_view caption : CodeLayoutCaptions()) {
        auto* b = new QRadioButton(Caption(caption), layoutBox);
        layoutRows->addWidget(b);
        layoutButtons.push_back(b);
    }
    auto* quoteBox = new QGroupBox(QStringLiteral("Anführungszeichen:"), this);
    quoteBox->setObjectName(QStringLiteral("rgQuote"));
    auto* quoteRow = new QHBoxLayout(quoteBox);
    auto* apostrophe = new QRadioButton(QStringLiteral("'"), quoteBox);
    auto* doubleQuote = new QRadioButton(QStringLiteral("\""), quoteBox);
    quoteRow->addWidget(apostrophe);
    quoteRow->addWidget(doubleQuote);
    quoteRow->addStretch();

    fieldSplit_ = SeparatorBox("cbFieldSplit", FieldSeparatorCaptions(), this);
    recordSplit_ = SeparatorBox("cbRecSplit", RecordSeparatorCaptions(), this);
    tableHead_ = new QComboBox(this);
    tableHead_->setObjectName(QStringLiteral("cbTabHead"));
    for (std::string_view caption : CodeTableHeadCaptions()) tableHead_->addItem(Caption(caption));

    codeEdit_ = new QPlainTextEdit(this);
    codeEdit_->setObjectName(QStringLiteral("mmCode"));
    codeEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    codeEdit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* copy = new QPushButton(QStringLiteral("In Zwischenablage kopieren"), this);
    copy->setObjectName(QStringLiteral("CopyBtn"));
    auto* make = new QPushButton(QStringLiteral("Vorlage erstellen"), this);
    make->setObjectName(QStringLiteral("TemplateBtn"));
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    for (QPushButton* b : {copy, make, close}) b->setAutoDefault(false);

    // Layout: the two lists with the transfer buttons between them, the choices beside, the
    // code below, the commands at the bottom.
    auto* transfer = new QVBoxLayout;
    transfer->addStretch();
    for (QPushButton* b : {include_, includeAll_, exclude_, excludeAll_}) transfer->addWidget(b);
    transfer->addStretch();
    auto* lists = new QGridLayout;
    const auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setBuddy(buddy);
        return l;
    };
    lists->addWidget(label("Vorhandene Felder:", available_), 0, 0);
    lists->addWidget(label("Ausgewählte Felder:", chosen_), 0, 2);
    lists->addWidget(available_, 1, 0);
    lists->addLayout(transfer, 1, 1);
    lists->addWidget(chosen_, 1, 2);

    auto* boxes = new QGridLayout;
    boxes->addWidget(label("Felder trennen durch:", fieldSplit_), 0, 0);
    boxes->addWidget(fieldSplit_, 0, 1);
    boxes->addWidget(label("Datensätze trennen durch:", recordSplit_), 1, 0);
    boxes->addWidget(recordSplit_, 1, 1);
    boxes->addWidget(label("Tabellenkopf", tableHead_), 2, 0);
    boxes->addWidget(tableHead_, 2, 1);
    boxes->setColumnStretch(1, 1);
    auto* choices = new QVBoxLayout;
    choices->addWidget(layoutBox);
    choices->addWidget(quoteBox);
    choices->addLayout(boxes);
    choices->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(lists, 1);
    top->addLayout(choices);
    auto* commands = new QHBoxLayout;
    commands->addWidget(copy);
    commands->addWidget(make);
    commands->addStretch();
    commands->addWidget(close);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(label("Code:", codeEdit_));
    page->addWidget(codeEdit_, 1);
    page->addLayout(commands);

    // Every choice regenerates the code as it is stored; the binder then redraws the window.
    binder_->Choice(
        layoutButtons, [this] { return choices_.layout; },
        [this](int i) {
            choices_.layout = i;
            code_ = Code();
        });
    binder_->Choice(
        {apostrophe, doubleQuote}, [this] { return choices_.quote == '"' ? 1 : 0; },
        [this](int i) {
            choices_.quote = i == 1 ? '"' : '\'';
            code_ = Code();
        });
    binder_->Choice(
        tableHead_, [this] { return choices_.tableHead; },
        [this](int i) {
            choices_.tableHead = i;
            code_ = Code();
        });
    binder_->List(codeEdit_, [this]() -> std::vector<std::string>& { return code_; });
    binder_->Enable(fieldSplit_, [this] { return LayoutBoxesOf(choices_.layout).fieldSeparator; });
    binder_->Enable(recordSplit_,
                    [this] { return LayoutBoxesOf(choices_.layout).recordSeparator; });
    binder_->Enable(tableHead_, [this] { return LayoutBoxesOf(choices_.layout).tableHead; });
    // The separator boxes keep what is typed exactly, blanks included (a typed separator is
    // used as it stands), so they store every text change themselves rather than through the
    // binder's text fields, which trim on leaving.
    for (const auto& [box, field] : {std::pair{fieldSplit_, &CodeChoices::fieldSeparator},
                                     std::pair{recordSplit_, &CodeChoices::recordSeparator}}) {
        std::string CodeChoices::*member = field;
        connect(box, &QComboBox::editTextChanged, this, [this, member](const QString& text) {
            const std::string value = S(text);
            if (choices_.*member == value) return;
            choices_.*member = value;
            Regenerate();
        });
    }

    connect(include_, &QPushButton::clicked, this, [this] { Transfer(true); });
    connect(exclude_, &QPushButton::clicked, this, [this] { Transfer(false); });
    connect(includeAll_, &QPushButton::clicked, this, [this] { TransferEverything(true); });
    connect(excludeAll_, &QPushButton::clicked, this, [this] { TransferEverything(false); });
    // A double click on a field moves it as ">" and "<" do.
    for (QListWidget* list : {available_, chosen_})
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem* item) {
            list->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
            Transfer(list == available_);
        });
    connect(copy, &QPushButton::clicked, this,
            [this] { RunGuarded(prompts_, this, [this] { CopyToClipboard(); }); });
    connect(make, &QPushButton::clicked, this,
            [this] { RunGuarded(prompts_, this, [this] { MakeTemplate(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    GiveAccessKeys(this);
    TabLeavesGrids(this);
    Regenerate();
    resize(sizeHint().expandedTo(QSize(760, 560)));
}

TfmTabCodeWizard::~TfmTabCodeWizard() = default;

void TfmTabCodeWizard::OpenFor(const Project& project, ContentSlot slot) {
    if (project.PrjParams.TableKind[slot] == kNoneTable) return;
    lists_.Fill(project.Tables.Slot[slot].fields);
    tags_ = CodeTagsOf(project.Tables, choices_.quote);
    proposedTemplate_ = project.Tables.Slot[slot].template_file;
    slot_ = slot;
    Regenerate();
    prompts_.Exec(this);
}

void TfmTabCodeWizard::SetProjectHooks(FolderFn projectFolder, UseTemplateFn useTemplate) {
    projectFolder_ = std::move(projectFolder);
    useTemplate_ = std::move(useTemplate);
}

TextLines TfmTabCodeWizard::Code() const { return GenerateCode(choices_, lists_.chosen, tags_); }

void TfmTabCodeWizard::Regenerate() {
    code_ = Code();
    Refresh();
}

void TfmTabCodeWizard::Refresh() {
    binder_->Refresh();
    for (const auto& [box, text] : {std::pair{fieldSplit_, &choices_.fieldSeparator},
                                    std::pair{recordSplit_, &choices_.recordSeparator}}) {
        if (S(box->currentText()) == *text) continue;
        const QSignalBlocker block(box);
        box->setEditText(Q(*text));
    }
    FillList(available_, lists_.available);
    FillList(chosen_, lists_.chosen);
    include_->setEnabled(!lists_.available.empty());
    includeAll_->setEnabled(!lists_.available.empty());
    exclude_->setEnabled(!lists_.chosen.empty());
    excludeAll_->setEnabled(!lists_.chosen.empty());
    codeEdit_->moveCursor(QTextCursor::Start);
}

void TfmTabCodeWizard::Transfer(bool toChosen) {
    QListWidget* source = toChosen ? available_ : chosen_;
    const int reselect = TransferSelected(lists_, toChosen, SelectedRows(source));
    Regenerate();
    source->setFocus();
    if (reselect >= 0) source->setCurrentRow(reselect, QItemSelectionModel::ClearAndSelect);
}

void TfmTabCodeWizard::TransferEverything(bool toChosen) {
    TransferAll(lists_, toChosen);
    Regenerate();  // the source is empty now: nothing to select in it
}

void TfmTabCodeWizard::CopyToClipboard() {
    if (!codeEdit_->textCursor().hasSelection()) codeEdit_->selectAll();
    codeEdit_->copy();
}

void TfmTabCodeWizard::MakeTemplate() {
    // In the project's folder, under the name of the slot's template when it has one.
    QString proposed = Q(proposedTemplate_);
    if (const QString folder = projectFolder_ ? projectFolder_() : QString(); !folder.isEmpty())
        proposed = QDir(folder).filePath(QFileInfo(proposed).fileName()) +
                   (proposedTemplate_.empty() ? QStringLiteral("/") : QString());
    QString chosen = prompts_.SaveFile(this, QStringLiteral("Vorlage speichern"), proposed,
                                       kTemplateFilters, QStringLiteral("htm"));
    if (chosen.isEmpty()) return;
    // A name typed without extension is meant as a page.
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".htm");
    const std::optional<std::string> path = ChosenPath(prompts_, this, chosen);
    if (!path) return;
    bool page = false;
    switch (TemplateFormOf(*path)) {
        case TemplateForm::Page:
            page = true;
            break;
        case TemplateForm::CodeOnly:
            break;
        case TemplateForm::Ask:
            page = prompts_.Ask(this, Q(kUnknownTemplateType), false) == Answer::Yes;
            break;
    }
    // The code as it stands in the window, with the user's own edits.
    const TextLines lines = page ? TemplatePage(code_) : code_;
    if (!WriteTemplateFile(disk_, *path, lines)) {
        prompts_.Message(this, QStringLiteral("In ") + chosen +
                                   QStringLiteral(" kann nicht geschrieben werden"));
        return;
    }
    const QString written = QStringLiteral("Die Vorlage wurde in „%1“ gespeichert.").arg(chosen);
    // Code alone is no page to fill; the slot's own template needs no offer.
    if (!useTemplate_ || !page || *path == proposedTemplate_) {
        prompts_.Message(this, written);
        return;
    }
    const QString offer =
        written + QStringLiteral("\n\nAls Vorlage der Ebene „%1“ verwenden?").arg(LevelName(slot_));
    if (prompts_.Ask(this, offer, false) != Answer::Yes) return;
    useTemplate_(slot_, *path);
    proposedTemplate_ = *path;
}

}  // namespace pagloom::app
