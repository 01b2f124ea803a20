// The gray and mild borders by fixed style, for the grid's window and its lists' windows alike.

#include "controls/xdb_grid_border.h"

#include <array>

#include "controls/xdb_grid.h"
#include "platform/gui/panel.h"

namespace tv {

TListBorder AutoListBorder(TFixedStyle style, bool themed, bool bothLines) {
    if (!bothLines) return lbDefault;
    if (themed) return lbMild;
    // By FixedStyle, fsDefault .. fsMild.
    static constexpr std::array<TListBorder, 8> kByFixedStyle = {lbDefault, lbGray, lbDefault, lbDefault,
                                                                 lbGray,    lbGray, lbMild,    lbMild};
    return kByFixedStyle[style];
}

void DrawListBorder(TCanvas* Canvas, const TRect& Window, TListBorder border) {
    if (border != lbGray && border != lbMild) return;
    // Mild: a shadow line top-left and a light one bottom-right; gray: a dark line top-left.
    const bool mild = border == lbMild;
    TRect r = Window;
    DrawEdge(Canvas, r, mild ? BDR_SUNKENOUTER : BDR_SUNKENINNER, BF_TOPLEFT);
    r = Window;
    DrawEdge(Canvas, r, mild ? BDR_RAISEDINNER : BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
}

// ---- the grid's side ----

TListBorder TXCustomDBGrid::GetListBorder() const {
    if (fListBorder != lbAuto) return fListBorder;
    return AutoListBorder(fFixedStyle, IsGridThemed(), fOptions.Contains(dgColLines) && fOptions.Contains(dgRowLines));
}

}  // namespace tv
