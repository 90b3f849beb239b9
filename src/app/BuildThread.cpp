// SPDX-License-Identifier: MIT
#include "BuildThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <atomic>
#include <exception>

#include "ProjectSession.h"

namespace pagloom::app {
namespace {

std::atomic<int> running{0};

}  // namespace

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
    std::exception_ptr failure;
    QEventLoop loop;
    QThread* thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    // Queued to the loop's thread, so a build that ends before exec() still ends the loop.
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    ++running;
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    --running;
    session.Build.RefreshMenuEditor = refresh;
    if (refreshDue && refresh) refresh();
    emit BuildRunNotifier::Instance().Ended();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace pagloom::app
