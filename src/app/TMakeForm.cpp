// SPDX-License-Identifier: MIT
#include "TMakeForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "BuildThread.h"
#include "KeyboardUse.h"
#include "LogView.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "generator/BuildDriver.h"

namespace pagloom::app {
namespace {

// How often a running build's log and progress are shown; often enough to look alive, rare
// enough that appending to the log costs little beside the build.
constexpr int kTickMs = 50;

bool NamesAFile(const std::string& line) {
    return line.size() >= 3 && line.compare(line.size() - 3, 3, "...") == 0;
}

}  // namespace

TMakeForm::TMakeForm(ProjectSession& session, UiPrompts& prompts, AppHost& host, QWidget* parent)
    : QDialog(parent), session_(session), prompts_(prompts), host_(host) {
    setObjectName(QStringLiteral("TMakeForm"));
    setWindowTitle(QStringLiteral("Erstellen"));
    auto* pages = new QTabWidget(this);
    auto* page = new QWidget(pages);
    pages->addTab(page, QStringLiteral("Projekt erstellen"));

    ziel_ = new QLineEdit(page);
    ziel_->setObjectName(QStringLiteral("MakeZielEdit"));
    ziel_->setStatusTip(QStringLiteral("Ordner, in den dieser Erstellungslauf schreibt"));
    connect(ziel_, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.Build.Destination = S(t); });
    auto* pick = pickZiel_ = new QToolButton(page);
    pick->setObjectName(QStringLiteral("SpeedButtonZiel"));
    pick->setText(QStringLiteral("..."));
    pick->setToolTip(QStringLiteral("Zielverzeichnis wählen"));
    connect(pick, &QToolButton::clicked, this, &TMakeForm::SpeedButtonZielClick);
    overwrite_ = new QCheckBox(QStringLiteral("Bearbeitbare Bereiche überschreiben "), page);
    overwrite_->setObjectName(QStringLiteral("CBBeBeOverwrite"));
    overwrite_->setToolTip(QStringLiteral(
        "Aus: der Inhalt der bearbeitbaren Bereiche vorhandener Seiten bleibt erhalten"));
    connect(overwrite_, &QCheckBox::toggled, this,
            [this](bool on) { session_.Build.RegionOverwrite = on; });
    dryRun_ = new QCheckBox(QStringLiteral("Nur prüfen, nichts schreiben"), page);
    dryRun_->setObjectName(QStringLiteral("CBNurPruefen"));
    dryRun_->setToolTip(
        QStringLiteral("Der Lauf meldet für jede Datei, ob sie neu, geändert, unverändert oder "
                       "nicht schreibbar wäre, und schreibt nichts"));
    connect(dryRun_, &QCheckBox::toggled, this, [this](bool on) { session_.Build.DryRun = on; });
    publishAfter_ = new QCheckBox(QStringLiteral("Nach dem Erstellen veröffentlichen"), page);
    publishAfter_->setObjectName(QStringLiteral("CBVeroeffentlichen"));
    publishAfter_->setToolTip(
        QStringLiteral("Nach einem fehlerfreien Lauf die Website an das Ziel des Projekts "
                       "übertragen (bei einer Projektgruppe jedes Projekt an sein Ziel)"));
    connect(publishAfter_, &QCheckBox::toggled, this,
            [this](bool on) { session_.Build.PublishAfterBuild = on; });
    // The user's choice belongs to the project (one site is published after each build, another
    // never); a group's run applies it to the group and leaves its members as they are.
    connect(publishAfter_, &QCheckBox::clicked, this, [this](bool on) {
        if (groupRunning_ || session_.project.Publish.publishAfterBuild == on) return;
        session_.project.Publish.publishAfterBuild = on;
        session_.Modified = true;
    });
    log_ = new LogView(page);
    log_->setObjectName(QStringLiteral("MakeReport"));
    progress_ = new QLabel(page);
    progress_->setObjectName(QStringLiteral("MakeProgress"));
    bar_ = new QProgressBar(page);
    bar_->setObjectName(QStringLiteral("MakeProgressBar"));
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    ticker_ = new QTimer(this);
    ticker_->setInterval(kTickMs);
    connect(ticker_, &QTimer::timeout, this, &TMakeForm::Tick);

    auto* zielRow = new QHBoxLayout;
    auto* zielLabel = new QLabel(QStringLiteral("Zielverzeichnis:"), page);
    zielLabel->setBuddy(ziel_);
    zielRow->addWidget(zielLabel);
    zielRow->addWidget(ziel_, 1);
    zielRow->addWidget(pick);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(zielRow);
    pageLayout->addWidget(overwrite_);
    pageLayout->addWidget(dryRun_);
    pageLayout->addWidget(publishAfter_);
    pageLayout->addWidget(log_, 1);
    pageLayout->addWidget(progress_);
    pageLayout->addWidget(bar_);

