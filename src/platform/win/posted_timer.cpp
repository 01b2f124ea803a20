#include "platform/win/posted_timer.h"

#include <utility>

#include "platform/win/main_thread.h"

namespace tv {

TPostedTimer::TPostedTimer(int intervalMs, std::function<void()> onTimer)
    : intervalMs_(intervalMs), onTimer_(std::move(onTimer)), self_(std::make_shared<TPostedTimer*>(this)) {}

TPostedTimer::~TPostedTimer() {
    *self_ = nullptr;
}

void TPostedTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    ++generation_;
    if (enabled) Post();
}

void TPostedTimer::Post() {
    PostToMainThread(
        [self = std::weak_ptr<TPostedTimer*>(self_), generation = generation_] {
            const auto alive = self.lock();
            TPostedTimer* timer = alive ? *alive : nullptr;
            if (!timer || !timer->enabled_ || timer->generation_ != generation) return;
            timer->onTimer_();
            // A timer still on (and not freed by its handler) fires again after its interval.
            if (*alive && timer->enabled_ && timer->generation_ == generation) timer->Post();
        },
        intervalMs_);
}

}  // namespace tv
