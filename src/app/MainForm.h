// SPDX-License-Identifier: MIT
// The main window: holds the open project, runs the project commands with the question about
// unsaved changes, shows the project file in its caption and carries the tabs that edit the
// destination folder, the frameset and the file names, the menu and the sitemap.
//
// Editors of other parts add their tabs to PageControl() under their object names ("tsTabelle",
// "tsFont", ...). Decimal fields of the style editors register with Tracker().TrackDecimal, so
// SettlePendingEdit can settle them; the style pages are handed SettlePendingEdit for their
// own change of level.
#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>

#include "Binding.h"
#include "FieldTracker.h"
#include "ProjectSession.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace pagloom::app {

class AppHost;
class MenuEditorTab;
class PublishDialog;
class SitemapTab;
class TableTab;
class StylePages;
class TFileSelectDlg;
class TMakeForm;
class TProOptDlg;
class TWebAnzeigeForm;
class TfmProjectGroup;
class UiPrompts;

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    // The session, prompts and host outlive the window. `programDir` holds default.plp,
    // default.js and the help.
    TMainForm(ProjectSession& session, UiPrompts& prompts, AppHost& host, QString programDir,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // The windows created after this one; set once at start, before the window is shown.
    void Attach(TWebAnzeigeForm* web, TMakeForm* make, TProOptDlg* options,
                TFileSelectDlg* fileSelect);
    // The first argument of the command line (may be empty); opened once the window is shown.
    void SetStartFile(const QString& file) { startFile_ = file; }

    // Runs once, soon after the window is first shown: opens the start file or makes a new
    // project.
    void FirstActivate();

    // Project commands; each returns when done (dialogs are modal). FileNew returns whether
    // the new project replaced the open one.
    bool FileNew();
    void FileOpen();
    // An entry of "Zuletzt geöffnet": opens `file` as FileOpen would; a file that is gone is
    // taken from the list with a note instead.
    void OpenRecent(const QString& file);
    enum class SaveOutcome { Saved, Cancelled, Failed };
    SaveOutcome FileSave();
    SaveOutcome FileSaveAs();
    void Erstellen1Click();
    // "Extras → Links prüfen": lists the broken references of the site in the destination.
    void LinkCheckClick();
    void OptionenItemClick();
    void Preview();
    // "Datei → Veröffentlichen...": the publishing dialog of the open project.
    void PublishClick();
    // The publishing dialog for the session's project over `parent`.
    std::unique_ptr<PublishDialog> MakePublishDialog(QWidget* parent);
    // "Nach dem Erstellen veröffentlichen": the dialog over the build dialog, started at once.
    void PublishAfterBuild();
    void Help();
    // A page of the help ("veroeffentlichen.htm") in the browser window.
    void ShowHelpPage(const char* page);
    void BdeAdministration();
    // "&Projektgruppe bearbeiten": asks about unsaved changes, then runs the group window.
    void ProjectGroupClick();
    // The group window once it was opened, else null.
    TfmProjectGroup* ProjectGroupWindow() const;

    // Loads default.plp (or the defaults) as a new project without a file name.
    void NewProject();
    // Loads `file` as the open project; asks nothing about unsaved changes.
    bool OpenProject(const QString& file);

    // Ends a pending decimal edit of a style editor; false when its value was refused (the
    // command or tab change that asked is then abandoned).
    bool SettlePendingEdit();
    // Runs the leaving rule of the field being edited and puts the focus on the tabs.
    void FocusPageControl();

    // Shows and hides the tabs by the project's settings (after loading and after options).
    void ApplyTabRules();
    // Shows or hides one tab; a hidden tab cannot be reached by any key or page step.
    void ShowPage(QWidget* tab, bool visible);
    // Redisplays every field of the main window from the project.
    void RefreshFromModel();
    // Shows the main menu afresh after the menu was replaced as a whole.
    void RefreshMenuEditor();
    // A build rebuilt the menu from the tables: the menu editor shows it now when its tab is the
    // current one, else when its tab is next shown (a menu of thousands of entries is not drawn
    // for a hidden tab).
    void ShowRebuiltMenu();

    ProjectSession& Session() { return session_; }
    FieldTracker& Tracker() { return tracker_; }
    QTabWidget* PageControl() const { return pageControl_; }
    StylePages* Styles() const { return stylePages_; }
    TableTab* Tables() const { return tabTabelle_; }
    // The folder from which template files are chosen; set by loading and the folder chooser.
    QString TemplateDir() const { return templateDir_; }
    // Folder of the file chooser, the templates, the build and the preview after a new
    // destination folder was set (by loading or by the chooser).
    void HandOnDestination(const QString& dir);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void BuildActions();
    QWidget* BuildZielTab();
    QWidget* BuildFrameSetTab();
    QWidget* BuildDateienTab();
    void SpeedButtonZielClick();
    void PickFileInto(std::string& setting);
    // Shows the frame controls of "FrameSet", "Dateien" and "Sitemap" by the frame layout.
    void BindFrameRules();
    void UpdateCaption();
    void EditDirChange();
    bool AskSaveFirst(bool forClose);
    // Puts `file` first in "Zuletzt geöffnet".
    void RememberRecent(const QString& file);
    // Lists the stored recent project files in their menu.
    void FillRecentMenu();
    void AfterLoad();
    void PageControlChange(int index);

    ProjectSession& session_;
    UiPrompts& prompts_;
    AppHost& host_;
    QString programDir_;
    FieldTracker tracker_;
    // Binds the controls of every tab but "Navigation" to the project.
    Binder binder_{tracker_};
    // The menu editor waits to show a menu a build rebuilt until its tab is shown.
    bool menuEditorStale_ = false;
    QString startFile_;
    bool firstActivation_ = true;
    bool startQueued_ = false;
    bool openingSizeSet_ = false;
    QString templateDir_;
    QString openProposed_;
    QString saveProposed_;
    int currentTab_ = 0;
    bool revertingTab_ = false;

    QPointer<TWebAnzeigeForm> web_;
    QPointer<TMakeForm> make_;
    QPointer<TProOptDlg> options_;
    QPointer<TFileSelectDlg> fileSelect_;
    QPointer<TfmProjectGroup> projectGroup_;

    QMenu* recentMenu_ = nullptr;
    QTabWidget* pageControl_ = nullptr;
    QWidget* tabZiel_ = nullptr;
    QWidget* tabFrameSet_ = nullptr;
    QWidget* tabDateien_ = nullptr;
    MenuEditorTab* tabNavigation_ = nullptr;
    SitemapTab* tabSitemap_ = nullptr;
    // "Tabelle", with the table selection dialog, the table preview and the code wizard.
    TableTab* tabTabelle_ = nullptr;
    // The pages "Schrift" to "Hintergrund" with the editors of both menu levels.
    StylePages* stylePages_ = nullptr;

    QLineEdit* editDir_ = nullptr;
    QComboBox* comboRahmen_ = nullptr;
    QComboBox* comboRahmenBreite_ = nullptr;
    QLabel* labelRahmenBreite_ = nullptr;
    // The controls shown only with a top or a bottom frame.
    QList<QWidget*> topFrameControls_;
    QList<QWidget*> bottomFrameControls_;
    // The pick buttons of "Dateien" and "Navigation", enabled with a destination folder.
    QList<QToolButton*> pickButtons_;
};

}  // namespace pagloom::app
