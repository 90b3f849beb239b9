// SPDX-License-Identifier: MIT
// "Optionen": which files a build writes and whether it overwrites them, where content
// pages come from, the frame margins, the tags of table templates and the conversions of
// table data. Each page is its own class (src/app/options); all are bound to the project
// through the dialog's binder. "Abbruch" restores what the dialog showed when it opened.
#pragma once
#include <QDialog>
#include <array>
#include <functional>

#include "Binding.h"
#include "model/ProjectSettings.h"
#include "model/TableSettings.h"

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
    // Everything "Abbruch" restores: the modified flag and every choice, switch, text and
    // index of the dialog except the margins and the menu-text tags switch.
    struct Snapshot {
        bool modified = false;
        ContentPageSettings contentPage;
        Choice<2> menuFrame;
        bool menuFrameOverwrite = false;
        bool noscript = false;
        Choice<3> noscriptKind;
        Choice<2> frameset;
        bool framesetOverwrite = false;
        FramesSettings frames;
        FirstPageSettings firstPage;
        CssSettings css;
        JavascriptSettings javascript;
        bool makeSitemap = false;
        std::string fieldTag;
        std::string recordTag;
        int tagIndex = 0;
        TableConvertSettings convert;
        // Values outside the snapshot, to know whether they changed while the dialog was open.
        std::array<int, 8> margins{};
        bool menuetextTags = false;
    };

    bool CloseCheck();
    void TryClose(int result);
    Snapshot Take() const;

    ProjectSession& session_;
    FieldTracker& tracker_;
    UiPrompts& prompts_;
    Binder binder_;
    Snapshot snapshot_;
    QTabWidget* pages_ = nullptr;
    ContentPage* contentPage_ = nullptr;
};

}  // namespace pagloom::app
