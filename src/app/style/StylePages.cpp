// SPDX-License-Identifier: MIT
#include "style/StylePages.h"

#include <QTabWidget>

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

StylePages::StylePages(QTabWidget* pageControl, Records records, FieldTracker& tracker,
                       UiPrompts& prompts)
    : QObject(pageControl) {
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
            frames_[n++] = frame;
        }
        pageControl->addTab(levels, QString::fromUtf8(p.caption));
    }
}

void StylePages::RefreshFromRecord() {
    for (StyleFrame* f : frames_) f->RefreshFromRecord();
}

}  // namespace pagloom::app
