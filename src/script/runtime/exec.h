#pragma once
// The executor of compiled scripts: loads a container (binding every host routine it declares),
// holds the loaded types, procedures and global variables, the registries of host routines, special
// importers, attribute types and resources, and the last recorded run-time error.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/event.h"
#include "platform/rtl/object.h"
#include "platform/rtl/variant.h"
#include "script/runtime/attributes.h"
#include "script/runtime/decoded_code.h"
#include "script/runtime/errors.h"
#include "script/runtime/proc_rec.h"
#include "script/runtime/stack.h"
#include "script/runtime/type_rec.h"

namespace tv::script {

using TPSFreeProc = void (*)(TPSExec& caller, struct TProcRec& p);
struct TPSMethodInfo;

// A registered host routine.
struct TProcRec {
    std::string Name;  // upper case, at most 255 characters
    uint32_t Hash = 0;
    TPSProcPtr ProcPtr = nullptr;
    TPSFreeProc FreeProc = nullptr;
    void* Ext1 = nullptr;
    void* Ext2 = nullptr;
    // The declaration bytes a typed binding expects (result flag, one by-reference flag per
    // parameter); a script declaring the routine otherwise is refused at load. Empty: not checked.
    std::string Signature;
};

// A special importer: binds host routines whose declaration starts with its prefix ("class",
// "intf"); answers false when it cannot.
using TPSOnSpecialProcImport = bool (*)(TPSExec& sender, TPSExternalProcRec& p, void* tag);

struct TSpecialProc {
    TPSOnSpecialProcImport P = nullptr;
    uint32_t namehash = 0;
    std::string Name;
    void* tag = nullptr;
    std::shared_ptr<void> Owned;  // the tag, when the entry owns it
};

// A resource tied to the loaded script, released (by its procedure) when the executor clears.
using TPSResourceFreeProc = void (*)(TPSExec& sender, void* resource);

struct TPSExportedVar {
    std::string FName;
    uint32_t FNameHash = 0;
    uint32_t FVarNo = 0;
};

using TPSOnException = std::function<void(TPSExec& sender, TPSError exError, const std::string& exParam,
                                          std::exception_ptr exObject, uint32_t procNo, uint32_t position)>;
using TPSOnGetNVariant = Variant (*)(TPSExec& sender, const std::string& name);
using TPSOnSetNVariant = void (*)(TPSExec& sender, const std::string& name, const Variant& v);
using TPSOnLineEvent = std::function<void(TPSExec& sender)>;

// One exception frame of a try statement (or a barrier a host pushes around a call into the
// script: no procedure). Positions are absolute in the procedure's code; kFrameUnset marks a part
// that is absent or has run, kFrameExceptRunning an except part that is running.
struct TPSExceptionHandler {
    static constexpr uint32_t kFrameUnset = 0xFFFFFFFF;
    static constexpr uint32_t kFrameExceptRunning = 0xFFFFFFFE;
    TPSInternalProcRec* CurrProc = nullptr;
    int32_t BasePtr = -1;
    int32_t StackSize = 0;
    uint32_t FinallyOffset = kFrameUnset;
    uint32_t ExceptOffset = kFrameUnset;
    uint32_t Finally2Offset = kFrameUnset;
    uint32_t EndOfBlock = kFrameUnset;
    TPSError ExceptionData = ErNoError;
    std::exception_ptr ExceptionObject;
    std::string ExceptionParam;
    // Where the error an except part handles happened.
    int32_t ExceptionProc = -1;
    int32_t ExceptionPos = -1;
    // Where a break or continue that left the statement early goes on after its finally part.
    uint32_t LeaveTarget = kFrameUnset;
    // The return instruction that waits for this frame's finally part (run again after it).
    uint32_t ReturnTarget = kFrameUnset;
};

// A decoded operand: the value's data and type; Temp for a constant (never written).
struct TPSOperandRef {
    void* Data;
    const TPSTypeRec* Type;
    bool Temp;
};

class TPSExec {
public:
    TPSExec();
    virtual ~TPSExec();
    TPSExec(const TPSExec&) = delete;
    TPSExec& operator=(const TPSExec&) = delete;

    // ---- lifecycle
    // Releases everything loaded (frames, resources, procedures, globals, types); registrations stay.
    virtual void Clear();
    // Resets the globals to empty values and empties the call stack; only while loaded.
    virtual void Cleanup();
    std::string About() const;

