#include "script/runtime/value_ops.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/rtl/exception.h"
#include "script/runtime/errors.h"

namespace tv::script {

namespace {

// Largest dynamic-array block the runtime allocates.
constexpr uint64_t kMaxArrayBytes = uint64_t{1} << 31;

void* AllocateArrayBlock(int32_t length, uint32_t elemSize) {
    const uint64_t bytes = sizeof(DynArrayHeader) + uint64_t(length) * elemSize;
    if (bytes > kMaxArrayBytes) throw std::bad_alloc();
    auto* h = static_cast<DynArrayHeader*>(::operator new(static_cast<size_t>(bytes)));
    h->RefCount = 1;
    h->Length = length;
    return h + 1;
}

void FreeArrayBlock(void* elements) {
    ::operator delete(ArrayHeader(elements));
}

void FinalizeElements(char* first, uint32_t count, const TPSTypeRec* elem) {
    if (!elem->IsManaged()) return;
    for (uint32_t i = 0; i < count; ++i) FinalizeValue(first + uint64_t(i) * elem->FRealSize, elem);
}

void InitializeElements(char* first, uint32_t count, const TPSTypeRec* elem) {
    std::memset(first, 0, uint64_t(count) * elem->FRealSize);
}

// Drops one reference to the array block the value holds and leaves the value nil when it was the
// last one (a block with a negative count is never freed).
void ReleaseArray(void* value, const TPSTypeRec_Array* t) {
    void* elements = LoadPtr(value);
    if (!elements) return;
    DynArrayHeader* h = ArrayHeader(elements);
    if (h->RefCount < 0) return;
    if (--h->RefCount == 0) {
        FinalizeElements(static_cast<char*>(elements), static_cast<uint32_t>(h->Length), t->FArrayType);
        FreeArrayBlock(elements);
    }
    Store<void*>(value, nullptr);
}

bool CopyPointers(char* dest, const char* src, uint32_t count) {
    const auto firstDest = Load<PointerValue>(dest);
    const auto firstSrc = Load<PointerValue>(src);
    if (firstDest.Owned == 0 && firstSrc.Owned == 0) {
        for (uint32_t i = 0; i < count; ++i) {
            auto v = Load<PointerValue>(src + i * sizeof(PointerValue));
            v.Owned = 0;
            Store(dest + i * sizeof(PointerValue), v);
        }
        return true;
    }
    for (uint32_t i = 0; i < count; ++i) {
        char* d = dest + i * sizeof(PointerValue);
        const auto s = Load<PointerValue>(src + i * sizeof(PointerValue));
        auto old = Load<PointerValue>(d);
        if (old.Owned != 0 && old.Data) DisposeRawValue(old.Data, old.Type);
        if (!s.Data) {
            Store(d, PointerValue{nullptr, nullptr, 0});
        } else if (s.Owned != 0) {
            void* copy = NewRawValue(s.Type);
            Store(d, PointerValue{copy, s.Type, -1});
            if (!CopyValues(copy, s.Data, 1, s.Type)) return false;
        } else {
            Store(d, s);
        }
    }
    return true;
}

}  // namespace

void InitializeValue(void* p, const TPSTypeRec* t) {
    // Every empty value is all zero bits: zero numbers, nil references, empty strings and variants.
    std::memset(p, 0, t->FRealSize);
}

void FinalizeValue(void* p, const TPSTypeRec* t) {
    switch (t->FBaseType) {
        case btString:
        case btPChar:
            AnsiString::RawRelease(p);
            break;
        case btWideString:
        case btUnicodeString:
            UnicodeString::RawRelease(p);
            break;
        case btRecord: {
            auto* r = static_cast<const TPSTypeRec_Record*>(t);
            if (!r->IsManaged()) break;
            for (size_t i = 0; i < r->FFieldTypes.size(); ++i)
                if (r->FFieldTypes[i]->IsManaged())
                    FinalizeValue(static_cast<char*>(p) + r->FRealFieldOffsets[i], r->FFieldTypes[i]);
            break;
        }
        case btArray:
            ReleaseArray(p, static_cast<const TPSTypeRec_Array*>(t));
            break;
        case btPointer: {
            auto v = Load<PointerValue>(p);
            if (v.Owned != 0 && v.Data) {
                DisposeRawValue(v.Data, v.Type);
                v.Data = nullptr;
                Store(p, v);
            }
            break;
        }
        case btVariant: {
            Borrowed<Variant> v(p);
            v->Clear();
            break;
        }
        case btStaticArray: {
            auto* a = static_cast<const TPSTypeRec_StaticArray*>(t);
            FinalizeElements(static_cast<char*>(p), a->FSize, a->FArrayType);
            break;
        }
        case btInterface:
            if (auto* i = static_cast<IInterface*>(LoadPtr(p))) {
                Store<void*>(p, nullptr);
                i->Release();
            }
            break;
        default:
            break;
    }
}

bool CopyValues(void* destv, const void* srcv, uint32_t count, const TPSTypeRec* t) {
    auto* dest = static_cast<char*>(destv);
    auto* src = static_cast<const char*>(srcv);
    const uint32_t size = t->FRealSize;
    try {
        switch (t->FBaseType) {
            case btU8:
            case btS8:
            case btChar:
            case btU16:
            case btS16:
            case btWideChar:
            case btU32:
            case btS32:
            case btSingle:
            case btClass:
            case btDouble:
            case btS64:
            case btCurrency:
            case btExtended:
            case btProcPtr:
            case btSet:
                std::memmove(dest, src, uint64_t(count) * size);
                return true;
            case btString:
            case btPChar:
                for (uint32_t i = 0; i < count; ++i)
                    AnsiString::RawSet(dest + i * size, AnsiString::RawGet(src + i * size));
                return true;
            case btWideString:
            case btUnicodeString:
                for (uint32_t i = 0; i < count; ++i)
                    UnicodeString::RawSet(dest + i * size, UnicodeString::RawGet(src + i * size));
                return true;
            case btVariant:
                for (uint32_t i = 0; i < count; ++i)
                    StoreVariant(dest + i * size, LoadVariant(src + i * size));
                return true;
            case btInterface:
                for (uint32_t i = 0; i < count; ++i) {
                    auto* s = static_cast<IInterface*>(LoadPtr(src + i * size));
                    auto* old = static_cast<IInterface*>(LoadPtr(dest + i * size));
                    if (s) s->AddRef();
                    Store<void*>(dest + i * size, s);
                    if (old) old->Release();
                }
                return true;
            case btArray:
                for (uint32_t i = 0; i < count; ++i) {
                    void* s = LoadPtr(src + i * size);
                    if (s == LoadPtr(dest + i * size)) continue;
                    ReleaseArray(dest + i * size, static_cast<const TPSTypeRec_Array*>(t));
                    if (s && ArrayHeader(s)->RefCount >= 0) ++ArrayHeader(s)->RefCount;
                    Store<void*>(dest + i * size, s);
                }
                return true;
            case btRecord:
                for (uint32_t i = 0; i < count; ++i)
                    if (!CopyRecordValue(dest + i * size, src + i * size,
                                         static_cast<const TPSTypeRec_Record*>(t)))
                        return false;
                return true;
            case btStaticArray: {
                auto* a = static_cast<const TPSTypeRec_StaticArray*>(t);
                for (uint32_t i = 0; i < count; ++i)
                    if (!CopyValues(dest + i * size, src + i * size, a->FSize, a->FArrayType)) return false;
                return true;
            }
            case btPointer:
                return count == 0 || CopyPointers(dest, src, count);
            default:
                return false;
        }
    } catch (...) {
        return false;
    }
}

bool CopyRecordValue(void* dest, const void* src, const TPSTypeRec_Record* t) {
    for (size_t i = 0; i < t->FFieldTypes.size(); ++i) {
        const uint32_t off = t->FRealFieldOffsets[i];
        if (!CopyValues(static_cast<char*>(dest) + off, static_cast<const char*>(src) + off, 1,
                        t->FFieldTypes[i]))
            return false;
    }
    return true;
}

int32_t DynamicArrayLength(const void* value, const TPSTypeRec* t) {
    if (t->FBaseType != btArray) throw Exception(std::string(kInvalidArray));
    void* elements = LoadPtr(value);
    return elements ? ArrayHeader(elements)->Length : 0;
}

void* DynamicArrayData(const void* value) {
    return LoadPtr(value);
}

void ResizeDynamicArray(void* value, const TPSTypeRec* t, int32_t newLength) {
    if (t->FBaseType != btArray) throw Exception(std::string(kInvalidArray));
    auto* at = static_cast<const TPSTypeRec_Array*>(t);
    const TPSTypeRec* elem = at->FArrayType;
    const uint32_t elemSize = elem->FRealSize;
    void* elements = LoadPtr(value);
    const int32_t oldLength = elements ? ArrayHeader(elements)->Length : 0;
    if (newLength < 0) newLength = 0;
    if (oldLength == newLength) return;
    if (elements && ArrayHeader(elements)->RefCount == 1) {
        if (newLength < oldLength)
            FinalizeElements(static_cast<char*>(elements) + uint64_t(newLength) * elemSize,
                             static_cast<uint32_t>(oldLength - newLength), elem);
        if (newLength == 0) {
            FreeArrayBlock(elements);
            Store<void*>(value, nullptr);
            return;
        }
        const uint64_t bytes = sizeof(DynArrayHeader) + uint64_t(newLength) * elemSize;
        if (bytes > kMaxArrayBytes) throw std::bad_alloc();
        // Elements are moved bit by bit: a value keeps no pointers to its own storage.
        auto* grown = static_cast<DynArrayHeader*>(::operator new(static_cast<size_t>(bytes)));
        std::memcpy(grown, ArrayHeader(elements),
                    sizeof(DynArrayHeader) + uint64_t(std::min(oldLength, newLength)) * elemSize);
        ::operator delete(ArrayHeader(elements));
        grown->Length = newLength;
        elements = grown + 1;
        if (newLength > oldLength)
            InitializeElements(static_cast<char*>(elements) + uint64_t(oldLength) * elemSize,
                               static_cast<uint32_t>(newLength - oldLength), elem);
        Store<void*>(value, elements);
        return;
    }
    if (newLength == 0) {
        ReleaseArray(value, at);
        return;
    }
    void* fresh = AllocateArrayBlock(newLength, elemSize);
    InitializeElements(static_cast<char*>(fresh), static_cast<uint32_t>(newLength), elem);
    if (elements) {
        CopyValues(fresh, elements, static_cast<uint32_t>(std::min(oldLength, newLength)), elem);
        ReleaseArray(value, at);
    }
    Store<void*>(value, fresh);
}

void PointValueAt(void* pointerValue, void* data, const TPSTypeRec* t) {
    if (t && t->IsManaged()) {
        const auto old = Load<PointerValue>(pointerValue);
        if (old.Owned != 0 && old.Data) DisposeRawValue(old.Data, old.Type);
    }
    Store(pointerValue, PointerValue{data, t, 0});
}

void* NewRawValue(const TPSTypeRec* t) {
    void* p = ::operator new(std::max<uint32_t>(t->FRealSize, 1));
    InitializeValue(p, t);
    return p;
}

void DisposeRawValue(void* p, const TPSTypeRec* t) {
    if (!p) return;
    if (t->IsManaged()) FinalizeValue(p, t);
    ::operator delete(p);
}

TPSVariant* CreateHeapValue(const TPSTypeRec* t) {
    auto* v = static_cast<TPSVariant*>(::operator new(sizeof(TPSVariant) + t->FRealSize));
    v->FType = t;
    InitializeValue(v->Data(), t);
    return v;
}

void DestroyHeapValue(TPSVariant* v) {
    if (!v) return;
    if (v->FType->IsManaged()) FinalizeValue(v->Data(), v->FType);
    ::operator delete(v);
}

void UnionSetBits(uint8_t* dest, const uint8_t* src, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) dest[i] |= src[i];
}

void SubtractSetBits(uint8_t* dest, const uint8_t* src, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) dest[i] &= static_cast<uint8_t>(~src[i]);
}

void IntersectSetBits(uint8_t* dest, const uint8_t* src, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) dest[i] &= src[i];
}

bool IsSetBitsSubset(const uint8_t* a, const uint8_t* b, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i)
        if ((a[i] & b[i]) != a[i]) return false;
    return true;
}

bool BytesEqual(const void* a, const void* b, uint32_t n) {
    return std::memcmp(a, b, n) == 0;
}

}  // namespace tv::script
