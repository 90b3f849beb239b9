// SPDX-License-Identifier: MIT
#include "style/StylePreview.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

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

QString PreviewPage(const Project& project) {
    QList<Entry> mains;
    QList<Entry> subs;
    const TWebMenu& menu = project.MainMenu;
    for (int i = 0; i < menu.Count() && mains.size() < 3; ++i) {
        const TWebMenuItem& m = menu.Item(i);
        if (!m.Active) continue;
        mains << Entry{Q(m.Text), mains.isEmpty()};
        if (!subs.isEmpty() || !m.SubMenu) continue;
        for (int j = 0; j < m.SubMenu->Count() && subs.size() < 3; ++j)
            if (m.SubMenu->Item(j).Active)
                subs << Entry{Q(m.SubMenu->Item(j).Text), subs.isEmpty()};
    }
    if (mains.isEmpty())
        mains = {{QStringLiteral("Startseite"), true},
                 {QStringLiteral("Produkte"), false},
                 {QStringLiteral("Kontakt"), false}};
    if (subs.isEmpty())
        subs = {{QStringLiteral("Übersicht"), true}, {QStringLiteral("Preise"), false}};

    // The same flat lists as the built menu: the main list, then the sub list after it.
    QString body = QStringLiteral("<ul class=\"pagloom_men\">\n") + Item(mains.first(), "men") +
                   QStringLiteral("</ul>\n<ul class=\"pagloom_umen\">\n");
    for (const Entry& s : subs) body += Item(s, "umen");
    body += QStringLiteral("</ul>\n<ul class=\"pagloom_men\">\n");
    for (qsizetype i = 1; i < mains.size(); ++i) body += Item(mains[i], "men");
    body += QStringLiteral("</ul>\n");

    const TPrjParams& p = project.PrjParams;
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"de\"><head><meta charset=\"utf-8\">\n"
               "<style id=\"pagloom_preview\">\n%1</style></head>\n<body>\n%2</body></html>\n")
        .arg(PreviewStylesheet(p.Style(kMainMenuLevel), p.Style(kSubMenuLevel)), body);
}

StylePreview::StylePreview(std::function<const Project&()> project, QWidget* parent)
    : QWidget(parent), project_(std::move(project)) {
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
    view_->setHtml(PreviewPage(project_()));
}

void StylePreview::StylesChanged() {
    if (loaded_) pending_.start();
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