    // ---- registries
    // Registers a host routine (the name upper-cased and cut to 255 characters); later wins.
    TProcRec* RegisterFunctionName(std::string_view name, TPSProcPtr proc, void* ext1, void* ext2);
    // Releases every registered routine and attribute type, then registers the built-ins again.
    void ClearFunctionList();
    // Adds a special importer; with `owned` the entry keeps its tag alive until the entry goes.
    void AddSpecialProcImport(std::string_view prefix, TPSOnSpecialProcImport p, void* tag,
                              std::shared_ptr<void> owned = nullptr);
    void ClearspecialProcImports();
    // The tag of the newest special importer using routine p; nil when none.
    void* FindSpecialProcImport(TPSOnSpecialProcImport p) const;
    void RegisterAttributeType(TPSAttributeUseProc useProc, std::string_view typeName);
    // Binds a host routine by name or, for an empty name, through the special importer of the
    // declaration's prefix.
    virtual bool BindExternalProc(std::string_view name, TPSExternalProcRec& proc);

    void AddResource(TPSResourceFreeProc proc, void* p);
    void DeleteResource(void* p);
    void* FindProcResource(TPSResourceFreeProc proc) const;
    void* FindProcResource2(TPSResourceFreeProc proc, int32_t& startAt) const;
    bool IsValidResource(TPSResourceFreeProc proc, void* p) const;

    // ---- lookups
    int32_t GetProc(std::string_view name) const;
    TPSProcRec* GetProcNo(uint32_t n) const { return n < FProcs.size() ? FProcs[n].get() : nullptr; }
    int32_t GetType(std::string_view name) const;
    TPSTypeRec* GetTypeNo(uint32_t n) const { return n < FTypes.size() ? FTypes[n].get() : nullptr; }
    TPSTypeRec* FindType(uint32_t startAt, uint8_t baseType, uint32_t& l) const;
    TPSTypeRec* FindType2(uint8_t baseType) const;
    int32_t GetVar(std::string_view name) const;
    TPSVariant* GetVarNo(uint32_t n) const { return FGlobalVars.GetItem(static_cast<int32_t>(n)); }
    TPSVariant* GetVar2(std::string_view name) const;
    uint32_t GetProcCount() const { return static_cast<uint32_t>(FProcs.size()); }
    uint32_t GetTypeCount() const { return static_cast<uint32_t>(FTypes.size()); }
    uint32_t GetVarCount() const { return static_cast<uint32_t>(FGlobalVars.Count()); }
    // The number of a procedure record, -1 when it is not one of this executor's.
    int32_t ProcNumber(const TPSProcRec* p) const;

    // ---- loading
    // Reads a compiled-script container; true when it loaded (status isLoaded). A failure records
    // its error (ExEx, ExParam) and leaves nothing loaded.
    virtual bool LoadData(std::string_view s);

    // ---- values
    // dest := src with conversion; a failure records its error (ErTypeMismatch, or the mapped
    // exception) and answers false.
    bool AssignValue(void* dest, const void* src, const TPSTypeRec* destType, const TPSTypeRec* srcType);
    // Fills a dynamic array from a one-dimensional variant array.
    bool AssignVariantArrayToDynArray(void* dest, const Variant& src, const TPSTypeRec* arrayType);
    // Records the exception in flight as a script error: EPSException as its custom error, division
    // by zero, other arithmetic faults, a full stack, memory, anything else with its message.
    void HandleException(std::exception_ptr e);

    // ---- operators (the left operand and destinations are variables; failures are recorded)
    bool CalculateInPlace(void* left, const void* right, uint8_t op, const TPSTypeRec* rightType,
                          const TPSTypeRec* leftType);
    bool CompareValues(const void* left, const void* right, void* dest, const TPSTypeRec* leftType,
                       const TPSTypeRec* rightType, const TPSTypeRec* destType, uint8_t op);
    bool NegateValue(void* value, const TPSTypeRec* t);
    bool LogicalNot(void* value, const TPSTypeRec* t);
    bool BitwiseNot(void* value, const TPSTypeRec* t);
    bool StoreBooleanResult(bool b, void* dest, const TPSTypeRec* destType);
    // True when the object is an instance of the host class of the script class type (through the
    // registry installed for "class"); false for nil, an unknown class or no registry.
    bool IsInstanceOfScriptClass(const TObject* obj, const TPSTypeRec* classType);
    bool VariantInArray(const void* value, const TPSTypeRec* t, const void* array);

