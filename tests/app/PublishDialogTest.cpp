// SPDX-License-Identifier: MIT
// The publishing dialog against real servers on 127.0.0.1 (OpenSSH, lighttpd with WebDAV) and
// a keychain of the test's own: settings bound to the project and saved without the password,
// the password kept in and read back from the keychain, the connection test and its failures,
// the trust question, the plan, a publish, an unchanged second run, a cancelled run resumed, and
// the window answering while a run goes on; publishing after a build, for a project and for a
// group, and a run through the windows beside pagloom-cli.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "AppTestSupport.h"
#include "Keyring.h"
#include "SshServer.h"
#include "TMakeForm.h"
#include "TestSupport.h"
#include "TfmProjectGroup.h"
#include "TlsServers.h"
#include "publish/PublishDialog.h"

namespace fs = std::filesystem;
using namespace pagloom;
using namespace pagloom::app;
using pagloom::app::test::AppFixture;
namespace support = pagloom::test;

namespace {

// The files of a folder tree without the publishing manifest.
std::map<std::string, std::string> Files(const std::string& root) {
    std::map<std::string, std::string> files = support::FilesBelow(root);
    files.erase(".pagloom-publish.json");
    return files;
}

// Counts the paint events of the widget it watches.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

// A saved project with a built-looking site in its destination folder.
struct SavedProject {
    AppFixture app;
    support::TempDir dir;
    std::string site = dir / "site", file = dir / "projekt.plp";
    SavedProject(int pages = 5) {
        fs::create_directories(site);
        for (int i = 0; i < pages; ++i)
            support::WriteFile(site + "/seite" + std::to_string(i) + ".htm",
                               "<p>" + std::to_string(i) + "</p>\r\n");
        support::WriteFile(site + "/index.htm", "<frameset></frameset>\r\n");
        app.session.Settings().files.destination_directory = site;
        if (!app.session.SaveAs(file)) qFatal("cannot save the project");
    }
    PublishTarget& Target() { return app.session.project.Publish; }
    std::unique_ptr<PublishDialog> Dialog() {
        return std::make_unique<PublishDialog>(app.session, app.main->Tracker(), app.prompts,
                                               std::function<void()>{}, app.main.get());
    }
};

// A copy of the demo project as `name`.plp in `dir`, built into dir/site-<name>, published to
// the folder `remote` (no target when empty).
std::string DemoMember(const support::TempDir& dir, const std::string& name,
                       const std::string& remote) {
    std::string text = support::ReadFile(PAGLOOM_RESOURCES "/../examples/demo/demo.plp");
    const std::string site = dir / ("site-" + name);
    fs::create_directories(site);
    const std::string key = "destination-directory=";
    text.insert(text.find(key) + key.size(), site);
    if (!remote.empty())
        text += "\r\n[publish]\r\nprotocol=folder\r\nremote-folder=" + remote + "\r\n";
    const std::string file = dir / (name + ".plp");
    support::WriteFile(file, text);
    return file;
}

// Opens the group window of `app`, adds `members` and runs `inside` in it; the publishing
// dialog a command shows is handed to `published` (its log).
void InGroupWindow(AppFixture& app, const std::vector<std::string>& members,
                   const std::function<void(TfmProjectGroup*)>& inside, QString& published) {
    app.prompts.onExec = [&](QDialog* d) {
        if (auto* dlg = qobject_cast<PublishDialog*>(d)) {
            published = dlg->LogText();
            return int(QDialog::Rejected);
        }
        auto* g = qobject_cast<TfmProjectGroup*>(d);
        if (!g) return int(QDialog::Rejected);
        QString files;
        for (const std::string& m : members) files += QString::fromStdString(m) + u'\n';
        files.chop(1);
        app.prompts.files = {files};
        g->findChild<QPushButton*>(QStringLiteral("btHinzufuegen"))->click();
        inside(g);
        return int(QDialog::Rejected);
    };
    app.main->findChild<QAction*>(QStringLiteral("acProjektgruppe"))->trigger();
}

}  // namespace

class PublishDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void settingsAreBoundAndThePasswordGoesOnlyToTheKeychain();
    void trustPlanPublishAndAnUnchangedSecondRun();
    void connectionTestSaysWhatWorksAndWhatFailed();
    void aPasswordIsAskedOnceAndTheKeychainsCanBeRemoved();
    void aPortAtTheOldProtocolsDefaultFollowsTheNewOne();
    void aLocalFolderIsChosenOrMadeWhenMissing();
    void aCancelledRunIsResumedAndTheWindowAnswersThroughout();
    void closingDuringARunAsksBeforeCancelling();
    void thePlanWindowListsTheDeletionsAndTheUserDecides();
    void publishingBeforeBuildingSaysToBuildFirst();
    void aGroupPublishesEachMemberToItsOwnTarget();
    void aGroupBuildPublishesWhenAsked();
    void aGroupMemberThatDeletesShowsItsPlan();
    void publishingAfterABuildIsTheProjectsChoice();
    void aRunThroughTheWindowsPutsWhatTheCliPuts();
};

