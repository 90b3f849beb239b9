// SPDX-License-Identifier: MIT
// "Optionen": which files a build writes and whether it overwrites them, where content
// pages come from, the frame margins, the tags of table templates and the conversions of
// table data. Controls are enabled by the choices they belong to; switching a choice on
// clears its switches; "Abbruch" restores what the dialog showed when it opened.
#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "model/ProjectSettings.h"
#include "model/TableSettings.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace pagloom::app {

class FieldTracker;
class UiPrompts;
struct ProjectSession;

class TProOptDlg : public QDialog {
    Q_OBJECT
  public:
    // `templateDir` gives the folder in which the template file dialog starts.
    TProOptDlg(ProjectSession& session, FieldTracker& tracker, UiPrompts& prompts,
               std::function<QString()> templateDir, QWidget* parent = nullptr);

    // Shows the dialog modally after taking the snapshot that "Abbruch" restores.
    void ShowModal();
    // Shows the project's options and applies the enable rules.
    void RefreshFromModel();

    // "OK" and "Abbruch"; both close through the close check.
    void OkClick();
    void AbbruchClick();
    QTabWidget* Pages() const { return pages_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    // One group of radio buttons; buttons[i] shows option i of the choice.
    struct ChoiceGroup {
        std::vector<QRadioButton*> buttons;
        std::function<int()> selected;
        std::function<void(int)> select;
        // Switches cleared when option `onOption` is switched on, per option.
        std::vector<std::vector<QCheckBox*>> cleared;
    };
    struct Switch {
        QCheckBox* box;
        bool* value;
    };
    // Everything "Abbruch" restores: the modified flag and every choice, switch, text and
    // index of the dialog except the margins and the menu-text tags switch.
    struct Snapshot {
        bool modified = false;
        ContentPageSettings contentPage;
        Choice<2> menuFrame;
        bool menuFrameOverwrite = false;
        bool noscript = false;
        Choice<3> noscriptKind;
        Choice<2> frameset;
        bool framesetOverwrite = false;
        FramesSettings frames;
        FirstPageSettings firstPage;
        CssSettings css;
        JavascriptSettings javascript;
        bool makeSitemap = false;
        std::string fieldTag;
        std::string recordTag;
        int tagIndex = 0;
        TableConvertSettings convert;
        // Values outside the snapshot, to know whether they changed while the dialog was open.
        std::array<int, 8> margins{};
        bool menuetextTags = false;
    };

    QWidget* BuildFrameSetPage();
    QWidget* BuildTwoChoicePage(const char* onName, const QString& onText, const char* offName,
                                const QString& offText, const char* overwriteName,
                                const QString& overwriteText, Choice<2>& choice, bool& overwrite);
    QWidget* BuildMenuFramePage();
    QWidget* BuildFirstPagePage();
    QWidget* BuildContentPage();
    QWidget* BuildSitemapPage();
    QWidget* BuildTablesPage();

    template <std::size_t N>
    ChoiceGroup& AddChoice(Choice<N>& choice, std::vector<QRadioButton*> buttons);
    QCheckBox* AddSwitch(QWidget* parent, const char* name, const QString& text, bool& value);
    void ChoiceClicked(ChoiceGroup& group, int option);
    void ShowChoice(const ChoiceGroup& group);
    void UpdateEnables();
    void UpdateTagExamples();
    void TagTextEdited(QLineEdit* edit, std::string& value);
    void ChooseTemplate(QLineEdit* edit, std::string& value, bool dreamweaver);
    bool CloseCheck();
    void TryClose(int result);
    Snapshot Take() const;
    std::array<int*, 8> Margins();

    ProjectSession& session_;
    FieldTracker& tracker_;
    UiPrompts& prompts_;
    std::function<QString()> templateDir_;
    Snapshot snapshot_;
    bool refreshing_ = false;

    QTabWidget* pages_ = nullptr;
    std::vector<std::unique_ptr<ChoiceGroup>> choices_;
    std::vector<Switch> switches_;
    ChoiceGroup* framesetChoice_ = nullptr;
    ChoiceGroup* cssChoice_ = nullptr;
    ChoiceGroup* jsChoice_ = nullptr;
    ChoiceGroup* mframeChoice_ = nullptr;
    ChoiceGroup* noscriptChoice_ = nullptr;
    ChoiceGroup* oframeChoice_ = nullptr;
    ChoiceGroup* uframeChoice_ = nullptr;
    ChoiceGroup* firstChoice_ = nullptr;
    ChoiceGroup* contentChoice_ = nullptr;
    std::array<QLineEdit*, 8> marginEdits_{};

    QCheckBox* cbUeberschreibenFrameset_ = nullptr;
    QCheckBox* cbUeberschreibenCSS_ = nullptr;
    QCheckBox* cbUeberschreibenJS_ = nullptr;
    QCheckBox* cbUeberschreibenMFrame_ = nullptr;
    QCheckBox* cbMakeIncludeMFrame_ = nullptr;
    QCheckBox* cbUeberschreibenOFrame_ = nullptr;
    QCheckBox* cbUeberschreibenUFrame_ = nullptr;
    QCheckBox* cbUeberschreibenFirstPage_ = nullptr;
    QCheckBox* cbFirstFromTemp_ = nullptr;
    QList<QWidget*> emptyControls_;
    QList<QWidget*> templateControls_;
    QList<QWidget*> dwControls_;
    QList<QWidget*> tableControls_;
    QLineEdit* tempFileEdit_ = nullptr;
    QLineEdit* dwTempFileEdit_ = nullptr;
    QLineEdit* fieldTagEdit_ = nullptr;
    QLineEdit* recordTagEdit_ = nullptr;
    QComboBox* cbTagKlammer_ = nullptr;
    QLabel* fieldBspLabel_ = nullptr;
    QLabel* recordBspLabel_ = nullptr;
};

}  // namespace pagloom::app
