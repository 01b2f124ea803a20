#include "platform/gui/timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <limits>

#include "platform/gui/application.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

// Deletes a timer once it is no longer firing (a handler may free its own timer).
void DeleteTimerLater(QTimer* timer) {
    QMetaObject::invokeMethod(
        qApp, [timer] { delete timer; }, Qt::QueuedConnection);
}

}  // namespace

const TClassInfo& TTimer::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTimer>("TTimer").Build();
    return info;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    EnsureQtApplication();
    fTimer = new QTimer();
    QObject::connect(fTimer, &QTimer::timeout, fTimer, [this, firing = fFiring] {
        ++firing->depth;
        try {
            Timer();
        } catch (...) {
            HandleGuiException(firing->gone ? nullptr : this);
        }
        --firing->depth;
    });
    UpdateTimer();
}

TTimer::~TTimer() {
    fTimer->stop();
    fFiring->gone = true;
    QObject::disconnect(fTimer, nullptr, nullptr, nullptr);
    if (fFiring->depth > 0)
        DeleteTimerLater(fTimer);
    else
        delete fTimer;
}

void TTimer::SetEnabled(bool value) {
    if (value == fEnabled) return;
    fEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
    if (value == fInterval) return;
    fInterval = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (fEnabled && fInterval > 0) {
        fTimer->start(static_cast<int>(std::min<uint32_t>(fInterval, std::numeric_limits<int>::max())));
    } else {
        fTimer->stop();
    }
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

}  // namespace tv
