// SPDX-License-Identifier: MIT
#include "tables/TfmDBExplore.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include "BuildThread.h"
#include "KeyboardUse.h"
#include "QtText.h"
#include "tables/ContentTableModel.h"
#include "tables/CsvImport.h"
#include "tables/TCSVImportForm.h"
#include "tables/TTableShowForm.h"
#include "tables/TableError.h"
#include "tables/TableKinds.h"

namespace pagloom::app {

namespace {

// The type box offers the kinds of the table of kinds that are chosen as files; each type has two
// file filters (the type's patterns, then all files). "*" stands for the "*.*" of the caption,
// which means every file.
std::vector<const TableKind*> FileTypes() {
    std::vector<const TableKind*> types;
    for (const TableKind& kind : TableKinds())
        if (kind.fileType) types.push_back(&kind);
    return types;
}
const char* const kAllFilter = "Alle (*.*)";
const QString kNoFile = QStringLiteral("*.*");
constexpr int kRawNameRole = Qt::UserRole;

// Shows the busy cursor while a table is read, which may take a moment for a large one.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// What the busy dialog says while a table is read.
QString ReadingText(const std::string& table) {
    return QStringLiteral("Tabelle %1 wird eingelesen …").arg(Q(table));
}

QString StartDirectory() {
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(docs).exists() ? docs : QDir::homePath();
}

// A list entry that keeps the engine's name bytes, so they go back unchanged.
QListWidgetItem* NameItem(const std::string& name) {
    auto* item = new QListWidgetItem(Q(name));
    item->setData(kRawNameRole, QByteArray::fromStdString(name));
    return item;
}

std::string RawName(const QListWidgetItem* item) {
    return item->data(kRawNameRole).toByteArray().toStdString();
}

}  // namespace

TfmDBExplore::TfmDBExplore(FileSystem& fs, UiPrompts& prompts,
                           std::function<void()> bdeAdministration, QWidget* parent)
    : QDialog(parent),
      fs_(fs),
      prompts_(prompts),
      host_(prompts, {}),
      bdeAdministration_(std::move(bdeAdministration)),
      fileTypes_(FileTypes()),
      tbDBExplore_(fs),
      cdsDBExplore_(std::make_unique<MemoryTable>()) {
    tbDBExplore_.SetProgress(&readProgress_);
    setObjectName(QStringLiteral("fmDBExplore"));
    setWindowTitle(QStringLiteral("Tabellenauswahl"));
    host_.SetParentWidget(this);
    choice_.kind = kParadoxTable;
    csvForm_ = std::make_unique<TCSVImportForm>(this);

    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->addTab(BuildFilePage(), QStringLiteral("Tabellen-Datei"));
    pages->addTab(BuildAliasPage(), QStringLiteral("BDE"));

    model_ = new ContentTableModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("dbgDataView"));
    PrepareTableGrid(grid_);
    grid_->setModel(model_);

    auto* clear = new QPushButton(QStringLiteral("Leeren"), this);
    clear->setObjectName(QStringLiteral("btDBGridDel"));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, [this] { ClearGrid(); });
    auto* admin = new QPushButton(QStringLiteral("BDE-Administration"), this);
    admin->setObjectName(QStringLiteral("btDBEAdmin"));
    admin->setAutoDefault(false);
    connect(admin, &QPushButton::clicked, this, [this] {
        if (bdeAdministration_) RunGuarded(prompts_, this, bdeAdministration_);
    });
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(clear);
    bottom->addWidget(admin);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(pages);
    split->addWidget(grid_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    typeBox_->setCurrentIndex(0);
    TypeChanged(0);
    SetDirectory(StartDirectory());
    LoadAliases();
    GiveAccessKeys(this);
    TabLeavesGrids(this);
    resize(860, 680);
    split->setSizes({300, 380});
}

TfmDBExplore::~TfmDBExplore() { model_->SetTable(nullptr); }

