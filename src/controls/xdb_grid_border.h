#pragma once
// The border the data grid lays over a one-pixel window frame, on its own window and on the
// windows of its editor's lists: a pair of 3D edges, gray or mild, that the fixed style chooses.

#include "controls/xdb_grid_types.h"
#include "platform/gui/rect.h"

namespace tv {

class TCanvas;

// The border lbAuto stands for: mild on a themed grid, else by the fixed style; lbDefault (the
// plain frame) unless both the column and the row lines are drawn.
TListBorder AutoListBorder(TFixedStyle style, bool themed, bool bothLines);

// The edges of lbGray or lbMild along the top-left and the bottom-right of `Window`; the other
// values leave the frame as it is.
void DrawListBorder(TCanvas* Canvas, const TRect& Window, TListBorder border);

}  // namespace tv
