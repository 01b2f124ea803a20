#include "ui/automation_windows.h"

#include <string>

#include "automation/data_modules.h"
#include "automation/form_rule_maker.h"
#include "automation/form_run_scripts.h"
#include "core/forms/main_form.h"
#include "core/forms/main_form_services.h"

namespace tv {

TForm* NewRuleMakerPage(const TSettingsPageRow&, TComponent* owner, TMainDM&) {
    if (!DataModulesMade()) return nullptr;
    return new TFormRuleMaker(owner, DMPlugins());
}

void InstallScriptList() {
    TMainFormServices& services = MainFormServices();
    services.CreateScriptList = [](TForm* owner) -> TForm* {
        auto* mainForm = dynamic_cast<TMainForm*>(owner);
        return new TFormRunScripts(owner, DMScripts(), [mainForm](const std::string& script, bool fromCmd) {
            if (mainForm) mainForm->RunScript(script, fromCmd);
        });
    };
    services.FindScripts = [] { DMScripts().FindScripts(); };
}

}  // namespace tv
