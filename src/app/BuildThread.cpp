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
    std::function<void()> refresh = session.Build.RefreshMenuEditor;
    if (refresh) session.Build.RefreshMenuEditor = [refresh] { OnGuiThread(refresh); };
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
    emit BuildRunNotifier::Instance().Ended();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace pagloom::app
