#pragma once
// Runs the main-thread work queue (platform/win/main_thread.h) on the toolkit's loop: work a worker
// thread posts (a pipe event, the update check's answer, a delayed command) runs as soon as the
// loop gets to it, or when its delay is up, also inside modal loops and ProcessMessages; the
// process-wide ProcessMessages handles the toolkit's messages; and what posted work raises goes to
// the application's exception report.

namespace tv {

// Makes the toolkit's application when needed and connects the queue to its loop.
void ConnectMainThreadQueue();
// Back to a queue that only ProcessMainThreadQueue runs.
void DisconnectMainThreadQueue();

}  // namespace tv
