#pragma once
// Where a title cell's sort marker goes (the marker rules themselves are TXColumnTitle's and
// TXDBGridColumns', in xdb_grid_markers.cpp).

#include <string_view>

#include "platform/rtl/alignment.h"

namespace tv {

class TCanvas;

// The caption's text rectangle (left and right) once the marker has taken its room, and the x of
// the marker glyph.
struct TTitleMarkerPlace {
    int TextLeft;
    int TextRight;
    int MarkerX;
};

// The marker stands at the right of the text rectangle TextLeft .. TextRight, MarkerWidth + 2
// pixels wide; Margin is the cell margin (1 with both grid lines, else 2). With AutoAlign, a
// caption that is not right-aligned keeps the marker just after its widest line (CaptionWidth)
// when that leaves room, a centred caption moving right with it.
TTitleMarkerPlace PlaceTitleMarker(int TextLeft, int TextRight, int MarkerWidth, int Margin, bool AutoAlign,
                                   TAlignment Alignment, int CaptionWidth);

// The width of the widest line of `Caption` (CR, LF or CR LF end a line) in the canvas's font.
int WidestLineWidth(TCanvas* Canvas, std::string_view Caption);

}  // namespace tv
