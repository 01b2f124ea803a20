#pragma once
// A timer without windows: while enabled, OnTimer runs every Interval milliseconds as work posted to
// the main thread, so it fires wherever that work runs (the message loop, ProcessMessages, a wait
// for main-thread work). Enabling a running timer changes nothing; switching it off, or freeing
// it, drops the tick that was due. OnTimer may switch the timer off.

#include <functional>
#include <memory>

namespace tv {

class TPostedTimer {
public:
    TPostedTimer(int intervalMs, std::function<void()> onTimer);
    ~TPostedTimer();
    TPostedTimer(const TPostedTimer&) = delete;
    TPostedTimer& operator=(const TPostedTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return intervalMs_; }

private:
    void Post();

    int intervalMs_;
    std::function<void()> onTimer_;
    bool enabled_ = false;
    int generation_ = 0;
    std::shared_ptr<TPostedTimer*> self_;  // what the posted ticks find; nil once the timer is gone
};

}  // namespace tv
