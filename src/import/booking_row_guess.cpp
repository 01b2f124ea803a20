#include "import/booking_row_guess.h"

#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "import/document_rows.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/key_text.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {
// Purchase order row fields read by number.
inline constexpr int kArticleField = 0;
inline constexpr int kSupplierArticleField = 1;
inline constexpr int kRowNumberField = 31;
}  // namespace

TBookingRowGuess::TBookingRowGuess(TAdkDataSet& bookings, int articleBasis, IEventSink& events)
    : bookings_(bookings), bySupplierArticle_(articleBasis != 0), events_(events) {}

void TBookingRowGuess::Guess(TXMLNode& row) {
    TXMLNode* from = ChildElement(row, kRowFromDocument);
    if (!from || from->Text().empty()) return;
    const std::string booking = regexNumericsOnly_.ReplaceAll(from->Text(), "");
    from->SetText(booking);
    if (!ChildText(row, kRowFromDocumentRow).empty()) return;
    const std::string article =
        ChildText(row, bySupplierArticle_ ? kRowSupplierArticleNumber : kRowArticleNumber);
    if (article.empty()) return;

    // A number without digits names no purchase order: it is not searched.
    bookings_.EmptyDataSet();
    bookings_.SetAdkSortOrder(asBestallningNr);
    if (booking.empty() || !bookings_.AdkNavFind(booking, true, true))
        throw EImportError(Format(kBookingNotFound, {booking}));
    TAdkDataSet& rows = RowsOf(bookings_);
    const std::string wanted = UpperKey(article);
    const int matchField = bySupplierArticle_ ? kSupplierArticleField : kArticleField;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        if (UpperKey(rows.FieldByAdkIndex(matchField).AsString()) != wanted) continue;
        const int number = rows.FieldByAdkIndex(kRowNumberField).AsInteger();
        events_.logOrderMessage(Format(kGuessingBookingRow, {article, number}), elExcessive);
        ElementOf(row, kRowFromDocumentRow).SetText(std::to_string(number));
        return;
    }
    throw EImportError(Format(kBookingRowNotFound, {booking, article}));
}

}  // namespace tv
