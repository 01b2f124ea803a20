// The interpreter: decodes and runs one instruction at a time, keeps the call stack of return
// addresses, parameters and locals, and implements try/finally/except with a stack of exception
// frames. Every failure becomes a recorded error that unwinds to the innermost frame handling it.

#include <algorithm>

#include "platform/rtl/format.h"
#include "script/common/arith.h"
#include "script/common/byte_io.h"
#include "script/runtime/decoded_code.h"
#include "script/runtime/exec.h"
#include "script/runtime/quick_ops.h"
#include "script/runtime/value_access.h"

namespace tv::script {

namespace {
constexpr std::string_view kArrayRange =
    "Out Of Range! Element index is out of Array range: Element Index is %d, Array length = %d";
using Frame = TPSExceptionHandler;
constexpr uint32_t kUnset = Frame::kFrameUnset;

// The comparisons of two Integers.
inline bool CompareS32(uint8_t op, int32_t x, int32_t y) {
    switch (op) {
        case cmpGreaterEqual:
            return x >= y;
        case cmpLessEqual:
            return x <= y;
        case cmpGreater:
            return x > y;
        case cmpLess:
            return x < y;
        case cmpNotEqual:
            return x != y;
        default:
            return x == y;
    }
}

uint32_t OrdinalValue(const TPSOperandRef& o) {
    int64_t v = 0;
    LoadInteger(o.Data, o.Type->FBaseType, v);
    return static_cast<uint32_t>(v);
}
}  // namespace

TPSInternalProcRec::~TPSInternalProcRec() {
    for (const TPSCachedConstant& c : Constants) DestroyHeapValue(c.Value);
}

const TPSTypeRec* TPSExec::PointerType() const {
    if (!fPointerTypeInUse) {
        // The container's first Pointer type (it never changes while loaded), else the executor's own.
        const TPSTypeRec* t = FindType2(btPointer);
        fPointerTypeInUse = t ? t : FOwnPointerType.get();
    }
    return fPointerTypeInUse;
}

// ---- operand decoding

bool TPSExec::ReadCode32(uint32_t& v) {
    if (FDataLength - FCurrentPosition < 4 || FCurrentPosition > FDataLength) {
        CMD_Err(ErOutOfRange);
        return false;
    }
    v = PeekU32(std::string_view(reinterpret_cast<const char*>(FData), FDataLength), FCurrentPosition);
    FCurrentPosition += 4;
    return true;
}

inline bool TPSExec::ReadSource(TPSOperandRef& o) {
    return ReadPlace(o, true);
}

bool TPSExec::ReadPlace(TPSOperandRef& o, bool deref) {
    return QuickOperand(o, deref) || QuickElement(o, deref) || ReadOperand(o, deref);
}

bool TPSExec::ReadCode8(uint8_t& v) {
    if (FCurrentPosition >= FDataLength) {
        CMD_Err(ErOutOfRange);
        return false;
    }
    v = FData[FCurrentPosition++];
    return true;
}

bool TPSExec::ReadDestination(TPSOperandRef& o, bool deref) {
    if (!ReadPlace(o, deref)) return false;
    if (o.Temp) {
        CMD_Err(erInvalidOpcodeParameter);
        return false;
    }
    return true;
}

bool TPSExec::ReadVariable(uint32_t number, TPSOperandRef& o) {
    TPSVariant* item;
    if (number < kFirstStackVariable) {
        item = FGlobalVars.GetItem(static_cast<int32_t>(std::min<uint32_t>(number, INT32_MAX)));
        if (!item) {
            CMD_Err(erOutOfGlobalVarsRange);
            return false;
        }
    } else {
        const int64_t index = int64_t{FCurrStackBase} + int64_t{number} - kStackBaseVariable;
        item = index >= 0 && index < FStack.Count() ? FStack.GetItem(static_cast<int32_t>(index)) : nullptr;
        if (!item) {
            CMD_Err(erOutOfStackRange);
            return false;
        }
    }
    o.Data = item->Data();
    o.Type = item->FType;
    o.Temp = false;
    return true;
}

namespace {
// A constant string keeps characters no value shares: constants are decoded once and kept, and host
// routines that fill a text buffer write into the characters of the string they get, which would
// change the constant for every later use. Once a copy of it has gone somewhere (a variable, a
// variant, a parameter), the constant takes a copy of its own and leaves the shared characters to
// that value. Nothing is copied while the constant is not shared.
template <class S>
void Unshare(void* constant) {
    const S s = S::RawGet(constant);
    if (s.RefCount() > 2) S::RawSet(constant, S(s.view()));  // the constant's own reference and `s`
}
void KeepConstantUnshared(void* constant, const TPSTypeRec* type) {
    switch (type->FBaseType) {
        case btString:
        case btPChar:
            return Unshare<AnsiString>(constant);
        case btWideString:
        case btUnicodeString:
            return Unshare<UnicodeString>(constant);
        default:
            return;
    }
}

// Follows a Pointer operand to its target; false for a nil target.
bool DerefOperand(TPSOperandRef& o) {
    if (!o.Type || o.Type->FBaseType != btPointer) return true;
    const auto p = Load<PointerValue>(o.Data);
    if (!p.Data || !p.Type) return false;
    o.Data = p.Data;
    o.Type = p.Type;
    return true;
}
}  // namespace

bool CachedConstant(const TPSExec& exec, TPSInternalProcRec& proc, uint32_t at, TPSCachedConstant& out,
                    TPSError& error, uint32_t& errorPos) {
    auto& slots = proc.ConstantSlots;
    if (slots.empty()) slots.assign(proc.FLength, 0);
    if (at < slots.size() && slots[at]) {
        out = proc.Constants[slots[at] - 1];
        return true;
    }
    const std::string_view code(proc.FData.data(), proc.FLength);
    ByteReader r(code, size_t{at} + 1);
    uint32_t typeNo = 0;
    if (at >= proc.FLength || !r.ReadU32(typeNo)) {
        error = ErOutOfRange;
        errorPos = at + 1;
        return false;
    }
    errorPos = at + 5;
    const TPSTypeRec* t = exec.GetTypeNo(typeNo);
    if (!t) {
        error = erInvalidType;
        return false;
    }
    std::unique_ptr<TPSVariant, void (*)(TPSVariant*)> v(CreateHeapValue(t), DestroyHeapValue);
    void* d = v->Data();
    std::string_view bytes;
    bool ok = true;
    const uint8_t base = t->FBaseType;
    if (base == btString || base == btPChar) {
        ok = r.ReadString32(bytes);
        if (ok) AnsiString::RawSet(d, AnsiString(bytes));
    } else if (base == btWideString || base == btUnicodeString) {
        uint32_t count = 0;
        ok = r.ReadU32(count) && count <= r.Remaining() / 2 && r.ReadBytes(size_t{count} * 2, bytes);
        if (ok && count > 0) {
            UnicodeString s;
            s.SetLength(static_cast<int32_t>(count));
            std::memcpy(s.UniqueData(), bytes.data(), bytes.size());
            UnicodeString::RawSet(d, s);
        }
    } else if (base == btProcPtr) {
        uint32_t n = 0;
        ok = r.ReadU32(n);
        if (ok) Store(d, ProcPtrValue{n, 0, nullptr, nullptr});
    } else if (base == btSet) {
        const uint32_t n = static_cast<const TPSTypeRec_Set*>(t)->FByteSize;
        ok = r.ReadBytes(n, bytes);
        if (ok) std::memcpy(d, bytes.data(), n);
    } else if (const uint32_t n = FixedConstantSize(base); n > 0) {
        ok = r.ReadBytes(n, bytes);
        if (ok) std::memcpy(d, bytes.data(), n);
    } else {
        error = erInvalidType;
        return false;
    }
    if (!ok) {
        error = ErOutOfRange;
        return false;
    }
    out = {v.release(), static_cast<uint32_t>(r.Position()) - at};
    proc.Constants.push_back(out);
    slots[at] = static_cast<uint32_t>(proc.Constants.size());
    return true;
}

bool TPSExec::ReadConstant(uint32_t at, TPSOperandRef& o) {
    TPSError error = ErNoError;
    uint32_t errorPos = 0;
    TPSCachedConstant c{};
    if (!CachedConstant(*this, *FCurrProc, at, c, error, errorPos)) {
        FCurrentPosition = errorPos;
        CMD_Err(error);
        return false;
    }
    o = {c.Value->Data(), c.Value->FType, true};
    FCurrentPosition = at + c.Length;
    return true;
}

[[gnu::always_inline]] inline TPSVariant* TPSExec::QuickVariable(uint32_t n) const {
    if (n < kFirstStackVariable) return FGlobalVars.GetItem(static_cast<int32_t>(n));
    return FStack.ItemAt(FCurrStackBase, static_cast<int32_t>(n - kStackBaseVariable));
}

[[gnu::always_inline]] inline bool TPSExec::QuickOperand(TPSOperandRef& o, bool deref) {
    const uint32_t pos = FCurrentPosition;
    if (pos > FDataLength || FDataLength - pos < 5) return false;
    const uint8_t kind = FData[pos];
    if (kind == okConstant) {
        const auto& slots = FCurrProc->ConstantSlots;
        if (slots.empty() || slots[pos] == 0) return false;
        const TPSCachedConstant& c = FCurrProc->Constants[slots[pos] - 1];
        o = {c.Value->Data(), c.Value->FType, true};
        FCurrentPosition = pos + c.Length;
        return true;
    }
    if (kind != okVariable) return false;
    const TPSVariant* item = QuickVariable(Load<uint32_t>(FData + pos + 1));
    if (!item) return false;
    o = {const_cast<TPSVariant*>(item)->Data(), item->FType, false};
    if (deref && o.Type->FBaseType == btPointer && !DerefOperand(o)) return false;
    FCurrentPosition = pos + 5;
    return true;
}

bool TPSExec::QuickElement(TPSOperandRef& o, bool deref) {
    const uint32_t pos = FCurrentPosition;
    if (pos > FDataLength || FDataLength - pos < 9) return false;
    const uint8_t kind = FData[pos];
    if (kind != okElementConstant && kind != okElementVariable) return false;
    const TPSVariant* item = QuickVariable(Load<uint32_t>(FData + pos + 1));
    if (!item) return false;
    // The variable followed to its target, then the field or element.
    o = {const_cast<TPSVariant*>(item)->Data(), item->FType, false};
    if (!DerefOperand(o)) return false;
    uint32_t index = Load<uint32_t>(FData + pos + 5);
    if (kind == okElementVariable) {
        const TPSVariant* iv = QuickVariable(index);
        if (!iv) return false;
        int64_t v = 0;
        if (!IsNarrowIntegerCode(iv->FType->FBaseType)) return false;
        LoadInteger(const_cast<TPSVariant*>(iv)->Data(), iv->FType->FBaseType, v);
        index = static_cast<uint32_t>(v);
    }
    if (!quick::SelectElement(o.Data, o.Type, index)) return false;
    if (deref && !DerefOperand(o)) return false;
    FCurrentPosition = pos + 9;
    return true;
}

bool TPSExec::ReadOperand(TPSOperandRef& o, bool deref) {
    const uint32_t at = FCurrentPosition;
    if (FDataLength - FCurrentPosition < 5 || FCurrentPosition > FDataLength) {
        CMD_Err(ErOutOfRange);
        return false;
    }
    const uint8_t kind = FData[FCurrentPosition++];
    if (kind == okConstant) return ReadConstant(at, o);
    uint32_t number = 0;
    ReadCode32(number);
    if (kind > okElementVariable) {
        CMD_Err(erInvalidOpcodeParameter);
        return false;
    }
    if (!ReadVariable(number, o)) return false;
    if (kind == okVariable) {
        if (deref && !DerefOperand(o)) {
            CMD_Err(erNullPointerException);
            return false;
        }
        return true;
    }
    // An element: the variable is always followed to its target.
    if (!DerefOperand(o)) {
        CMD_Err(erNullPointerException);
        return false;
    }
    uint32_t index = 0;
    if (!ReadCode32(index)) return false;
    if (kind == okElementVariable) {
        TPSOperandRef iv;
        if (!ReadVariable(index, iv)) return false;
        if (iv.Type->FBaseType == btPointer) {
            if (!DerefOperand(iv) ||
                !(IsNarrowIntegerCode(iv.Type->FBaseType) || iv.Type->FBaseType == btProcPtr)) {
                CMD_Err(ErTypeMismatch);
                return false;
            }
        } else if (!IsNarrowIntegerCode(iv.Type->FBaseType)) {
            CMD_Err(ErTypeMismatch);
            return false;
        }
        index = iv.Type->FBaseType == btProcPtr ? Load<ProcPtrValue>(iv.Data).ProcNo : OrdinalValue(iv);
    }
    switch (o.Type->FBaseType) {
        case btRecord: {
            auto* rt = static_cast<const TPSTypeRec_Record*>(o.Type);
            if (index >= rt->FFieldTypes.size()) {
                CMD_Err(ErOutOfRange);
                return false;
            }
            o.Data = static_cast<char*>(o.Data) + rt->FRealFieldOffsets[index];
            o.Type = rt->FFieldTypes[index];
            break;
        }
        case btArray:
        case btStaticArray: {
            const bool dynamic = o.Type->FBaseType == btArray;
            const uint32_t length = dynamic ? static_cast<uint32_t>(DynamicArrayLength(o.Data, o.Type))
                                            : static_cast<const TPSTypeRec_StaticArray*>(o.Type)->FSize;
            if (index >= length) {
                CMD_Err2(erCustomError,
                         Format(kArrayRange, {static_cast<int32_t>(index), static_cast<int32_t>(length)}));
                return false;
            }
            const TPSTypeRec* elem = static_cast<const TPSTypeRec_Array*>(o.Type)->FArrayType;
            char* base = dynamic ? static_cast<char*>(DynamicArrayData(o.Data)) : static_cast<char*>(o.Data);
            o.Data = base + uint64_t{index} * elem->FRealSize;
            o.Type = elem;
            break;
        }
        default:
            CMD_Err(erInvalidType);
            return false;
    }
    if (deref && !DerefOperand(o)) {
        CMD_Err(erNullPointerException);
        return false;
    }
    return true;
}

// ---- running

bool TPSExec::RunScript() {
    // Nothing loaded: the error that left nothing to run (a refused load) stays recorded.
    if (FStatus != isLoaded && FStatus != isPaused) return false;
    if (FStatus == isLoaded) FExceptionStack.clear();
    StoreException(-1, -1, ErNoError, {}, nullptr);
    const TPSStatus entryStatus = FStatus;
    switch (FStatus) {
        case isLoaded: {
            if (FMainProc == kNoMainProc) return false;
            TPSProcRec* main = GetProcNo(FMainProc);
            if (!main || main->IsExternal()) {
                CMD_Err(erNoMainProc);
                FStatus = isLoaded;
                return false;
            }
            EnterProc(static_cast<TPSInternalProcRec*>(main), 0);
            FCurrStackBase = -1;
            break;
        }
        case isPaused:
            break;
        default:
            return false;
    }
    ++fRunDepth;
    const bool lineHook = FOnRunLine || fWantsLineHook;
    do {
        FStatus = isRunning;
        RunLoop(entryStatus, lineHook);
    } while (!FExceptionStack.empty() && FStatus == isRunning);
    if (--fRunDepth == 0) fRetiredCode.clear();
    // A stop inside a script procedure that a host routine called ends the run it interrupted too:
    // the outer run winds up the stack once it is back in its own loop.
    if (FStatus == isLoaded && fRunDepth == 0) {
        FStack.Clear();
        if (FCallCleanup) Cleanup();
    }
    return ExEx == ErNoError;
}

void TPSExec::Stop() {
    if (FStatus == isRunning) {
        FStatus = isLoaded;
    } else if (FStatus == isPaused) {
        FStatus = isLoaded;
        FStack.Clear();
        FTempVars.Clear();
    }
}

void TPSExec::Pause() {
    if (FStatus == isRunning) FStatus = isPaused;
}

bool TPSExec::PopChecked() {
    const TPSVariant* top = FStack.Top();
    if (!top || top->FType == FReturnAddressType.get()) {
        CMD_Err(erOutOfStackRange);
        return false;
    }
    FStack.Pop();
    return true;
}

bool TPSExec::CallHost(TPSExternalProcRec& p) {
    const uint32_t serial = fErrorSerial;
    bool ok = false;
    try {
        ok = p.FProcPtr && p.FProcPtr(*this, p, FGlobalVars, FStack);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
    // An error the routine recorded here has unwound already. One that a script procedure it ran
    // left unhandled unwinds here as well; with none, the call itself failed.
    if (!ok && !(fErrorSerial != serial && fErrorDepth == fRunDepth)) {
        if (ExEx != ErNoError)
            StoreException(ExProc, ExPos, ExEx, ExParam, ExObject);
        else
            CMD_Err(erCouldNotCallProc);
    }
    return ok;
}

void TPSExec::BackOutOfUnenteredCall(uint32_t pushAt) {
    // A procedure's local variables are the pushes its code begins with, all on the stack above
    // its return address.
    uint32_t at = 0;
    while (at < pushAt && FData[at] == opPushNew) at += kPushNewLength;
    if (at != pushAt || FCurrStackBase < 0 ||
        FStack.Count() - 1 - FCurrStackBase != static_cast<int32_t>(at / kPushNewLength))
        return;
    TPSVariant* ret = FStack.GetItem(FCurrStackBase);
    if (!ret || ret->FType != FReturnAddressType.get()) return;
    const auto r = Load<ReturnAddressValue>(ret->Data());
    if (!r.Proc) return;  // a host called it: the host sees the error
    FStack.PopTo(FCurrStackBase);
    FCurrStackBase = r.StackBase;
    EnterProc(r.Proc, r.Position);
}

bool TPSExec::CallProc(TPSProcRec* p) {
    if (p->IsExternal()) return CallHost(*static_cast<TPSExternalProcRec*>(p));
    try {
        TPSVariant* ret = FStack.PushType(FReturnAddressType.get());
        Store(ret->Data(), ReturnAddressValue{FCurrProc, FCurrentPosition, FCurrStackBase});
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
    FCurrStackBase = FStack.Count() - 1;
    EnterProc(static_cast<TPSInternalProcRec*>(p), 0);
    return true;
}

// The instructions of loops and their counters in their common forms, done without any call;
// false leaves the instruction to Step, unread.
[[gnu::always_inline]] inline bool TPSExec::QuickStep(uint8_t opcode) {
    const uint32_t at = FCurrentPosition;
    TPSOperandRef a;
    switch (opcode) {
        case opJump:
            if (FDataLength - at < 4) return false;
            FCurrentPosition = at + 4 + Load<uint32_t>(FData + at);
            return true;
        case opJumpIfZero:
        case opJumpIfNotZero: {
            if (FDataLength - at < 4) return false;
            const uint32_t d = Load<uint32_t>(FData + at);
            FCurrentPosition = at + 4;
            if (!QuickOperand(a) || a.Type->FBaseType != btU8) break;
            if ((Load<uint8_t>(a.Data) != 0) == (opcode == opJumpIfNotZero)) FCurrentPosition += d;
            return true;
        }
        case opIncrement:
        case opDecrement:
            if (!QuickOperand(a) || a.Temp || (a.Type->FBaseType != btS32 && a.Type->FBaseType != btU32))
                break;
            Store<uint32_t>(a.Data, Load<uint32_t>(a.Data) + (opcode == opIncrement ? 1u : 0xFFFFFFFFu));
            return true;
        case opPop: {
            const TPSVariant* top = FStack.Top();
            if (!top || top->FType == FReturnAddressType.get()) return false;
            FStack.Pop();
            return true;
        }
        case opPushReference: {
            const TPSTypeRec* pt = PointerType();
            if (!QuickOperand(a) || a.Temp) break;
            TPSVariant* item = FStack.TryPushType(pt);
            if (!item) break;
            Store(item->Data(), PointerValue{a.Data, a.Type, 0});
            return true;
        }
        case opSetFlag: {
            if (!QuickOperand(a) || a.Type->FBaseType != btU8 || FCurrentPosition >= FDataLength) break;
            FJumpFlag = (Load<uint8_t>(a.Data) != 0) != (FData[FCurrentPosition++] != 0);
            return true;
        }
        case opJumpIfFlag:
            if (FDataLength - at < 4) return false;
            FCurrentPosition = at + 4 + (FJumpFlag ? Load<uint32_t>(FData + at) : 0);
            return true;
        case opCall: {
            if (FDataLength - at < 4) return false;
            TPSProcRec* p = GetProcNo(Load<uint32_t>(FData + at));
            if (!p || p->IsExternal()) return false;
            TPSVariant* ret = FStack.TryPushType(FReturnAddressType.get());
            if (!ret) return false;
            Store(ret->Data(), ReturnAddressValue{FCurrProc, at + 4, FCurrStackBase});
            FCurrStackBase = FStack.Count() - 1;
            EnterProc(static_cast<TPSInternalProcRec*>(p), 0);
            return true;
        }
        case opPushNew: {
            if (FDataLength - at < 4) return false;
            const TPSTypeRec* t = GetTypeNo(Load<uint32_t>(FData + at));
            if (!t || !FStack.TryPushType(t)) return false;
            FCurrentPosition = at + 4;
            return true;
        }
        case opAssign: {
            TPSOperandRef b;
            if (!QuickOperand(a) || a.Temp || !QuickOperand(b)) break;
            const uint8_t dt = a.Type->FBaseType, st = b.Type->FBaseType;
            if (dt == st && (dt == btS32 || dt == btU32)) {
                Store(a.Data, Load<uint32_t>(b.Data));
                return true;
            }
            // A string from a constant gets characters of its own: the full way.
            if ((b.Temp && quick::IsStringCode(dt)) || !quick::Assign(a.Data, dt, b.Data, st)) break;
            return true;
        }
        case opCalculate: {
            if (at >= FDataLength) return false;
            const uint8_t op = FData[at];
            FCurrentPosition = at + 1;
            TPSOperandRef b;
            if (!QuickOperand(a) || a.Temp || !QuickOperand(b)) break;
            const uint8_t lt = a.Type->FBaseType, rt = b.Type->FBaseType;
            if (lt == btS32 && rt == btS32) {
                int32_t x = Load<int32_t>(a.Data);
                if (!quick::LaneOp32(op, x, Load<int32_t>(b.Data))) break;
                Store(a.Data, x);
                return true;
            }
            if (!quick::Calculate(op, a.Data, lt, b.Data, rt)) break;
            return true;
        }
        case opCompare: {
            if (at >= FDataLength) return false;
            const uint8_t op = FData[at];
            FCurrentPosition = at + 1;
            TPSOperandRef b, c;
            if (op > cmpEqual || !QuickOperand(a) || a.Temp || a.Type->FBaseType != btU8 ||
                !QuickOperand(b) || !QuickOperand(c))
                break;
            if (b.Type->FBaseType == btS32 && c.Type->FBaseType == btS32) {
                Store<uint8_t>(a.Data, CompareS32(op, Load<int32_t>(b.Data), Load<int32_t>(c.Data)) ? 1 : 0);
                return true;
            }
            int order = 0;
            if (!quick::Compare(b.Data, b.Type->FBaseType, c.Data, c.Type->FBaseType, order)) break;
            Store<uint8_t>(a.Data, quick::FromOrder(op, order) ? 1 : 0);
            return true;
        }
        default:
            return false;
    }
    FCurrentPosition = at;
    return false;
}

bool TPSExec::StepBytes(TPSStatus entryStatus) {
    if (FCurrentPosition >= FDataLength) {
        CMD_Err(ErOutOfRange);
        return false;
    }
    const uint32_t serial = fErrorSerial;
    const uint8_t opcode = FData[FCurrentPosition++];
    if (QuickStep(opcode) || Step(opcode, entryStatus)) return true;
    // Every failing instruction leaves an error behind.
    if (fErrorSerial == serial) CMD_Err(ErInternalError);
    return false;
}

bool TPSExec::Step(uint8_t opcode, TPSStatus entryStatus) {
    TPSOperandRef a, b, c;
    switch (opcode) {
        case opAssign:
            if (!ReadDestination(a, true) || !ReadSource(b) || !AssignValue(a.Data, b.Data, a.Type, b.Type))
                return false;
            if (b.Temp) {
                try {
                    KeepConstantUnshared(b.Data, b.Type);
                } catch (...) {
                    HandleException(std::current_exception());
                    return false;
                }
            }
            return true;
        case opCalculate: {
            uint8_t op = 0;
            return ReadCode8(op) && ReadDestination(a, true) && ReadSource(b) &&
                   CalculateInPlace(a.Data, b.Data, op, b.Type, a.Type);
        }
        case opPushValue: {
            if (!ReadSource(a)) return false;
            try {
                TPSVariant* item = FStack.PushType(a.Type);
                if (!AssignValue(item->Data(), a.Data, a.Type, a.Type)) return false;
                if (a.Temp) KeepConstantUnshared(a.Data, a.Type);
                return true;
            } catch (...) {
                HandleException(std::current_exception());
                return false;
            }
        }
        case opPushReference: {
            if (!ReadDestination(a, true)) return false;
            try {
                TPSVariant* item = FStack.PushType(PointerType());
                PointValueAt(item->Data(), a.Data, a.Type);
            } catch (...) {
                HandleException(std::current_exception());
                return false;
            }
            return true;
        }
        case opPop:
            return PopChecked();
        case opCall: {
            uint32_t n = 0;
            if (!ReadCode32(n)) return false;
            TPSProcRec* p = GetProcNo(n);
            if (!p) {
                CMD_Err(erOutOfProcRange);
                return false;
            }
            return CallProc(p);
        }
        case opJump:
        case opJumpIfFlag:
        case opPopJump:
        case opPopPopJump: {
            uint32_t d = 0;
            if (!ReadCode32(d)) return false;
            if (opcode == opPopJump || opcode == opPopPopJump) {
                if (!PopChecked()) return false;
                if (opcode == opPopPopJump && !PopChecked()) return false;
            }
            if (opcode != opJumpIfFlag || FJumpFlag) JumpTo(FCurrentPosition + d);
            return true;
        }
        case opJumpIfNotZero:
        case opJumpIfZero: {
            uint32_t d = 0;
            if (!ReadCode32(d) || !ReadSource(a)) return false;
            if (!IsNarrowIntegerCode(a.Type->FBaseType)) {
                CMD_Err(erInvalidType);
                return false;
            }
            if ((OrdinalValue(a) != 0) == (opcode == opJumpIfNotZero)) JumpTo(FCurrentPosition + d);
            return true;
        }
        case opReturn:
            return DoReturn(entryStatus);
        case opPushNew: {
            uint32_t n = 0;
            if (!ReadCode32(n)) return false;
            const TPSTypeRec* t = GetTypeNo(n);
            if (!t) {
                CMD_Err(erInvalidType);
                return false;
            }
            try {
                FStack.PushType(t);
            } catch (const EStackOverflow&) {
                // A procedure that has no room for its local variables was never entered: the error
                // stands at the call, as when its return address finds no room.
                BackOutOfUnenteredCall(FCurrentPosition - kPushNewLength);
                CMD_Err(erOutOfStackRange);
                return false;
            } catch (...) {
                HandleException(std::current_exception());
                return false;
            }
            return true;
        }
        case opCompare: {
            uint8_t op = 0;
            if (!ReadCode8(op) || !ReadDestination(a, true) || !ReadSource(b) || !ReadSource(c)) return false;
            return CompareValues(b.Data, c.Data, a.Data, b.Type, c.Type, a.Type, op);
        }
        case opCallValue: {
            if (!ReadSource(a)) return false;
            if (a.Type->FBaseType != btProcPtr) {
                CMD_Err(ErTypeMismatch);
                return false;
            }
            const auto pv = Load<ProcPtrValue>(a.Data);
            if (pv.ProcNo == 0 && pv.Code) return CallMethodPointer(pv, a.Type);
            TPSProcRec* p = GetProcNo(pv.ProcNo);
            if (!p || pv.ProcNo == FMainProc) {
                CMD_Err(erOutOfProcRange);
                return false;
            }
            return CallProc(p);
        }
        case opSetPointer: {
            if (!ReadPlace(a, false)) return false;
            if (a.Temp || a.Type->FBaseType != btPointer) {
                CMD_Err(erInvalidOpcodeParameter);
                return false;
            }
            if (!ReadPlace(b, false)) return false;
            if (b.Temp) {
                CMD_Err(erInvalidOpcodeParameter);
                return false;
            }
            if (!DerefOperand(b)) {
                CMD_Err(erNullPointerException);
                return false;
            }
            // A copy the pointer owned goes first: it now refers to a value owned elsewhere.
            auto p = Load<PointerValue>(a.Data);
            if (p.Owned != 0 && p.Data) DisposeRawValue(p.Data, p.Type);
            Store(a.Data, PointerValue{b.Data, b.Type, 0});
            return true;
        }
        case opBooleanNot:
        case opNegate:
        case opBitwiseNot:
            if (!ReadSource(a)) return false;
            if (a.Temp) return true;  // a constant: nothing to change
            if (opcode == opBooleanNot) return LogicalNot(a.Data, a.Type);
            if (opcode == opNegate) return NegateValue(a.Data, a.Type);
            return BitwiseNot(a.Data, a.Type);
        case opSetFlag: {
            if (!ReadSource(a)) return false;
            if (!IsNarrowIntegerCode(a.Type->FBaseType)) {
                CMD_Err(erInvalidType);
                return false;
            }
            uint8_t invert = 0;
            if (!ReadCode8(invert)) return false;
            FJumpFlag = (OrdinalValue(a) != 0) != (invert != 0);
            return true;
        }
        case opPushFrame:
            return DoPushFrame();
        case opPopFrame: {
            uint8_t sub = 0;
            return ReadCode8(sub) && DoPopFrame(sub);
        }
        case opSetPointerCopy:
            return DoSetPointerCopy();
        case opIncrement:
        case opDecrement: {
            if (!ReadDestination(a, true)) return false;
            const int64_t delta = opcode == opIncrement ? 1 : -1;
            switch (a.Type->FBaseType) {
                case btU8:
                case btS8:
                    Store<uint8_t>(a.Data, static_cast<uint8_t>(Load<uint8_t>(a.Data) + delta));
                    return true;
                case btU16:
                case btS16:
                    Store<uint16_t>(a.Data, static_cast<uint16_t>(Load<uint16_t>(a.Data) + delta));
                    return true;
                case btU32:
                case btS32:
                    Store<uint32_t>(a.Data, static_cast<uint32_t>(Load<uint32_t>(a.Data) + delta));
                    return true;
                case btS64:
                    Store<uint64_t>(a.Data, Load<uint64_t>(a.Data) + static_cast<uint64_t>(delta));
                    return true;
                default:
                    CMD_Err(ErTypeMismatch);
                    return false;
            }
        }
        case opNop:
            return true;
        default:
            CMD_Err(erInvalidOpcode);
            return false;
    }
}

bool TPSExec::DoSetPointerCopy() {
    TPSOperandRef a, b;
    if (!ReadOperand(a, false)) return false;
    if (a.Temp || a.Type->FBaseType != btPointer) {
        CMD_Err(erInvalidOpcodeParameter);
        return false;
    }
    if (!ReadOperand(b, false)) return false;
    auto p = Load<PointerValue>(a.Data);
    if (p.Owned != 0 && p.Data) DisposeRawValue(p.Data, p.Type);
    Store(a.Data, PointerValue{nullptr, nullptr, 0});
    const void* src = b.Data;
    const TPSTypeRec* t = b.Type;
    intptr_t owned = -1;
    if (t->FBaseType == btPointer) {
        const auto sp = Load<PointerValue>(b.Data);
        if (!sp.Data) return true;
        src = sp.Data;
        t = sp.Type;
        owned = 1;
    }
    try {
        void* copy = NewRawValue(t);
        Store(a.Data, PointerValue{copy, t, owned});
        if (!CopyValues(copy, src, 1, t)) {
            CMD_Err(ErTypeMismatch);
            return false;
        }
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
    return true;
}

// ---- calls and returns

bool TPSExec::DoReturn(TPSStatus entryStatus) {
    // The return waits for the finally parts of its procedure: the frame whose finally part runs
    // keeps the return's position (a call made inside the finally part returns on its own).
    const uint32_t returnAt = FCurrentPosition - 1;
    while (!FExceptionStack.empty()) {
        Frame& f = FExceptionStack.back();
        if (!f.CurrProc || f.BasePtr < FCurrStackBase) break;
        FStack.PopTo(f.StackSize);
        FCurrStackBase = f.BasePtr;
        if (f.FinallyOffset != kUnset) {
            JumpTo(f.FinallyOffset);
            f.FinallyOffset = kUnset;
            f.ReturnTarget = returnAt;
            return true;
        }
        if (f.Finally2Offset != kUnset) {
            JumpTo(f.Finally2Offset);
            f.Finally2Offset = kUnset;
            f.ReturnTarget = returnAt;
            return true;
        }
        FExceptionStack.pop_back();
    }
    if (FCurrStackBase < 0) {
        // The main procedure ended: the run is over, also when it was paused on the way.
        FStatus = isLoaded;
        return true;
    }
    FStack.PopTo(FCurrStackBase + 1);
    TPSVariant* ret = FStack.GetItem(FCurrStackBase);
    if (!ret || ret->FType != FReturnAddressType.get()) {
        CMD_Err(erOutOfStackRange);
        return false;
    }
    const auto r = Load<ReturnAddressValue>(ret->Data());
    FStack.Pop();
    FCurrStackBase = r.StackBase;
    if (!r.Proc) {
        FStatus = entryStatus;  // back to the host that called
        return true;
    }
    EnterProc(r.Proc, r.Position);
    return true;
}

// ---- exception frames

bool TPSExec::DoPushFrame() {
    Frame f;
    f.CurrProc = FCurrProc;
    f.BasePtr = FCurrStackBase;
    f.StackSize = FStack.Count();
    uint32_t d[4];
    for (uint32_t& x : d)
        if (!ReadCode32(x)) return false;
    uint32_t* parts[4] = {&f.FinallyOffset, &f.ExceptOffset, &f.Finally2Offset, &f.EndOfBlock};
    for (int i = 0; i < 4; ++i) {
        if (d[i] == kUnset) continue;
        const int64_t at = int64_t{FCurrentPosition} + static_cast<int32_t>(d[i]);
        if (at < 0 || at >= FDataLength) {
            CMD_Err(ErOutOfRange);
            return false;
        }
        *parts[i] = static_cast<uint32_t>(at);
    }
    FExceptionStack.push_back(std::move(f));
    return true;
}

void TPSExec::ReraiseRecorded() {
    StoreException(ExProc, ExPos, ExEx, ExParam, ExObject);
}

// Frees the innermost frame and goes on: the recorded error again, or where the statement was left
// early, the return that waits, the end of the statement.
bool TPSExec::LeaveFrame(bool endOfBlock) {
    const Frame& f = FExceptionStack.back();
    const uint32_t next = f.LeaveTarget != kUnset    ? f.LeaveTarget
                          : f.ReturnTarget != kUnset ? f.ReturnTarget
                                                     : f.EndOfBlock;
    FExceptionStack.pop_back();
    if (ExEx != ErNoError && endOfBlock) {
        ReraiseRecorded();
        return true;
    }
    JumpTo(next);
    return true;
}

bool TPSExec::DoPopFrame(uint8_t sub) {
    if (FExceptionStack.empty() || !FExceptionStack.back().CurrProc) {
        CMD_Err(ErOutOfRange);
        return false;
    }
    Frame& f = FExceptionStack.back();
    switch (sub) {
        case frameEndTry:
            if (f.FinallyOffset != kUnset) {
                JumpTo(f.FinallyOffset);
                f.FinallyOffset = kUnset;
                return true;
            }
            if (f.Finally2Offset != kUnset) {
                // The except part is skipped; the second finally part runs once.
                JumpTo(f.Finally2Offset);
                f.Finally2Offset = kUnset;
                f.ExceptOffset = kUnset;
                return true;
            }
            return LeaveFrame(true);
        case frameEndFinally:
            if (ExEx != ErNoError && f.ExceptOffset != kUnset &&
                f.ExceptOffset != Frame::kFrameExceptRunning) {
                JumpTo(f.ExceptOffset);
                f.ExceptOffset = Frame::kFrameExceptRunning;
                f.ExceptionData = ExEx;
                f.ExceptionObject = ExObject;
                f.ExceptionParam = ExParam;
                f.ExceptionProc = ExProc;
                f.ExceptionPos = ExPos;
                ExEx = ErNoError;
                ExObject = nullptr;
                ExParam.clear();
                return true;
            }
            if (f.Finally2Offset != kUnset) {
                JumpTo(f.Finally2Offset);
                f.Finally2Offset = kUnset;
                return true;
            }
            return LeaveFrame(f.EndOfBlock != kUnset);
        case frameEndExcept:
            f.ExceptOffset = kUnset;
            if (f.Finally2Offset != kUnset) {
                JumpTo(f.Finally2Offset);
                f.Finally2Offset = kUnset;
                return true;
            }
            return LeaveFrame(false);
        case frameEndSecondFinally:
            return LeaveFrame(true);
        case frameLeave: {
            // break or continue leaves the statement: its pending finally part runs first.
            const uint32_t after = FCurrentPosition;
            if (f.FinallyOffset != kUnset) {
                JumpTo(f.FinallyOffset);
                f.FinallyOffset = kUnset;
                f.LeaveTarget = after;
                return true;
            }
            if (f.Finally2Offset != kUnset) {
                JumpTo(f.Finally2Offset);
                f.Finally2Offset = kUnset;
                f.ExceptOffset = kUnset;
                f.LeaveTarget = after;
                return true;
            }
            FExceptionStack.pop_back();
            if (ExEx != ErNoError) ReraiseRecorded();
            return true;
        }
        default:
            return true;
    }
}

void TPSExec::StoreException(int32_t proc, int32_t position, TPSError ex, std::string s,
                             std::exception_ptr newObject) {
    ExProc = proc;
    ExPos = position;
    ExEx = ex;
    ExParam = std::move(s);
    ExObject = std::move(newObject);
    if (ex == ErNoError) return;
    ++fErrorSerial;
    if (fQuiet > 0) return;
    fErrorDepth = fRunDepth;
    while (!FExceptionStack.empty()) {
        Frame& f = FExceptionStack.back();
        FStack.PopTo(f.StackSize);
        if (!f.CurrProc) {
            // A barrier of a host's call into the script: the error goes back to the host.
            FExceptionStack.pop_back();
            FCurrStackBase = -1;
            FStatus = isPaused;
            return;
        }
        EnterProc(f.CurrProc, FCurrentPosition);
        FCurrStackBase = f.BasePtr;
        if (f.FinallyOffset != kUnset) {
            JumpTo(f.FinallyOffset);
            f.FinallyOffset = kUnset;
            return;
        }
        if (f.ExceptOffset != kUnset && f.ExceptOffset != Frame::kFrameExceptRunning) {
            JumpTo(f.ExceptOffset);
            f.ExceptOffset = Frame::kFrameExceptRunning;
            f.ExceptionData = ExEx;
            f.ExceptionObject = std::move(ExObject);
            f.ExceptionParam = std::move(ExParam);
            f.ExceptionProc = ExProc;
            f.ExceptionPos = ExPos;
            ExEx = ErNoError;
            ExObject = nullptr;
            ExParam.clear();
            return;
        }
        if (f.Finally2Offset != kUnset) {
            JumpTo(f.Finally2Offset);
            f.Finally2Offset = kUnset;
            return;
        }
        FExceptionStack.pop_back();
    }
    if (FStatus != isNotLoaded) FStatus = isPaused;
}

// ---- the current exception

TPSError TPSExec::LastEx() const {
    return FExceptionStack.empty() ? ExEx : FExceptionStack.back().ExceptionData;
}

std::string TPSExec::LastExParam() const {
    return FExceptionStack.empty() ? ExParam : FExceptionStack.back().ExceptionParam;
}

int32_t TPSExec::LastExProc() const {
    return FExceptionStack.empty() ? ExProc : FExceptionStack.back().ExceptionProc;
}

int32_t TPSExec::LastExPos() const {
    return FExceptionStack.empty() ? ExPos : FExceptionStack.back().ExceptionPos;
}

std::exception_ptr TPSExec::LastExObject() const {
    return FExceptionStack.empty() ? ExObject : FExceptionStack.back().ExceptionObject;
}

bool TPSExec::RaiseHandledException() {
    if (FExceptionStack.empty() || FExceptionStack.back().ExceptOffset != Frame::kFrameExceptRunning)
        return false;
    Frame& f = FExceptionStack.back();
    std::exception_ptr obj = std::move(f.ExceptionObject);
    f.ExceptionObject = nullptr;
    const TPSError code = f.ExceptionData;
    std::string param = f.ExceptionParam;
    StoreException(f.ExceptionProc, f.ExceptionPos, code, std::move(param), std::move(obj));
    return true;
}

void TPSExec::RaiseCurrentException() {
    if (ExEx == ErNoError) return;
    if (ExObject) {
        std::exception_ptr e = std::move(ExObject);
        ExObject = nullptr;
        std::rethrow_exception(e);
    }
    throw EPSException(ErrorToText(ExEx, ExParam), this, static_cast<uint32_t>(ExProc),
                       static_cast<uint32_t>(ExPos));
}

}  // namespace tv::script
