// The interpreter's loop over decoded code (decoded_code.h). Each handler does its instruction the
// quick way when the operands allow it, computing exactly what the full rules compute, and changes
// nothing otherwise: the instruction then runs from the bytes (Step), which records any error at
// the position the byte code gives. The line hook runs before an instruction exactly as the byte
// loop runs it.

#include "platform/rtl/codepage.h"
#include "platform/rtl/exception.h"
#include "script/runtime/decoded_access.h"
#include "script/runtime/decoded_code.h"
#include "script/runtime/exec.h"
#include "script/runtime/quick_ops.h"

namespace tv::script {

using decoded::Insn;

namespace {

// Follows a Pointer operand to its target; false for a nil target.
[[gnu::always_inline]] inline bool FollowPointer(TPSOperandRef& o) {
    return decoded::FollowTarget(o.Data, o.Type);
}

bool IsAnsiCode(uint8_t c) {
    return c == btString || c == btPChar;
}
bool IsWideCode(uint8_t c) {
    return c == btWideString || c == btUnicodeString;
}

// dest := b (dest of base type dt, a variable) the quick way; false, changing nothing, otherwise.
// Numbers of one type are copied here; everything else goes through quick::Assign.
[[gnu::always_inline]] inline bool AssignQuick(void* dest, uint8_t dt, const TPSOperandRef& b) {
    const uint8_t st = b.Type->FBaseType;
    if (dt == st) {
        switch (dt) {
            case btS32:
            case btU32:
                Store(dest, Load<uint32_t>(b.Data));
                return true;
            case btS64:
            case btDouble:
                Store(dest, Load<uint64_t>(b.Data));
                return true;
            default:
                break;
        }
    } else if (dt == btS64 && st == btS32) {
        Store(dest, int64_t{Load<int32_t>(b.Data)});
        return true;
    } else if (dt == btDouble && (st == btS32 || st == btS64)) {
        // As the full rules convert: the integer exactly to an extended real, that rounded.
        const int64_t v = st == btS32 ? Load<int32_t>(b.Data) : Load<int64_t>(b.Data);
        Store(dest, static_cast<double>(static_cast<long double>(v)));
        return true;
    }
    // A string from a constant gets characters of its own: the full way.
    return !(b.Temp && quick::IsStringCode(dt)) && quick::Assign(dest, dt, b.Data, st);
}

// left op= b (left of base type lt) the quick way; false, changing nothing, otherwise. Integer and
// Int64 lefts with the common rights are computed here, the rest by quick::Calculate.
[[gnu::always_inline]] inline bool CalculateQuick(uint8_t op, void* left, uint8_t lt, const TPSOperandRef& b) {
    const uint8_t rt = b.Type->FBaseType;
    if (lt == btS32 && rt == btS32) {
        int32_t x = Load<int32_t>(left);
        if (!quick::LaneOp32(op, x, Load<int32_t>(b.Data))) return false;
        Store(left, x);
        return true;
    }
    if (lt == btS64 && (rt == btS64 || rt == btS32)) {
        int64_t x = Load<int64_t>(left);
        const int64_t y = rt == btS64 ? Load<int64_t>(b.Data) : Load<int32_t>(b.Data);
        bool known = false;
        if (quick::LaneOp<int64_t>(op, x, y, known) != ArithFault::None || !known) return false;
        Store(left, x);
        return true;
    }
    if (lt == btDouble && (rt == btDouble || rt == btS32)) {
        const long double y = rt == btDouble ? Load<double>(b.Data) : Load<int32_t>(b.Data);
        return quick::CalculateRealBy(op, left, lt, y);
    }
    return quick::Calculate(op, left, lt, b.Data, rt);
}

// The outcome of comparison op (one of the six orders) of b and c the quick way; false for a pair
// quick::Compare does not take.
[[gnu::always_inline]] inline bool CompareQuick(uint8_t op, const TPSOperandRef& b, const TPSOperandRef& c,
                                                bool& result) {
    const uint8_t bt = b.Type->FBaseType, ct = c.Type->FBaseType;
    if (bt == btS32 && ct == btS32) {
        result = quick::FromOrder(op, quick::Order(Load<int32_t>(b.Data), Load<int32_t>(c.Data)));
        return true;
    }
    if (bt == btS64 && (ct == btS64 || ct == btS32)) {
        const int64_t y = ct == btS64 ? Load<int64_t>(c.Data) : Load<int32_t>(c.Data);
        result = quick::FromOrder(op, quick::Order(Load<int64_t>(b.Data), y));
        return true;
    }
    int order = 0;
    if (!quick::Compare(b.Data, bt, c.Data, ct, order)) return false;
    result = quick::FromOrder(op, order);
    return true;
}

// s := s + text for a string s of kind S: in place when nothing else holds s's characters.
template <class S>
void AppendTo(void* s, typename S::View text) {
    Borrowed<S> target(s);
    target->Append(text);
}

}  // namespace

void TPSExec::InvalidateDecodedCode() {
    ++fDecodeGeneration;
}

decoded::Code& TPSExec::DecodeAgain(TPSInternalProcRec& p) {
    // A run further out may still be inside the old code: it stays until the runs are over.
    if (p.Decoded) fRetiredCode.push_back(std::move(p.Decoded));
    p.Decoded = std::make_unique<decoded::Code>(*this, p, FilteredHookPositions(&p), fDecodeGeneration);
    return *p.Decoded;
}

[[gnu::always_inline]] inline TPSVariant* TPSExec::DecodedItem(const decoded::Var& v) const {
    return v.Item ? v.Item : FStack.ItemAt(FCurrStackBase, v.Offset);
}

// An operand as ReadPlace reads it when nothing goes wrong; false (nothing recorded) otherwise.
[[gnu::always_inline]] inline bool TPSExec::Resolve(const decoded::Operand& o, bool deref,
                                                    TPSOperandRef& r) const {
    // Tested in the order of how often they come, constants and globals first, so that adding a
    // shape costs the common ones nothing.
    if (o.How == decoded::Shape::Direct) {
        r = {o.Data, o.Type, o.Temp};
        return true;
    }
    if (o.How == decoded::Shape::Stack) {
        // A local variable or parameter, read in place in the frame.
        TPSVariant* item = FStack.ItemAt(FCurrStackBase, o.Base.Offset);
        if (!item) return false;
        r = {item->Data(), item->FType, false};
        return !deref || FollowPointer(r);
    }
    if (o.How == decoded::Shape::Element) {
        // A field or element: the variable followed to its target, then the field or element
        // taken.
        void* data = nullptr;
        const TPSTypeRec* type = nullptr;
        if (!SelectDecoded(o, data, type)) return false;
        r = {data, type, o.Temp};
        return !deref || FollowPointer(r);
    }
    TPSVariant* item = DecodedItem(o.Base);
    if (!item) return false;
    r = {item->Data(), item->FType, o.Temp};
    return !deref || FollowPointer(r);
}

namespace {

// NumberPlace for an operand of Shape::Stack, its shape not tested again.
[[gnu::always_inline]] inline void* StackItemPlace(const TPSStack& stack, int32_t base, const decoded::Operand& o,
                                                   uint8_t& code) {
    TPSVariant* item = stack.ItemAt(base, o.Base.Offset);
    if (!item) return nullptr;
    const TPSTypeRec* t = item->FType;
    void* data = item->Data();
    if (!decoded::FollowTarget(data, t)) return nullptr;
    code = t->FBaseType;
    return data;
}

}  // namespace

template <uint8_t Code>
[[gnu::always_inline]] inline void* TPSExec::TypedPlace(const decoded::Operand& o) const {
    if (o.How == decoded::Shape::Direct) return o.Data;  // of that type, seen when decoded
    uint8_t code = 0;
    void* data = NumberPlace(o, code);
    return data && code == Code ? data : nullptr;
}

[[gnu::always_inline]] inline void* TPSExec::NumberPlace(const decoded::Operand& o, uint8_t& code) const {
    if (o.How == decoded::Shape::Direct) {
        code = o.Type->FBaseType;
        return o.Data;
    }
    if (o.How == decoded::Shape::Stack) return StackItemPlace(FStack, FCurrStackBase, o, code);
    return ElementPlace(o, code);
}

namespace {

// An Integer or Int64 value as an Int64; false for any other type.
[[gnu::always_inline]] inline bool LoadInt64(const void* p, uint8_t code, int64_t& v) {
    if (code == btS64) {
        v = Load<int64_t>(p);
        return true;
    }
    if (code != btS32) return false;
    v = Load<int32_t>(p);
    return true;
}

// An Integer, Int64 or Double value as the real the operators compute with; false for any other.
[[gnu::always_inline]] inline bool LoadNumber(const void* p, uint8_t code, long double& v) {
    if (code == btDouble) {
        v = Load<double>(p);
        return true;
    }
    int64_t i = 0;
    if (!LoadInt64(p, code, i)) return false;
    v = static_cast<long double>(i);
    return true;
}

}  // namespace

// push Int64; temp := x; temp op= y ...; z := temp (or z op= temp); pop, the temporary held in a
// register and every operand an Integer or Int64 read in place, computed as CalculateQuick does.
bool TPSExec::TempExprInt64(const Insn& push) const {
    const Insn& copy = (&push)[1];
    const Insn& use = (&push)[push.GroupSize - 2];
    if (FCurrStackBase + int64_t{copy.A.Base.Offset} != FStack.Count() || !FStack.Fits(push.Type)) return false;
    uint8_t code = 0;
    const void* y = NumberPlace(copy.B, code);
    int64_t acc = 0, v = 0;
    if (!y || !LoadInt64(y, code, acc)) return false;
    bool known = false;
    for (const Insn* step = &push + 2; step != &use; ++step) {
        if (!(y = NumberPlace(step->B, code)) || !LoadInt64(y, code, v) ||
            quick::LaneOp<int64_t>(step->Op, acc, v, known) != ArithFault::None || !known)
            return false;
    }
    void* const z = NumberPlace(use.A, code);
    if (!z || code != btS64) return false;
    if (use.Opcode != opAssign) {
        v = Load<int64_t>(z);
        if (quick::LaneOp<int64_t>(use.Op, v, acc, known) != ArithFault::None || !known) return false;
        acc = v;
    }
    Store(z, acc);
    return true;
}

// The same with a Double temporary: each step computed in extended precision and narrowed to a
// Double again, as the temporary's eight bytes would hold it.
bool TPSExec::TempExprDouble(const Insn& push) const {
    const Insn& copy = (&push)[1];
    const Insn& use = (&push)[push.GroupSize - 2];
    if (FCurrStackBase + int64_t{copy.A.Base.Offset} != FStack.Count() || !FStack.Fits(push.Type)) return false;
    uint8_t code = 0;
    const void* y = NumberPlace(copy.B, code);
    long double v = 0;
    if (!y || !LoadNumber(y, code, v)) return false;
    // A Double is copied as it stands (its bits kept), an integer converted.
    double acc = code == btDouble ? Load<double>(y) : static_cast<double>(v);
    for (const Insn* step = &push + 2; step != &use; ++step) {
        if (!(y = NumberPlace(step->B, code)) || !LoadNumber(y, code, v) ||
            !quick::CalculateRealBy(step->Op, &acc, btDouble, v))
            return false;
    }
    void* const z = NumberPlace(use.A, code);
    if (!z || code != btDouble) return false;
    if (use.Opcode == opAssign)
        Store(z, acc);
    else if (!quick::CalculateRealBy(use.Op, z, btDouble, acc))
        return false;
    return true;
}

// The same with an Extended temporary, held as the long double its ten bytes would hold: operands
// of any real or integer type, the result stored into a real variable as the general form does.
bool TPSExec::TempExprExtended(const Insn& push) const {
    const Insn& copy = (&push)[1];
    const Insn& use = (&push)[push.GroupSize - 2];
    if (FCurrStackBase + int64_t{copy.A.Base.Offset} != FStack.Count() || !FStack.Fits(push.Type)) return false;
    uint8_t code = 0;
    const void* y = NumberPlace(copy.B, code);
    long double acc = 0, v = 0;
    if (!y || !quick::LoadReal(y, code, acc)) return false;
    for (const Insn* step = &push + 2; step != &use; ++step) {
        if (!(y = NumberPlace(step->B, code)) || !quick::LoadReal(y, code, v) || !quick::RealLaneOp(step->Op, acc, v))
            return false;
    }
    void* const z = NumberPlace(use.A, code);
    if (!z) return false;
    return use.Opcode == opAssign ? StoreReal(z, code, acc) : quick::CalculateRealBy(use.Op, z, code, acc);
}

}  // namespace tv::script

