#include "script/host/component/script.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"
#include "script/compiler/compiler_messages.h"
#include "script/host/component/plugin.h"
#include "script/runtime/class_bridge.h"
#include "script/runtime/value_ops.h"

namespace tv::script {

namespace {

constexpr std::string_view kSystemUnit = "SYSTEM";

TPSScript& ScriptOf(TPSExec& exec) {
    return *static_cast<TPSScript*>(exec.FId);
}

Variant GetNotificationVariant(TPSExec& exec, const std::string& name);
void SetNotificationVariant(TPSExec& exec, const std::string& name, const Variant& v);

}  // namespace

// The notification variables are read and written through the component's events.
class TPSScriptAccess {
public:
    static Variant Get(TPSScript& s, const std::string& name) { return s.DoOnGetNotificationVariant(name); }
    static void Set(TPSScript& s, const std::string& name, const Variant& v) {
        s.DoOnSetNotificationVariant(name, v);
    }
};

namespace {
Variant GetNotificationVariant(TPSExec& exec, const std::string& name) {
    return TPSScriptAccess::Get(ScriptOf(exec), name);
}
void SetNotificationVariant(TPSExec& exec, const std::string& name, const Variant& v) {
    TPSScriptAccess::Set(ScriptOf(exec), name, v);
}
}  // namespace

const TClassInfo& TPSScript::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPSScript>("TPSScript")
            .Published("About", [](const TPSScript& s) { return s.About(); })
            .Published("UseDebugInfo", &TPSScript::UseDebugInfo, &TPSScript::UseDebugInfo)
            .Published("MainFileName", &TPSScript::MainFileName, &TPSScript::SetMainFileName)
            .Published("UsePreProcessor", &TPSScript::UsePreProcessor, &TPSScript::UsePreProcessor)
            .Build();
    return info;
}

TPSScript::TPSScript(TComponent* owner)
    : TComponent(owner),
      fCompiler(std::make_unique<TPSScriptCompiler>()),
      fExec(std::make_unique<TPSDebugExec>()),
      fScript(std::make_unique<TStringList>()),
      fPlugins(std::make_unique<TPSPlugins>(this)),
      fDefines(std::make_unique<TStringList>()) {
    TPSPascalCompiler& comp = fCompiler->Comp();
    comp.ID = this;
    comp.OnExportCheck = [this](TPSPascalCompiler&, TPSInternalProcedure& proc, const std::string& decl) {
        return DoVerifyProc(proc, decl);
    };
    fCompiler->SystemSteps = {[this](TPSPascalCompiler&) { SystemImports(); }};
    fCompiler->OnUnknownUses = [this](TPSPascalCompiler& c, const std::string& name) {
        return DoOnUnknownUses(c, name);
    };
    fCompiler->OnNeedFile = [this](TPSPreProcessor&, const std::string& origin, std::string& fileName,
                                   std::string& output) { return DoOnNeedFile(origin, fileName, output); };
    fExec->FId = this;
    fExec->FOnGetNVariant = GetNotificationVariant;
    fExec->FOnSetNVariant = SetNotificationVariant;
}

TPSScript::~TPSScript() = default;

void TPSScript::SetScript(const TStrings& lines) {
    fScript->Assign(const_cast<TStrings*>(&lines));
}

void TPSScript::SetDefines(const TStrings& lines) {
    fDefines->Assign(const_cast<TStrings*>(&lines));
}

void TPSScript::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    // The component is being freed: only its address is used (its class is no longer its own).
    if (operation != opRemove) return;
    for (int i = fPlugins->Count() - 1; i >= 0; --i)
        if (static_cast<TComponent*>(fPlugins->Items(i)->Plugin()) == component) fPlugins->Delete(i);
}

