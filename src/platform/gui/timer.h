#pragma once
// A timer: fires OnTimer every Interval milliseconds while Enabled, whenever messages are handled
// (in the message loop, a modal loop or ProcessMessages), or as a fake clock moves on in tests
// (timer_clock.h). An exception from OnTimer is reported through the application's HandleException
// and the timer goes on. OnTimer may free the timer.

#include <memory>

#include "platform/gui/timer_clock.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"

namespace tv {

class TTimer : public TComponent {
    TV_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool value);
    // Milliseconds; 0 stops the timer.
    uint32_t Interval() const { return fInterval; }
    void SetInterval(uint32_t value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    // Expires when the timer is freed (OnTimer may free it).
    std::shared_ptr<char> fAlive = std::make_shared<char>();
    std::unique_ptr<TTimerTick> fTick;
    bool fEnabled = true;
    uint32_t fInterval = 1000;
};

}  // namespace tv
