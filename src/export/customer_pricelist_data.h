#pragma once
// The running numbers and agreement references of customer price lists written with extra data:
// one row per customer of CDSExportCustomerPricelistData ("customernumber", the customer's EAN
// location number; "customername"; "lopnr", 64-bit; "agreementref"), kept for the whole process
// and saved by the caller after a list has used its row.

#include <string>
#include <string_view>

namespace tv {

class TDataSet;

// Raised when a customer met for the first time has no EAN location number to file its row under.
inline constexpr std::string_view kNoEanLocation =
    "Inget kundnummer/eanlok är angivet på kunden i Visma Administration";

class TExportCustomerPricelistHelper {
public:
    explicit TExportCustomerPricelistHelper(TDataSet& data) : data_(data) {}

    // Positions on the row whose "customernumber" equals `customerNumber` without regard to case;
    // false when there is none.
    bool FindCustomerInDataSet(std::string_view customerNumber);
    // Appends and posts the customer's row, positioned on it. Its first running number is the
    // company's own EAN location number read as a 64-bit integer, or 1 when that is no number.
    // Raises kNoEanLocation for an empty customer number.
    void CreateCustomerInDataSet(std::string_view customerNumber, std::string_view customerName,
                                 std::string_view ownEanLocation);
    // Adds 1 to the running number of the current row and stores the customer's name.
    void UpdateSerial(std::string_view customerName);
    std::string ReadSerial() const;
    std::string ReadAgreementReference() const;

private:
    TDataSet& data_;
};

}  // namespace tv
