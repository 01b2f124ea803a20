#include "core/job_guard.h"

#include "core/app_logger.h"

namespace tv {

TJobGuard::TScope::TScope(TJobGuard& guard) : fGuard(guard), fAcquired(!guard.fBusy) {
    if (fAcquired) fGuard.SetBusy(true);
}

TJobGuard::TScope::~TScope() {
    if (!fAcquired) return;
    try {
        fGuard.SetBusy(false);
    } catch (const std::exception& e) {
        // The guard is free again whatever the listener did; its failure is not lost.
        AppLogger().LogError("Job guard", e);
    }
}

void TJobGuard::SetBusy(bool busy) {
    fBusy = busy;  // set first, so that a listener that raises leaves the guard right
    if (OnBusyChanged) OnBusyChanged(busy);
}

TJobGuard& JobGuard() {
    static TJobGuard guard;
    return guard;
}

}  // namespace tv
