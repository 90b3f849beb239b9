// SPDX-License-Identifier: MIT
// "Dialog": the settings of a CSV import (separator, quote character, caption row, blanks kept in
// values), with the chosen file's text beside them so the user can see which settings fit, and
// a note when they give lines of unequal length. The table selection dialog shows it before it
// imports a CSV file and reads the values afterwards.
#pragma once
#include <QDialog>
#include <string>

#include "tables/CsvImport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace pagloom::app {

class TCSVImportForm : public QDialog {
    Q_OBJECT
  public:
    explicit TCSVImportForm(QWidget* parent = nullptr);

    // Shows the beginning of the file's raw text in MMShowCSV; the table selection dialog calls
    // it each time before it shows this dialog, so the text is always the file's current one.
    void SetFile(const QString& path);

    // The values taken from the boxes at the last selection change or closing.
    char separator() const { return separator_; }
    char quote() const { return quote_; }
    bool captionRow() const { return caption_; }
    bool blanksInValues() const { return blanks_; }

    // At most this many bytes of a file are shown, so a huge file opens at once.
    static constexpr qint64 kShownBytes = 64 * 1024;
    // The field counts are checked over at most this many bytes (whole lines).
    static constexpr qint64 kCheckedBytes = 4 * 1024 * 1024;

    // What the importer's message on lines of unequal length leaves out, for the settings last
    // taken: the first line that differs and, when keeping blanks in values evens the lines
    // out, the box that does it. Empty when the checked beginning of the file is even. Only
    // reads what the dialog took, so the import's thread may call it.
    QString UnevenAdvice() const;

    void done(int result) override;

  private:
    void TakeValues();
    void LoadFileText();
    // Says under the importer's message which line first has another number of fields; with
    // `preselect`, ticks "Leerzeichen gehören zum Wert" when the lines are even with it.
    void CheckFieldCounts(bool preselect);
    static QString UnevenLineText(const CsvUnevenLine& uneven);

    QComboBox* separatorBox_ = nullptr;
    QComboBox* quoteBox_ = nullptr;
    QCheckBox* captionBox_ = nullptr;
    QCheckBox* blanksBox_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* countNote_ = nullptr;
    QString path_;
    std::string checked_;  // the file's beginning as Windows-1252, as the importer reads it
    char separator_ = ',';
    char quote_ = '"';
    bool caption_ = false;
    bool blanks_ = false;
};

}  // namespace pagloom::app
