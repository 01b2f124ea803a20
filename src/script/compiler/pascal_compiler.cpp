// The compiler driver: the life cycle of one compile, the top-level loop over the program text and
// the uses clause.

#include "script/compiler/pascal_compiler.h"

#include <exception>

#include "script/compiler/compiler_state.h"
#include "script/compiler/expr_nodes.h"

namespace tv::script {

namespace {

constexpr std::string_view kSystemUnit = "SYSTEM";

}  // namespace

TPSPascalCompiler::TPSPascalCompiler() {
    parser_.OnParserError = [this](TPSPascalParser&, TPSParserErrorKind kind) {
        parserHadError_ = true;
        switch (kind) {
            case iCommentError:
                MakeError({}, ecCommentError, {});
                break;
            case iStringError:
                MakeError({}, ecStringError, {});
                break;
            case iCharError:
                MakeError({}, ecCharError, {});
                break;
            default:
                MakeError({}, ecSyntaxError, {});
                break;
        }
    };
}

TPSPascalCompiler::~TPSPascalCompiler() {
    if (compiling_) Cleanup();
}

void TPSPascalCompiler::Clear() {
    output_.clear();
    debugOutput_.clear();
    messages_.clear();
    autoFreeList_.clear();
}

bool TPSPascalCompiler::GetOutput(std::string& s) const {
    if (output_.empty()) return false;
    s = output_;
    return true;
}

bool TPSPascalCompiler::GetDebugOutput(std::string& s) const {
    if (debugOutput_.empty()) return false;
    s = debugOutput_;
    return true;
}

bool TPSPascalCompiler::Compile(std::string_view text) {
    if (compiling_) throw EPSCompilerException("A compile is already running");
    UnitName.clear();
    currUsedTypeNo_ = 0;
    IsUnit = false;
    Clear();
    parserHadError_ = false;
    usedUnits_.clear();
    loop_.reset();
    depth_ = 0;
    bool ok = false;
    try {
        ok = CompileMain(text);
    } catch (...) {
        Cleanup();
        throw;
    }
    Cleanup();
    return ok;
}

bool TPSPascalCompiler::CallOnUses(const std::string& unitName) {
    if (!OnUses) return true;
    try {
        return OnUses(*this, unitName);
    } catch (const std::exception& e) {
        MakeError(UnitName, ecCustomError, e.what());
        return false;
    }
}

bool TPSPascalCompiler::CompileMain(std::string_view text) {
    parser_.SetText(text);
    compiling_ = true;
    auto main = std::make_unique<TPSInternalProcedure>();
    main->Name.OrgName = "Main Proc";
    main->Name.Name = std::string(kMainProcName);
    main->Name.NameHash = HashName(main->Name.Name);
    main->DeclarePos = static_cast<int32_t>(parser_.CurrTokenPos());
    main->DeclareRow = parser_.Row();
    main->DeclareCol = parser_.Col();
    TPSInternalProcedure* mainProc = main.get();
    procs_.push_back(std::move(main));
    globalBlock_ = std::make_unique<TPSBlockInfo>(nullptr, tMainBegin);
    globalBlock_->Proc = mainProc;
    globalBlock_->ProcNo = static_cast<uint32_t>(FindProc(kMainProcName));
    block_ = globalBlock_.get();

    DefineStandardTypes();
    DefineStandardProcedures();
    if (!CallOnUses(std::string(kSystemUnit))) return false;

    enum class State {
        Start,
        AfterProgram,
        AfterUnit,
        Interface,
        InterfaceDecls,
        Implementation,
        Declarations
    };
    State state = State::Start;
    TPSPascalParser& p = parser_;
    // In a unit's interface part only headings; elsewhere a whole declaration.
    auto procedureDecl = [&] {
        if (state == State::Interface || state == State::InterfaceDecls) return ParseProcedure(true, nullptr);
        state = State::Declarations;
        return ParseProcedure(false, nullptr);
    };
    auto Refuse = [this] {
        MakeError({}, ecBeginExpected, {});
        return false;
    };
    for (bool done = false; !done;) {
        switch (p.CurrTokenID()) {
            case CSTII_program:
                if (state != State::Start) return Refuse();
                state = State::AfterProgram;
                p.Next();
                if (!ExpectNext(p, CSTI_Identifier, ecIdentifierExpected)) return false;
                if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
                break;
            case CSTII_Unit:
                if (state != State::Start || !AllowUnit) return Refuse();
                state = State::AfterUnit;
                IsUnit = true;
                p.Next();
                if (!ExpectNext(p, CSTI_Identifier, ecIdentifierExpected)) return false;
                if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
                break;
            case CSTII_Interface:
                if (state != State::AfterUnit) return Refuse();
                state = State::Interface;
                p.Next();
                break;
            case CSTII_Implementation:
                if (state != State::Interface && state != State::InterfaceDecls) return Refuse();
                state = State::Implementation;
                p.Next();
                break;
            case CSTII_uses:
                if (state != State::Start && state != State::AfterProgram && state != State::AfterUnit &&
                    state != State::Interface)
                    return Refuse();
                if (!ProcessUses()) return false;
                state = state == State::Interface ? State::InterfaceDecls : State::Declarations;
                break;
            case CSTII_procedure:
            case CSTII_function:
                if (!procedureDecl()) return false;
                break;
            case CSTII_Label:
            case CSTII_var:
            case CSTII_const:
            case CSTII_type: {
                state = state == State::Interface || state == State::InterfaceDecls ? State::InterfaceDecls
                                                                                    : State::Declarations;
                TPSPasToken t = p.CurrTokenID();
                bool ok = t == CSTII_Label   ? ProcessLabelSection(*mainProc)
                          : t == CSTII_var   ? ProcessVarSection(nullptr)
                          : t == CSTII_const ? ProcessConstSection()
                                             : ProcessTypeSection();
                if (!ok) return false;
                break;
            }
            case CSTII_begin:
                mainProc->DeclarePos = static_cast<int32_t>(p.CurrTokenPos());
                mainProc->DeclareRow = p.Row();
                mainProc->DeclareCol = p.Col();
                if (!CompileBlock(*globalBlock_)) return false;
                done = true;
                break;
            case CSTII_end:
                if (!AllowNoBegin && !IsUnit) return Refuse();
                p.Next();
                if (!Expect(p, CSTI_Period, ecPeriodExpected)) return false;
                done = true;
                break;
            case CSTI_EOF:
                if (parserHadError_) return false;
                if (!AllowNoEnd) {
                    MakeError({}, ecUnexpectedEndOfFile, {});
                    return false;
                }
                done = true;
                break;
            default:
                if (p.CurrTokenID() == AttributesOpenTokenID) {
                    if (!procedureDecl()) return false;
                    break;
                }
                MakeError({}, ecBeginExpected, {});
                return false;
        }
    }
    block_ = globalBlock_.get();
    if (!ResolveGotos(*mainProc)) return false;
    for (const auto& proc : procs_) {
        if (!proc->IsInternal()) continue;
        auto& ip = static_cast<TPSInternalProcedure&>(*proc);
        if (ip.Forwarded) {
            MakeError({}, ecUnsatisfiedForward, ip.Name.Name)
                ->SetCustomPos(static_cast<uint32_t>(ip.DeclarePos), ip.DeclareRow, ip.DeclareCol);
            return false;
        }
    }
    if (OnExportCheck) {
        for (const auto& proc : procs_) {
            if (!proc->IsInternal()) continue;
            auto& ip = static_cast<TPSInternalProcedure&>(*proc);
            if (!OnExportCheck(*this, ip, MakeDecl(ip.Decl))) return false;
        }
    }
    for (const auto& v : vars_)
        if (!v->Used)
            MakeHint({}, ehVariableNotUsed, v->Name.Name)
                ->SetCustomPos(static_cast<uint32_t>(v->DeclarePos), v->DeclareRow, v->DeclareCol);
    return WriteContainer();
}

bool TPSPascalCompiler::ProcessUses() {
    TPSPascalParser& p = parser_;
    p.Next();
    for (;;) {
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
        std::string name = p.GetToken();
        for (const auto& u : usedUnits_)
            if (u == name) {
                MakeError({}, ecDuplicateIdentifier, name);
                return false;
            }
        usedUnits_.push_back(name);
        if (!CallOnUses(name)) return false;
        p.Next();
        if (p.CurrTokenID() == CSTI_SemiColon) {
            p.Next();
            return true;
        }
        if (!ExpectNext(p, CSTI_Comma, ecSemicolonExpected)) return false;
    }
}

void TPSPascalCompiler::Cleanup() {
    // The tables are released whatever the handler does; its exception is passed on afterwards.
    std::exception_ptr handlerError;
    if (OnBeforeCleanup) {
        try {
            OnBeforeCleanup(*this);
        } catch (...) {
            handlerError = std::current_exception();
        }
    }
    block_ = nullptr;
    loop_.reset();
    globalBlock_.reset();
    regProcs_.clear();
    constants_.clear();
    vars_.clear();
    procs_.clear();
    for (size_t i = types_.size(); i-- > 0;) types_.pop_back();
    interfaces_.clear();
    classes_.clear();
    externalClasses_.clear();
    attributeTypes_.clear();
    for (TNameIndex* index : {&typeIndex_, &procIndex_, &regProcIndex_, &constIndex_, &varIndex_}) index->Clear();
    anyString_ = anyMethod_ = defaultBoolType_ = pointerType_ = nullptr;
    compiling_ = false;
    if (handlerError) std::rethrow_exception(handlerError);
}

}  // namespace tv::script
