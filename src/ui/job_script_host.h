#pragma once
// The script host every job of the program runs in, and the "Scripter" page of the settings window:
// a "Scripter" form with the job API bound to the program's main window, central data module,
// import and export modules and plug-in host, and its Load dialog in the script folder. The
// program hands the job's host to the main window's services.

#include <memory>

#include "automation/job_api.h"
#include "core/script_host.h"

namespace tv {

class TComponent;
class TForm;
class TMainForm;
class TMainDM;
class TDMImport;
class TDMExport;
class TDMPlugins;

// The program's job API over these objects (a nil one's rows are only declared).
TJobApi ProgramJobApi(TMainForm* mainForm, TMainDM* mainDM, TDMImport* dmImport, TDMExport* dmExport,
                      TDMPlugins* dmPlugins);

// A job's host: made hidden, without owner.
std::unique_ptr<IScriptHost> NewJobScriptHandler();

struct TSettingsPageRow;
// The settings window's "Scripter" page, owned by `owner`, over `dm`; the rows of the data modules
// above it are only declared when those are not made.
TForm* NewScripterPage(const TSettingsPageRow& row, TComponent* owner, TMainDM& dm);

}  // namespace tv
