#include "platform/gui/timer_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "platform/gui/qt_support.h"

namespace tv {

namespace {

// Ticks on the toolkit's timers. A handler may free its own tick: the toolkit's timer then goes
// once it has finished delivering the tick.
class TToolkitTick : public TTimerTick {
public:
    explicit TToolkitTick(std::function<void()> fire) : fTimer(new QTimer()) {
        QObject::connect(fTimer, &QTimer::timeout, fTimer, [fire = std::move(fire), firing = fFiring] {
            ++firing->depth;
            fire();
            --firing->depth;
        });
    }
    ~TToolkitTick() override {
        fTimer->stop();
        QObject::disconnect(fTimer, nullptr, nullptr, nullptr);
        if (fFiring->depth > 0) {
            QTimer* timer = fTimer;
            QMetaObject::invokeMethod(
                qApp, [timer] { delete timer; }, Qt::QueuedConnection);
        } else {
            delete fTimer;
        }
    }
    void Start(uint32_t interval) override {
        fTimer->start(static_cast<int>(std::min<uint32_t>(interval, std::numeric_limits<int>::max())));
    }
    void Stop() override { fTimer->stop(); }
    bool RunsOn(const TTimerClock& clock) const override { return &clock == &ToolkitClock(); }

private:
    struct TFiring {
        int depth = 0;
    };
    std::shared_ptr<TFiring> fFiring = std::make_shared<TFiring>();
    QTimer* fTimer;
};

class TToolkitClock : public TTimerClock {
public:
    TToolkitClock() { fElapsed.start(); }
    uint64_t Now() const override { return static_cast<uint64_t>(fElapsed.elapsed()); }
    std::unique_ptr<TTimerTick> NewTick(std::function<void()> fire) override {
        EnsureQtApplication();
        return std::make_unique<TToolkitTick>(std::move(fire));
    }

private:
    QElapsedTimer fElapsed;
};

TTimerClock* gClock = nullptr;  // main thread only, like the timers themselves

}  // namespace

TTimerClock& ToolkitClock() {
    static TToolkitClock clock;
    return clock;
}

TTimerClock& TimerClock() {
    return gClock ? *gClock : ToolkitClock();
}

uint32_t GetTickCount() {
    return static_cast<uint32_t>(TimerClock().Now());
}

TTimerClockScope::TTimerClockScope(TTimerClock& clock) : fPrevious(gClock) {
    gClock = &clock;
}

TTimerClockScope::~TTimerClockScope() {
    gClock = fPrevious;
}

}  // namespace tv
