#pragma once
// Runs the main-thread queue until a condition holds, for tests of components that deliver their
// events on the main thread. Header-only.

#include <chrono>
#include <functional>

#include "platform/win/main_thread.h"

namespace tv::test {

// Runs posted work until `done` answers true or `timeoutMs` have passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        WaitForMainThreadWork(20);
    }
    return true;
}

// Runs posted work for `ms` milliseconds.
inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

}  // namespace tv::test