QWidget* TfmDBExplore::BuildFilePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsTabFile"));

    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setRootPath(QDir::rootPath());
    dirView_ = new QTreeView(page);
    dirView_->setObjectName(QStringLiteral("DirectoryListBox1"));
    dirView_->setModel(dirModel_);
    dirView_->setHeaderHidden(true);
    for (int c = 1; c < dirModel_->columnCount(); ++c) dirView_->hideColumn(c);
    // The tree fills in the background; once the folders on the way are read, show the current.
    connect(dirModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (dir_.startsWith(loaded)) dirView_->scrollTo(dirModel_->index(dir_));
    });
    connect(dirView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                const QString path = dirModel_->filePath(current);
                if (path != dir_) SetDirectory(path);
            });

    fileModel_ = new QFileSystemModel(this);
    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilterDisables(false);
    fileView_ = new QListView(page);
    fileView_->setObjectName(QStringLiteral("FileListBox1"));
    fileView_->setModel(fileModel_);
    connect(fileView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && !fileModel_->isDir(current))
                    fileEdit_->setText(fileModel_->fileName(current));
            });
    connect(fileView_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid() || fileModel_->isDir(index)) return;
        fileEdit_->setText(fileModel_->fileName(index));
        FileSelect();
    });

    dirLabel_ = new QLabel(page);
    dirLabel_->setObjectName(QStringLiteral("DirLabel"));
    dirLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    typeBox_ = new QComboBox(page);
    typeBox_->setObjectName(QStringLiteral("dbTabType"));
    for (const TableKind* kind : fileTypes_) typeBox_->addItem(QString::fromLatin1(kind->fileType));
    connect(typeBox_, &QComboBox::currentIndexChanged, this, [this](int i) { TypeChanged(i); });
    filterBox_ = new QComboBox(page);
    filterBox_->setObjectName(QStringLiteral("FilterComboBox1"));
    connect(filterBox_, &QComboBox::currentIndexChanged, this, [this](int i) { FilterChanged(i); });
    fileEdit_ = new QLineEdit(kNoFile, page);
    fileEdit_->setObjectName(QStringLiteral("edFilename"));
    fileEdit_->setReadOnly(true);
    auto* select = new QPushButton(QStringLiteral("Auswählen"), page);
    select->setObjectName(QStringLiteral("btFileSelect"));
    select->setAutoDefault(false);
    connect(select, &QPushButton::clicked, this, [this] { FileSelect(); });

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileEdit_, 1);
    fileRow->addWidget(select);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Typ:"), typeBox_);
    form->addRow(QStringLiteral("Dateifilter:"), filterBox_);
    form->addRow(QStringLiteral("Dateiname:"), fileRow);

    auto* layout = new QGridLayout(page);
    auto* dirRow = new QHBoxLayout;
    auto* dirCaption = new QLabel(QStringLiteral("Verzeichnis:"), page);
    dirCaption->setBuddy(dirView_);
    dirRow->addWidget(dirCaption);
    dirRow->addWidget(dirLabel_, 1);
    layout->addLayout(dirRow, 0, 0, 1, 2);
    layout->addWidget(dirView_, 1, 0, 2, 1);
    layout->addWidget(fileView_, 1, 1);
    layout->addLayout(form, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    return page;
}

QWidget* TfmDBExplore::BuildAliasPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsBDE"));
    aliasList_ = new QListWidget(page);
    aliasList_->setObjectName(QStringLiteral("lbBDEAlias"));
    tableList_ = new QListWidget(page);
    tableList_->setObjectName(QStringLiteral("lbBDETables"));
    auto* refresh = new QPushButton(QStringLiteral("Aktualisieren"), page);
    refresh->setObjectName(QStringLiteral("btBDERefresh"));
    refresh->setAutoDefault(false);

    // Listing an alias's tables is quick, so it follows the current entry; opening a table reads
    // all of it, so that waits for a click or Enter.
    connect(aliasList_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        tableList_->clear();
        if (item) RunGuarded(prompts_, this, [this, item] { ShowTables(item); });
    });
    auto openTable = [this](QListWidgetItem* item) {
        QListWidgetItem* alias = aliasList_->currentItem();
        if (item && alias) RunGuarded(prompts_, this, [&] { OpenAliasTable(alias, item); });
    };
    connect(tableList_, &QListWidget::itemClicked, this, openTable);
    connect(tableList_, &QListWidget::itemActivated, this, openTable);
    connect(refresh, &QPushButton::clicked, this, [this] { RefreshAliases(); });

    auto* layout = new QGridLayout(page);
    for (auto [text, list, column] :
         {std::tuple{"Datenquellen:", aliasList_, 0}, std::tuple{"Tabellen:", tableList_, 1}}) {
        auto* caption = new QLabel(QString::fromLatin1(text), page);
        caption->setBuddy(list);
        layout->addWidget(caption, 0, column);
    }
    layout->addWidget(aliasList_, 1, 0);
    layout->addWidget(tableList_, 1, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(refresh);
    row->addStretch(1);
    layout->addLayout(row, 2, 0, 1, 2);
    layout->setRowStretch(1, 1);
    return page;
}

