// SPDX-License-Identifier: MIT
// The dialogs and menus Qt supplies: German texts, and the folder dialog that lets a new
// folder be named by typing it.
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "AppTestSupport.h"
#include "Translations.h"

using namespace pagloom;
using namespace pagloom::app;

class QtDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void qtTextsAreGerman();
    void folderDialogTakesATypedNewFolder();
    void messageShowsTheReasonAsItsDetails();
    void noticesHaveTheirIconAndSafeQuestionsDefaultToNo();
};

namespace {

// The real dialogs, with the program's own questions answered "Ja".
class RealDialogs : public UiPrompts {
  public:
    Answer Ask(QWidget*, const QString& question, bool) override {
        questions << question;
        return Answer::Yes;
    }
    void Message(QWidget*, const QString& text, const QString&) override { messages << text; }
    QStringList questions;
    QStringList messages;
};

// Once the folder dialog is open, types `name` into its name field and presses Enter (or
// Escape when `name` is empty).
void TypeIntoFolderDialog(const QString& name) {
    QTimer::singleShot(0, [name] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) return TypeIntoFolderDialog(name);
        QCOMPARE(dlg->windowTitle(), QString("Verzeichnis wählen"));
        auto* edit = dlg->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(edit);
        edit->setText(name);
        QTest::keyClick(edit, name.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        // A refused name leaves the dialog open; close it so the test ends.
        QTimer::singleShot(200, dlg, [dlg] {
            if (dlg->isVisible()) dlg->reject();
        });
    });
}

}  // namespace

void QtDialogsTest::initTestCase() {
    QCOMPARE(InstallGermanTranslations(*qApp), (QStringList{"qtbase_de", "qtwebengine_de"}));
    QCOMPARE(QLocale().language(), QLocale::German);
}

void QtDialogsTest::qtTextsAreGerman() {
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList entries;
    for (const QAction* a : menu->actions()) entries << a->text().section(u'\t', 0, 0);
    QVERIFY2(entries.contains("&Rückgängig") && entries.contains("Einf&ügen"),
             qPrintable(entries.join(" | ")));

    QFileDialog files(nullptr, "Projekt öffnen", QDir::tempPath());
    files.setOption(QFileDialog::DontUseNativeDialog, true);
    QCOMPARE(files.findChild<QLabel*>("lookInLabel")->text(), QString("Suchen in:"));
    QCOMPARE(files.findChild<QLabel*>("fileNameLabel")->text(), QString("Datei&name:"));
    QVERIFY(
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .startsWith("Die Datei %1 existiert bereits."));

    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("Abbrechen"));
    QCOMPARE(buttons.button(QDialogButtonBox::Save)->text(), QString("Speichern"));
    // The preview's context menu.
    QCOMPARE(QCoreApplication::translate("RenderViewContextMenuQt", "Back"), QString("Zurück"));
}

void QtDialogsTest::folderDialogTakesATypedNewFolder() {
    QTemporaryDir dir;
    RealDialogs prompts;
    // A typed name of a missing folder comes back as it is; the question is the program's.
    TypeIntoFolderDialog("neu");
    QCOMPARE(prompts.ChooseFolder(nullptr, dir.path()), dir.filePath("neu"));
    QVERIFY(!QFileInfo::exists(dir.filePath("neu")));

    TypeIntoFolderDialog("neu");
    QCOMPARE(ChooseDestinationFolder(prompts, nullptr, dir.path(), dir.path()),
             dir.filePath("neu"));
    QCOMPARE(prompts.questions,
             QStringList{"Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?"});
    QVERIFY(QFileInfo(dir.filePath("neu")).isDir());

    // An existing folder is chosen without a question; Escape chooses nothing.
    prompts.questions.clear();
    TypeIntoFolderDialog("neu");
    QCOMPARE(ChooseDestinationFolder(prompts, nullptr, dir.path(), dir.path()),
             dir.filePath("neu"));
    TypeIntoFolderDialog({});
    QCOMPARE(prompts.ChooseFolder(nullptr, dir.path()), QString());
    QVERIFY(prompts.questions.isEmpty());
    QVERIFY(prompts.messages.isEmpty());
}

// The reason behind a message (a table reader's, say) is behind the box's details button.
void QtDialogsTest::messageShowsTheReasonAsItsDetails() {
    UiPrompts prompts;
    QString text, details;
    std::function<void()> answer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return QTimer::singleShot(10, answer);
        text = box->text();
        details = box->detailedText();
        box->accept();
    };
    QTimer::singleShot(0, answer);
    prompts.Message(nullptr, "Fehler beim Einlesen der Datei:notiz.dbf",
                    "Die Tabelle notiz.dbf braucht die Memodatei notiz.dbt, die fehlt!");
    QCOMPARE(text, QString("Fehler beim Einlesen der Datei:notiz.dbf"));
    QCOMPARE(details, QString("Die Tabelle notiz.dbf braucht die Memodatei notiz.dbt, die fehlt!"));
}

// A notice carries its icon and the window's title; a question about something that cannot be
// undone answers Enter and Escape with "Nein".
void QtDialogsTest::noticesHaveTheirIconAndSafeQuestionsDefaultToNo() {
    UiPrompts prompts;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, defaultButton;
    int key = Qt::Key_Return;
    std::function<void()> answer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return QTimer::singleShot(10, answer);
        icon = box->icon();
        title = box->windowTitle();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key(key));
    };
    QTimer::singleShot(0, answer);
    prompts.Notice(nullptr, MessageKind::Critical, QStringLiteral("Veröffentlichen"),
                   QStringLiteral("Verbindung abgelehnt"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(title, QStringLiteral("Veröffentlichen"));
    for (int k : {Qt::Key_Return, Qt::Key_Escape}) {
        key = k;
        QTimer::singleShot(0, answer);
        QVERIFY(!prompts.AskSafely(nullptr, QStringLiteral("Veröffentlichen"),
                                   QStringLiteral("Den Schlüssel entfernen?")));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(defaultButton, QStringLiteral("&Nein"));
    }
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
