#pragma once
// The executor of compiled scripts: loads a container (binding every host routine it declares),
// holds the loaded types, procedures and global variables, the registries of host routines, special
// importers, attribute types and resources, and the last recorded run-time error.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/variant.h"
#include "script/runtime/attributes.h"
#include "script/runtime/errors.h"
#include "script/runtime/proc_rec.h"
#include "script/runtime/stack.h"
#include "script/runtime/type_rec.h"

namespace tv::script {

using TPSFreeProc = void (*)(TPSExec& caller, struct TProcRec& p);

// A registered host routine.
struct TProcRec {
    std::string Name;  // upper case, at most 255 characters
    uint32_t Hash = 0;
    TPSProcPtr ProcPtr = nullptr;
    TPSFreeProc FreeProc = nullptr;
    void* Ext1 = nullptr;
    void* Ext2 = nullptr;
};

// A special importer: binds host routines whose declaration starts with its prefix ("class",
// "intf"); answers false when it cannot.
using TPSOnSpecialProcImport = bool (*)(TPSExec& sender, TPSExternalProcRec& p, void* tag);

struct TSpecialProc {
    TPSOnSpecialProcImport P = nullptr;
    uint32_t namehash = 0;
    std::string Name;
    void* tag = nullptr;
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
    void AddSpecialProcImport(std::string_view prefix, TPSOnSpecialProcImport p, void* tag);
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

    // ---- errors
    // Records an error at the current place and unwinds to the innermost frame that handles it.
    void CMD_Err(TPSError ec) { CMD_Err3(ec, {}, nullptr); }
    void CMD_Err2(TPSError ec, std::string param) { CMD_Err3(ec, std::move(param), nullptr); }
    void CMD_Err3(TPSError ec, std::string param, std::exception_ptr exObject);
    virtual void StoreException(int32_t proc, int32_t position, TPSError ex, std::string s,
                                std::exception_ptr newObject);

    TPSStatus Status() const { return FStatus; }
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
    std::vector<TPSAttributeType> FAttributeTypes;
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

    int32_t ExProc = -1;
    int32_t ExPos = -1;
    TPSError ExEx = ErNoError;
    std::string ExParam;
    std::exception_ptr ExObject;

private:
    // Registers the built-in routine library (on creation and after ClearFunctionList).
    void RegisterStandardProcs();
    void FreeRegisteredProcs();
};

}  // namespace tv::script
