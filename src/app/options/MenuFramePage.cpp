// SPDX-License-Identifier: MIT
#include "options/MenuFramePage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

MenuFramePage::MenuFramePage(Binder& binder, ProjectSession& session, QWidget* parent)
    : OptionsPage(binder, session, parent) {
    auto m = [this]() -> MenuFrameSettings& { return Settings().menu_frame; };
    QRadioButton* on = Radio("MakeMFrameOn", QStringLiteral("&Leere Menü-Frame-Seite erstellen"));
    QRadioButton* off = Radio("MakeMFrameOff", QStringLiteral("&Keine Menü-Frame-Seite erstellen"));
    QCheckBox* overwrite = Switch(this, "CBUeberschreibenMFrame", OverwriteFiles(),
                                  [m]() -> bool& { return m().empty_overwrite; });
    QCheckBox* noscript = Switch(this, "CBMakeIncludeMFrame",
                                 QStringLiteral("&Navigation im <noscript>-Bereich erstellen"),
                                 [m]() -> bool& { return m().noscript; });
    OnOff(
        on, off, [m]() -> Choice<2>& { return m().frame; },
        [m] { return std::vector<bool*>{&m().empty_overwrite}; });
    QRadioButton* iframe = Radio("RBMakeIFrameMFrame", QStringLiteral("als &IFrame"));
    QRadioButton* ssi =
        Radio("RBMakeServerSideIncludeMFrame", QStringLiteral("als &ServerSideInclude"));
    QRadioButton* php = Radio("RBMakePHPIncludeMFrame", QStringLiteral("als &PHP-Quelltext"));
    binder_.Choice<3>({iframe, ssi, php}, [m]() -> Choice<3>& { return m().noscript_kind; });
    auto* tagsBox = new QGroupBox(QStringLiteral("Verarbeitung von HTML-Tags"), this);
    QCheckBox* tags =
        Switch(tagsBox, "CBTagsInMenuetext", QStringLiteral("&HTML-Tags in Menütext erhalten"),
               [m]() -> bool& { return m().menuetext_tags; });
    (new QVBoxLayout(tagsBox))->addWidget(tags);

    EnableWhile({overwrite, noscript}, [m] { return m().frame.Is(kOn); });
    EnableWhile({iframe, ssi, php}, [m] { return m().frame.Is(kOn) && m().noscript; });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(on);
    layout->addLayout(Indented(overwrite));
    layout->addLayout(Indented(noscript));
    for (QRadioButton* rb : {iframe, ssi, php}) layout->addLayout(Indented(rb, 2));
    layout->addWidget(off);
    layout->addSpacing(8);
    layout->addWidget(tagsBox);
    layout->addStretch(1);
    Order({on, overwrite, noscript, iframe, ssi, php, off, tags});
}

}  // namespace pagloom::app
