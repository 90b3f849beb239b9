// SPDX-License-Identifier: MIT
#include "TfmProjectGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "BuildThread.h"
#include "KeyboardUse.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "TMakeForm.h"
#include "TWebAnzeigeForm.h"
#include "UiPrompts.h"
#include "generator/MakeReport.h"

namespace pagloom::app {
namespace {

const QString kOpenGroupFilter = QStringLiteral("pagloom projekt-group (*.plg)");
const QString kSaveGroupFilter = QStringLiteral("pagloom projekt (*.plg)");
const QString kProjectFilter = QStringLiteral("pagloom projekt (*.plp)");
const QString kIndexFilter = QStringLiteral("Sitemap-Datei (*.xml);;Alle Dateien [*.*] (*)");

}  // namespace

TfmProjectGroup::TfmProjectGroup(ProjectSession& session, UiPrompts& prompts, AppHost& host,
                                 OpenProjectFn openProject, NewProjectFn newProject,
                                 TMakeForm* make, TWebAnzeigeForm* web, QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompts_(prompts),
      host_(host),
      openProject_(std::move(openProject)),
      newProject_(std::move(newProject)),
      make_(make),
      web_(web) {
    setObjectName(QStringLiteral("TfmProjectGroup"));
    // Modal for the main window only: the preview, a window of its own, stays usable.
    setWindowModality(Qt::WindowModal);
    BuildWindow();
    NewProjectGroup();
    resize(780, 460);
}

TfmProjectGroup::~TfmProjectGroup() { ReleaseBuildDialog(); }

void TfmProjectGroup::BuildWindow() {
    auto action = [this](const QString& text, const QString& tip, auto slot) {
        auto* a = new QAction(text, this);
        a->setToolTip(tip);
        a->setStatusTip(tip);
        connect(a, &QAction::triggered, this, [this, slot] {
            if (!building_) RunGuarded(prompts_, this, [this, slot] { slot(); });
        });
        return a;
    };
    QStyle* st = style();
    QAction* neu = action(QStringLiteral("&Neu"), QStringLiteral("Neue Projektgruppe"),
                          [this] { NewProjectGroup(); });
    neu->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    neu->setIconText(QStringLiteral("Neu"));
    QAction* open = action(QStringLiteral("&Öffnen..."),
                           QStringLiteral("Eine gespeicherte Projektgruppe öffnen"),
                           [this] { OpenProjectGroup(); });
    open->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    open->setIconText(QStringLiteral("Öffnen"));
    QAction* save = action(QStringLiteral("&Speichern"),
                           QStringLiteral("Die Projektgruppe in ihrer Datei speichern"),
                           [this] { FileSaveCommand(); });
    save->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    save->setIconText(QStringLiteral("Speichern"));
    QAction* saveAs = action(QStringLiteral("Speichern &Unter..."),
                             QStringLiteral("Die Projektgruppe unter einem neuen Namen speichern"),
                             [this] { FileSaveAs(); });
    saveAs->setIcon(st->standardIcon(QStyle::SP_DriveFDIcon));
    saveAs->setIconText(QStringLiteral("Speichern als..."));
    QAction* build = action(QStringLiteral("&Erstellen"),
                            QStringLiteral("Alle Projekte der Gruppe nacheinander erstellen"),
                            [this] { Make1Execute(); });
    build->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
    build->setIconText(QStringLiteral("Erstellen"));
    publishAction_ =
        action(QStringLiteral("&Veröffentlichen..."),
               QStringLiteral("Jedes Projekt der Gruppe an sein Ziel auf dem Webserver übertragen"),
               [this] { PublishMembers(); });
    publishAction_->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
    publishAction_->setIconText(QStringLiteral("Veröffentlichen"));
    publishAction_->setEnabled(false);
    QAction* preview =
        action(QStringLiteral("Vorschau"),
               QStringLiteral("Die Website des selektierten Projekts im Browserfenster anzeigen"),
               [this] { acVorschauExecute(); });
    preview->setIcon(st->standardIcon(QStyle::SP_DesktopIcon));
    QAction* add =
        action(QStringLiteral("Projekte hinzufügen..."),
               QStringLiteral("Projektdateien an die Liste anhängen"), [this] { AddProjects(); });
    QAction* del = action(QStringLiteral("Selektierte Projekte löschen"),
                          QStringLiteral("Die selektierten Projekte aus der Liste entfernen"),
                          [this] { DeleteSelected(); });
    loadAction_ = action(QStringLiteral("Selektiertes Projekt laden"),
                         QStringLiteral("Das selektierte Projekt im Hauptfenster öffnen"),
                         [this] { LoadSelectedProject(); });
    QAction* quit = action(QStringLiteral("&Beenden"), QStringLiteral("Das Fenster schließen"),
                           [this] { CloseCommand(); });
    const std::pair<QAction*, const char*> names[] = {
        {neu, "acNeu"},          {open, "acOeffnen"},
        {save, "acSpeichern"},   {saveAs, "acSpeichernUnter"},
        {build, "acErstellen"},  {publishAction_, "acVeroeffentlichen"},
        {preview, "acVorschau"}, {add, "acHinzufuegen"},
        {del, "acLoeschen"},     {loadAction_, "acProjektLaden"},
        {quit, "acBeenden"}};
    for (const auto& [a, name] : names) a->setObjectName(QString::fromLatin1(name));

    auto* menus = new QMenuBar(this);
    QMenu* datei = menus->addMenu(QStringLiteral("&Datei"));
    datei->addActions({neu, open, save, saveAs});
    datei->addSeparator();
    datei->addActions({build, publishAction_});
    datei->addSeparator();
    datei->addAction(quit);
    QMenu* ansicht = menus->addMenu(QStringLiteral("&Ansicht"));
    ansicht->addAction(preview);
    ansicht->addSeparator();
    ansicht->addActions({add, del, loadAction_});

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addActions({neu, open, save, saveAs});
    bar->addSeparator();
    bar->addActions({build, publishAction_, preview});

    lbProjects_ = new QListWidget(this);
    lbProjects_->setObjectName(QStringLiteral("lbProjects"));
    lbProjects_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbProjects_->installEventFilter(this);
    connect(lbProjects_, &QListWidget::itemSelectionChanged, this,
            &TfmProjectGroup::UpdateLoadEnabled);

    auto button = [this](QAction* a, const char* name) {
        auto* b = new QPushButton(a->text(), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(a->toolTip());
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        return b;
    };
    QPushButton* addButton = button(add, "btHinzufuegen");
    QPushButton* delButton = button(del, "btLoeschen");
    loadButton_ = button(loadAction_, "btProjektLaden");
    auto arrow = [this, st](QStyle::StandardPixmap icon, const char* name, const QString& tip,
                            auto slot) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(st->standardIcon(icon));
        b->setToolTip(tip);
        connect(b, &QToolButton::clicked, this,
                [this, slot] { RunGuarded(prompts_, this, [this, slot] { slot(); }); });
        return b;
    };
    QToolButton* up = arrow(QStyle::SP_ArrowUp, "ButtonMenueUp",
                            QStringLiteral("Selektierte Projekte nach oben"), [this] { MoveUp(); });
    QToolButton* down =
        arrow(QStyle::SP_ArrowDown, "ButtonMenueDown",
              QStringLiteral("Selektierte Projekte nach unten"), [this] { MoveDown(); });
    auto* closeButton = new QPushButton(QStringLiteral("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("btSchliessen"));
    connect(closeButton, &QPushButton::clicked, quit, &QAction::trigger);

    auto* side = new QVBoxLayout;
    side->addWidget(addButton);
    side->addWidget(delButton);
    side->addWidget(loadButton_);
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(up);
    arrows->addWidget(down);
    arrows->addStretch(1);
    side->addLayout(arrows);
    side->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(lbProjects_, 1);
    listRow->addLayout(side);

    auto* options = new QGroupBox(QStringLiteral("Optionen"), this);
    cbMakeModified_ =
        new QCheckBox(QStringLiteral("Nur geänderte Projekte berücksichtigen"), options);
    cbMakeModified_->setObjectName(QStringLiteral("cbMakeModified"));
    connect(cbMakeModified_, &QCheckBox::toggled, this,
            [this](bool on) { group_.MakeModified = on; });
    cbIndexMap_ = new QCheckBox(QStringLiteral("Sitemap-Indexdatei erstellen"), options);
    cbIndexMap_->setObjectName(QStringLiteral("cbIndexMap"));
    connect(cbIndexMap_, &QCheckBox::toggled, this, [this](bool on) {
        group_.IndexMap = on;
        UpdateIndexMapControls();
    });
    lbMapFile_ = new QLabel(QStringLiteral("Dateiname:"), options);
    lbMapFile_->setObjectName(QStringLiteral("LBMapFile"));
    edIndexMap_ = new QLineEdit(options);
    edIndexMap_->setObjectName(QStringLiteral("edIndexMap"));
    lbMapFile_->setBuddy(edIndexMap_);
    connect(edIndexMap_, &QLineEdit::textChanged, this,
            [this](const QString& t) { group_.IndexMapFile = PathS(t); });
    sbIndexMap_ = new QToolButton(options);
    sbIndexMap_->setObjectName(QStringLiteral("sbIndexMap"));
    sbIndexMap_->setText(QStringLiteral("..."));
    sbIndexMap_->setToolTip(QStringLiteral("Sitemap-Indexdatei wählen"));
    connect(sbIndexMap_, &QToolButton::clicked, this,
            [this] { RunGuarded(prompts_, this, [this] { ChooseIndexMapFile(); }); });
    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(lbMapFile_);
    mapRow->addWidget(edIndexMap_, 1);
    mapRow->addWidget(sbIndexMap_);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(cbMakeModified_);
    optionsLayout->addWidget(cbIndexMap_);
    optionsLayout->addLayout(mapRow);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(closeButton);

    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menus);
    outer->addWidget(bar);
    auto* listCaption = new QLabel(QStringLiteral("Projekte der Gruppe:"), this);
    listCaption->setBuddy(lbProjects_);
    outer->addWidget(listCaption);
    outer->addLayout(listRow, 1);
    outer->addWidget(options);
    outer->addLayout(bottom);

    // Tab follows the layout: the list, the buttons beside it, the options, "Schließen".
    const QList<QWidget*> order = {lbProjects_, addButton,   delButton,       loadButton_,
                                   up,          down,        cbMakeModified_, cbIndexMap_,
                                   edIndexMap_, sbIndexMap_, closeButton};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    for (QToolButton* b : {up, down}) b->setFocusPolicy(Qt::StrongFocus);
    GiveAccessKeys(this);
}

void TfmProjectGroup::ShowModal() {
    prompts_.Exec(this);
    ReleaseBuildDialog();
}

void TfmProjectGroup::ShowGroup() {
    lbProjects_->clear();
    for (const std::string& p : group_.ProjectList) AddLine(Q(p));
    const QSignalBlocker b1(cbMakeModified_), b2(cbIndexMap_), b3(edIndexMap_);
    cbMakeModified_->setChecked(group_.MakeModified);
    cbIndexMap_->setChecked(group_.IndexMap);
    edIndexMap_->setText(Q(group_.IndexMapFile));
    UpdateIndexMapControls();
    UpdateLoadEnabled();
    UpdateCaption();
}

void TfmProjectGroup::AddLine(const QString& path) {
    auto* item = new QListWidgetItem(path, lbProjects_);
    // Long paths end beyond the list's edge; the tip shows them whole.
    item->setToolTip(path);
}

void TfmProjectGroup::UpdateCaption() {
    setWindowTitle(group_.GroupFileName.empty()
                       ? QStringLiteral("Projektgruppe: [neues Projekt]")
                       : QStringLiteral("Projektgruppe: ") + Q(group_.GroupFileName));
}

void TfmProjectGroup::UpdateIndexMapControls() {
    const bool on = cbIndexMap_->isChecked();
    lbMapFile_->setVisible(on);
    edIndexMap_->setVisible(on);
    sbIndexMap_->setVisible(on);
}

void TfmProjectGroup::UpdateLoadEnabled() {
    const bool one = lbProjects_->selectedItems().size() == 1;
    loadAction_->setEnabled(one);
    loadButton_->setEnabled(one);
}

std::vector<int> TfmProjectGroup::SelectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < lbProjects_->count(); ++i)
        if (lbProjects_->item(i)->isSelected()) rows.push_back(i);
    return rows;
}

void TfmProjectGroup::SelectRows(const std::vector<int>& rows) {
    lbProjects_->clearSelection();
    for (int r : rows)
        if (QListWidgetItem* item = lbProjects_->item(r)) item->setSelected(true);
    UpdateLoadEnabled();
}

bool TfmProjectGroup::AskSaveGroup() {
    if (!group_.GroupModified) return true;
    switch (prompts_.Ask(Over(), QStringLiteral("Projekt-Gruppe vorher speichern?"), true)) {
        case Answer::Yes:
            return FileSaveCommand();
        case Answer::No:
            return true;
        case Answer::Cancel:
            return false;
    }
    return false;
}

void TfmProjectGroup::NewProjectGroup() {
    if (!AskSaveGroup()) return;
    group_.New();
    ShowGroup();
}

void TfmProjectGroup::OpenProjectGroup() {
    if (!AskSaveGroup()) return;
    const QString dir = group_.GroupFileName.empty()
                            ? QString()
                            : QFileInfo(Q(group_.GroupFileName)).absolutePath();
    const QString file =
        prompts_.OpenFile(this, QStringLiteral("Projektgruppe öffnen"), dir, kOpenGroupFilter,
                          kOpenGroupFilter, QStringLiteral("plg"));
    if (file.isEmpty()) return;
    const std::optional<std::string> path = ChosenPath(prompts_, this, file);
    if (!path) return;
    if (!group_.Open(session_.Files(), *path)) {
        prompts_.Message(this,
                         QStringLiteral("Kann Datei ") + file + QStringLiteral(" nicht öffnen"));
        return;
    }
    ShowGroup();
}

bool TfmProjectGroup::FileSaveCommand() {
    if (group_.GroupFileName.empty()) return FileSaveAs();
    const bool saved = group_.FileSave(session_.Files(), session_.Ports());
    const std::vector<int> rows = SelectedRows();
    ShowGroup();
    SelectRows(rows);
    return saved;
}

bool TfmProjectGroup::FileSaveAs() {
    const QString file =
        prompts_.SaveFile(Over(), QStringLiteral("Projektgruppe speichern unter"),
                          Q(group_.GroupFileName), kSaveGroupFilter, QStringLiteral("plg"));
    if (file.isEmpty()) return false;
    const std::optional<std::string> path = ChosenPath(prompts_, Over(), file);
    if (!path) return false;
    group_.GroupFileName = *path;
    const bool saved = group_.FileSave(session_.Files(), session_.Ports());
    const std::vector<int> rows = SelectedRows();
    ShowGroup();
    SelectRows(rows);
    return saved;
}

GroupBuildEnv TfmProjectGroup::Env(const std::function<bool(const std::string&)>& open) {
    return GroupBuildEnv{session_, open, [this] { return FileSaveAs(); },
                         [this] { ShowBuildDialog(); }, [this] { RestoreBuildDialog(); }};
}

void TfmProjectGroup::SetBuilding(bool on) {
    building_ = on;
    // The group and the project it builds must not change under the build; the build dialog,
    // a window of its own, stays usable for "Abbrechen".
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow()) w->setEnabled(!on);
}