void PublishDialogTest::settingsAreBoundAndThePasswordGoesOnlyToTheKeychain() {
    support::Keyring& keyring = support::Keyring::Shared();
    QVERIFY2(keyring.Running(), qPrintable(QString::fromStdString(keyring.Error())));
    support::DavServer server;
    QVERIFY2(server.Running(), qPrintable(QString::fromStdString(server.Error())));
    SavedProject p;
    auto dlg = p.Dialog();
    dlg->show();
    auto* protocol = dlg->findChild<QComboBox*>(QStringLiteral("cbProtokoll"));
    protocol->setCurrentIndex(3);  // FTP without encryption: a warning beside the list
    emit protocol->activated(3);
    QVERIFY(dlg->findChild<QLabel*>(QStringLiteral("lbFtpWarnung"))->isVisible());
    auto serverTop = [&] {
        dlg->layout()->activate();
        dlg->findChild<QGroupBox*>()->layout()->activate();
        return dlg->findChild<QLineEdit*>(QStringLiteral("edServer"))
            ->mapTo(dlg.get(), QPoint())
            .y();
    };
    const int withWarning = serverTop();
    protocol->setCurrentIndex(2);
    emit protocol->activated(2);
    QVERIFY(!dlg->findChild<QLabel*>(QStringLiteral("lbFtpWarnung"))->isVisible());
    QCOMPARE(serverTop(), withWarning);  // the fields stay where they are
    auto type = [&](const char* name, const QString& text) {
        auto* edit = dlg->findChild<QLineEdit*>(QLatin1String(name));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    };
    type("edServer", QStringLiteral("127.0.0.1"));
    type("edPort", QString::number(server.Port()));
    type("edBenutzer", QString::fromStdString(server.User()));
    type("edZielordner", QString::fromStdString(server.RemoteFolder()));
    type("edPasswort", QString::fromStdString(server.Password()));
    dlg->findChild<QCheckBox*>(QStringLiteral("cbPasswortSpeichern"))->setChecked(true);
    QVERIFY(p.app.session.Modified);
    QCOMPARE(p.Target().protocol, std::string("webdav"));
    QCOMPARE(p.Target().port, server.Port());

    p.app.prompts.trusts = {true};  // the self-signed certificate, asked about once
    QVERIFY2(dlg->TestConnection(), qPrintable(dlg->LogText()));
    QCOMPARE(p.app.prompts.trustQuestions.size(), 1);
    QVERIFY(p.app.prompts.trustQuestions[0].contains(QString::fromStdString(server.Pin())));
    QCOMPARE(p.Target().hostKey, server.Pin());
    QVERIFY(dlg->LogText().contains(QStringLiteral("Das Passwort ist im Schlüsselbund")));
    QVERIFY(dlg->findChild<QLineEdit*>(QStringLiteral("edPasswort"))->text().isEmpty());
    QVERIFY(p.app.session.Save());

    // Reopened: the settings are there, the password only in the keychain.
    const std::string text = support::ReadFile(p.file);
    QVERIFY(text.find(server.Password()) == std::string::npos);
    QVERIFY(text.find("protocol=webdav\r\n") != std::string::npos);
    QVERIFY(text.find("host-key=" + server.Pin() + "\r\n") != std::string::npos);
    AppFixture again;
    QVERIFY(again.session.Open(p.file));
    QCOMPARE(again.session.project.Publish, p.Target());
    PublishDialog second(again.session, again.main->Tracker(), again.prompts, {}, again.main.get());
    QVERIFY2(second.TestConnection(), qPrintable(second.LogText()));
    QVERIFY(again.prompts.passwordPrompts.isEmpty());  // read back from the keychain

    // The trusted key goes with the server: on purpose ("Entfernen"), or when the target is
    // pointed at another protocol, host or port (it would be reported as changed there).
    auto* forget = second.findChild<QPushButton*>(QStringLiteral("btSchluesselEntfernen"));
    QVERIFY(forget->isEnabled());
    again.prompts.answers = {Answer::No, Answer::Yes};
    forget->click();
    QCOMPARE(again.session.project.Publish.hostKey, server.Pin());
    forget->click();
    QVERIFY(again.session.project.Publish.hostKey.empty());
    QVERIFY(!forget->isEnabled());
    // A password typed for one target is not kept for the next one a group shows.
    second.findChild<QLineEdit*>(QStringLiteral("edPasswort"))->setText(QStringLiteral("x"));
    second.ShowTarget();
    QVERIFY(second.findChild<QLineEdit*>(QStringLiteral("edPasswort"))->text().isEmpty());
    for (const char* change : {"protocol", "port"}) {
        again.session.project.Publish.hostKey = server.Pin();
        second.ShowTarget();
        if (std::string(change) == "protocol") {
            auto* protocol = second.findChild<QComboBox*>(QStringLiteral("cbProtokoll"));
            protocol->setCurrentIndex(1);
            emit protocol->activated(1);
        } else {
            auto* port = second.findChild<QLineEdit*>(QStringLiteral("edPort"));
            port->setFocus();
            QTest::keyClick(port, Qt::Key_Backspace);
        }
        QVERIFY2(again.session.project.Publish.hostKey.empty(), change);
    }
}

