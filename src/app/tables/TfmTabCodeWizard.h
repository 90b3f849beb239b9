// SPDX-License-Identifier: MIT
// The code wizard: the user picks fields of a slot's table and a layout, and the window shows
// the field and record tag code the core writes for them, copies it to the clipboard or saves
// it as a new template file. Created once; the layout, quote, separators and table head stay
// between openings, the field lists are refilled on every opening.
#pragma once
#include <QDialog>
#include <functional>
#include <string>

#include "generator/CodeWizard.h"
#include "io/FileSystem.h"
#include "model/Project.h"

class QButtonGroup;
class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace pagloom::app {

class Binder;
class FieldTracker;
class UiPrompts;

class TfmTabCodeWizard : public QDialog {
    Q_OBJECT
  public:
    explicit TfmTabCodeWizard(UiPrompts& prompts, QWidget* parent = nullptr);
    ~TfmTabCodeWizard() override;

    // The wizard button of a slot: nothing for a slot of table kind none; else fills the field
    // lists from the slot's field list, proposes the slot's template file, and shows the window
    // modally through prompts.Exec.
    void OpenFor(const Project& project, ContentSlot slot);

    // What "Vorlage erstellen" needs of the program around it: the folder its dialog starts in
    // (the project's), and taking a written template as the slot's template. Unset, the dialog
    // starts at the slot's template and nothing is offered.
    using FolderFn = std::function<QString()>;
    using UseTemplateFn = std::function<void(ContentSlot slot, const std::string& file)>;
    void SetProjectHooks(FolderFn projectFolder, UseTemplateFn useTemplate);

  private:
    // Redraws every control from the wizard's state: choices, enable rules, field lists with
    // their selection, transfer buttons and the code.
    void Refresh();
    // The core's code for the current choices and chosen fields.
    TextLines Code() const;
    // The code lines made anew, then Refresh; the caret goes to the start of the code.
    void Regenerate();
    // ">" and "<": the selected entries of one list to the other.
    void Transfer(bool toChosen);
    // ">>" and "<<".
    void TransferEverything(bool toChosen);
    void CopyToClipboard();
    void MakeTemplate();

    UiPrompts& prompts_;
    DiskFileSystem disk_;
    // The wizard's own choices are not the project's: their tracker marks nothing.
    FieldTracker* tracker_;
    Binder* binder_;

    CodeChoices choices_;
    FieldLists lists_;
    TextLines code_;
    CodeTags tags_;
    std::string proposedTemplate_;
    ContentSlot slot_ = ContentSlot::firstpage;
    FolderFn projectFolder_;
    UseTemplateFn useTemplate_;

    QListWidget* available_;
    QListWidget* chosen_;
    QPushButton* include_;
    QPushButton* exclude_;
    QPushButton* includeAll_;
    QPushButton* excludeAll_;
    QComboBox* fieldSplit_;
    QComboBox* recordSplit_;
    QComboBox* tableHead_;
    QPlainTextEdit* codeEdit_;
};

}  // namespace pagloom::app
