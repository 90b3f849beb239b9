// SPDX-License-Identifier: MIT
#include "style/StylePreview.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>

#include "QtText.h"
#include "generator/StylesheetWriter.h"
#include "generator/TextLines.h"

namespace pagloom::app {
namespace {

struct Entry {
    QString text;
    bool current;
};

QString Item(const Entry& e, const char* level) {
    const QString id =
        e.current ? QStringLiteral(" id=\"%1_selected\"").arg(QLatin1String(level)) : QString();
    return QStringLiteral("<li><a href=\"#\"%1>%2</a></li>\n").arg(id, e.text.toHtmlEscaped());
}

}  // namespace

QString PreviewStylesheet(const TCSS& main, const TCSS& sub) {
    TextLines lines;
    StylesheetWriter::AddLevel(main, MenuLevelName(kMainMenuLevel), lines);
    StylesheetWriter::AddLevel(sub, MenuLevelName(kSubMenuLevel), lines);
    return Q(JoinLines(lines));
}

int PreviewFrameWidth(const Project& project) {
    return std::max(project.Settings.frameset.menuframe_size, 0);
}

QString PreviewPage(const Project& project, const TWebMenu& menu) {
    struct Main {
        Entry entry;
        QList<Entry> subs;
    };
    QList<Main> mains;
    for (int i = 0; i < menu.Count() && mains.size() < 3; ++i) {
        const TWebMenuItem& m = menu.Item(i);
        if (!m.Active) continue;
        Main main{{Q(m.Text), false}, {}};
        for (int j = 0; m.SubMenu && j < m.SubMenu->Count() && main.subs.size() < 3; ++j)
            if (m.SubMenu->Item(j).Active) main.subs << Entry{Q(m.SubMenu->Item(j).Text), false};
        mains << main;
    }
    if (mains.isEmpty())
        mains = {{{QStringLiteral("Startseite"), false}, {}},
                 {{QStringLiteral("Produkte"), false}, {}},
                 {{QStringLiteral("Kontakt"), false}, {}}};
    auto current =
        std::find_if(mains.begin(), mains.end(), [](const Main& m) { return !m.subs.isEmpty(); });
    if (current == mains.end()) {
        current = mains.begin();
        current->subs = {{QStringLiteral("Übersicht"), false}, {QStringLiteral("Preise"), false}};
    }
    current->entry.current = true;
    current->subs.first().current = true;

    // The same flat lists as the built menu: a main list, the sub list of an entry after it,
    // then a new main list.
    QString body;
    bool mainOpen = false;
    for (const Main& m : mains) {
        if (!mainOpen) body += QStringLiteral("<ul class=\"pagloom_men\">\n");
        mainOpen = true;
        body += Item(m.entry, "men");
        if (m.subs.isEmpty()) continue;
        body += QStringLiteral("</ul>\n<ul class=\"pagloom_umen\">\n");
        for (const Entry& s : m.subs) body += Item(s, "umen");
        body += QStringLiteral("</ul>\n");
        mainOpen = false;
    }
    if (mainOpen) body += QStringLiteral("</ul>\n");

    // The frame's width holds its margins; what does not fit is cut off as in the frame.
    const ProjectSettings& s = project.Settings;
    const int width = PreviewFrameWidth(project);
    const QString frame =
        QStringLiteral(
            "#pagloom_frame { %1padding: %2px %3px; box-sizing: border-box; "
            "overflow: hidden; background: #fff; }\n")
            .arg(width > 0 ? QStringLiteral("width: %1px; ").arg(width) : QString())
            .arg(std::max(s.frameset.menuframe_marginheight, 0))
            .arg(std::max(s.frameset.menuframe_marginwidth, 0));

    const TPrjParams& p = project.PrjParams;
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"de\"><head><meta charset=\"utf-8\">\n"
               "<style>\nbody { margin: 0; background: #e4e4e4; }\n%3</style>\n"
               "<style id=\"pagloom_preview\">\n%1</style></head>\n<body>\n"
               "<div id=\"pagloom_frame\">\n%2</div>\n</body></html>\n")
        .arg(PreviewStylesheet(p.Style(kMainMenuLevel), p.Style(kSubMenuLevel)), body, frame);
}

QString PreviewPage(const Project& project) { return PreviewPage(project, project.MainMenu); }

StylePreview::StylePreview(std::function<const Project&()> project,
                           std::function<TWebMenu()> tableMenu, QWidget* parent)
    : QWidget(parent), project_(std::move(project)), tableMenu_(std::move(tableMenu)) {
    setObjectName(QStringLiteral("StylePreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new QWebEngineView(this);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(view_);
    // Typing a colour or a number changes the record once per key; one update per pause.
    pending_.setSingleShot(true);
    pending_.setInterval(40);
    connect(&pending_, &QTimer::timeout, this, &StylePreview::ApplyStyles);
}

void StylePreview::Reload() {
    loaded_ = true;
    pending_.stop();
    const Project& project = project_();
    // A table-driven build replaces the menu by the tables' one: that is the menu to look at.
    if (ShowsTableTab(project) && tableMenu_)
        view_->setHtml(PreviewPage(project, tableMenu_()));
    else
        view_->setHtml(PreviewPage(project));
}

void StylePreview::StylesChanged() {
    if (loaded_) pending_.start();
}

void StylePreview::ShowStylesNow() {
    if (!loaded_) return;
    // A pending update would show the records without the value held for this call.
    pending_.stop();
    ApplyStyles();
}

void StylePreview::ApplyStyles() {
    const TPrjParams& p = project_().PrjParams;
    const QString css = PreviewStylesheet(p.Style(kMainMenuLevel), p.Style(kSubMenuLevel));
    // Only the style element changes: no reload, no flicker, the scroll position stays.
    const QString json = QString::fromUtf8(
        QJsonDocument::fromVariant(QVariantList{css}).toJson(QJsonDocument::Compact));
    view_->page()->runJavaScript(
        QStringLiteral("document.getElementById('pagloom_preview').textContent = %1[0];")
            .arg(json));
}

}  // namespace pagloom::app
