#pragma once
// A clock for tests: its time stands still until Advance moves it on, and the timers on it fire
// then, in the order of their due times, each as often as its interval fits. Put it in place with
// a TTimerClockScope before the timers start.
//
//     TFakeClock clock;
//     TTimerClockScope scope(clock);
//     ... start a 200 ms timer ...
//     clock.Advance(199);   // nothing yet
//     clock.Advance(1);     // fires once

#include <map>
#include <set>

#include "platform/gui/timer_clock.h"

namespace tv {

class TFakeClock : public TTimerClock {
public:
    TFakeClock() = default;
    // Ticks still on the clock stop for good.
    ~TFakeClock() override;
    TFakeClock(const TFakeClock&) = delete;
    TFakeClock& operator=(const TFakeClock&) = delete;

    uint64_t Now() const override { return fNow; }
    std::unique_ptr<TTimerTick> NewTick(std::function<void()> fire) override;

    // Moves the time on by `ms`, firing every tick that falls due on the way, at its due time:
    // the earliest first, and of ticks due at the same time the one started first. A tick fires
    // again an interval after it fired; a handler that stops or restarts a tick is obeyed at once.
    void Advance(uint32_t ms);
    // How many ticks are running.
    int RunningTicks() const { return static_cast<int>(fRunning.size()); }

private:
    class TFakeTick;
    struct TRunning {
        uint64_t due;
        uint64_t order;  // when it was started, to break ties
        uint32_t interval;
        std::shared_ptr<std::function<void()>> fire;
    };
    void StartTick(TFakeTick* tick, uint32_t interval);
    void StopTick(TFakeTick* tick);
    void Forget(TFakeTick* tick);

    uint64_t fNow = 0;
    uint64_t fStarts = 0;
    std::map<TFakeTick*, TRunning> fRunning;
    std::set<TFakeTick*> fTicks;  // every tick made here and not yet freed
};

}  // namespace tv
