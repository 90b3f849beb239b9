// SPDX-License-Identifier: MIT
#include "options/BottomFramePage.h"

#include "model/ProjectSettings.h"

namespace pagloom::app {

BottomFramePage::BottomFramePage(Binder& binder, ProjectSession& session, QWidget* parent)
    : TwoChoicePage(
          binder, session,
          {"MakeUFrameOn", QStringLiteral("&Unteren Frame erstellen"), "MakeUFrameOff",
           QStringLiteral("Unteren Frame &nicht erstellen"), "CBUeberschreibenUFrame",
           OverwriteFile()},
          [](ProjectSettings& s) -> Choice<2>& { return s.frames.bottomframe; },
          [](ProjectSettings& s) -> bool& { return s.frames.overwrite_bottomframe; }, parent) {}

}  // namespace pagloom::app
