#include "import/document_marks.h"

#include <functional>

#include "adk/adk_calls.h"
#include "import/key_helper_dm.h"
#include "platform/rtl/number_text.h"

namespace tv {

namespace {

inline constexpr int kInvoiceTable = 6;
inline constexpr int kAgreementTable = 74;
inline constexpr int kNumberField = 0;
inline constexpr int kPrintedField = 6;
inline constexpr int kEndDateField = 95;
inline constexpr int32_t kNoDate = 0;
inline constexpr std::string_view kNoRecord = "AdkCreateData gave no record of table ";

// Creates a record of `table` holding `number`, lets `set` write the one field, updates the stored
// document from it and frees it on every way out. Only a refused update is the caller's failure.
void UpdateOneField(int table, const std::string& number, const TFormatSettings& formats,
                    const std::function<void(const TAdkData&)>& set) {
    const double value = StrToFloat(number, formats);
    TAdkData data = AdkCreateData(table);
    if (!AdkDataAssigned(data)) throw EImportError(std::string(kNoRecord) + std::to_string(table));
    AdkErrorRec err = AdkNoError();
    try {
        AdkSetDouble(data, kNumberField, value);
        set(data);
        err = AdkUpdate(data);
    } catch (...) {
        AdkDeleteStructAfterFailure(data);
        throw;
    }
    AdkDeleteStruct(data);
    if (err.lRc != 0) throw EImportError(std::string(kSetPrintedFailed) + number);
}

}  // namespace

void SetInvoicePrinted(const std::string& number, bool value, const TFormatSettings& formats) {
    UpdateOneField(kInvoiceTable, number, formats,
                   [value](const TAdkData& data) { AdkSetBool(data, kPrintedField, value); });
}

void ClearAgreementEndDate(const std::string& number, const TFormatSettings& formats) {
    UpdateOneField(kAgreementTable, number, formats,
                   [](const TAdkData& data) { AdkSetDateNumber(data, kEndDateField, kNoDate); });
}

}  // namespace tv
