// SPDX-License-Identifier: MIT
#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "BuildThread.h"
#include "LinkCheckWindow.h"
#include "MenuEditorTab.h"
#include "PageTabs.h"
#include "QtText.h"
#include "RecentProjects.h"
#include "SitemapTab.h"
#include "TFileSelectDlg.h"
#include "TMakeForm.h"
#include "TProOptDlg.h"
#include "TWebAnzeigeForm.h"
#include "TfmProjectGroup.h"
#include "UiPrompts.h"
#include "WindowPlacement.h"
#include "generator/BuildDriver.h"
#include "generator/TableMenu.h"
#include "projectfile/ProjectFile.h"
#include "publish/PublishDialog.h"
#include "style/StylePages.h"
#include "tables/OdbcAdmin.h"
#include "tables/TableTab.h"
#include "tables/TfmTabCodeWizard.h"

namespace pagloom::app {
namespace {

const QString kOpenFilter = QStringLiteral("pagloom projekt (*.plp)");
const QString kSaveFilter =
    QStringLiteral("pagloom projekt (*.plp);;Textdatei (*.txt);;alle Dateien (*.*)");

// The width of the row of tabs with every caption whole, hidden tabs included: a tab shown
// later by a project's settings must not push the row into scrolling.
int FullTabRowWidth(const QTabWidget& tabs) {
    QTabBar probe;
    probe.setFont(tabs.tabBar()->font());
    probe.setDocumentMode(tabs.documentMode());
    probe.setElideMode(Qt::ElideNone);
    for (int i = 0; i < tabs.count(); ++i) probe.addTab(tabs.tabText(i));
    return probe.sizeHint().width();
}

// Wide enough for all tab captions beside the style preview, centred on the screen and
// wholly on it; a narrower screen gets a narrower window whose tab row scrolls.
QRect OpeningGeometry(const QMainWindow& window, const QTabWidget& tabs, const QDockWidget* dock) {
    const QStyle* style = window.style();
    // The page frame on both sides and the tab row's indent.
    int width = FullTabRowWidth(tabs) + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
    if (dock)
        width += dock->minimumSizeHint().width() +
                 style->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent);
    const QSize wanted(std::max(window.width(), width), window.height());
    const QScreen* screen = window.screen();
    if (!screen) return QRect(window.pos(), wanted);
    const QRect available = screen->availableGeometry();
    return CenteredOver(available, wanted, available);
}

}  // namespace

