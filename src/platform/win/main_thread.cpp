#include "platform/win/main_thread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <iostream>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace tv {
namespace {

using Clock = std::chrono::steady_clock;

// Recorded while static objects are built, which happens on the thread that starts the program.
const std::thread::id gMainThreadId = std::this_thread::get_id();

struct WorkKey {
    Clock::time_point due;
    uint64_t sequence;
    bool operator<(const WorkKey& o) const { return due != o.due ? due < o.due : sequence < o.sequence; }
};

struct Queue {
    std::mutex mutex;
    std::condition_variable posted;
    std::map<WorkKey, TMainThreadWork> items;
    uint64_t nextSequence = 0;
    std::function<void(int)> wakeUp;
    std::function<void(const std::exception&)> exceptionHandler;
    std::function<void()> pump;
    std::function<Clock::time_point()> clock;  // tests; empty: the steady clock
};

Queue& TheQueue() {
    static Queue* queue = new Queue;  // never freed: workers may post while the program ends
    return *queue;
}

void Report(Queue& q, const std::exception& e) {
    std::function<void(const std::exception&)> handler;
    {
        std::lock_guard lock(q.mutex);
        handler = q.exceptionHandler;
    }
    if (handler)
        handler(e);
    else
        std::cerr << "Exception in main-thread work: " << e.what() << std::endl;
}

// The queue's time; the caller holds the mutex.
Clock::time_point Now(const Queue& q) {
    return q.clock ? q.clock() : Clock::now();
}

}  // namespace

bool IsMainThread() {
    return std::this_thread::get_id() == gMainThreadId;
}

void PostToMainThread(TMainThreadWork work, int delayMs) {
    Queue& q = TheQueue();
    std::function<void(int)> wakeUp;
    {
        std::lock_guard lock(q.mutex);
        WorkKey key{Now(q) + std::chrono::milliseconds(delayMs > 0 ? delayMs : 0), q.nextSequence++};
        q.items.emplace(key, std::move(work));
        wakeUp = q.wakeUp;
    }
    q.posted.notify_all();
    if (wakeUp) wakeUp(delayMs > 0 ? delayMs : 0);
}

int ProcessMainThreadQueue() {
    Queue& q = TheQueue();
    uint64_t limit;
    Clock::time_point now;
    {
        std::lock_guard lock(q.mutex);
        limit = q.nextSequence;
        now = Now(q);
    }
    int ran = 0;
    for (;;) {
        TMainThreadWork work;
        {
            std::lock_guard lock(q.mutex);
            auto it = q.items.begin();
            while (it != q.items.end() && it->first.due <= now && it->first.sequence >= limit) ++it;
            if (it == q.items.end() || it->first.due > now) break;
            work = std::move(it->second);
            q.items.erase(it);
        }
        ++ran;
        try {
            if (work) work();
        } catch (const std::exception& e) {
            Report(q, e);
        }
    }
    return ran;
}

int NextMainThreadWorkDelay() {
    Queue& q = TheQueue();
    std::lock_guard lock(q.mutex);
    if (q.items.empty()) return -1;
    // Rounded up: a timer set for the delay must not run out before the work is due.
    auto delay = std::chrono::ceil<std::chrono::milliseconds>(q.items.begin()->first.due - Now(q));
    return delay.count() > 0 ? static_cast<int>(delay.count()) : 0;
}

int WaitForMainThreadWork(int timeoutMs) {
    Queue& q = TheQueue();
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    {
        std::unique_lock lock(q.mutex);
        for (;;) {
            const auto now = Clock::now();
            const auto queueNow = Now(q);
            if (!q.items.empty() && q.items.begin()->first.due <= queueNow) break;
            if (now >= deadline) break;
            auto until = deadline;
            if (!q.items.empty()) until = std::min(until, now + (q.items.begin()->first.due - queueNow));
            q.posted.wait_until(lock, until);
        }
    }
    return ProcessMainThreadQueue();
}

void SetMainThreadWakeUp(std::function<void(int)> wakeUp) {
    Queue& q = TheQueue();
    std::lock_guard lock(q.mutex);
    q.wakeUp = std::move(wakeUp);
}

void SetMainThreadClock(std::function<Clock::time_point()> now) {
    Queue& q = TheQueue();
    std::lock_guard lock(q.mutex);
    q.clock = std::move(now);
}

void SetMainThreadExceptionHandler(std::function<void(const std::exception&)> handler) {
    Queue& q = TheQueue();
    std::lock_guard lock(q.mutex);
    q.exceptionHandler = std::move(handler);
}

void ProcessMessages() {
    Queue& q = TheQueue();
    std::function<void()> pump;
    {
        std::lock_guard lock(q.mutex);
        pump = q.pump;
    }
    if (pump)
        pump();
    else
        ProcessMainThreadQueue();
}

void SetMessagePump(std::function<void()> pump) {
    Queue& q = TheQueue();
    std::lock_guard lock(q.mutex);
    q.pump = std::move(pump);
}

}  // namespace tv
