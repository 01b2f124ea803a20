// Pictures in data cells: which picture a cell shows (an image of the column's Images, the box of a
// check-box column, a graphic field's picture), and its drawing with the cell's text.

#include "controls/xdb_cell_picture.h"
#include "controls/xdb_cell_text.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_boxes.h"
#include "platform/data/field.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/picture.h"

namespace tv {

TCheckBoxStyle TXCustomDBGrid::GetBoxStyle(TCheckBoxStyle style) const {
    return EffectiveBoxStyle(style, fFixedStyle);
}

TPersistent* TXCustomDBGrid::CellPicture(TXColumn* Column, std::unique_ptr<TPersistent>& owned) {
    if (Column->Images()) {
        int index = Column->CellImageIndex();
        CalcImageIndex(Column, index);
        owned = Column->CellImageBitmap(index);
        if (owned) return owned.get();
    }
    if (Column->IsCheckBox()) {
        owned = Column->CheckBoxBitmap();
        return owned.get();
    }
    TField* field = Column->Field();
    if (!Column->ShowBlob() || !field || field->DataType() != TFieldType::ftGraphic) return nullptr;
    try {
        owned = Column->FieldGraphic();
    } catch (const EInvalidGraphic&) {
        // A picture that cannot be read leaves the cell empty, as a picture cell without text.
        owned = std::make_unique<TPicture>();
    }
    return owned ? owned.get() : field;
}

void TXCustomDBGrid::DrawCellContent(TXColumn* Column, const TRect& ARect, TPersistent* Picture,
                                     const std::string& Text, bool fixed) {
    TCanvas* canvas = Canvas();
    const bool bothLines = fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines);
    // Themed and gradient cells keep their background under the picture and the text.
    const bool keepBackground = fixed && (FixedCellsThemed() || fGradient->IsActive());
    const bool rightToLeft = ColumnRightToLeft(Column);
    if (Picture)
        DrawCellPicture(canvas, ARect, Picture, keepBackground, Column->Transparent(), Column->QuickDraw(),
                        Column->ImageOffsetY(), Column->ImageOffsetX(), Column->ImageDraw(), Column->VAlignment(),
                        rightToLeft, Column->Alignment(), UseRightToLeftAlignment() ? ClientWidth() : 0);
    if ((Picture && Column->Wallpaper()) || keepBackground) canvas->Brush()->SetStyle(bsClear);
    if (Picture && !Column->Wallpaper()) return;
    const int m = fixed && bothLines ? 1 : 2;
    WriteCellText(canvas, ARect, m, Column->VAlignment(), Column->WordWrap(), Column->Ellipsis(), rightToLeft,
                  Column->Alignment(), Text, m);
}

}  // namespace tv
