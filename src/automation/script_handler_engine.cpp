#include "automation/script_handler_engine.h"

#include "platform/rtl/trim.h"
#include "script/host/units/gui/gui_units.h"

namespace tv {

TScriptHandlerEngine::TScriptHandlerEngine(TJobApi api) : api_(api) {
    PSScript1.SetName("PSScript1");
    PSImport_Classes1.SetName("PSImport_Classes1");
    PSImport_DateUtils1.SetName("PSImport_DateUtils1");
    PSScript1.Plugins().Add(&PSImport_Classes1);
    PSScript1.Plugins().Add(&PSImport_DateUtils1);
    PSScript1.OnCompImport = [this](TObject* sender, script::TPSPascalCompiler& x) {
        PSScript1CompImport(sender, x);
    };
    PSScript1.OnExecImport = [this](TObject* sender, script::TPSExec& se,
                                    script::TPSRuntimeClassImporter& x) {
        PSScript1ExecImport(sender, se, x);
    };
    PSScript1.OnCompile = [this](script::TPSScript& sender) { PSScript1Compile(sender); };
}

void TScriptHandlerEngine::LoadScript(const std::string& fileName) {
    PSScript1.Script().LoadFromFile(fileName);
    RegisterScriptApi();
}

void TScriptHandlerEngine::RegisterScriptApi() {
    registredMethods.Clear();
    for (const TJobApiRow& row : api_.Rows()) AddScriptMethod(PSScript1, row);
    registredMethods.Sort();
    if (OnMethodsRegistered) OnMethodsRegistered();
}

void TScriptHandlerEngine::AddScriptMethod(script::TPSScript& script, const TJobApiRow& row) {
    api_.Register(script, row);
    registredMethods.Add(std::string(Trim(row.Declaration)));
}

void TScriptHandlerEngine::PSScript1CompImport(TObject*, script::TPSPascalCompiler& x) {
    script::CompileImportJobUnits(x, script::JobGuiUnits());
}

void TScriptHandlerEngine::PSScript1ExecImport(TObject*, script::TPSExec& se,
                                               script::TPSRuntimeClassImporter& x) {
    script::ExecImportJobUnits(se, x, script::JobGuiUnits());
}

void TScriptHandlerEngine::PSScript1Compile(script::TPSScript& sender) {
    RegisterScriptApi();
    sender.AddRegisteredVariable(kFlagImport, kFlagType);
    sender.AddRegisteredVariable(kFlagExport, kFlagType);
}

}  // namespace tv
