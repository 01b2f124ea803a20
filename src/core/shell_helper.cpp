#include "core/shell_helper.h"

#include "core/app_logger.h"
#include "platform/rtl/exception.h"
#include "platform/win/main_thread.h"
#include "platform/win/process.h"
#include "platform/win/shell_service.h"

namespace tv {

void TShellHelper::CreateAndWaitForProcess(const std::string& program, int waitMs,
                                           const std::string& parameters, const std::string& workingFolder,
                                           int& exitCode, int showMode) {
    bool onMain = IsMainThread();
    TChildProcess child = [&] {
        try {
            return TChildProcess::Start(program, SplitCommandLine(parameters), workingFolder);
        } catch (const EProcessError& e) {
            AppLogger().LogError(kFailedToLaunch, e);
            throw Exception(std::string(kFailedToLaunch));
        }
    }();
    if (onMain) ProcessMessages();
    exitCode = child.Wait(waitMs);
    if (onMain) ProcessMessages();
}

void TShellHelper::OpenExplorer(const std::string& fileName) {
    ShellService().ShowFile(fileName);
}

}  // namespace tv
