#pragma once
// Writing text and glyphs into the data grid's cells: several lines (CR, LF or CR LF end a line),
// wrapped at blanks and ideographs, cut with "..." where a line does not fit, aligned both ways.
// Titles, data, total and pop-up cells all write through these.

#include <string>
#include <string_view>
#include <vector>

#include "controls/xdb_columns.h"
#include "platform/gui/rect.h"
#include "platform/rtl/alignment.h"

namespace tv {

class TCanvas;
class TImageList;

// The lines of `Text` as WriteCellText would draw them into a cell of `Width` x `Height`
// (before the ellipsis cut): the text's own lines, wrapped when `WordWrap`.
struct TCellTextLayout {
    std::vector<std::string> Lines;
    int LinesFit = 1;      // lines that fit the height (at least 1)
    bool FromTop = false;  // not even one line fits: drawn from the top
};
TCellTextLayout LayoutCellText(TCanvas* Canvas, int Width, int Height, int DX, int DY, bool WordWrap,
                               bool Ellipsis, TAlignment Alignment, std::string_view Text);

// Draws `Text` into `Rect` with the canvas's font, clipped to it, over what the cell shows:
// DX and DY are the margins; the lines are placed by `VAlignment` and `Alignment` (mirrored when
// `RightToLeft` text stands on a right-to-left canvas).
void WriteCellText(TCanvas* Canvas, const TRect& Rect, int DX, TVAlignment VAlignment, bool WordWrap,
                   bool Ellipsis, bool RightToLeft, TAlignment Alignment, std::string_view Text, int DY);

// Draws glyph `Index` of `ImageList` at X, Y, clipped to `Rect`. On a right-to-left canvas a
// `NoMirror` glyph (a record glyph, which points along the row) is not kept from the grid's mirror
// and shows mirrored; every other glyph (pictures, marks, the digits of markers) keeps its face.
void DrawGlyph(TImageList* ImageList, TCanvas* Canvas, const TRect& Rect, bool CopyBackground, bool NoMirror,
               int Index, int Y, int X);

}  // namespace tv
