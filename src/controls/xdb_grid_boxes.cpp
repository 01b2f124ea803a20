// Box styles: the automatic ones per fixed style, and each style's edges, as tables.

#include "controls/xdb_grid_boxes.h"

#include <array>

#include "platform/gui/canvas.h"
#include "platform/gui/panel.h"

namespace tv {
namespace {

// cbAuto, cbAutoGray and cbAutoLowered by fixed style, fsDefault .. fsMild.
constexpr std::array<std::array<TCheckBoxStyle, 3>, 8> kAutoBoxStyles = {{
    {cbDefault, cbSoft, cbDefault},              // fsDefault
    {cbSoft, cbSoft, cbSoft},                    // fsSoft
    {cbLoweredDark, cbLoweredGray, cbLoweredDark},  // fsNice
    {cbFlat, cbGray, cbLoweredDark},             // fsFlat
    {cbLoweredGray, cbLoweredGray, cbLoweredGray},  // fsGreat
    {cbGray, cbGray, cbLoweredGray},             // fsGray
    {cbLoweredMild, cbLoweredGray, cbLoweredMild},  // fsFine
    {cbMild, cbGray, cbLoweredMild},             // fsMild
}};

// One edge of a box: drawn on the box shrunk by `inset` on each side.
struct TBoxEdge {
    int inset;
    uint32_t edge;
    uint32_t flags;
};
constexpr TBoxEdge kNoEdge{-1, 0, 0};

// The edges of each style, cbDefault .. cbMild, in drawing order.
constexpr std::array<std::array<TBoxEdge, 3>, 8> kBoxEdges = {{
    // cbDefault: a sunken outer frame; inside it a sunken mono edge top-left, a sunken inner one bottom-right
    {{{0, BDR_SUNKENOUTER, BF_RECT}, {1, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MONO}, {1, BDR_SUNKENINNER, BF_BOTTOMRIGHT}}},
    // cbSoft: a sunken outer frame with a sunken inner frame inside
    {{{0, BDR_SUNKENOUTER, BF_RECT}, {1, BDR_SUNKENINNER, BF_RECT}, kNoEdge}},
    // cbLoweredDark: sunken outer mono top-left, sunken inner bottom-right
    {{{0, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MONO}, {0, BDR_SUNKENINNER, BF_BOTTOMRIGHT}, kNoEdge}},
    // cbLoweredGray: sunken inner all round
    {{{0, BDR_SUNKENINNER, BF_RECT}, kNoEdge, kNoEdge}},
    // cbLoweredMild: sunken outer top-left, sunken inner bottom-right
    {{{0, BDR_SUNKENOUTER, BF_TOPLEFT}, {0, BDR_SUNKENINNER, BF_BOTTOMRIGHT}, kNoEdge}},
    // cbFlat: sunken outer mono top-left, raised outer mono bottom-right
    {{{0, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MONO}, {0, BDR_RAISEDOUTER, BF_BOTTOMRIGHT | BF_MONO}, kNoEdge}},
    // cbGray: sunken inner top-left, raised outer bottom-right
    {{{0, BDR_SUNKENINNER, BF_TOPLEFT}, {0, BDR_RAISEDOUTER, BF_BOTTOMRIGHT}, kNoEdge}},
    // cbMild: sunken outer top-left, raised inner bottom-right
    {{{0, BDR_SUNKENOUTER, BF_TOPLEFT}, {0, BDR_RAISEDINNER, BF_BOTTOMRIGHT}, kNoEdge}},
}};

}  // namespace

TCheckBoxStyle EffectiveBoxStyle(TCheckBoxStyle style, TFixedStyle fixedStyle) {
    if (style > cbAutoLowered) return style;
    return kAutoBoxStyles[fixedStyle][style];
}

void DrawBox(TCanvas* Canvas, const TRect& Box, TCheckBoxStyle effective) {
    if (effective < cbDefault) return;
    for (const TBoxEdge& e : kBoxEdges[effective - cbDefault]) {
        if (e.inset < 0) break;
        TRect r = Rect(Box.Left + e.inset, Box.Top + e.inset, Box.Right - e.inset, Box.Bottom - e.inset);
        DrawEdge(Canvas, r, e.edge, e.flags);
    }
}

}  // namespace tv
