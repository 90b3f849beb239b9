// SPDX-License-Identifier: MIT
// The "Sitemap" tab: base address, file name, which pages the sitemap lists and the extra
// files, one per line.
#pragma once
#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace pagloom {
struct SitemapSettings;
}

namespace pagloom::app {

class FieldTracker;

class SitemapTab : public QWidget {
    Q_OBJECT
  public:
    // Bare names of the files chosen in the file chooser (multiple selection); nothing when
    // the chooser was cancelled.
    using ChooseFiles = std::function<std::optional<QStringList>()>;

    // `settings` belongs to the open project and outlives the tab.
    SitemapTab(SitemapSettings& settings, FieldTracker& tracker, std::function<void()> markModified,
               ChooseFiles chooseFiles, QWidget* parent = nullptr);

    // Redisplays every control from the settings.
    void RefreshFromModel();
    void SbMapOtherFilesClick();
    QCheckBox* TopFrameBox() const { return cbMapFrameOben_; }
    QCheckBox* BottomFrameBox() const { return cbMapFrameUnten_; }

  private:
    void StoreExtraFiles();

    SitemapSettings& settings_;
    std::function<void()> markModified_;
    ChooseFiles chooseFiles_;
    bool refreshing_ = false;

    QCheckBox* cbMapURL_ = nullptr;
    QLineEdit* edMapUrl_ = nullptr;
    QLineEdit* edMapFilename_ = nullptr;
    QCheckBox* cbMapFrameset_ = nullptr;
    QCheckBox* cbMapMenueFrame_ = nullptr;
    QCheckBox* cbMapFirstPage_ = nullptr;
    QCheckBox* cbMapFrameOben_ = nullptr;
    QCheckBox* cbMapFrameUnten_ = nullptr;
    QCheckBox* cbMapContent_ = nullptr;
    QPlainTextEdit* mmMapOtherFiles_ = nullptr;
};

}  // namespace pagloom::app