bool TfmDBExplore::TableShown() const { return model_->columnCount() > 0; }

TableChoice TfmDBExplore::ChoiceForTakeOver() const {
    TableChoice choice = choice_;
    if (choice.kind == kCsvTable && model_->Table() == cdsDBExplore_.get())
        choice.readRows = cdsDBExplore_.get();
    else if (choice.kind == tbDBExplore_.Kind() && model_->Table() == &tbDBExplore_)
        choice.readTable = &tbDBExplore_;
    return choice;
}

void TfmDBExplore::SetDirectory(const QString& dir) {
    dir_ = QDir::cleanPath(QDir(dir).absolutePath());
    dirLabel_->setText(QDir::toNativeSeparators(dir_));
    fileModel_->setRootPath(dir_);
    fileView_->setRootIndex(fileModel_->index(dir_));
    fileView_->selectionModel()->clear();
    fileEdit_->setText(kNoFile);
    const QModelIndex inTree = dirModel_->index(dir_);
    if (inTree.isValid() && dirView_->currentIndex() != inTree) {
        dirView_->setCurrentIndex(inTree);
        dirView_->scrollTo(inTree);
    }
}

void TfmDBExplore::TypeChanged(int type) {
    if (type < 0) return;
    QSignalBlocker quiet(filterBox_);
    filterBox_->clear();
    const TableKind& kind = *fileTypes_[static_cast<size_t>(type)];
    QStringList patterns;
    for (const char* pattern : kind.filePatterns) patterns << QString::fromLatin1(pattern);
    filterBox_->addItem(QString::fromLatin1(kind.fileFilter), patterns);
    filterBox_->addItem(QString::fromLatin1(kAllFilter), QStringList{QStringLiteral("*")});
    filterBox_->setCurrentIndex(0);
    FilterChanged(0);
}

void TfmDBExplore::FilterChanged(int filter) {
    if (filter < 0) return;
    fileModel_->setNameFilters(filterBox_->itemData(filter).toStringList());
}

bool TfmDBExplore::ChosenFile(std::string& database, std::string& table, QString& path) {
    const QString name = fileEdit_->text();
    if (name.isEmpty() || name.contains(u'*') || name.contains(u'?')) {
        prompts_.Message(this, QStringLiteral("Bitte wählen Sie zuerst eine Datei aus der Liste."));
        return false;
    }
    path = QDir(dir_).filePath(name);
    const std::optional<std::string> chosen = ChosenPath(prompts_, this, path);
    if (!chosen) return false;
    database = PathS(dir_);
    table = PathS(name);
    return true;
}

void TfmDBExplore::FileSelect() {
    RunGuarded(prompts_, this, [this] {
        const TableKind& kind =
            *fileTypes_[static_cast<size_t>(std::max(0, typeBox_->currentIndex()))];
        // An imported kind needs the import settings first; an engine reads the file as it is.
        if (kind.holder == TableHolder::Imported)
            ImportCsv();
        else
            OpenFileTable(kind.code);
    });
}

void TfmDBExplore::ShowInGrid(ContentTable* table) {
    model_->SetTable(table);
    if (table) FitTableColumns(grid_);
}

void TfmDBExplore::OpenFileTable(int kind) {
    std::string database, table;
    QString path;
    if (!ChosenFile(database, table, path)) return;
    OpenEngineTable(kind, database, table);
}

