// Work that worker threads post reaches the main thread through the toolkit's own loop: the
// application's message handling, its modal loops and ProcessMessages all run it.

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/main_thread_bridge.h"
#include "platform/win/main_thread.h"

namespace tv {
namespace {

class GuiQueueTest : public ::testing::Test {
protected:
    void SetUp() override { ConnectMainThreadQueue(); }
    void TearDown() override {
        Application().OnException = nullptr;
        DisconnectMainThreadQueue();
    }
    // Handles the toolkit's messages until `done` or 5 seconds.
    template <class F>
    bool LoopUntil(F done) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < end) Application().HandleMessage();
        return done();
    }
};

TEST_F(GuiQueueTest, AWorkersPostRunsInTheToolkitsLoopOnTheMainThread) {
    bool ran = false, onMain = false;
    std::thread([&] {
        PostToMainThread([&] {
            ran = true;
            onMain = IsMainThread();
        });
    }).join();
    ASSERT_TRUE(LoopUntil([&] { return ran; }));
    EXPECT_TRUE(onMain);
}

TEST_F(GuiQueueTest, DelayedWorkRunsWhenItsTimeIsUp) {
    auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration took{};
    std::thread([&] {
        PostToMainThread([&] { took = std::chrono::steady_clock::now() - start; }, 200);
    }).join();
    ASSERT_TRUE(LoopUntil([&] { return took.count() != 0; }));
    EXPECT_GE(took, std::chrono::milliseconds(190));
}

TEST_F(GuiQueueTest, DelayedWorkNotYetDueWhenItsTimerRunsOutRunsOnceItIsDueAndNeverBefore) {
    // The queue's clock stands still while the toolkit's timer runs out, as when a timer fires a
    // little early: the queue finds nothing due and must arm itself again for the time left.
    auto queueNow = std::chrono::steady_clock::now();
    SetMainThreadClock([&] { return queueNow; });
    bool ran = false;
    PostToMainThread([&] { ran = true; }, 30);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    while (std::chrono::steady_clock::now() < until) Application().HandleMessage();
    EXPECT_FALSE(ran) << "ran before it was due";
    queueNow += std::chrono::milliseconds(30);
    EXPECT_TRUE(LoopUntil([&] { return ran; }));
    SetMainThreadClock(nullptr);
}

TEST_F(GuiQueueTest, AModalLoopRunsPostedWorkAndProcessMessagesRunsTheToolkit) {
    TForm form;
    std::thread([&] { PostToMainThread([&] { form.ModalResult = mrOk; }, 50); }).join();
    EXPECT_EQ(form.ShowModal(), mrOk);

    bool ran = false;
    std::thread([&] { PostToMainThread([&] { ran = true; }); }).join();
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ran && std::chrono::steady_clock::now() < end) ProcessMessages();
    EXPECT_TRUE(ran);
}

TEST_F(GuiQueueTest, WhatPostedWorkRaisesReachesTheApplicationsReport) {
    std::string reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported = e.what(); };
    PostToMainThread([] { throw std::runtime_error("pipe handler failed"); });
    ASSERT_TRUE(LoopUntil([&] { return !reported.empty(); }));
    EXPECT_EQ(reported, "pipe handler failed");
}

}  // namespace
}  // namespace tv
