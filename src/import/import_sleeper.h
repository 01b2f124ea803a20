#pragma once
// The pause an import makes after deleting a document's rows, while the event window stays alive:
// a sleep in steps with the pending window messages processed between them. The program sleeps
// and pumps for real; a test hands the context a sleeper that only writes the calls down.

namespace tv {

class IImportSleeper {
public:
    virtual ~IImportSleeper() = default;
    virtual void Sleep(int milliseconds) = 0;
    virtual void ProcessMessages() = 0;
};

// The program's sleeper: a real sleep of the thread and the application's message pass.
IImportSleeper& ProgramSleeper();

// Waits about `total` milliseconds in steps of `step`, processing messages between the steps:
// (500, 250) sleeps twice with one message pass between.
void WaitWithMessages(IImportSleeper& sleeper, int total, int step);

}  // namespace tv
