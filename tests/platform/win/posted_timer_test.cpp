// The timer over the main-thread queue: it fires where posted work runs, again and again while on;
// switching it off or freeing it drops the tick that was due, also from inside its own handler.

#include <gtest/gtest.h>

#include <memory>

#include "platform/win/main_thread.h"
#include "platform/win/posted_timer.h"

namespace tv {
namespace {

TEST(PostedTimer, FiresWhilePostedWorkRunsUntilSwitchedOff) {
    int ticks = 0;
    TPostedTimer timer(0, [&] { ++ticks; });
    ProcessMainThreadQueue();
    EXPECT_EQ(ticks, 0) << "off at start";
    timer.SetEnabled(true);
    timer.SetEnabled(true);  // no second tick
    ProcessMainThreadQueue();
    ProcessMainThreadQueue();
    EXPECT_EQ(ticks, 2);
    timer.SetEnabled(false);
    ProcessMainThreadQueue();
    EXPECT_EQ(ticks, 2);
}

TEST(PostedTimer, AHandlerMaySwitchItsTimerOffOrFreeIt) {
    int ticks = 0;
    TPostedTimer once(0, [&] {
        ++ticks;
        once.SetEnabled(false);
    });
    once.SetEnabled(true);
    ProcessMainThreadQueue();
    ProcessMainThreadQueue();
    EXPECT_EQ(ticks, 1);

    std::unique_ptr<TPostedTimer> freed;
    freed = std::make_unique<TPostedTimer>(0, [&] {
        ++ticks;
        freed.reset();
    });
    freed->SetEnabled(true);
    ProcessMainThreadQueue();
    ProcessMainThreadQueue();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(freed, nullptr);

    auto dropped = std::make_unique<TPostedTimer>(0, [&] { ++ticks; });
    dropped->SetEnabled(true);
    dropped.reset();
    ProcessMainThreadQueue();
    EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace tv
