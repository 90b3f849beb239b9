// SPDX-License-Identifier: MIT
#include "options/TopFramePage.h"

#include "model/ProjectSettings.h"

namespace pagloom::app {

TopFramePage::TopFramePage(Binder& binder, ProjectSession& session, QWidget* parent)
    : TwoChoicePage(
          binder, session,
          {"MakeOFrameOn", QStringLiteral("&Oberen Frame erstellen"), "MakeOFrameOff",
           QStringLiteral("Oberen Frame &nicht erstellen"), "CBUeberschreibenOFrame",
           OverwriteFile()},
          [](ProjectSettings& s) -> Choice<2>& { return s.frames.topframe; },
          [](ProjectSettings& s) -> bool& { return s.frames.overwrite_topframe; }, parent) {}

}  // namespace pagloom::app
