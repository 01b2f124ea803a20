// Calling script procedures from the host: with heap values as parameters (RunProc), or with
// variants (RunProcP and its forms), while a script runs or outside a run.

#include <memory>

#include "script/common/names.h"
#include "script/common/number_text.h"
#include "script/runtime/exec.h"
#include "script/runtime/variant_value.h"

namespace tv::script {

namespace {
constexpr std::string_view kUnknownProcedure = "Unknown procedure";
constexpr std::string_view kNotEnoughParameters = "Not enough parameters";
constexpr std::string_view kInvalidParameter = "Invalid parameter";
constexpr std::string_view kTooManyParameters = "Too many parameters";
constexpr std::string_view kInvalidCast = "Invalid class typecast";

// Heap values owned for the length of a call.
struct HeapList {
    std::vector<TPSVariant*> items;
    ~HeapList() {
        for (auto it = items.rbegin(); it != items.rend(); ++it) DestroyHeapValue(*it);
    }
};
}  // namespace

bool TPSExec::RunProc(const std::vector<TPSVariant*>* params, uint32_t procNo) {
    if (FStatus == isNotLoaded) return false;
    TPSProcRec* p = GetProcNo(procNo);
    if (!p) {
        CMD_Err(erOutOfProcRange);
        return false;
    }
    // Everything is put back as found, also when the procedure ends with an error.
    const int32_t height = FStack.Count();
    TPSInternalProcRec* const proc = FCurrProc;
    const uint8_t* const data = FData;
    const uint32_t length = FDataLength;
    const uint32_t position = FCurrentPosition;
    const int32_t base = FCurrStackBase;
    const TPSStatus status = FStatus;
    const size_t frames = FExceptionStack.size();
    auto restore = [&] {
        FStack.PopTo(height);
        if (FExceptionStack.size() > frames) FExceptionStack.resize(frames);
        FCurrProc = proc;
        FData = data;
        FDataLength = length;
        FCurrentPosition = position;
        FCurrStackBase = base;
        // Stopped inside while a run was going on: that run ends too.
        if (!(status == isRunning && FStatus == isLoaded)) FStatus = status;
    };
    bool result = false;
    try {
        if (params) {
            for (TPSVariant* item : *params) {
                if (!item) {
                    restore();
                    return false;
                }
                void* target = item->Data();
                const TPSTypeRec* type = item->FType;
                if (type->FBaseType == btPointer) {
                    const auto pv = Load<PointerValue>(target);
                    target = pv.Data;
                    type = pv.Type;
                }
                PointValueAt(FStack.PushType(PointerType())->Data(), target, type);
            }
        }
        if (p->IsExternal()) {
            result = CallHost(*static_cast<TPSExternalProcRec*>(p));
        } else {
            // A barrier frame keeps an error of the called procedure from unwinding into the
            // frames of a run this call interrupts.
            TPSExceptionHandler barrier;
            barrier.BasePtr = FCurrStackBase;
            barrier.StackSize = FStack.Count();
            FExceptionStack.push_back(std::move(barrier));
            TPSVariant* ret = FStack.PushType(FReturnAddressType.get());
            Store(ret->Data(), ReturnAddressValue{nullptr, FCurrentPosition, FCurrStackBase});
            FCurrStackBase = FStack.Count() - 1;
            EnterProc(static_cast<TPSInternalProcRec*>(p), 0);
            FStatus = isPaused;
            result = RunScript();
        }
    } catch (...) {
        HandleException(std::current_exception());
        result = false;
    }
    restore();
    return result;
}

Variant TPSExec::RunProcP(const std::vector<Variant>& params, uint32_t procNo) {
    std::vector<Variant> copy = params;
    return RunProcPVar(copy, procNo);
}

Variant TPSExec::RunProcPVar(std::vector<Variant>& params, uint32_t procNo) {
    TPSProcRec* p = GetProcNo(procNo);
    if (!p) throw Exception(std::string(kUnknownProcedure));
    if (p->IsExternal()) throw Exception(std::string(kInvalidCast));
    std::string decl = static_cast<TPSInternalProcRec*>(p)->FExportDecl;
    const std::string resultWord = TakeFirstWord(decl);
    HeapList list;
    int64_t i = static_cast<int64_t>(params.size()) - 1;
    while (!decl.empty()) {
        if (i < 0) throw Exception(std::string(kNotEnoughParameters));
        const std::string word = TakeLastWord(decl);
        const TPSTypeRec* t =
            word.size() > 1 ? GetTypeNo(static_cast<uint32_t>(TextToInt(word.substr(1)))) : nullptr;
        if (!t) throw Exception(std::string(kInvalidParameter));
        list.items.push_back(CreateHeapValue(t));
        // A conversion that fails is no script error: it is reported by the exception below.
        const TPSError ex = ExEx;
        const std::string param = ExParam;
        ++fQuiet;
        const bool ok = VariantToStackItem(*this, params[static_cast<size_t>(i)], list.items.back());
        --fQuiet;
        if (!ok) {
            ExEx = ex;
            ExParam = param;
            throw Exception(std::string(kInvalidParameter));
        }
        --i;
    }
    if (i >= 0) throw Exception(std::string(kTooManyParameters));
    const TPSTypeRec* resultType = nullptr;
    if (resultWord != "-1") {
        resultType = GetTypeNo(static_cast<uint32_t>(TextToInt(resultWord)));
        if (!resultType) throw Exception(std::string(kInvalidParameter));
        list.items.push_back(CreateHeapValue(resultType));
    }
    RunProc(&list.items, procNo);
    RaiseCurrentException();
    // Every parameter goes back to the element it came from.
    const size_t n = params.size();
    for (size_t k = 0; k < n; ++k) {
        Variant v;
        if (StackItemToVariant(list.items[k], v)) params[n - 1 - k] = std::move(v);
    }
    Variant result = Variant::Null();
    if (resultType && !StackItemToVariant(list.items.back(), result)) result = Variant::Null();
    return result;
}

Variant TPSExec::RunProcPN(const std::vector<Variant>& params, std::string_view name) {
    const int32_t n = GetProc(name);
    if (n < 0) throw Exception(std::string(kUnknownProcedure));
    return RunProcP(params, static_cast<uint32_t>(n));
}

}  // namespace tv::script
