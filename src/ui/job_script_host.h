#pragma once
// The script host every job of the program runs in: a hidden "Scripter" form with the job API
// bound to the program's main window, central data module, import and export modules and plug-in
// host, and its Load dialog in the script folder. The program hands it to the main window's
// services.

#include <memory>

#include "automation/job_api.h"
#include "core/script_host.h"

namespace tv {

class TMainForm;
class TMainDM;
class TDMImport;
class TDMExport;
class TDMPlugins;

// The program's job API over these objects (a nil one's rows are only declared).
TJobApi ProgramJobApi(TMainForm* mainForm, TMainDM* mainDM, TDMImport* dmImport, TDMExport* dmExport,
                      TDMPlugins* dmPlugins);

std::unique_ptr<IScriptHost> NewJobScriptHandler();

}  // namespace tv
