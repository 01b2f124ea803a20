#include "script/runtime/debug_exec.h"

#include "script/common/byte_io.h"
#include "script/runtime/value_text.h"

namespace tv::script {

namespace {

// A list of names, each ended by byte 1, the list by byte 0; false when it is cut short.
bool ReadNames(ByteReader& r, std::vector<std::string>& out) {
    for (;;) {
        uint8_t b = 0;
        if (!r.ReadU8(b)) return false;
        if (b == static_cast<uint8_t>(kDebugListEnd)) return true;
        std::string name;
        while (b != static_cast<uint8_t>(kDebugNameEnd)) {
            name.push_back(static_cast<char>(b));
            if (!r.ReadU8(b)) return false;
        }
        out.push_back(std::move(name));
    }
}

bool ReadFileName(ByteReader& r, std::string& out) {
    uint8_t b = 0;
    for (;;) {
        if (!r.ReadU8(b)) return false;
        if (b == static_cast<uint8_t>(kDebugNameEnd)) return true;
        out.push_back(static_cast<char>(b));
    }
}

}  // namespace

void TPSCustomDebugExec::Clear() {
    TPSExec::Clear();
    ClearDebugData();
}

void TPSCustomDebugExec::ClearDebugData() {
    InvalidateDecodedCode();
    FDebugDataForProcs.clear();
    FLastProc = nullptr;
    FCurrentDebugProc = nullptr;
    fLineHookProc = nullptr;
    fLineHookPositions = nullptr;
    fLineHookPositionCount = 0;
    FProcNames.clear();
    FGlobalVarNames.clear();
    FCurrentSourcePos = FCurrentRow = FCurrentCol = 0;
    FCurrentFile.clear();
}

std::span<const uint32_t> TPSCustomDebugExec::FilteredHookPositions(const TPSProcRec* p) const {
    const TPSProcDebugRecord* rec = FindDebugRecord(p);
    return rec ? std::span<const uint32_t>(rec->ExactIndex) : std::span<const uint32_t>();
}

TPSProcDebugRecord* TPSCustomDebugExec::FindDebugRecord(const TPSProcRec* proc) const {
    for (auto it = FDebugDataForProcs.rbegin(); it != FDebugDataForProcs.rend(); ++it)
        if ((*it)->Proc == proc) return it->get();
    return nullptr;
}

void TPSCustomDebugExec::LoadDebugData(std::string_view data) {
    ClearDebugData();
    if (FStatus == isNotLoaded) return;
    ByteReader r(data);
    TPSProcDebugRecord* current = nullptr;
    uint32_t currentNo = 0;
    bool haveCurrent = false;
    // The debug record of procedure `no`; nil (reading stops) for -1 or an unknown procedure.
    auto recordOf = [&](uint32_t no) -> TPSProcDebugRecord* {
        if (haveCurrent && no == currentNo) return current;
        if (no == UINT32_MAX || no >= FProcs.size()) return nullptr;
        TPSProcRec* proc = FProcs[no].get();
        current = FindDebugRecord(proc);
        if (!current) {
            FDebugDataForProcs.push_back(std::make_unique<TPSProcDebugRecord>());
            current = FDebugDataForProcs.back().get();
            current->Proc = proc;
        }
        currentNo = no;
        haveCurrent = true;
        return current;
    };
    uint8_t code = 0;
    bool reading = true;
    while (reading && r.ReadU8(code)) {
        uint32_t no = 0;
        switch (code) {
            case dbgProcNames:
                reading = ReadNames(r, FProcNames);
                break;
            case dbgVarNames:
                reading = ReadNames(r, FGlobalVarNames);
                break;
            case dbgParamNames:
            case dbgLocalNames: {
                TPSProcDebugRecord* rec = r.ReadU32(no) ? recordOf(no) : nullptr;
                reading = rec && ReadNames(r, code == dbgParamNames ? rec->ParamNames : rec->VarNames);
                break;
            }
            case dbgPosition: {
                TPositionData d;
                TPSProcDebugRecord* rec =
                    ReadFileName(r, d.FileName) && r.ReadU32(no) ? recordOf(no) : nullptr;
                reading = rec && r.ReadU32(d.Position) && r.ReadU32(d.SourcePosition) && r.ReadU32(d.Row) &&
                          r.ReadU32(d.Col);
                if (reading) rec->Positions.push_back(std::move(d));
                break;
            }
            default:
                ClearDebugData();
                return;
        }
    }
    for (auto& rec : FDebugDataForProcs) {
        const auto* ip = dynamic_cast<const TPSInternalProcRec*>(rec->Proc);
        if (!ip) continue;
        rec->ExactIndex.assign(ip->FLength, 0);
        for (size_t i = 0; i < rec->Positions.size(); ++i) {
            const uint32_t at = rec->Positions[i].Position;
            if (at < ip->FLength && !rec->ExactIndex[at]) rec->ExactIndex[at] = static_cast<uint32_t>(i + 1);
        }
    }
}

bool TPSCustomDebugExec::TranslatePositionEx(uint32_t proc, uint32_t position, uint32_t& pos, uint32_t& row,
                                             uint32_t& col, std::string& fileName) const {
    const TPSProcDebugRecord* rec = FindDebugRecord(GetProcNo(proc));
    if (!rec || !rec->Proc) return false;
    const TPositionData* last = nullptr;
    for (const TPositionData& d : rec->Positions) {
        if (d.Position < position) {
            last = &d;
            continue;
        }
        if (d.Position == position) last = &d;
        break;
    }
    pos = last ? last->SourcePosition : 0;
    row = last ? last->Row : 0;
    col = last ? last->Col : 0;
    fileName = last ? last->FileName : std::string();
    return true;
}

uint32_t TPSCustomDebugExec::TranslatePosition(uint32_t proc, uint32_t position) const {
    uint32_t pos = 0, row = 0, col = 0;
    std::string fn;
    return TranslatePositionEx(proc, position, pos, row, col, fn) ? pos : 0;
}

uint32_t TPSCustomDebugExec::GetCurrentProcNo() const {
    const int32_t n = ProcNumber(FCurrProc);
    return n < 0 ? UINT32_MAX : static_cast<uint32_t>(n);
}

uint32_t TPSCustomDebugExec::GetCurrentPosition() const {
    return TranslatePosition(GetCurrentProcNo(), 0);
}

const std::vector<std::string>* TPSCustomDebugExec::GetCurrentProcParams() const {
    const TPSProcDebugRecord* rec = FindDebugRecord(FCurrProc);
    return rec ? &rec->ParamNames : nullptr;
}

const std::vector<std::string>* TPSCustomDebugExec::GetCurrentProcVars() const {
    const TPSProcDebugRecord* rec = FindDebugRecord(FCurrProc);
    return rec ? &rec->VarNames : nullptr;
}

namespace {
// The stack item `offset` places from the stack base; counted in 64 bits, so that a number beyond
// the stack gives nil instead of wrapping round to another item.
TPSVariant* ItemFromBase(const TPSStack& stack, int32_t base, int64_t offset) {
    const int64_t at = int64_t{base} + offset;
    return at >= 0 && at < stack.Count() ? stack.GetItem(static_cast<int32_t>(at)) : nullptr;
}
}  // namespace

TPSVariant* TPSCustomDebugExec::GetProcParam(uint32_t i) const {
    return ItemFromBase(FStack, FCurrStackBase, -int64_t{i} - 1);
}

TPSVariant* TPSCustomDebugExec::GetProcVar(uint32_t i) const {
    return ItemFromBase(FStack, FCurrStackBase, int64_t{i} + 1);
}

std::string TPSCustomDebugExec::ParamText(const std::vector<std::string>& names, int32_t base) const {
    std::string s;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || names[i] == "Result") continue;
        TPSVariant* item = FStack.GetItem(base - static_cast<int32_t>(i) - 1);
        s.append(names[i])
            .append(": ")
            .append(item ? ValueToText(MakeValueRef(item, false), {}) : "nil")
            .append("; ");
    }
    if (s.size() >= 2) s.resize(s.size() - 2);
    return s;
}

