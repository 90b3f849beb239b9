// SPDX-License-Identifier: MIT
#include "BuildThread.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <limits>

#include "ProjectSession.h"
#include "tables/ReadProgress.h"

namespace pagloom::app {
namespace {

std::atomic<int> running{0};

// Eats the user's input to the windows that were open when the work began, while it changes
// the project; windows it opens meanwhile (a message it shows) take input as usual.
class InputBlocker : public QObject {
  public:
    InputBlocker() {
        for (QWidget* w : QApplication::topLevelWidgets()) blocked_.insert(w);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::ContextMenu:
            case QEvent::Close:
                break;
            default:
                return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !blocked_.contains(widget->window())) return false;
        event->ignore();
        return true;
    }

  private:
    QSet<QWidget*> blocked_;
};

// Long enough that a small project opens without a dialog flashing up.
constexpr int kProgressAfterMs = 300;
constexpr int kProgressPollMs = 100;

// The busy dialog of the work running now (window thread only), whether its moment to show has
// come, and how many messages of the work want it out of the way.
QProgressDialog* busyDialog = nullptr;
bool busyDue = false;
int busyAside = 0;

}  // namespace

std::exception_ptr RunOnThreadOfItsOwn(const std::function<void()>& work) {
    std::exception_ptr failure;
    QEventLoop loop;
    QThread* thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    // Queued to the loop's thread, so work that ends before exec() still ends the loop.
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    return failure;
}

void RunOffGuiThread(const std::function<void()>& work) {
    if (const std::exception_ptr failure = RunOnThreadOfItsOwn(work))
        std::rethrow_exception(failure);
}

namespace {

// Runs `run` (which handles the window thread's events while its work runs elsewhere) while
// the windows open at its start take no input; after a moment a dialog over `over` says `busy`,
// with a bar that shows how far `read` has come once its reader knows its total.
void WithBusyDialog(QWidget* over, const QString& busy, ReadProgress& read,
                    const std::function<void()>& run) {
    InputBlocker blocker;
    QCoreApplication::instance()->installEventFilter(&blocker);
    QProgressDialog progress(busy, QString(), 0, 0, over);
    progress.setObjectName(QStringLiteral("BusyProgress"));
    progress.setWindowTitle(QStringLiteral("Bitte warten"));
    progress.setCancelButton(nullptr);
    progress.setWindowModality(Qt::WindowModal);
    // Shown by the timer below, not by the dialog itself: it must not come up over a message
    // of the work, whose OK it would block.
    progress.setMinimumDuration(std::numeric_limits<int>::max());
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    QProgressDialog* const outerDialog = busyDialog;
    const bool outerDue = busyDue;
    busyDialog = &progress;
    busyDue = false;
    QTimer showTimer;
    showTimer.setSingleShot(true);
    QObject::connect(&showTimer, &QTimer::timeout, &progress, [&progress] {
        busyDue = true;
        if (busyAside == 0) progress.show();
    });
    showTimer.start(kProgressAfterMs);
    read.Start(0);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &progress, [&progress, &read] {
        const int percent = read.Percent();
        if (percent < 0) {
            if (progress.maximum() != 0) progress.setRange(0, 0);
        } else if (percent > 0) {
            // Not at 0: a value at the minimum restarts the dialog's wait before it shows.
            if (progress.maximum() != 100) progress.setRange(0, 100);
            progress.setValue(percent);
        }
    });
    poll.start(kProgressPollMs);
    struct Cleanup {
        QObject& blocker;
        QProgressDialog* outerDialog;
        bool outerDue;
        ~Cleanup() {
            QCoreApplication::instance()->removeEventFilter(&blocker);
            busyDialog = outerDialog;
            busyDue = outerDue;
        }
    } cleanup{blocker, outerDialog, outerDue};
    run();
}

}  // namespace

BusyDialogAside::BusyDialogAside() {
    ++busyAside;
    if (busyDialog) busyDialog->hide();
}

BusyDialogAside::~BusyDialogAside() {
    if (--busyAside == 0 && busyDialog && busyDue) busyDialog->show();
}

void OnGuiThread(const std::function<void()>& f) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(app, f, Qt::BlockingQueuedConnection);
}

bool BuildRunning() { return running.load() > 0; }

BuildRunNotifier& BuildRunNotifier::Instance() {
    static BuildRunNotifier notifier;
    return notifier;
}

void RunBuildOffGuiThread(ProjectSession& session, const std::function<void()>& work) {
    // The menu editor shows a rebuilt menu once the build is done: refilling it with thousands
    // of entries while the build waited would hold the build up, and the editor lies behind
    // the build dialog meanwhile.
    std::function<void()> refresh = session.Build.RefreshMenuEditor;
    std::atomic<bool> refreshDue{false};
    if (refresh) session.Build.RefreshMenuEditor = [&refreshDue] { refreshDue = true; };
    ++running;
    const std::exception_ptr failure = RunOnThreadOfItsOwn(work);
    --running;
    session.Build.RefreshMenuEditor = refresh;
    if (refreshDue && refresh) refresh();
    emit BuildRunNotifier::Instance().Ended();
    if (failure) std::rethrow_exception(failure);
}

void RunWithProgress(ProjectSession& session, QWidget* over, const QString& busy,
                     const std::function<void()>& work) {
    WithBusyDialog(over, busy, session.Tables().Progress(),
                   [&] { RunBuildOffGuiThread(session, work); });
}

void RunWithProgress(QWidget* over, const QString& busy, ReadProgress& read,
                     const std::function<void()>& work) {
    WithBusyDialog(over, busy, read, [&] {
        if (const std::exception_ptr failure = RunOnThreadOfItsOwn(work))
            std::rethrow_exception(failure);
    });
}

}  // namespace pagloom::app