void PublishDialogTest::trustPlanPublishAndAnUnchangedSecondRun() {
    support::SshServer server;
    QVERIFY2(server.Running(), qPrintable(QString::fromStdString(server.Error())));
    SavedProject p;
    p.Target().protocol = std::string("sftp");
    p.Target().host = "127.0.0.1";
    p.Target().port = server.Port();
    p.Target().user = server.User();
    p.Target().keyFile = server.ClientKey();
    p.Target().remoteFolder = server.Folder();
    auto dlg = p.Dialog();

    p.app.prompts.trusts = {false};  // "Abbrechen": nothing is sent
    QCOMPARE(dlg->PublishNow(), std::nullopt);
    QVERIFY(fs::is_empty(server.Folder()));
    QVERIFY(p.Target().hostKey.empty());

    // "Abbrechen" pressed while connecting: nothing is asked after it or sent.
    p.app.prompts.trusts = {true};
    p.app.prompts.onTrust = [&] { dlg->Cancel(); };
    const int askedBefore = p.app.prompts.questions.size();
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Cancelled));
    QCOMPARE(p.app.prompts.questions.size(), askedBefore);
    QVERIFY(p.app.prompts.planTexts.isEmpty());
    QVERIFY(fs::is_empty(server.Folder()));
    p.app.prompts.onTrust = nullptr;

    p.app.prompts.plans = {PlanAnswer::Publish};
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    QCOMPARE(p.Target().hostKey, server.Fingerprint());
    QVERIFY(p.app.prompts.planTexts.last().contains(QStringLiteral("6 Dateien (6 neu")));
    QCOMPARE(Files(server.Folder()), Files(p.site));
    QVERIFY(dlg->LogText().contains(QStringLiteral("Veröffentlicht: 6 neu")));

    const int asked = p.app.prompts.questions.size() + p.app.prompts.planTexts.size();
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    // nothing to do, nothing asked
    QCOMPARE(p.app.prompts.questions.size() + p.app.prompts.planTexts.size(), asked);
    QVERIFY(dlg->LogText().contains(QStringLiteral("alle 6 Dateien sind unverändert")));

    // A changed key stops without a way through.
    p.Target().hostKey = "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
    support::WriteFile(p.site + "/seite1.htm", "<p>neu</p>\r\n");
    QCOMPARE(dlg->PublishNow(), std::nullopt);
    // A warning titled after the window, with what to do in its text.
    QVERIFY(p.app.prompts.messages.last().startsWith(QStringLiteral("WARNUNG: ")));
    QVERIFY(p.app.prompts.messages.last().contains(QStringLiteral("mit „Entfernen“")));
    QCOMPARE(p.app.prompts.messageKinds.last(), MessageKind::Warning);
    QCOMPARE(p.app.prompts.messageTitles.last(), QStringLiteral("Veröffentlichen"));
    QCOMPARE(support::ReadFile(server.Folder() + "/seite1.htm"), std::string("<p>1</p>\r\n"));
}

void PublishDialogTest::connectionTestSaysWhatWorksAndWhatFailed() {
    support::DavServer server;
    QVERIFY2(server.Running(), qPrintable(QString::fromStdString(server.Error())));
    struct Case {
        const char* what;
        std::function<void(PublishTarget&, std::string&)> change;
        const char* says;
    };
    const Case cases[] = {
        {"refused", [](PublishTarget& t, std::string&) { t.port = support::FreePort(); },
         "Verbindung abgelehnt"},
        {"wrong password", [](PublishTarget&, std::string& pw) { pw = "falsch"; },
         "Anmeldung abgelehnt"},
        {"wrong folder", [](PublishTarget& t, std::string&) { t.remoteFolder = "/fehlt"; },
         "fehlt auf dem Server"},
        {"changed key",
         [](PublishTarget& t, std::string&) {
             t.hostKey = "sha256//AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=";
         },
         "WARNUNG: "},
        {"works", [](PublishTarget&, std::string&) {}, "Die Verbindung ist in Ordnung."},
    };
    for (const Case& c : cases) {
        SavedProject p;
        p.Target().protocol = std::string("webdav");
        p.Target().host = "127.0.0.1";
        p.Target().port = server.Port();
        p.Target().user = server.User();
        p.Target().remoteFolder = server.RemoteFolder();
        p.Target().hostKey = server.Pin();
        std::string password = server.Password();
        c.change(p.Target(), password);
        p.app.prompts.passwords = {QString::fromStdString(password)};
        auto dlg = p.Dialog();
        const bool ok = dlg->TestConnection();
        QVERIFY2(ok == (std::string(c.what) == "works"), c.what);
        QVERIFY2(dlg->LogText().contains(QString::fromUtf8(c.says)),
                 qPrintable(QString::fromUtf8(c.what) + QStringLiteral(": ") + dlg->LogText()));
        QVERIFY(dlg->LogText().indexOf(QString::fromStdString(server.Password())) < 0);
        if (ok) continue;
        // A failure is an error box of the window; the changed key a warning.
        QCOMPARE(p.app.prompts.messageTitles.value(0), QStringLiteral("Veröffentlichen"));
        QCOMPARE(p.app.prompts.messageKinds.value(0), std::string(c.what) == "changed key"
                                                          ? MessageKind::Warning
                                                          : MessageKind::Critical);
    }
    QVERIFY(Files(server.Folder()).empty());  // the check leaves nothing behind

    // The password is asked for once, also when the unknown key is asked about in between.
    SavedProject p;
    p.Target().protocol = std::string("webdav");
    p.Target().host = "127.0.0.1";
    p.Target().port = server.Port();
    p.Target().user = "jemand";  // nothing of this user in the keychain
    p.app.prompts.passwords = {QStringLiteral("falsch"), QStringLiteral("falsch")};
    p.app.prompts.trusts = {true};
    QVERIFY(!p.Dialog()->TestConnection());
    QCOMPARE(p.app.prompts.trustQuestions.size(), 1);
    QCOMPARE(p.app.prompts.passwordPrompts.size(), 1);
}

