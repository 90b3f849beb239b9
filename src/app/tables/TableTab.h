// SPDX-License-Identifier: MIT
// The main window's tab "Tabelle": one page per content slot ("Erste Seite", "Haupt-Menü",
// "Unter-Menü") with the slot's content source, template, table and, for the menus, the fields
// and page names. The controls show the project's table settings through the main window's
// binder; the commands take over tables, preview them and open the code wizard. The table
// selection dialog, the preview and the wizard are created here once and live with the window.
#pragma once
#include <QTabWidget>
#include <array>
#include <functional>

#include "model/TPrjParams.h"

namespace pagloom::app {

class Binder;
struct ProjectSession;
class TableSlotPage;
class TTableShowForm;
class TfmDBExplore;
class TfmTabCodeWizard;
class UiPrompts;

class TableTab : public QTabWidget {
    Q_OBJECT
  public:
    // `templateDir` gives the folder the template chooser starts in; `bdeAdministration` is
    // the main window's command that the table selection dialog offers. The dialogs become
    // children of `dialogParent` (the main window).
    TableTab(ProjectSession& session, Binder& binder, UiPrompts& prompts,
             std::function<QString()> templateDir, std::function<void()> bdeAdministration,
             QWidget* dialogParent, QWidget* parent = nullptr);

    // The commands of a slot's page.
    void ChooseTemplate(ContentSlot slot);
    void DeleteTemplate(ContentSlot slot);
    void ChooseTable(ContentSlot slot);
    void DeleteTable(ContentSlot slot);
    void ShowTable(ContentSlot slot);
    void OpenWizard(ContentSlot slot);
    // Runs a command of a page so that no failure leaves into Qt's event handling.
    void Run(void (TableTab::*command)(ContentSlot), ContentSlot slot);

    TfmDBExplore* DbExplore() const { return dbExplore_; }
    TTableShowForm* TableShow() const { return tableShow_; }
    TfmTabCodeWizard* Wizard() const { return wizard_; }
    // The pages "Erste Seite", "Haupt-Menü" and "Unter-Menü" are the tab's own pages.
    QTabWidget* Pages() { return this; }

  private:
    TableSlotPage* Page(ContentSlot slot) const { return page_[static_cast<size_t>(slot)]; }

    ProjectSession& session_;
    Binder& binder_;
    UiPrompts& prompts_;
    std::function<QString()> templateDir_;
    TfmDBExplore* dbExplore_ = nullptr;
    bool dbExplorePlaced_ = false;
    TTableShowForm* tableShow_ = nullptr;
    TfmTabCodeWizard* wizard_ = nullptr;
    std::array<TableSlotPage*, kSlotCount> page_{};
};

}  // namespace pagloom::app
