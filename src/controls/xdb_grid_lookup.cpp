// Finding a data grid's columns by field name, and the last shift state of released keys.

#include <algorithm>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/data/db_error.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_compare.h"

namespace tv {

TXColumn* TXCustomDBGrid::FindColumn(std::string_view FieldName, int FromIndex) const {
    for (int i = std::max(FromIndex, 0); i < fColumns->Count(); ++i)
        if (AnsiSameText(fColumns->Items(i)->FieldName(), FieldName)) return fColumns->Items(i);
    return nullptr;
}

TXColumn* TXCustomDBGrid::ColumnByName(std::string_view FieldName, int FromIndex) const {
    TXColumn* column = FindColumn(FieldName, FromIndex);
    if (!column) throw EInvalidGridOperation(Format(kFieldNotFound, {FieldName}));
    return column;
}

bool TXCustomDBGrid::KeyUp(uint16_t& Key, TShiftState Shift) {
    fLastShiftState = Shift;
    return TCustomGrid::KeyUp(Key, Shift);
}

}  // namespace tv
