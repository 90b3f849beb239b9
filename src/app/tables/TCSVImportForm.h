// SPDX-License-Identifier: MIT
// "Dialog": the settings of a CSV import (separator, quote character, caption row), with the
// chosen file's raw text beside them so the user can see which settings fit. The table selection
// dialog shows it before it imports a CSV file and reads the three values afterwards.
#pragma once
#include <QDialog>

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

    // At most this many bytes of a file are shown, so a huge file opens at once.
    static constexpr qint64 kShownBytes = 64 * 1024;

    void done(int result) override;

  private:
    void TakeValues();
    void LoadFileText();

    QComboBox* separatorBox_ = nullptr;
    QComboBox* quoteBox_ = nullptr;
    QCheckBox* captionBox_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* note_ = nullptr;
    QString path_;
    char separator_ = ',';
    char quote_ = '"';
    bool caption_ = false;
};

}  // namespace pagloom::app
