#pragma once
// Work that other threads hand to the main thread. Worker threads (the pipe components, the update
// check) never touch windows or shared state themselves: they post here, and the main thread runs
// the posted work in the order it was posted. The GUI installs a wake-up so that its message loop
// runs the queue soon after a post; a run without a loop runs it from ProcessMessages or
// WaitForMainThreadWork.

#include <chrono>
#include <exception>
#include <functional>

namespace tv {

using TMainThreadWork = std::function<void()>;

// True on the thread that started the program.
bool IsMainThread();

// Any thread. With `delayMs` above 0 the work runs no earlier than that many milliseconds from now.
void PostToMainThread(TMainThreadWork work, int delayMs = 0);

// Main thread: runs the posted work that is due, oldest first, and returns how many ran. Work posted
// while this runs waits for the next call. An exception out of one work item goes to the exception
// handler; the others still run.
int ProcessMainThreadQueue();

// Main thread: waits at most `timeoutMs` until some work is due, then runs what is due; returns how
// many ran.
int WaitForMainThreadWork(int timeoutMs);

// Milliseconds until the next posted work is due, rounded up (0 only when some is due now), -1
// when none waits.
int NextMainThreadWorkDelay();

// The GUI's hook, called on the posting thread after each post with the work's delay, so that the
// message loop can schedule ProcessMainThreadQueue (and, after each run, schedule it again for the
// time NextMainThreadWorkDelay gives). Empty: nobody is woken.
void SetMainThreadWakeUp(std::function<void(int delayMs)> wakeUp);

// Tests: the clock that due times are set and read by, so that a test decides when delayed work is
// due. Empty: the steady clock.
void SetMainThreadClock(std::function<std::chrono::steady_clock::time_point()> now);

// Receives what a work item raised. Empty: the exception's text is written to standard error.
void SetMainThreadExceptionHandler(std::function<void(const std::exception&)> handler);

// The application's "process pending messages". The GUI installs its own pump (which also runs this
// queue); without one, the posted work that is due runs.
void ProcessMessages();
void SetMessagePump(std::function<void()> pump);

}  // namespace tv
