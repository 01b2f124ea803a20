// The grid's window frame by fixed style, and which columns read right to left.

#include <array>

#include "controls/xdb_grid.h"
#include "platform/data/field.h"
#include "platform/gui/panel.h"

namespace tv {
namespace {

// The two edges laid over a one-pixel window frame: one along the top and left, one along the
// bottom and right (0: the plain frame stays).
struct TBorderEdges {
    uint32_t TopLeft;
    uint32_t BottomRight;
};
constexpr TBorderEdges kPlainBorder{0, 0};
constexpr TBorderEdges kMildBorder{BDR_SUNKENOUTER, BDR_RAISEDINNER};
constexpr TBorderEdges kGrayBorder{BDR_SUNKENINNER, BDR_RAISEDOUTER};

// By FixedStyle, fsDefault .. fsMild.
constexpr std::array<TBorderEdges, 8> kBorderByStyle = {kPlainBorder, kGrayBorder,  kPlainBorder, kPlainBorder,
                                                        kGrayBorder,  kGrayBorder,  kMildBorder,  kMildBorder};

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
    if (BorderStyle() != bsSingle || Ctl3D() || !fOptions.Contains(dgColLines) || !fOptions.Contains(dgRowLines))
        return;
    const TBorderEdges edges = IsGridThemed() ? kMildBorder : kBorderByStyle[fFixedStyle];
    if (edges.TopLeft == 0) return;
    TRect r = Window;
    DrawEdge(Canvas, r, edges.TopLeft, BF_TOPLEFT);
    r = Window;
    DrawEdge(Canvas, r, edges.BottomRight, BF_BOTTOMRIGHT);
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
