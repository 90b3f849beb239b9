// SPDX-License-Identifier: MIT
#include "publish/PublishDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "Binding.h"
#include "BuildThread.h"
#include "FieldTracker.h"
#include "ProjectSession.h"
#include "QtText.h"
#include "UiPrompts.h"
#include "generator/MakeReport.h"
#include "io/FileSystem.h"
#include "io/ProjectPaths.h"
#include "publish/ConnectionCheck.h"
#include "publish/PlanWindow.h"
#include "publish/PublishProtocols.h"

namespace pagloom::app {
namespace {

QString Number(qint64 n) { return QLocale(QLocale::German).toString(n); }

// The run's last line as the window says it: German numbers and sizes, and a cancelled run
// said as such (the core's line counts bytes and says "Veröffentlicht" either way).
QString Summary(const PublishCounts& c, bool cancelled) {
    const QString counts = QStringLiteral(
                               "%1 neu, %2 geändert, %3 gelöscht, %4 unverändert, %5 "
                               "Fehler (%6)")
                               .arg(Number(c.added), Number(c.changed), Number(c.deleted),
                                    Number(c.unchanged), Number(c.failed), SizeText(c.bytes));
    if (!cancelled) return QStringLiteral("Veröffentlicht: ") + counts;
    return QStringLiteral("Abgebrochen nach %1: ").arg(FilesText(c.added + c.changed + c.failed)) +
           counts;
}

// The target's protocol row; nothing for none or an unknown one.
const PublishProtocol* ProtocolOf(const PublishTarget& t) { return FindProtocol(t.protocol); }

bool IsServerTarget(const PublishTarget& t) {
    const PublishProtocol* p = ProtocolOf(t);
    return !p || !p->IsLocal();
}

bool HasServerKey(const PublishTarget& t) {
    const PublishProtocol* p = ProtocolOf(t);
    return p && p->serverKey != ServerKeyKind::None;
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

PublishDialog::~PublishDialog() { ForgetAskedPassword(); }

void PublishDialog::AddProtocolRow(QFormLayout* form) {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
    protocol_ = new QComboBox;
    protocol_->setObjectName(QStringLiteral("cbProtokoll"));
    const std::span<const PublishProtocol> protocols = PublishProtocols();
    for (const PublishProtocol& p : protocols) protocol_->addItem(Q(std::string(p.label)));
    binder_->Choice(
        protocol_,
        [target, protocols] {
            const PublishProtocol* p = ProtocolOf(target());
            return p ? static_cast<int>(p - protocols.data()) : -1;
        },
        [this, target, protocols](int i) {
            if (i < 0 || i >= static_cast<int>(protocols.size())) return;
            const PublishProtocol* old = ProtocolOf(target());
            target().protocol = std::string(protocols[i].key);
            // A port left at the old protocol's default follows the new one's: SFTP's 22 kept
            // for FTPS would only time out.
            PublishTarget& t = target();
            if (!old || t.port <= 0 || t.port != old->defaultPort ||
                t.port == protocols[i].defaultPort)
                return;
            Log(QStringLiteral("Port %1 war die Vorgabe von %2; jetzt %3.")
                    .arg(t.port)
                    .arg(Q(std::string(old->label)))
                    .arg(protocols[i].defaultPort > 0 ? QString::number(protocols[i].defaultPort)
                                                      : QStringLiteral("keiner")));
            t.port = protocols[i].defaultPort;
            const QSignalBlocker quiet(port_);
            port_->setText(t.port > 0 ? QString::number(t.port) : QString());
        });
    ftpWarning_ = new QLabel(QStringLiteral(
        "Achtung: Passwort und Dateien gehen unverschlüsselt und lesbar über das Netz."));
    ftpWarning_->setObjectName(QStringLiteral("lbFtpWarnung"));
    ftpWarning_->setStyleSheet(QStringLiteral("color: #a00000;"));
    ftpWarning_->setWordWrap(true);
    // Its place stays when it is hidden: choosing a protocol does not move the fields below.
    QSizePolicy keepPlace = ftpWarning_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    ftpWarning_->setSizePolicy(keepPlace);
    binder_->Show(ftpWarning_, [target] {
        const PublishProtocol* p = ProtocolOf(target());
        return p && !p->warning.empty();
    });
    auto* protocolLabel = new QLabel(QStringLiteral("&Protokoll:"));
    protocolLabel->setBuddy(protocol_);
    form->addRow(protocolLabel, protocol_);
    // In a box of its own: the form drops a hidden row's place whatever the size policy says.
    auto* warningPlace = new QWidget;
    auto* warningLayout = new QVBoxLayout(warningPlace);
    warningLayout->setContentsMargins(0, 0, 0, 0);
    warningLayout->addWidget(ftpWarning_);
    form->addRow(QString(), warningPlace);
}

void PublishDialog::AddServerRows(QFormLayout* form) {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
    auto isServer = [target] { return IsServerTarget(target()); };
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
    folder_ = new QLineEdit;
    folder_->setObjectName(QStringLiteral("edZielordner"));
    binder_->Text(
        folder_, [target]() -> std::string& { return target().remoteFolder; }, true);
    // A local folder is chosen like the site's folder (and made when it is new).
    auto* chooseFolder = new QToolButton;
    chooseFolder->setObjectName(QStringLiteral("sbZielordner"));
    chooseFolder->setText(QStringLiteral("..."));
    chooseFolder->setToolTip(QStringLiteral("Lokalen Zielordner wählen"));
    connect(chooseFolder, &QToolButton::clicked, this, [this, target] {
        const QString chosen = ChooseDestinationFolder(
            prompts_, this, Q(ProjectInputPath(session_.FileName(), target().remoteFolder)),
            QDir::homePath());
        const std::optional<std::string> path =
            chosen.isEmpty() ? std::nullopt : ChosenPath(prompts_, this, chosen);
        if (!path || *path == target().remoteFolder) return;
        target().remoteFolder = *path;
        tracker_.MarkModified();
        binder_->Refresh();
    });
    binder_->Enable(chooseFolder, [target] { return !IsServerTarget(target()); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_);
    folderRow->addWidget(chooseFolder);
    auto* folderLabel = new QLabel(QStringLiteral("&Zielordner:"));
    folderLabel->setBuddy(folder_);
    form->addRow(folderLabel, folderRow);
}

void PublishDialog::AddKeyFileRow(QFormLayout* form) {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
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
    auto withKeyFile = [target] {
        const PublishProtocol* p = ProtocolOf(target());
        return p && p->login == LoginKind::KeyOrPassword;
    };
    binder_->Enable(keyFile_, withKeyFile);
    binder_->Enable(chooseKey, withKeyFile);
}

void PublishDialog::AddPasswordRows(QFormLayout* form) {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
    auto isServer = [target] { return IsServerTarget(target()); };
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
    // What the keychain holds for the target: a password kept there is used without a word, so
    // the window says so and lets it go.
    keyringRow_ = new QWidget;
    auto* keyringLayout = new QHBoxLayout(keyringRow_);
    keyringLayout->setContentsMargins(0, 0, 0, 0);
    auto* inKeyring = new QLabel(QStringLiteral("Passwort im Schlüsselbund gespeichert"));
    inKeyring->setObjectName(QStringLiteral("lbSchluesselbund"));
    auto* forget = new QPushButton(QStringLiteral("Entfernen"));
    forget->setObjectName(QStringLiteral("btPasswortEntfernen"));
    forget->setToolTip(QStringLiteral("Das gespeicherte Passwort aus dem Schlüsselbund entfernen"));
    connect(forget, &QPushButton::clicked, this, [this] { ForgetStoredPassword(); });
    keyringLayout->addWidget(inKeyring);
    keyringLayout->addWidget(forget);
    keyringLayout->addStretch();
    keyringRow_->setVisible(false);
    form->addRow(QString(), keyringRow_);
    binder_->OnUserChange([this] {
        // After the edit is through: the lookup waits for the keychain off this thread.
        QTimer::singleShot(0, this, [this] { LookUpStoredPassword(false); });
    });
    binder_->Enable(password_, isServer);
    binder_->Enable(savePassword_, isServer);
}

void PublishDialog::AddRunRows(QFormLayout* form) {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
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
}

void PublishDialog::AddHostKeyRow(QFormLayout* form) {
    auto target = [this]() -> PublishTarget& { return session_.project.Publish; };
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
        if (!prompts_.AskSafely(this, windowTitle(), question)) return;
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
        binder_->Show(w, [target] { return HasServerKey(target()); });
    binder_->OnUserChange([this] { ForgetKeyOfOtherServer(); });
    keyOwner_ = ServerOf(target());
}

void PublishDialog::BuildControls() {
    auto* form = new QFormLayout;
    AddProtocolRow(form);
    AddServerRows(form);
    AddKeyFileRow(form);
    AddPasswordRows(form);
    AddRunRows(form);
    AddHostKeyRow(form);

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
        // "Schließen" or Escape are easily pressed by habit: a run stops only when meant to.
        // It ends after the files in flight; then the window may close.
        if (!cancel_ &&
            prompts_.AskSafely(this, windowTitle(),
                               QStringLiteral("Der Lauf wird abgebrochen: Die Dateien, die "
                                              "gerade übertragen werden, kommen noch an, der "
                                              "Rest beim nächsten Lauf.\n\nAbbrechen?")))
            Cancel();
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

void PublishDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { LookUpStoredPassword(false); });
}

void PublishDialog::LookUpStoredPassword(bool again) {
    const PublishTarget target = session_.project.Publish;
    const PublishProtocol* p = ProtocolOf(target);
    const std::string key = p && p->login != LoginKind::None ? SecretKey(target) : std::string();
    if (!again && key == keyringFor_) return;
    keyringFor_ = key;
    bool found = false;
    if (!key.empty()) {
        RunAside([&] {
            std::string password, error;
            found = secrets_.Lookup(target, password, error) == SecretLookup::Found;
            std::fill(password.begin(), password.end(), '\0');
        });
    }
    keyringRow_->setVisible(found);
}

void PublishDialog::ForgetStoredPassword() {
    const PublishTarget target = session_.project.Publish;
    if (!prompts_.AskSafely(this, windowTitle(),
                            QStringLiteral("Das für %1@%2 gespeicherte Passwort aus dem "
                                           "Schlüsselbund entfernen?\n\nBeim nächsten Verbinden "
                                           "wird es erfragt.")
                                .arg(Q(target.user), Q(target.host))))
        return;
    bool forgotten = false;
    std::string error;
    RunAside([&] { forgotten = secrets_.Forget(target, error); });
    if (forgotten)
        Log(QStringLiteral("Das Passwort ist aus dem Schlüsselbund entfernt."));
    else
        Tell(MessageKind::Critical,
             QStringLiteral("Das Passwort kann nicht aus dem Schlüsselbund entfernt werden.") +
                 (error.empty() ? QString() : QStringLiteral("\n\n") + Q(error)));
    LookUpStoredPassword(true);
}

void PublishDialog::ForgetAskedPassword() {
    asked_.fill(u'\0');
    asked_.clear();
    askedFor_.clear();
}

void PublishDialog::ShowTarget() {
    keyOwner_ = ServerOf(session_.project.Publish);
    // A password typed or asked for the target shown before is not sent to this one.
    password_->clear();
    ForgetAskedPassword();
    binder_->Refresh();
    const PublishTarget& t = session_.project.Publish;
    const QSignalBlocker b1(port_), b2(connections_);
    port_->setText(t.port > 0 ? QString::number(t.port) : QString());
    connections_->setValue(t.connections);
}

void PublishDialog::Problem(const QString& text, const QString& advice, MessageKind kind) {
    problem_ = text;
    Log(text);
    if (!advice.isEmpty()) Log(advice);
    if (!groupRun_) Tell(kind, advice.isEmpty() ? text : text + QStringLiteral("\n\n") + advice);
}

void PublishDialog::Tell(MessageKind kind, const QString& text) {
    prompts_.Notice(this, kind, windowTitle(), text);
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

void PublishDialog::RunAside(const std::function<void()>& work) { RunOffGuiThread(work); }

// The dialog's answers to a run on its thread: every question and every change of the
// window is made on the window's thread while the run waits.
class PublishDialog::Ports final : public PublishPorts {
  public:
    explicit Ports(PublishDialog& d) : d_(d) {}

    void Message(const std::string& text, const std::string& advice) override {
        OnWindow([&] {
            // A login that failed may have failed for its password: asked again next time.
            d_.ForgetAskedPassword();
            // Only the changed server key comes with advice: a warning, not a failure.
            if (!d_.cancelledPassword_)
                d_.Problem(Q(text), Q(advice),
                           advice.empty() ? MessageKind::Critical : MessageKind::Warning);
        });
    }
    std::optional<std::string> AskPassword(const PublishTarget& t) override {
        std::optional<std::string> answer;
        OnWindow([&] {
            const std::optional<QString> asked = d_.prompts_.Password(
                &d_, QStringLiteral("Passwort für %1@%2:").arg(Q(t.user), Q(t.host)));
            if (asked) {
                answer = asked->toStdString();
                // Kept while the window is open: a test and then a run ask once.
                d_.asked_ = *asked;
                d_.askedFor_ = SecretKey(t);
            } else {
                d_.cancelledPassword_ = true;
            }
        });
        return answer;
    }
    bool TrustKey(const PublishTarget& t, const std::string& fingerprint) override {
        bool yes = false;
        OnWindow([&] { yes = d_.AskTrust(t, fingerprint); });
        return yes;
    }
    bool KeepTarget(const PublishTarget& t) override {
        bool kept = false;
        OnWindow([&] { kept = d_.KeepTarget(t); });
        return kept;
    }
    bool AllowPlain(const PublishTarget& t, const std::string& warning) override {
        bool yes = false;
        OnWindow([&] { yes = d_.AllowPlain(t, warning); });
        return yes;
    }
    PlanAnswer ConfirmPlan(const PublishPlan& plan) override {
        PlanAnswer answer = PlanAnswer::Cancel;
        OnWindow([&] { answer = d_.ConfirmPlan(plan); });
        return answer;
    }
    void Status(const std::string& text) override {
        const QString line = text.empty() ? QString() : d_.prefix_ + Q(text);
        QMetaObject::invokeMethod(
            &d_, [this, line] { d_.status_->setText(line); }, Qt::QueuedConnection);
    }
    void Progress(const PublishProgress& pr) override {
        emit d_.Progressed(pr.files, pr.totalFiles, pr.bytes, pr.totalBytes, Q(pr.current));
    }

  private:
    template <class F>
    void OnWindow(F&& f) {
        if (QThread::currentThread() == d_.thread())
            f();
        else
            QMetaObject::invokeMethod(&d_, std::forward<F>(f), Qt::BlockingQueuedConnection);
    }
    PublishDialog& d_;
};

bool PublishDialog::AskTrust(const PublishTarget& target, const std::string& fingerprint) {
    Log(QStringLiteral("Der Schlüssel des Servers %1 ist unbekannt: %2")
            .arg(Q(target.host), Q(fingerprint)));
    const QString question = QStringLiteral(
                                 "Der Schlüssel des Servers %1 ist unbekannt.\n\n"
                                 "Sein SHA256-Fingerabdruck:\n%2\n\n"
                                 "Vertrauen Sie ihm nur, wenn er mit dem übereinstimmt, den Ihr "
                                 "Anbieter nennt.")
                                 .arg(Q(target.host), Q(fingerprint));
    if (prompts_.Trust(this, question)) return true;
    problem_ = QStringLiteral("Abgebrochen: dem Server wird nicht vertraut.");
    Log(problem_);
    return false;
}

bool PublishDialog::KeepTarget(const PublishTarget& changed) {
    PublishTarget& t = session_.project.Publish;
    const bool newKey = t.hostKey != changed.hostKey;
    t.hostKey = changed.hostKey;
    t.projectId = changed.projectId;
    keyOwner_ = ServerOf(t);
    binder_->Refresh();
    if (newKey)
        Log(QStringLiteral("Der Schlüssel des Servers ist gespeichert: %1").arg(Q(t.hostKey)));
    // Written into the project file at once: a project id lost with an unsaved project would
    // lock the project out of its own target.
    if (session_.FileName().empty() || !session_.SavePublishTarget()) tracker_.MarkModified();
    return true;
}

bool PublishDialog::AllowPlain(const PublishTarget& target, const std::string& warning) {
    Log(Q(warning));
    // Asked once for a server while the window is open.
    if (plainAllowedFor_ == ServerOf(target)) return true;
    const QString question =
        QStringLiteral(
            "FTP ohne Verschlüsselung: Benutzername, Passwort und Dateien gehen "
            "lesbar über das Netz.\n\nTrotzdem bei %1 anmelden?")
            .arg(Q(target.host));
    if (!prompts_.AskSafely(this, windowTitle(), question)) {
        problem_ = QStringLiteral("Abgebrochen: keine Anmeldung ohne Verschlüsselung.");
        Log(problem_);
        return false;
    }
    plainAllowedFor_ = ServerOf(target);
    return true;
}

PlanAnswer PublishDialog::ConfirmPlan(const PublishPlan& plan) {
    // A group's member: the group was asked about once; a member that deletes shows its plan.
    if (!askPlan_ && plan.deletions.empty()) return PlanAnswer::Publish;
    PlanWindow window(plan, this);
    return PlanWindow::AnswerOf(prompts_.Exec(&window));  // the run logs a cancel
}

PublishRequest PublishDialog::Request() {
    PublishRequest r;
    r.projectFile = session_.FileName();
    r.site = session_.Settings().files.destination_directory;
    r.typed = password_->text().toStdString();
    if (r.typed.empty() && askedFor_ == SecretKey(session_.project.Publish))
        r.typed = asked_.toStdString();
    // The window takes no password from the environment or a file: it asks.
    r.sharedPassword = false;
    r.cancel = &cancel_;
    return r;
}

void PublishDialog::StoreTypedPassword() {
    if (password_->text().isEmpty() || !savePassword_->isChecked()) return;
    std::string typed = password_->text().toStdString(), error;
    bool stored = false;
    const PublishTarget target = session_.project.Publish;
    RunAside([&] { stored = secrets_.Store(target, typed, error); });
    std::fill(typed.begin(), typed.end(), '\0');
    if (stored) {
        Log(QStringLiteral("Das Passwort ist im Schlüsselbund des Desktops gespeichert."));
        password_->clear();
        savePassword_->setChecked(false);
        keyringFor_ = SecretKey(target);
        keyringRow_->setVisible(true);
        return;
    }
    Tell(MessageKind::Warning,
         QStringLiteral("Kein Schlüsselbund des Desktops erreichbar; das Passwort wird nicht "
                        "gespeichert und bei jedem Lauf erfragt.") +
             (error.empty() ? QString() : QStringLiteral("\n\n") + Q(error)));
}

bool PublishDialog::TestConnection() {
    tracker_.LeaveField();
    if (session_.project.Publish.protocol.empty()) {
        Tell(MessageKind::Information, QStringLiteral("Bitte wählen Sie zuerst ein Protokoll."));
        return false;
    }
    problem_.clear();
    log_->clear();  // the lines of the test only
    if (!LocalFolderReady()) return false;
    SetBusy(true);
    Log(QStringLiteral("Verbindung testen: %1").arg(Q(TargetAddress(session_.project.Publish))));
    StoreTypedPassword();
    PublishTarget target = session_.project.Publish;
    PublishRequest request = Request();
    Ports ports(*this);
    std::optional<ConnectionCheck> check;
    RunAside([&] {
        std::optional<TargetConnection> c = OpenTarget(disk_, target, request, secrets_, ports);
        if (c) check = CheckStore(*c->store, target);
    });
    std::fill(request.typed.begin(), request.typed.end(), '\0');
    Quiet();
    const bool ok = check && check->ok;
    if (check) Log(check->lines);
    if (ok) {
        Log(QStringLiteral("Die Verbindung ist in Ordnung."));
    } else if (check) {
        problem_ = QStringLiteral("Die Verbindung ist nicht in Ordnung.");
        Log(problem_);
    }
    SetBusy(false);
    return ok;
}

bool PublishDialog::LocalFolderReady() {
    const PublishTarget& t = session_.project.Publish;
    if (groupRun_ || IsServerTarget(t) || t.remoteFolder.empty()) return true;
    const QString folder = Q(ProjectInputPath(session_.FileName(), t.remoteFolder));
    if (QFileInfo(folder).isDir()) return true;
    if (prompts_.Ask(this,
                     QStringLiteral("Der Zielordner %1 existiert nicht. Soll er angelegt werden?")
                         .arg(folder),
                     false) != Answer::Yes)
        return true;  // the run says that it is missing
    if (!QDir().mkpath(folder)) {
        Problem(QStringLiteral("Der Zielordner %1 kann nicht angelegt werden.").arg(folder));
        return false;
    }
    Log(QStringLiteral("Der Zielordner %1 ist angelegt.").arg(folder));
    return true;
}

void PublishDialog::Quiet() {
    if (!cancelledPassword_) return;
    cancelledPassword_ = false;
    problem_ = QStringLiteral("Abgebrochen: kein Passwort.");
    Log(problem_);
}

std::optional<PublishEnd> PublishDialog::PublishNow(bool askFirst) {
    tracker_.LeaveField();
    problem_.clear();
    if (session_.project.Publish.protocol.empty()) {
        Problem(QStringLiteral("Bitte wählen Sie zuerst ein Protokoll."), {},
                MessageKind::Information);
        return std::nullopt;
    }
    if (session_.FileName().empty()) {
        Problem(QStringLiteral("Bitte speichern Sie das Projekt zuerst: sein Name "
                               "kennzeichnet seine Dateien auf dem Server."),
                {}, MessageKind::Warning);
        return std::nullopt;
    }
    // "Abbrechen" counts from here on: while connecting and comparing as well as sending. A
    // group's run counts it from its start, and its log holds all its members.
    if (!groupRun_) {
        cancel_ = false;
        log_->clear();
    }
    if (!LocalFolderReady()) return std::nullopt;
    SetBusy(true);
    struct Done {
        PublishDialog* d;
        ~Done() { d->SetBusy(false); }
    } done{this};
    StoreTypedPassword();
    PublishRequest request = Request();
    // A group's member too: its plan is shown when it deletes files (see ConfirmPlan).
    request.askPlan = true;
    askPlan_ = askFirst;
    Ports ports(*this);
    const ProjectSettings settings = session_.project.Settings;
    const PublishTarget target = session_.project.Publish;
    startedMs_ = QDateTime::currentMSecsSinceEpoch();
    MakeReport log;
    PublishResult result;
    bar_->setVisible(true);
    RunAside(
        [&] { result = PublishProject(disk_, settings, target, request, secrets_, ports, log); });
    std::fill(request.typed.begin(), request.typed.end(), '\0');
    bar_->setVisible(false);
    status_->clear();
    std::vector<std::string> lines = log.Lines();
    if (result.end == PublishEnd::Done || result.end == PublishEnd::SomeFailed ||
        result.end == PublishEnd::Cancelled) {
        const std::string said = PublishSummary(result.counts, false);
        for (std::string& line : lines)
            if (line == said) line = S(Summary(result.counts, result.end == PublishEnd::Cancelled));
    }
    Log(lines);
    Quiet();
    if (!result.started) {
        if (result.end == PublishEnd::Cancelled) {
            problem_ = QStringLiteral("Abgebrochen.");
            Log(problem_);
            return PublishEnd::Cancelled;
        }
        // No connection, or the plan not confirmed: the reason is shown already.
        return std::nullopt;
    }
    switch (result.end) {
        case PublishEnd::Done:
            break;
        case PublishEnd::SomeFailed:
            Problem(QStringLiteral("Einige Dateien wurden nicht veröffentlicht; sie werden beim "
                                   "nächsten Mal erneut versucht."),
                    {}, MessageKind::Warning);
            break;
        case PublishEnd::NothingPublished:
            if (result.refusal.empty()) {
                Problem(QStringLiteral("Es wird nichts veröffentlicht."), {}, MessageKind::Warning);
                break;
            }
            // The refusal, logged by the run, says why and what to do (build the site first).
            problem_ = Q(result.refusal);
            if (!groupRun_) Tell(MessageKind::Warning, problem_);
            break;
        case PublishEnd::Cancelled:
            problem_ = QStringLiteral("Abgebrochen.");
            break;
    }
    return result.end;
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
    status_->setText(
        prefix_ + QStringLiteral("Datei %1 von %2, %3 von %4%5%6")
                      .arg(Number(files), Number(totalFiles), SizeText(bytes), SizeText(totalBytes),
                           left, current.isEmpty() ? QString() : QStringLiteral(" – ") + current));
}

}  // namespace pagloom::app
