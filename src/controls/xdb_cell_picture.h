#pragma once
// Pictures in the data grid's cells: where a picture stands in a cell by the column's ImageDraw
// (at its own size by the alignments, scaled, stretched or tiled), and the drawing of a picture
// from any source the grid has for a cell (a bitmap, a picture, or a field holding picture bytes).

#include <vector>

#include "controls/xdb_columns.h"
#include "platform/gui/rect.h"
#include "platform/rtl/alignment.h"

namespace tv {

class TCanvas;
class TPersistent;

// The top-left corner of a `Width` x `Height` picture in `Cell` by `Draw` (idAlignment, idOpposite
// or idCenter): the alignments place it, the offsets move it away from the side it keeps to.
TPoint CellPicturePlace(const TRect& Cell, int Width, int Height, TImageDraw Draw, TAlignment Alignment,
                        TVAlignment VAlignment, int OffsetX, int OffsetY);

// Where a `Width` x `Height` picture is drawn for a cell, before clipping to it: one rectangle for
// the placements at its own size (CellPicturePlace), scaled to fit keeping its shape, or stretched
// (both inside the cell shrunk by the offsets on each side); for the tilings every tile that
// reaches into the cell, starting at the cell's corner (idTileCell), on the grid's own raster of
// tiles (idTileGrid), or on the grid's raster in one direction only (idTileCol: rows follow the
// grid, columns the cell; idTileRow the other way). Nothing for an empty picture. `MirrorWidth`,
// the client width of a mirrored (right-to-left) grid, makes the tiles run from the right: from
// the cell's right edge, and the grid's raster from that client edge; 0 tiles left to right.
std::vector<TRect> CellPictureRects(const TRect& Cell, int Width, int Height, TImageDraw Draw,
                                    TAlignment Alignment, TVAlignment VAlignment, int OffsetX, int OffsetY,
                                    int MirrorWidth = 0);

// Draws `Picture` (a graphic, a picture, or a field whose bytes hold one) into `Rect` by
// CellPictureRects, clipped to the cell. The cell first takes the brush colour unless
// `CopyBackground` (themed and gradient cells keep what they show). `Transparent` sets the
// graphic's transparency; `QuickDraw` lets a bitmap ignore its palette. A source that holds no
// picture, or whose bytes cannot be read as one, draws nothing. A `RightToLeft` picture on a
// right-to-left canvas takes the mirrored horizontal alignment; `MirrorWidth` as above.
void DrawCellPicture(TCanvas* Canvas, const TRect& Rect, TPersistent* Picture, bool CopyBackground,
                     bool Transparent, bool QuickDraw, int OffsetY, int OffsetX, TImageDraw ImageDraw,
                     TVAlignment VAlignment, bool RightToLeft, TAlignment Alignment, int MirrorWidth = 0);

}  // namespace tv
