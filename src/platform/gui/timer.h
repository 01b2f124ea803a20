#pragma once
// A timer: fires OnTimer every Interval milliseconds while Enabled, whenever messages are handled
// (in the message loop, a modal loop or ProcessMessages). An exception from OnTimer is reported
// through the application's HandleException and the timer goes on.

#include <memory>

#include "platform/rtl/component.h"
#include "platform/rtl/event.h"

class QTimer;

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
    // Shared with the timer's handler, which may outlive the object when OnTimer frees it.
    struct TFiring {
        int depth = 0;
        bool gone = false;
    };
    std::shared_ptr<TFiring> fFiring = std::make_shared<TFiring>();
    QTimer* fTimer;
    bool fEnabled = true;
    uint32_t fInterval = 1000;
};

}  // namespace tv