void TPSScript::RunPlugins(const std::function<void(TPSPlugin&)>& step) {
    // A step may free plug-ins, whose items then leave the list: every plug-in listed when the step
    // began gets its turn in order, unless it is gone by then.
    std::vector<TPSPlugin*> turns;
    for (int i = 0; i < fPlugins->Count(); ++i)
        if (TPSPlugin* p = fPlugins->Items(i)->Plugin()) turns.push_back(p);
    for (TPSPlugin* p : turns) {
        bool listed = false;
        for (int i = 0; i < fPlugins->Count() && !listed; ++i) listed = fPlugins->Items(i)->Plugin() == p;
        if (listed) step(*p);
    }
}

// ---- compiling

void TPSScript::PrepareExecutor(bool resetError) {
    fExec->Clear();
    if (resetError) fExec->ClearException();
    fExec->ClearspecialProcImports();
    fExec->ClearFunctionList();
    RI.reset();
    RI = std::make_unique<TPSRuntimeClassImporter>();
    RunPlugins([this](TPSPlugin& p) { p.ExecImport1(*this, *RI); });
    DoOnExecImport(*RI);
    RunPlugins([this](TPSPlugin& p) { p.ExecImport2(*this, *RI); });
    RI->RegisterOn(*fExec);
    RunPlugins([this](TPSPlugin& p) { p.ExecOnUses(*this); });
}

namespace {
// Sets a flag for as long as it lives.
struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};
}  // namespace

void TPSScript::RefuseReload() const {
    // Emptying the executor under a run that has not returned would leave that run on freed code
    // and values; under a compile, the compile's events on a freed class registry.
    if (fExec->InRun()) throw Exception(std::string(kEngineAlreadyRunning));
    if (fCompiling) throw Exception(std::string(kCompileAlreadyRunning));
}

bool TPSScript::Compile() {
    RefuseReload();
    const FlagScope compiling(fCompiling);
    PrepareExecutor(true);
    const FlagScope window(fCanAdd);
    fCompiler->CompilerOptions = CompilerOptions;
    fCompiler->UsePreProcessor = UsePreProcessor;
    fCompiler->MainFileName = fMainFileName;
    fCompiler->Defines.clear();
    for (int i = 0; i < fDefines->Count(); ++i)
        fCompiler->Defines.push_back(Utf8ToCp1252(fDefines->Strings(i)));
    fCompiler->OnProcessDirective = OnProcessDirective;
    fCompiler->OnProcessUnknowDirective = OnProcessUnknowDirective;
    if (!fCompiler->Compile(Utf8ToCp1252(fScript->Text()))) return false;
    if (UsePreProcessor && SuppressLoadData) return true;
    return LoadExec();
}

void TPSScript::SystemImports() {
    TPSPascalCompiler& comp = fCompiler->Comp();
    RunPlugins([this](TPSPlugin& p) { p.CompOnUses(*this); });
    RunPlugins([this](TPSPlugin& p) { p.CompileImport1(*this); });
    DoOnCompImport();
    RunPlugins([this](TPSPlugin& p) { p.CompileImport2(*this); });
    DoOnCompile();
    (void)comp;
}

bool TPSScript::DoOnUnknownUses(TPSPascalCompiler& sender, const std::string& name) {
    if (!OnFindUnknownFile) {
        sender.MakeError({}, ecUnknownIdentifier, {});
        return false;
    }
    std::string fileName = name, output;
    if (!OnFindUnknownFile(this, {}, fileName, output)) {
        sender.MakeError({}, ecUnknownIdentifier, name);
        return false;
    }
    // The unit's text is compiled by the compiler that is compiling the script: that compiler takes
    // one text at a time and refuses (the refusal becomes the compile's error message).
    const bool allowUnit = sender.AllowUnit;
    sender.AllowUnit = true;
    struct Restore {
        TPSPascalCompiler& c;
        bool allow;
        ~Restore() { c.AllowUnit = allow; }
    } restore{sender, allowUnit};
    return sender.Compile(output);
}

