#pragma once
// Executors that know the debug information the compiler writes beside a script: the names of
// procedures, variables and parameters, and per procedure where each code position comes from in the
// source. TPSCustomDebugExec translates code positions to source positions and reads the current
// procedure, its values and the call stack; TPSDebugExec adds a hook before every instruction that
// keeps the current source position, fires a source-line event, steps and pauses.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/runtime/exec.h"

namespace tv::script {

inline constexpr std::string_view kExpectedReturnAddress = "Expected return address at stack base";

// One entry of a procedure's position table.
struct TPositionData {
    std::string FileName;
    uint32_t Position = 0;  // code offset within the procedure
    uint32_t Row = 0;
    uint32_t Col = 0;
    uint32_t SourcePosition = 0;
};

// The debug information of one procedure.
struct TPSProcDebugRecord {
    TPSProcRec* Proc = nullptr;
    std::vector<std::string> ParamNames;
    std::vector<std::string> VarNames;
    std::vector<TPositionData> Positions;  // in stream order
    // For each code position, 1 + the index of the first entry at exactly that position (0: none);
    // the hook looks every instruction up here instead of walking the table.
    std::vector<uint32_t> ExactIndex;
    const TPositionData* At(uint32_t position) const {
        return position < ExactIndex.size() && ExactIndex[position] ? &Positions[ExactIndex[position] - 1]
                                                                    : nullptr;
    }
};

class TPSCustomDebugExec : public TPSExec {
public:
    void Clear() override;
    // Forgets all debug information and the current source position.
    virtual void ClearDebugData();
    // Replaces the debug information by the stream's; reading is tolerant: it stops at a cut record
    // or an unknown procedure keeping what it read, and clears everything for an unknown record code.
    void LoadDebugData(std::string_view data);

    // The source position of code position `position` in procedure `proc`; 0 when unknown.
    uint32_t TranslatePosition(uint32_t proc, uint32_t position) const;
    // Source position, row, column and file of a code position: the entry at that position, else
    // the last one before it, else zeros; false when the procedure has no debug information.
    bool TranslatePositionEx(uint32_t proc, uint32_t position, uint32_t& pos, uint32_t& row, uint32_t& col,
                             std::string& fileName) const;

    // The current procedure's number, UINT32_MAX when there is none.
    uint32_t GetCurrentProcNo() const;
    uint32_t GetCurrentPosition() const;
    const std::vector<std::string>* GetCurrentProcParams() const;
    const std::vector<std::string>* GetCurrentProcVars() const;
    TPSVariant* GetGlobalVar(uint32_t i) const { return GetVarNo(i); }
    TPSVariant* GetProcParam(uint32_t i) const;
    TPSVariant* GetProcVar(uint32_t i) const;
    // The call stack, the current procedure first, one line per frame ("Name(A: 1; B: 'x')", a caller
    // without debug information "Name(???)") joined by CR LF; empty unless running or paused.
    std::string GetCallStack(uint32_t& count) const;

    const std::vector<std::string>& ProcNames() const { return FProcNames; }
    const std::vector<std::string>& GlobalVarNames() const { return FGlobalVarNames; }
    uint32_t CurrentSourcePos() const { return FCurrentSourcePos; }
    uint32_t CurrentRow() const { return FCurrentRow; }
    uint32_t CurrentCol() const { return FCurrentCol; }
    const std::string& CurrentFile() const { return FCurrentFile; }

protected:
    std::span<const uint32_t> FilteredHookPositions(const TPSProcRec* p) const override;
    TPSProcDebugRecord* FindDebugRecord(const TPSProcRec* proc) const;
    std::string ParamText(const std::vector<std::string>& names, int32_t base) const;

    std::vector<std::unique_ptr<TPSProcDebugRecord>> FDebugDataForProcs;
    const TPSProcRec* FLastProc = nullptr;
    TPSProcDebugRecord* FCurrentDebugProc = nullptr;
    std::vector<std::string> FProcNames;
    std::vector<std::string> FGlobalVarNames;
    uint32_t FCurrentSourcePos = 0, FCurrentRow = 0, FCurrentCol = 0;
    std::string FCurrentFile;
};

enum TDebugMode : uint8_t { dmRun, dmStepOver, dmStepInto, dmPaused };

class TPSDebugExec : public TPSCustomDebugExec {
public:
    using TOnIdleCall = std::function<void(TPSDebugExec& sender)>;
    using TOnSourceLine = std::function<void(TPSDebugExec& sender, const std::string& name, uint32_t position,
                                             uint32_t row, uint32_t col)>;

    TPSDebugExec();

    bool LoadData(std::string_view s) override;
    void ClearDebugData() override;
    void Run() { SetDebugMode(dmRun); }
    void StepInto() { SetDebugMode(dmStepInto); }
    void StepOver();
    void Pause() override { SetDebugMode(dmPaused); }
    void Stop() override;

    TDebugMode DebugMode() const { return FDebugMode; }
    // Whether the hook does more than the executor's own line callback (on after construction).
    bool DebugEnabled() const { return FDebugEnabled; }
    void SetDebugEnabled(bool enabled);

    TOnIdleCall OnIdleCall;
    TOnSourceLine OnSourceLine;

protected:
    void DoRunLine() override;

private:
    void SourceLine();
    // The hook has work only at positions with debug information while the run is neither stepped
    // nor paused: the interpreter skips it elsewhere.
    void SetDebugMode(TDebugMode mode) {
        FDebugMode = mode;
        fLineHookFiltered = FDebugEnabled && mode == dmRun;
    }

    TDebugMode FDebugMode = dmRun;
    const TPSProcRec* FStepOverProc = nullptr;
    int32_t FStepOverStackBase = -1;
    bool FDebugEnabled = true;
};

}  // namespace tv::script