    start_ = new QPushButton(QStringLiteral("Start"), this);
    start_->setObjectName(QStringLiteral("MakeStart"));
    start_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel_->setObjectName(QStringLiteral("MakeCancel"));
    cancel_->setToolTip(
        QStringLiteral("Den laufenden Erstellungslauf nach der Datei beenden, die gerade "
                       "geschrieben wird"));
    cancel_->setEnabled(false);
    close_ = new QPushButton(QStringLiteral("Schließen"), this);
    close_->setObjectName(QStringLiteral("MakeAbbruch"));
    connect(start_, &QPushButton::clicked, this, &TMakeForm::MakeStartClick);
    connect(cancel_, &QPushButton::clicked, this, &TMakeForm::CancelBuild);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(close_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(pages, 1);
    outer->addLayout(buttons);

    setTabOrder(ziel_, pick);
    setTabOrder(pick, overwrite_);
    setTabOrder(overwrite_, dryRun_);
    setTabOrder(dryRun_, publishAfter_);
    setTabOrder(publishAfter_, log_);
    setTabOrder(log_, start_);
    setTabOrder(start_, cancel_);
    setTabOrder(cancel_, close_);
    GiveAccessKeys(this);
    resize(640, 480);

    session_.Build.Report.SetLineCallback([this](const std::string& line) { AppendLine(line); });
    session_.Build.Watch = &watch_;
}

TMakeForm::~TMakeForm() {
    session_.Build.Report.SetLineCallback({});
    if (session_.Build.Watch == &watch_) session_.Build.Watch = nullptr;
}

void TMakeForm::ShowState() {
    ziel_->setText(Q(session_.Build.Destination));
    overwrite_->setVisible(session_.Build.RegionOverwriteVisible);
    overwrite_->setChecked(session_.Build.RegionOverwrite);
    dryRun_->setChecked(session_.Build.DryRun);
    publishAfter_->setChecked(session_.Build.PublishAfterBuild);
    FlushLog();
    // Lines logged without passing the callback appear now.
    const auto& lines = session_.Build.Report.Lines();
    QStringList missed;
    for (size_t i = shownLines_; i < lines.size(); ++i) missed << Q(lines[i]);
    log_->AppendLines(missed);
    shownLines_ = lines.size();
}

void TMakeForm::ShowModal() {
    session_.PresetRegionChoice();
    session_.Build.PublishAfterBuild = session_.project.Publish.publishAfterBuild;
    ShowState();
    progress_->clear();
    prompts_.Exec(this);
}

void TMakeForm::AppendLine(const std::string& line) {
    {
        const std::lock_guard<std::mutex> lock(handOver_);
        incoming_.push_back(line);
        // Read on the thread that adds the lines, so never beside a writer.
        loggedLines_ = session_.Build.Report.Lines().size();
        if (NamesAFile(line)) ++filesThisBuild_;
    }
    // Outside a run (a line logged by a window) it shows at once; a run's ticker shows the rest.
    if (QThread::currentThread() == thread() && !Building()) FlushLog();
}

void TMakeForm::FlushLog() {
    std::vector<std::string> lines;
    {
        const std::lock_guard<std::mutex> lock(handOver_);
        lines.swap(incoming_);
        shownLines_ = loggedLines_;
    }
    if (lines.empty()) return;
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& l : lines) text << Q(l);
    log_->AppendLines(text);
}

void TMakeForm::Tick() {
    FlushLog();
    const int done = watch_.filesDone.load();
    const int total = watch_.filesTotal.load();
    QString line = total > 0 ? QStringLiteral("Datei %1 von %2").arg(done).arg(total)
                             : QStringLiteral("Datei %1").arg(done);
    if (!groupLine_.isEmpty()) line = groupLine_ + QStringLiteral(" – ") + line;
    if (watch_.cancelRequested) line += QStringLiteral(" – wird abgebrochen …");
    progress_->setText(line);
    bar_->setRange(0, std::max({total, done, 1}));
    bar_->setValue(done);
}

void TMakeForm::SetRunning(bool on) {
    // What would change the running build or the project it reads.
    for (QWidget* w : {static_cast<QWidget*>(ziel_), static_cast<QWidget*>(pickZiel_),
                       static_cast<QWidget*>(overwrite_), static_cast<QWidget*>(dryRun_),
                       static_cast<QWidget*>(publishAfter_), static_cast<QWidget*>(start_),
                       static_cast<QWidget*>(close_)})
        w->setEnabled(!on);
    cancel_->setEnabled(on);
    if (on) {
        cancelled_ = false;
        bar_->setRange(0, 1);
        bar_->setValue(0);
        // Keyboard focus must not rest on a control that was just disabled.
        if (isVisible()) cancel_->setFocus(Qt::OtherFocusReason);
        Tick();
        ticker_->start();
    } else {
        ticker_->stop();
        Tick();
        if (cancel_->hasFocus() && start_->isVisible()) start_->setFocus(Qt::OtherFocusReason);
    }
}

