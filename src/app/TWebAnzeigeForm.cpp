// SPDX-License-Identifier: MIT
#include "TWebAnzeigeForm.h"

#include <QMenuBar>
#include <QUrl>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace pagloom::app {

TWebAnzeigeForm::TWebAnzeigeForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TWebAnzeigeForm"));
    setWindowTitle(QStringLiteral("Hilfe - Inhalt"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction* quit = file->addAction(QStringLiteral("&Beenden"));
    quit->setStatusTip(QStringLiteral("Das Browserfenster schließen"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
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
    }
    return view_;
}

void TWebAnzeigeForm::ShowFile(const QString& path, const QString& caption) {
    loaded_ = path;
    View()->load(QUrl::fromLocalFile(path));
    setWindowTitle(caption);
    show();
    raise();
    activateWindow();
}

}  // namespace pagloom::app
