// The debug stream: procedure, variable, parameter and local names, and the code position of each
// statement with its source position.

#include "script/common/byte_io.h"
#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

void AppendName(std::string& out, std::string_view name) {
    out += name;
    out.push_back(kDebugNameEnd);
}

}  // namespace

void TPSPascalCompiler::WriteDebugProcNames() {
    AppendU8(debugOutput_, dbgProcNames);
    for (const auto& proc : procs_) {
        if (proc->IsInternal()) {
            auto& ip = static_cast<TPSInternalProcedure&>(*proc);
            AppendName(debugOutput_, ip.Name.Name == kMainProcName ? std::string_view()
                                                                   : std::string_view(ip.Name.OrgName));
        } else {
            AppendName(debugOutput_, static_cast<TPSExternalProcedure&>(*proc).RegProc->Name.OrgName);
        }
    }
    debugOutput_.push_back(kDebugListEnd);
}

void TPSPascalCompiler::WriteDebugVarNames() {
    AppendU8(debugOutput_, dbgVarNames);
    for (const auto& v : vars_) AppendName(debugOutput_, v->Name.OrgName);
    debugOutput_.push_back(kDebugListEnd);
}

void TPSPascalCompiler::WriteDebugParamsAndLocals(uint32_t procNo, TPSInternalProcedure& proc) {
    AppendU8(debugOutput_, dbgParamNames);
    AppendU32(debugOutput_, procNo);
    if (proc.Decl.Result) AppendName(debugOutput_, "Result");
    for (const auto& p : proc.Decl.Params) AppendName(debugOutput_, p.OrgName);
    debugOutput_.push_back(kDebugListEnd);
    AppendU8(debugOutput_, dbgLocalNames);
    AppendU32(debugOutput_, procNo);
    for (const auto& v : proc.ProcVars) AppendName(debugOutput_, v.Name.OrgName);
    debugOutput_.push_back(kDebugListEnd);
}

void TPSPascalCompiler::WriteDebugPosition(uint32_t procNo, uint32_t codePos) {
    uint32_t pos = parser_.CurrTokenPos(), row = parser_.Row(), col = parser_.Col();
    std::string fileName;
    if (OnTranslateLineInfo) OnTranslateLineInfo(*this, pos, row, col, fileName);
    AppendU8(debugOutput_, dbgPosition);
    AppendName(debugOutput_, fileName);
    AppendU32(debugOutput_, procNo);
    AppendU32(debugOutput_, codePos);
    AppendU32(debugOutput_, pos);
    AppendU32(debugOutput_, row);
    AppendU32(debugOutput_, col);
}

void TPSPascalCompiler::WriteStatementPosition(TPSWriteLineKind kind) {
    bool yes = true;
    if (OnWriteLine2)
        yes = OnWriteLine2(*this, parser_.CurrTokenPos(), kind);
    else if (OnWriteLine)
        yes = OnWriteLine(*this, parser_.CurrTokenPos());
    if (yes) WriteDebugPosition(block_->ProcNo, static_cast<uint32_t>(block_->Proc->Data.size()));
}

}  // namespace tv::script