    // ---- running
    // Runs the main procedure (isLoaded) or continues a paused run; true when no error is recorded
    // at the end. An error no frame handles leaves the executor paused.
    bool RunScript();
    virtual void Stop();
    virtual void Pause();
    // Calls a procedure with heap values as its parameters (passed by reference): for a function
    // the list holds the parameters last first and then the result. Leaves the registers and the
    // stack as it found them, whatever happens inside.
    bool RunProc(const std::vector<TPSVariant*>* params, uint32_t procNo);
    // Calls an exported script procedure with variants; raises "Unknown procedure", "Not enough
    // parameters", "Too many parameters", "Invalid parameter", and the recorded error after the run.
    Variant RunProcP(const std::vector<Variant>& params, uint32_t procNo);
    // As RunProcP, writing every parameter's final value back into `params`.
    Variant RunProcPVar(std::vector<Variant>& params, uint32_t procNo);
    Variant RunProcPN(const std::vector<Variant>& params, std::string_view name);
    // Raises the recorded error in the host: its exception object, or EPSException with its text.
    void RaiseCurrentException();
    // Inside an except part: raises the error it handles again (the frame gives up its exception
    // object); true when it did. Elsewhere nothing happens.
    bool RaiseHandledException();
    // The current exception: from the innermost frame while one handles it, else the recorded one.
    TPSError LastEx() const;
    std::string LastExParam() const;
    int32_t LastExProc() const;
    int32_t LastExPos() const;
    std::exception_ptr LastExObject() const;
    // ---- script procedures as host methods (event_bridge.cpp)
    // The method reference of script procedure `procNo` (one per procedure for as long as the script
    // stays loaded); nil for 0, -1 and procedures without an exported declaration.
    TMethod GetProcAsMethod(uint32_t procNo);
    // The same by exported name; nil when no procedure has it.
    TMethod GetProcAsMethodN(std::string_view name);
    // The number of the script procedure a method reference of this executor runs; 0 for any other.
    uint32_t ProcNoOfMethod(const TMethod& m) const;
    // Runs a script procedure for a host's event call (the script thunk's work): the arguments
    // become values of the declared types, by-reference ones and the result are written back, and
    // an error the procedure leaves unhandled is raised in the host.
    void CallAsMethod(TPSMethodInfo& info, std::span<TEventArg> args, TEventArg* result);

    // The executor's Pointer type for references it pushes: the container's first, else its own.
    const TPSTypeRec* PointerType() const;

    // ---- errors
    // Records an error at the current place and unwinds to the innermost frame that handles it.
    void CMD_Err(TPSError ec) { CMD_Err3(ec, {}, nullptr); }
    void CMD_Err2(TPSError ec, std::string param) { CMD_Err3(ec, std::move(param), nullptr); }
    void CMD_Err3(TPSError ec, std::string param, std::exception_ptr exObject);
    virtual void StoreException(int32_t proc, int32_t position, TPSError ex, std::string s,
                                std::exception_ptr newObject);

    // Forgets the recorded error.
    void ClearException() { StoreException(-1, -1, ErNoError, {}, nullptr); }

    TPSStatus Status() const { return FStatus; }
    // Whether the interpreter is on the call stack: a run, or a script procedure a host called, has
    // not returned yet (also while a host routine it called runs, or after a Stop inside it).
    bool InRun() const { return fRunDepth > 0; }
    TPSError ExceptionCode() const { return ExEx; }
    const std::string& ExceptionString() const { return ExParam; }
    int32_t ExceptionProcNo() const { return ExProc; }
    int32_t ExceptionPos() const { return ExPos; }
    std::exception_ptr ExceptionObject() const { return ExObject; }

    // The executor's own types: return address, Variant and array of Variant.
    const TPSTypeRec* ReturnAddressType() const { return FReturnAddressType.get(); }
    const TPSTypeRec* VariantType() const { return FVariantType.get(); }
    const TPSTypeRec* VariantArrayType() const { return FVariantArrayType.get(); }