void TfmProjectGroup::Make1Execute() {
    if (building_) return;
    const int count = static_cast<int>(group_.ProjectList.size());
    projectNumber_ = 0;
    // Questions and messages of the build belong over this window, not the blocked main one.
    host_.SetParentWidget(this);
    // The build runs on its own thread; what it asks of the windows runs on theirs.
    GroupBuildEnv env = Env([&](const std::string& path) {
        bool opened = false;
        OnGuiThread([&] {
            ++projectNumber_;
            opened = openProject_(Q(path));
            if (make_)
                make_->SetGroupProgress(QStringLiteral("Projekt %1 von %2: %3")
                                            .arg(projectNumber_)
                                            .arg(count)
                                            .arg(Q(path)));
        });
        return opened;
    });
    env.saveGroupAs = [this] {
        bool saved = false;
        OnGuiThread([&] { saved = FileSaveAs(); });
        return saved;
    };
    env.showBuildDialog = [this] { OnGuiThread([this] { ShowBuildDialog(); }); };
    env.restoreBuildDialog = [this] { OnGuiThread([this] { RestoreBuildDialog(); }); };
    const std::vector<int> rows = SelectedRows();
    if (make_) make_->PrepareGroupRun();
    SetBuilding(true);
    GroupOutcome outcome;
    try {
        RunBuildOffGuiThread(
            session_, [this, &env, &outcome] { outcome = pagloom::Make1Execute(group_, env); });
    } catch (...) {
        host_.SetParentWidget(parentWidget());
        if (make_) make_->EndGroupRun();
        SetBuilding(false);
        throw;
    }
    host_.SetParentWidget(parentWidget());
    SetBuilding(false);
    ShowGroup();
    SelectRows(rows);
    if (!session_.Build.PublishAfterBuild || session_.Build.DryRun || !makePublish_) return;
    // Only a group built without a fault is published: a failed page may be missing there.
    if (!outcome.Succeeded()) {
        session_.Build.Report.Add(
            "Die Gruppe wurde nicht fehlerfrei erstellt; nichts wird ver\xF6"
            "ffentlicht.");
        return;
    }
    PublishMembers(false);
}