void TMakeForm::CancelBuild() {
    if (!Building()) return;
    watch_.cancelRequested = true;
    cancel_->setEnabled(false);
    Tick();
}

void TMakeForm::MakeStartClick() {
    if (Building()) return;
    building_ = true;
    {
        const std::lock_guard<std::mutex> lock(handOver_);
        filesThisBuild_ = 0;
    }
    failedBefore_ = session_.Build.Report.FailedFiles();
    plan_.reset();
    skipped_ = 0;
    groupLine_.clear();
    watch_.Reset();
    SetRunning(true);
    std::optional<BuildOutcome> outcome;
    try {
        RunBuildOffGuiThread(session_, [this, &outcome] { outcome = session_.MakeStart(); });
    } catch (const std::exception& e) {
        prompts_.Message(this, QStringLiteral("Fehler beim Erstellen: ") + Q(e.what()));
    } catch (...) {
        prompts_.Message(this, QStringLiteral("Fehler beim Erstellen."));
    }
    if (outcome) {
        if (outcome->started && outcome->dryRun) plan_ = outcome->plan;
        skipped_ = outcome->record.Count(FileFate::Skipped);
    }
    building_ = false;
    SetRunning(false);
    cancelled_ = outcome && outcome->cancelled;
    progress_->setText(ProgressText());
    if (!session_.Build.PublishAfterBuild || session_.Build.DryRun || !outcome || !outcome->started)
        return;
    // Only a site built without a fault is published: a failed page may be missing there.
    if (!outcome->Succeeded() || cancelled_) {
        session_.Build.Report.Add(
            "Die Website wurde nicht fehlerfrei erstellt; nichts wird ver\xF6"
            "ffentlicht.");
        return;
    }
    if (publish_) publish_();
}

QString TMakeForm::ProgressText() const {
    if (plan_ && !building_)
        return Q(PlanSummary(*plan_)) + (cancelled_ ? QStringLiteral(" (abgebrochen)") : QString());
    QString done = QStringLiteral("Bearbeitete Dateien: %1").arg(filesThisBuild_);
    if (cancelled_) done += QStringLiteral(" (abgebrochen)");
    const int failed = session_.Build.Report.FailedFiles() - failedBefore_;
    if (failed > 0) done += QStringLiteral(", davon fehlerhaft: %1").arg(failed);
    // Pages the overwrite setting kept may be stale; the log does not list them.
    if (skipped_ > 0 && !building_)
        done += QStringLiteral(", %1 übersprungen (Überschreiben ist aus)").arg(skipped_);
    return done;
}

void TMakeForm::SpeedButtonZielClick() {
    const QString chosen =
        ChooseDestinationFolder(prompts_, this, Q(session_.Settings().files.destination_directory),
                                QCoreApplication::applicationDirPath());
    if (chosen.isEmpty()) return;
    session_.Build.Destination = S(chosen);
    ziel_->setText(chosen);
}

void TMakeForm::BeginGroupRun(QWidget* over) {
    groupRunning_ = true;
    groupLine_.clear();
    SetRunning(true);
    FlushLog();
    if (isVisible()) return;
    home_ = parentWidget();
    setParent(over, windowFlags());
    start_->hide();
    progress_->clear();
    show();
    cancel_->setFocus(Qt::OtherFocusReason);
}

void TMakeForm::SetGroupProgress(const QString& line) {
    ziel_->setText(Q(session_.Build.Destination));
    groupLine_ = line;
    if (groupRunning_) {
        Tick();
    } else {
        FlushLog();
        progress_->setText(line);
    }
}

void TMakeForm::EndGroupRun() {
    groupRunning_ = false;
    groupLine_.clear();
    SetRunning(false);
    FlushLog();
    overwrite_->setVisible(false);
    // Starting a single build stays for when the group window is closed.
    start_->setEnabled(true);
}

void TMakeForm::LeaveGroupMode() {
    start_->show();
    close();
    if (home_ && parentWidget() != home_) setParent(home_, windowFlags());
    home_ = nullptr;
}

void TMakeForm::closeEvent(QCloseEvent* event) {
    if (Building()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TMakeForm::reject() {
    // Escape during a build is "Abbrechen"; the dialog closes only when no build runs.
    if (Building())
        CancelBuild();
    else
        QDialog::reject();
}

}  // namespace pagloom::app
