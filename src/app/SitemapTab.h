// SPDX-License-Identifier: MIT
// The "Sitemap" tab: base address, file name, which pages the sitemap lists and the extra
// files, one per line.
#pragma once
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;

namespace pagloom {
struct SitemapSettings;
}

namespace pagloom::app {

class Binder;

class SitemapTab : public QWidget {
    Q_OBJECT
  public:
    // Bare names of the files chosen in the file chooser (multiple selection); nothing when
    // the chooser was cancelled.
    using ChooseFiles = std::function<std::optional<QStringList>()>;

    // The controls are bound through the main window's `binder`; `settings` gives the open
    // project's sitemap settings.
    SitemapTab(Binder& binder, std::function<SitemapSettings&()> settings,
               std::function<void()> markModified, ChooseFiles chooseFiles,
               QWidget* parent = nullptr);

    void SbMapOtherFilesClick();
    QCheckBox* TopFrameBox() const { return cbMapFrameOben_; }
    QCheckBox* BottomFrameBox() const { return cbMapFrameUnten_; }

  private:
    Binder& binder_;
    std::function<SitemapSettings&()> settings_;
    std::function<void()> markModified_;
    ChooseFiles chooseFiles_;
    QCheckBox* cbMapFrameOben_ = nullptr;
    QCheckBox* cbMapFrameUnten_ = nullptr;
};

}  // namespace pagloom::app
