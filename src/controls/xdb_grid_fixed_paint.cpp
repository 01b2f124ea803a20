// The grid's window frame by fixed style, and which columns read right to left.

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_border.h"
#include "platform/data/field.h"

namespace tv {
namespace {

// Kinds of field whose text keeps its alignment in a right-to-left grid: numbers and dates.
bool KeepsAlignment(TFieldType type) {
    switch (type) {
        case TFieldType::ftSmallint:
        case TFieldType::ftInteger:
        case TFieldType::ftWord:
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
        case TFieldType::ftDate:
        case TFieldType::ftTime:
        case TFieldType::ftDateTime:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TXCustomDBGrid::PaintGridBorder(TCanvas* Canvas, const TRect& Window) {
    if (BorderStyle() != bsSingle || Ctl3D()) return;
    DrawListBorder(Canvas, Window, AutoListBorder(fFixedStyle, IsGridThemed(),
                                                  fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines)));
}

bool TXCustomDBGrid::ColumnRightToLeft(const TXColumn* Column) const {
    if (!IsRightToLeft() || !Column || Column->SuppressRTL()) return false;
    if (const TField* field = Column->Field()) return FieldRightToLeft(field);
    return Column->Alignment() != taCenter;
}

bool TXCustomDBGrid::FieldRightToLeft(const TField* Field) const {
    return IsRightToLeft() && Field && !KeepsAlignment(Field->DataType());
}

}  // namespace tv
