// Pictures in data cells: where a picture stands by the column's ImageDraw, and the check box a
// check-box column draws in place of its text.

#include "controls/xdb_cell_text.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/gui/image_list.h"

namespace tv {

TPoint CellPicturePlace(const TRect& Cell, int Width, int Height, TImageDraw Draw, TAlignment Alignment,
                        TVAlignment VAlignment, int OffsetX, int OffsetY) {
    if (Draw == idCenter) {
        Alignment = taCenter;
        VAlignment = tvCenter;
    } else if (Draw == idOpposite) {
        // Mirrored both ways, then placed as by its alignment.
        if (Alignment != taCenter) Alignment = Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
        if (VAlignment != tvCenter) VAlignment = VAlignment == tvTopJustify ? tvBottomJustify : tvTopJustify;
    }
    TPoint at;
    switch (Alignment) {
        case taLeftJustify: at.X = Cell.Left + OffsetX; break;
        case taRightJustify: at.X = Cell.Right - Width - OffsetX; break;
        case taCenter: at.X = Cell.Left + (Cell.Width() - Width) / 2 + OffsetX; break;
    }
    switch (VAlignment) {
        case tvTopJustify: at.Y = Cell.Top + OffsetY; break;
        case tvBottomJustify: at.Y = Cell.Bottom - Height - OffsetY; break;
        case tvCenter: at.Y = Cell.Top + (Cell.Height() - Height) / 2 + OffsetY; break;
    }
    return at;
}

bool TXCustomDBGrid::DrawCheckBoxCell(TXColumn* Column, const TRect& ARect) {
    if (!Column->IsCheckBox()) return false;
    // A link active on a dataset without records has no box to show; the cell stays empty.
    if (fDataLink->Active() && fDataLink->DataSet()->IsEmpty()) return true;
    TImageList* boxes = fCheckBoxes.get();
    int index = Column->CheckBoxIndex();
    if (index >= boxes->Count()) index %= 3;
    const TPoint at = CellPicturePlace(ARect, boxes->Width(), boxes->Height(), Column->ImageDraw(),
                                       Column->Alignment(), Column->VAlignment(), Column->ImageOffsetX(),
                                       Column->ImageOffsetY());
    DrawGlyph(boxes, Canvas(), ARect, false, false, index, at.Y, at.X);
    return true;
}

}  // namespace tv