void TfmDBExplore::OpenEngineTable(int kind, const std::string& database,
                                   const std::string& table) {
    // The engine table forgets its rows when it gets a new source: the grid lets go first.
    ShowInGrid(nullptr);
    tbDBExplore_.Close();
    tbDBExplore_.SetSource(kind, database, table);
    try {
        BusyCursor busy;
        // A large table is read beside the window, which keeps drawing meanwhile.
        RunWithProgress(this, ReadingText(table), readProgress_, [this] { tbDBExplore_.Open(); });
    } catch (const TableError& e) {
        tbDBExplore_.Close();
        prompts_.Message(this, Q(e.what()));
        return;
    }
    ShowInGrid(&tbDBExplore_);
    choice_.kind = kind;
    choice_.database = database;
    choice_.table = table;
}

void TfmDBExplore::ImportCsv() {
    std::string database, table;
    QString path;
    if (!ChosenFile(database, table, path)) return;
    csvForm_->SetFile(path);
    if (prompts_.Exec(csvForm_.get()) != QDialog::Accepted) return;
    const char sep = csvForm_->separator();
    const char quote = csvForm_->quote();
    const bool caption = csvForm_->captionRow();
    const bool blanks = csvForm_->blanksInValues();
    // Imported into a table of its own, so a failed import leaves the shown table as it was.
    auto imported = std::make_unique<MemoryTable>();
    bool ok = false;
    // The importer's message on lines of unequal length says which line, and what to tick when
    // an unquoted value holds a blank, as the CSV dialog's note does.
    class CsvImportHost final : public Host {
      public:
        CsvImportHost(Host& host, const TCSVImportForm& form) : host_(host), form_(form) {}
        void ShowMessage(const std::string& text) override {
            const QString advice = text == kCsvFieldCountsDiffer ? form_.UnevenAdvice() : QString();
            host_.ShowMessage(advice.isEmpty() ? text : text + '\n' + S(advice));
        }
        void ShowMessageWithDetails(const std::string& text, const std::string& details) override {
            host_.ShowMessageWithDetails(text, details);
        }
        Answer Ask(const std::string& question, bool withCancel) override {
            return host_.Ask(question, withCancel);
        }
        std::string ProgramDir() const override { return host_.ProgramDir(); }
        void Beep() override { host_.Beep(); }
        void KeepAlive() override { host_.KeepAlive(); }

      private:
        Host& host_;
        const TCSVImportForm& form_;
    } host(host_, *csvForm_);
    try {
        BusyCursor busy;
        RunWithProgress(this, ReadingText(table), readProgress_, [&] {
            ok = ImportCsvFile(fs_, host, PathS(path), sep, quote, caption, *imported, blanks,
                               &readProgress_);
            if (ok) imported->Open();
        });
        if (!ok) return;
    } catch (const TableError& e) {
        prompts_.Message(this, Q(e.what()));
        return;
    }
    ShowInGrid(nullptr);
    cdsDBExplore_ = std::move(imported);
    ShowInGrid(cdsDBExplore_.get());
    choice_ = TableChoice{kCsvTable, database, table, quote, sep, caption, blanks};
}

void TfmDBExplore::ShowTables(QListWidgetItem* alias) {
    std::vector<std::string> tables;
    try {
        BusyCursor busy;
        tables = ListAliasTables(RawName(alias));
    } catch (const TableError& e) {
        prompts_.Message(this, Q(e.what()));
        return;
    }
    for (const std::string& t : tables) tableList_->addItem(NameItem(t));
}

void TfmDBExplore::OpenAliasTable(QListWidgetItem* alias, QListWidgetItem* table) {
    OpenEngineTable(kBdeTable, RawName(alias), RawName(table));
}

void TfmDBExplore::ClearGrid() {
    ShowInGrid(nullptr);
    tbDBExplore_.Close();
    choice_.kind = kNoneTable;
    choice_.database.clear();
    choice_.table.clear();
}

void TfmDBExplore::RefreshAliases() {
    ClearGrid();
    LoadAliases();
}

void TfmDBExplore::LoadAliases() {
    tableList_->clear();
    {
        QSignalBlocker quiet(aliasList_);
        aliasList_->clear();
    }
    RunGuarded(prompts_, this, [this] {
        for (const std::string& alias : ListDatabaseAliases()) aliasList_->addItem(NameItem(alias));
    });
}

}  // namespace pagloom::app
