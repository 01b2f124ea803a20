#pragma once
// The clock timers run on. A program runs them on the toolkit's timers; tests put a TFakeClock in
// place (fake_clock.h) and move its time on by hand, so that nothing waits for real time. A timer
// takes the clock that is in place when it starts, and keeps it until it starts again.

#include <cstdint>
#include <functional>
#include <memory>

namespace tv {

class TTimerClock;

// One timer's ticks on a clock: once started it calls its handler every `interval` milliseconds
// until it is stopped or freed. The handler may free the tick (with the timer that owns it).
class TTimerTick {
public:
    virtual ~TTimerTick() = default;
    virtual void Start(uint32_t interval) = 0;
    virtual void Stop() = 0;
    // Whether this tick still runs on `clock` (false once that clock is gone).
    virtual bool RunsOn(const TTimerClock& clock) const = 0;
};

class TTimerClock {
public:
    virtual ~TTimerClock() = default;
    // Milliseconds since some start; never goes back.
    virtual uint64_t Now() const = 0;
    // A new tick, stopped, that calls `fire` on each tick.
    virtual std::unique_ptr<TTimerTick> NewTick(std::function<void()> fire) = 0;
};

// The clock in place: the toolkit's, unless a scope put another one in place.
TTimerClock& TimerClock();
// The toolkit's own clock.
TTimerClock& ToolkitClock();
// Milliseconds on the clock in place, as the platform's tick count (wraps after 49 days).
uint32_t GetTickCount();

// Puts `clock` in place for the life of the scope, then puts back the one it replaced.
class TTimerClockScope {
public:
    explicit TTimerClockScope(TTimerClock& clock);
    ~TTimerClockScope();
    TTimerClockScope(const TTimerClockScope&) = delete;
    TTimerClockScope& operator=(const TTimerClockScope&) = delete;

private:
    TTimerClock* fPrevious;
};

}  // namespace tv
