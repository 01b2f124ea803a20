#include "tools/psrun/runner/script_runner.h"

#include "platform/rtl/codepage.h"
#include "script/compiler/compiler_messages.h"
#include "script/host/component/script.h"
#include "script/host/units/import_plugins.h"

namespace tv::script {

namespace {
constexpr std::string_view kPrintDecl = "procedure Print(S: string);";
}  // namespace

TScriptRun RunScriptText(std::string_view utf8Text, std::ostream& out,
                         const std::function<void(TPSExec&)>& setup,
                         const std::vector<std::string>& declarations, TGuiUnits gui) {
    TScriptRun run;
    TPSScript script;
    script.OnCompile = [&out, &declarations](TPSScript& s) {
        s.AddCallable(kPrintDecl, [&out](const std::string& text) { out << text << '\n'; });
        for (const std::string& d : declarations) {
            // "type Name = declaration" declares a type, anything else is a routine heading.
            const size_t eq = d.find('=');
            if (d.rfind("type ", 0) == 0 && eq != std::string::npos) {
                std::string name = d.substr(5, eq - 5);
                while (!name.empty() && name.back() == ' ') name.pop_back();
                s.Comp().AddTypeS(name, Utf8ToCp1252(d.substr(eq + 1)));
            } else {
                s.Comp().AddNativeFunction(Utf8ToCp1252(d));
            }
        }
    };
    // The import units as the script host registers them: through the two plug-ins and again
    // through its own handlers, so std, classes and dateutils are registered twice.
    TPSImport_Classes classesPlugin;
    TPSImport_DateUtils datePlugin;
    script.Plugins().Add(&classesPlugin);
    script.Plugins().Add(&datePlugin);
    script.OnCompImport = [gui](TObject*, TPSPascalCompiler& c) { CompileImportJobUnits(c, gui); };
    script.OnExecImport = [&setup, gui](TObject*, TPSExec& exec, TPSRuntimeClassImporter& ri) {
        ExecImportJobUnits(exec, ri, gui);
        if (setup) setup(exec);
    };
    script.Script().SetText(utf8Text);
    const bool loaded = script.Compile();
    run.Compiled = true;
    for (size_t i = 0; i < script.CompilerMessageCount(); ++i) {
        run.Messages.push_back(script.CompilerErrorToStr(i));
        if (dynamic_cast<TPSPascalCompilerError*>(script.CompilerMessages(i))) run.Compiled = false;
    }
    if (!loaded) {
        if (run.Compiled) run.Error = script.ExecErrorToString();
        return run;
    }
    run.Ran = script.Execute();
    if (!run.Ran && script.ExecErrorCode() != ErNoError) {
        run.Error = script.ExecErrorToString();
        if (const uint32_t row = script.ExecErrorRow()) {
            std::string place("(");
            place.append(std::to_string(row)).append(":").append(std::to_string(script.ExecErrorCol()));
            run.Error = place.append("): ").append(run.Error);
        }
    }
    script.Exec().Stop();
    return run;
}

}  // namespace tv::script
