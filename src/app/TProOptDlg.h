// SPDX-License-Identifier: MIT
// "Optionen": which files a build writes and whether it overwrites them, where content
// pages come from, the frame margins, the tags of table templates and the conversions of
// table data. Each page is its own class (src/app/options); all are bound to the project
// through the dialog's binder. "Abbruch" restores the settings as they were when the dialog
// opened, but for the values OptionsSnapshot keeps.
#pragma once
#include <QDialog>
#include <functional>

#include "Binding.h"
#include "model/OptionsSnapshot.h"

class QTabWidget;

namespace pagloom::app {

class ContentPage;
class FieldTracker;
class UiPrompts;
struct ProjectSession;

class TProOptDlg : public QDialog {
    Q_OBJECT
  public:
    // `templateDir` gives the folder in which the template file dialog starts.
    TProOptDlg(ProjectSession& session, FieldTracker& tracker, UiPrompts& prompts,
               std::function<QString()> templateDir, QWidget* parent = nullptr);

    // Shows the dialog modally after taking the snapshot that "Abbruch" restores.
    void ShowModal();
    // Shows the project's options and applies the enable rules.
    void RefreshFromModel();

    // "OK" and "Abbruch"; both close through the close check.
    void OkClick();
    void AbbruchClick();
    QTabWidget* Pages() const { return pages_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    bool CloseCheck();
    // Before OK switches a project with a hand-made menu to pages from tables: Ja keeps the
    // switch, Nein shows the page of the content pages again (false).
    bool ConfirmTablePages();
    void TryClose(int result);

    ProjectSession& session_;
    FieldTracker& tracker_;
    UiPrompts& prompts_;
    Binder binder_;
    // Taken each time the dialog opens; "Abbruch" restores it.
    OptionsSnapshot snapshot_;
    // Whether the content pages came from tables when the dialog opened.
    bool tablePagesWhenOpened_ = false;
    QTabWidget* pages_ = nullptr;
    ContentPage* contentPage_ = nullptr;
};

}  // namespace pagloom::app
