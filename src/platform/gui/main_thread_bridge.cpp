#include "platform/gui/main_thread_bridge.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>

#include "platform/gui/application.h"
#include "platform/gui/qt_support.h"
#include "platform/win/main_thread.h"

namespace tv {
namespace {

// Fires when the earliest delayed work is due. One timer for the whole queue, armed again after
// every run for the time the queue says is left: a timer may run out a little before its time,
// and the queue then finds nothing due. Main thread only.
QPointer<QTimer> gTimer;

void ArmForNextWork() {
    if (!gTimer) return;
    const int delay = NextMainThreadWorkDelay();
    if (delay < 0)
        gTimer->stop();
    else
        gTimer->start(delay);
}

void RunDueWork() {
    ProcessMainThreadQueue();
    ArmForNextWork();
}

}  // namespace

void ConnectMainThreadQueue() {
    EnsureQtApplication();
    if (!gTimer) {
        gTimer = new QTimer(QCoreApplication::instance());
        gTimer->setSingleShot(true);
        gTimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(gTimer, &QTimer::timeout, gTimer, RunDueWork);
    }
    // Called on the posting thread: the queued call moves to the loop's thread before the timer is
    // touched there.
    SetMainThreadWakeUp([](int delayMs) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        QMetaObject::invokeMethod(
            app,
            [delayMs] {
                if (delayMs <= 0)
                    RunDueWork();
                else
                    ArmForNextWork();
            },
            Qt::QueuedConnection);
    });
    SetMessagePump([] { Application().ProcessMessages(); });
    // Called inside the queue's catch block, where the application's report finds the exception.
    SetMainThreadExceptionHandler([](const std::exception&) { Application().HandleException(nullptr); });
    // Work posted before the connection was made.
    QMetaObject::invokeMethod(QCoreApplication::instance(), RunDueWork, Qt::QueuedConnection);
}

void DisconnectMainThreadQueue() {
    SetMainThreadWakeUp(nullptr);
    SetMessagePump(nullptr);
    SetMainThreadExceptionHandler(nullptr);
    delete gTimer;
}

}  // namespace tv
