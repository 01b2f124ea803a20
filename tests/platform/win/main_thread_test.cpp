// Work handed to the main thread: order, delays, exceptions.

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/main_thread.h"
#include "tests/support/main_thread_pump.h"

namespace tv {
namespace {

TEST(MainThread, WorkFromAnotherThreadRunsOnTheMainThreadInPostedOrder) {
    ASSERT_TRUE(IsMainThread());
    std::vector<int> order;
    std::vector<bool> onMain;
    std::thread worker([&] {
        EXPECT_FALSE(IsMainThread());
        for (int i = 0; i < 5; ++i)
            PostToMainThread([&, i] {
                order.push_back(i);
                onMain.push_back(IsMainThread());
            });
    });
    worker.join();
    EXPECT_TRUE(order.empty()) << "nothing runs before the main thread asks";
    EXPECT_EQ(ProcessMainThreadQueue(), 5);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(onMain, std::vector<bool>(5, true));
}

TEST(MainThread, DelayedWorkWaitsItsTimeAndDoesNotHoldBackLaterWork) {
    std::vector<std::string> ran;
    PostToMainThread([&] { ran.push_back("late"); }, 150);
    PostToMainThread([&] { ran.push_back("now"); });
    EXPECT_EQ(ProcessMainThreadQueue(), 1);
    EXPECT_EQ(ran, (std::vector<std::string>{"now"}));
    int delay = NextMainThreadWorkDelay();
    EXPECT_GT(delay, 0);
    EXPECT_LE(delay, 150);
    ASSERT_TRUE(test::PumpUntil([&] { return ran.size() == 2; }, 2000));
    EXPECT_EQ(ran.back(), "late");
    EXPECT_EQ(NextMainThreadWorkDelay(), -1);
}

TEST(MainThread, TheDelayLeftIsRoundedUpSoThatATimerSetForItNeverRunsOutEarly) {
    auto now = std::chrono::steady_clock::now();
    SetMainThreadClock([&] { return now; });
    bool ran = false;
    PostToMainThread([&] { ran = true; }, 10);
    now += std::chrono::microseconds(9500);
    EXPECT_EQ(NextMainThreadWorkDelay(), 1);
    EXPECT_EQ(ProcessMainThreadQueue(), 0);
    now += std::chrono::microseconds(500);
    EXPECT_EQ(NextMainThreadWorkDelay(), 0);
    EXPECT_EQ(ProcessMainThreadQueue(), 1);
    SetMainThreadClock(nullptr);
    EXPECT_TRUE(ran);
}

TEST(MainThread, AnExceptionGoesToTheHandlerAndTheRestStillRuns) {
    std::vector<std::string> reported;
    SetMainThreadExceptionHandler([&](const std::exception& e) { reported.push_back(e.what()); });
    int after = 0;
    PostToMainThread([] { throw std::runtime_error("boom"); });
    PostToMainThread([&] { ++after; });
    EXPECT_EQ(ProcessMainThreadQueue(), 2);
    SetMainThreadExceptionHandler(nullptr);
    EXPECT_EQ(reported, (std::vector<std::string>{"boom"}));
    EXPECT_EQ(after, 1);
}

TEST(MainThread, WorkPostedWhileTheQueueRunsWaitsForTheNextRound) {
    int second = 0;
    PostToMainThread([&] { PostToMainThread([&] { ++second; }); });
    EXPECT_EQ(ProcessMainThreadQueue(), 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(ProcessMainThreadQueue(), 1);
    EXPECT_EQ(second, 1);
}

TEST(MainThread, TheWakeUpHearsOfEveryPostAndThePumpReplacesTheQueueRun) {
    std::vector<int> delays;
    SetMainThreadWakeUp([&](int d) { delays.push_back(d); });
    PostToMainThread([] {});
    PostToMainThread([] {}, 40);
    SetMainThreadWakeUp(nullptr);
    EXPECT_EQ(delays, (std::vector<int>{0, 40}));

    int pumped = 0;
    SetMessagePump([&] { ++pumped; });
    ProcessMessages();
    SetMessagePump(nullptr);
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(ProcessMainThreadQueue(), 1) << "the pump stood in for the queue run";
    test::PumpUntil([] { return NextMainThreadWorkDelay() < 0; }, 2000);
}

}  // namespace
}  // namespace tv
