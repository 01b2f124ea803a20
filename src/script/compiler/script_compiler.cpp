#include "script/compiler/script_compiler.h"

namespace tv::script {

namespace {

constexpr std::string_view kSystemUnit = "SYSTEM";

}  // namespace

TPSScriptCompiler::TPSScriptCompiler() {
    comp_.OnUses = [this](TPSPascalCompiler& c, const std::string& unit) { return ScriptUses(c, unit); };
}

bool TPSScriptCompiler::ScriptUses(TPSPascalCompiler& c, const std::string& unitName) {
    if (unitName != kSystemUnit) {
        if (OnUnknownUses) return OnUnknownUses(c, unitName);
        c.MakeError({}, ecUnknownIdentifier, {});
        return false;
    }
    for (const TPSCompileStep& step : SystemSteps) step(c);
    for (size_t i = 0; i < c.MsgCount(); ++i)
        if (dynamic_cast<TPSPascalCompilerError*>(c.Msg(i))) return false;
    return true;
}

std::string TPSScriptCompiler::CompilerErrorToStr(size_t i) const {
    TPSPascalCompilerMessage* m = comp_.Msg(i);
    return m ? m->MessageToString() : std::string();
}

bool TPSScriptCompiler::Compile(std::string_view script) {
    struct Window {
        bool& flag;
        explicit Window(bool& f) : flag(f) { flag = true; }
        ~Window() { flag = false; }
    } window(canAdd_);
    comp_.BooleanShortCircuit = (CompilerOptions & icBooleanShortCircuit) != 0;
    comp_.AllowNoBegin = (CompilerOptions & icAllowNoBegin) != 0;
    comp_.AllowUnit = (CompilerOptions & icAllowUnit) != 0;
    comp_.AllowNoEnd = (CompilerOptions & icAllowNoEnd) != 0;
    if (!UsePreProcessor) {
        comp_.OnTranslateLineInfo = nullptr;
        return comp_.Compile(script);
    }
    pre_.Clear();
    pre_.Defines = Defines;
    pre_.OnNeedFile = OnNeedFile;
    pre_.OnProcessDirective = OnProcessDirective;
    pre_.OnProcessUnknowDirective = OnProcessUnknowDirective;
    pre_.MainFile.assign(script);
    pre_.MainFileName = MainFileName;
    comp_.OnTranslateLineInfo = [this](TPSPascalCompiler&, uint32_t& pos, uint32_t& row, uint32_t& col,
                                       std::string& fileName) {
        TPSLineInfoResults r;
        if (!pre_.CurrentLineInfo().GetLineInfo({}, pos, r)) return;
        pos = r.Pos;
        row = r.Row;
        col = r.Col;
        fileName = r.Name;
    };
    std::string text;
    pre_.PreProcess(MainFileName, text);
    bool ok = comp_.Compile(text);
    pre_.AdjustMessages(comp_);
    return ok;
}

}  // namespace tv::script
