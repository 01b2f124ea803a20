#pragma once
// Run-time errors of the script engine: the codes scripts and hosts see, their texts, the run states
// of an executor, and EPSException, which carries a script error into host code.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/exception.h"

namespace tv::script {

class TPSExec;

enum TPSError : uint8_t {
    ErNoError = 0,
    erCannotImport,
    erInvalidType,
    ErInternalError,
    erInvalidHeader,
    erInvalidOpcode,
    erInvalidOpcodeParameter,
    erNoMainProc,
    erOutOfGlobalVarsRange,
    erOutOfProcRange,
    ErOutOfRange,
    erOutOfStackRange,
    ErTypeMismatch,
    erUnexpectedEof,
    erVersionError,
    ErDivideByZero,
    ErMathError,
    erCouldNotCallProc,
    erOutofRecordRange,
    erOutOfMemory,
    erException,
    erNullPointerException,
    erNullVariantError,
    erInterfaceNotSupported,
    erCustomError,
};

enum TPSStatus : uint8_t { isNotLoaded, isLoaded, isRunning, isPaused };

// The text of an error: "Type Mismatch", "Exception: <param>", "Cannot Import <param>" ...
std::string ErrorToText(TPSError code, std::string_view param);
std::string ErrorToText(int code, std::string_view param);

// Texts the runtime raises or records.
inline constexpr std::string_view kTypeMismatch = "Type Mismatch";
inline constexpr std::string_view kInvalidArray = "Invalid array";
inline constexpr std::string_view kCapacityBelowLength = "Capacity < Length";
inline constexpr std::string_view kOnlyLastItem = "Can only remove last item from stack";

// A script error raised into host code: the error's text, and where it happened.
class EPSException : public Exception {
public:
    EPSException(std::string message, TPSExec* exec, uint32_t procNo, uint32_t procPos)
        : Exception(std::move(message)), FProcPos(procPos), FProcNo(procNo), FExec(exec) {}
    const char* ClassName() const noexcept override { return "EPSException"; }

    uint32_t FProcPos;
    uint32_t FProcNo;
    TPSExec* FExec;
};

}  // namespace tv::script
