#pragma once
// The decoded loop's for-loop steps and real expressions with operands resolved when decoded
// (decoded_code.h: hForStepInt, hForStepInt64, hRealExprDirect). Included by run_decoded.cpp alone,
// after the routines that find operands, so that these handlers are compiled into its loop. Each
// computes exactly what its instructions one by one compute and changes nothing when it cannot.

#include "script/runtime/decoded_code.h"
#include "script/runtime/exec.h"
#include "script/runtime/quick_ops.h"

namespace tv::script {

// check: b := counter = limit; jump if b to exit; counter := counter +/- 1; jump head;
// head: b := counter <= bound (>=); jump if not b to exit. The next instruction to run, the body's
// first or the exit; nil, nothing changed, when an operand is not of the counter's type.
template <class Counter>
[[gnu::always_inline]] inline const decoded::Insn* TPSExec::ForStep(const decoded::Insn& check) const {
    static_assert(std::is_same_v<Counter, int32_t> || std::is_same_v<Counter, int64_t>);
    constexpr uint8_t kCode = sizeof(Counter) == 4 ? btS32 : btS64;
    const decoded::Insn& head = *check.GroupNext;
    // The flag is a plain stack item (decoded_code.cpp checks it).
    uint8_t flagCode = 0;
    void* const flag = StackItemPlace(FStack, FCurrStackBase, check.A, flagCode);
    void* const counter = flag && flagCode == btU8 ? TypedPlace<kCode>(check.B) : nullptr;
    if (!counter) return nullptr;
    // The bound, read after the count as the head reads it (it may be the counter itself); an
    // Int64 counter's may be an Integer.
    uint8_t boundCode = kCode;
    const void* const boundAt =
        kCode == btS32 ? TypedPlace<btS32>(head.C) : NumberPlace(head.C, boundCode);
    if (!boundAt || (boundCode != kCode && boundCode != btS32)) return nullptr;
    const Counter value = Load<Counter>(counter);
    if (value == Load<Counter>(check.C.Data)) {
        Store<uint8_t>(flag, 1);
        return (&check)[1].Target;
    }
    using Bits = std::make_unsigned_t<Counter>;
    const bool up = head.Op == cmpLessEqual;
    const auto next = static_cast<Counter>(static_cast<Bits>(value) + (up ? Bits{1} : ~Bits{0}));
    Store(counter, next);
    const Counter bound = boundCode == kCode ? Load<Counter>(boundAt) : Load<int32_t>(boundAt);
    const bool within = up ? next <= bound : next >= bound;
    Store<uint8_t>(flag, within ? 1 : 0);
    return within ? &head + 2 : (&head)[1].Target;
}

namespace decoded_arith {

// A constant or global of a number type, its type seen when decoded, as the real the operators
// compute with.
[[gnu::always_inline]] inline long double DirectReal(const decoded::Operand& o) {
    switch (o.Type->FBaseType) {
        case btS32:
            return Load<int32_t>(o.Data);
        case btS64:
            return static_cast<long double>(Load<int64_t>(o.Data));
        case btDouble:
            return Load<double>(o.Data);
        case btSingle:
            return Load<float>(o.Data);
        case btExtended:
            return LoadExtended(o.Data);
        default:
            return LoadExtended(o.Data);  // the only other type decoded_code.cpp lets through
    }
}

// a op b for the four real operators, as quick::RealLaneOp computes it, without the check of the
// result: the caller checks it once against the range of where it goes.
[[gnu::always_inline]] inline long double RealOp(uint8_t op, long double a, long double b) {
    switch (op) {
        case calcAdd:
            return a + b;
        case calcSubtract:
            return a - b;
        case calcMultiply:
            return a * b;
        default:
            return a / b;
    }
}

// Whether a op b = r is computed without a fault and, for a Single or Double, narrows to one: then
// it is finite (NaN fails every comparison), and a division had a non-zero divisor. Anything else,
// a non-finite result of non-finite operands included, is left to the general form.
template <class F>
[[gnu::always_inline]] inline bool RealFits(long double r, uint8_t op, long double b) {
    if constexpr (!std::is_same_v<F, long double>) {
        constexpr long double kLimit = NarrowOverflowLimit<F>();
        return std::fabs(r) < kLimit && (op != calcDivide || b != 0);
    } else {
        return IsFiniteReal(r) && (op != calcDivide || b != 0);
    }
}

// z op= v for a real z of type F, as quick::CalculateRealBy computes it; false, z unchanged, where
// that would not take the quick way or would fault.
template <class F>
[[gnu::always_inline]] inline bool CalculateInto(void* z, uint8_t op, long double v) {
    if constexpr (std::is_same_v<F, long double>) {
        const long double r = RealOp(op, LoadExtended(z), v);
        if (!RealFits<F>(r, op, v)) return false;
        StoreExtended(z, r);
    } else {
        const long double r = RealOp(op, Load<F>(z), v);
        if (!RealFits<F>(r, op, v)) return false;
        Store(z, static_cast<F>(r));
    }
    return true;
}

// The steps after the copy into a temporary of type T (double or long double), each computed in
// extended precision and, for a Double, narrowed again as the temporary's bytes hold it.
template <class T>
[[gnu::always_inline]] inline bool RunRealSteps(const decoded::Insn* step, const decoded::Insn* use, T& acc) {
    for (; step != use; ++step) {
        const long double y = DirectReal(step->B);
        const long double r = RealOp(step->Op, acc, y);
        if (!RealFits<T>(r, step->Op, y)) return false;
        acc = static_cast<T>(r);
    }
    return true;
}

// z := temp or z op= temp for a real z of type code `zt`.
[[gnu::always_inline]] inline bool UseReal(const decoded::Insn& use, long double v) {
    void* const z = use.A.Data;
    const uint8_t zt = use.A.Type->FBaseType;
    if (use.Opcode == opAssign) return StoreReal(z, zt, v);
    switch (zt) {
        case btDouble:
            return CalculateInto<double>(z, use.Op, v);
        case btSingle:
            return CalculateInto<float>(z, use.Op, v);
        default:
            return CalculateInto<long double>(z, use.Op, v);
    }
}

}  // namespace decoded_arith

// push T; temp := x; temp op= y ...; z := temp (or z op= temp); pop with a Double or Extended
// temporary and every operand a constant or global of a number type (decoded_code.cpp checks
// them): the temporary held in a register, each step as hTempExprDouble or hTempExprExtended
// computes it. False, nothing changed, on a fault or a non-finite value (the general form runs).
inline bool TPSExec::RealExprDirect(const decoded::Insn& push) const {
    using namespace decoded_arith;
    const decoded::Insn& copy = (&push)[1];
    const decoded::Insn* const use = &push + push.GroupSize - 2;
    if (FCurrStackBase + int64_t{copy.A.Base.Offset} != FStack.Count() || !FStack.Fits(push.Type)) return false;
    if (push.Type->FBaseType == btDouble) {
        // A Double operand is copied as it stands (its bits kept), a Double z computed with.
        double acc = copy.B.Type->FBaseType == btDouble ? Load<double>(copy.B.Data)
                                                        : static_cast<double>(DirectReal(copy.B));
        if (!RunRealSteps(&push + 2, use, acc)) return false;
        if (use->Opcode == opAssign) {
            Store(use->A.Data, acc);
            return true;
        }
        return CalculateInto<double>(use->A.Data, use->Op, acc);
    }
    long double acc = DirectReal(copy.B);
    return RunRealSteps(&push + 2, use, acc) && UseReal(*use, acc);
}

}  // namespace tv::script