TMainForm::TMainForm(ProjectSession& session, UiPrompts& prompts, AppHost& host, QString programDir,
                     QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      prompts_(prompts),
      host_(host),
      programDir_(std::move(programDir)),
      tracker_(prompts, [this] { session_.Modified = true; }) {
    setObjectName(QStringLiteral("TMainForm"));
    host_.SetParentWidget(this);
    BuildActions();

    pageControl_ = new PageTabs(this);
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->setFocusPolicy(Qt::StrongFocus);
    tabZiel_ = BuildZielTab();
    tabFrameSet_ = BuildFrameSetTab();
    tabDateien_ = BuildDateienTab();
    tabNavigation_ = new MenuEditorTab(
        session_.project.MainMenu, tracker_, prompts_, [this] { session_.Modified = true; },
        [this]() -> std::optional<QString> {
            if (!fileSelect_) return std::nullopt;
            std::optional<QString> name = fileSelect_->ChooseOne();
            if (name && !ChosenPath(prompts_, this, *name)) return std::nullopt;
            return name;
        },
        pageControl_);
    tabNavigation_->setObjectName(QStringLiteral("tsNavigation"));
    tabSitemap_ = new SitemapTab(
        binder_, [this]() -> SitemapSettings& { return session_.Settings().sitemap; },
        [this] { session_.Modified = true; },
        [this]() -> std::optional<QStringList> {
            if (!fileSelect_) return std::nullopt;
            fileSelect_->SetMultiSelect(true);
            auto names = fileSelect_->ChooseMany();
            fileSelect_->SetMultiSelect(false);
            if (names)
                for (const QString& n : *names)
                    if (!ChosenPath(prompts_, this, n)) return std::nullopt;
            return names;
        },
        pageControl_);
    tabSitemap_->setObjectName(QStringLiteral("tsSitemap"));
    tabTabelle_ = new TableTab(
        session_, binder_, prompts_, [this] { return TemplateDir(); },
        [this] { BdeAdministration(); }, this, pageControl_);
    tabTabelle_->setObjectName(QStringLiteral("tsTabelle"));
    // The code wizard writes templates beside the project file (beside the destination while
    // the project has none) and may make one a slot's template, as "Vorlage wählen" does.
    tabTabelle_->Wizard()->SetProjectHooks(
        [this] {
            const QString project = session_.ProjectFileName();
            return project.isEmpty() ? TemplateDir() : QFileInfo(project).absolutePath();
        },
        [this](ContentSlot slot, const std::string& file) {
            std::string& current = session_.project.Tables.Slot[slot].template_file;
            if (current == file) return;
            current = file;
            session_.Modified = true;
            binder_.Refresh();
        });
    pageControl_->addTab(tabZiel_, QStringLiteral("Zielverzeichnis"));
    pageControl_->addTab(tabFrameSet_, QStringLiteral("FrameSet"));
    pageControl_->addTab(tabDateien_, QStringLiteral("Dateien"));
    pageControl_->addTab(tabNavigation_, QStringLiteral("Navigation"));
    pageControl_->addTab(tabTabelle_, QStringLiteral("Tabelle"));
    pageControl_->addTab(tabSitemap_, QStringLiteral("Sitemap"));
    stylePages_ = new StylePages(
        pageControl_,
        [this](MenuLevel level) -> TCSS& { return session_.project.PrjParams.Style(level); },
        [this]() -> const Project& { return session_.project; },
        [this] { return MenuFromTables(session_.project, session_.Tables()); }, tracker_, prompts_,
        [this] { return SettlePendingEdit(); });
    setCentralWidget(pageControl_);
    for (QToolButton* b : tabNavigation_->PickButtons()) pickButtons_ << b;

    topFrameControls_ << tabSitemap_->TopFrameBox();
    bottomFrameControls_ << tabSitemap_->BottomFrameBox();
    BindFrameRules();

    statusBar()->setObjectName(QStringLiteral("StatusLine"));
    statusBar()->setSizeGripEnabled(true);

    // Start state: border option 0 with its width list hidden, "Dateien" in front and the
    // tabs that depend on the project hidden until a project is read.
    comboRahmen_->setCurrentIndex(0);
    comboRahmenBreite_->setCurrentIndex(0);
    comboRahmenBreite_->setVisible(false);
    labelRahmenBreite_->setVisible(false);
    pageControl_->setCurrentWidget(tabDateien_);
    currentTab_ = pageControl_->currentIndex();
    ShowPage(tabTabelle_, false);
    ShowPage(tabSitemap_, false);
    connect(pageControl_, &QTabWidget::currentChanged, this, &TMainForm::PageControlChange);

    // The build needs the menu script library; without it menu scripts lack it, which the
    // user learns here rather than from a broken site.
    if (!session_.LoadMenuScriptLibrary())
        statusBar()->showMessage(QStringLiteral("default.js konnte nicht gelesen werden."));

    EditDirChange();
    UpdateCaption();
    resize(820, 560);
}

TMainForm::~TMainForm() = default;

void TMainForm::Attach(TWebAnzeigeForm* web, TMakeForm* make, TProOptDlg* options,
                       TFileSelectDlg* fileSelect) {
    web_ = web;
    make_ = make;
    if (make_) make_->SetPublisher([this] { PublishAfterBuild(); });
    options_ = options;
    fileSelect_ = fileSelect;
}

void TMainForm::BuildActions() {
    auto action = [this](const QString& text, const QString& hint, auto slot) {
        auto* a = new QAction(text, this);
        const qsizetype bar = hint.indexOf(u'|');
        a->setToolTip(bar < 0 ? hint : hint.left(bar));
        // The status line shows the long hint: the part after "|", or all of a hint without it.
        a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
        connect(a, &QAction::triggered, this,
                [this, slot] { RunGuarded(prompts_, this, [this, slot] { slot(); }); });
        return a;
    };
    QStyle* st = style();
    QAction* neu = action(QStringLiteral("&Neues Projekt"),
                          QStringLiteral("Neu|Eine neue Datei erzeugen"), [this] { FileNew(); });
    neu->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    neu->setShortcut(QKeySequence::New);
    QAction* open =
        action(QStringLiteral("Projekt &Öffnen..."),
               QStringLiteral("Öffnen|Ein vorhandenes Projekt öffnen"), [this] { FileOpen(); });
    open->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    open->setShortcut(QKeySequence::Open);
    QAction* save = action(QStringLiteral("Projekt &Speichern"),
                           QStringLiteral("Speichern|Das Projekt in seiner Datei speichern"),
                           [this] { FileSave(); });
    save->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    save->setShortcut(QKeySequence::Save);
    QAction* saveAs =
        action(QStringLiteral("Projekt Speichern &Unter..."),
               QStringLiteral("Speichern unter|Das Projekt unter einem neuen Namen speichern"),
               [this] { FileSaveAs(); });
    saveAs->setIcon(st->standardIcon(QStyle::SP_DriveFDIcon));
    QAction* build = action(QStringLiteral("Erstellen..."),
                            QStringLiteral("Erstellen|Die Website im Zielverzeichnis erstellen"),
                            [this] { Erstellen1Click(); });
    build->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
    build->setShortcut(QKeySequence(Qt::Key_F9));
    QAction* publish =
        action(QStringLiteral("&Veröffentlichen..."),
               QStringLiteral("Veröffentlichen|Die erstellte Website auf den Webserver übertragen"),
               [this] { PublishClick(); });
    publish->setObjectName(QStringLiteral("acVeroeffentlichen"));
    publish->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
    publish->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    QAction* quit = action(QStringLiteral("&Beenden"),
                           QStringLiteral("Beenden|Das Programm beenden"), [this] { close(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QAction* options =
        action(QStringLiteral("Optionen"),
               QStringLiteral("Optionen|Welche Dateien erstellt und überschrieben werden"),
               [this] { OptionenItemClick(); });
    QAction* preview =
        action(QStringLiteral("&Vorschau"),
               QStringLiteral("Vorschau|Die erstellte Website im Browserfenster anzeigen"),
               [this] { Preview(); });
    preview->setIcon(st->standardIcon(QStyle::SP_DesktopIcon));
    QAction* bde = action(
        QStringLiteral("&BDE-Administration"),
        QStringLiteral("BDE-Administration|Das Verwaltungsprogramm der Datenquellen starten"),
        [this] { BdeAdministration(); });
    QAction* help =
        action(QStringLiteral("pagloom &Hilfe"),
               QStringLiteral("Hilfe|Die Hilfe zu pagloom anzeigen"), [this] { Help(); });
    help->setShortcut(QKeySequence::HelpContents);

    QMenu* datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->addActions({neu, open});
    recentMenu_ = datei->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    recentMenu_->setObjectName(QStringLiteral("mnZuletztGeoeffnet"));
    // Filled each time it opens: another run of the program may have changed the list.
    connect(recentMenu_, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
    FillRecentMenu();
    datei->addActions({save, saveAs});
    datei->addSeparator();
    datei->addActions({build, publish});
    datei->addSeparator();
    datei->addAction(quit);
    menuBar()->addMenu(QStringLiteral("&Projekt"))->addAction(options);
    menuBar()->addMenu(QStringLiteral("&Ansicht"))->addAction(preview);
    QAction* group =
        action(QStringLiteral("&Projektgruppe bearbeiten"),
               QStringLiteral("Projektgruppe|Mehrere Projekte als Gruppe verwalten und erstellen"),
               [this] { ProjectGroupClick(); });
    group->setObjectName(QStringLiteral("acProjektgruppe"));
    QAction* linkCheck = action(
        QStringLiteral("&Links prüfen"),
        QStringLiteral("Links prüfen|Verweise der erstellten Website im Zielverzeichnis prüfen"),
        [this] { LinkCheckClick(); });
    linkCheck->setObjectName(QStringLiteral("acLinksPruefen"));
    menuBar()->addMenu(QStringLiteral("&Extras"))->addActions({group, linkCheck, bde});
    menuBar()->addMenu(QStringLiteral("&Hilfe"))->addAction(help);

    QToolBar* bar = addToolBar(QStringLiteral("Werkzeuge"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->addActions({neu, open, save, saveAs});
    bar->addSeparator();
    bar->addActions({build, publish});
    bar->addAction(preview);
    const std::pair<QAction*, const char*> names[] = {
        {neu, "SpeedButton1"},    {open, "SpeedButton2"},     {save, "SaveButton"},
        {saveAs, "SaveAsButton"}, {build, "ErstellenButton"}, {preview, "WebAnsichtButton"}};
    for (const auto& [a, name] : names)
        if (QWidget* w = bar->widgetForAction(a)) w->setObjectName(QString::fromLatin1(name));
}

void TMainForm::UpdateCaption() {
    setWindowTitle(session_.FileName().empty()
                       ? QStringLiteral("pagloom: [neues Projekt]")
                       : QStringLiteral("pagloom: ") + session_.ProjectFileName());
}

bool TMainForm::event(QEvent* e) {
    // Not on activation: without a window manager, or when the desktop withholds the focus,
    // the window is never activated. Queued, so the window is drawn before the project opens
    // and its messages have a visible parent.
    if (e->type() == QEvent::Show && !openingSizeSet_) {
        // Sized at the first show, once every editor has added its tab.
        openingSizeSet_ = true;
        setGeometry(OpeningGeometry(*this, *pageControl_, stylePages_->PreviewDock()));
    }
    if (e->type() == QEvent::Show && firstActivation_ && !startQueued_) {
        startQueued_ = true;
        QMetaObject::invokeMethod(
            this, [this] { RunGuarded(prompts_, this, [this] { FirstActivate(); }); },
            Qt::QueuedConnection);
    }
    return QMainWindow::event(e);
}

void TMainForm::FirstActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    // A start file that is refused (no project, unreadable) leaves a new project, shown.
    if (startFile_.isEmpty() || !OpenProject(startFile_))
        NewProject();
    else
        RememberRecent(startFile_);
}

void TMainForm::FocusPageControl() {
    tracker_.LeaveField();
    pageControl_->setFocus(Qt::OtherFocusReason);
}

bool TMainForm::SettlePendingEdit() {
    if (tracker_.EditPending()) FocusPageControl();
    if (!tracker_.LastEditValid()) {
        tracker_.SetLastEditValid(true);
        return false;
    }
    return true;
}

void TMainForm::PageControlChange(int index) {
    if (revertingTab_) return;
    if ((index >= 0 && !pageControl_->isTabVisible(index)) || !SettlePendingEdit()) {
        revertingTab_ = true;
        pageControl_->setCurrentIndex(currentTab_);
        revertingTab_ = false;
        return;
    }
    currentTab_ = index;
    if (menuEditorStale_ && pageControl_->widget(index) == tabNavigation_) RefreshMenuEditor();
    FocusPageControl();
}

bool TMainForm::AskSaveFirst(bool forClose) {
    if (!session_.Modified) return true;
    switch (prompts_.Ask(this, QStringLiteral("Projekt vorher speichern?"), true)) {
        case Answer::Yes: {
            const SaveOutcome r = FileSave();
            if (r == SaveOutcome::Failed) return false;
            // A cancelled save-as lets new and open go on unsaved; closing keeps the window.
            return forClose ? !session_.Modified : true;
        }
        case Answer::No:
            return true;
        case Answer::Cancel:
            return false;
    }
    return false;
}

bool TMainForm::FileNew() {
    if (!SettlePendingEdit()) return false;
    FocusPageControl();
    if (!AskSaveFirst(false)) return false;
    NewProject();
    return true;
}

void TMainForm::FileOpen() {
    if (!SettlePendingEdit()) return;
    FocusPageControl();
    if (!AskSaveFirst(false)) return;
    // A file name as the start proposes that file (the last one saved under a new name).
    const QString file = prompts_.OpenFile(this, QStringLiteral("Projekt öffnen"), openProposed_,
                                           kOpenFilter, kOpenFilter, QStringLiteral("plp"));
    if (!file.isEmpty() && ChosenPath(prompts_, this, file) && OpenProject(file))
        RememberRecent(file);
}

void TMainForm::OpenRecent(const QString& file) {
    if (!SettlePendingEdit()) return;
    FocusPageControl();
    // Asked before the question about saving: a file that is gone needs no decision.
    if (!QFileInfo(file).isFile()) {
        ForgetRecentProject(file);
        FillRecentMenu();
        prompts_.Message(this, QStringLiteral("Die Projektdatei „%1“ gibt es nicht mehr. Sie "
                                              "wird aus der Liste „Zuletzt geöffnet“ entfernt.")
                                   .arg(file));
        return;
    }
    if (!AskSaveFirst(false)) return;
    if (ChosenPath(prompts_, this, file) && OpenProject(file)) RememberRecent(file);
}

void TMainForm::RememberRecent(const QString& file) {
    NoteRecentProject(file);
    FillRecentMenu();
}

void TMainForm::FillRecentMenu() {
    // Later, not now: the entry being chosen may be among them.
    for (QAction* a : recentMenu_->actions()) {
        recentMenu_->removeAction(a);
        a->deleteLater();
    }
    const QStringList files = RecentProjects();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        // "&" in a path would become an access key.
        QString caption = file;
        caption.replace(u'&', QStringLiteral("&&"));
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 ").arg(i + 1) + caption);
        connect(a, &QAction::triggered, this,
                [this, file] { RunGuarded(prompts_, this, [this, file] { OpenRecent(file); }); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

TMainForm::SaveOutcome TMainForm::FileSave() {
    if (session_.FileName().empty()) return FileSaveAs();
    if (!SettlePendingEdit()) return SaveOutcome::Failed;
    FocusPageControl();
    return session_.Save() ? SaveOutcome::Saved : SaveOutcome::Failed;
}

TMainForm::SaveOutcome TMainForm::FileSaveAs() {
    if (!SettlePendingEdit()) return SaveOutcome::Failed;
    const QString file = prompts_.SaveFile(this, QStringLiteral("Projekt speichern unter"),
                                           saveProposed_, kSaveFilter, QStringLiteral("plp"));
    if (file.isEmpty()) return SaveOutcome::Cancelled;
    FocusPageControl();
    const std::optional<std::string> path = ChosenPath(prompts_, this, file);
    if (!path || !session_.SaveAs(*path)) return SaveOutcome::Failed;
    openProposed_ = file;
    saveProposed_ = file;
    UpdateCaption();
    session_.Modified = false;
    RememberRecent(file);
    return SaveOutcome::Saved;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FocusPageControl();
    // The group outlives its window; its unsaved list would go unasked with the program.
    if ((projectGroup_ && !projectGroup_->AskSaveGroup()) || !AskSaveFirst(true)) {
        event->ignore();
        return;
    }
    event->accept();
    if (web_) web_->close();
}

void TMainForm::NewProject() {
    tracker_.Forget();
    session_.New();
    saveProposed_.clear();
    UpdateCaption();
    AfterLoad();
    session_.Modified = false;
}

bool TMainForm::OpenProject(const QString& file) {
    // A file that cannot be read is refused after its message; the open project stays, so a
    // later save cannot put defaults over the unreadable file.
    bool opened = false;
    // A project's tables may be large: they are read on a thread of its own, while the window
    // takes no input and soon says what it is doing.
    RunWithProgress(session_, this,
                    QStringLiteral("Projekt %1 wird geöffnet …").arg(QFileInfo(file).fileName()),
                    [&] { opened = session_.Open(PathS(file)); });
    if (!opened) return false;
    tracker_.Forget();
    saveProposed_ = file;
    UpdateCaption();
    AfterLoad();
    session_.Modified = false;
    return true;
}

void TMainForm::AfterLoad() {
    revertingTab_ = true;
    pageControl_->setCurrentWidget(tabZiel_);
    currentTab_ = pageControl_->currentIndex();
    revertingTab_ = false;
    RefreshFromModel();
    ApplyTabRules();
    HandOnDestination(Q(session_.Settings().files.destination_directory));
    if (options_) options_->RefreshFromModel();
    RefreshMenuEditor();
    stylePages_->RefreshFromRecord();
}

void TMainForm::RefreshMenuEditor() {
    menuEditorStale_ = false;
    tabNavigation_->RefreshMenuEditor();
}

void TMainForm::ShowRebuiltMenu() {
    if (pageControl_->currentWidget() == tabNavigation_)
        RefreshMenuEditor();
    else
        menuEditorStale_ = true;
}

void TMainForm::ApplyTabRules() {
    const Project& p = session_.project;
    ShowPage(tabTabelle_, ShowsTableTab(p));
    ShowPage(tabNavigation_, ShowsNavigationTab(p));
    ShowPage(tabSitemap_, ShowsSitemapTab(p));
}

void TMainForm::ShowPage(QWidget* tab, bool visible) {
    const int i = tab ? pageControl_->indexOf(tab) : -1;
    if (i < 0) return;
    pageControl_->setTabVisible(i, visible);
}

void TMainForm::HandOnDestination(const QString& dir) {
    templateDir_ = dir;
    if (fileSelect_) fileSelect_->SetDirectory(dir);
    session_.Build.Destination = S(dir);
    editDir_->setText(dir);
    EditDirChange();
}

void TMainForm::EditDirChange() {
    // EditDir shows the destination handed on last; the model holds it, the field only shows it.
    const std::string& dir = session_.Build.Destination;
    for (QToolButton* b : pickButtons_) b->setEnabled(!dir.empty());
    if (!dir.empty()) session_.Build.PreviewDirectory = dir;
}

void TMainForm::SpeedButtonZielClick() {
    const QString current = Q(session_.Settings().files.destination_directory);
    const QString chosen = ChooseDestinationFolder(prompts_, this, current, QDir::homePath());
    if (chosen.isEmpty()) return;
    session_.Settings().files.destination_directory = S(chosen);
    HandOnDestination(chosen);
    if (chosen != current) session_.Modified = true;
}

void TMainForm::PickFileInto(std::string& setting) {
    if (!fileSelect_) return;
    const QString before = Q(setting);
    const std::optional<QString> name = fileSelect_->ChooseOne(before);
    if (!name) return;
    const std::optional<std::string> chosen = ChosenPath(prompts_, this, *name);
    if (!chosen) return;
    setting = *chosen;
    binder_.Refresh();
    if (*name != before) session_.Modified = true;
}

void TMainForm::Erstellen1Click() {
    if (!SettlePendingEdit()) return;
    FocusPageControl();
    if (!session_.TableCheck()) return;
    if (make_) make_->ShowModal();
}

void TMainForm::OptionenItemClick() {
    FocusPageControl();
    if (!options_) return;
    options_->ShowModal();
    // The build dialog presets its region choice from the project each time it is shown.
    ApplyTabRules();
}

void TMainForm::LinkCheckClick() {
    auto* window = findChild<LinkCheckWindow*>();
    if (!window)
        window = new LinkCheckWindow(
            session_, prompts_,
            [this](const QString& path) {
                if (web_) web_->ShowFile(path, QStringLiteral("Vorschau: ") + path, this);
            },
            this);
    window->Check();
    window->show();
    window->raise();
}

void TMainForm::Preview() {
    const QString dir = Q(session_.Build.PreviewDirectory);
    const QString frameset = Q(session_.Settings().files.frameset_file);
    if (dir.isEmpty() || frameset.isEmpty()) {
        prompts_.Message(this, QStringLiteral("Geben Sie im Register Dateien das Zielverzeichnis "
                                              "und den Frameset-Dateinamen an"));
        return;
    }
    const QString path = dir + u'/' + frameset;
    if (!QFileInfo(path).isFile()) {
        prompts_.Message(this,
                         QStringLiteral("Kann Datei ") + path + QStringLiteral(" nicht öffnen"));
        return;
    }
    if (web_) web_->ShowFile(path, QStringLiteral("Vorschau: ") + path, this);
}

std::unique_ptr<PublishDialog> TMainForm::MakePublishDialog(QWidget* parent) {
    return std::make_unique<PublishDialog>(
        session_, tracker_, prompts_, [this] { ShowHelpPage("veroeffentlichen.htm"); }, parent);
}

void TMainForm::PublishClick() {
    FocusPageControl();
    std::unique_ptr<PublishDialog> dlg = MakePublishDialog(this);
    prompts_.Exec(dlg.get());
    UpdateCaption();  // an accepted server key is a change of the project
}

void TMainForm::PublishAfterBuild() {
    QWidget* over = make_ && make_->isVisible() ? static_cast<QWidget*>(make_) : this;
    std::unique_ptr<PublishDialog> dlg = MakePublishDialog(over);
    dlg->show();
    RunGuarded(prompts_, dlg.get(), [&dlg] { dlg->PublishNow(); });
    prompts_.Exec(dlg.get());
    UpdateCaption();
}

void TMainForm::ShowHelpPage(const char* page) {
    if (web_)
        web_->ShowFile(QDir(programDir_).filePath(QStringLiteral("help/") + QLatin1String(page)),
                       QStringLiteral("Hilfe"), this);
}

void TMainForm::Help() {
    if (web_)
        web_->ShowFile(QDir(programDir_).filePath(QStringLiteral("help/index.htm")),
                       QStringLiteral("Hilfe - Inhalt"), this);
}

void TMainForm::ProjectGroupClick() {
    FocusPageControl();
    if (session_.Modified) {
        switch (prompts_.Ask(this, QStringLiteral("Projekt vorher speichern?"), true)) {
            case Answer::Yes:
                FileSave();
                break;
            case Answer::No:
                break;
            case Answer::Cancel:
                return;
        }
    }
    // Created once: the group stays for the whole run.
    if (!projectGroup_)
        projectGroup_ = new TfmProjectGroup(
            session_, prompts_, host_, [this](const QString& file) { return OpenProject(file); },
            [this] { return FileNew(); }, make_, web_, this);
    projectGroup_->SetPublishDialogMaker(
        [this](QWidget* parent) { return MakePublishDialog(parent); });
    projectGroup_->ShowModal();
}

TfmProjectGroup* TMainForm::ProjectGroupWindow() const { return projectGroup_; }

void TMainForm::BdeAdministration() { StartOdbcAdministration(prompts_, this); }

}  // namespace pagloom::app
