#pragma once
// At most one job at a time. Every report of a running job processes pending messages, so a click,
// a timer or a command handed over by a second start can ask for another job (or for the settings
// window, which saves the settings the job uses) in the middle of one. Whoever starts such work
// takes a scope first; while one is held, the next request is refused.

#include <functional>

namespace tv {

class TJobGuard {
public:
    // Holds the guard for its lifetime when it got it.
    class TScope {
    public:
        explicit TScope(TJobGuard& guard);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;
        // False when another job already held the guard: the request is refused.
        bool Acquired() const { return fAcquired; }

    private:
        TJobGuard& fGuard;
        bool fAcquired;
    };

    bool Busy() const { return fBusy; }
    // Told when a job begins (true) and ends (false), so the window can disable what would start
    // another one.
    std::function<void(bool busy)> OnBusyChanged;

private:
    void SetBusy(bool busy);
    bool fBusy = false;
};

// The process-wide guard.
TJobGuard& JobGuard();

}  // namespace tv
