// Tollvane: the entry routine with the services of the subsystems linked into the program.

#include <string>
#include <vector>

#include "automation/data_modules.h"
#include "core/forms/entry_routine.h"
#include "ui/form_settings.h"

int main(int argc, char** argv) {
    tv::MainFormServices().CreateDataModules = tv::CreateDataModules;
    tv::InstallSettingsWindow();
    return tv::RunEntryRoutine(std::vector<std::string>(argv + 1, argv + argc));
}
