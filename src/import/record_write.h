#pragma once
// Small steps every import writer takes on a kit dataset around its own: reading the posted record
// back, and leaving no pending edit or insert behind on any way out, so that no later move or post
// of the shared dataset writes a half-made record.

#include <string>

namespace tv {

class TAdkDataSet;

// Re-reads the record just posted from the business system and answers its number (kit field 0).
std::string ReadBackNumber(TAdkDataSet& dataSet);

// Cancels a pending edit or insert; a dataset in browse state stays as it is.
void CancelPending(TAdkDataSet& dataSet);

}  // namespace tv
