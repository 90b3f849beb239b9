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

#include "FieldTracker.h"
#include "QtText.h"
#include "model/ProjectSettings.h"

namespace pagloom::app {

SitemapTab::SitemapTab(SitemapSettings& settings, FieldTracker& tracker,
                       std::function<void()> markModified, ChooseFiles chooseFiles, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      markModified_(std::move(markModified)),
      chooseFiles_(std::move(chooseFiles)) {
    auto box = [this](const char* name, const QString& caption, bool SitemapSettings::*member,
                      FieldTracker& t) {
        auto* cb = new QCheckBox(caption, this);
        cb->setObjectName(QString::fromLatin1(name));
        t.TrackSwitch(cb);
        connect(cb, &QCheckBox::toggled, this, [this, member](bool on) {
            if (!refreshing_) settings_.*member = on;
        });
        return cb;
    };
    cbMapURL_ = box("cbMapURL", QStringLiteral("URL:"), &SitemapSettings::url, tracker);
    cbMapURL_->setStatusTip(QStringLiteral("Die Basisadresse selbst in die Sitemap aufnehmen"));
    edMapUrl_ = new QLineEdit(this);
    edMapUrl_->setObjectName(QStringLiteral("edMapUrl"));
    edMapUrl_->setStatusTip(
        QStringLiteral("Adresse der Website, die vor jeden Dateinamen der Sitemap gesetzt wird"));
    tracker.TrackText(edMapUrl_, [this](const QString& t) { settings_.urltext = S(t); });
    edMapFilename_ = new QLineEdit(this);
    edMapFilename_->setObjectName(QStringLiteral("edMapFilename"));
    edMapFilename_->setStatusTip(QStringLiteral("Name der Sitemap-Datei im Zielverzeichnis"));
    tracker.TrackText(edMapFilename_, [this](const QString& t) { settings_.filename = S(t); });

    auto* head = new QGridLayout;
    head->addWidget(cbMapURL_, 0, 0);
    head->addWidget(edMapUrl_, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("Sitemap-Dateiname: "), this), 1, 0);
    head->addWidget(edMapFilename_, 1, 1);
    head->setColumnStretch(1, 1);

    auto* pages = new QGroupBox(QStringLiteral("Seiten-Auswahl"), this);
    auto* pagesLayout = new QVBoxLayout(pages);
    cbMapFrameset_ = box("cbMapFrameset", QStringLiteral("Hauptseite (Frameset)"),
                         &SitemapSettings::frameset, tracker);
    cbMapMenueFrame_ = box("cbMapMenueFrame", QStringLiteral("Menüframe (Navigation)"),
                           &SitemapSettings::menuframe, tracker);
    cbMapFirstPage_ = box("cbMapFirstPage", QStringLiteral("Erste Inhaltsseite"),
                          &SitemapSettings::firstpage, tracker);
    cbMapFrameOben_ =
        box("cbMapFrameOben", QStringLiteral("Oberer Frame"), &SitemapSettings::topframe, tracker);
    cbMapFrameUnten_ = box("cbMapFrameUnten", QStringLiteral("Unterer Frame"),
                           &SitemapSettings::bottomframe, tracker);
    cbMapContent_ = box("cbMapContent", QStringLiteral("Inhaltsseiten"),
                        &SitemapSettings::contenframes, tracker);
    for (QCheckBox* cb : {cbMapFrameset_, cbMapMenueFrame_, cbMapFirstPage_, cbMapFrameOben_,
                          cbMapFrameUnten_, cbMapContent_}) {
        cb->setParent(pages);
        pagesLayout->addWidget(cb);
    }
    pagesLayout->addStretch(1);

    auto* extra = new QGroupBox(QStringLiteral("Zusätliche Dateien"), this);
    auto* extraLayout = new QHBoxLayout(extra);
    mmMapOtherFiles_ = new QPlainTextEdit(extra);
    mmMapOtherFiles_->setObjectName(QStringLiteral("mmMapOtherFiles"));
    mmMapOtherFiles_->setStatusTip(
        QStringLiteral("Weitere Dateien der Sitemap, ein Dateiname je Zeile"));
    auto* add = new QToolButton(extra);
    add->setObjectName(QStringLiteral("sbMapOtherFiles"));
    add->setText(QStringLiteral("..."));
    add->setToolTip(QStringLiteral("Dateien hinzufügen"));
    add->setStatusTip(QStringLiteral("Dateien aus dem Zielverzeichnis zur Sitemap hinzufügen"));
    extraLayout->addWidget(mmMapOtherFiles_, 1);
    extraLayout->addWidget(add, 0, Qt::AlignTop);
    connect(mmMapOtherFiles_, &QPlainTextEdit::textChanged, this, [this] {
        if (refreshing_) return;
        StoreExtraFiles();
        markModified_();
    });
    connect(add, &QToolButton::clicked, this, &SitemapTab::SbMapOtherFilesClick);

    auto* body = new QHBoxLayout;
    body->addWidget(pages, 1);
    body->addWidget(extra, 2);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(head);
    outer->addLayout(body, 1);

    setTabOrder(cbMapURL_, edMapUrl_);
    setTabOrder(edMapUrl_, edMapFilename_);
    setTabOrder(edMapFilename_, cbMapFrameset_);
    setTabOrder(cbMapFrameset_, cbMapMenueFrame_);
    setTabOrder(cbMapMenueFrame_, cbMapFirstPage_);
    setTabOrder(cbMapFirstPage_, cbMapFrameOben_);
    setTabOrder(cbMapFrameOben_, cbMapFrameUnten_);
    setTabOrder(cbMapFrameUnten_, cbMapContent_);
    setTabOrder(cbMapContent_, mmMapOtherFiles_);
    setTabOrder(mmMapOtherFiles_, add);
}

void SitemapTab::RefreshFromModel() {
    refreshing_ = true;
    cbMapURL_->setChecked(settings_.url);
    edMapUrl_->setText(Q(settings_.urltext));
    edMapFilename_->setText(Q(settings_.filename));
    cbMapFrameset_->setChecked(settings_.frameset);
    cbMapMenueFrame_->setChecked(settings_.menuframe);
    cbMapFirstPage_->setChecked(settings_.firstpage);
    cbMapFrameOben_->setChecked(settings_.topframe);
    cbMapFrameUnten_->setChecked(settings_.bottomframe);
    cbMapContent_->setChecked(settings_.contenframes);
    QStringList lines;
    for (const std::string& l : settings_.extra_files) lines << Q(l);
    mmMapOtherFiles_->setPlainText(lines.join(u'\n'));
    refreshing_ = false;
}

void SitemapTab::StoreExtraFiles() {
    settings_.extra_files.clear();
    const QString text = mmMapOtherFiles_->toPlainText();
    if (text.isEmpty()) return;
    for (const QString& line : text.split(u'\n')) settings_.extra_files.push_back(S(line));
}

void SitemapTab::SbMapOtherFilesClick() {
    if (const std::optional<QStringList> names = chooseFiles_ ? chooseFiles_() : std::nullopt) {
        refreshing_ = true;
        for (const QString& n : *names) mmMapOtherFiles_->appendPlainText(n);
        refreshing_ = false;
        StoreExtraFiles();
    }
    // The project counts as changed even when the chooser was cancelled.
    markModified_();
}

}  // namespace pagloom::app