std::string TPSCustomDebugExec::GetCallStack(uint32_t& count) const {
    count = 0;
    const TPSProcDebugRecord* rec = FindDebugRecord(FCurrProc);
    if ((FStatus != isRunning && FStatus != isPaused) || !rec) return {};
    const uint32_t no = GetCurrentProcNo();
    std::string s = no < FProcNames.size() ? FProcNames[no] : std::string();
    s.append("(").append(ParamText(rec->ParamNames, FCurrStackBase)).append(")");
    count = 1;
    int32_t base = FCurrStackBase;
    while (base > 0) {
        const TPSVariant* item = FStack.GetItem(base);
        if (!item || item->FType != ReturnAddressType()) break;
        const auto ret = Load<ReturnAddressValue>(const_cast<TPSVariant*>(item)->Data());
        if (!ret.Proc) break;
        const int32_t callerNo = ProcNumber(ret.Proc);
        const std::string name = callerNo > 0 && static_cast<size_t>(callerNo) < FProcNames.size()
                                     ? FProcNames[static_cast<size_t>(callerNo)]
                                     : ret.Proc->FExportName;
        base = ret.StackBase;
        const TPSProcDebugRecord* caller = FindDebugRecord(ret.Proc);
        s.append("\r\n").append(name);
        if (caller)
            s.append("(").append(ParamText(caller->ParamNames, base)).append(")");
        else
            s.append("(\?\?\?)");
        ++count;
    }
    return s;
}

