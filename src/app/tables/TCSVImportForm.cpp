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

#include "KeyboardUse.h"
#include "QtText.h"
#include "tables/CsvImport.h"

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
    captionBox_ = new QCheckBox(QStringLiteral("&Erste Zeile als Feldname"), this);
    captionBox_->setObjectName(QStringLiteral("cbCaption"));
    blanksBox_ = new QCheckBox(QStringLiteral("&Leerzeichen gehören zum Wert"), this);
    blanksBox_->setObjectName(QStringLiteral("cbBlanksInValues"));
    blanksBox_->setToolTip(
        QStringLiteral("Für Tabellenkalkulationen, die nur Werte mit Trennzeichen in "
                       "Anführungszeichen setzen: Leerzeichen in einem Wert trennen ihn nicht, "
                       "Leerzeichen um das Trennzeichen werden weiter entfernt."));
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
    countNote_ = new QLabel(this);
    countNote_->setObjectName(QStringLiteral("lbFeldanzahl"));
    countNote_->setWordWrap(true);
    countNote_->hide();

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("&Texttrenner:"), separatorBox_);
    form->addRow(QStringLiteral("Zeichen für &Feldanfang und -Ende:"), quoteBox_);
    form->addRow(captionBox_);
    form->addRow(blanksBox_);
    auto* textLabel = new QLabel(QStringLiteral("Inhalt der &Datei:"), this);
    textLabel->setBuddy(text_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(textLabel);
    layout->addWidget(text_, 1);
    layout->addWidget(note_);
    layout->addWidget(countNote_);
    layout->addWidget(buttons);

    // The box for blanks is only preselected when the file is loaded: ticking it after each
    // change would take it out of the user's hands.
    for (QComboBox* box : {separatorBox_, quoteBox_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            TakeValues();
            CheckFieldCounts(false);
        });
    for (QCheckBox* box : {captionBox_, blanksBox_})
        connect(box, &QCheckBox::toggled, this, [this] {
            TakeValues();
            CheckFieldCounts(false);
        });
    TakeValues();
    GiveAccessKeys(this);
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
    blanks_ = blanksBox_->isChecked();
}

void TCSVImportForm::CheckFieldCounts(bool preselect) {
    auto uneven = FirstUnevenCsvLine(checked_, separator_, quote_, caption_, blanks_);
    if (uneven && preselect && !blanks_ &&
        !FirstUnevenCsvLine(checked_, separator_, quote_, caption_, true)) {
        blanksBox_->setChecked(true);  // checks again through toggled
        return;
    }
    if (!uneven) {
        countNote_->hide();
        return;
    }
    countNote_->setText(Q(kCsvFieldCountsDiffer) + u'\n' + UnevenLineText(*uneven));
    countNote_->show();
}

QString TCSVImportForm::UnevenLineText(const CsvUnevenLine& uneven) {
    return QStringLiteral(
               "Zeile %1 hat %2 Felder, erwartet werden %3 (wie in der ersten Zeile mit "
               "Daten).")
        .arg(uneven.line)
        .arg(uneven.fields)
        .arg(uneven.expected);
}

QString TCSVImportForm::UnevenAdvice() const {
    const auto uneven = FirstUnevenCsvLine(checked_, separator_, quote_, caption_, blanks_);
    if (!uneven) return {};
    QString advice = UnevenLineText(*uneven);
    if (!blanks_ && !FirstUnevenCsvLine(checked_, separator_, quote_, caption_, true))
        advice += QStringLiteral(
            "\nEin Wert ohne Anführungszeichen enthält ein Leerzeichen: Kreuzen Sie im Dialog "
            "„Leerzeichen gehören zum Wert“ an.");
    return advice;
}

void TCSVImportForm::done(int result) {
    TakeValues();
    QDialog::done(result);
}

void TCSVImportForm::LoadFileText() {
    text_->clear();
    note_->hide();
    countNote_->hide();
    checked_.clear();
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        note_->setText(QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                           .arg(QDir::toNativeSeparators(path_)));
        note_->show();
        return;
    }
    const qint64 size = file.size();
    QByteArray read = file.read(kCheckedBytes);
    // Both parts end with a whole line when the file goes on after them.
    const auto wholeLines = [](QByteArray& bytes) {
        const qsizetype lastBreak = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        if (lastBreak > 0) bytes.truncate(lastBreak + 1);
    };
    if (size > read.size()) wholeLines(read);
    QByteArray bytes = read.left(kShownBytes);
    const bool cut = size > bytes.size();
    if (bytes.size() < read.size()) wholeLines(bytes);

    QStringList notes;
    checked_ = read.toStdString();
    QString text;
    if (IsUtf8CsvText(checked_)) {
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
        std::string problem;
        if (Utf8CsvTextToCp1252(checked_, problem))
            notes << QStringLiteral(
                "Die Datei ist UTF-8-Text; sie wird beim Import in "
                "Windows-1252 umgewandelt.");
        else
            notes << QStringLiteral(
                         "Die Datei ist UTF-8-Text, der sich nicht in Windows-1252 "
                         "umwandeln lässt: ") +
                         Q(problem);
    } else {
        text = Q(bytes.toStdString());
    }
    // A NUL byte would end the text for the widget; show it as a visible sign instead.
    text.replace(QChar(u'\0'), QChar(0x2400));
    text_->setPlainText(text);
    if (cut) {
        const QLocale de(QLocale::German, QLocale::Germany);
        notes << QStringLiteral("Die Datei ist %1 groß; angezeigt wird nur ihr Anfang (%2).")
                     .arg(
                         de.formattedDataSize(size, 0, QLocale::DataSizeTraditionalFormat),
                         de.formattedDataSize(bytes.size(), 0, QLocale::DataSizeTraditionalFormat));
    }
    if (!notes.isEmpty()) {
        note_->setText(notes.join(u'\n'));
        note_->show();
    }
    CheckFieldCounts(true);
}

}  // namespace pagloom::app
