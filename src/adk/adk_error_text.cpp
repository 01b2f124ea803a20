#include "adk/adk_error_text.h"

#include <array>
#include <charconv>

#include "adk/adk_binding.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

inline constexpr std::string_view kKitErrorMessage = "Visma Integration felkod %d: %s %s.";
inline constexpr std::string_view kTablePart = " Tabell \"%s\"";
inline constexpr std::string_view kFieldPart = " Fält \"%s\" (%s)";

// The kinds of text the kit gives for an error record.
constexpr int32_t kMessageText = ADK_TEXT_MESSAGE, kTableText = ADK_TEXT_TABLE, kFieldText = ADK_TEXT_FIELD;
constexpr int kErrorTextSize = 100;

// Codes in an error record that say no table or no field is concerned.
constexpr int32_t kNoTable = ADK_NO_TABLE, kNoField = ADK_NO_FIELD;

std::string KitErrorText(const AdkErrorRec& err, int32_t kind) {
    auto fn = reinterpret_cast<AdkGetErrorTextFn>(AdkFunctionAddress(TAdkExport::AdkGetErrorText));
    std::array<char, kErrorTextSize + 1> buffer{};
    fn(&err, kind, buffer.data(), kErrorTextSize);
    buffer.back() = '\0';
    return Cp1252ToUtf8(buffer.data());
}

std::string WithoutExtension(std::string name) {
    size_t dot = name.rfind('.');
    size_t folder = name.find_last_of("/\\:");
    if (dot != std::string::npos && (folder == std::string::npos || dot > folder)) name.erase(dot);
    return name;
}

// The text as a whole number of 0 or more, or -1.
int WholeNumber(std::string_view text) {
    int value = -1;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < 0) return -1;
    return value;
}

}  // namespace

std::string AdkErrorText(const AdkErrorRec& err, std::string_view context,
                         const TFieldNamesArray* fieldNames) {
    if (err.lRc == 0) return "";
    std::string text = Format(kKitErrorMessage, {err.lRc, context, KitErrorText(err, kMessageText)});
    if (std::string table = AdkErrorTableText(err); !table.empty()) text += Format(kTablePart, {table});
    if (std::string field = AdkErrorFieldText(err); !field.empty()) {
        std::string display = field;
        int n = WholeNumber(field);
        if (fieldNames && n >= 0 && size_t(n) < fieldNames->size() && !(*fieldNames)[n].empty())
            display = (*fieldNames)[n];
        text += Format(kFieldPart, {display, field});
    }
    return text;
}

std::string AdkErrorTableText(const AdkErrorRec& err) {
    if (err.lDbTable == kNoTable) return "";
    return WithoutExtension(KitErrorText(err, kTableText));
}

std::string AdkErrorFieldText(const AdkErrorRec& err) {
    if (err.lField == kNoField) return "";
    return KitErrorText(err, kFieldText);
}

}  // namespace tv