// ---- the debugging executor

TPSDebugExec::TPSDebugExec() {
    fWantsLineHook = FDebugEnabled;
    SetDebugMode(FDebugMode);
}

void TPSDebugExec::SetDebugEnabled(bool enabled) {
    FDebugEnabled = enabled;
    fWantsLineHook = enabled;
    SetDebugMode(FDebugMode);
}

bool TPSDebugExec::LoadData(std::string_view s) {
    const bool ok = TPSCustomDebugExec::LoadData(s);
    SetDebugMode(dmRun);
    return ok;
}

void TPSDebugExec::ClearDebugData() {
    TPSCustomDebugExec::ClearDebugData();
    SetDebugMode(dmRun);
}

void TPSDebugExec::StepOver() {
    FStepOverProc = FCurrProc;
    FStepOverStackBase = FCurrStackBase;
    SetDebugMode(dmStepOver);
}

void TPSDebugExec::Stop() {
    SetDebugMode(dmRun);
    TPSCustomDebugExec::Stop();
}

void TPSDebugExec::DoRunLine() {
    TPSExec::DoRunLine();
    if (!FDebugEnabled) return;
    if (FCurrProc != FLastProc) {
        FLastProc = FCurrProc;
        FCurrentDebugProc = FindDebugRecord(FCurrProc);
    }
    if (FCurrentDebugProc) {
        if (const TPositionData* d = FCurrentDebugProc->At(FCurrentPosition)) {
            FCurrentSourcePos = d->SourcePosition;
            FCurrentRow = d->Row;
            FCurrentCol = d->Col;
            FCurrentFile = d->FileName;
            SourceLine();
        }
    } else {
        FCurrentSourcePos = FCurrentRow = FCurrentCol = 0;
        FCurrentFile.clear();
    }
    while (FDebugMode == dmPaused && OnIdleCall) OnIdleCall(*this);
    // Until the procedure changes, the next instruction that needs the hook is one with an entry.
    fLineHookProc = FLastProc;
    fLineHookPositions = FCurrentDebugProc ? FCurrentDebugProc->ExactIndex.data() : nullptr;
    fLineHookPositionCount = FCurrentDebugProc ? FCurrentDebugProc->ExactIndex.size() : 0;
}

void TPSDebugExec::SourceLine() {
    if (FDebugMode == dmStepInto) {
        SetDebugMode(dmPaused);
    } else if (FDebugMode == dmStepOver) {
        // Pause unless this line lies in a procedure the stepped frame called.
        bool inCallee = false;
        if (FCurrProc != FStepOverProc || FCurrStackBase != FStepOverStackBase) {
            for (int32_t base = FCurrStackBase; base > FStepOverStackBase;) {
                TPSVariant* item = FStack.GetItem(base);
                if (!item || item->FType != ReturnAddressType())
                    throw Exception(std::string(kExpectedReturnAddress));
                const auto ret = Load<ReturnAddressValue>(item->Data());
                if (ret.Proc == FStepOverProc && ret.StackBase == FStepOverStackBase) {
                    inCallee = true;
                    break;
                }
                base = ret.StackBase;
            }
        }
        if (!inCallee) SetDebugMode(dmPaused);
    }
    if (OnSourceLine) OnSourceLine(*this, FCurrentFile, FCurrentSourcePos, FCurrentRow, FCurrentCol);
}

}  // namespace tv::script
