#pragma once
// The interpreter's quick forms of assignment, arithmetic and comparison for the common type pairs,
// computed exactly as the full rules (assign.cpp, operators.cpp) compute them. Each answers false,
// changing nothing, for any other pair and for anything that would fault; the instruction then goes
// the full way, which records the error.

#include "script/common/arith.h"
#include "script/runtime/raw_value.h"
#include "script/runtime/value_access.h"

namespace tv::script::quick {

// Integer types read as integers by every rule (the character types are left to the full rules).
inline bool LoadInt(const void* p, uint8_t code, int64_t& v) {
    return code != btChar && code != btWideChar && LoadInteger(p, code, v);
}

// A value of a real or integer type as the real the operators compute with.
inline bool LoadReal(const void* p, uint8_t code, long double& v) {
    switch (code) {
        case btSingle:
            v = Load<float>(p);
            return true;
        case btDouble:
            v = Load<double>(p);
            return true;
        case btExtended:
            v = LoadExtended(p);
            return true;
        default: {
            int64_t i = 0;
            if (!LoadInt(p, code, i)) return false;
            v = static_cast<long double>(i);
            return true;
        }
    }
}

inline bool IsFloatCode(uint8_t c) {
    return c == btSingle || c == btDouble || c == btExtended;
}

// The types whose values are counted strings.
inline bool IsStringCode(uint8_t c) {
    return c == btString || c == btPChar || c == btWideString || c == btUnicodeString;
}

// The field or element `index` of the record, dynamic array or static array at `data` of type
// `type`, in place of both; false, changing nothing, for an index out of range or another type.
[[gnu::always_inline]] inline bool SelectElement(void*& data, const TPSTypeRec*& type, uint32_t index) {
    switch (type->FBaseType) {
        case btRecord: {
            auto* rt = static_cast<const TPSTypeRec_Record*>(type);
            if (index >= rt->FFieldTypes.size()) return false;
            data = static_cast<char*>(data) + rt->FRealFieldOffsets[index];
            type = rt->FFieldTypes[index];
            return true;
        }
        case btArray: {
            auto* elements = static_cast<char*>(LoadPtr(data));
            if (!elements || index >= static_cast<uint32_t>(ArrayHeader(elements)->Length)) return false;
            const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(type)->FArrayType;
            data = elements + uint64_t{index} * elem->FRealSize;
            type = elem;
            return true;
        }
        case btStaticArray: {
            auto* at = static_cast<const TPSTypeRec_StaticArray*>(type);
            if (index >= at->FSize) return false;
            data = static_cast<char*>(data) + uint64_t{index} * at->FArrayType->FRealSize;
            type = at->FArrayType;
            return true;
        }
        default:
            return false;
    }
}

// Copies a scalar of 1 to 10 bytes.
inline void CopyPlain(void* dest, const void* src, uint32_t size) {
    switch (size) {
        case 1:
            Store(dest, Load<uint8_t>(src));
            break;
        case 2:
            Store(dest, Load<uint16_t>(src));
            break;
        case 4:
            Store(dest, Load<uint32_t>(src));
            break;
        case 8:
            Store(dest, Load<uint64_t>(src));
            break;
        default:
            std::memcpy(dest, src, size);
    }
}

// dest := src for numbers of the same type, integers into integers of up to 32 bits (cut to the
// destination's width) and into Int64, numbers into reals, strings of the same kind (shared) and
// object references.
inline bool Assign(void* dest, uint8_t dt, const void* src, uint8_t st) {
    if (dt == st && dt != btProcPtr) {
        if (const uint32_t size = FixedConstantSize(dt)) {
            CopyPlain(dest, src, size);
            return true;
        }
    }
    switch (dt) {
        case btU8:
        case btS8:
        case btU16:
        case btS16:
        case btWideChar:
        case btU32:
        case btS32: {
            int64_t v = 0;
            if (!LoadInt(src, st, v)) return false;
            const uint32_t size = FixedConstantSize(dt);
            if (size == 1)
                Store(dest, static_cast<uint8_t>(v));
            else if (size == 2)
                Store(dest, static_cast<uint16_t>(v));
            else
                Store(dest, static_cast<uint32_t>(v));
            return true;
        }
        case btS64: {
            int64_t v = 0;
            if (!LoadInt(src, st, v)) return false;
            Store(dest, v);
            return true;
        }
        case btSingle:
        case btDouble:
        case btExtended: {
            long double v = 0;
            return LoadReal(src, st, v) && StoreReal(dest, dt, v);
        }
        case btString:
        case btPChar:
            if (st != btString && st != btPChar) return false;
            AnsiString::RawSet(dest, AnsiString::RawGet(src));
            return true;
        case btWideString:
        case btUnicodeString:
            if (st != btWideString && st != btUnicodeString) return false;
            UnicodeString::RawSet(dest, UnicodeString::RawGet(src));
            return true;
        case btClass:  // a reference: object and serial number, nothing counted
            if (st != btClass) return false;
            Store(dest, Load<ObjectRefValue>(src));
            return true;
        default:
            return false;
    }
}

// The integer operators on a 32- or 64-bit lane: the fault of a division (a unchanged then), else
// None; `known` false for an operator the lane has no meaning for.
template <class T>
[[gnu::always_inline]] inline ArithFault LaneOp(uint8_t op, T& a, T b, bool& known) {
    known = true;
    switch (op) {
        case calcAdd:
            a = WrapAdd(a, b);
            break;
        case calcSubtract:
            a = WrapSubtract(a, b);
            break;
        case calcMultiply:
            a = WrapMultiply(a, b);
            break;
        case calcDivide:
            return DivideTruncated(a, b, a);
        case calcModulo:
            return Remainder(a, b, a);
        case calcShl:
            if constexpr (sizeof(T) == 4)
                a = static_cast<T>(ShiftLeft32(static_cast<uint32_t>(a), static_cast<uint32_t>(b)));
            else
                a = static_cast<T>(ShiftLeft64(static_cast<uint64_t>(a), static_cast<uint64_t>(b)));
            break;
        case calcShr:
            if constexpr (sizeof(T) == 4)
                a = static_cast<T>(ShiftRight32(static_cast<uint32_t>(a), static_cast<uint32_t>(b)));
            else
                a = static_cast<T>(ShiftRight64(static_cast<uint64_t>(a), static_cast<uint64_t>(b)));
            break;
        case calcAnd:
            a &= b;
            break;
        case calcOr:
            a |= b;
            break;
        case calcXor:
            a ^= b;
            break;
        default:
            known = false;
    }
    return ArithFault::None;
}

// The Integer operators without faults; false for a faulting division or an unknown operator.
inline bool LaneOp32(uint8_t op, int32_t& a, int32_t b) {
    bool known = false;
    return LaneOp<int32_t>(op, a, b, known) == ArithFault::None && known;
}

// The real operators on extended values: a op= b; false, a unchanged, on a fault or for another
// operator.
[[gnu::always_inline]] inline bool RealLaneOp(uint8_t op, long double& a, long double b) {
    long double r = 0;
    ArithFault f;
    switch (op) {
        case calcAdd:
            f = RealAdd(a, b, r);
            break;
        case calcSubtract:
            f = RealSubtract(a, b, r);
            break;
        case calcMultiply:
            f = RealMultiply(a, b, r);
            break;
        case calcDivide:
            f = RealDivide(a, b, r);
            break;
        default:
            return false;
    }
    if (f != ArithFault::None) return false;
    a = r;
    return true;
}

// left op= b for a real left of type lt: computed in extended precision, then narrowed to the
// left's type; false, changing nothing, for another left or operator, or on a fault.
[[gnu::always_inline]] inline bool CalculateRealBy(uint8_t op, void* left, uint8_t lt, long double b) {
    long double r = 0;
    if (!IsFloatCode(lt) || !LoadReal(left, lt, r) || !RealLaneOp(op, r, b)) return false;
    if (lt == btSingle) {
        float x = 0;
        if (NarrowReal(r, x) != ArithFault::None) return false;
        Store(left, x);
    } else if (lt == btDouble) {
        double x = 0;
        if (NarrowReal(r, x) != ArithFault::None) return false;
        Store(left, x);
    } else {
        StoreExtended(left, r);
    }
    return true;
}

// left op= right for an Integer left and an integer right of up to 32 bits, an Int64 left and any
// integer right, and for a real left and a real or integer right (computed in extended precision,
// then narrowed to the left's type).
inline bool Calculate(uint8_t op, void* left, uint8_t lt, const void* right, uint8_t rt) {
    if (lt == btS32) {
        int64_t v = 0;
        if (rt == btS64 || !LoadInt(right, rt, v)) return false;
        int32_t a = Load<int32_t>(left);
        if (!LaneOp32(op, a, static_cast<int32_t>(v))) return false;
        Store(left, a);
        return true;
    }
    if (lt == btS64) {
        int64_t v = 0;
        if (!LoadInt(right, rt, v)) return false;
        int64_t a = Load<int64_t>(left);
        bool known = false;
        if (LaneOp<int64_t>(op, a, v, known) != ArithFault::None || !known) return false;
        Store(left, a);
        return true;
    }
    long double b = 0;
    return IsFloatCode(lt) && LoadReal(right, rt, b) && CalculateRealBy(op, left, lt, b);
}

// The outcome of comparison operator op (one of the six orders) for an order c of -1, 0 or 1, or 2
// for unordered reals, which only "<>" holds for.
[[gnu::always_inline]] inline bool FromOrder(uint8_t op, int c) {
    if (c == 2) return op == cmpNotEqual;
    switch (op) {
        case cmpGreaterEqual:
            return c >= 0;
        case cmpLessEqual:
            return c <= 0;
        case cmpGreater:
            return c > 0;
        case cmpLess:
            return c < 0;
        case cmpNotEqual:
            return c != 0;
        default:
            return c == 0;
    }
}

template <class T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The order of left and right for an Integer against an integer of up to 32 bits, an Int64 against
// any integer, a Boolean or byte against an integer, reals and integers against reals, and two
// strings of the same kind.
inline bool Compare(const void* left, uint8_t lt, const void* right, uint8_t rt, int& c) {
    int64_t v = 0;
    switch (lt) {
        case btS32:
            if (rt == btS64 || !LoadInt(right, rt, v)) break;
            c = Order<int32_t>(Load<int32_t>(left), static_cast<int32_t>(v));
            return true;
        case btS64:
            if (!LoadInt(right, rt, v)) break;
            c = Order<int64_t>(Load<int64_t>(left), v);
            return true;
        case btU8:
            if (!LoadInt(right, rt, v)) break;
            c = Order<uint32_t>(Load<uint8_t>(left), static_cast<uint32_t>(v));
            return true;
        case btString:
            if (rt != btString) break;
            c = Order(AnsiString::RawGet(left).view().compare(AnsiString::RawGet(right).view()), 0);
            return true;
        case btUnicodeString:
            if (rt != btUnicodeString) break;
            c = Order(UnicodeString::RawGet(left).view().compare(UnicodeString::RawGet(right).view()), 0);
            return true;
        default:
            break;
    }
    if (!IsFloatCode(lt)) return false;
    long double a = 0, b = 0;
    if (!LoadReal(left, lt, a) || !LoadReal(right, rt, b)) return false;
    c = a < b ? -1 : (a > b ? 1 : (a == b ? 0 : 2));
    return true;
}

}  // namespace tv::script::quick
