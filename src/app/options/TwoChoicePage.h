// SPDX-License-Identifier: MIT
// The shape of the pages that choose whether one file is written and whether it overwrites an
// existing one ("Stylesheet", "Javascript", "Oberer Frame", "Unterer Frame").
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class TwoChoicePage : public OptionsPage {
    Q_OBJECT
  protected:
    struct Texts {
        const char* onName;
        QString onText;
        const char* offName;
        QString offText;
        const char* overwriteName;
        QString overwriteText;
    };
    // `choice` and `overwrite` give the page's members of the project settings.
    TwoChoicePage(Binder& binder, ProjectSession& session, const Texts& texts,
                  std::function<Choice<2>&(ProjectSettings&)> choice,
                  std::function<bool&(ProjectSettings&)> overwrite, QWidget* parent);
};

}  // namespace pagloom::app
