#pragma once
// The purchase-order row guess of the supplier invoice import: a supplier invoice row that says which
// purchase order it comes from, but not which of its rows, gets the number of the first row of that
// purchase order that carries the row's article (by article number or by the supplier's article
// number, letter case ignored).

#include <string_view>

#include "platform/rtl/perl_regex.h"

namespace tv {

class IEventSink;
class TAdkDataSet;
class TXMLNode;

inline constexpr std::string_view kRowFromDocument = "OOI_ROW_FROM_DOCUMENT";
inline constexpr std::string_view kRowFromDocumentRow = "OOI_ROW_FROM_DOCROW";
inline constexpr std::string_view kRowSupplierArticleNumber = "OOI_ROW_SUPPLIER_ARTICLE_NUMBER";
inline constexpr std::string_view kBookingNotFound = "Hittade inte beställning [%s]";
inline constexpr std::string_view kBookingRowNotFound = "Beställningsraden kunde inte hittas: [%s/%s]";
inline constexpr std::string_view kGuessingBookingRow = "Gissar beställningsnr: [%s = %d]";

class TBookingRowGuess {
public:
    // `bookings` is the purchase order dataset with its rows; `articleBasis` 0 matches the article
    // number, any other value the supplier's article number.
    TBookingRowGuess(TAdkDataSet& bookings, int articleBasis, IEventSink& events);

    // For a row with a purchase order: the order's number keeps only its digits, written back.
    // Unless the row names its purchase order row already or has no article to match, the first
    // matching row's number goes into OOI_ROW_FROM_DOCROW (added when absent). Raises when the
    // purchase order or a matching row is not there.
    void Guess(TXMLNode& row);

private:
    TAdkDataSet& bookings_;
    const bool bySupplierArticle_;
    IEventSink& events_;
    TPerlRegEx regexNumericsOnly_{"\\D"};
};

}  // namespace tv
