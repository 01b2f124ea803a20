#include "export/customer_pricelist_data.h"

#include "platform/data/data_set.h"
#include "platform/data/field.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/variant.h"

namespace tv {
namespace {

constexpr std::string_view kCustomerNumber = "customernumber";
constexpr std::string_view kCustomerName = "customername";
constexpr std::string_view kSerial = "lopnr";
constexpr std::string_view kAgreementReference = "agreementref";

}  // namespace

bool TExportCustomerPricelistHelper::FindCustomerInDataSet(std::string_view customerNumber) {
    if (!data_.Active()) return false;
    return data_.Locate(kCustomerNumber, Variant::FromUtf8(customerNumber), loCaseInsensitive);
}

void TExportCustomerPricelistHelper::CreateCustomerInDataSet(std::string_view customerNumber,
                                                             std::string_view customerName,
                                                             std::string_view ownEanLocation) {
    if (customerNumber.empty()) throw Exception(std::string(kNoEanLocation));
    data_.Append();
    try {
        data_.FieldByName(kCustomerNumber).SetAsString(customerNumber);
        data_.FieldByName(kCustomerName).SetAsString(customerName);
        data_.FieldByName(kSerial).SetAsLargeInt(StrToInt64Def(ownEanLocation, 1));
        data_.Post();
    } catch (...) {
        data_.Cancel();
        throw;
    }
}

void TExportCustomerPricelistHelper::UpdateSerial(std::string_view customerName) {
    data_.Edit();
    try {
        TField& serial = data_.FieldByName(kSerial);
        serial.SetAsLargeInt(serial.AsLargeInt() + 1);
        data_.FieldByName(kCustomerName).SetAsString(customerName);
        data_.Post();
    } catch (...) {
        data_.Cancel();
        throw;
    }
}

std::string TExportCustomerPricelistHelper::ReadSerial() const {
    return data_.FieldByName(kSerial).AsString();
}

std::string TExportCustomerPricelistHelper::ReadAgreementReference() const {
    return data_.FieldByName(kAgreementReference).AsString();
}

}  // namespace tv
