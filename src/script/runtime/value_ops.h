#pragma once
// The primitives every part of the runtime uses on values: making a value empty, releasing what it
// holds, copying values of one type, dynamic arrays (shared by count, copied when resized while
// shared), pointer values, heap values and bit sets.

#include <cstdint>

#include "script/runtime/raw_value.h"
#include "script/runtime/type_rec.h"

namespace tv::script {

// Puts the value at p into its empty state (zero, nil, empty string or variant).
void InitializeValue(void* p, const TPSTypeRec* t);
// Releases what the value holds (strings, array blocks, owned copies, variants, interfaces).
void FinalizeValue(void* p, const TPSTypeRec* t);
// Copies `count` consecutive values of type t; false for types that cannot be copied or when a
// copy fails (the values copied so far stay).
bool CopyValues(void* dest, const void* src, uint32_t count, const TPSTypeRec* t);
bool CopyRecordValue(void* dest, const void* src, const TPSTypeRec_Record* t);

// Dynamic arrays; both raise "Invalid array" for another type.
int32_t DynamicArrayLength(const void* value, const TPSTypeRec* t);
void ResizeDynamicArray(void* value, const TPSTypeRec* t, int32_t newLength);
// The address of element `index` (not checked) of an array value.
void* DynamicArrayData(const void* value);

// Makes the pointer value at `pointerValue` refer to `data` of type t, owning nothing.
void PointValueAt(void* pointerValue, void* data, const TPSTypeRec* t);

// A separately allocated, initialized value; Dispose finalizes and frees it (nil is ignored).
void* NewRawValue(const TPSTypeRec* t);
void DisposeRawValue(void* p, const TPSTypeRec* t);

// A heap value: its type followed by its data.
struct TPSVariant {
    const TPSTypeRec* FType;
    void* Data() { return reinterpret_cast<char*>(this) + sizeof(TPSVariant); }
};
TPSVariant* CreateHeapValue(const TPSTypeRec* t);
void DestroyHeapValue(TPSVariant* v);

// Bit sets of n bytes: ordinal k is bit k mod 8 of byte k div 8.
void UnionSetBits(uint8_t* dest, const uint8_t* src, uint32_t n);
void SubtractSetBits(uint8_t* dest, const uint8_t* src, uint32_t n);
void IntersectSetBits(uint8_t* dest, const uint8_t* src, uint32_t n);
bool IsSetBitsSubset(const uint8_t* a, const uint8_t* b, uint32_t n);
bool BytesEqual(const void* a, const void* b, uint32_t n);
inline bool IsBitSet(uint32_t ordinal, const uint8_t* set) {
    return (set[ordinal / 8] >> (ordinal % 8)) & 1u;
}

}  // namespace tv::script
