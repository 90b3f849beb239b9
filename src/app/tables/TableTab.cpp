// SPDX-License-Identifier: MIT
#include "tables/TableTab.h"

#include <QDialog>
#include <QFileInfo>
#include <QTabWidget>

#include "Binding.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "tables/ContentTable.h"
#include "tables/SlotOpening.h"
#include "tables/TTableShowForm.h"
#include "tables/TableError.h"
#include "tables/TableTabPages.h"
#include "tables/TableTabRules.h"
#include "tables/TfmDBExplore.h"
#include "tables/TfmTabCodeWizard.h"

namespace pagloom::app {
namespace {

const QString kHtmlFilter = QStringLiteral("HTML (*.htm *.html)");
const QString kDwFilter = QStringLiteral("Dreamweaver-Template  (*.dwt)");
const QString kTemplateFilters =
    kHtmlFilter +
    QStringLiteral(";;PHP (*.php *.php3 *.php4);;SHTML (*.shtm *.shtml);;Text (*.txt);;") +
    kDwFilter + QStringLiteral(";;alle Dateien (*)");

}  // namespace

TableTab::TableTab(ProjectSession& session, Binder& binder, UiPrompts& prompts,
                   std::function<QString()> templateDir, std::function<void()> bdeAdministration,
                   QWidget* dialogParent, QWidget* parent)
    : QTabWidget(parent),
      session_(session),
      binder_(binder),
      prompts_(prompts),
      templateDir_(std::move(templateDir)) {
    dbExplore_ =
        new TfmDBExplore(session_.Files(), prompts_, std::move(bdeAdministration), dialogParent);
    tableShow_ = new TTableShowForm(dialogParent);
    wizard_ = new TfmTabCodeWizard(prompts_, dialogParent);

    page_[0] = new TableFirstPage(binder_, session_, *this, this);
    page_[1] = new TableMainMenuPage(binder_, session_, *this, this);
    page_[2] = new TableSubMenuPage(binder_, session_, *this, this);
    addTab(page_[0], QStringLiteral("Erste Seite"));
    addTab(page_[1], QStringLiteral("Haupt-Menü"));
    addTab(page_[2], QStringLiteral("Unter-Menü"));
}

void TableTab::ChooseTemplate(ContentSlot slot) {
    SlotTableSettings& s = session_.project.Tables.Slot[slot];
    const QString file = prompts_.OpenFile(
        window(), QStringLiteral("Vorlage wählen"), templateDir_ ? templateDir_() : QString(),
        kTemplateFilters,
        TemplateChooserStartsWithDreamweaver(s.content_source) ? kDwFilter : kHtmlFilter,
        QString());
    if (file.isEmpty()) return;
    const std::optional<std::string> chosen = ChosenPath(prompts_, window(), file);
    if (!chosen) return;
    if (*chosen != s.template_file) session_.Modified = true;
    s.template_file = *chosen;
    binder_.Refresh();
}

void TableTab::DeleteTemplate(ContentSlot slot) {
    std::string& file = session_.project.Tables.Slot[slot].template_file;
    if (file.empty()) return;
    file.clear();
    session_.Modified = true;
    binder_.Refresh();
}

void TableTab::ChooseTable(ContentSlot slot) {
    // The first time, the file list starts beside the project, where its tables usually lie;
    // afterwards the dialog stays where the user left it.
    if (!dbExplorePlaced_) {
        dbExplorePlaced_ = true;
        const QString project = session_.ProjectFileName();
        const QString start = !project.isEmpty() ? QFileInfo(project).absolutePath()
                              : templateDir_     ? templateDir_()
                                                 : QString();
        if (!start.isEmpty() && QFileInfo(start).isDir()) dbExplore_->SetDirectory(start);
    }
    if (prompts_.Exec(dbExplore_) != QDialog::Accepted) return;
    if (!dbExplore_->TableShown()) {
        prompts_.Message(window(), QStringLiteral("Sie haben keine Tabelle ausgewählt!"));
        return;
    }
    // The slot shares the rows the dialog read: the file is read once, held once.
    const TableChoice choice = dbExplore_->ChoiceForTakeOver();
    Project& project = session_.project;
    if (TakeOverTable(project, session_.Tables(), slot, choice, session_.Ports()))
        session_.Modified = true;
    // Also after a failed take-over: the lists then show what they held before, or nothing.
    SelectColumnsOfNewTable(project, slot);
    binder_.Refresh();
    if (choice.kind != kNoneTable) Page(slot)->ShowNewTable();
}

void TableTab::DeleteTable(ContentSlot slot) {
    if (!RemoveSlotTable(session_.project, session_.Tables(), slot)) return;
    session_.Modified = true;
    binder_.Refresh();
}

void TableTab::ShowTable(ContentSlot slot) {
    const Project& project = session_.project;
    ContentTable* table = session_.Tables().For(project.PrjParams, slot);
    // An empty name display also covers a menu table that could not be read when the project
    // was opened: its source is kept for saving, but there are no rows to show.
    if (project.Tables.Slot[slot].name_display.empty() || !table) {
        prompts_.Message(window(), QStringLiteral("Es wurde keine Tabelle ausgewählt"));
        return;
    }
    // The preview shows every row; a build sets its own filter before it reads.
    table->ClearFilter();
    try {
        table->Open();
    } catch (const TableError& e) {
        prompts_.Message(window(), Q(e.what()));
        return;
    }
    tableShow_->SetTable(table);
    prompts_.Exec(tableShow_);
    tableShow_->SetTable(nullptr);
    table->Close();
}

void TableTab::OpenWizard(ContentSlot slot) { wizard_->OpenFor(session_.project, slot); }

void TableTab::Run(void (TableTab::*command)(ContentSlot), ContentSlot slot) {
    RunGuarded(prompts_, window(), [this, command, slot] { (this->*command)(slot); });
}

}  // namespace pagloom::app
