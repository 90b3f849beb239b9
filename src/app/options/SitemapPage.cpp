// SPDX-License-Identifier: MIT
#include "options/SitemapPage.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "model/ProjectSettings.h"

namespace pagloom::app {

SitemapPage::SitemapPage(Binder& binder, ProjectSession& session, QWidget* parent)
    : OptionsPage(binder, session, parent) {
    QCheckBox* cb = Switch(this, "CBMakeSitemap", QStringLiteral("&Sitemap erstellen"),
                           [this]() -> bool& { return Settings().sitemap.make_sitemap; });
    cb->setToolTip(QStringLiteral(
        "Die Einstellungen der Sitemap stehen im Register „Sitemap“ des Hauptfensters"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cb);
    layout->addStretch(1);
}

}  // namespace pagloom::app
