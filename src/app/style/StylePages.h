// SPDX-License-Identifier: MIT
// The five pages of the main window that edit the menu's look: "Schrift", "Text", "Position",
// "Rahmen" and "Hintergrund", each with one editor for the main menu and one for the sub-menu.
#pragma once
#include <QObject>
#include <array>
#include <functional>

#include "model/Project.h"

class QDockWidget;
class QTabWidget;

namespace pagloom::app {

class FieldTracker;
class StyleFrame;
class StylePreview;
class UiPrompts;

class StylePages : public QObject {
    Q_OBJECT
  public:
    using Records = std::function<TCSS&(MenuLevel)>;
    // Ends a pending decimal edit; false when its value was refused (the change of level that
    // asked is then undone).
    using SettlePendingEdit = std::function<bool()>;
    // Adds the five pages to `pageControl` and, when it sits in a main window, the preview
    // docked beside them; `records` gives the record of a level, `tableMenu` the menu a
    // table-driven build would make now. An empty `settle` lets the level change without the
    // check.
    StylePages(QTabWidget* pageControl, Records records, std::function<const Project&()> project,
               std::function<TWebMenu()> tableMenu, FieldTracker& tracker, UiPrompts& prompts,
               SettlePendingEdit settle);

    // Shows both levels' records in every editor (after a project was read).
    void RefreshFromRecord();
    const std::array<StyleFrame*, 10>& Frames() const { return frames_; }
    // Both null outside a main window.
    StylePreview* Preview() const { return preview_; }
    QDockWidget* PreviewDock() const { return dock_; }

  signals:
    // A style control changed a record.
    void RecordChanged();

  private:
    void PageShown(QWidget* page);
    // Reloads the preview and makes the dock as wide as the menu frame it shows.
    void ReloadPreview();

    std::array<StyleFrame*, 10> frames_{};
    std::array<QWidget*, 5> pages_{};
    QDockWidget* dock_ = nullptr;
    StylePreview* preview_ = nullptr;
    std::function<const Project&()> project_;
    bool revertingLevel_ = false;
};

}  // namespace pagloom::app
