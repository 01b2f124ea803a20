// The mirrored layout of a right-to-left grid: which side of a cell begins it in column order and
// where a part laid out left to right stands in the mirror. The base grid mirrors the cells
// themselves; the data grid's painters lay out the inside of a cell left to right and place it
// through these.

#include "controls/xdb_grid.h"

namespace tv {

bool TXCustomDBGrid::UseRightToLeftAlignment() const {
    return fBiDiMode == bdRightToLeft;
}

int TXCustomDBGrid::LeadingEdge(const TRect& R) const {
    return UseRightToLeftAlignment() ? R.Right : R.Left;
}

TRect TXCustomDBGrid::MirrorIn(const TRect& Part, const TRect& Whole) const {
    if (!UseRightToLeftAlignment()) return Part;
    const int axis = Whole.Left + Whole.Right;
    return Rect(axis - Part.Right, Part.Top, axis - Part.Left, Part.Bottom);
}

TRect TXCustomDBGrid::TrailingStrip(const TRect& R, int Width, int Top, int Bottom) const {
    return UseRightToLeftAlignment() ? Rect(R.Left - Width, Top, R.Left, Bottom) : Rect(R.Right, Top, R.Right + Width, Bottom);
}

TRect TXCustomDBGrid::ExtendedTrailing(const TRect& R, int By) const {
    return UseRightToLeftAlignment() ? Rect(R.Left - By, R.Top, R.Right, R.Bottom)
                                     : Rect(R.Left, R.Top, R.Right + By, R.Bottom);
}

}  // namespace tv
