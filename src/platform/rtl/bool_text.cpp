#include "platform/rtl/bool_text.h"

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"

namespace tv {

namespace {
constexpr std::string_view kTrueWord = "True";
constexpr std::string_view kFalseWord = "False";
}  // namespace

bool TryStrToBool(std::string_view text, bool& value, const TFormatSettings& settings) {
    if (SameTextAscii(text, kTrueWord)) {
        value = true;
        return true;
    }
    if (SameTextAscii(text, kFalseWord)) {
        value = false;
        return true;
    }
    double number = 0;
    if (!TryStrToFloat(text, number, settings)) return false;
    value = number != 0;
    return true;
}

bool StrToBool(std::string_view text, const TFormatSettings& settings) {
    bool value = false;
    if (!TryStrToBool(text, value, settings)) throw EConvertError(Format(kInvalidBoolean, {text}));
    return value;
}

}  // namespace tv