void TfmProjectGroup::SetPublishDialogMaker(PublishDialogMaker maker) {
    makePublish_ = std::move(maker);
    publishAction_->setEnabled(static_cast<bool>(makePublish_));
}

void TfmProjectGroup::PublishMembers(bool ask) {
    if (building_ || !makePublish_) return;
    const int count = static_cast<int>(group_.ProjectList.size());
    if (count == 0) {
        prompts_.Message(this, QStringLiteral("Die Projektgruppe enthält keine Projekte."));
        return;
    }
    if (ask && prompts_.Ask(this,
                            QStringLiteral("Alle %1 Projekte der Gruppe an ihre Ziele "
                                           "veröffentlichen?\nÜbertragen werden nur neue und "
                                           "geänderte Dateien. Ein Projekt, das Dateien auf "
                                           "dem Server löschen würde, zeigt vorher seinen Plan.")
                                .arg(count),
                            false) != Answer::Yes)
        return;
    std::unique_ptr<PublishDialog> dlg = makePublish_(this);
    dlg->show();
    SetBuilding(true);
    // The members opened into the window's project, one after the other, and published through
    // the dialog; the loop itself is the one pagloom-cli runs.
    class Members final : public GroupMembers {
      public:
        Members(TfmProjectGroup& g, PublishDialog& d, int count) : g_(g), d_(d), count_(count) {}
        bool Open(const std::string& file, PublishTarget& target) override {
            const QString path = Q(file);
            const QString line =
                QStringLiteral("Projekt %1 von %2: %3").arg(++at_).arg(count_).arg(path);
            d_.SetGroupRun(true, line);
            d_.Log(line);
            if (!g_.openProject_(path)) {
                reasons[file] = QStringLiteral("Das Projekt kann nicht geöffnet werden.");
                d_.Log(reasons[file]);
                return false;
            }
            d_.ShowTarget();
            target = g_.session_.project.Publish;
            if (target.protocol.empty()) d_.Log(QStringLiteral("Kein Ziel zum Veröffentlichen."));
            return true;
        }
        PublishResult Publish(const PublishRequest& request) override {
            const std::optional<PublishEnd> end = d_.PublishNow(false);
            // A server key the user trusted belongs into the project, as for a single project.
            if (g_.session_.Modified && !g_.session_.Save())
                d_.Log(QStringLiteral("Das Projekt konnte nicht gespeichert werden."));
            if (!end || *end != PublishEnd::Done) reasons[request.projectFile] = d_.LastProblem();
            PublishResult r;
            r.started = end.has_value();
            if (end) r.end = *end;
            return r;
        }
        int At() const { return at_; }
        std::map<std::string, QString> reasons;

      private:
        TfmProjectGroup& g_;
        PublishDialog& d_;
        int count_, at_ = 0;
    } members(*this, *dlg, count);
    PublishRequest request;
    request.cancel = dlg->CancelFlag();
    MakeReport ignored;  // the dialog logs each member itself
    const GroupPublishOutcome o = PublishGroup(group_.ProjectList, members, request, ignored);
    dlg->SetGroupRun(false);
    SetBuilding(false);

    QString summary = QStringLiteral("Projektgruppe veröffentlicht: %1 von %2 Projekten")
                          .arg(o.published)
                          .arg(count);
    if (o.withoutTarget > 0) summary += QStringLiteral(", %1 ohne Ziel").arg(o.withoutTarget);
    if (!o.failed.empty()) summary += QStringLiteral(", %1 fehlgeschlagen").arg(o.failed.size());
    if (o.cancelled) summary += QStringLiteral(", abgebrochen bei Projekt %1").arg(members.At());
    dlg->Log(QString());
    dlg->Log(summary);
    QStringList list;
    for (const std::string& f : o.failed) {
        list << Q(f) + QStringLiteral(": ") + members.reasons[f];
        dlg->Log(QStringLiteral("Nicht veröffentlicht: ") + list.back());
    }
    if (!o.failed.empty())
        prompts_.Notice(
            dlg.get(), MessageKind::Warning, dlg->windowTitle(),
            QStringLiteral("Nicht alle Projekte der Gruppe wurden veröffentlicht.\n\n") +
                list.join(u'\n'));
    prompts_.Exec(dlg.get());
}

