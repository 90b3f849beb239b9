// SPDX-License-Identifier: MIT
#include "style/StylePages.h"

#include <QDockWidget>
#include <QEventLoop>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>

#include "style/StylePreview.h"
#include "style/TFrameBackground.h"
#include "style/TFrameBorder.h"
#include "style/TFrameFont.h"
#include "style/TFramePosition.h"
#include "style/TFrameText.h"

namespace pagloom::app {
namespace {

template <typename Frame>
StyleFrame* Make(const StylePages::Records& records, MenuLevel level, FieldTracker& tracker,
                 UiPrompts& prompts) {
    return new Frame([records, level]() -> TCSS& { return records(level); }, level, tracker,
                     prompts);
}

}  // namespace

StylePages::StylePages(QTabWidget* pageControl, Records records,
                       std::function<const Project&()> project, std::function<TWebMenu()> tableMenu,
                       FieldTracker& tracker, UiPrompts& prompts, SettlePendingEdit settle)
    : QObject(pageControl), project_(project) {
    using Factory = StyleFrame* (*)(const Records&, MenuLevel, FieldTracker&, UiPrompts&);
    struct Page {
        const char* tab;
        const char* caption;
        const char* frame;
        Factory make;
    } const pages[] = {
        {"tsFont", "Schrift", "frameFont", &Make<TFrameFont>},
        {"tsText", "Text", "frameText", &Make<TFrameText>},
        {"tsPosition", "Position", "framePos", &Make<TFramePosition>},
        {"tsBorder", "Rahmen", "frameBorder", &Make<TFrameBorder>},
        {"tsBackground", "Hintergrund", "frameBackground", &Make<TFrameBackground>},
    };
    size_t n = 0;
    for (const Page& p : pages) {
        auto* levels = new QTabWidget(pageControl);
        levels->setObjectName(QLatin1String(p.tab));
        for (MenuLevel level : {kMainMenuLevel, kSubMenuLevel}) {
            StyleFrame* frame = p.make(records, level, tracker, prompts);
            frame->setObjectName(QLatin1String(p.frame) + (level == kMainMenuLevel
                                                               ? QStringLiteral("M")
                                                               : QStringLiteral("UM")));
            levels->addTab(frame, level == kMainMenuLevel ? QStringLiteral("Haupt-Menü")
                                                          : QStringLiteral("Unter-Menü"));
            connect(frame, &StyleFrame::RecordChanged, this, &StylePages::RecordChanged);
            connect(frame, &StyleFrame::PreviewNow, this, [this] {
                if (preview_) preview_->ShowStylesNow();
            });
            frames_[n++] = frame;
        }
        pageControl->addTab(levels, QString::fromUtf8(p.caption));
        pages_[n / 2 - 1] = levels;
    }

    // Switching the level is a change of tab like any other: a refused number keeps its tab.
    if (settle) {
        for (QWidget* page : pages_) {
            auto* levels = static_cast<QTabWidget*>(page);
            connect(levels, &QTabWidget::currentChanged, this, [this, settle, levels](int i) {
                if (revertingLevel_ || settle()) return;
                revertingLevel_ = true;
                levels->setCurrentIndex(1 - i);
                revertingLevel_ = false;
            });
        }
    }

    auto* window = qobject_cast<QMainWindow*>(pageControl->parentWidget());
    if (!window) return;
    dock_ = new QDockWidget(QStringLiteral("Vorschau des Menüs"), window);
    dock_->setObjectName(QStringLiteral("dockStylePreview"));
    dock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    preview_ = new StylePreview(std::move(project), std::move(tableMenu), dock_);
    dock_->setWidget(preview_);
    // The browser view gets its drawing surface with its first page. Loaded here, before the
    // main window is first shown, the window is created fit for it; loaded on the first style
    // tab, it would destroy and re-create the main window. The wait is bounded, so a browser
    // engine that does not answer delays the start only a little.
    {
        QEventLoop loaded;
        connect(preview_->View(), &QWebEngineView::loadFinished, &loaded, &QEventLoop::quit);
        QTimer::singleShot(2000, &loaded, &QEventLoop::quit);
        preview_->View()->setHtml(QString());
        loaded.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // The usual menu column until a project's frame width is known (ReloadPreview).
    preview_->setMinimumWidth(220);
    window->addDockWidget(Qt::RightDockWidgetArea, dock_);
    window->resizeDocks({dock_}, {preview_->minimumWidth()}, Qt::Horizontal);
    dock_->hide();
    connect(this, &StylePages::RecordChanged, preview_, &StylePreview::StylesChanged);
    connect(pageControl, &QTabWidget::currentChanged, this,
            [this, pageControl](int i) { PageShown(pageControl->widget(i)); });
}

void StylePages::PageShown(QWidget* page) {
    const bool style = std::find(pages_.begin(), pages_.end(), page) != pages_.end();
    const bool wasShown = dock_->isVisible();
    dock_->setVisible(style);
    // The menu may have changed on its own tab; coming back, the preview shows it afresh.
    if (style && !wasShown) ReloadPreview();
}

void StylePages::ReloadPreview() {
    preview_->Reload();
    // As wide as the menu frame with room for a scroll bar; without a frame width, the usual
    // column. The main window's row of tabs shares the width, hence the upper bound.
    const int frame = PreviewFrameWidth(project_());
    const int width = std::clamp(frame > 0 ? frame + 24 : 220, 120, 640);
    preview_->setMinimumWidth(width);
    if (auto* window = qobject_cast<QMainWindow*>(dock_->parentWidget()))
        window->resizeDocks({dock_}, {width}, Qt::Horizontal);
}

void StylePages::RefreshFromRecord() {
    for (StyleFrame* f : frames_) f->RefreshFromRecord();
    if (preview_ && preview_->isVisible()) ReloadPreview();
}

}  // namespace pagloom::app
