// Timers on the fake clock, and the sound service.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/application.h"
#include "platform/gui/fake_clock.h"
#include "platform/gui/sound.h"
#include "platform/gui/timer.h"

namespace tv {
namespace {

// A timer on the clock in place that logs "<name>@<time>" on each tick.
std::unique_ptr<TTimer> LoggingTimer(const char* name, uint32_t interval, std::vector<std::string>& log) {
    auto timer = std::make_unique<TTimer>();
    timer->SetInterval(interval);
    timer->OnTimer = [&log, name](TObject*) {
        log.push_back(name + std::string("@") + std::to_string(GetTickCount()));
    };
    return timer;
}

TEST(FakeClock, TimersFireAtTheirDueTimesInOrderAndTiesGoToTheOneStartedFirst) {
    TFakeClock clock;
    TTimerClockScope scope(clock);
    std::vector<std::string> log;
    auto a = LoggingTimer("a", 30, log);
    auto b = LoggingTimer("b", 20, log);
    clock.Advance(29);
    EXPECT_EQ(log, std::vector<std::string>{"b@20"});
    clock.Advance(31);
    EXPECT_EQ(log, (std::vector<std::string>{"b@20", "a@30", "b@40", "a@60", "b@60"}));
    EXPECT_EQ(GetTickCount(), 60u);
    EXPECT_EQ(clock.RunningTicks(), 2);
}

TEST(FakeClock, DisablingStopsAndStartingAgainOrANewIntervalCountsFromNow) {
    TFakeClock clock;
    TTimerClockScope scope(clock);
    std::vector<std::string> log;
    auto t = LoggingTimer("t", 200, log);
    clock.Advance(150);
    t->SetInterval(100);  // restarts: due at 250, not at 200
    clock.Advance(99);
    EXPECT_TRUE(log.empty());
    clock.Advance(1);
    t->SetEnabled(false);
    clock.Advance(1000);
    t->SetEnabled(true);
    clock.Advance(100);
    t->SetInterval(0);
    clock.Advance(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"t@250", "t@1350"}));
    EXPECT_EQ(clock.RunningTicks(), 0);
}

TEST(FakeClock, AHandlerMayFreeItsOwnTimerOrAnotherThatIsDueAtTheSameTime) {
    TFakeClock clock;
    TTimerClockScope scope(clock);
    auto* first = new TTimer();
    auto* second = new TTimer();
    first->SetInterval(10);
    second->SetInterval(10);
    int firstTicks = 0, secondTicks = 0;
    first->OnTimer = [&](TObject* self) {
        ++firstTicks;
        delete second;  // due at the same moment: it must not fire
        delete self;
    };
    second->OnTimer = [&](TObject*) { ++secondTicks; };
    clock.Advance(100);
    EXPECT_EQ(firstTicks, 1);
    EXPECT_EQ(secondTicks, 0);
    EXPECT_EQ(clock.RunningTicks(), 0);
}

TEST(FakeClock, AFailingHandlerIsReportedAndTheTimerGoesOn) {
    TFakeClock clock;
    TTimerClockScope scope(clock);
    TTimer timer;
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 1) throw Exception("tick failed");
    };
    std::vector<std::string> reported;
    Application().OnException = [&](TObject* sender, const std::exception& e) {
        EXPECT_EQ(sender, &timer);
        reported.push_back(e.what());
    };
    clock.Advance(15);
    Application().OnException = nullptr;
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(reported, std::vector<std::string>{"tick failed"});
}

TEST(FakeClock, ATimerKeepsTheClockItStartedOnUntilItStartsAgain) {
    TTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    {
        TFakeClock clock;
        TTimerClockScope scope(clock);
        timer.SetEnabled(false);
        timer.SetEnabled(true);  // now on the fake clock
        EXPECT_EQ(clock.RunningTicks(), 1);
        clock.Advance(3);
        EXPECT_EQ(ticks, 3);
    }
    // The fake clock is gone: the timer stays still until it starts again, on the toolkit's clock.
    EXPECT_EQ(ticks, 3);
    timer.SetInterval(2);
    EXPECT_TRUE(test::WaitUntil([&] { return ticks >= 5; }));
}

TEST(Sound, BeepsGoToTheServiceInPlaceAndTheScopePutsTheOldOneBack) {
    TRecordingSound outer, inner;
    {
        TSoundServiceScope outerScope(outer);
        Beep();
        {
            TSoundServiceScope innerScope(inner);
            MessageBeep(MB_ICONERROR);
        }
        MessageBeep(MB_ICONWARNING);
    }
    EXPECT_EQ(outer.Beeps(), (std::vector<uint32_t>{MB_OK, MB_ICONWARNING}));
    EXPECT_EQ(inner.Beeps(), std::vector<uint32_t>{MB_ICONERROR});
    Beep();  // the desktop's beep: silent in a run without a screen
    EXPECT_EQ(outer.Beeps().size(), 2u);
}

}  // namespace
}  // namespace tv
