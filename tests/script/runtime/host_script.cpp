#include "host_script.h"

#include <sstream>

#include "platform/rtl/codepage.h"
#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"
#include "script/runtime/binding.h"

namespace tv::script::test {

HostRun RunHostScript(TPSExec& exec, const std::string& script, const std::string& declarations,
                      const std::function<void(TPSExec&)>& setup) {
    HostRun run;
    const THostDeclarations host = THostDeclarations::Parse(declarations);
    TPSPascalCompiler compiler;
    compiler.OnUses = [&host](TPSPascalCompiler& c, const std::string& unit) {
        if (unit != "SYSTEM") return false;
        c.AddFunction("procedure Print(S: string);");
        host.Register(c, "SYSTEM");
        return true;
    };
    run.Compiled = compiler.Compile(Utf8ToCp1252(script));
    for (size_t i = 0; i < compiler.MsgCount(); ++i)
        run.Messages.push_back(compiler.Msg(i)->MessageToString());
    if (!run.Compiled) return run;
    std::string container;
    compiler.GetOutput(container);

    auto out = run.Printed;
    RegisterNativeCallable(exec, "Print", [out](const std::string& s) { *out << s << '\n'; });
    if (setup) setup(exec);
    if (!exec.LoadData(container)) {
        run.LoadError = ErrorToText(exec.ExceptionCode(), exec.ExceptionString());
        return run;
    }
    run.Ran = exec.RunScript();
    if (!run.Ran) run.Error = ErrorToText(exec.ExceptionCode(), exec.ExceptionString());
    run.Out = out->str();
    return run;
}

std::string Describe(const HostRun& r) {
    std::string s = r.Compiled ? "" : "compile failed: ";
    for (const auto& m : r.Messages) s += m + "; ";
    if (!r.LoadError.empty()) s += "load: " + r.LoadError + "; ";
    if (!r.Error.empty()) s += "run: " + r.Error + "; ";
    return s + "out: " + r.Out;
}

}  // namespace tv::script::test
