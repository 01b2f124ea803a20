#pragma once
// The script component: compiles its script text, loads the result into a debugging executor and
// runs it, and fires the host's events at fixed points of every compile so that the host and the
// import plug-ins declare and bind their routines, classes and variables. Registration is possible
// only from inside those events.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/rtl/string_list.h"
#include "platform/rtl/variant.h"
#include "script/compiler/script_compiler.h"
#include "script/runtime/binding.h"
#include "script/runtime/debug_exec.h"
#include "script/runtime/runtime_class_importer.h"

namespace tv::script {

class TPSPlugins;

inline constexpr std::string_view kEngineAlreadyRunning = "Script engine already running";
inline constexpr std::string_view kCompileAlreadyRunning = "A compile is already running";
inline constexpr std::string_view kNotRunning = "Not running";
inline constexpr std::string_view kScriptNotCompiled = "Script is not compiled";
inline constexpr std::string_view kUnableToFindVariable = "Unable to find variable";
inline constexpr std::string_view kUnableToReadVariant = "Unable to read variant";
inline constexpr std::string_view kUnableToWriteVariant = "Unable to write variant";
inline constexpr std::string_view kNotificationVariantType = "!NOTIFICATIONVARIANT";

class TPSScript : public TComponent {
    TV_CLASS(TPSScript, TComponent)
public:
    using TPSEvent = std::function<void(TPSScript& sender)>;
    using TPSOnCompImportEvent = std::function<void(TObject* sender, TPSPascalCompiler& x)>;
    using TPSOnExecImportEvent =
        std::function<void(TObject* sender, TPSExec& se, TPSRuntimeClassImporter& x)>;
    using TPSVerifyProc = std::function<void(TPSScript& sender, TPSInternalProcedure& proc,
                                             const std::string& decl, bool& error)>;
    using TPSOnNeedFile = std::function<bool(TObject* sender, const std::string& originFileName,
                                             std::string& fileName, std::string& output)>;
    using TPSOnProcessDirective = TPSPreProcessor::TPSOnProcessDirective;
    using TPSOnGetNotVariant = std::function<Variant(TPSScript& sender, const std::string& name)>;
    using TPSOnSetNotVariant =
        std::function<void(TPSScript& sender, const std::string& name, const Variant& v)>;

    explicit TPSScript(TComponent* owner = nullptr);
    ~TPSScript() override;

    // ---- the script and how it compiles
    TStrings& Script() { return *fScript; }
    void SetScript(const TStrings& lines);
    uint8_t CompilerOptions = 0;  // a set of TPSCompOption
    bool UseDebugInfo = true;
    TPSPlugins& Plugins() { return *fPlugins; }
    const std::string& MainFileName() const { return fMainFileName; }
    virtual void SetMainFileName(const std::string& name) { fMainFileName = name; }
    bool UsePreProcessor = false;
    TStrings& Defines() { return *fDefines; }
    void SetDefines(const TStrings& lines);
    bool SuppressLoadData = false;
    std::string About() const { return fExec->About(); }

    // ---- host events
    TNotifyEvent OnLine;  // before each instruction
    TPSEvent OnCompile, OnExecute, OnAfterExecute;
    TPSOnCompImportEvent OnCompImport;
    TPSOnExecImportEvent OnExecImport;
    TPSVerifyProc OnVerifyProc;
    TPSOnNeedFile OnNeedFile;
    TPSOnNeedFile OnFindUnknownFile;
    TPSOnProcessDirective OnProcessDirective, OnProcessUnknowDirective;
    TPSOnGetNotVariant OnGetNotificationVariant;
    TPSOnSetNotVariant OnSetNotificationVariant;

    // ---- operations
    // Compiles Script and loads the executor; false when the compile or the load failed. Refused
    // with an exception while the loaded script runs or from inside a compile's events.
    virtual bool Compile();
    // Runs the main procedure; true when it ended without a run-time error.
    virtual bool Execute();
    // Runs one exported procedure by name between the events of Execute; its result.
    Variant ExecuteFunction(const std::vector<Variant>& params, std::string_view procName);
    virtual void Stop();
    void GetCompiled(std::string& data) const;
    // Loads a compiled container without compiling (the run-side imports run first).
    void SetCompiled(std::string_view data);

    // Registration, only from inside the compile events: declares the routine to the compiler and
    // binds it on the executor under the declared name. False (nothing registered) outside them or
    // for a declaration the compiler does not take; a calling convention above cdSafeCall declares
    // the routine but binds nothing, so a script using it does not load.
    template <auto Fn>
    bool AddFunction(std::string_view decl) {
        return AddFunctionEx<Fn>(decl, cdRegister);
    }
    template <auto Fn>
    bool AddFunctionEx(std::string_view decl, uint8_t callingConv) {
        const std::string name = DeclareRoutine(decl);
        if (name.empty()) return false;
        RegisterNativeFunction<Fn>(*fExec, name, callingConv);
        return true;
    }
    template <auto M, class C>
    bool AddMethod(C* self, std::string_view decl) {
        return AddMethodEx<M>(self, decl, cdRegister);
    }
    template <auto M, class C>
    bool AddMethodEx(C* self, std::string_view decl, uint8_t callingConv) {
        const std::string name = DeclareRoutine(decl);
        if (name.empty()) return false;
        RegisterNativeMethod<M>(*fExec, self, name, callingConv);
        return true;
    }
    // The same with a callable (which the executor keeps).
    template <class F>
    bool AddCallable(std::string_view decl, F f) {
        const std::string name = DeclareRoutine(decl);
        if (name.empty()) return false;
        RegisterNativeCallable(*fExec, name, std::move(f));
        return true;
    }
    // Declares a host routine to the compiler and binds nothing: scripts that do not call it load,
    // one that calls it is refused at load with "Cannot Import" and its name.
    bool AddDeclaration(std::string_view decl) { return !DeclareRoutine(decl).empty(); }
    bool AddRegisteredVariable(std::string_view varName, std::string_view varType);
    bool AddRegisteredPTRVariable(std::string_view varName, std::string_view varType);
    bool AddNotificationVariant(std::string_view varName);
    bool CanAdd() const { return fCanAdd; }