void TfmProjectGroup::ShowBuildDialog() {
    if (make_) make_->BeginGroupRun(this);
}

void TfmProjectGroup::RestoreBuildDialog() {
    if (!make_) return;
    const bool stopped = make_->CancelRequested();
    make_->EndGroupRun();
    make_->SetGroupProgress(
        stopped
            ? QStringLiteral("Projektgruppe abgebrochen bei Projekt %1 von %2")
                  .arg(projectNumber_)
                  .arg(group_.ProjectList.size())
            : QStringLiteral("Projektgruppe erstellt: %1 Projekte").arg(group_.ProjectList.size()));
}

void TfmProjectGroup::ReleaseBuildDialog() {
    if (make_) make_->LeaveGroupMode();
}

void TfmProjectGroup::acVorschauExecute() {
    std::vector<std::string> lines;
    for (int r : SelectedRows()) lines.push_back(PathS(lbProjects_->item(r)->text()));
    GroupBuildEnv env = Env([this](const std::string& path) { return openProject_(Q(path)); });
    host_.SetParentWidget(this);
    const std::optional<std::string> page = PrepareGroupPreview(group_, lines, env);
    host_.SetParentWidget(parentWidget());
    if (page && web_) web_->ShowFile(Q(*page), QStringLiteral("Vorschau: ") + Q(*page), this);
}

