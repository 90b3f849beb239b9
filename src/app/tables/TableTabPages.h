// SPDX-License-Identifier: MIT
// The three pages of the tab "Tabelle", one per content slot. Each shows the slot's settings
// through the binder and applies the table tab's enable rules; their buttons call the tab's
// commands.
#pragma once
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "model/TPrjParams.h"
#include "tables/TableTabRules.h"

class QGridLayout;
class QLineEdit;
class QPlainTextEdit;

namespace pagloom::app {

class Binder;
struct ProjectSession;
class TableTab;

// Object names of the controls every slot page has.
struct SlotPageNames {
    const char* page;
    const char* source;
    const char* templateEdit;
    const char* templateChoose;
    const char* templateDelete;
    const char* nameEdit;
    const char* nameChoose;
    const char* nameDelete;
    const char* show;
    const char* wizard;
};

// The part every slot page shares: content source, template and table.
class TableSlotPage : public QWidget {
    Q_OBJECT
  public:
    TableSlotPage(ContentSlot slot, const SlotPageNames& names, const QString& sourceCaption,
                  const QStringList& sources, Binder& binder, ProjectSession& session,
                  TableTab& tab, QWidget* parent);
    ContentSlot Slot() const { return slot_; }
    // After a table was taken over: the first page shows its field lines from the start.
    virtual void ShowNewTable() {}

  protected:
    // Applies `part`'s rule of the table tab to `widget` on every refresh.
    void BindLook(QWidget* widget, TableTabPart part);
    // The page-name radio pair's selection; -1 for none and on the first page.
    virtual int PageNameSource() const { return -1; }
    SlotTableSettings& Settings() const;

    ContentSlot slot_;
    Binder& binder_;
    ProjectSession& session_;
    // Label column, field column, button column; pages add their rows below the table row.
    QGridLayout* grid_ = nullptr;
    int nextRow_ = 0;
    // Controls switched with the slot's table (template, table and their buttons, wizard).
    QList<QWidget*> tableControls_;
};

class TableFirstPage : public TableSlotPage {
    Q_OBJECT
  public:
    TableFirstPage(Binder& binder, ProjectSession& session, TableTab& tab, QWidget* parent);
    void ShowNewTable() override;

  private:
    QPlainTextEdit* fields_ = nullptr;
};

class TableMainMenuPage : public TableSlotPage {
    Q_OBJECT
  public:
    TableMainMenuPage(Binder& binder, ProjectSession& session, TableTab& tab, QWidget* parent);

  protected:
    int PageNameSource() const override;
};

class TableSubMenuPage : public TableSlotPage {
    Q_OBJECT
  public:
    TableSubMenuPage(Binder& binder, ProjectSession& session, TableTab& tab, QWidget* parent);

  protected:
    int PageNameSource() const override;
};

}  // namespace pagloom::app
