// SPDX-License-Identifier: MIT
#include "LinkCheckWindow.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <memory>

#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"

namespace pagloom::app {

void LinkProblemModel::SetProblems(std::vector<LinkProblem> problems) {
    beginResetModel();
    problems_ = std::move(problems);
    endResetModel();
}

int LinkProblemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(problems_.size());
}

QVariant LinkProblemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole ||
        static_cast<size_t>(index.row()) >= problems_.size())
        return {};
    // Made when a line is shown: a long list costs only the lines in view.
    return Q(LinkProblemText(problems_[static_cast<size_t>(index.row())]));
}

LinkCheckWindow::LinkCheckWindow(ProjectSession& session, UiPrompts& prompts,
                                 std::function<void(const QString&)> openPage, QWidget* parent)
    : QDialog(parent), session_(session), prompts_(prompts), openPage_(std::move(openPage)) {
    setObjectName(QStringLiteral("LinkCheckWindow"));
    setWindowTitle(QStringLiteral("Links prüfen"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("LinkCheckSummary"));
    summary_->setWordWrap(true);
    model_ = new LinkProblemModel(this);
    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("LinkCheckList"));
    list_->setModel(model_);
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setToolTip(QStringLiteral("Doppelklick zeigt die Seite in der Vorschau"));
    connect(list_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenRow(index.row()); });
    again_ = new QPushButton(QStringLiteral("Erneut prüfen"), this);
    again_->setObjectName(QStringLiteral("LinkCheckAgain"));
    connect(again_, &QPushButton::clicked, this, &LinkCheckWindow::Check);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("LinkCheckClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(again_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(640, 420);
}

LinkCheckWindow::~LinkCheckWindow() {
    // The check reads through the session's file system, which outlives this window.
    if (!thread_) return;
    thread_->wait();
    delete thread_;
}

void LinkCheckWindow::Check() {
    if (Checking()) return;
    model_->SetProblems({});
    const std::string dest = session_.Build.Destination;
    destination_ = Q(dest);
    if (dest.empty()) {
        summary_->setText(QStringLiteral("Kein Zielverzeichnis angegeben."));
        prompts_.Message(this, QStringLiteral("Sie haben kein Zielverzeichnis angegeben!"));
        return;
    }
    if (!session_.Files().DirectoryExists(dest)) {
        summary_->setText(QStringLiteral("Das Zielverzeichnis fehlt."));
        prompts_.Message(this, QStringLiteral("Das Verzeichnis ") + destination_ +
                                   QStringLiteral(" existiert nicht!"));
        return;
    }
    // What to read is taken from the project here, on the window thread; the thread reads only
    // files.
    auto site = std::make_shared<LinkCheckSite>(LinkCheckSiteFor(session_.project, dest));
    auto found = std::make_shared<std::vector<LinkProblem>>();
    FileSystem& files = session_.Files();
    thread_ = QThread::create([site, found, &files] { *found = CheckLinks(files, *site); });
    connect(thread_, &QThread::finished, this, [this, found] {
        thread_->deleteLater();
        thread_ = nullptr;
        Finished(std::move(*found));
    });
    summary_->setText(QStringLiteral("Prüfe die Verweise in %1 …").arg(destination_));
    again_->setEnabled(false);
    thread_->start();
}

void LinkCheckWindow::Finished(std::vector<LinkProblem> problems) {
    again_->setEnabled(true);
    const size_t count = problems.size();
    model_->SetProblems(std::move(problems));
    summary_->setText(count == 0
                          ? QStringLiteral("Keine fehlerhaften Verweise in %1.").arg(destination_)
                          : QStringLiteral("%1 Befunde in %2 (Doppelklick öffnet die Seite):")
                                .arg(count)
                                .arg(destination_));
}

void LinkCheckWindow::OpenRow(int row) {
    const std::vector<LinkProblem>& problems = model_->Problems();
    if (row < 0 || row >= static_cast<int>(problems.size()) || !openPage_) return;
    openPage_(QDir(destination_).filePath(Q(problems[static_cast<size_t>(row)].page)));
}

}  // namespace pagloom::app