void TfmProjectGroup::AddProjects() {
    const QStringList files = prompts_.OpenFiles(this, QStringLiteral("Projekte hinzufügen"),
                                                 QString(), kProjectFilter, QStringLiteral("plp"));
    if (files.isEmpty()) return;
    std::vector<std::string> paths;
    for (const QString& f : files) {
        std::optional<std::string> path = ChosenPath(prompts_, this, f);
        if (!path) return;
        paths.push_back(std::move(*path));
    }
    group_.AddProjects(paths);
    for (const QString& f : files) AddLine(f);
}

void TfmProjectGroup::DeleteSelected() {
    std::vector<std::string> lines;
    for (int r : SelectedRows()) lines.push_back(PathS(lbProjects_->item(r)->text()));
    if (lines.empty()) return;
    group_.DeleteSelected(lines);
    // The list shows the group as it now is, so a line always stands for its own entry.
    ShowGroup();
}

void TfmProjectGroup::MoveUp() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    const std::vector<int> moved = group_.MoveUp(rows);
    ShowGroup();
    SelectRows(moved);
}

void TfmProjectGroup::MoveDown() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    const std::vector<int> moved = group_.MoveDown(rows);
    ShowGroup();
    SelectRows(moved);
}

void TfmProjectGroup::LoadSelectedProject() {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1) return;
    openProject_(lbProjects_->item(rows.front())->text());
    // Accepted: the project just loaded stays in the main window.
    accept();
}

