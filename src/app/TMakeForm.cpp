// SPDX-License-Identifier: MIT
#include "TMakeForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "KeyboardUse.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "generator/BuildDriver.h"

namespace pagloom::app {
namespace {

// How often a running build lets the window repaint; often enough to look alive, rare
// enough that a build of thousands of files is not slowed by painting.
constexpr int kRepaintMs = 60;

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
    log_ = new QPlainTextEdit(page);
    log_->setObjectName(QStringLiteral("MakeReport"));
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    progress_ = new QLabel(page);
    progress_->setObjectName(QStringLiteral("MakeProgress"));

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
    pageLayout->addWidget(log_, 1);
    pageLayout->addWidget(progress_);

    start_ = new QPushButton(QStringLiteral("Start"), this);
    start_->setObjectName(QStringLiteral("MakeStart"));
    start_->setDefault(true);
    close_ = new QPushButton(QStringLiteral("Schließen"), this);
    close_->setObjectName(QStringLiteral("MakeAbbruch"));
    connect(start_, &QPushButton::clicked, this, &TMakeForm::MakeStartClick);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(close_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(pages, 1);
    outer->addLayout(buttons);

    setTabOrder(ziel_, pick);
    setTabOrder(pick, overwrite_);
    setTabOrder(overwrite_, dryRun_);
    setTabOrder(dryRun_, log_);
    setTabOrder(log_, start_);
    setTabOrder(start_, close_);
    GiveAccessKeys(this);
    resize(640, 480);

    session_.Build.Report.SetLineCallback([this](const std::string& line) { AppendLine(line); });
}

TMakeForm::~TMakeForm() { session_.Build.Report.SetLineCallback({}); }

void TMakeForm::ShowState() {
    ziel_->setText(Q(session_.Build.Destination));
    overwrite_->setVisible(session_.Build.RegionOverwriteVisible);
    overwrite_->setChecked(session_.Build.RegionOverwrite);
    dryRun_->setChecked(session_.Build.DryRun);
    // Lines logged while the dialog was not shown (a group build) appear now.
    const auto& lines = session_.Build.Report.Lines();
    for (size_t i = shownLines_; i < lines.size(); ++i) pending_ << Q(lines[i]);
    shownLines_ = lines.size();
    FlushLog(false);
}

void TMakeForm::ShowModal() {
    session_.PresetRegionChoice();
    ShowState();
    progress_->clear();
    prompts_.Exec(this);
}

void TMakeForm::AppendLine(const std::string& line) {
    pending_ << Q(line);
    shownLines_ = session_.Build.Report.Lines().size();
    if (line.size() >= 3 && line.compare(line.size() - 3, 3, "...") == 0) ++filesThisBuild_;
    if (!building_ && !groupRunning_) {
        FlushLog(false);
    } else if (!sinceFlush_.isValid() || sinceFlush_.elapsed() >= kRepaintMs) {
        FlushLog(true);
    }
}

void TMakeForm::FlushLog(bool keepAlive) {
    if (!pending_.isEmpty()) {
        log_->appendPlainText(pending_.join(u'\n'));
        pending_.clear();
        log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    }
    if (building_) progress_->setText(ProgressText());
    if (keepAlive) {
        // Repaint only: the build runs to its end without user input, as a modal step.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    sinceFlush_.restart();
}

void TMakeForm::MakeStartClick() {
    if (building_) return;
    building_ = true;
    filesThisBuild_ = 0;
    failedBefore_ = session_.Build.Report.FailedFiles();
    start_->setEnabled(false);
    close_->setEnabled(false);
    sinceFlush_.invalidate();
    plan_.reset();
    skipped_ = 0;
    try {
        const BuildOutcome outcome = session_.MakeStart();
        if (outcome.started && outcome.dryRun) plan_ = outcome.plan;
        skipped_ = outcome.record.Count(FileFate::Skipped);
    } catch (const std::exception& e) {
        prompts_.Message(this, QStringLiteral("Fehler beim Erstellen: ") + Q(e.what()));
    } catch (...) {
        prompts_.Message(this, QStringLiteral("Fehler beim Erstellen."));
    }
    FlushLog(false);
    building_ = false;
    progress_->setText(ProgressText());
    start_->setEnabled(true);
    close_->setEnabled(true);
}

QString TMakeForm::ProgressText() const {
    if (plan_ && !building_) return Q(PlanSummary(*plan_));
    QString done = QStringLiteral("Bearbeitete Dateien: %1").arg(filesThisBuild_);
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
    // Each project of the group builds into its own destination; the field only shows it.
    ziel_->setEnabled(false);
    pickZiel_->setEnabled(false);
    FlushLog(false);
    if (isVisible()) return;
    home_ = parentWidget();
    setParent(over, windowFlags());
    start_->hide();
    overwrite_->setEnabled(false);
    progress_->clear();
    show();
}

void TMakeForm::SetGroupProgress(const QString& line) {
    ziel_->setText(Q(session_.Build.Destination));
    progress_->setText(line);
    FlushLog(false);
}

void TMakeForm::EndGroupRun() {
    groupRunning_ = false;
    ziel_->setEnabled(true);
    pickZiel_->setEnabled(true);
    FlushLog(false);
    overwrite_->setVisible(false);
    overwrite_->setEnabled(true);
}

void TMakeForm::LeaveGroupMode() {
    start_->show();
    close();
    if (home_ && parentWidget() != home_) setParent(home_, windowFlags());
    home_ = nullptr;
}

void TMakeForm::closeEvent(QCloseEvent* event) {
    if (building_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TMakeForm::reject() {
    if (!building_) QDialog::reject();
}

}  // namespace pagloom::app
