// SPDX-License-Identifier: MIT
#include "SitemapTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "QtText.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

SitemapTab::SitemapTab(Binder& binder, std::function<SitemapSettings&()> settings,
                       std::function<void()> markModified, ChooseFiles chooseFiles, QWidget* parent)
    : QWidget(parent),
      binder_(binder),
      settings_(std::move(settings)),
      markModified_(std::move(markModified)),
      chooseFiles_(std::move(chooseFiles)) {
    auto box = [this](QWidget* parent, const char* name, const QString& caption,
                      bool SitemapSettings::*member) {
        auto* cb = new QCheckBox(caption, parent);
        cb->setObjectName(QString::fromLatin1(name));
        binder_.Switch(cb, [this, member]() -> bool& { return settings_().*member; });
        return cb;
    };
    auto edit = [this](const char* name, std::string SitemapSettings::*member) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        binder_.Text(e, [this, member]() -> std::string& { return settings_().*member; });
        return e;
    };
    QCheckBox* url = box(this, "cbMapURL", QStringLiteral("&URL:"), &SitemapSettings::url);
    url->setStatusTip(QStringLiteral("Die Basisadresse selbst in die Sitemap aufnehmen"));
    QLineEdit* urlText = edit("edMapUrl", &SitemapSettings::urltext);
    urlText->setStatusTip(
        QStringLiteral("Adresse der Website, die vor jeden Dateinamen der Sitemap gesetzt wird"));
    QLineEdit* fileName = edit("edMapFilename", &SitemapSettings::filename);
    fileName->setStatusTip(QStringLiteral("Name der Sitemap-Datei im Zielverzeichnis"));
    auto* fileLabel = new QLabel(QStringLiteral("Sitemap-Datei&name: "), this);
    fileLabel->setBuddy(fileName);

    auto* head = new QGridLayout;
    head->addWidget(url, 0, 0);
    head->addWidget(urlText, 0, 1);
    head->addWidget(fileLabel, 1, 0);
    head->addWidget(fileName, 1, 1);
    head->setColumnStretch(1, 1);

    auto* pages = new QGroupBox(QStringLiteral("Seiten-Auswahl"), this);
    auto* pagesLayout = new QVBoxLayout(pages);
    QCheckBox* frameset = box(pages, "cbMapFrameset", QStringLiteral("Hauptseite (&Frameset)"),
                              &SitemapSettings::frameset);
    QCheckBox* menu = box(pages, "cbMapMenueFrame", QStringLiteral("&Menüframe (Navigation)"),
                          &SitemapSettings::menuframe);
    QCheckBox* first = box(pages, "cbMapFirstPage", QStringLiteral("Erste Inhalts&seite"),
                           &SitemapSettings::firstpage);
    cbMapFrameOben_ =
        box(pages, "cbMapFrameOben", QStringLiteral("&Oberer Frame"), &SitemapSettings::topframe);
    cbMapFrameUnten_ = box(pages, "cbMapFrameUnten", QStringLiteral("Un&terer Frame"),
                           &SitemapSettings::bottomframe);
    QCheckBox* content = box(pages, "cbMapContent", QStringLiteral("&Inhaltsseiten"),
                             &SitemapSettings::contenframes);
    for (QCheckBox* cb : {frameset, menu, first, cbMapFrameOben_, cbMapFrameUnten_, content})
        pagesLayout->addWidget(cb);
    pagesLayout->addStretch(1);

    auto* extra = new QGroupBox(QStringLiteral("&Zusätliche Dateien"), this);
    auto* extraLayout = new QHBoxLayout(extra);
    auto* others = new QPlainTextEdit(extra);
    others->setObjectName(QStringLiteral("mmMapOtherFiles"));
    others->setStatusTip(QStringLiteral("Weitere Dateien der Sitemap, ein Dateiname je Zeile"));
    binder_.List(others, [this]() -> std::vector<std::string>& { return settings_().extra_files; });
    auto* add = new QToolButton(extra);
    add->setObjectName(QStringLiteral("sbMapOtherFiles"));
    add->setText(QStringLiteral("..."));
    add->setToolTip(QStringLiteral("Dateien hinzufügen"));
    add->setStatusTip(QStringLiteral("Dateien aus dem Zielverzeichnis zur Sitemap hinzufügen"));
    extraLayout->addWidget(others, 1);
    extraLayout->addWidget(add, 0, Qt::AlignTop);
    connect(add, &QToolButton::clicked, this, &SitemapTab::SbMapOtherFilesClick);

    auto* body = new QHBoxLayout;
    body->addWidget(pages, 1);
    body->addWidget(extra, 2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(head);
    outer->addLayout(body, 1);

    const QList<QWidget*> order = {url,   urlText,         fileName,         frameset, menu,
                                   first, cbMapFrameOben_, cbMapFrameUnten_, content,  others,
                                   add};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void SitemapTab::SbMapOtherFilesClick() {
    if (const std::optional<QStringList> names = chooseFiles_ ? chooseFiles_() : std::nullopt) {
        for (const QString& n : *names) settings_().extra_files.push_back(S(n));
        binder_.Refresh();
    }
    // The project counts as changed even when the chooser was cancelled.
    markModified_();
}

}  // namespace pagloom::app
