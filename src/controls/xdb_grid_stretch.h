#pragma once
// Stretching the data grid's columns to its client width: the shares as a pure function, so that
// the grid only gathers the showing columns and applies the widths it returns.

#include <vector>

namespace tv {

// One showing column: its width before stretching and its own limits (-1 = none).
struct TStretchColumn {
    int Base = 0;
    int WidthMin = -1;
    int WidthMax = -1;
};

struct TStretchResult {
    std::vector<int> Widths;  // one per column, in order; empty when no base width is positive
    int GridWidth = 0;        // the space left to the free columns
    int ColsWidth = 0;        // their base widths' total
};

// Shares `Space` among `Columns` in proportion to their base widths. A column whose share breaks
// its own limit, or the grid's `StretchMin`/`StretchMax` (-1 = none) where it has none of its own,
// is held at that limit and leaves the pool; when every column is held before the space is used,
// those held at a minimum are freed once and share again. The remainders of the integer shares
// pass to the following columns, so the last free column takes what is left.
TStretchResult StretchWidths(int Space, const std::vector<TStretchColumn>& Columns, int StretchMin,
                             int StretchMax);

}  // namespace tv
