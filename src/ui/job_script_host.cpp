#include "ui/job_script_host.h"

#include "automation/data_modules.h"
#include "automation/job_api_rows.h"
#include "core/forms/main_form.h"
#include "core/main_dm.h"
#include "ui/form_script_handler.h"

namespace tv {
namespace {

// The classes the program's job API is bound to.
struct TProgramClasses {
    using MainForm = TMainForm;
    using MainDM = TMainDM;
    using DMImport = TDMImport;
    using DMExport = TDMExport;
    using DMPlugins = TDMPlugins;
};

}  // namespace

TJobApi ProgramJobApi(TMainForm* mainForm, TMainDM* mainDM, TDMImport* dmImport, TDMExport* dmExport,
                      TDMPlugins* dmPlugins) {
    return TJobApi::Over<TProgramClasses>(mainForm, mainDM, dmImport, dmExport, dmPlugins);
}

std::unique_ptr<IScriptHost> NewJobScriptHandler() {
    auto host = std::make_unique<TFormScriptHandler>(
        nullptr, ProgramJobApi(MainForm(), &MainDM(), &DMImport(), &DMExport(), &DMPlugins()));
    host->ScriptFolder = [] { return MainDM().getScriptFolder(); };
    return host;
}

}  // namespace tv
