// SPDX-License-Identifier: MIT
// Captures the code wizard as PNG files: with two fields chosen side by side, and as a table
// with a head row. Run under a real X server:
//   xvfb-run -a build/bin/pagloom-codewizard-screenshot OUTPUT_DIR
// With --hand the wizard opens for real (no pictures) and waits for a person or xdotool.
#include <QDir>
#include <QEventLoop>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "AppTestSupport.h"
#include "ToolSupport.h"
#include "tables/TfmTabCodeWizard.h"

using namespace pagloom;
using namespace pagloom::app;
using namespace pagloom::app::test;
using namespace pagloom::app::tools;

namespace {

Project Catalogue() {
    Project p;
    p.PrjParams.TableKind[ContentSlot::mainmenu] = kCsvTable;
    p.Tables.Slot[ContentSlot::mainmenu].fields = {"Bereich", "Gruppe",  "Pflanze",
                                                   "Preis",   "Hinweis", "Bestellnummer"};
    p.Tables.Slot[ContentSlot::mainmenu].template_file = "bereich.tpl";
    return p;
}

void Choose(QDialog* d, const QStringList& names) {
    auto* src = d->findChild<QListWidget*>(QStringLiteral("lbFieldSrc"));
    src->clearSelection();
    for (const QString& n : names) src->findItems(n, Qt::MatchExactly).first()->setSelected(true);
    d->findChild<QPushButton*>(QStringLiteral("IncludeBtn"))->click();
}

void Grab(QDialog* d, const QString& file) {
    Settle(300);
    if (!d->grab().save(file)) qWarning("cannot write %s", qPrintable(file));
}

}  // namespace

int main(int argc, char* argv[]) {
    ToolApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        qWarning("usage: pagloom-codewizard-screenshot OUTPUT_DIR | --hand");
        return 64;
    }
    if (args.at(1) == QStringLiteral("--hand")) {
        UiPrompts prompts;
        TfmTabCodeWizard wizard(prompts);
        wizard.OpenFor(Catalogue(), ContentSlot::mainmenu);
        return 0;
    }
    const QString out = args.at(1);
    QDir().mkpath(out);

    ScriptedPrompts prompts;
    TfmTabCodeWizard wizard(prompts);
    prompts.onExec = [&](QDialog* d) {
        d->show();
        Settle(300);
        Grab(d, out + QStringLiteral("/codewizard-empty.png"));
        Choose(d, {QStringLiteral("Preis")});
        Choose(d, {QStringLiteral("Pflanze")});
        d->findChild<QComboBox*>(QStringLiteral("cbFieldSplit"))->setCurrentIndex(1);
        Grab(d, out + QStringLiteral("/codewizard-fields.png"));
        d->findChild<QGroupBox*>(QStringLiteral("rgCodeType"))
            ->findChildren<QRadioButton*>()
            .at(4)
            ->click();
        auto* head = d->findChild<QComboBox*>(QStringLiteral("cbTabHead"));
        head->setCurrentIndex(1);
        emit head->activated(1);
        Grab(d, out + QStringLiteral("/codewizard-table.png"));
        d->hide();
        return int(QDialog::Rejected);
    };
    wizard.OpenFor(Catalogue(), ContentSlot::mainmenu);
    return 0;
}
