// SPDX-License-Identifier: MIT
#include "options/JavascriptPage.h"

#include "model/ProjectSettings.h"

namespace pagloom::app {

JavascriptPage::JavascriptPage(Binder& binder, ProjectSession& session, QWidget* parent)
    : TwoChoicePage(
          binder, session,
          {"MakeJSOn", QStringLiteral("&Javascript-Datei erstellen"), "MakeJSOff",
           QStringLiteral("&Keine Javascript-Datei erstellen"), "CBUeberschreibenJS",
           OverwriteFiles()},
          [](ProjectSettings& s) -> Choice<2>& { return s.javascript.javascript; },
          [](ProjectSettings& s) -> bool& { return s.javascript.overwrite_javascript; }, parent) {}

}  // namespace pagloom::app
