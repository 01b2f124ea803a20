#pragma once
// How values of each base type lie in memory, and reading and writing them at any address: fields of
// packed records need not be aligned, so every access copies the bytes (which compiles to a plain
// load or store) and objects with behaviour (variants) are moved in and out bit by bit.

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

#include "platform/rtl/ref_string.h"
#include "platform/rtl/variant.h"
#include "script/common/extended.h"

namespace tv {
class TObject;
}

namespace tv::script {

class TPSTypeRec;
class TPSInternalProcRec;

// Base type 0: where a call returns to.
struct ReturnAddressValue {
    TPSInternalProcRec* Proc;  // nil when the call came from the host
    uint32_t Position;
    int32_t StackBase;
};

// Base type 13: a reference to a value of another type, or a private copy of one (Owned non-zero).
struct PointerValue {
    void* Data;
    const TPSTypeRec* Type;
    intptr_t Owned;
};

// Base type 21: a script procedure by number, or (number 0) a host method: code and object.
struct ProcPtrValue {
    uint32_t ProcNo;
    uint32_t Reserved;
    void* Self;
    const void* Code;
};

// Base type 25: a host object, by its address and the serial number it was made with
// (object_handles.h), so that a reference to a freed object stays refused when a new object is made
// at the same address.
struct ObjectRefValue {
    TObject* Object;
    uint64_t Serial;
};

// A dynamic array value points at its first element; this header lies just before it.
struct DynArrayHeader {
    int32_t RefCount;  // negative: never freed
    int32_t Length;
};

template <class T>
inline T Load(const void* p) {
    static_assert(std::is_trivially_copyable_v<T>);
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
inline void Store(void* p, const T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(p, &v, sizeof v);
}

// The 10-byte extended real. On x86-64 the long double is that very format.
inline long double LoadExtended(const void* p) {
#if defined(__x86_64__) && defined(__GNUC__)
    // Read by the FPU straight from its ten bytes: a copy into a local first is written as two
    // stores that the ten-byte read cannot take from, and costs a stall on every real operation.
    long double v;
    asm("fldt %1" : "=t"(v) : "m"(*static_cast<const unsigned char(*)[10]>(p)));
    return v;
#endif
    if constexpr (std::numeric_limits<long double>::digits == 64) {
        long double v = 0;
        std::memcpy(&v, p, 10);
        return v;
    } else {
        return DecodeExtended(static_cast<const uint8_t*>(p));
    }
}

inline void StoreExtended(void* p, long double v) {
    if constexpr (std::numeric_limits<long double>::digits == 64) {
        std::memcpy(p, &v, 10);
    } else {
        const ExtendedBytes b = EncodeExtended(v);
        std::memcpy(p, b.data(), 10);
    }
}

// A value of class T stored bit by bit at an address of any alignment, taken into aligned storage
// for the time this object lives and written back when it goes. T must keep no pointers to itself.
template <class T>
class Borrowed {
public:
    explicit Borrowed(void* at) : fAt(at) { std::memcpy(fBuf, at, sizeof(T)); }
    ~Borrowed() { std::memcpy(fAt, fBuf, sizeof(T)); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    T& operator*() { return *std::launder(reinterpret_cast<T*>(fBuf)); }
    T* operator->() { return &**this; }

private:
    void* fAt;
    alignas(T) unsigned char fBuf[sizeof(T)];
};

// A counted copy of the variant stored at p.
inline Variant LoadVariant(const void* p) {
    alignas(Variant) unsigned char buf[sizeof(Variant)];
    std::memcpy(buf, p, sizeof(Variant));
    return *std::launder(reinterpret_cast<const Variant*>(buf));
}

// Replaces the variant stored at p.
inline void StoreVariant(void* p, Variant v) {
    Borrowed<Variant> slot(p);
    *slot = std::move(v);
}

inline void* LoadPtr(const void* p) {
    return Load<void*>(p);
}

// Dynamic-array blocks.
inline DynArrayHeader* ArrayHeader(void* elements) {
    return reinterpret_cast<DynArrayHeader*>(static_cast<char*>(elements) - sizeof(DynArrayHeader));
}

}  // namespace tv::script
