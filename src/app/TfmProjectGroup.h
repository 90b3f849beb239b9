// SPDX-License-Identifier: MIT
// The project group window: edits the list of project files of a group, stores it in a group
// file and builds or previews its projects. It shows the core's TProjectGroup and hands the
// build to the core's Make1Execute; each project is opened through the opener it is given
// (the main window's), the log goes to the build dialog. Created once by the main window; the
// group lives as long as it does.
#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>

#include "groups/GroupBuild.h"
#include "groups/TProjectGroup.h"
#include "publish/PublishDialog.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace pagloom::app {

class AppHost;
class TMakeForm;
class TWebAnzeigeForm;
class UiPrompts;
struct ProjectSession;

class TfmProjectGroup : public QDialog {
    Q_OBJECT
  public:
    // Opens a project file as the session's project without asking about unsaved changes;
    // false when the file was refused.
    using OpenProjectFn = std::function<bool(const QString& file)>;
    // Replaces the session's project by a new one, asking about unsaved changes first; false
    // when the user cancelled.
    using NewProjectFn = std::function<bool()>;

    // Both functions are required. `parent` is the window the group window is modal for;
    // messages go over it again after a group build.
    TfmProjectGroup(ProjectSession& session, UiPrompts& prompts, AppHost& host,
                    OpenProjectFn openProject, NewProjectFn newProject, TMakeForm* make,
                    TWebAnzeigeForm* web, QWidget* parent);
    ~TfmProjectGroup() override;

    // Runs the window modally; afterwards the build dialog has its "Start" back and is closed.
    void ShowModal();

    // The commands of the tool bar, the menus and the buttons.
    void NewProjectGroup();
    void OpenProjectGroup();
    // Both return whether the group was saved.
    bool FileSaveCommand();
    bool FileSaveAs();
    void Make1Execute();
    // "Veröffentlichen": every project of the group to its own target, one after the other, in
    // one publishing dialog over this window; a project without a target is passed over. At the
    // end the log sums up, and a message lists the projects that failed. `ask`: first ask
    // whether to go on (not after a build with "Nach dem Erstellen veröffentlichen").
    void PublishMembers(bool ask = true);
    // Makes the publishing dialog (the main window's); without it "Veröffentlichen" is off.
    void SetPublishDialogMaker(PublishDialogMaker maker);
    void acVorschauExecute();
    void AddProjects();
    void DeleteSelected();
    void MoveUp();
    void MoveDown();
    void LoadSelectedProject();
    void ChooseIndexMapFile();
    // "Schließen" and "Beenden"; Escape and the window's close button end the same way.
    void CloseCommand();

    // Asks "Projekt-Gruppe vorher speichern?" when the group changed; false for Abbrechen and
    // for "Ja" when the group was not saved (its file dialog cancelled, or the write failed).
    bool AskSaveGroup();

    const TProjectGroup& Group() const { return group_; }

  protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildWindow();
    // The window the group's questions and save dialog belong over.
    QWidget* Over();
    // Shows the group: list, options, index file controls and caption.
    void ShowGroup();
    void AddLine(const QString& path);
    void UpdateCaption();
    void UpdateIndexMapControls();
    void UpdateLoadEnabled();
    std::vector<int> SelectedRows() const;
    void SelectRows(const std::vector<int>& rows);
    GroupBuildEnv Env(const std::function<bool(const std::string&)>& open);
    // Disables the window's controls while its group builds, or enables them again.
    void SetBuilding(bool on);
    void ShowBuildDialog();
    void RestoreBuildDialog();
    // Gives the build dialog back to its window, with its "Start", closed.
    void ReleaseBuildDialog();

    ProjectSession& session_;
    UiPrompts& prompts_;
    AppHost& host_;
    OpenProjectFn openProject_;
    NewProjectFn newProject_;
    QPointer<TMakeForm> make_;
    QPointer<TWebAnzeigeForm> web_;
    TProjectGroup group_;
    bool building_ = false;
    int projectNumber_ = 0;  // the project of the running group build, from 1

    QListWidget* lbProjects_ = nullptr;
    QCheckBox* cbMakeModified_ = nullptr;
    QCheckBox* cbIndexMap_ = nullptr;
    QLabel* lbMapFile_ = nullptr;
    QLineEdit* edIndexMap_ = nullptr;
    QToolButton* sbIndexMap_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QAction* loadAction_ = nullptr;
    QAction* publishAction_ = nullptr;
    PublishDialogMaker makePublish_;
};

}  // namespace pagloom::app