void PublishDialogTest::aPasswordIsAskedOnceAndTheKeychainsCanBeRemoved() {
    support::Keyring& keyring = support::Keyring::Shared();
    QVERIFY2(keyring.Running(), qPrintable(QString::fromStdString(keyring.Error())));
    support::DavServer server;
    QVERIFY2(server.Running(), qPrintable(QString::fromStdString(server.Error())));
    SavedProject p;
    p.Target().protocol = std::string("webdav");
    p.Target().host = "127.0.0.1";
    p.Target().port = server.Port();
    p.Target().user = server.User();
    p.Target().remoteFolder = server.RemoteFolder();
    p.Target().hostKey = server.Pin();
    auto dlg = p.Dialog();
    dlg->show();
    auto* inKeyring = dlg->findChild<QLabel*>(QStringLiteral("lbSchluesselbund"));
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    QTest::qWait(50);
    QVERIFY(!inKeyring->isVisible());  // nothing kept for this server

    // Asked once for the test and the run after it; a wrong one is asked again.
    p.app.prompts.passwords = {QStringLiteral("falsch"), QString::fromStdString(server.Password())};
    QVERIFY(!dlg->TestConnection());
    QVERIFY2(dlg->TestConnection(), qPrintable(dlg->LogText()));
    p.app.prompts.plans = {PlanAnswer::Publish};
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    QCOMPARE(p.app.prompts.passwordPrompts.size(), 2);
    QVERIFY(!inKeyring->isVisible());

    // Kept in the keychain: the window says so, and "Entfernen" (asked, default Nein) drops it.
    auto* typed = dlg->findChild<QLineEdit*>(QStringLiteral("edPasswort"));
    typed->setText(QString::fromStdString(server.Password()));
    dlg->findChild<QCheckBox*>(QStringLiteral("cbPasswortSpeichern"))->setChecked(true);
    QVERIFY(dlg->TestConnection());
    QVERIFY(inKeyring->isVisible());
    PublishDialog again(p.app.session, p.app.main->Tracker(), p.app.prompts, {}, p.app.main.get());
    again.show();
    auto* shown = again.findChild<QLabel*>(QStringLiteral("lbSchluesselbund"));
    QVERIFY(QTest::qWaitFor([&] { return shown->isVisible(); }));
    auto* remove = again.findChild<QPushButton*>(QStringLiteral("btPasswortEntfernen"));
    p.app.prompts.answers = {Answer::No, Answer::Yes};
    remove->click();
    QVERIFY(shown->isVisible());
    remove->click();
    QVERIFY(!shown->isVisible());
    QVERIFY(p.app.prompts.safeQuestions.last().contains(QStringLiteral("Schlüsselbund entfernen")));
    std::string password, error;
    QCOMPARE(SecretServiceStore().Lookup(p.Target(), password, error), SecretLookup::NotFound);
}

void PublishDialogTest::aPortAtTheOldProtocolsDefaultFollowsTheNewOne() {
    struct Case {
        int port, to, expected;  // the port before, the protocol chosen (list index), after
    };
    // sftp 22, ftps 21, webdav 443, ftp 21, folder none
    for (const Case& c :
         {Case{22, 1, 21}, Case{22, 2, 443}, Case{2222, 1, 2222}, Case{0, 1, 0}, Case{22, 4, 0}}) {
        SavedProject p;
        p.Target().protocol = std::string("sftp");
        p.Target().host = "example.org";
        p.Target().port = c.port;
        auto dlg = p.Dialog();
        auto* protocol = dlg->findChild<QComboBox*>(QStringLiteral("cbProtokoll"));
        protocol->setCurrentIndex(c.to);
        emit protocol->activated(c.to);
        const QString what = QStringLiteral("%1 to %2").arg(c.port).arg(c.to);
        QVERIFY2(p.Target().port == c.expected, qPrintable(what));
        QCOMPARE(dlg->findChild<QLineEdit*>(QStringLiteral("edPort"))->text(),
                 c.expected ? QString::number(c.expected) : QString());
        QCOMPARE(dlg->LogText().contains(QStringLiteral("Port 22 war die Vorgabe")),
                 c.port != c.expected);
    }
}

