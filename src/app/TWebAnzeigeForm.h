// SPDX-License-Identifier: MIT
// The browser window that shows the built site (preview) and the help pages. It lives for
// the whole run; closing it only hides it. The browser engine starts on the first page shown,
// so a session that never previews pays nothing for it.
#pragma once
#include <QMainWindow>

class QWebEngineView;

namespace pagloom::app {

class TWebAnzeigeForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TWebAnzeigeForm(QWidget* parent = nullptr);

    // Loads a local HTML file, sets the caption and shows the window without being modal
    // (or brings it forward).
    void ShowFile(const QString& path, const QString& caption);
    // The page last loaded (empty before the first).
    QString LoadedFile() const { return loaded_; }

  private:
    QWebEngineView* View();

    QWebEngineView* view_ = nullptr;
    QString loaded_;
};

}  // namespace pagloom::app
