#include "script/runtime/errors.h"

#include "script/runtime/value_text.h"

namespace tv::script {

namespace {
constexpr std::string_view kErrorTexts[] = {
    "No Error",
    "Cannot Import %s",
    "Invalid Type",
    "Internal error",
    "Invalid Header",
    "Invalid Opcode",
    "Invalid Opcode Parameter",
    "no Main Proc",
    "Out of Global Vars range",
    "Out of Proc Range",
    "Out Of Range",
    "Out Of Stack Range",
    "Type Mismatch",
    "Unexpected End Of File",
    "Version error",
    "divide by Zero",
    "Math error",
    "Could not call proc",
    "Out of Record Fields Range",
    "Out Of Memory",
    "Exception: %s",
    "Null Pointer Exception",
    "Null variant error",
    "Interface not supported",
    "%s",
};
constexpr std::string_view kUnknownError = "Unknown error";

}  // namespace

std::string ErrorToText(int code, std::string_view param) {
    if (code < 0 || code > erCustomError) return std::string(kUnknownError);
    switch (code) {
        case erCannotImport:
            return "Cannot Import " + CutAtControlChar(param);
        case erCouldNotCallProc:
            return param.empty() ? std::string(kErrorTexts[code])
                                 : std::string(kErrorTexts[code]) + " (" + std::string(param) + ")";
        case erException:
            return "Exception: " + std::string(param);
        case erCustomError:
            return std::string(param);
        default:
            return std::string(kErrorTexts[code]);
    }
}

std::string ErrorToText(TPSError code, std::string_view param) {
    return ErrorToText(static_cast<int>(code), param);
}

}  // namespace tv::script
