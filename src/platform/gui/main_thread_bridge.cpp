#include "platform/gui/main_thread_bridge.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include "platform/gui/application.h"
#include "platform/gui/qt_support.h"
#include "platform/win/main_thread.h"

namespace tv {

void ConnectMainThreadQueue() {
    EnsureQtApplication();
    // Called on the posting thread: the queued call moves to the loop's thread before any timer
    // is started there.
    SetMainThreadWakeUp([](int delayMs) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app) return;
        QMetaObject::invokeMethod(
            app,
            [delayMs] {
                if (delayMs <= 0)
                    ProcessMainThreadQueue();
                else
                    QTimer::singleShot(delayMs, QCoreApplication::instance(),
                                       [] { ProcessMainThreadQueue(); });
            },
            Qt::QueuedConnection);
    });
    SetMessagePump([] { Application().ProcessMessages(); });
    // Called inside the queue's catch block, where the application's report finds the exception.
    SetMainThreadExceptionHandler([](const std::exception&) { Application().HandleException(nullptr); });
    // Work posted before the connection was made.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { ProcessMainThreadQueue(); }, Qt::QueuedConnection);
    int delay = NextMainThreadWorkDelay();
    if (delay > 0) QTimer::singleShot(delay, QCoreApplication::instance(), [] { ProcessMainThreadQueue(); });
}

void DisconnectMainThreadQueue() {
    SetMainThreadWakeUp(nullptr);
    SetMessagePump(nullptr);
    SetMainThreadExceptionHandler(nullptr);
}

}  // namespace tv
