// The operators of the interpreter: calculate in place, compare, in, is, as, and the unary
// operations. Integer results wrap at the left type's width; faults become recorded errors.

#include <cmath>

#include "platform/rtl/class_info.h"
#include "platform/rtl/math_error.h"
#include "platform/rtl/object_handles.h"
#include "script/runtime/arith_fault.h"
#include "script/runtime/class_registry.h"
#include "script/runtime/exec.h"
#include "script/runtime/quick_ops.h"
#include "script/runtime/value_access.h"
#include "script/runtime/variant_value.h"

namespace tv::script {

namespace {

[[noreturn]] void Mismatch() {
    throw Exception(std::string(kTypeMismatch));
}

// The integer operators on a 32- or 64-bit lane, faults raised. False for an operator the lane has
// no meaning for.
template <class T>
bool LaneOp(uint8_t op, T& a, T b) {
    bool known = false;
    CheckArith(quick::LaneOp<T>(op, a, b, known));
    return known;
}

// An 8- or 16-bit value T widened to its 32-bit lane, computed there and cut back.
template <class T, class Lane>
bool SmallLaneOp(uint8_t op, void* left, Lane right) {
    Lane a = Load<T>(left);
    if (!LaneOp<Lane>(op, a, right)) return false;
    Store<T>(left, static_cast<T>(a));
    return true;
}

TVarOp VariantOp(uint8_t op, const Variant& left) {
    switch (op) {
        case calcAdd:
            return TVarOp::Add;
        case calcSubtract:
            return TVarOp::Subtract;
        case calcMultiply:
            return TVarOp::Multiply;
        case calcDivide: {
            const uint16_t t = left.VarType();
            return t == varSingle || t == varDouble || t == varCurrency ? TVarOp::Divide : TVarOp::IntDivide;
        }
        case calcModulo:
            return TVarOp::Modulus;
        case calcShl:
            return TVarOp::Shl;
        case calcShr:
            return TVarOp::Shr;
        case calcAnd:
            return TVarOp::And;
        case calcOr:
            return TVarOp::Or;
        default:
            return TVarOp::Xor;
    }
}

bool IsArithmeticOp(uint8_t op) {
    return op <= calcDivide;
}

// A U32 or S32 left operand with any right operand.
bool Calc32(uint8_t op, void* left, const void* right, const TPSTypeRec* rt, bool isSigned) {
    if (op > calcModulo) {
        // shl shr and or xor read the right operand through the converting getters.
        if (isSigned) {
            int32_t a = Load<int32_t>(left);
            if (!LaneOp<int32_t>(op, a, GetValueAsInt(right, rt))) return false;
            Store(left, a);
        } else {
            uint32_t a = Load<uint32_t>(left);
            if (!LaneOp<uint32_t>(op, a, GetValueAsUInt(right, rt))) return false;
            Store(left, a);
        }
        return true;
    }
    Dereference(right, rt);
    if (rt->FBaseType == btVariant) {
        const Variant l = isSigned ? Variant(Load<int32_t>(left)) : Variant(Load<uint32_t>(left));
        const Variant r = Variant::BinaryOp(VariantOp(op, l), l, LoadVariant(right));
        Store<uint32_t>(left,
                        isSigned ? static_cast<uint32_t>(r.AsInteger()) : static_cast<uint32_t>(r.AsInt64()));
        return true;
    }
    int64_t rv = 0;
    if (!LoadInteger(right, rt->FBaseType, rv)) Mismatch();
    if (rt->FBaseType == btS64 && (op == calcDivide || op == calcModulo)) {
        // The 32-bit left widened to 64 bits, divided by the whole 64-bit value.
        int64_t a = isSigned ? int64_t{Load<int32_t>(left)} : int64_t{Load<uint32_t>(left)};
        LaneOp<int64_t>(op, a, rv);
        Store<uint32_t>(left, static_cast<uint32_t>(a));
        return true;
    }
    if (isSigned) {
        int32_t a = Load<int32_t>(left);
        LaneOp<int32_t>(op, a, static_cast<int32_t>(rv));
        Store(left, a);
    } else {
        uint32_t a = Load<uint32_t>(left);
        LaneOp<uint32_t>(op, a, static_cast<uint32_t>(rv));
        Store(left, a);
    }
    return true;
}

long double RealOp(uint8_t op, long double a, long double b) {
    long double r = 0;
    switch (op) {
        case calcAdd:
            CheckArith(RealAdd(a, b, r));
            break;
        case calcSubtract:
            CheckArith(RealSubtract(a, b, r));
            break;
        case calcMultiply:
            CheckArith(RealMultiply(a, b, r));
            break;
        default:
            CheckArith(RealDivide(a, b, r));
    }
    return r;
}

bool CalcReal(uint8_t op, void* left, const void* right, const TPSTypeRec* lt, const TPSTypeRec* rt) {
    if (!IsArithmeticOp(op)) return false;
    Dereference(right, rt);
    const long double a = GetValueAsReal(left, lt);
    long double r;
    if (rt->FBaseType == btVariant) {
        const Variant l(static_cast<double>(a));
        r = Variant::BinaryOp(VariantOp(op, l), l, LoadVariant(right)).AsExtended();
    } else {
        if (rt->FBaseType == btChar || rt->FBaseType == btWideChar) Mismatch();
        r = RealOp(op, a, GetValueAsReal(right, rt));
    }
    switch (lt->FBaseType) {
        case btSingle: {
            float f = 0;
            CheckArith(NarrowReal(r, f));
            Store(left, f);
            break;
        }
        case btDouble: {
            double d = 0;
            CheckArith(NarrowReal(r, d));
            Store(left, d);
            break;
        }
        default:
            StoreExtended(left, r);
    }
    return true;
}

int64_t RoundToCurrency(long double v) {
    int64_t raw = 0;
    CheckArith(RoundToInt64(v, raw));
    return raw;
}

bool CalcCurrency(uint8_t op, void* left, const void* right, const TPSTypeRec* rt) {
    if (!IsArithmeticOp(op)) return false;
    Dereference(right, rt);
    const int64_t raw = Load<int64_t>(left);
    const auto a = static_cast<long double>(raw);
    long double r = 0;
    if (rt->FBaseType == btVariant) {
        const Variant l = Variant::FromCurrency(raw);
        Store<int64_t>(left, Variant::BinaryOp(VariantOp(op, l), l, LoadVariant(right)).AsCurrency());
        return true;
    }
    if (rt->FBaseType == btCurrency) {
        const auto c = static_cast<long double>(Load<int64_t>(right));
        switch (op) {
            case calcAdd:
                r = a + c;
                break;
            case calcSubtract:
                r = a - c;
                break;
            case calcMultiply:
                r = a * c / kCurrencyScale;
                break;
            default:
                r = RealOp(calcDivide, a, c) * kCurrencyScale;
        }
    } else {
        if (rt->FBaseType == btChar || rt->FBaseType == btWideChar) Mismatch();
        const long double n = GetValueAsReal(right, rt);
        switch (op) {
            case calcAdd:
                r = a + n * kCurrencyScale;
                break;
            case calcSubtract:
                r = a - n * kCurrencyScale;
                break;
            case calcMultiply:
                r = a * n;
                break;
            default:
                r = RealOp(calcDivide, a, n);
        }
    }
    Store<int64_t>(left, RoundToCurrency(r));
    return true;
}

template <class S>
bool AppendText(uint8_t op, void* left, S text) {
    if (op != calcAdd) return false;
    using Str = std::remove_cvref_t<S>;
    Borrowed<Str> l(left);
    l->Append(text.view());
    return true;
}

}  // namespace

bool TPSExec::CalculateInPlace(void* left, const void* right, uint8_t op, const TPSTypeRec* rt,
                               const TPSTypeRec* lt) {
    if (op > calcAs) {
        CMD_Err(erInvalidOpcodeParameter);
        return false;
    }
    try {
        bool ok = false;
        switch (lt->FBaseType) {
            case btU8:
                ok = SmallLaneOp<uint8_t, uint32_t>(op, left, GetValueAsUInt(right, rt));
                break;
            case btU16:
                ok = SmallLaneOp<uint16_t, uint32_t>(op, left, GetValueAsUInt(right, rt));
                break;
            case btS8:
                ok = SmallLaneOp<int8_t, int32_t>(op, left, GetValueAsInt(right, rt));
                break;
            case btS16:
                ok = SmallLaneOp<int16_t, int32_t>(op, left, GetValueAsInt(right, rt));
                break;
            case btU32:
            case btS32:
                ok = Calc32(op, left, right, rt, lt->FBaseType == btS32);
                break;
            case btSingle:
            case btDouble:
            case btExtended:
                ok = CalcReal(op, left, right, lt, rt);
                break;
            case btCurrency:
                ok = CalcCurrency(op, left, right, rt);
                break;
            case btS64: {
                int64_t a = Load<int64_t>(left);
                ok = LaneOp<int64_t>(op, a, GetValueAsInt64(right, rt));
                if (ok) Store(left, a);
                break;
            }
            case btString:
            case btPChar:
                ok = AppendText(op, left, GetValueAsAnsiString(right, rt));
                break;
            case btWideString:
            case btUnicodeString:
                ok = AppendText(op, left, GetValueAsUnicodeString(right, rt));
                break;
            case btChar:
                ok = (op == calcAdd || op == calcSubtract) &&
                     SmallLaneOp<uint8_t, uint32_t>(op, left, GetValueAsUInt(right, rt));
                break;
            case btWideChar:
                ok = (op == calcAdd || op == calcSubtract) &&
                     SmallLaneOp<uint16_t, uint32_t>(op, left, GetValueAsUInt(right, rt));
                break;
            case btVariant: {
                if (op == calcAs) break;
                Variant r;
                if (!ValueToVariant(right, rt, r)) break;
                Borrowed<Variant> l(left);
                *l = Variant::BinaryOp(VariantOp(op, *l), *l, r);
                ok = true;
                break;
            }
            case btSet: {
                if (rt != lt || (op != calcAdd && op != calcSubtract && op != calcMultiply)) break;
                auto* l = static_cast<uint8_t*>(left);
                auto* r = static_cast<const uint8_t*>(right);
                const uint32_t n = static_cast<const TPSTypeRec_Set*>(lt)->FByteSize;
                if (op == calcAdd)
                    UnionSetBits(l, r, n);
                else if (op == calcSubtract)
                    SubtractSetBits(l, r, n);
                else
                    IntersectSetBits(l, r, n);
                ok = true;
                break;
            }
            case btClass: {
                if (op != calcAs || rt->FBaseType != btU32) break;
                const TPSTypeRec* target = GetTypeNo(Load<uint32_t>(right));
                ok = target && target->FBaseType == btClass &&
                     IsInstanceOfScriptClass(LiveObjectOf(left), target);
                break;
            }
            default:
                break;
        }
        if (!ok) CMD_Err(ErTypeMismatch);
        return ok;
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

namespace {

// -1, 0 or 1.
template <class T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// -1, 0 or 1 for two texts compared code by code: their difference is never taken for one of the
// marks 2 (unordered) and 3 (decided) below.
template <class View>
int TextOrder(View a, View b) {
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// The outcome of comparison operator op for an order c; false for an unknown operator.
bool FromOrder(uint8_t op, int c, bool& b) {
    switch (op) {
        case cmpGreaterEqual:
            b = c >= 0;
            return true;
        case cmpLessEqual:
            b = c <= 0;
            return true;
        case cmpGreater:
            b = c > 0;
            return true;
        case cmpLess:
            b = c < 0;
            return true;
        case cmpNotEqual:
            b = c != 0;
            return true;
        case cmpEqual:
            b = c == 0;
            return true;
        default:
            return false;
    }
}

bool IsEquality(uint8_t op) {
    return op == cmpEqual || op == cmpNotEqual;
}

int VariantOrder(const Variant& a, const Variant& b) {
    switch (Variant::Compare(a, b)) {
        case TVarCompare::Less:
            return -1;
        case TVarCompare::Greater:
            return 1;
        default:
            return 0;
    }
}

// The order of an S32 left against any right operand (right dereferenced).
int OrderS32(int32_t a, const void* right, const TPSTypeRec* rt, uint8_t op) {
    Dereference(right, rt);
    switch (rt->FBaseType) {
        case btSingle:
        case btDouble:
        case btExtended:
            return Order<long double>(a, GetValueAsReal(right, rt));
        case btVariant:
            return VariantOrder(Variant(a), LoadVariant(right));
        case btS64:
            return Order<int64_t>(a, Load<int64_t>(right));
        case btProcPtr:
            if (!IsEquality(op)) Mismatch();
            return Order<uint32_t>(static_cast<uint32_t>(a), Load<ProcPtrValue>(right).ProcNo);
        default: {
            int64_t v = 0;
            if (!LoadInteger(right, rt->FBaseType, v)) Mismatch();
            return Order<int32_t>(a, static_cast<int32_t>(v));
        }
    }
}

}  // namespace

bool TPSExec::CompareValues(const void* left, const void* right, void* dest, const TPSTypeRec* lt,
                            const TPSTypeRec* rt, const TPSTypeRec* dt, uint8_t op) {
    if (op > cmpIs) {
        CMD_Err(erInvalidOpcodeParameter);
        return false;
    }
    try {
        bool b = false;
        bool ok = true;
        if (op == cmpIn) {
            const void* r = right;
            const TPSTypeRec* t = rt;
            Dereference(r, t);
            if (t->FBaseType == btArray &&
                static_cast<const TPSTypeRec_Array*>(t)->FArrayType->FBaseType == btVariant) {
                b = VariantInArray(left, lt, r);
            } else if (t->FBaseType == btSet) {
                const uint32_t ordinal = GetValueAsUInt(left, lt);
                if (ordinal >= static_cast<const TPSTypeRec_Set*>(t)->FBitSize) {
                    CMD_Err(erOutofRecordRange);
                    return false;
                }
                b = IsBitSet(ordinal, static_cast<const uint8_t*>(r));
            } else {
                ok = false;
            }
        } else if (op == cmpIs) {
            const TPSTypeRec* target = rt->FBaseType == btU32 ? GetTypeNo(Load<uint32_t>(right)) : nullptr;
            ok = lt->FBaseType == btClass && target && target->FBaseType == btClass;
            if (ok) b = IsInstanceOfScriptClass(LiveObjectOf(left), target);
        } else {
            int c = 0;
            switch (lt->FBaseType) {
                case btU8: {
                    const TPSTypeRec* t = rt;
                    const void* r = right;
                    Dereference(r, t);
                    if (t->FBaseType == btString || t->FBaseType == btPChar) {
                        const char ch = Load<char>(left);
                        c = TextOrder(std::string_view(&ch, 1), GetValueAsAnsiString(right, rt).view());
                    } else {
                        c = Order<uint32_t>(Load<uint8_t>(left), GetValueAsUInt(right, rt));
                    }
                    break;
                }
                case btS8:
                case btS16:
                    c = Order<int32_t>(GetValueAsInt(left, lt), GetValueAsInt(right, rt));
                    break;
                case btU16:
                case btU32:
                    c = Order<uint32_t>(GetValueAsUInt(left, lt), GetValueAsUInt(right, rt));
                    break;
                case btS32:
                    c = OrderS32(Load<int32_t>(left), right, rt, op);
                    break;
                case btSingle:
                case btDouble:
                case btExtended: {
                    const long double a = GetValueAsReal(left, lt), r = GetValueAsReal(right, rt);
                    c = a < r ? -1 : (a > r ? 1 : (a == r ? 0 : 2));  // 2: unordered (NaN)
                    break;
                }
                case btCurrency:
                    c = Order<int64_t>(Load<int64_t>(left), GetValueAsCurrency(right, rt));
                    break;
                case btS64:
                    c = Order<int64_t>(Load<int64_t>(left), GetValueAsInt64(right, rt));
                    break;
                case btString:
                case btPChar:
                case btChar:
                    c = TextOrder(GetValueAsAnsiString(left, lt).view(),
                                  GetValueAsAnsiString(right, rt).view());
                    break;
                case btWideString:
                case btWideChar:
                case btUnicodeString:
                    c = TextOrder(GetValueAsUnicodeString(left, lt).view(),
                                  GetValueAsUnicodeString(right, rt).view());
                    break;
                case btVariant: {
                    Variant r;
                    if (!ValueToVariant(right, rt, r)) {
                        ok = false;
                        break;
                    }
                    c = VariantOrder(LoadVariant(left), r);
                    break;
                }
                case btSet: {
                    const uint32_t n = static_cast<const TPSTypeRec_Set*>(lt)->FByteSize;
                    auto* l = static_cast<const uint8_t*>(left);
                    auto* r = static_cast<const uint8_t*>(right);
                    if (rt != lt || op == cmpGreater || op == cmpLess)
                        ok = false;
                    else if (op == cmpGreaterEqual)
                        b = IsSetBitsSubset(r, l, n);
                    else if (op == cmpLessEqual)
                        b = IsSetBitsSubset(l, r, n);
                    else
                        b = BytesEqual(l, r, n) == (op == cmpEqual);
                    c = 3;  // decided above
                    break;
                }
                case btRecord:
                    ok = rt == lt && IsEquality(op);
                    if (ok) b = BytesEqual(left, right, lt->FRealSize) == (op == cmpEqual);
                    c = 3;
                    break;
                case btProcPtr: {
                    ok = rt->FBaseType == btProcPtr && IsEquality(op);
                    if (!ok) break;
                    const auto l = Load<ProcPtrValue>(left), r = Load<ProcPtrValue>(right);
                    const bool eq = l.ProcNo != 0 || r.ProcNo != 0 ? l.ProcNo == r.ProcNo
                                                                   : l.Self == r.Self && l.Code == r.Code;
                    b = eq == (op == cmpEqual);
                    c = 3;
                    break;
                }
                case btClass: {
                    // The same object: the same address made with the same serial number.
                    ok = rt->FBaseType == btClass && IsEquality(op);
                    if (!ok) break;
                    const auto l = Load<ObjectRefValue>(left), r = Load<ObjectRefValue>(right);
                    b = (l.Object == r.Object && l.Serial == r.Serial) == (op == cmpEqual);
                    c = 3;
                    break;
                }
                case btInterface:
                    ok = rt->FBaseType == btInterface && IsEquality(op);
                    if (ok) b = (LoadPtr(left) == LoadPtr(right)) == (op == cmpEqual);
                    c = 3;
                    break;
                default:
                    ok = false;
            }
            if (ok && c != 3) {
                if (c == 2)
                    b = op == cmpNotEqual;  // NaN compares unequal to everything
                else
                    FromOrder(op, c < 0 ? -1 : (c > 0 ? 1 : 0), b);
            }
        }
        if (!ok) {
            CMD_Err(ErTypeMismatch);
            return false;
        }
        return StoreBooleanResult(b, dest, dt);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

bool TPSExec::StoreBooleanResult(bool b, void* dest, const TPSTypeRec* dt) {
    switch (dt->FBaseType) {
        case btU8:
        case btS8:
            Store<uint8_t>(dest, b ? 1 : 0);
            return true;
        case btU16:
        case btS16:
            Store<uint16_t>(dest, b ? 1 : 0);
            return true;
        case btU32:
        case btS32:
            Store<uint32_t>(dest, b ? 1 : 0);
            return true;
        case btVariant:
            StoreVariant(dest, Variant(b));
            return true;
        default:
            CMD_Err(ErTypeMismatch);
            return false;
    }
}

bool TPSExec::IsInstanceOfScriptClass(const TObject* obj, const TPSTypeRec* classType) {
    if (!obj || !classType || classType->FBaseType != btClass) return false;
    try {
        for (auto it = FSpecialProcList.rbegin(); it != FSpecialProcList.rend(); ++it) {
            if (it->Name != kClassImporterName || !it->tag) continue;
            const auto* registry = static_cast<const TPSClassRegistry*>(it->tag);
            const TClassInfo* cls =
                registry->FindHostClass(static_cast<const TPSTypeRec_Class*>(classType)->FCN);
            return cls && TObjectHandles::IsLive(obj) && cls->IsInstance(obj);
        }
    } catch (...) {
    }
    return false;
}

bool TPSExec::VariantInArray(const void* value, const TPSTypeRec* t, const void* array) {
    Variant v;
    if (!ValueToVariant(value, t, v)) Mismatch();
    void* elements = DynamicArrayData(array);
    const int32_t n = elements ? ArrayHeader(elements)->Length : 0;
    for (int32_t i = 0; i < n; ++i)
        if (Variant::Compare(v, LoadVariant(static_cast<char*>(elements) + int64_t{i} * sizeof(Variant))) ==
            TVarCompare::Equal)
            return true;
    return false;
}

namespace {

// Applies f<T> to the value at p when its type is an integer of up to 64 bits (T unsigned, of the
// type's width); false for other types.
template <class F>
bool OnInteger(uint8_t code, void* p, F f) {
    switch (code) {
        case btU8:
        case btS8:
            f.template operator()<uint8_t>(p);
            return true;
        case btU16:
        case btS16:
            f.template operator()<uint16_t>(p);
            return true;
        case btU32:
        case btS32:
            f.template operator()<uint32_t>(p);
            return true;
        case btS64:
            f.template operator()<uint64_t>(p);
            return true;
        default:
            return false;
    }
}

}  // namespace

bool TPSExec::NegateValue(void* p, const TPSTypeRec* t) {
    try {
        if (OnInteger(t->FBaseType, p,
                      []<class T>(void* v) { Store<T>(v, static_cast<T>(T{0} - Load<T>(v))); }))
            return true;
        switch (t->FBaseType) {
            case btCurrency:
                Store<uint64_t>(p, uint64_t{0} - Load<uint64_t>(p));
                return true;
            case btSingle:
                Store<float>(p, -Load<float>(p));
                return true;
            case btDouble:
                Store<double>(p, -Load<double>(p));
                return true;
            case btExtended:
                StoreExtended(p, -LoadExtended(p));
                return true;
            case btVariant: {
                Borrowed<Variant> v(p);
                *v = v->Negate();
                return true;
            }
            default:
                break;
        }
    } catch (...) {
    }
    CMD_Err(ErTypeMismatch);
    return false;
}

bool TPSExec::LogicalNot(void* p, const TPSTypeRec* t) {
    try {
        // Int64 keeps 1 or 0 in its low word, as the integers of other widths do.
        if (OnInteger(t->FBaseType, p,
                      []<class T>(void* v) { Store<T>(v, static_cast<T>(Load<T>(v) == 0 ? 1 : 0)); }))
            return true;
        if (t->FBaseType == btVariant) {
            Borrowed<Variant> v(p);
            *v = Variant(Variant::Compare(*v, Variant(int32_t{0})) == TVarCompare::Equal);
            return true;
        }
    } catch (...) {
    }
    CMD_Err(ErTypeMismatch);
    return false;
}

bool TPSExec::BitwiseNot(void* p, const TPSTypeRec* t) {
    try {
        if (OnInteger(t->FBaseType, p, []<class T>(void* v) { Store<T>(v, static_cast<T>(~Load<T>(v))); }))
            return true;
        if (t->FBaseType == btVariant) {
            Borrowed<Variant> v(p);
            *v = v->Not();
            return true;
        }
    } catch (...) {
    }
    CMD_Err(ErTypeMismatch);
    return false;
}

}  // namespace tv::script