    // ---- state (named as the engine's documentation names it)
    TPSOnGetNVariant FOnGetNVariant = nullptr;
    TPSOnSetNVariant FOnSetNVariant = nullptr;
    void* FId = nullptr;
    bool FJumpFlag = false;
    bool FCallCleanup = false;
    TPSOnException FOnException;
    TPSOnLineEvent FOnRunLine;

protected:
    friend class Loader;
    std::unique_ptr<TPSTypeRec> FReturnAddressType;
    std::unique_ptr<TPSTypeRec> FVariantType;
    std::unique_ptr<TPSTypeRec_Array> FVariantArrayType;
    std::vector<TPSRuntimeAttributeType> FAttributeTypes;
    struct Resource {
        TPSResourceFreeProc Proc;
        void* P;
    };
    std::vector<Resource> FResources;
    std::vector<TPSExportedVar> FExportedVars;
    std::vector<std::unique_ptr<TPSTypeRec>> FTypes;
    std::vector<std::unique_ptr<TPSProcRec>> FProcs;
    TPSStack FGlobalVars;
    TPSStack FTempVars;
    TPSStack FStack;
    uint32_t FMainProc = 0;
    TPSStatus FStatus = isNotLoaded;
    TPSInternalProcRec* FCurrProc = nullptr;
    const uint8_t* FData = nullptr;
    uint32_t FDataLength = 0;
    uint32_t FCurrentPosition = 0;
    int32_t FCurrStackBase = -1;
    std::vector<TSpecialProc> FSpecialProcList;
    std::vector<std::unique_ptr<TProcRec>> FRegProcs;
    std::vector<TPSExceptionHandler> FExceptionStack;
    std::unique_ptr<TPSTypeRec> FOwnPointerType;  // PointerType() when the container has none

    int32_t ExProc = -1;
    int32_t ExPos = -1;
    TPSError ExEx = ErNoError;
    std::string ExParam;
    std::exception_ptr ExObject;

    // Called before every instruction when OnRunLine is set or a derived executor asks for it.
    virtual void DoRunLine() {
        if (FOnRunLine) FOnRunLine(*this);
    }
    bool fWantsLineHook = false;
    // Lets a derived executor's hook skip the instructions where it has nothing to do. While
    // fLineHookFiltered is set, FOnRunLine is empty and fLineHookProc is the current procedure, the
    // hook runs only at the positions whose entry in fLineHookPositions is non-zero (at none when
    // there are none); in any other procedure it runs. Not filtered: before every instruction.
    bool fLineHookFiltered = false;
    const TPSProcRec* fLineHookProc = nullptr;
    const uint32_t* fLineHookPositions = nullptr;
    size_t fLineHookPositionCount = 0;
    bool LineHookDue() const {
        if (!fLineHookFiltered || FOnRunLine || FCurrProc != fLineHookProc) return true;
        return FCurrentPosition < fLineHookPositionCount && fLineHookPositions[FCurrentPosition] != 0;
    }
    // Calls a host method held in a procedure value (number 0) with the arguments on the stack.
    virtual bool CallMethodPointer(const ProcPtrValue& method, const TPSTypeRec* procType);

    // The positions of procedure p where a filtered line hook runs (see LineHookDue): a table by code
    // position whose non-zero entries mark them. Instructions are never run together across them.
    virtual std::span<const uint32_t> FilteredHookPositions(const TPSProcRec*) const { return {}; }
    // Every procedure decodes its code again before it next runs (the hook positions changed).
    void InvalidateDecodedCode();

    bool ReadOperand(TPSOperandRef& o, bool deref);
    bool CallHost(TPSExternalProcRec& p);
    // Calls a host routine, or enters a script procedure after pushing the return address.
    bool CallProc(TPSProcRec* p);

private:
    // The common operands (a variable, a constant decoded before) without recording errors; false
    // leaves the position for ReadOperand. Variables are followed to their target.
    bool QuickOperand(TPSOperandRef& o, bool deref = true);
    // As QuickOperand for the element and field operands.
    bool QuickElement(TPSOperandRef& o, bool deref);
    TPSVariant* QuickVariable(uint32_t number) const;
    bool ReadSource(TPSOperandRef& o);
    // An operand read the quickest way that serves it (recording the error when it fails).
    bool ReadPlace(TPSOperandRef& o, bool deref);
    bool ReadCode8(uint8_t& v);
    bool ReadCode32(uint32_t& v);
    // An operand that must be a variable (a constant records erInvalidOpcodeParameter).
    bool ReadDestination(TPSOperandRef& o, bool deref);
    bool ReadVariable(uint32_t number, TPSOperandRef& o);
    bool ReadConstant(uint32_t at, TPSOperandRef& o);
    bool QuickStep(uint8_t opcode);
    bool Step(uint8_t opcode, TPSStatus entryStatus);
    // One instruction from the bytes at FCurrentPosition; false when it failed (its error recorded).
    bool StepBytes(TPSStatus entryStatus);

