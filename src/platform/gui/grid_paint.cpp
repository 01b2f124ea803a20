// The base grid's paint loop: lines, then the cells of the four areas, then the room after the
// last cell, then the feedback of sizing and moving. Positions are worked out left to right and
// mirrored (MirrorRect) as they are drawn, so a right-to-left grid paints the mirror image.

#include <algorithm>

#include "platform/gui/grid.h"

namespace tv {

namespace {

void Fill(TCanvas* canvas, const TRect& r, TColor colour) {
    if (r.IsEmpty()) return;
    canvas->Brush()->SetColor(colour);
    canvas->FillRect(r);
}

}  // namespace

void TCustomGrid::Paint() {
    const TGridDrawInfo info = CalcDrawInfo();
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsSolid);
    auto alive = Watch();
    PaintLines(info);
    // Fixed rows before scrolled rows, fixed columns before scrolled columns.
    for (const bool fixedRows : {true, false})
        for (const bool fixedCols : {true, false}) {
            PaintArea(info, fixedRows, fixedCols);
            if (alive.expired()) return;
        }
    // The room after the last cell.
    canvas->ResetClipRect();
    canvas->Brush()->SetStyle(bsSolid);
    const TRect client = Rect(0, 0, info.Horz.GridExtent, info.Vert.GridExtent);
    Fill(canvas, MirrorRect(CommonRect(Rect(info.Horz.GridBoundary, 0, client.Right, client.Bottom), client)),
         Color());
    Fill(canvas, MirrorRect(CommonRect(Rect(0, info.Vert.GridBoundary, info.Horz.GridBoundary, client.Bottom), client)),
         Color());
    PaintDragFeedback(info);
}

void TCustomGrid::PaintLines(const TGridDrawInfo& info) {
    TCanvas* canvas = Canvas();
    canvas->ResetClipRect();
    const TGridAxis cols = Columns();
    const TGridAxis rows = Rows();
    const TRect client = Rect(0, 0, info.Horz.GridExtent, info.Vert.GridExtent);
    // Lines of fixed cells are black; data lines silver, or gray where they would vanish on silver.
    const TColor dataLine = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
    rows.ForEachShown(info.Vert, [&](int r, int top) {
        const int cellBottom = top + std::max(rows.Size(r), 0);
        const int bottom = top + rows.Advance(r);
        cols.ForEachShown(info.Horz, [&](int c, int left) {
            const TColor colour = c < fFixedCols || r < fFixedRows ? clBlack : dataLine;
            const int cellRight = left + std::max(cols.Size(c), 0);
            const int right = left + cols.Advance(c);
            // Each cell owns the line to its right (with the corner) and the line below it.
            if (right > cellRight)
                Fill(canvas, MirrorRect(CommonRect(Rect(cellRight, top, right, bottom), client)), colour);
            if (bottom > cellBottom)
                Fill(canvas, MirrorRect(CommonRect(Rect(left, cellBottom, cellRight, bottom), client)), colour);
        });
    });
}

void TCustomGrid::PaintArea(const TGridDrawInfo& info, bool fixedRows, bool fixedCols) {
    const TGridAxisDrawInfo& h = info.Horz;
    const TGridAxisDrawInfo& v = info.Vert;
    const TRect area = MirrorRect(
        Rect(fixedCols ? 0 : h.FixedBoundary, fixedRows ? 0 : v.FixedBoundary,
             fixedCols ? std::min(h.FixedBoundary, h.GridBoundary) : h.GridBoundary,
             fixedRows ? std::min(v.FixedBoundary, v.GridBoundary) : v.GridBoundary));
    if (area.IsEmpty()) return;
    TCanvas* canvas = Canvas();
    const TGridAxis cols = Columns();
    const TGridAxis rows = Rows();
    const TGridRect selection = Selection();
    const bool focused = HasFocus();
    const bool rowSelect = fOptions.Contains(goRowSelect);
    auto alive = Watch();
    bool stopped = false;
    rows.ForEachShown(v, [&](int r, int top) {
        if (stopped || (r < fFixedRows) != fixedRows) return;
        const int bottom = std::min(top + std::max(rows.Size(r), 0), v.GridExtent);
        cols.ForEachShown(h, [&](int c, int left) {
            if (stopped || (c < fFixedCols) != fixedCols) return;
            const TRect rect =
                MirrorRect(Rect(left, top, std::min(left + std::max(cols.Size(c), 0), h.GridExtent), bottom));
            if (rect.IsEmpty()) return;
            TGridDrawState state;
            if (fixedRows || fixedCols)
                state.Include(gdFixed);
            else if (selection.Contains(c, r))
                state.Include(gdSelected);
            if (focused && c == fCol && r == fRow) state.Include(gdFocused);
            if (rowSelect && r == fRow) state.Include(gdRowSelected);
            canvas->ResetClipRect();
            canvas->IntersectClipRect(area);
            DrawCell(c, r, rect, state);
            stopped = alive.expired();
        });
    });
}

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    Fill(canvas, ARect,
         AState.Contains(gdFixed)      ? fFixedColor
         : AState.Contains(gdSelected) ? clHighlight
                                       : Color());
}

void TCustomGrid::PaintDragFeedback(const TGridDrawInfo& info) {
    TCanvas* canvas = Canvas();
    canvas->ResetClipRect();
    canvas->Brush()->SetStyle(bsSolid);
    const TRect client = Rect(0, 0, info.Horz.GridExtent, info.Vert.GridExtent);
    switch (fGridState) {
        case gsColSizing: {
            const int x = SizingLine();
            Fill(canvas, MirrorRect(CommonRect(Rect(x, 0, x + 1, client.Bottom), client)), clBlack);
            break;
        }
        case gsRowSizing: {
            const int y = SizingLine();
            Fill(canvas, CommonRect(Rect(0, y, client.Right, y + 1), client), clBlack);
            break;
        }
        case gsColMoving: {
            int x = 0;
            if (MoveMarkerPos(info, x))
                Fill(canvas, MirrorRect(CommonRect(Rect(x - 1, 0, x + 1, client.Bottom), client)), clBlack);
            break;
        }
        default:
            break;
    }
}

}  // namespace tv