void PublishDialogTest::aLocalFolderIsChosenOrMadeWhenMissing() {
    SavedProject p;
    p.Target().protocol = std::string("folder");
    auto dlg = p.Dialog();
    const std::string chosen = p.dir / "neu/ziel";
    p.app.prompts.files = {QString::fromStdString(chosen)};
    p.app.prompts.answers = {Answer::Yes};  // made when new
    dlg->findChild<QToolButton*>(QStringLiteral("sbZielordner"))->click();
    QCOMPARE(p.Target().remoteFolder, chosen);
    QVERIFY(fs::is_directory(chosen));
    QCOMPARE(dlg->findChild<QLineEdit*>(QStringLiteral("edZielordner"))->text(),
             QString::fromStdString(chosen));

    // A folder gone by the time of the run is offered to be made as well.
    p.Target().remoteFolder = p.dir / "fehlt";
    p.app.prompts.answers = {Answer::Yes};
    p.app.prompts.plans = {PlanAnswer::Publish};
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    QVERIFY(p.app.prompts.questions.last().contains(QStringLiteral("existiert nicht")));
    QCOMPARE(Files(p.dir / "fehlt"), Files(p.site));
}

void PublishDialogTest::aCancelledRunIsResumedAndTheWindowAnswersThroughout() {
    const int pages = 10000;
    SavedProject p(pages);
    support::TempDir remote;
    p.Target().protocol = std::string("folder");
    p.Target().remoteFolder = remote.Path();
    p.Target().connections = 1;
    auto dlg = p.Dialog();
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    auto* bar = dlg->findChild<QProgressBar*>(QStringLiteral("pbFortschritt"));
    PaintCounter paints;
    bar->installEventFilter(&paints);
    int ticks = 0, progressSeen = 0;
    bool cancelAt50 = true;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    connect(dlg.get(), &PublishDialog::Progressed, dlg.get(), [&](int files) {
        ++progressSeen;
        // A click of the user, taken while the files go.
        if (files >= 50 && cancelAt50)
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("btAbbrechen")),
                              Qt::LeftButton);
    });
    p.app.prompts.plans = {PlanAnswer::Publish};
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Cancelled));
    QVERIFY(ticks > 0);           // the event loop ran while the files went
    QVERIFY(progressSeen >= 50);  // and showed the progress
    QVERIFY(paints.count > 0);    // repainted
    const size_t sent = Files(remote.Path()).size();
    QVERIFY2(sent >= 50 && sent < 1000, qPrintable(QString::number(sent)));
    QVERIFY(dlg->LogText().contains(QStringLiteral("Abgebrochen: ")));
    // Its last line says that it was cancelled, not "Veröffentlicht".
    QVERIFY2(dlg->LogText().contains(QStringLiteral("Abgebrochen nach %1 Dateien: ")
                                         .arg(QLocale(QLocale::German).toString(qint64(sent)))),
             qPrintable(dlg->LogText().right(300)));
    QVERIFY(!dlg->LogText().contains(QStringLiteral("Veröffentlicht: ")));
    QVERIFY(!fs::exists(remote / "index.htm"));  // the entry page only after everything

    cancelAt50 = false;
    ticks = 0;
    paints.count = 0;
    p.app.prompts.plans = {PlanAnswer::Publish};
    const std::optional<PublishEnd> rest = dlg->PublishNow();
    QVERIFY2(rest == PublishEnd::Done, qPrintable(dlg->LogText().right(600)));
    const QString left = QLocale(QLocale::German).toString(qint64(pages + 1 - sent));
    QVERIFY(p.app.prompts.planTexts.last().contains(
        QStringLiteral("Zu übertragen: %1 Dateien").arg(left)));
    // The log holds this run only, its numbers grouped as in German.
    QVERIFY(!dlg->LogText().contains(QStringLiteral("Abgebrochen")));
    QVERIFY2(dlg->LogText().contains(QStringLiteral("Veröffentlicht: %1 neu, ").arg(left)),
             qPrintable(dlg->LogText().right(300)));
    QCOMPARE(Files(remote.Path()), Files(p.site));
    QVERIFY(ticks > 0 && paints.count > 0);
}

namespace {

// What a plan window showed.
struct PlanSeen {
    QString text;  // its labels
    QStringList sent, deleted;
    QString defaultButton;
    bool withoutDeletionsOffered = false;
};

PlanSeen ReadPlan(QDialog* d) {
    PlanSeen seen;
    for (QLabel* label : d->findChildren<QLabel*>()) seen.text += label->text() + u'\n';
    for (const char* name : {"lwUebertragen", "lwLoeschen"})
        if (auto* list = d->findChild<QListWidget*>(QLatin1String(name)))
            for (int i = 0; i < list->count(); ++i)
                (name[2] == 'U' ? seen.sent : seen.deleted) << list->item(i)->text();
    for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->isDefault()) seen.defaultButton = b->objectName();
    seen.withoutDeletionsOffered =
        !d->findChild<QPushButton*>(QStringLiteral("btPlanOhneLoeschen"))->isHidden();
    return seen;
}

}  // namespace

