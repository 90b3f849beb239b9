// SPDX-License-Identifier: MIT
#include "TWebAnzeigeForm.h"

#include <QAction>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "WindowPlacement.h"

namespace pagloom::app {

TWebAnzeigeForm::TWebAnzeigeForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TWebAnzeigeForm"));
    setWindowTitle(QStringLiteral("Hilfe - Inhalt"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction* quit = file->addAction(QStringLiteral("&Beenden"));
    quit->setStatusTip(QStringLiteral("Das Browserfenster schließen"));
    // Like other viewers: Ctrl+W and Escape close the window (the window's own action, so the
    // keys work with the menu closed).
    quit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)});
    addAction(quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    back_ =
        new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Zurück"), this);
    back_->setObjectName(QStringLiteral("ZurueckAction"));
    back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    back_->setToolTip(QStringLiteral("Zurück"));
    back_->setStatusTip(QStringLiteral("Die vorige Seite anzeigen"));
    forward_ =
        new QAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Vor"), this);
    forward_->setObjectName(QStringLiteral("VorAction"));
    forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    forward_->setToolTip(QStringLiteral("Vor"));
    forward_->setStatusTip(QStringLiteral("Die nächste Seite anzeigen"));
    connect(back_, &QAction::triggered, this, [this] {
        if (view_) view_->back();
    });
    connect(forward_, &QAction::triggered, this, [this] {
        if (view_) view_->forward();
    });
    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("BrowserToolBar"));
    bar->setMovable(false);
    bar->addAction(back_);
    bar->addAction(forward_);
    UpdateHistoryActions();
    resize(900, 650);
}

QWebEngineView* TWebAnzeigeForm::View() {
    if (!view_) {
        view_ = new QWebEngineView(this);
        view_->setObjectName(QStringLiteral("WebBrowser1"));
        // The built frameset's menu frame scripts the content frame; over file:// that only
        // works when local pages may reach other local files.
        QWebEngineSettings* s = view_->settings();
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        setCentralWidget(view_);
        connect(view_, &QWebEngineView::urlChanged, this, &TWebAnzeigeForm::UpdateHistoryActions);
        connect(view_, &QWebEngineView::loadFinished, this, &TWebAnzeigeForm::UpdateHistoryActions);
    }
    return view_;
}

void TWebAnzeigeForm::UpdateHistoryActions() {
    QWebEngineHistory* history = view_ ? view_->history() : nullptr;
    back_->setEnabled(history && history->canGoBack());
    forward_->setEnabled(history && history->canGoForward());
}

void TWebAnzeigeForm::ShowFile(const QString& path, const QString& caption, const QWidget* over) {
    loaded_ = path;
    View()->load(QUrl::fromLocalFile(path));
    setWindowTitle(caption);
    if (!isVisible()) PlaceOver(this, over, size());
    show();
    raise();
    activateWindow();
}

}  // namespace pagloom::app
