// SPDX-License-Identifier: MIT
#include "LinkCheckWindow.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"

namespace pagloom::app {

LinkCheckWindow::LinkCheckWindow(ProjectSession& session, UiPrompts& prompts,
                                 std::function<void(const QString&)> openPage, QWidget* parent)
    : QDialog(parent), session_(session), prompts_(prompts), openPage_(std::move(openPage)) {
    setObjectName(QStringLiteral("LinkCheckWindow"));
    setWindowTitle(QStringLiteral("Links prüfen"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("LinkCheckSummary"));
    summary_->setWordWrap(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("LinkCheckList"));
    list_->setToolTip(QStringLiteral("Doppelklick zeigt die Seite in der Vorschau"));
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenRow(list_->row(item)); });
    auto* again = new QPushButton(QStringLiteral("Erneut prüfen"), this);
    again->setObjectName(QStringLiteral("LinkCheckAgain"));
    connect(again, &QPushButton::clicked, this, &LinkCheckWindow::Check);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("LinkCheckClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(again);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(640, 420);
}

void LinkCheckWindow::Check() {
    list_->clear();
    problems_.clear();
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
    problems_ = CheckLinks(session_.Files(), LinkCheckSiteFor(session_.project, dest));
    for (const LinkProblem& p : problems_) list_->addItem(Q(LinkProblemText(p)));
    summary_->setText(problems_.empty()
                          ? QStringLiteral("Keine fehlerhaften Verweise in %1.").arg(destination_)
                          : QStringLiteral("%1 Befunde in %2 (Doppelklick öffnet die Seite):")
                                .arg(problems_.size())
                                .arg(destination_));
}

void LinkCheckWindow::OpenRow(int row) {
    if (row < 0 || row >= static_cast<int>(problems_.size()) || !openPage_) return;
    openPage_(QDir(destination_).filePath(Q(problems_[static_cast<size_t>(row)].page)));
}

}  // namespace pagloom::app
