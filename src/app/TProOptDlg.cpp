// SPDX-License-Identifier: MIT
#include "TProOptDlg.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "FieldTracker.h"
#include "ProjectSession.h"
#include "UiPrompts.h"
#include "WindowPlacement.h"
#include "model/ContentPageRules.h"
#include "model/TWebMenu.h"
#include "options/BottomFramePage.h"
#include "options/ContentPage.h"
#include "options/FirstPagePage.h"
#include "options/FrameSetPage.h"
#include "options/JavascriptPage.h"
#include "options/MenuFramePage.h"
#include "options/SitemapPage.h"
#include "options/StylesheetPage.h"
#include "options/TablesPage.h"
#include "options/TopFramePage.h"

namespace pagloom::app {
namespace {

// Main entries and sub-menu entries together.
int EntryCount(const TWebMenu& menu) {
    int n = menu.Count();
    for (int i = 0; i < menu.Count(); ++i)
        if (const TWebMenu* sub = menu.Item(i).SubMenu.get()) n += sub->Count();
    return n;
}

}  // namespace

TProOptDlg::TProOptDlg(ProjectSession& session, FieldTracker& tracker, UiPrompts& prompts,
                       std::function<QString()> templateDir, QWidget* parent)
    : QDialog(parent), session_(session), tracker_(tracker), prompts_(prompts), binder_(tracker) {
    setObjectName(QStringLiteral("TProOptDlg"));
    setWindowTitle(QStringLiteral("Optionen"));

    pages_ = new QTabWidget(this);
    // The dialog opens wide enough for all ten captions (see ShowModal); on a screen too narrow
    // for that the row scrolls rather than cutting or widening past the main window.
    pages_->setUsesScrollButtons(true);
    pages_->setElideMode(Qt::ElideNone);
    pages_->addTab(new FrameSetPage(binder_, session_, pages_), QStringLiteral("FrameSet"));
    pages_->addTab(new StylesheetPage(binder_, session_, pages_), QStringLiteral("Stylesheet"));
    pages_->addTab(new JavascriptPage(binder_, session_, pages_), QStringLiteral("Javascript"));
    pages_->addTab(new MenuFramePage(binder_, session_, pages_), QStringLiteral("Menueframe"));
    pages_->addTab(new TopFramePage(binder_, session_, pages_), QStringLiteral("Oberer Frame"));
    pages_->addTab(new BottomFramePage(binder_, session_, pages_), QStringLiteral("Unterer Frame"));
    pages_->addTab(new FirstPagePage(binder_, session_, pages_), QStringLiteral("Erste Seite"));
    contentPage_ = new ContentPage(binder_, session_, prompts_, std::move(templateDir), pages_);
    pages_->addTab(contentPage_, QStringLiteral("Inhalts-Seiten"));
    pages_->addTab(new SitemapPage(binder_, session_, pages_), QStringLiteral("Sitemap"));
    pages_->addTab(new TablesPage(binder_, session_, pages_), QStringLiteral("Tabellen"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &TProOptDlg::OkClick);
    connect(cancel, &QPushButton::clicked, this, &TProOptDlg::AbbruchClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(pages_, 1);
    outer->addLayout(buttons);

    RefreshFromModel();
}

void TProOptDlg::RefreshFromModel() { binder_.Refresh(); }

void TProOptDlg::ShowModal() {
    RefreshFromModel();
    snapshot_ = OptionsSnapshot(session_.project, session_.Modified);
    tablePagesWhenOpened_ = session_.Settings().TablesDrive();
    // As wide as the row of tabs with every caption whole, no wider than the main window, and
    // over it.
    if (QWidget* over = parentWidget()) {
        const QMargins m = layout()->contentsMargins();
        const int row = pages_->tabBar()->sizeHint().width() + m.left() + m.right() +
                        2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
        QSize wanted = sizeHint();
        wanted.setWidth(std::min(std::max(wanted.width(), row), over->window()->width()));
        PlaceOver(this, over, wanted);
    }
    prompts_.Exec(this);
}

void TProOptDlg::OkClick() {
    tracker_.LeaveField();
    TryClose(QDialog::Accepted);
}

void TProOptDlg::AbbruchClick() {
    tracker_.LeaveField();
    session_.Modified = snapshot_.Restore(session_.project);
    RefreshFromModel();
    TryClose(QDialog::Rejected);
}

bool TProOptDlg::CloseCheck() {
    switch (MissingTemplateOf(session_.Settings().content_page)) {
        case MissingTemplate::None:
            return true;
        case MissingTemplate::Html:
            if (prompts_.Ask(this,
                             QStringLiteral("Sie haben keine Vorlage angegeben! Wollen Sie jetzt "
                                            "eine Vorlage auswählen?"),
                             false) != Answer::Yes)
                return true;
            contentPage_->ChooseTemplate(false);
            return false;
        case MissingTemplate::Dreamweaver:
            if (prompts_.Ask(this,
                             QStringLiteral(
                                 "Sie haben keine Dreamweaver-Vorlage angegeben! Wollen Sie jetzt "
                                 "eine Dreamweaver-Vorlage auswählen?"),
                             false) != Answer::Yes)
                return true;
            contentPage_->ChooseTemplate(true);
            return false;
    }
    return true;
}

bool TProOptDlg::ConfirmTablePages() {
    const int entries = EntryCount(session_.project.MainMenu);
    if (tablePagesWhenOpened_ || !session_.Settings().TablesDrive() || entries == 0) return true;
    // The build replaces the menu by the table's categories, and the next save stores that.
    const QString has = entries == 1
                            ? QStringLiteral("einen von Hand angelegten Eintrag")
                            : QStringLiteral("%1 von Hand angelegte Einträge").arg(entries);
    const QString question =
        QStringLiteral("Das Menü dieses Projekts hat ") + has +
        QStringLiteral(
            " (Register „Navigation“). Mit Inhalts-Seiten aus Tabellen ersetzt das "
            "nächste Erstellen das Menü durch die Kategorien der Tabelle, und das "
            "nächste Speichern übernimmt das.\n\nTrotzdem auf Seiten aus Tabellen "
            "umstellen?");
    if (prompts_.Ask(this, question, false) == Answer::Yes) return true;
    pages_->setCurrentWidget(contentPage_);
    return false;
}

void TProOptDlg::TryClose(int result) {
    if (result == QDialog::Accepted && !ConfirmTablePages()) return;
    if (CloseCheck()) QDialog::done(result);
}

void TProOptDlg::closeEvent(QCloseEvent* event) {
    // The window's close box keeps every change, as "OK" does.
    event->ignore();
    tracker_.LeaveField();
    TryClose(QDialog::Accepted);
}

void TProOptDlg::reject() { AbbruchClick(); }

}  // namespace pagloom::app
