// SPDX-License-Identifier: MIT
// The browser window that shows the built site (preview) and the help pages. It lives for
// the whole run; closing it only hides it. The browser engine starts on the first page shown,
// so a session that never previews pays nothing for it.
#pragma once
#include <QMainWindow>

class QAction;
class QWebEngineView;

namespace pagloom::app {

class TWebAnzeigeForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TWebAnzeigeForm(QWidget* parent = nullptr);

    // Loads a local HTML file, sets the caption and shows the window without being modal
    // (or brings it forward). A window not yet on screen opens centred over `over`.
    void ShowFile(const QString& path, const QString& caption, const QWidget* over = nullptr);
    // The page last loaded (empty before the first).
    QString LoadedFile() const { return loaded_; }

    // "Zurück" (Alt+Left) and "Vor" (Alt+Right) through the pages seen; enabled by the history.
    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }

  private:
    QWebEngineView* View();
    void UpdateHistoryActions();

    QWebEngineView* view_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QString loaded_;
};

}  // namespace pagloom::app
