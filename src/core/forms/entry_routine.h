#pragma once
// The program's entry routine: the start-up steps in their order, the data modules, the
// provisioning run ("setup"), the main window and its message loop, and the exit status.

#include <string>
#include <vector>

#include "core/forms/main_form_services.h"

namespace tv {

inline constexpr std::string_view kLogEnd = "End";
inline constexpr std::string_view kLogFailed = "Failed";
// Logged when a run without a display would show the main window, which nobody could use; the
// program ends instead of waiting for ever.
inline constexpr std::string_view kLogNoDisplay = "Ingen skärm att visa fönstret på; programmet avslutas";

// Runs the program with `args` (the parameters after the program's name). Returns the process's exit
// status: 0, or 1 when a command-line job failed to compile, failed in execution or raised, when a
// provisioning run could not save the settings, or when the start itself failed ("Failed" is
// logged at fatal level and the reason written to standard error). Without a display the main
// window is never waited on: the program ends after its start-up command (with that job's status,
// or 1 when no job ran).
int RunEntryRoutine(const std::vector<std::string>& args,
                    const TMainFormServices& services = MainFormServices());

}  // namespace tv
