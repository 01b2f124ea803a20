#pragma once
// The boxes the data grid draws (the frames of check boxes in cells, later those of total cells):
// the box style an automatic CheckBoxStyle stands for under each fixed style, and the 3D edges of
// each box style.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid_types.h"
#include "platform/gui/rect.h"

namespace tv {

class TCanvas;

// cbAuto, cbAutoGray and cbAutoLowered resolved by the fixed style; the others are themselves.
TCheckBoxStyle EffectiveBoxStyle(TCheckBoxStyle style, TFixedStyle fixedStyle);

// The edges of an effective box style (cbDefault .. cbMild) along the border of `Box`: one ring of
// pixels, or two for cbDefault and cbSoft. What lies inside is left as it is.
void DrawBox(TCanvas* Canvas, const TRect& Box, TCheckBoxStyle effective);

}  // namespace tv