    // ---- decoded code (run_decoded.cpp)
    // The decoded form of a script procedure's code, made on its first run.
    decoded::Code& DecodedCode(TPSInternalProcRec& p) {
        if (p.Decoded && p.Decoded->Generation() == fDecodeGeneration) [[likely]]
            return *p.Decoded;
        return DecodeAgain(p);
    }
    decoded::Code& DecodeAgain(TPSInternalProcRec& p);
    // Runs until the status is no longer running or an instruction fails, with the line hook or
    // without.
    void RunLoop(TPSStatus entryStatus, bool lineHook);
    template <bool Hooked>
    void RunDecoded(TPSStatus entryStatus);
    // The decoded instruction at the current procedure and position (`code` follows the procedure);
    // nil where the bytes are run.
    const decoded::Insn* Resync(decoded::Code*& code);
    TPSVariant* DecodedItem(const decoded::Var& v) const;
    // A decoded operand as ReadPlace reads it when nothing goes wrong; false, recording nothing,
    // otherwise.
    bool Resolve(const decoded::Operand& o, bool deref, TPSOperandRef& r) const;
    // The value of an operand an Integer form reads (decoded_code.h), in place, when it is of type
    // `Code` (a stack Pointer followed); nil otherwise.
    template <uint8_t Code>
    void* TypedPlace(const decoded::Operand& o) const;
    // The value of an operand a number form reads, in place, and its type's code (a stack Pointer
    // followed); nil when there is none.
    void* NumberPlace(const decoded::Operand& o, uint8_t& code) const;
    // Element and field operands of decoded code (decoded_access.h): the field or element an
    // operand of Shape::Element names, in place, and its type's code (a Pointer followed); nil
    // where there is none (a nil target, a position out of range, an index of no integer type).
    // SelectDecoded takes it without following a Pointer the field or element holds.
    void* ElementPlace(const decoded::Operand& o, uint8_t& code) const;
    bool SelectDecoded(const decoded::Operand& o, void*& data, const TPSTypeRec*& type) const;
    // The Int64, Double and Extended forms of numbers computed aside (decoded_code.h); false,
    // changing nothing, where the general form must run.
    bool TempExprInt64(const decoded::Insn& push) const;
    bool TempExprDouble(const decoded::Insn& push) const;
    bool TempExprExtended(const decoded::Insn& push) const;
    // For-loop steps and real expressions with operands resolved when decoded (run_decoded_arith.h).
    template <class Counter>
    const decoded::Insn* ForStep(const decoded::Insn& check) const;
    bool RealExprDirect(const decoded::Insn& push) const;
    bool DoReturn(TPSStatus entryStatus);
    bool DoPopFrame(uint8_t sub);
    bool DoPushFrame();
    bool DoSetPointerCopy();
    void EnterProc(TPSInternalProcRec* p, uint32_t position) {
        FCurrProc = p;
        FData = reinterpret_cast<const uint8_t*>(p->FData.data());
        FDataLength = p->FLength;
        FCurrentPosition = position;
    }
    // A push at `pushAt` found no room on the stack: when it sets up a local variable of a procedure
    // a script procedure called, the call is backed out and the caller stands after it again.
    void BackOutOfUnenteredCall(uint32_t pushAt);
    void JumpTo(uint32_t position) { FCurrentPosition = position; }
    // Frees the innermost frame, then raises the recorded error again or continues.
    bool LeaveFrame(bool endOfBlock);
    void ReraiseRecorded();
    bool PopChecked();

    uint32_t fDecodeGeneration = 0;  // decoded code of another generation is decoded again
    // Decoded code replaced while a run may still be inside it, kept until the runs are over.
    std::vector<std::unique_ptr<decoded::Code>> fRetiredCode;
    uint32_t fErrorSerial = 0;  // counts recorded errors
    int fRunDepth = 0;          // nesting of RunScript
    int fErrorDepth = 0;        // the RunScript nesting at which the last error unwound
    int fQuiet = 0;             // > 0: errors are recorded without unwinding or events
    mutable const TPSTypeRec* fPointerTypeInUse = nullptr;  // what PointerType() found, once looked up

    // Registers the built-in routine library (on creation and after ClearFunctionList).
    void RegisterStandardProcs();
    void FreeRegisteredProcs();
};

}  // namespace tv::script
