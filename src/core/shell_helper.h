#pragma once
// The small process runner behind the update check and the job API's RunProgram, and the file
// manager's "show this file".

#include <string>
#include <string_view>

namespace tv {

inline constexpr std::string_view kFailedToLaunch = "Failed to launch event";

class TShellHelper {
public:
    // Starts `program` with `parameters` (split as a command line, no shell) in `workingFolder`
    // (the current folder when empty) and waits at most `waitMs` for it to end. `exitCode` gets
    // its exit code, or STILL_ACTIVE when it still runs (it is left running). Raises
    // "Failed to launch event" when it cannot be started (the reason goes to the log). On the main
    // thread pending messages are processed just before and just after the wait. The show mode is
    // the program's own business here.
    static void CreateAndWaitForProcess(const std::string& program, int waitMs, const std::string& parameters,
                                        const std::string& workingFolder, int& exitCode, int showMode);
    // Opens the file manager on the folder that holds `fileName`.
    static void OpenExplorer(const std::string& fileName);
};

}  // namespace tv