void PublishDialogTest::closingDuringARunAsksBeforeCancelling() {
    SavedProject p(3000);
    support::TempDir remote;
    p.Target().protocol = std::string("folder");
    p.Target().remoteFolder = remote.Path();
    p.Target().connections = 1;
    auto dlg = p.Dialog();
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    // Escape answered "Nein" goes on; "Schließen" answered "Ja" cancels.
    p.app.prompts.answers = {Answer::No, Answer::Yes};
    int step = 0;
    connect(dlg.get(), &PublishDialog::Progressed, dlg.get(), [&](int files) {
        if (step == 0 && files >= 20) {
            ++step;
            QTest::keyClick(dlg.get(), Qt::Key_Escape);
        } else if (step == 1 && files >= 40) {
            ++step;
            dlg->findChild<QPushButton*>(QStringLiteral("btSchliessen"))->click();
        }
    });
    p.app.prompts.plans = {PlanAnswer::Publish};
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Cancelled));
    QCOMPARE(step, 2);
    QCOMPARE(p.app.prompts.safeQuestions.size(), 2);
    QVERIFY(p.app.prompts.safeQuestions[0].startsWith(QStringLiteral("Der Lauf wird abgebrochen")));
    const size_t sent = Files(remote.Path()).size();
    QVERIFY2(sent >= 40 && sent < 1000, qPrintable(QString::number(sent)));
    QVERIFY(dlg->isVisible());  // closed only when the run is over
}

void PublishDialogTest::thePlanWindowListsTheDeletionsAndTheUserDecides() {
    SavedProject p(150);
    support::TempDir remote;
    p.Target().protocol = std::string("folder");
    p.Target().remoteFolder = remote.Path();
    p.Target().deleteRemoved = true;
    auto dlg = p.Dialog();
    PlanSeen seen;
    const char* click = "btPlanVeroeffentlichen";
    p.app.prompts.onExec = [&](QDialog* d) {
        seen = ReadPlan(d);
        if (!click) {  // Enter, as a user would press it by habit
            d->show();
            QTest::keyClick(d, Qt::Key_Return);
            return d->result();
        }
        d->findChild<QPushButton*>(QLatin1String(click))->click();
        return d->result();
    };
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    QCOMPARE(seen.sent.size(), 151);
    QVERIFY(seen.sent.contains(QStringLiteral("neu: seite7.htm")));
    QVERIFY(seen.text.contains(QStringLiteral("Zu übertragen: 151 Dateien (151 neu, 0 geändert)")));
    QVERIFY(seen.text.contains(QStringLiteral("Auf dem Server zu löschen: 0 Dateien")));
    QVERIFY(!seen.withoutDeletionsOffered);  // nothing to delete
    QCOMPARE(seen.defaultButton, QStringLiteral("btPlanVeroeffentlichen"));

    // 120 of 151 pages gone from the site (more than the limit of 100 and than half of the
    // target), one changed.
    for (int i = 0; i < 120; ++i) fs::remove(p.site + "/seite" + std::to_string(i) + ".htm");
    support::WriteFile(p.site + "/seite149.htm", "<p>neu</p>\r\n");
    struct Case {
        const char* click;
        std::optional<PublishEnd> end;
        bool sent, deleted;
    };
    for (const Case& c : {Case{"btPlanAbbrechen", std::nullopt, false, false},
                          Case{nullptr, PublishEnd::Done, true, false},  // without deleting
                          Case{"btPlanVeroeffentlichen", PublishEnd::Done, true, true}}) {
        click = c.click;
        QCOMPARE(dlg->PublishNow(), c.end);
        QCOMPARE(seen.deleted.size(), 120);
        QVERIFY(seen.deleted.contains(QStringLiteral("seite0.htm")));
        QVERIFY2(seen.text.contains(QStringLiteral(
                     "120 Dateien auf dem Server zu löschen (Grenze: 100) – mehr als die Grenze. "
                     "Das ist mehr als die Hälfte der 151 Dateien am Ziel.")),
                 qPrintable(seen.text));
        QCOMPARE(seen.defaultButton, QStringLiteral("btPlanOhneLoeschen"));
        QVERIFY(seen.text.contains(c.deleted ? QStringLiteral("Zu übertragen: 0 Dateien")
                                             : QStringLiteral("Zu übertragen: 1 Datei (0 neu, "
                                                              "1 geändert)")));
        if (!c.click)
            QVERIFY(dlg->LogText().contains(QStringLiteral("Ohne Löschen: 120 Dateien bleiben")));
        QCOMPARE(support::ReadFile(remote / "seite149.htm"),
                 std::string(c.sent ? "<p>neu</p>\r\n" : "<p>149</p>\r\n"));
        QCOMPARE(fs::exists(remote / "seite0.htm"), !c.deleted);
    }
    QCOMPARE(Files(remote.Path()), Files(p.site));
    QVERIFY(p.app.prompts.messages.isEmpty());
}

void PublishDialogTest::publishingBeforeBuildingSaysToBuildFirst() {
    SavedProject p(0);
    fs::remove(p.site + "/index.htm");
    support::TempDir remote;
    p.Target().protocol = std::string("folder");
    p.Target().remoteFolder = remote.Path();
    QCOMPARE(p.Dialog()->PublishNow(), std::optional<PublishEnd>(PublishEnd::NothingPublished));
    QVERIFY(p.app.prompts.planTexts.isEmpty());
    QCOMPARE(p.app.prompts.messages.size(), 1);
    QVERIFY2(p.app.prompts.messages[0].contains(QStringLiteral("„Erstellen“, F9")),
             qPrintable(p.app.prompts.messages[0]));
}

