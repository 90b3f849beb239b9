// SPDX-License-Identifier: MIT
#include "options/TwoChoicePage.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

TwoChoicePage::TwoChoicePage(Binder& binder, ProjectSession& session, const Texts& texts,
                             std::function<Choice<2>&(ProjectSettings&)> choice,
                             std::function<bool&(ProjectSettings&)> overwrite, QWidget* parent)
    : OptionsPage(binder, session, parent) {
    auto c = [this, choice]() -> Choice<2>& { return choice(Settings()); };
    auto o = [this, overwrite]() -> bool& { return overwrite(Settings()); };
    QRadioButton* on = Radio(texts.onName, texts.onText);
    QRadioButton* off = Radio(texts.offName, texts.offText);
    QCheckBox* cb = Switch(this, texts.overwriteName, texts.overwriteText, o);
    OnOff(on, off, c, [o] { return std::vector<bool*>{&o()}; });
    EnableWhile({cb}, [c] { return c().Is(kOn); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(on);
    layout->addLayout(Indented(cb));
    layout->addWidget(off);
    layout->addStretch(1);
    Order({on, cb, off});
}

}  // namespace pagloom::app
