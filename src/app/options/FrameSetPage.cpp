// SPDX-License-Identifier: MIT
#include "options/FrameSetPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

FrameSetPage::FrameSetPage(Binder& binder, ProjectSession& session, QWidget* parent)
    : OptionsPage(binder, session, parent) {
    auto fs = [this]() -> FramesetSettings& { return Settings().frameset; };
    QRadioButton* on = Radio("MakeFramesetOn", QStringLiteral("&Frameset erstellen"));
    QRadioButton* off = Radio("MakeFramesetOff", QStringLiteral("&Kein Frameset erstellen"));
    QCheckBox* overwrite = Switch(this, "CBUeberschreibenFrameset", OverwriteFiles(),
                                  [fs]() -> bool& { return fs().empty_overwrite; });
    OnOff(
        on, off, [fs]() -> Choice<2>& { return fs().frameset; },
        [fs] { return std::vector<bool*>{&fs().empty_overwrite}; });
    EnableWhile({overwrite}, [fs] { return fs().frameset.Is(kOn); });

    auto* marginBox =
        new QGroupBox(QStringLiteral("Abstand des Seiteninhalts zum Seitenrand für Frames"), this);
    auto* grid = new QGridLayout(marginBox);
    grid->addWidget(new QLabel(QStringLiteral("Rechter/Linker Rand"), marginBox), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Oberer/Unterer Rand"), marginBox), 0, 2);
    struct Row {
        const char* width;
        const char* height;
        QString caption;
        int FramesetSettings::*widthMember;
        int FramesetSettings::*heightMember;
    };
    const Row rows[] = {
        {"EditMFrameMarginRL", "EditMFrameMarginOU", QStringLiteral("&Menüframe:"),
         &FramesetSettings::menuframe_marginwidth, &FramesetSettings::menuframe_marginheight},
        {"EditIFrameMarginRL", "EditIFrameMarginOU", QStringLiteral("&Inhalts-Frame:"),
         &FramesetSettings::contentframe_marginwidth, &FramesetSettings::contentframe_marginheight},
        {"EditOFrameMarginRL", "EditOFrameMarginOU", QStringLiteral("&Oberer Frame:"),
         &FramesetSettings::topframe_marginwidth, &FramesetSettings::topframe_marginheight},
        {"EditUFrameMarginRL", "EditUFrameMarginOU", QStringLiteral("&Unterer Frame:"),
         &FramesetSettings::bottomframe_marginwidth, &FramesetSettings::bottomframe_marginheight},
    };
    QWidget* previous = off;
    setTabOrder(on, overwrite);
    setTabOrder(overwrite, off);
    for (int r = 0; r < 4; ++r) {
        auto margin = [&](const char* name, int FramesetSettings::*member) {
            auto* e = new QLineEdit(marginBox);
            e->setObjectName(QString::fromLatin1(name));
            e->setMaximumWidth(80);
            binder_.WholeNumber(e, [fs, member]() -> int& { return fs().*member; });
            setTabOrder(previous, e);
            previous = e;
            return e;
        };
        QLineEdit* width = margin(rows[r].width, rows[r].widthMember);
        QLineEdit* height = margin(rows[r].height, rows[r].heightMember);
        auto* label = new QLabel(rows[r].caption, marginBox);
        label->setBuddy(width);
        grid->addWidget(label, 1 + r, 0);
        grid->addWidget(width, 1 + r, 1);
        grid->addWidget(height, 1 + r, 2);
    }
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(on);
    layout->addLayout(Indented(overwrite));
    layout->addWidget(off);
    layout->addSpacing(8);
    layout->addWidget(marginBox);
    layout->addStretch(1);
}

}  // namespace pagloom::app
