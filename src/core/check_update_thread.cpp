#include "core/check_update_thread.h"

#include <thread>

#include "core/app_logger.h"
#include "core/shell_helper.h"
#include "platform/rtl/files.h"
#include "platform/win/main_thread.h"
#include "platform/win/process.h"

namespace tv {

std::string UpdaterPath(const std::string& programFolder) {
    return IncludeTrailingPathDelimiter(programFolder) + std::string(kUpdaterFileName);
}

bool TCheckUpdateThread::Start(const std::string& programFolder, TResultHandler onResult, int waitMs) {
    std::string updater = UpdaterPath(programFolder);
    if (!FileExists(updater)) return false;
    // The thread frees itself when it ends; it touches nothing but the process it starts.
    std::thread([updater, programFolder, onResult = std::move(onResult), waitMs] {
        try {
            int exitCode = STILL_ACTIVE;
            TShellHelper::CreateAndWaitForProcess(updater, waitMs, std::string(kUpdaterCheckVersion),
                                                  programFolder, exitCode, SW_HIDE);
            PostToMainThread([onResult, exitCode] {
                if (onResult) onResult(exitCode);
            });
        } catch (const std::exception& e) {
            AppLogger().LogDebug("Update check failed", e);
        }
    }).detach();
    return true;
}

}  // namespace tv
