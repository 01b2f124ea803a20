// Tollvane: the entry routine with the services of the subsystems linked into the program.

#include <string>
#include <vector>

#include "automation/data_modules.h"
#include "core/forms/entry_routine.h"
#include "core/settings_root.h"
#include "platform/ini/registry_ini.h"
#include "ui/automation_windows.h"
#include "ui/form_settings.h"
#include "ui/job_script_host.h"
#include "ui/utility_windows.h"

int main(int argc, char** argv) {
    // The engines' and the plug-in host's modules and the script catalogue over the central data
    // module, the host every job runs in, the settings window, the script list, the about box and
    // the developer test window; registry keys under the settings root.
    tv::TMainFormServices& services = tv::MainFormServices();
    services.CreateDataModules = tv::CreateDataModules;
    services.ScriptHosts = &tv::NewJobScriptHandler;
    tv::InstallSettingsWindow();
    tv::InstallScriptList();
    tv::InstallUtilityWindows();
    // The keys the registry would hold (grid layouts) are INI files under the settings root.
    tv::SetRegistryFolderProvider(&tv::GetPrefsRoot);
    return tv::RunEntryRoutine(std::vector<std::string>(argv + 1, argv + argc));
}
