#include "platform/gui/timer.h"

#include "platform/gui/application.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TTimer::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTimer>("TTimer").Build();
    return info;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    UpdateTimer();
}

TTimer::~TTimer() = default;

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
    if (!fEnabled || fInterval == 0) {
        if (fTick) fTick->Stop();
        return;
    }
    TTimerClock& clock = TimerClock();
    if (!fTick || !fTick->RunsOn(clock)) {
        fTick.reset();
        fTick = clock.NewTick([this, alive = std::weak_ptr<char>(fAlive)] {
            try {
                Timer();
            } catch (...) {
                HandleGuiException(alive.expired() ? nullptr : this);
            }
        });
    }
    fTick->Start(fInterval);
}

void TTimer::Timer() {
    if (OnTimer) OnTimer(this);
}

}  // namespace tv
