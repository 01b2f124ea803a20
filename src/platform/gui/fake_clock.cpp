#include "platform/gui/fake_clock.h"

namespace tv {

class TFakeClock::TFakeTick : public TTimerTick {
public:
    TFakeTick(TFakeClock* clock, std::function<void()> fire)
        : fClock(clock), fFire(std::make_shared<std::function<void()>>(std::move(fire))) {}
    ~TFakeTick() override {
        if (fClock) fClock->Forget(this);
    }
    void Start(uint32_t interval) override {
        if (fClock) fClock->StartTick(this, interval);
    }
    void Stop() override {
        if (fClock) fClock->StopTick(this);
    }
    bool RunsOn(const TTimerClock& clock) const override { return fClock && fClock == &clock; }

    TFakeClock* fClock;
    std::shared_ptr<std::function<void()>> fFire;
};

TFakeClock::~TFakeClock() {
    for (TFakeTick* tick : fTicks) tick->fClock = nullptr;
}

std::unique_ptr<TTimerTick> TFakeClock::NewTick(std::function<void()> fire) {
    auto tick = std::make_unique<TFakeTick>(this, std::move(fire));
    fTicks.insert(tick.get());
    return tick;
}

void TFakeClock::StartTick(TFakeTick* tick, uint32_t interval) {
    if (interval == 0) return StopTick(tick);
    fRunning[tick] = TRunning{fNow + interval, fStarts++, interval, tick->fFire};
}

void TFakeClock::StopTick(TFakeTick* tick) {
    fRunning.erase(tick);
}

void TFakeClock::Forget(TFakeTick* tick) {
    fRunning.erase(tick);
    fTicks.erase(tick);
}

void TFakeClock::Advance(uint32_t ms) {
    const uint64_t target = fNow + ms;
    for (;;) {
        auto next = fRunning.end();
        for (auto it = fRunning.begin(); it != fRunning.end(); ++it) {
            const TRunning& r = it->second;
            if (r.due > target) continue;
            if (next == fRunning.end() || r.due < next->second.due ||
                (r.due == next->second.due && r.order < next->second.order))
                next = it;
        }
        if (next == fRunning.end()) break;
        TRunning& due = next->second;
        fNow = due.due;
        due.due += due.interval;
        // The handler may free the tick (and the timer with its handler): call a copy.
        const std::shared_ptr<std::function<void()>> fire = due.fire;
        (*fire)();
    }
    fNow = target;
}

}  // namespace tv
