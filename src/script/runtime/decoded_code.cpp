#include "script/runtime/decoded_code.h"

#include "script/runtime/exec.h"
#include "script/runtime/quick_ops.h"

namespace tv::script::decoded {

namespace {

// Reads one instruction's bytes; a read past the end makes it fail.
class Reader {
public:
    Reader(const uint8_t* data, uint32_t length, uint32_t pos) : fData(data), fLength(length), fPos(pos) {}
    uint32_t Pos() const { return fPos; }
    uint32_t Left() const { return fLength - fPos; }
    bool U8(uint8_t& v) {
        if (Left() < 1) return false;
        v = fData[fPos++];
        return true;
    }
    bool U32(uint32_t& v) {
        if (Left() < 4) return false;
        std::memcpy(&v, fData + fPos, 4);
        fPos += 4;
        return true;
    }
    void Skip(uint32_t n) { fPos += n; }

private:
    const uint8_t* fData;
    uint32_t fLength;
    uint32_t fPos;
};

// A variable by its number in the code; false when no variable can have that number (the bytes
// record the error when the instruction runs).
bool ResolveVar(const TPSExec& exec, uint32_t number, Var& v) {
    if (number < kFirstStackVariable) {
        v.Item = exec.GetVarNo(number);
        return v.Item != nullptr;
    }
    const int64_t offset = int64_t{number} - kStackBaseVariable;
    if (offset > INT32_MAX) return false;
    v.Offset = static_cast<int32_t>(offset);
    return true;
}

bool SameVar(const Var& a, const Var& b) {
    return a.Item == b.Item && (a.Item || a.Offset == b.Offset);
}

bool SameOperand(const Operand& a, const Operand& b) {
    if (a.Temp || b.Temp || !SameVar(a.Base, b.Base) || a.Select != b.Select) return false;
    if (a.Select == Selector::ConstantIndex) return a.Index == b.Index;
    return a.Select == Selector::None || SameVar(a.IndexVar, b.IndexVar);
}

// Whether the operand reads the stack item at `offset` from the base.
bool UsesStackItem(const Operand& o, int32_t offset) {
    const auto at = [offset](const Var& v) { return !v.Item && v.Offset == offset; };
    return at(o.Base) || (o.Select == Selector::VariableIndex && at(o.IndexVar));
}

// A stack item itself: no constant, field or element.
bool IsPlainStackItem(const Operand& o) {
    return !o.Base.Item && o.Select == Selector::None && !o.Temp;
}

// The stack item at `offset` from the base itself.
bool IsStackItemAt(const Operand& o, int32_t offset) {
    return IsPlainStackItem(o) && o.Base.Offset == offset;
}

// An element or field of the pointer at stack `offset`, selected as `select` says.
bool IsElementOf(const Operand& o, int32_t offset, Selector select) {
    return !o.Base.Item && o.Base.Offset == offset && !o.Temp && o.Select == select;
}

// A stack item, or a field or element: its type is known only when it runs.
bool TypedWhenRun(const Operand& o) {
    return o.How == Shape::Stack || o.How == Shape::Element;
}

// An operand an Integer form may read: an Integer constant or global, or an operand typed when it
// runs.
bool MayBeInteger(const Operand& o) {
    return TypedWhenRun(o) || (o.How == Shape::Direct && o.Type->FBaseType == btS32);
}

// An operand an Integer form may write: as MayBeInteger, no constant.
bool MayBeIntegerVariable(const Operand& o) {
    return MayBeInteger(o) && !o.Temp;
}

// An operand a number form with a temporary of type `temp` (Int64 or Double) may read: one typed
// when it runs, or a constant or global of Integer, Int64 or (for Double) Double type.
bool MayBeNumberFor(const Operand& o, uint8_t temp) {
    if (TypedWhenRun(o)) return true;
    if (o.How != Shape::Direct) return false;
    const uint8_t t = o.Type->FBaseType;
    return t == btS32 || t == btS64 || (temp == btDouble && t == btDouble);
}

// A destination of such a form: a stack item or a global of the temporary's type.
bool MayBeNumberVariableFor(const Operand& o, uint8_t temp) {
    return TypedWhenRun(o) || (o.How == Shape::Direct && !o.Temp && o.Type->FBaseType == temp);
}

// An operand the Extended form of numbers computed aside may read: a stack item, or a constant or
// global of a real or integer type (no character).
bool MayBeRealOperand(const Operand& o) {
    if (TypedWhenRun(o)) return true;
    if (o.How != Shape::Direct) return false;
    const uint8_t t = o.Type->FBaseType;
    return quick::IsFloatCode(t) || IsIntegerCode(t);
}

// Its destination: a stack item or a global of a real type.
bool MayBeRealVariable(const Operand& o) {
    return TypedWhenRun(o) || (o.How == Shape::Direct && !o.Temp && quick::IsFloatCode(o.Type->FBaseType));
}

// A Boolean destination: a stack item or a global of a byte type.
bool MayBeBooleanVariable(const Operand& o) {
    return TypedWhenRun(o) || (o.How == Shape::Direct && !o.Temp && o.Type->FBaseType == btU8);
}

bool IsStringType(const TPSTypeRec* t) {
    return t && (t->FBaseType == btString || t->FBaseType == btPChar || t->FBaseType == btWideString ||
                 t->FBaseType == btUnicodeString);
}

}  // namespace

Code::Code(const TPSExec& exec, TPSInternalProcRec& proc, std::span<const uint32_t> hookPositions,
           uint32_t generation)
    : fProc(proc), fGeneration(generation) {
    Decode(exec);
    Group(hookPositions);
    ChooseIntegerForms();
    ChooseRealForms();
}

void Code::Decode(const TPSExec& exec) {
    const auto* data = reinterpret_cast<const uint8_t*>(fProc.FData.data());
    const uint32_t length = fProc.FLength;
    fIndex.assign(length, 0);
    std::vector<uint32_t> targets;  // per instruction: the byte position its jump reaches
    uint32_t pos = 0;
    while (pos < length) {
        Insn insn;
        insn.Pos = pos;
        insn.Opcode = data[pos];
        Reader r(data, length, pos + 1);
        bool resolved = true;  // every operand names a variable or constant that exists
        // An operand as the interpreter reads it; false when its length cannot be known.
        const auto operand = [&](Operand& o) {
            const uint32_t at = r.Pos();
            uint8_t kind = 0;
            uint32_t number = 0;
            if (r.Left() < 5 || !r.U8(kind)) return false;
            if (kind == okConstant) {
                TPSCachedConstant c{};
                TPSError error = ErNoError;
                uint32_t errorPos = 0;
                if (!CachedConstant(exec, fProc, at, c, error, errorPos)) return false;
                o.Base.Item = c.Value;
                o.Temp = true;
                o.How = Shape::Direct;
                o.Data = c.Value->Data();
                o.Type = c.Value->FType;
                r.Skip(c.Length - 1);
                return true;
            }
            if (kind > okElementVariable || !r.U32(number)) return false;
            resolved &= ResolveVar(exec, number, o.Base);
            if (kind == okVariable) {
                if (!o.Base.Item) {
                    o.How = Shape::Stack;
                } else if (o.Base.Item->FType->FBaseType != btPointer) {
                    // A global's type never changes; only a Pointer's target does.
                    o.How = Shape::Direct;
                    o.Data = o.Base.Item->Data();
                    o.Type = o.Base.Item->FType;
                }
                return true;
            }
            uint32_t index = 0;
            if (!r.U32(index)) return false;
            o.How = Shape::Element;
            if (kind == okElementConstant) {
                o.Select = Selector::ConstantIndex;
                o.Index = index;
            } else {
                o.Select = Selector::VariableIndex;
                resolved &= ResolveVar(exec, index, o.IndexVar);
            }
            return true;
        };
        uint32_t distance = 0;
        uint32_t target = kNoInsn;
        bool known = true;  // the instruction's length is known
        Handler h = hBytes;
        switch (insn.Opcode) {
            case opAssign:
                known = operand(insn.A) && operand(insn.B);
                h = hAssign;
                break;
            case opCalculate:
                known = r.U8(insn.Op) && operand(insn.A) && operand(insn.B);
                h = hCalculate;
                break;
            case opCompare:
                known = r.U8(insn.Op) && operand(insn.A) && operand(insn.B) && operand(insn.C);
                h = hCompare;
                break;
            case opPushReference:
                known = operand(insn.A);
                h = hPushReference;
                break;
            case opPushValue:
            case opCallValue:
            case opBooleanNot:
            case opNegate:
            case opBitwiseNot:
                known = operand(insn.A);
                break;
            case opPop:
                h = hPop;
                break;
            case opReturn:
                h = hReturn;
                break;
            case opNop:
                h = hNop;
                break;
            case opCall: {
                uint32_t n = 0;
                known = r.U32(n);
                insn.Proc = exec.GetProcNo(n);
                resolved = insn.Proc != nullptr;
                h = resolved && insn.Proc->IsExternal() ? hCallHost : hCall;
                break;
            }
            case opJump:
            case opJumpIfFlag:
            case opPopJump:
            case opPopPopJump:
                known = r.U32(distance);
                target = r.Pos() + distance;
                h = insn.Opcode == opJump ? hJump : insn.Opcode == opJumpIfFlag ? hJumpIfFlag : hBytes;
                break;
            case opJumpIfZero:
            case opJumpIfNotZero:
                known = r.U32(distance) && operand(insn.A);
                target = r.Pos() + distance;
                h = insn.Opcode == opJumpIfZero ? hJumpIfZero : hJumpIfNotZero;
                break;
            case opPushNew: {
                uint32_t n = 0;
                known = r.U32(n);
                insn.Type = exec.GetTypeNo(n);
                resolved = insn.Type != nullptr;
                h = hPushNew;
                break;
            }
            case opSetPointer:
                known = operand(insn.A) && operand(insn.B);
                h = hSetPointer;
                break;
            case opSetPointerCopy:
                known = operand(insn.A) && operand(insn.B);
                break;
            case opSetFlag:
                known = operand(insn.A) && r.U8(insn.Op);
                h = hSetFlag;
                break;
            case opPushFrame:
                known = r.Left() >= kPushFrameLength - 1;
                r.Skip(known ? kPushFrameLength - 1 : 0);
                break;
            case opPopFrame:
                known = r.U8(insn.Op);
                break;
            case opIncrement:
            case opDecrement:
                known = operand(insn.A);
                h = insn.Opcode == opIncrement ? hIncrement : hDecrement;
                break;
            default:
                known = false;
        }
        if (!known) break;  // the rest runs from the bytes
        insn.End = r.Pos();
        insn.Code = insn.Fast = resolved ? h : hBytes;
        fInsns.push_back(insn);
        targets.push_back(target);
        fIndex[pos] = static_cast<uint32_t>(fInsns.size());
        pos = insn.End;
    }
    // Where decoding ended (the end of the code, or bytes it could not take apart): run from the bytes.
    Insn end;
    end.Pos = end.End = pos;
    fInsns.push_back(end);
    targets.push_back(kNoInsn);
    for (size_t i = 0; i < fInsns.size(); ++i) {
        fInsns[i].FastNext = &fInsns[i + 1 < fInsns.size() ? i + 1 : i];
        if (targets[i] != kNoInsn) fInsns[i].Target = At(targets[i]);
        // A jump that reaches no instruction start runs from the bytes.
        const Handler h = fInsns[i].Code;
        if ((h == hJump || h == hJumpIfZero || h == hJumpIfNotZero || h == hJumpIfFlag) && !fInsns[i].Target)
            fInsns[i].Code = fInsns[i].Fast = hBytes;
    }
}

void Code::Group(std::span<const uint32_t> hookPositions) {
    // Positions where the line hook may be due: the hook's own, every jump target (exception
    // frames' parts included) and where a call returns to, when its procedure changed.
    const auto* data = reinterpret_cast<const uint8_t*>(fProc.FData.data());
    std::vector<bool> barrier(size_t{fProc.FLength} + 1, false);
    for (size_t at = 0; at < hookPositions.size() && at < barrier.size(); ++at)
        if (hookPositions[at]) barrier[at] = true;
    for (Insn& i : fInsns) i.HookHere = i.Pos < hookPositions.size() && hookPositions[i.Pos] != 0;
    const auto mark = [&barrier](uint64_t at) {
        if (at < barrier.size()) barrier[at] = true;
    };
    for (const Insn& i : fInsns) {
        if (i.Target) mark(i.Target->Pos);
        switch (i.Opcode) {
            case opCall:
            case opCallValue:
                mark(i.End);
                break;
            case opJumpIfZero:
            case opJumpIfNotZero:
            case opJump:
            case opJumpIfFlag:
            case opPopJump:
            case opPopPopJump:
                if (!i.Target && i.End > i.Pos) {
                    // Reaches no instruction start: still a target of the bytes.
                    uint32_t d = 0;
                    std::memcpy(&d, data + i.Pos + 1, 4);
                    mark(uint32_t(i.End + d));
                }
                break;
            case opPushFrame:
                if (i.End == i.Pos + kPushFrameLength)
                    for (uint32_t k = 0; k < 4; ++k) {
                        uint32_t d = 0;
                        std::memcpy(&d, data + i.Pos + 1 + 4 * k, 4);
                        if (d != TPSExceptionHandler::kFrameUnset) mark(int64_t{i.End} + static_cast<int32_t>(d));
                    }
                break;
            default:
                break;
        }
    }
    const size_t n = fInsns.size();
    const auto open = [&](size_t i) { return i < n && !barrier[fInsns[i].Pos]; };
    // A jump right after an instruction is taken with it.
    for (size_t i = 0; i + 1 < n; ++i) {
        switch (fInsns[i].Code) {
            case hAssign:
            case hCalculate:
            case hCompare:
            case hPushReference:
            case hPop:
            case hPushNew:
            case hSetPointer:
            case hSetFlag:
            case hIncrement:
            case hDecrement:
            case hNop:
                if (fInsns[i + 1].Code == hJump && open(i + 1)) fInsns[i].FastNext = fInsns[i + 1].Target;
                break;
            default:
                break;
        }
    }
    for (size_t i = 0; i + 1 < n; ++i) {
        Insn& insn = fInsns[i];
        // compare; jump if (not) zero on the Boolean just stored.
        if (insn.Code == hCompare && open(i + 1) &&
            (fInsns[i + 1].Code == hJumpIfZero || fInsns[i + 1].Code == hJumpIfNotZero) &&
            SameOperand(insn.A, fInsns[i + 1].A)) {
            insn.Fast = hCompareJump;
            insn.GroupNext = &fInsns[i + 1];
        }
        // push a number; temp := x; temp op= y ...; z := temp (or z op= temp); pop: the temporary
        // is held aside instead of pushed.
        if (insn.Code == hPushNew && !insn.Type->IsManaged() && insn.Type->FRealSize <= kTempBytes &&
            i + 3 < n && open(i + 1) && fInsns[i + 1].Code == hAssign && IsPlainStackItem(fInsns[i + 1].A)) {
            const Operand& temp = fInsns[i + 1].A;
            const int32_t at = temp.Base.Offset;
            size_t k = i + 2;
            bool ok = !UsesStackItem(fInsns[i + 1].B, at);
            while (ok && k < n && open(k) && fInsns[k].Code == hCalculate && SameOperand(fInsns[k].A, temp) &&
                   !UsesStackItem(fInsns[k].B, at) && k + 2 - i <= kMaxTempGroup)
                ++k;
            // k: the instruction that uses the result, then the pop.
            if (ok && k + 1 < n && open(k) && open(k + 1) &&
                (fInsns[k].Code == hAssign || fInsns[k].Code == hCalculate) && SameOperand(fInsns[k].B, temp) &&
                !UsesStackItem(fInsns[k].A, at) && fInsns[k + 1].Code == hPop) {
                insn.Fast = hTempExpr;
                insn.GroupSize = static_cast<uint8_t>(k + 2 - i);
                insn.GroupNext = fInsns[k + 1].FastNext;
            }
        }
        // push P; P := X; then any number of P := P[k] and of (push I; I := n; P := P[I]; pop),
        // at least one: the field or element found without the temporaries.
        if (insn.Code == hPushNew && insn.Type->FBaseType == btPointer && i + 2 < n && open(i + 1) &&
            fInsns[i + 1].Code == hSetPointer && IsPlainStackItem(fInsns[i + 1].A) &&
            !UsesStackItem(fInsns[i + 1].B, fInsns[i + 1].A.Base.Offset)) {
            const Operand& pointer = fInsns[i + 1].A;
            const int32_t at = pointer.Base.Offset;
            size_t k = i + 2;
            for (;;) {
                if (k < n && open(k) && fInsns[k].Code == hSetPointer && SameOperand(fInsns[k].A, pointer) &&
                    IsElementOf(fInsns[k].B, at, Selector::ConstantIndex) && k + 1 - i <= kMaxChainGroup) {
                    k += 1;
                    continue;
                }
                if (k + 3 < n && open(k) && open(k + 1) && open(k + 2) && open(k + 3) && k + 4 - i <= kMaxChainGroup &&
                    fInsns[k].Code == hPushNew && !fInsns[k].Type->IsManaged() &&
                    fInsns[k].Type->FRealSize <= kTempBytes && fInsns[k + 1].Code == hAssign &&
                    IsStackItemAt(fInsns[k + 1].A, at + 1) && !UsesStackItem(fInsns[k + 1].B, at) &&
                    !UsesStackItem(fInsns[k + 1].B, at + 1) && fInsns[k + 2].Code == hSetPointer &&
                    SameOperand(fInsns[k + 2].A, pointer) && IsElementOf(fInsns[k + 2].B, at, Selector::VariableIndex) &&
                    fInsns[k + 2].B.IndexVar.Item == nullptr && fInsns[k + 2].B.IndexVar.Offset == at + 1 &&
                    fInsns[k + 3].Code == hPop) {
                    k += 4;
                    continue;
                }
                break;
            }
            if (k > i + 2) {
                insn.Fast = hElementPointer;
                insn.GroupSize = static_cast<uint8_t>(k - i);
                insn.GroupNext = fInsns[k - 1].FastNext;
            }
        }
        // push a Boolean; compare into it; set the flag from it; pop; jump on the flag: the
        // comparison decides the jump without the Boolean.
        if (insn.Code == hPushNew && insn.Type->FBaseType == btU8 && i + 4 < n && open(i + 1) && open(i + 2) &&
            open(i + 3) && open(i + 4)) {
            const Insn& compare = fInsns[i + 1];
            const int32_t at = compare.A.Base.Offset;
            if (compare.Code == hCompare && compare.Op <= cmpEqual && IsPlainStackItem(compare.A) &&
                !UsesStackItem(compare.B, at) && !UsesStackItem(compare.C, at) && fInsns[i + 2].Code == hSetFlag &&
                SameOperand(fInsns[i + 2].A, compare.A) && fInsns[i + 3].Code == hPop &&
                fInsns[i + 4].Code == hJumpIfFlag) {
                insn.Fast = hCompareFlag;
                insn.GroupSize = 5;
            }
        }
        // push a string temporary; temp := s; temp := temp + x; s := temp; pop: s grows in place.
        if (insn.Code == hPushNew && IsStringType(insn.Type) && i + 5 < n && open(i + 1) && open(i + 2) &&
            open(i + 3) && open(i + 4)) {
            const Insn& copy = fInsns[i + 1];
            const Insn& add = fInsns[i + 2];
            const Insn& back = fInsns[i + 3];
            const Insn& pop = fInsns[i + 4];
            const bool tempIsStackItem = !copy.A.Base.Item && copy.A.Select == Selector::None && !copy.A.Temp;
            const int32_t temp = copy.A.Base.Offset;
            if (copy.Code == hAssign && tempIsStackItem && add.Code == hCalculate && add.Op == calcAdd &&
                SameOperand(add.A, copy.A) && back.Code == hAssign && SameOperand(back.A, copy.B) &&
                SameOperand(back.B, copy.A) && pop.Code == hPop && !UsesStackItem(copy.B, temp) &&
                !UsesStackItem(add.B, temp)) {
                insn.Fast = hAppendString;
                insn.GroupSize = 5;
                insn.GroupNext = pop.FastNext;
            }
        }
    }
    ChooseForSteps(barrier);
    // Where no longer sequence was found: a push with the assignment to the new item, and pops
    // one after another.
    for (size_t i = 0; i + 1 < n; ++i) {
        Insn& insn = fInsns[i];
        if (insn.Fast != insn.Code) continue;
        const Insn& next = fInsns[i + 1];
        if (insn.Code == hPushNew && insn.Type->FBaseType != btPointer && open(i + 1) && next.Code == hAssign &&
            IsPlainStackItem(next.A) && !UsesStackItem(next.B, next.A.Base.Offset))
            insn.Fast = hPushAssign;
        if (insn.Code == hPop) {
            size_t k = i + 1;
            while (k < n && k - i < kMaxChainGroup && open(k) && fInsns[k].Code == hPop) ++k;
            if (k > i + 1) {
                insn.Fast = hPopMany;
                insn.GroupSize = static_cast<uint8_t>(k - i);
                insn.GroupNext = fInsns[k - 1].FastNext;
            }
        }
    }
}

void Code::ChooseIntegerForms() {
    for (Insn& insn : fInsns) {
        switch (insn.Fast) {
            case hAssign:
                if (MayBeIntegerVariable(insn.A) && MayBeInteger(insn.B)) insn.Fast = hAssignInt;
                break;
            case hCalculate:
                if (MayBeIntegerVariable(insn.A) && MayBeInteger(insn.B)) insn.Fast = hCalculateInt;
                break;
            case hCompare:
            case hCompareJump:
                if (insn.Op <= cmpEqual && MayBeBooleanVariable(insn.A) && MayBeInteger(insn.B) &&
                    MayBeInteger(insn.C))
                    insn.Fast = insn.Fast == hCompare ? hCompareInt : hCompareJumpInt;
                break;
            case hIncrement:
            case hDecrement:
                if (MayBeIntegerVariable(insn.A)) insn.Fast = insn.Fast == hIncrement ? hIncrementInt : hDecrementInt;
                break;
            case hTempExpr: {
                // push Integer; temp := x; temp op= y ...; z := temp (or z op= temp); pop.
                const Insn* const use = &insn + insn.GroupSize - 2;
                bool ints = insn.Type->FBaseType == btS32 && MayBeInteger((&insn)[1].B) &&
                            MayBeIntegerVariable(use->A);
                for (const Insn* step = &insn + 2; ints && step != use; ++step) ints = MayBeInteger(step->B);
                if (ints) {
                    insn.Fast = hTempExprInt;
                    break;
                }
                const uint8_t temp = insn.Type->FBaseType;
                if (temp == btExtended) {
                    bool reals = MayBeRealOperand((&insn)[1].B) && MayBeRealVariable(use->A);
                    for (const Insn* step = &insn + 2; reals && step != use; ++step) reals = MayBeRealOperand(step->B);
                    if (reals) insn.Fast = hTempExprExtended;
                    break;
                }
                if (temp != btS64 && temp != btDouble) break;
                bool numbers = MayBeNumberFor((&insn)[1].B, temp) && MayBeNumberVariableFor(use->A, temp);
                for (const Insn* step = &insn + 2; numbers && step != use; ++step)
                    numbers = MayBeNumberFor(step->B, temp);
                if (numbers) insn.Fast = temp == btS64 ? hTempExprInt64 : hTempExprDouble;
                break;
            }
            default:
                break;
        }
    }
}

// --- For-loop steps and real expressions with operands resolved when decoded ---

void Code::ChooseForSteps(const std::vector<bool>& barrier) {
    // The end of a for-loop's turn as the compiler writes it:
    //     check:  b := counter = limit; jump if b to exit; counter := counter +/- 1; jump head
    //     head:   b := counter <= bound (>= counting down); jump if not b to exit
    // runs as one step from the check, going on at the body (after the head) or at the exit. The
    // head is a jump target; it is passed over only where no hook runs and the push of b precedes
    // it (so that nothing else returns or unwinds to it).
    const size_t n = fInsns.size();
    const auto open = [&](const Insn& i) { return !barrier[i.Pos]; };
    for (size_t i = 0; i + 4 < n; ++i) {
        Insn& check = fInsns[i];
        const Insn& exitIfLimit = fInsns[i + 1];
        const Insn& count = fInsns[i + 2];
        const Insn& back = fInsns[i + 3];
        if (check.Code != hCompare || check.Op != cmpEqual || !IsPlainStackItem(check.A) ||
            check.C.How != Shape::Direct || !check.C.Temp || exitIfLimit.Code != hJumpIfNotZero ||
            !SameOperand(exitIfLimit.A, check.A) || (count.Code != hIncrement && count.Code != hDecrement) ||
            !SameOperand(count.A, check.B) || back.Code != hJump || !open(exitIfLimit) || !open(count) ||
            !open(back))
            continue;
        const Insn* head = back.Target;
        if (head == &fInsns.front() || head + 2 >= fInsns.data() + n || head->HookHere || head[-1].Code != hPushNew)
            continue;
        const Insn& exitIfOut = head[1];
        const uint8_t order = count.Code == hIncrement ? cmpLessEqual : cmpGreaterEqual;
        if (head->Code != hCompare || head->Op != order || !SameOperand(head->A, check.A) ||
            !SameOperand(head->B, check.B) || exitIfOut.Code != hJumpIfZero || !SameOperand(exitIfOut.A, check.A) ||
            exitIfOut.Target != exitIfLimit.Target || !open(exitIfOut) || !MayBeBooleanVariable(check.A) ||
            UsesStackItem(head->C, check.A.Base.Offset) || UsesStackItem(check.B, check.A.Base.Offset))
            continue;
        const uint8_t counter = check.C.Type->FBaseType;
        const Operand& bound = head->C;
        if (counter == btS32 && MayBeIntegerVariable(check.B) && MayBeInteger(bound))
            check.Fast = hForStepInt;
        else if (counter == btS64 && MayBeNumberVariableFor(check.B, btS64) && MayBeNumberFor(bound, btS64))
            check.Fast = hForStepInt64;
        else
            continue;
        check.GroupNext = head;
    }
}

void Code::ChooseRealForms() {
    // A Double or Extended temporary whose operands are all constants and globals of Integer, Int64
    // or a real type (a Double temporary: no Single or Extended), the destination a global of a
    // real type (a Double temporary: a Double), and only the four real operators.
    const auto number = [](const Operand& o, uint8_t temp) {
        if (o.How != Shape::Direct) return false;
        const uint8_t t = o.Type->FBaseType;
        return t == btS32 || t == btS64 || t == btDouble || (temp == btExtended && quick::IsFloatCode(t));
    };
    const auto realOp = [](uint8_t op) {
        return op == calcAdd || op == calcSubtract || op == calcMultiply || op == calcDivide;
    };
    for (Insn& insn : fInsns) {
        if (insn.Fast != hTempExprDouble && insn.Fast != hTempExprExtended) continue;
        const uint8_t temp = insn.Type->FBaseType;
        const Insn* const use = &insn + insn.GroupSize - 2;
        bool direct = number((&insn)[1].B, temp) && use->A.How == Shape::Direct && !use->A.Temp &&
                      (use->Opcode == opAssign || realOp(use->Op)) &&
                      (temp == btExtended ? quick::IsFloatCode(use->A.Type->FBaseType)
                                          : use->A.Type->FBaseType == btDouble);
        for (const Insn* step = &insn + 2; direct && step != use; ++step)
            direct = number(step->B, temp) && realOp(step->Op);
        if (direct) insn.Fast = hRealExprDirect;
    }
}

}  // namespace tv::script::decoded
