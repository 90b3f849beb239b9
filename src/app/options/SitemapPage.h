// SPDX-License-Identifier: MIT
// "Sitemap": whether a sitemap is written; its settings are on the main window's tab.
#pragma once
#include "options/OptionsPage.h"

namespace pagloom::app {

class SitemapPage : public OptionsPage {
    Q_OBJECT
  public:
    SitemapPage(Binder& binder, ProjectSession& session, QWidget* parent);
};

}  // namespace pagloom::app