#include "script/runtime/run_decoded_arith.h"

namespace tv::script {

const Insn* TPSExec::Resync(decoded::Code*& code) {
    if (!FCurrProc) return nullptr;
    if (!code || &code->Proc() != FCurrProc || code->Generation() != fDecodeGeneration)
        code = &DecodedCode(*FCurrProc);
    return code->At(FCurrentPosition);
}

void TPSExec::RunLoop(TPSStatus entryStatus, bool lineHook) {
    if (lineHook)
        RunDecoded<true>(entryStatus);
    else
        RunDecoded<false>(entryStatus);
}

// Runs until the status is no longer running or an instruction fails.
template <bool Hooked>
void TPSExec::RunDecoded(TPSStatus entryStatus) {
    decoded::Code* code = nullptr;
    const Insn* ip = Resync(code);
    // Whether instructions may run together: always without the hook; with it only while it runs
    // at the positions of its table alone.
    bool fuse = !Hooked;
    for (;;) {
        if constexpr (Hooked) {
            // In the procedure whose hook runs only at the positions of its table, an instruction
            // the table does not mark goes on at once (its code decoded for that very table).
            const bool unmarked = ip && !ip->HookHere && fLineHookFiltered && !FOnRunLine &&
                                  FCurrProc == fLineHookProc && code->Generation() == fDecodeGeneration;
            if (!unmarked) {
                if (ip) FCurrentPosition = ip->Pos;
                if (LineHookDue()) {
                    // The hook may record an error (it unwinds then) or stop the run.
                    const uint32_t before = fErrorSerial;
                    const uint32_t pos = FCurrentPosition;
                    const TPSInternalProcRec* proc = FCurrProc;
                    try {
                        DoRunLine();
                    } catch (...) {
                        HandleException(std::current_exception());
                    }
                    if (FStatus != isRunning) return;
                    if (fErrorSerial != before) {
                        ip = Resync(code);
                        continue;
                    }
                    if (FCurrentPosition != pos || FCurrProc != proc) ip = Resync(code);
                }
            }
            fuse = unmarked || (fLineHookFiltered && !FOnRunLine && FCurrProc == fLineHookProc);
        }
        if (!ip) goto bytes;
        {
            decoded::Handler h = fuse ? ip->Fast : ip->Code;
            TPSOperandRef a, b, c;
        dispatch:
            switch (h) {
                case decoded::hAssign:
                    if (!Resolve(ip->A, true, a) || a.Temp || !Resolve(ip->B, true, b) ||
                        !AssignQuick(a.Data, a.Type->FBaseType, b))
                        break;
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                case decoded::hCalculate:
                    if (!Resolve(ip->A, true, a) || a.Temp || !Resolve(ip->B, true, b) ||
                        !CalculateQuick(ip->Op, a.Data, a.Type->FBaseType, b))
                        break;
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                case decoded::hAssignInt: {
                    void* const x = TypedPlace<btS32>(ip->A);
                    const void* const y = x ? TypedPlace<btS32>(ip->B) : nullptr;
                    if (!y) {
                        h = decoded::IntegerGeneral(h);
                        goto dispatch;
                    }
                    Store(x, Load<int32_t>(y));
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hCalculateInt: {
                    void* const x = TypedPlace<btS32>(ip->A);
                    const void* const y = x ? TypedPlace<btS32>(ip->B) : nullptr;
                    int32_t v = y ? Load<int32_t>(x) : 0;
                    if (!y || !quick::LaneOp32(ip->Op, v, Load<int32_t>(y))) {
                        h = decoded::IntegerGeneral(h);
                        goto dispatch;
                    }
                    Store(x, v);
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hCompareInt:
                case decoded::hCompareJumpInt: {
                    void* const dest = TypedPlace<btU8>(ip->A);
                    const void* const x = dest ? TypedPlace<btS32>(ip->B) : nullptr;
                    const void* const y = x ? TypedPlace<btS32>(ip->C) : nullptr;
                    if (!y) {
                        h = decoded::IntegerGeneral(h);
                        goto dispatch;
                    }
                    const bool result = quick::FromOrder(ip->Op, quick::Order(Load<int32_t>(x), Load<int32_t>(y)));
                    Store<uint8_t>(dest, result ? 1 : 0);
                    if (h == decoded::hCompareInt) {
                        ip = fuse ? ip->FastNext : ip + 1;
                        continue;
                    }
                    const Insn* jump = ip->GroupNext;
                    ip = result == (jump->Code == decoded::hJumpIfNotZero) ? jump->Target : jump + 1;
                    continue;
                }
                case decoded::hIncrementInt:
                case decoded::hDecrementInt: {
                    void* const x = TypedPlace<btS32>(ip->A);
                    if (!x) {
                        h = decoded::IntegerGeneral(h);
                        goto dispatch;
                    }
                    Store<uint32_t>(x, Load<uint32_t>(x) + (h == decoded::hIncrementInt ? 1u : 0xFFFFFFFFu));
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hTempExprInt: {
                    // hTempExpr with an Integer temporary and Integer operands: the temporary held
                    // in a register, every operand read in place.
                    const Insn& copy = ip[1];
                    const Insn& use = ip[ip->GroupSize - 2];
                    const void* y = nullptr;
                    void* z = nullptr;
                    bool ok = FCurrStackBase + int64_t{copy.A.Base.Offset} == FStack.Count() && FStack.Fits(ip->Type) &&
                              (y = TypedPlace<btS32>(copy.B)) != nullptr;
                    int32_t acc = ok ? Load<int32_t>(y) : 0;
                    for (const Insn* step = ip + 2; ok && step != &use; ++step)
                        ok = (y = TypedPlace<btS32>(step->B)) != nullptr && quick::LaneOp32(step->Op, acc, Load<int32_t>(y));
                    ok = ok && (z = TypedPlace<btS32>(use.A)) != nullptr;
                    if (ok && use.Opcode != opAssign) {
                        int32_t v = Load<int32_t>(z);
                        ok = quick::LaneOp32(use.Op, v, acc);
                        acc = v;
                    }
                    if (!ok) {
                        h = decoded::IntegerGeneral(h);
                        goto dispatch;
                    }
                    Store(z, acc);
                    ip = ip->GroupNext;
                    continue;
                }
                case decoded::hTempExprInt64:
                case decoded::hTempExprDouble:
                case decoded::hTempExprExtended:
                    if (!(h == decoded::hTempExprInt64    ? TempExprInt64(*ip)
                          : h == decoded::hTempExprDouble ? TempExprDouble(*ip)
                                                          : TempExprExtended(*ip))) {
                        h = decoded::IntegerGeneral(h);
                        goto dispatch;
                    }
                    ip = ip->GroupNext;
                    continue;
                case decoded::hForStepInt:
                case decoded::hForStepInt64:
                    if (const Insn* next = h == decoded::hForStepInt ? ForStep<int32_t>(*ip) : ForStep<int64_t>(*ip)) {
                        ip = next;
                        continue;
                    }
                    h = ip->Code;
                    goto dispatch;
                case decoded::hRealExprDirect:
                    if (!RealExprDirect(*ip)) {
                        h = decoded::hTempExpr;
                        goto dispatch;
                    }
                    ip = ip->GroupNext;
                    continue;
                case decoded::hTempExpr: {
                    // push T; temp := x; temp op= y ...; z := temp (or z op= temp); pop. The temporary
                    // is held here when it is the item the push makes; anything the quick way cannot
                    // do runs the instructions one by one from the push, nothing having changed.
                    const Insn& copy = ip[1];
                    const Insn& use = ip[ip->GroupSize - 2];
                    const TPSTypeRec* t = ip->Type;
                    const uint8_t tt = t->FBaseType;
                    bool ok = FCurrStackBase + int64_t{copy.A.Base.Offset} == FStack.Count() && FStack.Fits(t) &&
                              Resolve(copy.B, true, b);
                    if (tt == btExtended) {
                        // An Extended temporary is held as a long double, the very value its ten
                        // bytes would hold, so that no step stores it and reads it back.
                        long double acc = 0, y = 0;
                        ok = ok && quick::LoadReal(b.Data, b.Type->FBaseType, acc);
                        for (const Insn* step = ip + 2; ok && step != &use; ++step)
                            ok = Resolve(step->B, true, b) && quick::LoadReal(b.Data, b.Type->FBaseType, y) &&
                                 quick::RealLaneOp(step->Op, acc, y);
                        ok = ok && Resolve(use.A, true, a) && !a.Temp &&
                             (use.Code == decoded::hAssign ? StoreReal(a.Data, a.Type->FBaseType, acc)
                                                           : quick::CalculateRealBy(use.Op, a.Data, a.Type->FBaseType, acc));
                    } else {
                        alignas(16) unsigned char temp[decoded::kTempBytes] = {};
                        ok = ok && AssignQuick(temp, tt, b);
                        for (const Insn* step = ip + 2; ok && step != &use; ++step)
                            ok = Resolve(step->B, true, b) && CalculateQuick(step->Op, temp, tt, b);
                        const TPSOperandRef result{temp, t, false};
                        ok = ok && Resolve(use.A, true, a) && !a.Temp &&
                             (use.Code == decoded::hAssign ? AssignQuick(a.Data, a.Type->FBaseType, result)
                                                           : CalculateQuick(use.Op, a.Data, a.Type->FBaseType, result));
                    }
                    if (!ok) {
                        h = ip->Code;
                        goto dispatch;
                    }
                    ip = ip->GroupNext;
                    continue;
                }
                case decoded::hCompare:
                case decoded::hCompareJump: {
                    const uint8_t op = ip->Op;
                    bool result = false;
                    if (op > cmpEqual || !Resolve(ip->A, true, a) || a.Temp || a.Type->FBaseType != btU8 ||
                        !Resolve(ip->B, true, b) || !Resolve(ip->C, true, c) || !CompareQuick(op, b, c, result)) {
                        if (h == decoded::hCompare) break;
                        h = ip->Code;
                        goto dispatch;
                    }
                    Store<uint8_t>(a.Data, result ? 1 : 0);
                    if (h == decoded::hCompare) {
                        ip = fuse ? ip->FastNext : ip + 1;
                        continue;
                    }
                    // The jump that follows reads the Boolean just stored.
                    const Insn* jump = ip->GroupNext;
                    ip = result == (jump->Code == decoded::hJumpIfNotZero) ? jump->Target : jump + 1;
                    continue;
                }
                case decoded::hCompareFlag: {
                    // push B; B := x cmp y; flag from B; pop; jump if the flag: the comparison sets
                    // the flag as the Boolean would, which is never made. Anything else runs the
                    // instructions one by one from the push, nothing having changed.
                    const Insn& compare = ip[1];
                    bool result = false;
                    if (FCurrStackBase + int64_t{compare.A.Base.Offset} != FStack.Count() || !FStack.Fits(ip->Type) ||
                        !Resolve(compare.B, true, b) || !Resolve(compare.C, true, c) ||
                        !CompareQuick(compare.Op, b, c, result)) {
                        h = ip->Code;
                        goto dispatch;
                    }
                    FJumpFlag = result != (ip[2].Op != 0);
                    const Insn* jump = ip + 4;
                    ip = FJumpFlag ? jump->Target : jump + 1;
                    continue;
                }
                case decoded::hPushReference: {
                    const TPSTypeRec* pt = PointerType();
                    if (!Resolve(ip->A, true, a) || a.Temp) break;
                    TPSVariant* item = FStack.TryPushType(pt);
                    if (!item) break;
                    Store(item->Data(), PointerValue{a.Data, a.Type, 0});
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hPop: {
                    const TPSVariant* top = FStack.Top();
                    if (!top || top->FType == FReturnAddressType.get()) break;
                    FStack.Pop();
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hCall: {
                    TPSVariant* ret = FStack.TryPushType(FReturnAddressType.get());
                    if (!ret) break;
                    Store(ret->Data(), ReturnAddressValue{FCurrProc, ip->End, FCurrStackBase});
                    FCurrStackBase = FStack.Count() - 1;
                    auto* p = static_cast<TPSInternalProcRec*>(ip->Proc);
                    EnterProc(p, 0);
                    code = &DecodedCode(*p);
                    ip = code->First();
                    continue;
                }
                case decoded::hCallHost: {
                    // As from the bytes: the position after the call while the routine runs, and an
                    // error recorded for a routine that failed without saying why.
                    FCurrentPosition = ip->End;
                    const uint32_t serial = fErrorSerial;
                    if (!CallHost(*static_cast<TPSExternalProcRec*>(ip->Proc))) {
                        if (fErrorSerial == serial) CMD_Err(ErInternalError);
                        return;
                    }
                    if (FStatus != isRunning) return;
                    // The routine may have run script code, moved the position or decoded anew.
                    const Insn* next = ip + 1;
                    if (FCurrProc == &code->Proc() && FCurrentPosition == next->Pos &&
                        code->Generation() == fDecodeGeneration) [[likely]]
                        ip = next;
                    else
                        ip = Resync(code);
                    continue;
                }
                case decoded::hReturn: {
                    // Back to the script procedure that called, when no exception frame of this
                    // procedure waits for the return and the main procedure is not ending.
                    if (!FExceptionStack.empty()) {
                        const TPSExceptionHandler& f = FExceptionStack.back();
                        if (f.CurrProc && f.BasePtr >= FCurrStackBase) break;
                    }
                    if (FCurrStackBase < 0) break;
                    // Popping again on the full way changes nothing.
                    FStack.PopTo(FCurrStackBase + 1);
                    TPSVariant* ret = FStack.GetItem(FCurrStackBase);
                    if (!ret || ret != FStack.Top() || ret->FType != FReturnAddressType.get()) break;
                    const auto r = Load<ReturnAddressValue>(ret->Data());
                    if (!r.Proc) break;
                    FStack.Pop();
                    FCurrStackBase = r.StackBase;
                    EnterProc(r.Proc, r.Position);
                    code = &DecodedCode(*r.Proc);
                    ip = code->At(r.Position);
                    if (!ip) goto bytes;
                    continue;
                }
                case decoded::hJump:
                    ip = ip->Target;
                    continue;
                case decoded::hJumpIfZero:
                case decoded::hJumpIfNotZero: {
                    int64_t v = 0;
                    if (!Resolve(ip->A, true, a) || !IsNarrowIntegerCode(a.Type->FBaseType)) break;
                    LoadInteger(a.Data, a.Type->FBaseType, v);
                    ip = (v != 0) == (h == decoded::hJumpIfNotZero) ? ip->Target : ip + 1;
                    continue;
                }
                case decoded::hJumpIfFlag:
                    ip = FJumpFlag ? ip->Target : ip + 1;
                    continue;
                case decoded::hSetFlag: {
                    int64_t v = 0;
                    if (!Resolve(ip->A, true, a) || !IsNarrowIntegerCode(a.Type->FBaseType)) break;
                    LoadInteger(a.Data, a.Type->FBaseType, v);
                    FJumpFlag = (v != 0) != (ip->Op != 0);
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hPushNew:
                    if (!FStack.TryPushType(ip->Type)) break;
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                case decoded::hSetPointer: {
                    if (!Resolve(ip->A, false, a) || a.Temp || a.Type->FBaseType != btPointer ||
                        !Resolve(ip->B, false, b) || b.Temp || !FollowPointer(b))
                        break;
                    // A copy the pointer owns is released the full way.
                    if (const auto p = Load<PointerValue>(a.Data); p.Owned != 0 && p.Data) break;
                    Store(a.Data, PointerValue{b.Data, b.Type, 0});
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hIncrement:
                case decoded::hDecrement: {
                    if (!Resolve(ip->A, true, a) || a.Temp) break;
                    const uint64_t delta = h == decoded::hIncrement ? 1 : ~uint64_t{0};
                    switch (a.Type->FBaseType) {
                        case btU8:
                        case btS8:
                            Store<uint8_t>(a.Data, static_cast<uint8_t>(Load<uint8_t>(a.Data) + delta));
                            break;
                        case btU16:
                        case btS16:
                            Store<uint16_t>(a.Data, static_cast<uint16_t>(Load<uint16_t>(a.Data) + delta));
                            break;
                        case btU32:
                        case btS32:
                            Store<uint32_t>(a.Data, static_cast<uint32_t>(Load<uint32_t>(a.Data) + delta));
                            break;
                        case btS64:
                            Store<uint64_t>(a.Data, Load<uint64_t>(a.Data) + delta);
                            break;
                        default:
                            goto bytes;
                    }
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                }
                case decoded::hNop:
                    ip = fuse ? ip->FastNext : ip + 1;
                    continue;
                case decoded::hElementPointer: {
                    // push P; P := X; then P := P[k], or push I; I := n; P := P[I]; pop, each step
                    // following a Pointer it reaches as the one-by-one way does. P is pushed at the
                    // end, pointing where the steps led; the index temporaries are never made.
                    // Anything the quick way cannot do runs the instructions one by one from the push.
                    const Insn& set = ip[1];
                    const Insn* const end = ip + ip->GroupSize;
                    bool ok = FCurrStackBase + int64_t{set.A.Base.Offset} == FStack.Count() &&
                              Resolve(set.B, false, b) && !b.Temp && FollowPointer(b);
                    for (const Insn* step = ip + 2; ok && step != end;) {
                        uint32_t index = step->B.Index;
                        if (step->Code == decoded::hPushNew) {
                            const uint8_t it = step->Type->FBaseType;
                            alignas(16) unsigned char temp[decoded::kTempBytes] = {};
                            int64_t v = 0;
                            ok = IsNarrowIntegerCode(it) && FStack.Fits(ip->Type, step->Type) &&
                                 Resolve(step[1].B, true, c) && AssignQuick(temp, it, c);
                            if (!ok) break;
                            LoadInteger(temp, it, v);
                            index = static_cast<uint32_t>(v);
                            step += 4;
                        } else {
                            ++step;
                        }
                        ok = quick::SelectElement(b.Data, b.Type, index) && FollowPointer(b);
                    }
                    TPSVariant* item = ok ? FStack.TryPushType(ip->Type) : nullptr;
                    if (!item) {
                        h = ip->Code;
                        goto dispatch;
                    }
                    Store(item->Data(), PointerValue{b.Data, b.Type, 0});
                    ip = ip->GroupNext;
                    continue;
                }
                case decoded::hPushAssign: {
                    // push T; T := x: pushed, then assigned to as the assignment alone would be.
                    const Insn& set = ip[1];
                    if (FCurrStackBase + int64_t{set.A.Base.Offset} != FStack.Count()) {
                        h = ip->Code;
                        goto dispatch;
                    }
                    TPSVariant* item = FStack.TryPushType(ip->Type);
                    if (!item) break;
                    ip = &set;  // the push is done: the assignment runs on its own when need be
                    if (!Resolve(set.B, true, b) || !AssignQuick(item->Data(), item->FType->FBaseType, b)) continue;
                    ip = set.FastNext;
                    continue;
                }
                case decoded::hPopMany: {
                    // Each pop as hPop does it; one that cannot runs from the bytes, the ones
                    // before it done.
                    const Insn* const last = ip + ip->GroupSize - 1;
                    for (;;) {
                        const TPSVariant* top = FStack.Top();
                        if (!top || top->FType == FReturnAddressType.get()) goto bytes;
                        FStack.Pop();
                        if (ip == last) break;
                        ++ip;
                    }
                    ip = ip->FastNext;
                    continue;
                }
                case decoded::hAppendString: {
                    // push T; temp := s; temp := temp + x; s := temp; pop. Done as s := s + x when the
                    // temporary is the item the push makes and s and T are strings of one kind.
                    const Insn& copy = ip[1];
                    const Insn& add = ip[2];
                    const uint8_t tt = ip->Type->FBaseType;
                    if (FCurrStackBase + int64_t{copy.A.Base.Offset} != FStack.Count() || !FStack.Fits(ip->Type) ||
                        !Resolve(copy.B, true, a) || a.Temp || !Resolve(add.B, true, b)) {
                        h = ip->Code;
                        goto dispatch;
                    }
                    const uint8_t st = a.Type->FBaseType;
                    try {
                        if (IsAnsiCode(tt) && IsAnsiCode(st)) {
                            if (b.Type->FBaseType == btChar)  // one character: no string made for it
                                AppendTo<AnsiString>(a.Data, {static_cast<const char*>(b.Data), 1});
                            else
                                AppendTo<AnsiString>(a.Data, GetValueAsAnsiString(b.Data, b.Type).view());
                        } else if (IsWideCode(tt) && IsWideCode(st)) {
                            if (b.Type->FBaseType == btWideChar) {
                                AppendTo<UnicodeString>(a.Data, {static_cast<const char16_t*>(b.Data), 1});
                            } else if (b.Type->FBaseType == btChar) {
                                const auto c = static_cast<char16_t>(Cp1252ToUnicode(Load<uint8_t>(b.Data)));
                                AppendTo<UnicodeString>(a.Data, {&c, 1});
                            } else {
                                AppendTo<UnicodeString>(a.Data, GetValueAsUnicodeString(b.Data, b.Type).view());
                            }
                        } else {
                            h = ip->Code;
                            goto dispatch;
                        }
                    } catch (...) {
                        // Nothing changed: the instructions one by one record what went wrong.
                        h = ip->Code;
                        goto dispatch;
                    }
                    ip = ip->GroupNext;
                    continue;
                }
                default:
                    break;
            }
        }
    bytes:
        if (ip) FCurrentPosition = ip->Pos;
        if (!StepBytes(entryStatus) || FStatus != isRunning) return;
        ip = Resync(code);
    }
}

}  // namespace tv::script
