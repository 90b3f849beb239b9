// SPDX-License-Identifier: MIT
#include "publish/PlanWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "QtText.h"

namespace pagloom::app {
namespace {

const QLocale& German() {
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

QListWidget* FileList(const char* name, const QStringList& lines) {
    auto* list = new QListWidget;
    list->setObjectName(QLatin1String(name));
    list->setUniformItemSizes(true);  // thousands of entries stay quick
    list->addItems(lines);
    return list;
}

}  // namespace

QString FilesText(qint64 count) {
    return German().toString(count) +
           (count == 1 ? QStringLiteral(" Datei") : QStringLiteral(" Dateien"));
}

QString SizeText(std::uint64_t bytes) {
    const double kb = bytes / 1024.0, mb = kb / 1024.0;
    if (bytes < 1024)
        return German().toString(static_cast<qulonglong>(bytes)) + QStringLiteral(" Bytes");
    if (mb < 1) return German().toString(kb, 'f', kb < 100 ? 1 : 0) + QStringLiteral(" KB");
    return German().toString(mb, 'f', mb < 100 ? 1 : 0) + QStringLiteral(" MB");
}

PlanWindow::PlanWindow(const PublishPlan& plan, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PublishPlanDialog"));
    setWindowTitle(QStringLiteral("Veröffentlichen – Plan"));
    int added = 0, changed = 0;
    std::uint64_t bytes = 0;
    QStringList sent, deleted;
    for (const PlannedUpload& u : plan.uploads) {
        ++(u.isNew ? added : changed);
        bytes += u.file.size;
        sent << (u.isNew ? QStringLiteral("neu: ") : QStringLiteral("geändert: ")) + Q(u.name);
    }
    for (const std::string& name : plan.deletions) deleted << Q(name);
    const bool deletes = !plan.deletions.empty();

    auto* summary = new QLabel(QStringLiteral("Zu übertragen: %1 (%2 neu, %3 geändert), %4.\n"
                                              "Auf dem Server zu löschen: %5.\nUnverändert: %6.")
                                   .arg(FilesText(added + changed), German().toString(added),
                                        German().toString(changed), SizeText(bytes),
                                        FilesText(static_cast<qint64>(plan.deletions.size())),
                                        FilesText(plan.counts.unchanged)));
    summary->setObjectName(QStringLiteral("lbPlan"));
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    if (deletes) {
        // The limits the run would otherwise refuse at; the window's yes lifts them.
        const int limit = plan.options.maxDelete;
        QString warning = QStringLiteral("%1 auf dem Server zu löschen (Grenze: %2)")
                              .arg(FilesText(static_cast<qint64>(plan.deletions.size())),
                                   German().toString(limit));
        if (plan.OverDeleteLimit()) warning += QStringLiteral(" – mehr als die Grenze");
        warning += u'.';
        if (plan.manyDeletions)
            warning += QStringLiteral(" Das ist mehr als die Hälfte der %1 am Ziel.")
                           .arg(FilesText(static_cast<qint64>(plan.manifest.files.size())));
        warning += QStringLiteral(
            "\nPrüfen Sie die Liste: Fehlen die Dateien nur, weil die Website nicht vollständig "
            "erstellt ist, veröffentlichen Sie ohne Löschen.");
        auto* limits = new QLabel(warning);
        limits->setObjectName(QStringLiteral("lbLoeschgrenze"));
        limits->setWordWrap(true);
        if (plan.OverDeleteLimit() || plan.manyDeletions)
            limits->setStyleSheet(QStringLiteral("color: #a00000;"));
        layout->addWidget(limits);
    }
    auto* sentLabel = new QLabel(QStringLiteral("Zu ü&bertragen:"));
    QListWidget* sentList = FileList("lwUebertragen", sent);
    sentLabel->setBuddy(sentList);
    layout->addWidget(sentLabel);
    layout->addWidget(sentList, 1);
    if (deletes) {
        auto* deletedLabel = new QLabel(QStringLiteral("Auf dem Server zu &löschen:"));
        QListWidget* deletedList = FileList("lwLoeschen", deleted);
        deletedLabel->setBuddy(deletedList);
        layout->addWidget(deletedLabel);
        layout->addWidget(deletedList, 1);
    }

    auto* publish = new QPushButton(QStringLiteral("&Veröffentlichen"));
    publish->setObjectName(QStringLiteral("btPlanVeroeffentlichen"));
    auto* withoutDeleting = new QPushButton(QStringLiteral("&Ohne Löschen veröffentlichen"));
    withoutDeleting->setObjectName(QStringLiteral("btPlanOhneLoeschen"));
    withoutDeleting->setVisible(deletes);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"));
    cancel->setObjectName(QStringLiteral("btPlanAbbrechen"));
    QPushButton* safe = deletes ? withoutDeleting : publish;
    safe->setDefault(true);
    safe->setFocus();
    connect(publish, &QPushButton::clicked, this, &QDialog::accept);
    connect(withoutDeleting, &QPushButton::clicked, this, [this] { done(kWithoutDeletions); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(publish);
    buttons->addWidget(withoutDeleting);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(600, deletes ? 560 : 440);
}

PlanAnswer PlanWindow::AnswerOf(int code) {
    if (code == QDialog::Accepted) return PlanAnswer::Publish;
    if (code == kWithoutDeletions) return PlanAnswer::WithoutDeletions;
    return PlanAnswer::Cancel;
}

}  // namespace pagloom::app
