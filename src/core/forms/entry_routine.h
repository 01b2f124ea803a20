#pragma once
// The program's entry routine: the start-up steps in their order, the data modules, the
// provisioning run ("setup"), the main window and its message loop, and the exit status.

#include <string>
#include <vector>

#include "core/forms/main_form_services.h"

namespace tv {

inline constexpr std::string_view kLogEnd = "End";
inline constexpr std::string_view kLogFailed = "Failed";

// Runs the program with `args` (the parameters after the program's name). Returns the process's exit
// status: 0, or 1 when a command-line job failed to compile, failed in execution or raised, or
// when the start itself failed ("Failed" is logged at fatal level and the reason written to
// standard error).
int RunEntryRoutine(const std::vector<std::string>& args,
                    const TMainFormServices& services = MainFormServices());

}  // namespace tv