    // ---- the loaded script
    // The exported variable of that name; nil when there is none.
    TPSVariant* GetVariable(std::string_view name) const;
    bool SetVarToInstance(std::string_view varName, TObject* cl);
    // Points a variable registered with AddRegisteredPTRVariable at host data; "Unable to find
    // variable" for a nil type, an unknown name or a variable not stored as a pointer.
    void SetPointerToData(std::string_view varName, void* data, const TPSTypeRec* aType);
    bool TranslatePositionPos(uint32_t proc, uint32_t position, uint32_t& pos, std::string& fileName) const;
    bool TranslatePositionRC(uint32_t proc, uint32_t position, uint32_t& row, uint32_t& col,
                             std::string& fileName) const;
    TMethod GetProcMethod(std::string_view procName);
    const TPSTypeRec* FindBaseType(uint8_t bt) const { return fExec->FindType2(bt); }
    const TPSTypeRec* FindNamedType(std::string_view name) const;

    // ---- state
    TPSPascalCompiler& Comp() { return fCompiler->Comp(); }
    TPSDebugExec& Exec() { return *fExec; }
    bool Running() const { return fExec->Status() == isRunning; }
    size_t CompilerMessageCount() const { return fCompiler->CompilerMessageCount(); }
    TPSPascalCompilerMessage* CompilerMessages(size_t i) const { return fCompiler->Comp().Msg(i); }
    std::string CompilerErrorToStr(size_t i) const { return fCompiler->CompilerErrorToStr(i); }
    TPSError ExecErrorCode() const { return fExec->ExceptionCode(); }
    const std::string& ExecErrorParam() const { return fExec->ExceptionString(); }
    std::string ExecErrorToString() const { return ErrorToText(ExecErrorCode(), ExecErrorParam()); }
    int32_t ExecErrorProcNo() const { return fExec->ExceptionProcNo(); }
    int32_t ExecErrorByteCodePosition() const { return fExec->ExceptionPos(); }
    uint32_t ExecErrorPosition() const;
    uint32_t ExecErrorRow() const;
    uint32_t ExecErrorCol() const;
    std::string ExecErrorFileName() const;

protected:
    friend class TPSScriptAccess;
    void Notification(TComponent* component, TOperation operation) override;

    virtual void DoOnLine();
    virtual bool DoOnNeedFile(const std::string& originFileName, std::string& fileName, std::string& output);
    virtual bool DoOnUnknownUses(TPSPascalCompiler& sender, const std::string& name);
    virtual void DoOnCompImport();
    virtual void DoOnCompile();
    virtual bool DoVerifyProc(TPSInternalProcedure& proc, const std::string& decl);
    virtual void DoOnExecImport(TPSRuntimeClassImporter& ri);
    virtual void DoOnExecute();
    virtual void DoAfterExecute();
    virtual Variant DoOnGetNotificationVariant(const std::string& name);
    virtual void DoOnSetNotificationVariant(const std::string& name, const Variant& v);

private:
    // Steps 1 to 6 of a compile: the executor emptied, a new class registry filled by the run-side
    // imports and installed.
    void PrepareExecutor(bool resetError);
    // Compiling or loading while a run (or a script procedure a host called) has not returned raises
    // "Script engine already running"; from inside a compile's events "A compile is already running".
    void RefuseReload() const;
    bool LoadExec();
    // The compile-side imports, in order, when the compiler asks for the unit SYSTEM.
    void SystemImports();
    // The upper-case name of a routine the compiler declared; empty when it declared none.
    std::string DeclareRoutine(std::string_view decl);
    void RunPlugins(const std::function<void(class TPSPlugin&)>& step);
    void TranslateError(uint32_t& pos, uint32_t& row, uint32_t& col, std::string& fileName) const;
    uint32_t ErrorCodePosition() const;

    std::unique_ptr<TPSScriptCompiler> fCompiler;
    std::unique_ptr<TPSDebugExec> fExec;
    std::unique_ptr<TStringList> fScript;
    std::unique_ptr<TPSPlugins> fPlugins;
    std::unique_ptr<TPSRuntimeClassImporter> RI;
    std::unique_ptr<TStringList> fDefines;
    std::string fMainFileName;
    bool fCanAdd = false;
    bool fCompiling = false;  // from the start of Compile or SetCompiled to their end
};

}  // namespace tv::script
