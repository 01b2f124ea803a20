#pragma once
// The geometry of one axis of a grid, its columns or its rows: which pixels each cell and the line
// after it take for a scroll position and a client extent. Pure arithmetic over the cell sizes;
// the grid (grid.h) keeps one for its columns and one for its rows.
//
// Every cell is followed by its line; a cell takes max(size + line width, 0) pixels. Fixed cells
// start at 0; the scrolled cells start at the fixed boundary with the first scrolled cell shown
// (LeftCol or TopRow).

#include <span>

#include "platform/gui/grid_types.h"

namespace tv {

class TGridAxis {
public:
    // `sizes` holds one size per cell (fixedCount < sizes.size()) and must outlive the axis.
    TGridAxis(std::span<const int> sizes, int fixedCount, int lineWidth)
        : fSizes(sizes), fFixed(fixedCount), fLine(lineWidth) {}

    int Count() const { return static_cast<int>(fSizes.size()); }
    int FixedCount() const { return fFixed; }
    int LineWidth() const { return fLine; }
    int Size(int cell) const { return fSizes[cell]; }
    // The pixels the cell and its line take.
    int Advance(int cell) const;

    // Where the cells lie when `first` is the first scrolled cell shown in `extent` pixels.
    TGridAxisDrawInfo DrawInfo(int first, int extent) const;
    // The smallest first scrolled cell from which `last` is fully visible (the cell, not
    // necessarily its line, ends inside `extent`); `last` itself when not even it fits alone.
    int FirstToShow(int last, int extent) const;
    // The largest first scrolled cell: the one from which every cell to the end is fully visible.
    int MaxFirst(int extent) const { return FirstToShow(Count() - 1, extent); }

    // The pixels [start, end) of a cell's own area (without its line), cut at the extent; false
    // when it shows no pixel (outside the counts, scrolled out, beyond the extent or no size).
    bool CellSpan(const TGridAxisDrawInfo& info, int cell, int& start, int& end) const;
    // The pixel where a shown cell starts (its span may be empty); false when it is not shown.
    bool CellStart(const TGridAxisDrawInfo& info, int cell, int& start) const;
    // The cell at a pixel; a pixel on a line belongs to the cell before it. -1 before 0 and at or
    // after the grid boundary.
    int CellAt(const TGridAxisDrawInfo& info, int pos) const;

    // Calls `visit(cell, start)` for every fixed cell, then every scrolled cell from the first
    // shown, as long as it starts before the grid boundary.
    template <class F>
    void ForEachShown(const TGridAxisDrawInfo& info, F&& visit) const {
        int pos = 0;
        for (int c = 0; c < fFixed && pos < info.GridBoundary; ++c) {
            visit(c, pos);
            pos += Advance(c);
        }
        pos = info.FixedBoundary;
        for (int c = info.FirstGridCell; c < Count() && pos < info.GridBoundary; ++c) {
            visit(c, pos);
            pos += Advance(c);
        }
    }

private:
    int FixedBoundary() const;

    std::span<const int> fSizes;
    int fFixed;
    int fLine;
};

}  // namespace tv
