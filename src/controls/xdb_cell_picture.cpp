// Pictures in cells: the placement of a picture by ImageDraw, and its drawing from the sources the
// grid has for a cell.

#include "controls/xdb_cell_picture.h"

#include "controls/xdb_fields.h"
#include "platform/data/field.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/picture.h"

namespace tv {
namespace {

// The start of a tile raster of step `size` that runs through the grid's origin, at or before `at`.
int GridPhase(int at, int size) {
    const int offset = at % size;
    return at - (offset < 0 ? offset + size : offset);
}

// Every tile of `Width` x `Height` from (x0, y0) on that reaches into `Cell`.
std::vector<TRect> Tiles(const TRect& Cell, int Width, int Height, int x0, int y0) {
    std::vector<TRect> tiles;
    for (int y = y0; y < Cell.Bottom; y += Height)
        for (int x = x0; x < Cell.Right; x += Width) tiles.push_back(Bounds(x, y, Width, Height));
    return tiles;
}

// `Width` x `Height` scaled to fit `Box` with its shape kept, centred in the direction it leaves room.
TRect Scaled(const TRect& Box, int Width, int Height) {
    const int64_t boxW = Box.Width(), boxH = Box.Height();
    if (boxW <= 0 || boxH <= 0) return Box;
    if (Width * boxH >= Height * boxW) {
        const int h = static_cast<int>(Height * boxW / Width);
        return Bounds(Box.Left, Box.Top + (Box.Height() - h) / 2, Box.Width(), h);
    }
    const int w = static_cast<int>(Width * boxH / Height);
    return Bounds(Box.Left + (Box.Width() - w) / 2, Box.Top, w, Box.Height());
}

// The graphic a cell's picture source holds; `loaded` keeps one read from a field's bytes. Nil
// when there is none or the bytes are no picture that can be read.
TGraphic* GraphicOf(TPersistent* source, TPicture& loaded) {
    if (auto* graphic = dynamic_cast<TGraphic*>(source)) return graphic;
    if (auto* picture = dynamic_cast<TPicture*>(source)) return picture->Graphic();
    auto* field = dynamic_cast<TField*>(source);
    if (!field || !IsBlobType(field->DataType())) return nullptr;
    try {
        TXBlobField(*field).AssignTo(&loaded);
    } catch (const EInvalidGraphic&) {
        // A damaged picture leaves its cell empty rather than stopping the grid's painting.
        return nullptr;
    }
    return loaded.Graphic();
}

}  // namespace

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

std::vector<TRect> CellPictureRects(const TRect& Cell, int Width, int Height, TImageDraw Draw,
                                    TAlignment Alignment, TVAlignment VAlignment, int OffsetX, int OffsetY,
                                    int MirrorWidth) {
    if (Width <= 0 || Height <= 0) return {};
    const bool tiled = Draw == idTileCell || Draw == idTileGrid || Draw == idTileCol || Draw == idTileRow;
    if (MirrorWidth > 0 && tiled) {
        // The tiling of the mirror image: laid out left to right from the client's right edge,
        // then reflected back.
        const auto flip = [MirrorWidth](const TRect& r) {
            return Rect(MirrorWidth - r.Right, r.Top, MirrorWidth - r.Left, r.Bottom);
        };
        std::vector<TRect> tiles = CellPictureRects(flip(Cell), Width, Height, Draw, Alignment, VAlignment, OffsetX,
                                                    OffsetY, 0);
        for (TRect& r : tiles) r = flip(r);
        return tiles;
    }
    const TRect inner = Rect(Cell.Left + OffsetX, Cell.Top + OffsetY, Cell.Right - OffsetX, Cell.Bottom - OffsetY);
    switch (Draw) {
        case idScaled:
            return {Scaled(inner, Width, Height)};
        case idStretch:
            return {inner};
        case idTileCell:
            return Tiles(Cell, Width, Height, Cell.Left, Cell.Top);
        case idTileGrid:
            return Tiles(Cell, Width, Height, GridPhase(Cell.Left, Width), GridPhase(Cell.Top, Height));
        case idTileCol:
            return Tiles(Cell, Width, Height, Cell.Left, GridPhase(Cell.Top, Height));
        case idTileRow:
            return Tiles(Cell, Width, Height, GridPhase(Cell.Left, Width), Cell.Top);
        default: {
            const TPoint at = CellPicturePlace(Cell, Width, Height, Draw, Alignment, VAlignment, OffsetX, OffsetY);
            return {Bounds(at.X, at.Y, Width, Height)};
        }
    }
}

void DrawCellPicture(TCanvas* Canvas, const TRect& Rect, TPersistent* Picture, bool CopyBackground,
                     bool Transparent, bool QuickDraw, int OffsetY, int OffsetX, TImageDraw ImageDraw,
                     TVAlignment VAlignment, bool RightToLeft, TAlignment Alignment, int MirrorWidth) {
    if (!Canvas || Rect.IsEmpty() || !Picture) return;
    // A right-to-left cell places its picture from the other side.
    if (RightToLeft && Canvas->RightToLeft() && Alignment != taCenter)
        Alignment = Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    TPicture loaded;
    TGraphic* graphic = GraphicOf(Picture, loaded);
    if (!graphic || graphic->Empty()) return;
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) bitmap->IgnorePalette = QuickDraw;
    graphic->SetTransparent(Transparent);
    // Drawn straight into the cell under its clip: the same pixels as composing the cell apart and
    // copying it in, with the background either left as it is or filled first.
    const auto clip = Canvas->SavedClip();
    Canvas->IntersectClipRect(Rect);
    if (!CopyBackground && Canvas->Brush()->Style() != bsClear) Canvas->FillRect(Rect);
    for (const TRect& r : CellPictureRects(Rect, graphic->Width(), graphic->Height(), ImageDraw, Alignment,
                                           VAlignment, OffsetX, OffsetY, MirrorWidth))
        Canvas->StretchDraw(r, graphic);
    Canvas->RestoreClip(clip);
}

}  // namespace tv