void PublishDialogTest::aGroupPublishesEachMemberToItsOwnTarget() {
    support::TempDir dir;
    const std::string remote = dir / "remote-a";
    fs::create_directories(remote);
    support::WriteFile(dir / "datei", "x");
    // a goes to its folder, b has no target, c's folder lies below a file and cannot be.
    const std::string a = DemoMember(dir, "a", remote), b = DemoMember(dir, "b", ""),
                      c = DemoMember(dir, "c", dir / "datei/unten");
    for (const char* site : {"site-a", "site-c"}) {
        support::WriteFile(dir / site + "/index.htm", "<frameset></frameset>\r\n");
        support::WriteFile(dir / site + "/bilder/logo.gif", "GIF89a");
    }
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    QString log;
    InGroupWindow(
        app, {a, b, c},
        [&](TfmProjectGroup* g) {
            app.prompts.answers = {Answer::Yes};
            g->findChild<QAction*>(QStringLiteral("acVeroeffentlichen"))->trigger();
        },
        log);
    QVERIFY(app.prompts.questions.last().startsWith(
        QStringLiteral("Alle 3 Projekte der Gruppe an ihre Ziele veröffentlichen?")));
    QCOMPARE(Files(remote), Files(dir / "site-a"));
    QVERIFY2(log.contains(QStringLiteral("Projekt 2 von 3: %1\nKein Ziel zum Veröffentlichen.")
                              .arg(QString::fromStdString(b))),
             qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("Projektgruppe veröffentlicht: 1 von 3 Projekten, 1 ohne "
                                         "Ziel, 1 fehlgeschlagen")),
             qPrintable(log));
    QVERIFY(
        log.contains(QStringLiteral("Nicht veröffentlicht: %1: ").arg(QString::fromStdString(c))));
    // The failed members are named in the box's text, not behind its details button.
    QVERIFY(app.prompts.messages.last().startsWith(
        QStringLiteral("Nicht alle Projekte der Gruppe wurden veröffentlicht.\n\n") +
        QString::fromStdString(c) + u':'));
    QCOMPARE(app.prompts.messageKinds.last(), MessageKind::Warning);
}

void PublishDialogTest::aGroupBuildPublishesWhenAsked() {
    support::TempDir dir;
    const std::string remoteA = dir / "remote-a", remoteB = dir / "remote-b";
    fs::create_directories(remoteA);
    fs::create_directories(remoteB);
    const std::string a = DemoMember(dir, "a", remoteA), b = DemoMember(dir, "b", remoteB);
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    app.make->findChild<QCheckBox*>(QStringLiteral("CBVeroeffentlichen"))->setChecked(true);
    QString log;
    InGroupWindow(
        app, {a, b},
        [&](TfmProjectGroup* g) {
            app.prompts.answers = {Answer::No};  // the new group is not saved first
            g->findChild<QAction*>(QStringLiteral("acErstellen"))->trigger();
        },
        log);
    QVERIFY2(log.contains(QStringLiteral("Projektgruppe veröffentlicht: 2 von 2 Projekten")),
             qPrintable(log));
    QVERIFY(Files(dir / "site-a").size() > 3);
    QCOMPARE(Files(remoteA), Files(dir / "site-a"));
    QCOMPARE(Files(remoteB), Files(dir / "site-b"));
    for (const QString& q : app.prompts.questions)  // asked for with the build: no question
        QVERIFY(!q.contains(QStringLiteral("veröffentlichen?")));
}

void PublishDialogTest::aGroupMemberThatDeletesShowsItsPlan() {
    support::TempDir dir;
    std::vector<std::string> members, remotes;
    for (const char* name : {"a", "b"}) {
        remotes.push_back(dir / (std::string("remote-") + name));
        fs::create_directories(remotes.back());
        members.push_back(DemoMember(dir, name, remotes.back()));
        // Deleting what the site no longer has.
        support::WriteFile(members.back(), support::ReadFile(members.back()) + "delete=1\r\n");
        for (const char* page : {"index.htm", "alt.htm", "seite.htm"})
            support::WriteFile(dir / (std::string("site-") + name) + "/" + page, "<p></p>\r\n");
    }
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));
    QString log;
    int plansAfterFirst = -1;
    InGroupWindow(
        app, members,
        [&](TfmProjectGroup* g) {
            auto* publish = g->findChild<QAction*>(QStringLiteral("acVeroeffentlichen"));
            app.prompts.plans = {PlanAnswer::Cancel};  // would stop a member showing its plan
            app.prompts.answers = {Answer::Yes};
            publish->trigger();
            plansAfterFirst = app.prompts.planTexts.size();
            // b's site lost a page: only b shows its plan, and keeps the page when told so.
            fs::remove(dir / "site-b/alt.htm");
            app.prompts.plans = {PlanAnswer::WithoutDeletions};
            app.prompts.answers = {Answer::Yes};
            publish->trigger();
        },
        log);
    QCOMPARE(plansAfterFirst, 0);  // the group's question was enough
    QCOMPARE(Files(remotes[0]), Files(dir / "site-a"));
    QCOMPARE(app.prompts.planTexts.size(), 1);
    QVERIFY(
        app.prompts.planTexts[0].contains(QStringLiteral("Auf dem Server zu löschen: 1 Datei")));
    QVERIFY(fs::exists(remotes[1] + "/alt.htm"));
    QVERIFY(fs::exists(remotes[1] + "/seite.htm"));
    QVERIFY2(log.contains(QStringLiteral("Projektgruppe veröffentlicht: 2 von 2 Projekten")),
             qPrintable(log));
}