bool TPSScript::LoadExec() {
    std::string data;
    if (!fCompiler->GetOutput(data)) return false;
    if (!fExec->LoadData(data)) return false;
    if (UseDebugInfo) {
        std::string debug;
        fCompiler->GetDebugOutput(debug);
        fExec->LoadDebugData(debug);
    }
    return true;
}

void TPSScript::GetCompiled(std::string& data) const {
    if (!fCompiler->GetOutput(data)) throw Exception(std::string(kScriptNotCompiled));
}

void TPSScript::SetCompiled(std::string_view data) {
    RefuseReload();
    const FlagScope compiling(fCompiling);
    PrepareExecutor(false);
    if (!fExec->LoadData(data)) throw Exception(ExecErrorToString());
}

// ---- running

bool TPSScript::Execute() {
    if (Running()) throw Exception(std::string(kEngineAlreadyRunning));
    // A run that ended with an unhandled error left the executor paused at the failing instruction;
    // Execute runs the main procedure from its start, never the rest of a failed run.
    if (fExec->Status() == isPaused && !fExec->InRun()) fExec->Stop();
    if (SuppressLoadData) LoadExec();
    DoOnExecute();
    fExec->SetDebugEnabled(UseDebugInfo);
    fExec->FOnRunLine = OnLine ? [this](TPSExec&) { DoOnLine(); } : TPSOnLineEvent();
    const bool ok = fExec->RunScript() && fExec->ExceptionCode() == ErNoError;
    DoAfterExecute();
    return ok;
}

Variant TPSScript::ExecuteFunction(const std::vector<Variant>& params, std::string_view procName) {
    if (SuppressLoadData) {
        RefuseReload();
        LoadExec();
    }
    DoOnExecute();
    fExec->SetDebugEnabled(UseDebugInfo);
    Variant result = fExec->RunProcPN(params, procName);
    DoAfterExecute();
    return result;
}

void TPSScript::Stop() {
    const TPSStatus s = fExec->Status();
    if (s != isRunning && s != isPaused) throw Exception(std::string(kNotRunning));
    fExec->Stop();
}

// ---- registration

std::string TPSScript::DeclareRoutine(std::string_view decl) {
    if (!fCanAdd) return {};
    TPSRegProc* proc = fCompiler->Comp().AddNativeFunction(Utf8ToCp1252(decl));
    return proc ? proc->Name.Name : std::string();
}

bool TPSScript::AddRegisteredVariable(std::string_view varName, std::string_view varType) {
    if (!fCanAdd) return false;
    TPSVar* v = fCompiler->Comp().AddUsedVariableN(varName, varType);
    if (!v) return false;
    v->ExportName = v->Name.Name;
    return true;
}

bool TPSScript::AddRegisteredPTRVariable(std::string_view varName, std::string_view varType) {
    if (!fCanAdd) return false;
    TPSVar* v = fCompiler->Comp().AddUsedPtrVariableN(varName, varType);
    if (!v) return false;
    v->ExportName = v->Name.Name;
    return true;
}

bool TPSScript::AddNotificationVariant(std::string_view varName) {
    return AddRegisteredVariable(varName, kNotificationVariantType);
}

// ---- the loaded script

TPSVariant* TPSScript::GetVariable(std::string_view name) const {
    return fExec->GetVar2(name);
}

bool TPSScript::SetVarToInstance(std::string_view varName, TObject* cl) {
    TPSVariant* v = GetVariable(varName);
    if (!v) return false;
    SetVariableToInstance(v, cl);
    return true;
}

void TPSScript::SetPointerToData(std::string_view varName, void* data, const TPSTypeRec* aType) {
    TPSVariant* v = GetVariable(varName);
    // Only a variable stored as a pointer has room for one: any other holds a value of its own type.
    if (!aType || !v || v->FType->FBaseType != btPointer) throw Exception(std::string(kUnableToFindVariable));
    PointValueAt(v->Data(), data, aType);
}