void TfmProjectGroup::ChooseIndexMapFile() {
    const QString file = prompts_.OpenFile(
        this, QStringLiteral("Sitemap-Indexdatei wählen"), edIndexMap_->text(), kIndexFilter,
        kIndexFilter.section(QStringLiteral(";;"), 0, 0), QStringLiteral("xml"));
    if (!file.isEmpty() && ChosenPath(prompts_, this, file)) edIndexMap_->setText(file);
}

void TfmProjectGroup::CloseCommand() { reject(); }

QWidget* TfmProjectGroup::Over() {
    // When the program quits with the window closed, its question stands over the main window.
    return isVisible() ? this : parentWidget();
}

void TfmProjectGroup::done(int result) {
    // Every way of closing ends here; a group build runs to its end first. Closing, by any way
    // but loading a project, leaves the main window a new project instead of the last one the
    // group opened.
    if (building_) {
        // Escape or the close button during a build stop it, as "Abbrechen" does.
        if (make_) make_->CancelBuild();
        return;
    }
    if (!AskSaveGroup()) return;
    if (result == QDialog::Rejected && !newProject_()) return;
    QDialog::done(result);
}

bool TfmProjectGroup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbProjects_ && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RunGuarded(prompts_, this, [this] { DeleteSelected(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pagloom::app
