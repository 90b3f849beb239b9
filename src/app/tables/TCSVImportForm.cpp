// SPDX-License-Identifier: MIT
#include "tables/TCSVImportForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "QtText.h"

namespace pagloom::app {

namespace {

// The entries of CBTextTrenner with the separator byte each one stands for.
struct SeparatorEntry {
    const char* text;
    char value;
};
constexpr SeparatorEntry kSeparators[] = {
    {",", ','}, {";", ';'}, {":", ':'}, {"{Tabulator}", '\t'}, {"{Leerzeichen}", ' '}};
constexpr char kQuotes[] = {'"', '\''};

}  // namespace

TCSVImportForm::TCSVImportForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TCSVImportForm"));
    setWindowTitle(QStringLiteral("Dialog"));

    separatorBox_ = new QComboBox(this);
    separatorBox_->setObjectName(QStringLiteral("CBTextTrenner"));
    for (const SeparatorEntry& e : kSeparators) separatorBox_->addItem(QString::fromLatin1(e.text));
    quoteBox_ = new QComboBox(this);
    quoteBox_->setObjectName(QStringLiteral("CBFeldGrenze"));
    for (char q : kQuotes) quoteBox_->addItem(QString(QChar::fromLatin1(q)));
    captionBox_ = new QCheckBox(QStringLiteral("Erste Zeile als Feldname"), this);
    captionBox_->setObjectName(QStringLiteral("cbCaption"));
    separatorBox_->setCurrentIndex(0);
    quoteBox_->setCurrentIndex(0);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("MMShowCSV"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lbHinweis"));
    note_->setWordWrap(true);
    note_->hide();

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("Texttrenner:"), separatorBox_);
    form->addRow(QStringLiteral("Zeichen für Feldanfang und -Ende:"), quoteBox_);
    form->addRow(captionBox_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(text_, 1);
    layout->addWidget(note_);
    layout->addWidget(buttons);

    connect(separatorBox_, &QComboBox::currentIndexChanged, this, [this] { TakeValues(); });
    connect(quoteBox_, &QComboBox::currentIndexChanged, this, [this] { TakeValues(); });
    connect(captionBox_, &QCheckBox::toggled, this, [this] { TakeValues(); });
    TakeValues();
    resize(620, 440);
}

void TCSVImportForm::SetFile(const QString& path) {
    path_ = path;
    LoadFileText();
}

void TCSVImportForm::TakeValues() {
    // Only the listed entries are choices; a box without one falls back to its first entry.
    if (separatorBox_->currentIndex() < 0) separatorBox_->setCurrentIndex(0);
    if (quoteBox_->currentIndex() < 0) quoteBox_->setCurrentIndex(0);
    separator_ = kSeparators[separatorBox_->currentIndex()].value;
    quote_ = kQuotes[quoteBox_->currentIndex()];
    caption_ = captionBox_->isChecked();
}

void TCSVImportForm::done(int result) {
    TakeValues();
    QDialog::done(result);
}

void TCSVImportForm::LoadFileText() {
    text_->clear();
    note_->hide();
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        note_->setText(QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                           .arg(QDir::toNativeSeparators(path_)));
        note_->show();
        return;
    }
    QByteArray bytes = file.read(kShownBytes);
    const qint64 size = file.size();
    const bool cut = size > bytes.size();
    if (cut) {
        // End the shown part with a whole line.
        const qsizetype lastBreak = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        if (lastBreak > 0) bytes.truncate(lastBreak + 1);
    }
    // A NUL byte would end the text for the widget; show it as a visible sign instead.
    QString text = Q(bytes.toStdString());
    text.replace(QChar(u'\0'), QChar(0x2400));
    text_->setPlainText(text);
    if (cut) {
        const QLocale de(QLocale::German, QLocale::Germany);
        note_->setText(
            QStringLiteral("Die Datei ist %1 groß; angezeigt wird nur ihr Anfang (%2).")
                .arg(de.formattedDataSize(size, 0, QLocale::DataSizeTraditionalFormat),
                     de.formattedDataSize(bytes.size(), 0, QLocale::DataSizeTraditionalFormat)));
        note_->show();
    }
}

}  // namespace pagloom::app
