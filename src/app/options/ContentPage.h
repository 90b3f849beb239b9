// SPDX-License-Identifier: MIT
// "Inhalts-Seiten": where content pages come from (none, empty, a template, a Dreamweaver
// template, tables) with the switches and template file of each source.
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class UiPrompts;

class ContentPage : public OptionsPage {
    Q_OBJECT
  public:
    // `templateDir` gives the folder in which the template file dialog starts.
    ContentPage(Binder& binder, ProjectSession& session, UiPrompts& prompts,
                std::function<QString()> templateDir, QWidget* parent);

    // Lets the user choose the template (or the Dreamweaver template) file. A file chosen is a
    // change like any other, also when the dialog's close check asked for it.
    void ChooseTemplate(bool dreamweaver);

  private:
    UiPrompts& prompts_;
    std::function<QString()> templateDir_;
};

}  // namespace pagloom::app