void PublishDialogTest::publishingAfterABuildIsTheProjectsChoice() {
    SavedProject p;
    const std::string other = p.dir / "anderes.plp";
    fs::copy_file(p.file, other);
    bool ticked = false, click = true;
    p.app.prompts.onExec = [&](QDialog* d) {
        auto* box = d->findChild<QCheckBox*>(QStringLiteral("CBVeroeffentlichen"));
        ticked = box->isChecked();
        if (click) box->click();
        return int(QDialog::Rejected);
    };
    p.app.make->ShowModal();
    QVERIFY(!ticked);
    QVERIFY(p.Target().publishAfterBuild);
    QVERIFY(p.app.session.Modified);
    QVERIFY(p.app.session.Save());
    QVERIFY(support::ReadFile(p.file).find("after-build=1\r\n") != std::string::npos);
    // Each project shows its own choice, whatever the one before had.
    click = false;
    for (const auto& [file, choice] : {std::pair{other, false}, std::pair{p.file, true}}) {
        QVERIFY(p.app.session.Open(file));
        p.app.make->ShowModal();
        QCOMPARE(ticked, choice);
        QCOMPARE(p.app.session.Build.PublishAfterBuild, choice);
    }
}

void PublishDialogTest::aRunThroughTheWindowsPutsWhatTheCliPuts() {
    support::SshServer server;
    QVERIFY2(server.Running(), qPrintable(QString::fromStdString(server.Error())));
    support::TempDir dir;
    const std::string site = dir / "site", file = dir / "neu.plp";
    fs::create_directories(site);
    AppFixture app(QStringLiteral(PAGLOOM_RESOURCES));  // a new project
    app.prompts.files = {QString::fromStdString(site), QString::fromStdString(file)};
    app.Find<QToolButton>("SpeedButtonZiel")->click();
    QCOMPARE(app.main->FileSaveAs(), TMainForm::SaveOutcome::Saved);

    int publishDialogs = 0;
    QString publishLog;
    app.prompts.onExec = [&](QDialog* d) {
        if (auto* dlg = qobject_cast<PublishDialog*>(d)) {
            if (publishDialogs++ == 0) {  // the settings, typed
                auto* protocol = dlg->findChild<QComboBox*>(QStringLiteral("cbProtokoll"));
                protocol->setCurrentIndex(0);
                emit protocol->activated(0);
                for (const auto& [name, text] :
                     std::initializer_list<std::pair<const char*, std::string>>{
                         {"edServer", "127.0.0.1"},
                         {"edPort", std::to_string(server.Port())},
                         {"edBenutzer", server.User()},
                         {"edZielordner", server.Folder()},
                         {"edSchluesseldatei", server.ClientKey()}}) {
                    auto* edit = dlg->findChild<QLineEdit*>(QLatin1String(name));
                    edit->setFocus();
                    QTest::keyClicks(edit, QString::fromStdString(text));
                    QTest::keyClick(edit, Qt::Key_Tab);
                }
            }
            publishLog = dlg->LogText();
            return int(QDialog::Rejected);
        }
        auto* make = qobject_cast<TMakeForm*>(d);
        if (!make) return int(QDialog::Rejected);
        auto* dryRun = make->findChild<QCheckBox*>(QStringLiteral("CBNurPruefen"));
        make->findChild<QCheckBox*>(QStringLiteral("CBVeroeffentlichen"))->setChecked(true);
        dryRun->setChecked(true);  // only planned: nothing is published
        make->findChild<QPushButton*>(QStringLiteral("MakeStart"))->click();
        if (publishDialogs != 1) return int(QDialog::Rejected);
        dryRun->setChecked(false);
        make->findChild<QPushButton*>(QStringLiteral("MakeStart"))->click();
        return int(QDialog::Rejected);
    };
    app.main->PublishClick();
    QCOMPARE(app.session.project.Publish.protocol, std::string("sftp"));
    app.prompts.trusts = {true};
    app.prompts.plans = {PlanAnswer::Publish};
    app.main->Erstellen1Click();
    QVERIFY2(publishDialogs == 2,
             qPrintable(app.make->Log()->toPlainText() + app.prompts.messages.join(u'\n')));
    QVERIFY2(publishLog.contains(QStringLiteral("Veröffentlicht: ")), qPrintable(publishLog));
    QVERIFY(app.session.Save());
    const std::map<std::string, std::string> published = support::FilesBelow(server.Folder());
    QVERIFY(published.size() > 3);
    QCOMPARE(Files(server.Folder()), Files(site));

    // The same saved project through pagloom-cli into the emptied folder.
    for (const auto& entry : fs::directory_iterator(server.Folder())) fs::remove_all(entry.path());
    support::TempDir cache;
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CACHE_HOME"), QString::fromStdString(cache.Path()));
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(PAGLOOM_CLI),
              {QStringLiteral("publish"), QString::fromStdString(file)});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    QCOMPARE(support::FilesBelow(server.Folder()), published);
}

QTEST_MAIN(PublishDialogTest)
#include "PublishDialogTest.moc"
