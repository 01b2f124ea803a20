#include "tools/psrun/runner/script_runner.h"

#include "platform/rtl/codepage.h"
#include "script/common/byte_io.h"
#include "script/compiler/pascal_compiler.h"
#include "script/runtime/binding.h"
#include "script/runtime/exec.h"

namespace tv::script {

namespace {

constexpr std::string_view kPrintDecl = "procedure Print(S: string);";

struct Place {
    uint32_t row = 0, col = 0;
    bool found = false;
};

// Skips a list of names, each ended by byte 1, the list by byte 0.
bool SkipNames(ByteReader& r) {
    for (;;) {
        uint8_t b = 0;
        if (!r.ReadU8(b)) return false;
        if (b == kDebugListEnd) return true;
        while (b != static_cast<uint8_t>(kDebugNameEnd))
            if (!r.ReadU8(b)) return false;
    }
}

// The source place of an error recorded at code position `pos` of procedure `proc`: the last
// statement that starts before it (errors are recorded after the failing instruction's first byte).
Place PlaceOf(std::string_view debug, uint32_t proc, uint32_t pos) {
    Place best;
    uint32_t bestPos = 0;
    ByteReader r(debug);
    uint8_t code = 0;
    while (r.ReadU8(code)) {
        uint32_t n = 0;
        switch (code) {
            case dbgProcNames:
            case dbgVarNames:
                if (!SkipNames(r)) return best;
                break;
            case dbgParamNames:
            case dbgLocalNames:
                if (!r.ReadU32(n) || !SkipNames(r)) return best;
                break;
            case dbgPosition: {
                uint8_t b = 0;
                do {
                    if (!r.ReadU8(b)) return best;
                } while (b != static_cast<uint8_t>(kDebugNameEnd));
                uint32_t p = 0, codePos = 0, srcPos = 0, row = 0, col = 0;
                if (!r.ReadU32(p) || !r.ReadU32(codePos) || !r.ReadU32(srcPos) || !r.ReadU32(row) ||
                    !r.ReadU32(col))
                    return best;
                if (p == proc && codePos < pos && (!best.found || codePos >= bestPos)) {
                    best = {row, col, true};
                    bestPos = codePos;
                }
                break;
            }
            default:
                return best;
        }
    }
    return best;
}

}  // namespace

TScriptRun RunScriptText(std::string_view utf8Text, std::ostream& out,
                         const std::function<void(TPSExec&)>& setup,
                         const std::vector<std::string>& declarations) {
    TScriptRun run;
    TPSPascalCompiler compiler;
    compiler.OnUses = [&declarations](TPSPascalCompiler& c, const std::string& unit) {
        if (unit != "SYSTEM") return false;
        c.AddFunction(kPrintDecl);
        for (const std::string& d : declarations) {
            // "type Name = declaration" declares a type, anything else is a routine heading.
            const size_t eq = d.find('=');
            if (d.rfind("type ", 0) == 0 && eq != std::string::npos) {
                std::string name = d.substr(5, eq - 5);
                while (!name.empty() && name.back() == ' ') name.pop_back();
                c.AddTypeS(name, Utf8ToCp1252(d.substr(eq + 1)));
            } else {
                c.AddNativeFunction(Utf8ToCp1252(d));
            }
        }
        return true;
    };
    run.Compiled = compiler.Compile(Utf8ToCp1252(utf8Text));
    for (size_t i = 0; i < compiler.MsgCount(); ++i)
        run.Messages.push_back(compiler.Msg(i)->MessageToString());
    if (!run.Compiled) return run;
    std::string container, debug;
    compiler.GetOutput(container);
    compiler.GetDebugOutput(debug);

    TPSExec exec;
    RegisterNativeCallable(exec, "Print", [&out](const std::string& s) { out << s << '\n'; });
    if (setup) setup(exec);
    if (!exec.LoadData(container)) {
        run.Error = ErrorToText(exec.ExceptionCode(), exec.ExceptionString());
        return run;
    }
    run.Ran = exec.RunScript();
    if (!run.Ran && exec.ExceptionCode() != ErNoError) {
        const Place at = PlaceOf(debug, static_cast<uint32_t>(exec.ExceptionProcNo()),
                                 static_cast<uint32_t>(exec.ExceptionPos()));
        run.Error = ErrorToText(exec.ExceptionCode(), exec.ExceptionString());
        if (at.found)
            run.Error = std::string("(")
                            .append(std::to_string(at.row))
                            .append(":")
                            .append(std::to_string(at.col))
                            .append("): ") +
                        run.Error;
    }
    exec.Stop();
    return run;
}

}  // namespace tv::script
