// SPDX-License-Identifier: MIT
// "Dateiauswahl": lists the files of the destination folder for the pick buttons. Normally
// one file can be chosen; the sitemap's "add files" switches it to multiple selection.
#pragma once
#include <QDialog>
#include <optional>

class QListWidget;

namespace pagloom::app {

class UiPrompts;

class TFileSelectDlg : public QDialog {
    Q_OBJECT
  public:
    TFileSelectDlg(UiPrompts& prompts, QWidget* parent = nullptr);

    // The folder whose files are listed; set by loading a project and by the folder chooser.
    void SetDirectory(const QString& dir);
    QString Directory() const { return dir_; }
    void SetMultiSelect(bool multi);

    // Shows the dialog with a fresh listing, `current` selected when it is listed (so OK
    // without a change keeps it). The bare name of the chosen file (empty when none was
    // selected) on OK; nothing on cancel.
    std::optional<QString> ChooseOne(const QString& current = {});
    // The bare names of every selected file in list order on OK; nothing on cancel.
    std::optional<QStringList> ChooseMany();

    QListWidget* FileListBox() const { return list_; }

  private:
    void Relist();
    QStringList Selected() const;

    UiPrompts& prompts_;
    QString dir_;
    QListWidget* list_ = nullptr;
};

}  // namespace pagloom::app
