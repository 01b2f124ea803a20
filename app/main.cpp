// Tollvane: the entry routine with the services of the subsystems linked into the program.

#include <string>
#include <vector>

#include "automation/engine_modules.h"
#include "core/forms/entry_routine.h"
#include "ui/job_script_host.h"

int main(int argc, char** argv) {
    // The import and export engines over the central data module, and the host every job runs in.
    tv::TMainFormServices& services = tv::MainFormServices();
    services.CreateDataModules = &tv::CreateEngineModules;
    services.ScriptHosts = &tv::NewJobScriptHandler;
    return tv::RunEntryRoutine(std::vector<std::string>(argv + 1, argv + argc));
}
