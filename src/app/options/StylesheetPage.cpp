// SPDX-License-Identifier: MIT
#include "options/StylesheetPage.h"

#include "model/ProjectSettings.h"

namespace pagloom::app {

StylesheetPage::StylesheetPage(Binder& binder, ProjectSession& session, QWidget* parent)
    : TwoChoicePage(
          binder, session,
          {"MakeCSSOn", QStringLiteral("&Stylesheet-Datei erstellen"), "MakeCSSOff",
           QStringLiteral("&Keine Stylesheet-Datei erstellen"), "CBUeberschreibenCSS",
           OverwriteFiles()},
          [](ProjectSettings& s) -> Choice<2>& { return s.css.css; },
          [](ProjectSettings& s) -> bool& { return s.css.overwrite_css; }, parent) {}

}  // namespace pagloom::app