bool TPSScript::TranslatePositionPos(uint32_t proc, uint32_t position, uint32_t& pos,
                                     std::string& fileName) const {
    uint32_t row = 0, col = 0;
    return fExec->TranslatePositionEx(proc, position, pos, row, col, fileName);
}

bool TPSScript::TranslatePositionRC(uint32_t proc, uint32_t position, uint32_t& row, uint32_t& col,
                                    std::string& fileName) const {
    uint32_t pos = 0;
    return fExec->TranslatePositionEx(proc, position, pos, row, col, fileName);
}

TMethod TPSScript::GetProcMethod(std::string_view procName) {
    return fExec->GetProcAsMethodN(procName);
}

const TPSTypeRec* TPSScript::FindNamedType(std::string_view name) const {
    const int32_t n = fExec->GetType(name);
    return n < 0 ? nullptr : fExec->GetTypeNo(static_cast<uint32_t>(n));
}

uint32_t TPSScript::ErrorCodePosition() const {
    // The error is recorded once the failing instruction has been read: its last byte lies in the
    // failing statement, the recorded position may already be where the next statement starts.
    const int32_t pos = ExecErrorByteCodePosition();
    return pos > 0 ? static_cast<uint32_t>(pos - 1) : 0;
}

void TPSScript::TranslateError(uint32_t& pos, uint32_t& row, uint32_t& col, std::string& fileName) const {
    if (!fExec->TranslatePositionEx(static_cast<uint32_t>(ExecErrorProcNo()), ErrorCodePosition(), pos, row,
                                    col, fileName)) {
        pos = row = col = 0;
        fileName.clear();
    }
}

uint32_t TPSScript::ExecErrorPosition() const {
    return fExec->TranslatePosition(static_cast<uint32_t>(ExecErrorProcNo()), ErrorCodePosition());
}

uint32_t TPSScript::ExecErrorRow() const {
    uint32_t pos, row, col;
    std::string fn;
    TranslateError(pos, row, col, fn);
    return row;
}

uint32_t TPSScript::ExecErrorCol() const {
    uint32_t pos, row, col;
    std::string fn;
    TranslateError(pos, row, col, fn);
    return col;
}

std::string TPSScript::ExecErrorFileName() const {
    uint32_t pos, row, col;
    std::string fn;
    TranslateError(pos, row, col, fn);
    return fn;
}

// ---- events

void TPSScript::DoOnLine() {
    if (OnLine) OnLine(this);
}

bool TPSScript::DoOnNeedFile(const std::string& originFileName, std::string& fileName, std::string& output) {
    return OnNeedFile ? OnNeedFile(this, originFileName, fileName, output) : false;
}

void TPSScript::DoOnCompImport() {
    if (OnCompImport) OnCompImport(this, fCompiler->Comp());
}

void TPSScript::DoOnCompile() {
    if (OnCompile) OnCompile(*this);
}

bool TPSScript::DoVerifyProc(TPSInternalProcedure& proc, const std::string& decl) {
    if (!OnVerifyProc) return true;
    bool error = false;
    OnVerifyProc(*this, proc, decl, error);
    return !error;
}

void TPSScript::DoOnExecImport(TPSRuntimeClassImporter& ri) {
    if (OnExecImport) OnExecImport(this, *fExec, ri);
}

void TPSScript::DoOnExecute() {
    if (OnExecute) OnExecute(*this);
}

void TPSScript::DoAfterExecute() {
    if (OnAfterExecute) OnAfterExecute(*this);
}

Variant TPSScript::DoOnGetNotificationVariant(const std::string& name) {
    if (!OnGetNotificationVariant) throw Exception(std::string(kUnableToReadVariant));
    return OnGetNotificationVariant(*this, name);
}

void TPSScript::DoOnSetNotificationVariant(const std::string& name, const Variant& v) {
    if (!OnSetNotificationVariant) throw Exception(std::string(kUnableToWriteVariant));
    OnSetNotificationVariant(*this, name, v);
}

}  // namespace tv::script
