// The deletion of every row of an existing order straight through the kit: the row at index 0 is
// deleted while the head counts rows, then the head is written back. The kit deletes a row at once
// and lowers the head's count; a count that does not drop would loop for ever, so it fails the
// order instead, and no more rounds are made than there were rows at the start.

#include <cmath>

#include "adk/adk_calls.h"
#include "import/dm_import.h"
#include "import/key_helper_dm.h"
#include "import/order_fields.h"
#include "platform/rtl/number_text.h"

namespace tv {

namespace {

inline constexpr std::string_view kRowNotRemoved = "Failed to remove row:";
inline constexpr std::string_view kRowsNotRemoved = "Misslyckades att ta bort rader";

double ReadRowCount(const TAdkData& head) {
    double count = 0;
    const AdkErrorRec error = AdkGetDouble(head, order_head::kRowCount, count);
    if (error.lRc != 0) throw EImportError(std::string(kRowNotRemoved) + std::to_string(error.lRc));
    return count;
}

}  // namespace

int TDMImport::ClearOrderRows(double orderNumber, const TAdkData& head) {
    const double first = ReadRowCount(head);
    const int rows = first > 0 ? int(std::lround(first)) : 0;
    double count = first;
    for (int deleted = 0; count > 0 && deleted < rows; ++deleted) {
        AdkSetDouble(head, order_head::kNumber, orderNumber);
        const AdkErrorRec error = AdkDeleteRow(head, 0);
        if (error.lRc != 0) throw EImportError(std::string(kRowNotRemoved) + std::to_string(error.lRc));
        const double left = ReadRowCount(head);
        if (left >= count)
            throw EImportError(std::string(kRowNotRemoved) + "0 (order " + FloatToStr(orderNumber) + ")");
        count = left;
    }
    const AdkErrorRec error = AdkUpdate(head);
    if (error.lRc != 0) throw EImportError(std::string(kRowsNotRemoved) + std::to_string(error.lRc));
    return rows;
}

}  // namespace tv
