// SPDX-License-Identifier: MIT
#include "options/FirstPagePage.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

FirstPagePage::FirstPagePage(Binder& binder, ProjectSession& session, QWidget* parent)
    : OptionsPage(binder, session, parent) {
    auto f = [this]() -> FirstPageSettings& { return Settings().firstpage; };
    QRadioButton* on = Radio("MakeFirstPageOn", QStringLiteral("&Erste Seite erstellen"));
    QRadioButton* off = Radio("MakeFirstPageOff", QStringLiteral("Erste Seite &nicht erstellen"));
    QCheckBox* overwrite = Switch(this, "CBUeberschreibenFirstPage", OverwriteFile(),
                                  [f]() -> bool& { return f().overwrite_firstpage; });
    QCheckBox* fromTemplate = Switch(this, "CBFirstFromTemp", QStringLiteral("&Template benutzen "),
                                     [f]() -> bool& { return f().firstpage_from_template; });
    fromTemplate->setToolTip(QStringLiteral(
        "Bei Inhalts-Seiten aus einer Vorlage wird auch die erste Seite aus ihr erstellt"));
    OnOff(
        on, off, [f]() -> Choice<2>& { return f().firstpage; },
        [f] {
            return std::vector<bool*>{&f().overwrite_firstpage, &f().firstpage_from_template};
        });
    EnableWhile({overwrite, fromTemplate}, [f] { return f().firstpage.Is(kOn); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(on);
    layout->addLayout(Indented(overwrite));
    layout->addLayout(Indented(fromTemplate));
    layout->addWidget(off);
    layout->addStretch(1);
    Order({on, overwrite, fromTemplate, off});
}

}  // namespace pagloom::app
