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

// The host over the program's objects as they are.
TFormScriptHandler* NewScriptHandler(TComponent* owner, TMainDM& dm) {
    const bool made = DataModulesMade();
    auto* host = new TFormScriptHandler(
        owner, ProgramJobApi(MainForm(), &dm, made ? &DMImport() : nullptr, made ? &DMExport() : nullptr,
                             made ? &DMPlugins() : nullptr));
    host->ScriptFolder = [&dm] { return dm.getScriptFolder(); };
    return host;
}

}  // namespace

TJobApi ProgramJobApi(TMainForm* mainForm, TMainDM* mainDM, TDMImport* dmImport, TDMExport* dmExport,
                      TDMPlugins* dmPlugins) {
    return TJobApi::Over<TProgramClasses>(mainForm, mainDM, dmImport, dmExport, dmPlugins);
}

std::unique_ptr<IScriptHost> NewJobScriptHandler() {
    return std::unique_ptr<IScriptHost>(NewScriptHandler(nullptr, MainDM()));
}

TForm* NewScripterPage(const TSettingsPageRow&, TComponent* owner, TMainDM& dm) {
    return NewScriptHandler(owner, dm);
}

}  // namespace tv
