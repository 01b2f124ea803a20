#pragma once
// Marks the invoice and agreement imports write straight through the kit, on a fresh record that
// holds only the document's number and the one field: the business system recalculates or ignores
// these when the document itself is saved. Every other field of the stored document stays as it is.

#include <string>
#include <string_view>

namespace tv {

struct TFormatSettings;

// Raised, followed by the document's number, when the kit refuses the update of either mark (the
// agreement's end date too).
inline constexpr std::string_view kSetPrintedFailed = "Misslyckades att sätta utskriven för faktura ";

// Writes the printed mark (head field 6) of invoice `number`, read as a number in `formats`.
void SetInvoicePrinted(const std::string& number, bool value, const TFormatSettings& formats);
// Empties the end date (head field 95) of agreement `number`.
void ClearAgreementEndDate(const std::string& number, const TFormatSettings& formats);

}  // namespace tv
