#pragma once
// VAT of a sales document calculated in whole hundredths from the document's own rates and
// amounts, beside the VAT total the business system stores for it. Every product of a rate (in
// percent) and an amount is taken on the exact decimals the two stored numbers read as (the
// shortest decimal that reads back as the same double), and rounded to a whole hundredth with
// halves going to the even neighbour, so 25 % of 12.62 is 315.5 and gives 316, never the 315 a
// binary product near 315.49999 would give.

#include <cstdint>
#include <string_view>

namespace tv {

class TAdkDataSet;

// Raised for a product that no 64-bit number of hundredths holds.
inline constexpr std::string_view kVatOutOfRange = "Calculated VAT out of range: %g * %g";

// a × b on exact decimals, rounded half to even.
int64_t RoundedProduct(double a, double b);

// Which difference a document kind reports against the stored total: orders their whole
// calculated VAT, invoices only their rows' VAT.
enum class TVatDifference { TotalMinusStored, RowsMinusStored };

class TCalculatedVat {
public:
    // Reads the rates of VAT codes 1 to 4, the freight and its VAT code, the dispatch fee and the
    // stored total of the head record the dataset stands on.
    explicit TCalculatedVat(const TAdkDataSet& head);

    // The VAT of the row the rows dataset stands on (0 without a VAT code), added to the rows' sum.
    int64_t AddRow(const TAdkDataSet& rows);

    int64_t Freight() const { return freight_; }
    int64_t DispatchFee() const { return dispatchFee_; }
    int64_t RowSum() const { return rowSum_; }
    int64_t Total() const { return rowSum_ + freight_ + dispatchFee_; }
    int64_t Difference(TVatDifference kind) const {
        return (kind == TVatDifference::TotalMinusStored ? Total() : rowSum_) - stored_;
    }

private:
    // The rate of a VAT code "1" to "4"; any other code has none.
    double RateOf(std::string_view code) const;

    double rates_[4] = {};
    int64_t freight_ = 0;
    int64_t dispatchFee_ = 0;
    int64_t stored_ = 0;
    int64_t rowSum_ = 0;
};

}  // namespace tv
