#include "script/runtime/type_rec.h"

#include "script/runtime/attributes.h"
#include "script/runtime/raw_value.h"

namespace tv::script {

namespace {

// Sizes of the base types that have fixed sizes: in this process, and in the 32-bit layout.
struct BaseSize {
    uint32_t real;
    uint32_t script;
};

BaseSize SizeOfBase(uint8_t code) {
    switch (code) {
        case btReturnAddress:
            return {sizeof(ReturnAddressValue), 12};
        case btU8:
        case btS8:
        case btChar:
            return {1, 1};
        case btU16:
        case btS16:
        case btWideChar:
            return {2, 2};
        case btU32:
        case btS32:
        case btSingle:
            return {4, 4};
        case btDouble:
        case btS64:
        case btCurrency:
            return {8, 8};
        case btExtended:
            return {10, 10};
        case btString:
        case btArray:
        case btPChar:
        case btWideString:
        case btInterface:
        case btUnicodeString:
            return {sizeof(void*), 4};
        case btClass:
            return {sizeof(ObjectRefValue), 4};
        case btPointer:
            return {sizeof(PointerValue), 12};
        case btProcPtr:
            return {sizeof(ProcPtrValue), 12};
        case btVariant:
            return {sizeof(Variant), 16};
        default:
            return {0, 0};
    }
}

// Sizes beyond this are refused when a value is made (the container is then bad).
constexpr uint64_t kMaxValueSize = uint64_t{1} << 30;

uint32_t ClampSize(uint64_t n) {
    return n > kMaxValueSize ? static_cast<uint32_t>(kMaxValueSize + 1) : static_cast<uint32_t>(n);
}

}  // namespace

bool IsManagedBaseType(uint8_t code) {
    switch (code) {
        case btString:
        case btRecord:
        case btArray:
        case btPointer:
        case btPChar:  // holds its counted text, so that it never points at freed characters
        case btVariant:
        case btWideString:
        case btStaticArray:
        case btInterface:
        case btUnicodeString:
            return true;
        default:
            return false;
    }
}

TPSTypeRec::TPSTypeRec(TPSExec* owner, uint8_t baseType)
    : FBaseType(baseType), FAttributes(std::make_unique<TPSRuntimeAttributes>(owner)) {}

TPSTypeRec::~TPSTypeRec() = default;

void TPSTypeRec::CalcSize() {
    const BaseSize s = SizeOfBase(FBaseType);
    FRealSize = s.real;
    ScriptSize = s.script;
    fManaged = IsManagedBaseType(FBaseType);
}

void TPSTypeRec_Record::CalcSize() {
    uint64_t real = 0, script = 0;
    fManaged = false;
    FRealFieldOffsets.clear();
    for (const TPSTypeRec* f : FFieldTypes) {
        FRealFieldOffsets.push_back(ClampSize(real));
        real += f->FRealSize;
        script += f->ScriptSize;
        fManaged = fManaged || f->IsManaged();
    }
    FRealSize = ClampSize(real);
    ScriptSize = ClampSize(script);
}

void TPSTypeRec_Array::CalcSize() {
    TPSTypeRec::CalcSize();
}

void TPSTypeRec_StaticArray::CalcSize() {
    FRealSize = ClampSize(uint64_t{FArrayType->FRealSize} * FSize);
    ScriptSize = ClampSize(uint64_t{FArrayType->ScriptSize} * FSize);
    fManaged = FArrayType->IsManaged() && FSize > 0;
}

void TPSTypeRec_Set::CalcSize() {
    FByteSize = FBitSize / 8 + (FBitSize % 8 != 0 ? 1 : 0);
    FRealSize = ScriptSize = FByteSize;
    fManaged = false;
}

}  // namespace tv::script
