// SPDX-License-Identifier: MIT
#include "TFileSelectDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "UiPrompts.h"

namespace pagloom::app {

TFileSelectDlg::TFileSelectDlg(UiPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("TFileSelectDlg"));
    setWindowTitle(QStringLiteral("Dateiauswahl"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("FileListBox1"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        list_->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(360, 420);
}

void TFileSelectDlg::SetDirectory(const QString& dir) { dir_ = dir; }

void TFileSelectDlg::SetMultiSelect(bool multi) {
    list_->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                                  : QAbstractItemView::SingleSelection);
}

void TFileSelectDlg::Relist() {
    list_->clear();
    if (dir_.isEmpty()) return;
    const QStringList names = QDir(dir_).entryList(QDir::Files, QDir::Name);
    list_->addItems(names);
}

QStringList TFileSelectDlg::Selected() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->isSelected()) out << list_->item(i)->text();
    return out;
}

std::optional<QString> TFileSelectDlg::ChooseOne(const QString& current) {
    Relist();
    if (!current.isEmpty()) {
        const QList<QListWidgetItem*> found = list_->findItems(current, Qt::MatchExactly);
        if (!found.isEmpty()) {
            list_->setCurrentItem(found.first(), QItemSelectionModel::ClearAndSelect);
            list_->scrollToItem(found.first());
        }
    }
    if (prompts_.Exec(this) != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = Selected();
    return chosen.isEmpty() ? QString() : chosen.first();
}

std::optional<QStringList> TFileSelectDlg::ChooseMany() {
    Relist();
    if (prompts_.Exec(this) != QDialog::Accepted) return std::nullopt;
    return Selected();
}

}  // namespace pagloom::app
