#include "import/import_sleeper.h"

#include <chrono>
#include <thread>

#include "platform/win/main_thread.h"

namespace tv {

namespace {

class TProgramSleeper final : public IImportSleeper {
public:
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    void ProcessMessages() override { tv::ProcessMessages(); }
};

}  // namespace

IImportSleeper& ProgramSleeper() {
    static TProgramSleeper sleeper;
    return sleeper;
}

void WaitWithMessages(IImportSleeper& sleeper, int total, int step) {
    // A step of 0 or less would never end the wait: the rest is slept at once.
    while (total > 0) {
        if (step <= 0 || total - step <= 0) {
            sleeper.Sleep(total);
            return;
        }
        sleeper.Sleep(step);
        sleeper.ProcessMessages();
        total -= step;
    }
}

}  // namespace tv
