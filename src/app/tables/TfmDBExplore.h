// SPDX-License-Identifier: MIT
// "Tabellenauswahl": the user finds and looks at a table — a dBase, FoxPro or Paradox file, a
// CSV file read through the CSV import dialog, or a table of an ODBC data source — and the main
// window takes the choice over into a content slot. Created once at program start, it keeps its
// choice and preview between openings.
#pragma once
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "UiPrompts.h"
#include "tables/EngineTable.h"
#include "tables/MemoryTable.h"
#include "tables/SlotOpening.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QListWidgetItem;
class QTableView;
class QTreeView;

namespace pagloom {
class FileSystem;
struct TableKind;
}  // namespace pagloom

namespace pagloom::app {

class ContentTableModel;
class TCSVImportForm;

class TfmDBExplore : public QDialog {
    Q_OBJECT
  public:
    // `bdeAdministration` runs the database administration command of the main window.
    TfmDBExplore(FileSystem& fs, UiPrompts& prompts, std::function<void()> bdeAdministration,
                 QWidget* parent = nullptr);
    ~TfmDBExplore() override;

    // What was chosen last; starts as kind 0 with empty names.
    const TableChoice& Choice() const { return choice_; }
    // The choice for taking it over: an imported CSV file or a database table comes with the
    // rows this dialog read (TableChoice::readRows, ::readTable), which the slot then shares.
    // The dialog keeps choice and preview, so OK once more takes the same rows over again.
    TableChoice ChoiceForTakeOver() const;
    // Whether the grid dbgDataView shows at least one field.
    bool TableShown() const;

    // The folder the file list shows (a folder on disk, as Qt names it).
    void SetDirectory(const QString& dir);
    QString Directory() const { return dir_; }

    TCSVImportForm* CsvForm() const { return csvForm_.get(); }
    ContentTableModel* Model() const { return model_; }

  private:
    QWidget* BuildFilePage();
    QWidget* BuildAliasPage();
    void TypeChanged(int type);
    void FilterChanged(int filter);
    void FileSelect();
    void OpenFileTable(int kind);
    // Opens a file or data-source table in the grid and makes it the choice; an engine error is
    // shown and leaves the grid empty and the choice as it was.
    void OpenEngineTable(int kind, const std::string& database, const std::string& table);
    void ImportCsv();
    void ShowTables(QListWidgetItem* alias);
    void OpenAliasTable(QListWidgetItem* alias, QListWidgetItem* table);
    void ClearGrid();
    void LoadAliases();
    void RefreshAliases();
    void ShowInGrid(ContentTable* table);
    // The chosen file as folder and name for the core, or nothing after a message.
    bool ChosenFile(std::string& database, std::string& table, QString& path);

    FileSystem& fs_;
    UiPrompts& prompts_;
    AppHost host_;
    std::function<void()> bdeAdministration_;
    TableChoice choice_;
    // The kinds the type box offers, in its order.
    std::vector<const TableKind*> fileTypes_;

    // How far the table being read has come; its reader counts on a thread of its own.
    ReadProgress readProgress_;
    // The dialog's own table objects: the engine table for file and alias tables, and the
    // memory table a CSV file is imported into.
    EngineTable tbDBExplore_;
    std::unique_ptr<MemoryTable> cdsDBExplore_;
    ContentTableModel* model_ = nullptr;
    std::unique_ptr<TCSVImportForm> csvForm_;

    QString dir_;
    QComboBox* typeBox_ = nullptr;
    QComboBox* filterBox_ = nullptr;
    QLineEdit* fileEdit_ = nullptr;
    QLabel* dirLabel_ = nullptr;
    QFileSystemModel* dirModel_ = nullptr;
    QFileSystemModel* fileModel_ = nullptr;
    QTreeView* dirView_ = nullptr;
    QListView* fileView_ = nullptr;
    QListWidget* aliasList_ = nullptr;
    QListWidget* tableList_ = nullptr;
    QTableView* grid_ = nullptr;
};

}  // namespace pagloom::app
