// SPDX-License-Identifier: MIT
// The publishing dialog against real servers on 127.0.0.1 (OpenSSH, lighttpd with WebDAV) and
// a keychain of the test's own: settings bound to the project and saved without the password,
// the password kept in and read back from the keychain, the connection test and its failures,
// the trust question, the plan, a publish, an unchanged second run, a cancelled run resumed, and
// the window answering while a run goes on.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "AppTestSupport.h"
#include "Keyring.h"
#include "SshServer.h"
#include "TestSupport.h"
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

}  // namespace

class PublishDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void settingsAreBoundAndThePasswordGoesOnlyToTheKeychain();
    void trustPlanPublishAndAnUnchangedSecondRun();
    void connectionTestSaysWhatWorksAndWhatFailed();
    void aCancelledRunIsResumedAndTheWindowAnswersThroughout();
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
    protocol->setCurrentIndex(2);
    emit protocol->activated(2);
    QVERIFY(!dlg->findChild<QLabel*>(QStringLiteral("lbFtpWarnung"))->isVisible());
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
    QCOMPARE(p.Target().protocol, PublishProtocol::WebDav);
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
}

void PublishDialogTest::trustPlanPublishAndAnUnchangedSecondRun() {
    support::SshServer server;
    QVERIFY2(server.Running(), qPrintable(QString::fromStdString(server.Error())));
    SavedProject p;
    p.Target().protocol = PublishProtocol::Sftp;
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

    p.app.prompts.trusts = {true};
    p.app.prompts.answers = {Answer::Yes};  // the plan's question
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    QCOMPARE(p.Target().hostKey, server.Fingerprint());
    QVERIFY(p.app.prompts.questions.last().contains(QStringLiteral("6 neu")));
    QCOMPARE(Files(server.Folder()), Files(p.site));
    QVERIFY(dlg->LogText().contains(QStringLiteral("Veröffentlicht: 6 neu")));

    const int asked = p.app.prompts.questions.size();
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Done));
    QCOMPARE(p.app.prompts.questions.size(), asked);  // nothing to do, nothing asked
    QVERIFY(dlg->LogText().contains(QStringLiteral("alle 6 Dateien sind unverändert")));

    // A changed key stops without a way through.
    p.Target().hostKey = "SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
    support::WriteFile(p.site + "/seite1.htm", "<p>neu</p>\r\n");
    QCOMPARE(dlg->PublishNow(), std::nullopt);
    QVERIFY(p.app.prompts.messages.last().startsWith(QStringLiteral("WARNUNG: ")));
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
        p.Target().protocol = PublishProtocol::WebDav;
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
    }
    QVERIFY(Files(server.Folder()).empty());  // the check leaves nothing behind
}

void PublishDialogTest::aCancelledRunIsResumedAndTheWindowAnswersThroughout() {
    SavedProject p(400);
    support::TempDir remote;
    p.Target().protocol = PublishProtocol::Folder;
    p.Target().remoteFolder = remote.Path();
    p.Target().connections = 1;
    auto dlg = p.Dialog();
    int ticks = 0, progressSeen = 0;
    bool cancelAt50 = true;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    connect(dlg.get(), &PublishDialog::Progressed, dlg.get(), [&](int files) {
        ++progressSeen;
        if (files == 50 && cancelAt50) dlg->Cancel();
    });
    p.app.prompts.answers = {Answer::Yes};
    QCOMPARE(dlg->PublishNow(), std::optional<PublishEnd>(PublishEnd::Cancelled));
    QVERIFY(ticks > 0);           // the event loop ran while the files went
    QVERIFY(progressSeen >= 50);  // and showed the progress
    const size_t sent = Files(remote.Path()).size();
    QVERIFY(sent >= 50 && sent < 401);
    QVERIFY(dlg->LogText().contains(QStringLiteral("Abgebrochen: ")));
    QVERIFY(!fs::exists(remote / "index.htm"));  // the entry page only after everything

    cancelAt50 = false;
    p.app.prompts.answers = {Answer::Yes};
    const std::optional<PublishEnd> rest = dlg->PublishNow();
    QVERIFY2(rest == PublishEnd::Done, qPrintable(dlg->LogText().right(600)));
    QVERIFY(p.app.prompts.questions.last().contains(
        QStringLiteral("Zu übertragen: %1 Dateien").arg(401 - sent)));
    QCOMPARE(Files(remote.Path()), Files(p.site));
}

QTEST_MAIN(PublishDialogTest)
#include "PublishDialogTest.moc"
