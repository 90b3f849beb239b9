// SPDX-License-Identifier: MIT
#include "publish/PublishDialog.h"

#include <qt6keychain/keychain.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <thread>

#include "Binding.h"
#include "FieldTracker.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "publish/ConnectionCheck.h"
#include "publish/SecretStore.h"

namespace pagloom::app {
namespace {

// The protocols in the order of the list.
constexpr PublishProtocol kProtocols[] = {PublishProtocol::Sftp, PublishProtocol::Ftps,
                                          PublishProtocol::WebDav, PublishProtocol::Ftp,
                                          PublishProtocol::Folder};

QString Bytes(qulonglong n) {
    if (n < 10 * 1024) return QStringLiteral("%1 Bytes").arg(n);
    if (n < 10 * 1024 * 1024) return QStringLiteral("%1 KB").arg(n / 1024);
    return QStringLiteral("%1 MB").arg(n / (1024 * 1024));
}

// What a trusted key belongs to.
std::string ServerOf(const PublishTarget& t) {
    return std::string(ProtocolKey(t.protocol)) + "://" + t.host + ":" +
           std::to_string(EffectivePort(t));
}

bool NeedsPassword(const PublishTarget& t) {
    return t.protocol != PublishProtocol::Folder && t.protocol != PublishProtocol::Sftp &&
           !t.user.empty();
}

}  // namespace

PublishDialog::PublishDialog(ProjectSession& session, FieldTracker& tracker, UiPrompts& prompts,
                             std::function<void()> help, QWidget* parent)
    : QDialog(parent),
      session_(session),
      tracker_(tracker),
      prompts_(prompts),
      help_(std::move(help)) {
    setObjectName(QStringLiteral("PublishDialog"));
    setWindowTitle(QStringLiteral("Veröffentlichen"));
    binder_ = new Binder(tracker_, this);
    BuildControls();
    binder_->Refresh();
    connect(this, &PublishDialog::Progressed, this, &PublishDialog::ShowProgress,
            Qt::QueuedConnection);
    resize(640, 720);
}

PublishDialog::~PublishDialog() = default;

void PublishDialog::BuildControls() {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
    auto* form = new QFormLayout;
    protocol_ = new QComboBox;
    protocol_->setObjectName(QStringLiteral("cbProtokoll"));
    protocol_->addItems({QStringLiteral("SFTP (SSH)"), QStringLiteral("FTPS (FTP mit TLS)"),
                         QStringLiteral("WebDAV (HTTPS)"),
                         QStringLiteral("FTP ohne Verschlüsselung"),
                         QStringLiteral("Lokaler Ordner")});
    binder_->Choice(
        protocol_,
        [target] {
            for (int i = 0; i < 5; ++i)
                if (kProtocols[i] == target().protocol) return i;
            return -1;
        },
        [target](int i) {
            if (i < 0 || i >= 5) return;
            target().protocol = kProtocols[i];
            target().protocolText = ProtocolKey(kProtocols[i]);
        });
    ftpWarning_ = new QLabel(QStringLiteral(
        "Achtung: Passwort und Dateien gehen unverschlüsselt und lesbar über das Netz."));
    ftpWarning_->setObjectName(QStringLiteral("lbFtpWarnung"));
    ftpWarning_->setStyleSheet(QStringLiteral("color: #a00000;"));
    ftpWarning_->setWordWrap(true);
    binder_->Show(ftpWarning_, [target] { return target().protocol == PublishProtocol::Ftp; });
    auto* protocolLabel = new QLabel(QStringLiteral("&Protokoll:"));
    protocolLabel->setBuddy(protocol_);
    form->addRow(protocolLabel, protocol_);
    form->addRow(QString(), ftpWarning_);

    auto text = [&](QLineEdit*& edit, const char* name, const QString& caption,
                    std::string PublishTarget::*member) {
        edit = new QLineEdit;
        edit->setObjectName(QLatin1String(name));
        binder_->Text(
            edit, [target, member]() -> std::string& { return target().*member; }, true);
        auto* label = new QLabel(caption);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    auto isServer = [target] { return target().protocol != PublishProtocol::Folder; };
    text(host_, "edServer", QStringLiteral("&Server:"), &PublishTarget::host);
    binder_->Enable(host_, isServer);

    port_ = new QLineEdit;
    port_->setObjectName(QStringLiteral("edPort"));
    port_->setValidator(new QIntValidator(0, 65535, port_));
    port_->setPlaceholderText(QStringLiteral("Vorgabe des Protokolls"));
    port_->setText(target().port > 0 ? QString::number(target().port) : QString());
    connect(port_, &QLineEdit::textEdited, this, [this, target] {
        const int port = port_->text().trimmed().toInt();
        if (port == target().port) return;
        target().port = port;
        tracker_.MarkModified();
        ForgetKeyOfOtherServer();
    });
    binder_->Enable(port_, isServer);
    auto* portLabel = new QLabel(QStringLiteral("P&ort:"));
    portLabel->setBuddy(port_);
    form->addRow(portLabel, port_);

    text(user_, "edBenutzer", QStringLiteral("&Benutzer:"), &PublishTarget::user);
    binder_->Enable(user_, isServer);
    text(folder_, "edZielordner", QStringLiteral("&Zielordner:"), &PublishTarget::remoteFolder);

    keyFile_ = new QLineEdit;
    keyFile_->setObjectName(QStringLiteral("edSchluesseldatei"));
    binder_->Text(
        keyFile_, [target]() -> std::string& { return target().keyFile; }, true);
    auto* chooseKey = new QToolButton;
    chooseKey->setObjectName(QStringLiteral("sbSchluesseldatei"));
    chooseKey->setText(QStringLiteral("..."));
    chooseKey->setToolTip(QStringLiteral("SSH-Schlüsseldatei wählen"));
    connect(chooseKey, &QToolButton::clicked, this, [this, target] {
        const QString file =
            prompts_.OpenFile(this, QStringLiteral("SSH-Schlüsseldatei wählen"),
                              QDir::homePath() + QStringLiteral("/.ssh"),
                              QStringLiteral("Alle Dateien (*)"), QString(), QString());
        if (file.isEmpty()) return;
        const std::optional<std::string> path = ChosenPath(prompts_, this, file);
        if (!path || *path == target().keyFile) return;
        target().keyFile = *path;
        tracker_.MarkModified();
        binder_->Refresh();
    });
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(keyFile_);
    keyRow->addWidget(chooseKey);
    auto* keyLabel = new QLabel(QStringLiteral("SSH-Schlüssel&datei:"));
    keyLabel->setBuddy(keyFile_);
    form->addRow(keyLabel, keyRow);
    binder_->Enable(keyFile_, [target] { return target().protocol == PublishProtocol::Sftp; });
    binder_->Enable(chooseKey, [target] { return target().protocol == PublishProtocol::Sftp; });

    password_ = new QLineEdit;
    password_->setObjectName(QStringLiteral("edPasswort"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setPlaceholderText(QStringLiteral("aus dem Schlüsselbund oder bei Bedarf erfragt"));
    auto* passwordLabel = new QLabel(QStringLiteral("Pass&wort:"));
    passwordLabel->setBuddy(password_);
    form->addRow(passwordLabel, password_);
    savePassword_ =
        new QCheckBox(QStringLiteral("Passwort spe&ichern (im Schlüsselbund des "
                                     "Desktops, nie in der Projektdatei)"));
    savePassword_->setObjectName(QStringLiteral("cbPasswortSpeichern"));
    form->addRow(QString(), savePassword_);
    binder_->Enable(password_, isServer);
    binder_->Enable(savePassword_, isServer);

    auto patterns = [&](QPlainTextEdit*& edit, const char* name, const QString& caption,
                        std::vector<std::string> PublishTarget::*member) {
        edit = new QPlainTextEdit;
        edit->setObjectName(QLatin1String(name));
        edit->setTabChangesFocus(true);
        edit->setMaximumHeight(60);
        binder_->List(edit,
                      [target, member]() -> std::vector<std::string>& { return target().*member; });
        auto* label = new QLabel(caption + QStringLiteral("\n(ein Muster je Zeile):"));
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    patterns(exclude_, "meAuslassen", QStringLiteral("&Nicht veröffentlichen"),
             &PublishTarget::exclude);
    patterns(protect_, "meSchuetzen", QStringLiteral("Auf dem Server nie &ändern"),
             &PublishTarget::protect);

    deleteRemoved_ = new QCheckBox(QStringLiteral("&Gelöschte Dateien auf dem Server entfernen"));
    deleteRemoved_->setObjectName(QStringLiteral("cbLoeschen"));
    binder_->Switch(deleteRemoved_, [target]() -> bool& { return target().deleteRemoved; });
    form->addRow(QString(), deleteRemoved_);
    connections_ = new QSpinBox;
    connections_->setObjectName(QStringLiteral("seVerbindungen"));
    connections_->setRange(1, 8);
    connections_->setValue(target().connections);
    connect(connections_, &QSpinBox::valueChanged, this, [this, target](int n) {
        if (n == target().connections) return;
        target().connections = n;
        tracker_.MarkModified();
    });
    auto* connectionsLabel = new QLabel(QStringLiteral("Verbindungen g&leichzeitig:"));
    connectionsLabel->setBuddy(connections_);
    form->addRow(connectionsLabel, connections_);

    // The key trusted for this server; removed only on purpose (the provider changed it).
    auto* hostKey = new QLabel;
    hostKey->setObjectName(QStringLiteral("lbSchluessel"));
    hostKey->setTextInteractionFlags(Qt::TextSelectableByMouse);
    binder_->Label(hostKey, [target] {
        return target().hostKey.empty()
                   ? QStringLiteral("noch keiner (wird beim ersten Verbinden erfragt)")
                   : Q(target().hostKey);
    });
    auto* forget = new QPushButton(QStringLiteral("Entfe&rnen"));
    forget->setObjectName(QStringLiteral("btSchluesselEntfernen"));
    forget->setToolTip(QStringLiteral("Den gespeicherten Schlüssel des Servers entfernen"));
    binder_->Enable(forget, [target] { return !target().hostKey.empty(); });
    connect(forget, &QPushButton::clicked, this, [this, target] {
        const QString question = QStringLiteral(
            "Den gespeicherten Schlüssel des Servers entfernen?\n\nTun Sie das nur, wenn Ihr "
            "Anbieter bestätigt, dass sich der Schlüssel geändert hat. Beim nächsten Verbinden "
            "werden Sie gefragt, ob Sie dem neuen vertrauen.");
        if (prompts_.Ask(this, question, false) != Answer::Yes) return;
        target().hostKey.clear();
        tracker_.MarkModified();
        binder_->Refresh();
        Log(QStringLiteral("Der gespeicherte Schlüssel des Servers ist entfernt."));
    });
    auto* keyRow2 = new QHBoxLayout;
    keyRow2->addWidget(hostKey, 1);
    keyRow2->addWidget(forget);
    auto* hostKeyLabel = new QLabel(QStringLiteral("Schlüssel des Servers:"));
    form->addRow(hostKeyLabel, keyRow2);
    // Only SSH and TLS servers have a key to trust.
    for (QWidget* w : std::initializer_list<QWidget*>{hostKeyLabel, hostKey, forget})
        binder_->Show(w, [target] {
            const PublishProtocol p = target().protocol;
            return p == PublishProtocol::Sftp || p == PublishProtocol::Ftps ||
                   p == PublishProtocol::WebDav;
        });
    binder_->OnUserChange([this] { ForgetKeyOfOtherServer(); });
    keyOwner_ = ServerOf(target());

    auto* settings = new QGroupBox(QStringLiteral("Ziel"));
    settings->setLayout(form);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("lbFortschritt"));
    // A long project or file name is cut at the edge rather than widening the window.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar_ = new QProgressBar;
    bar_->setObjectName(QStringLiteral("pbFortschritt"));
    bar_->setVisible(false);
    log_ = new QPlainTextEdit;
    log_->setObjectName(QStringLiteral("meProtokoll"));
    log_->setReadOnly(true);
    log_->setTabChangesFocus(true);

    test_ = new QPushButton(QStringLiteral("Verbindung &testen"));
    test_->setObjectName(QStringLiteral("btVerbindungTesten"));
    publish_ = new QPushButton(QStringLiteral("&Veröffentlichen"));
    publish_->setObjectName(QStringLiteral("btVeroeffentlichen"));
    publish_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Abbre&chen"));
    cancelButton_->setObjectName(QStringLiteral("btAbbrechen"));
    cancelButton_->setEnabled(false);
    close_ = new QPushButton(QStringLiteral("Schließen"));
    close_->setObjectName(QStringLiteral("btSchliessen"));
    auto* helpButton = new QPushButton(QStringLiteral("&Hilfe"));
    helpButton->setObjectName(QStringLiteral("btHilfe"));
    connect(test_, &QPushButton::clicked, this,
            [this] { RunGuarded(prompts_, this, [this] { TestConnection(); }); });
    connect(publish_, &QPushButton::clicked, this,
            [this] { RunGuarded(prompts_, this, [this] { PublishNow(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &PublishDialog::Cancel);
    connect(close_, &QPushButton::clicked, this, &PublishDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (help_) help_();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(test_);
    buttons->addStretch();
    buttons->addWidget(publish_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(close_);
    buttons->addWidget(helpButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settings);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(log_, 1);
    layout->addLayout(buttons);
}

void PublishDialog::reject() {
    if (running_ || groupRun_) {
        Cancel();  // the run ends after the files in flight; then the window may close
        return;
    }
    tracker_.LeaveField();
    QDialog::reject();
}

QString PublishDialog::LogText() const { return log_->toPlainText(); }

void PublishDialog::SetGroupRun(bool on, const QString& prefix) {
    if (on && !groupRun_) cancel_ = false;  // "Abbrechen" stops the whole group from here on
    groupRun_ = on;
    SetBusy(running_);
    prefix_ = prefix.isEmpty() ? QString() : prefix + QStringLiteral(" – ");
}

void PublishDialog::ForgetKeyOfOtherServer() {
    PublishTarget& t = session_.project.Publish;
    const std::string server = ServerOf(t);
    if (server == keyOwner_) return;
    keyOwner_ = server;
    if (t.hostKey.empty()) return;
    // A key is trusted for one server and protocol: kept for another, it would be reported as
    // changed.
    t.hostKey.clear();
    tracker_.MarkModified();
    binder_->Refresh();
    Log(QStringLiteral("Der gespeicherte Schlüssel galt dem bisherigen Server; er ist entfernt."));
}

void PublishDialog::ShowTarget() {
    keyOwner_ = ServerOf(session_.project.Publish);
    // A password typed for the target shown before is not sent to this one.
    password_->clear();
    binder_->Refresh();
    const PublishTarget& t = session_.project.Publish;
    const QSignalBlocker b1(port_), b2(connections_);
    port_->setText(t.port > 0 ? QString::number(t.port) : QString());
    connections_->setValue(t.connections);
}

void PublishDialog::Problem(const QString& text, const QString& details) {
    problem_ = text;
    Log(text);
    if (!groupRun_) prompts_.Message(this, text, details);
}

void PublishDialog::Log(const QString& line) {
    log_->appendPlainText(line);
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());  // the newest
}

void PublishDialog::Log(const std::vector<std::string>& lines) {
    QStringList all;
    for (const std::string& l : lines) all << Q(l);
    Log(all.join(u'\n'));
}

void PublishDialog::SetBusy(bool busy) {
    running_ = busy;
    // A group's run is busy between its members too.
    const bool off = busy || groupRun_;
    for (QWidget* w : std::initializer_list<QWidget*>{test_, publish_, findChild<QGroupBox*>()})
        w->setEnabled(!off);
    cancelButton_->setEnabled(off);
}

void PublishDialog::RunAside(const std::function<void()>& work) {
    QEventLoop loop;
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
}

std::optional<std::string> PublishDialog::Password() {
    const PublishTarget& t = session_.project.Publish;
    if (t.protocol == PublishProtocol::Folder) return std::string();
    if (!password_->text().isEmpty()) {
        const std::string typed = password_->text().toStdString();
        if (savePassword_->isChecked()) StorePassword(typed);
        return typed;
    }
    // SSH logs in with the agent or the key file; no keychain needed then.
    if (t.protocol == PublishProtocol::Sftp && !t.keyFile.empty()) return std::string();
    QKeychain::ReadPasswordJob job{QLatin1String(kSecretService)};
    job.setAutoDelete(false);
    job.setKey(QString::fromStdString(SecretKey(t)));
    QEventLoop loop;
    connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError) return job.textData().toStdString();
    if (job.error() != QKeychain::EntryNotFound && !toldNoKeychain_) {
        toldNoKeychain_ = true;
        Log(
            QStringLiteral("Kein Schlüsselbund des Desktops erreichbar; ein Passwort wird bei "
                           "jedem Lauf erfragt."));
    }
    if (!NeedsPassword(t)) return std::string();  // SSH: the agent or the key file
    const std::optional<QString> asked =
        prompts_.Password(this, QStringLiteral("Passwort für %1@%2:").arg(Q(t.user), Q(t.host)));
    if (!asked) return std::nullopt;
    return asked->toStdString();
}

void PublishDialog::StorePassword(const std::string& password) {
    QKeychain::WritePasswordJob job{QLatin1String(kSecretService)};
    job.setAutoDelete(false);
    job.setKey(QString::fromStdString(SecretKey(session_.project.Publish)));
    job.setTextData(QString::fromStdString(password));
    QEventLoop loop;
    connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError) {
        Log(QStringLiteral("Das Passwort ist im Schlüsselbund des Desktops gespeichert."));
        password_->clear();
        savePassword_->setChecked(false);
        return;
    }
    prompts_.Message(this,
                     QStringLiteral("Kein Schlüsselbund des Desktops erreichbar; das Passwort "
                                    "wird nicht gespeichert und bei jedem Lauf erfragt."),
                     job.errorString());
}

bool PublishDialog::Connect(TargetConnection& connection) {
    // Asked once, also when the server's key is asked about in between.
    std::optional<std::string> password = Password();
    if (!password) {
        problem_ = QStringLiteral("Abgebrochen: kein Passwort.");
        Log(problem_);
        return false;
    }
    struct Wipe {
        std::string& text;
        ~Wipe() { std::fill(text.begin(), text.end(), '\0'); }
    } wipe{*password};
    for (;;) {
        const PublishTarget target = session_.project.Publish;
        TargetAccess access;
        access.projectFile = session_.FileName();
        access.site = session_.Settings().files.destination_directory;
        access.password = *password;
        access.knownHosts = UserKnownHosts();
        status_->setText(prefix_ + QStringLiteral("Verbinde mit %1 …").arg(Q(target.host)));
        // The connection keeps the file system for a folder target: the dialog's own.
        RunAside([&] { connection = ConnectTarget(disk_, target, access); });
        std::fill(access.password.begin(), access.password.end(), '\0');
        status_->clear();
        if (!connection.warning.empty()) Log(Q(connection.warning));
        if (connection.store) return true;
        if (connection.unknownKey && !connection.fingerprint.empty()) {
            Log(QStringLiteral("Der Schlüssel des Servers %1 ist unbekannt: %2")
                    .arg(Q(target.host), Q(connection.fingerprint)));
            const QString question =
                QStringLiteral(
                    "Der Schlüssel des Servers %1 ist unbekannt.\n\n"
                    "Sein SHA256-Fingerabdruck:\n%2\n\n"
                    "Vertrauen Sie ihm nur, wenn er mit dem übereinstimmt, den Ihr "
                    "Anbieter nennt.")
                    .arg(Q(target.host), Q(connection.fingerprint));
            if (!prompts_.Trust(this, question)) {
                problem_ = QStringLiteral("Abgebrochen: dem Server wird nicht vertraut.");
                Log(problem_);
                return false;
            }
            session_.project.Publish.hostKey = connection.fingerprint;
            keyOwner_ = ServerOf(session_.project.Publish);
            binder_->Refresh();
            tracker_.MarkModified();
            Log(QStringLiteral("Der Schlüssel des Servers ist gespeichert: %1")
                    .arg(Q(connection.fingerprint)));
            continue;
        }
        if (connection.changedKey)
            Problem(
                Q(connection.error),
                QStringLiteral("Hat Ihr Anbieter den Schlüssel wirklich geändert, entfernen Sie "
                               "den gespeicherten mit „Entfernen“ neben „Schlüssel des "
                               "Servers“; beim nächsten Verbinden werden Sie gefragt."));
        else
            Problem(Q(connection.error));
        return false;
    }
}

bool PublishDialog::TestConnection() {
    tracker_.LeaveField();
    if (session_.project.Publish.protocol == PublishProtocol::None) {
        prompts_.Message(this, QStringLiteral("Bitte wählen Sie zuerst ein Protokoll."));
        return false;
    }
    problem_.clear();
    SetBusy(true);
    Log(QStringLiteral("Verbindung testen: %1").arg(Q(session_.project.Publish.Address())));
    TargetConnection connection;
    bool ok = Connect(connection);
    if (ok) {
        const PublishTarget target = session_.project.Publish;
        ConnectionCheck check;
        RunAside([&] { check = CheckStore(*connection.store, target); });
        Log(check.lines);
        ok = check.ok;
        if (ok)
            Log(QStringLiteral("Die Verbindung ist in Ordnung."));
        else
            problem_ = QStringLiteral("Die Verbindung ist nicht in Ordnung.");
        if (!ok) Log(problem_);
    }
    SetBusy(false);
    return ok;
}

std::optional<PublishEnd> PublishDialog::PublishNow(bool askFirst) {
    tracker_.LeaveField();
    problem_.clear();
    const std::string projectFile = session_.FileName();
    const std::string site = session_.Settings().files.destination_directory;
    if (session_.project.Publish.protocol == PublishProtocol::None) {
        Problem(QStringLiteral("Bitte wählen Sie zuerst ein Protokoll."));
        return std::nullopt;
    }
    if (projectFile.empty()) {
        Problem(
            QStringLiteral("Bitte speichern Sie das Projekt zuerst: sein Name "
                           "kennzeichnet seine Dateien auf dem Server."));
        return std::nullopt;
    }
    if (site.empty()) {
        Problem(QStringLiteral("Sie haben kein Zielverzeichnis angegeben!"));
        return std::nullopt;
    }
    // "Abbrechen" counts from here on: while connecting and comparing as well as sending. A
    // group's run counts it from its start.
    if (!groupRun_) cancel_ = false;
    SetBusy(true);
    struct Done {
        PublishDialog* d;
        ~Done() { d->SetBusy(false); }
    } done{this};
    TargetConnection connection;
    if (!Connect(connection)) return std::nullopt;
    // "Abbrechen" while connecting or comparing: nothing more is asked or sent.
    auto stopped = [this] {
        if (!cancel_) return false;
        problem_ = QStringLiteral("Abgebrochen.");
        Log(problem_);
        return true;
    };
    if (stopped()) return PublishEnd::Cancelled;
    const PublishTarget target = session_.project.Publish;
    PublishOptions options = ProjectPublishOptions(session_.project, projectFile, disk_);

    if (askFirst) {
        // The plan first: what goes and what is removed, and the question whether to go on.
        options.dryRun = true;
        MakeReport plan;
        PublishOutcome planned;
        status_->setText(QStringLiteral("Vergleiche mit dem Server …"));
        RunAside([&] { planned = Publish(disk_, site, *connection.store, target, options, plan); });
        status_->clear();
        if (stopped()) return PublishEnd::Cancelled;
        if (planned.end == PublishEnd::NothingPublished) {
            Log(plan.Lines());
            Problem(QStringLiteral("Es wird nichts veröffentlicht."),
                    Q(plan.Lines().size() > 2 ? plan.Lines()[2] : std::string()));
            return PublishEnd::NothingPublished;
        }
        const PublishCounts& p = planned.counts;
        if (p.added + p.changed + p.deleted == 0) {
            Log(QStringLiteral("Nichts zu veröffentlichen: alle %1 Dateien sind unverändert.")
                    .arg(p.unchanged));
            return PublishEnd::Done;
        }
        const QString question =
            QStringLiteral(
                "Zu übertragen: %1 Dateien (%2 neu, %3 geändert), %4.\n"
                "Auf dem Server zu löschen: %5 Dateien.\nUnverändert: %6 Dateien.\n\n"
                "Jetzt veröffentlichen?")
                .arg(p.added + p.changed)
                .arg(p.added)
                .arg(p.changed)
                .arg(Bytes(p.bytes))
                .arg(p.deleted)
                .arg(p.unchanged);
        if (prompts_.Ask(this, question, false) != Answer::Yes) {
            Log(QStringLiteral("Nicht veröffentlicht."));
            return std::nullopt;
        }
        options.dryRun = false;
    }
    if (stopped()) return PublishEnd::Cancelled;

    options.cancel = &cancel_;
    options.progress = [this](const PublishProgress& pr) {
        emit Progressed(pr.files, pr.totalFiles, pr.bytes, pr.totalBytes, Q(pr.current));
    };
    startedMs_ = QDateTime::currentMSecsSinceEpoch();
    bar_->setVisible(true);
    MakeReport log;
    PublishOutcome outcome;
    RunAside([&] {
        outcome = Publish(disk_, site, *connection.store, target, options, log, connection.more);
    });
    bar_->setVisible(false);
    status_->clear();
    Log(log.Lines());
    switch (outcome.end) {
        case PublishEnd::Done:
            break;
        case PublishEnd::SomeFailed:
            Problem(
                QStringLiteral("Einige Dateien wurden nicht veröffentlicht; sie werden beim "
                               "nächsten Mal erneut versucht."));
            break;
        case PublishEnd::NothingPublished:
            Problem(QStringLiteral("Es wird nichts veröffentlicht."),
                    Q(log.Lines().empty() ? std::string() : log.Lines().back()));
            break;
        case PublishEnd::Cancelled:
            problem_ = QStringLiteral("Abgebrochen.");
            break;
    }
    return outcome.end;
}

void PublishDialog::ShowProgress(int files, int totalFiles, qulonglong bytes, qulonglong totalBytes,
                                 const QString& current) {
    bar_->setRange(0, totalFiles > 0 ? totalFiles : 1);
    bar_->setValue(files);
    QString left;
    const qint64 spent = QDateTime::currentMSecsSinceEpoch() - startedMs_;
    if (bytes > 0 && totalBytes > bytes && spent > 1000) {
        const qint64 rest = static_cast<qint64>(spent * double(totalBytes - bytes) / bytes) / 1000;
        left =
            QStringLiteral(", noch etwa %1:%2").arg(rest / 60).arg(rest % 60, 2, 10, QChar(u'0'));
    }
    status_->setText(prefix_ +
                     QStringLiteral("Datei %1 von %2, %3 von %4%5%6")
                         .arg(files)
                         .arg(totalFiles)
                         .arg(Bytes(bytes), Bytes(totalBytes), left,
                              current.isEmpty() ? QString() : QStringLiteral(" – ") + current));
}

}  // namespace pagloom::app
