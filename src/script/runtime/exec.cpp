#include "script/runtime/exec.h"

#include <algorithm>

#include "script/common/names.h"
#include "script/runtime/value_ops.h"

namespace tv::script {

namespace {
constexpr std::string_view kAbout =
    "Tollvane script engine: runs compiled scripts (container builds 12 to 23)";
constexpr size_t kMaxRoutineName = 255;
}  // namespace

TPSExec::TPSExec() {
    FReturnAddressType = std::make_unique<TPSTypeRec>(this, btReturnAddress);
    FReturnAddressType->CalcSize();
    FVariantType = std::make_unique<TPSTypeRec>(this, btVariant);
    FVariantType->CalcSize();
    FVariantArrayType = std::make_unique<TPSTypeRec_Array>(this, btArray);
    FVariantArrayType->FArrayType = FVariantType.get();
    FVariantArrayType->CalcSize();
    FOwnPointerType = std::make_unique<TPSTypeRec>(this, btPointer);
    FOwnPointerType->CalcSize();
    RegisterStandardProcs();
}

TPSExec::~TPSExec() {
    Clear();
    FTempVars.Clear();
    FSpecialProcList.clear();
    FreeRegisteredProcs();
    FAttributeTypes.clear();
}

std::string TPSExec::About() const {
    return std::string(kAbout);
}

void TPSExec::Clear() {
    FExceptionStack.clear();
    fPointerTypeInUse = nullptr;
    for (auto it = FResources.rbegin(); it != FResources.rend(); ++it)
        if (it->Proc) it->Proc(*this, it->P);
    FResources.clear();
    FExportedVars.clear();
    FStack.Clear();
    FGlobalVars.Clear();
    // Attribute values may be of any loaded type: they go before the types themselves.
    FProcs.clear();
    for (auto& t : FTypes) t->FAttributes->FAttributes.clear();
    FTypes.clear();
    FStatus = isNotLoaded;
    FCurrProc = nullptr;
    FData = nullptr;
    FDataLength = 0;
    FCurrentPosition = 0;
    FCurrStackBase = -1;
}

void TPSExec::Cleanup() {
    if (FStatus != isLoaded) return;
    FStack.Clear();
    FTempVars.Clear();
    for (int32_t i = FGlobalVars.Count() - 1; i >= 0; --i) {
        TPSVariant* v = FGlobalVars.GetItem(i);
        if (v->FType->IsManaged()) FinalizeValue(v->Data(), v->FType);
        InitializeValue(v->Data(), v->FType);
    }
}

// ---- registries

TProcRec* TPSExec::RegisterFunctionName(std::string_view name, TPSProcPtr proc, void* ext1, void* ext2) {
    auto rec = std::make_unique<TProcRec>();
    rec->Name = AsciiUpperCase(name.substr(0, kMaxRoutineName));
    rec->Hash = HashName(rec->Name);
    rec->ProcPtr = proc;
    rec->Ext1 = ext1;
    rec->Ext2 = ext2;
    FRegProcs.push_back(std::move(rec));
    return FRegProcs.back().get();
}

void TPSExec::FreeRegisteredProcs() {
    for (auto& r : FRegProcs)
        if (r->FreeProc) r->FreeProc(*this, *r);
    FRegProcs.clear();
}

void TPSExec::ClearFunctionList() {
    FAttributeTypes.clear();
    FreeRegisteredProcs();
    RegisterStandardProcs();
}

void TPSExec::AddSpecialProcImport(std::string_view prefix, TPSOnSpecialProcImport p, void* tag,
                                   std::shared_ptr<void> owned) {
    FSpecialProcList.push_back({p, HashName(prefix), std::string(prefix), tag, std::move(owned)});
}

void TPSExec::ClearspecialProcImports() {
    while (!FSpecialProcList.empty()) FSpecialProcList.pop_back();
}

void* TPSExec::FindSpecialProcImport(TPSOnSpecialProcImport p) const {
    for (auto it = FSpecialProcList.rbegin(); it != FSpecialProcList.rend(); ++it)
        if (it->P == p) return it->tag;
    return nullptr;
}

void TPSExec::RegisterAttributeType(TPSAttributeUseProc useProc, std::string_view typeName) {
    FAttributeTypes.push_back({std::string(typeName), std::move(useProc), HashName(typeName)});
}

bool TPSExec::BindExternalProc(std::string_view name, TPSExternalProcRec& proc) {
    if (!name.empty()) {
        const uint32_t hash = HashName(name);
        for (auto it = FRegProcs.rbegin(); it != FRegProcs.rend(); ++it) {
            const TProcRec& r = **it;
            if (r.Hash == hash && r.Name == name) {
                // A typed routine reads its arguments where its own declaration puts them: a script
                // that declares it differently would have them read from the wrong places.
                if (!r.Signature.empty() && !proc.FDecl.empty() && proc.FDecl != r.Signature) return false;
                proc.FProcPtr = r.ProcPtr;
                proc.FExt1 = r.Ext1;
                proc.FExt2 = r.Ext2;
                return true;
            }
        }
        return false;
    }
    const size_t colon = proc.FDecl.find(':');
    const std::string_view prefix =
        colon == std::string::npos ? std::string_view() : std::string_view(proc.FDecl).substr(0, colon);
    const uint32_t hash = HashName(prefix);
    for (auto it = FSpecialProcList.rbegin(); it != FSpecialProcList.rend(); ++it) {
        if (!it->Name.empty() && (it->namehash != hash || it->Name != prefix)) continue;
        if (it->P && it->P(*this, proc, it->tag)) return true;
    }
    return false;
}

void TPSExec::AddResource(TPSResourceFreeProc proc, void* p) {
    FResources.push_back({proc, p});
}

void TPSExec::DeleteResource(void* p) {
    for (size_t i = FResources.size(); i-- > 0;)
        if (FResources[i].P == p) {
            FResources.erase(FResources.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void* TPSExec::FindProcResource(TPSResourceFreeProc proc) const {
    for (auto it = FResources.rbegin(); it != FResources.rend(); ++it)
        if (it->Proc == proc) return it->P;
    return nullptr;
}

void* TPSExec::FindProcResource2(TPSResourceFreeProc proc, int32_t& startAt) const {
    for (int32_t i = std::min(startAt, static_cast<int32_t>(FResources.size()) - 1); i >= 0; --i)
        if (FResources[static_cast<size_t>(i)].Proc == proc) {
            startAt = i - 1;
            return FResources[static_cast<size_t>(i)].P;
        }
    startAt = -1;
    return nullptr;
}

bool TPSExec::IsValidResource(TPSResourceFreeProc proc, void* p) const {
    for (const Resource& r : FResources)
        if (r.P == p) return r.Proc == proc;
    return false;
}

// ---- lookups

int32_t TPSExec::GetProc(std::string_view name) const {
    const std::string upper = AsciiUpperCase(name);
    const uint32_t hash = HashName(upper);
    for (size_t i = FProcs.size(); i-- > 0;) {
        const TPSProcRec* p = FProcs[i].get();
        if (p->IsExternal()) {
            if (static_cast<const TPSExternalProcRec*>(p)->FName == upper) return static_cast<int32_t>(i);
        } else {
            auto* ip = static_cast<const TPSInternalProcRec*>(p);
            if (ip->FExportNameHash == hash && ip->FExportName == upper) return static_cast<int32_t>(i);
        }
    }
    return -1;
}

int32_t TPSExec::GetType(std::string_view name) const {
    const std::string upper = AsciiUpperCase(name);
    const uint32_t hash = HashName(upper);
    for (size_t i = 0; i < FTypes.size(); ++i) {
        const TPSTypeRec* t = FTypes[i].get();
        if (!t->FExportName.empty() && t->FExportNameHash == hash && t->FExportName == upper)
            return static_cast<int32_t>(i);
    }
    return -1;
}

TPSTypeRec* TPSExec::FindType(uint32_t startAt, uint8_t baseType, uint32_t& l) const {
    for (size_t i = startAt; i < FTypes.size(); ++i)
        if (FTypes[i]->FBaseType == baseType) {
            l = static_cast<uint32_t>(i);
            return FTypes[i].get();
        }
    return nullptr;
}

TPSTypeRec* TPSExec::FindType2(uint8_t baseType) const {
    uint32_t l = 0;
    return FindType(0, baseType, l);
}

int32_t TPSExec::GetVar(std::string_view name) const {
    const std::string upper = AsciiUpperCase(name);
    const uint32_t hash = HashName(upper);
    for (size_t i = FExportedVars.size(); i-- > 0;)
        if (FExportedVars[i].FNameHash == hash && FExportedVars[i].FName == upper)
            return static_cast<int32_t>(i);
    return -1;
}

TPSVariant* TPSExec::GetVar2(std::string_view name) const {
    // The exported record's own variable number, not its position in the list of exported ones.
    const int32_t i = GetVar(name);
    return i < 0 ? nullptr : GetVarNo(FExportedVars[static_cast<size_t>(i)].FVarNo);
}

int32_t TPSExec::ProcNumber(const TPSProcRec* p) const {
    for (size_t i = FProcs.size(); i-- > 0;)
        if (FProcs[i].get() == p) return static_cast<int32_t>(i);
    return -1;
}

// ---- errors

void TPSExec::CMD_Err3(TPSError ec, std::string param, std::exception_ptr exObject) {
    const int32_t procNo = FCurrProc ? ProcNumber(FCurrProc) : -1;
    if (FOnException && fQuiet == 0)
        FOnException(*this, ec, param, exObject, static_cast<uint32_t>(procNo), FCurrentPosition);
    StoreException(procNo, static_cast<int32_t>(FCurrentPosition), ec, std::move(param), std::move(exObject));
}

}  // namespace tv::script
