#include "platform/gui/grid_axis.h"

#include <algorithm>

namespace tv {

int TGridAxis::Advance(int cell) const {
    return std::max(fSizes[cell] + fLine, 0);
}

int TGridAxis::FixedBoundary() const {
    int pos = 0;
    for (int c = 0; c < fFixed; ++c) pos += Advance(c);
    return pos;
}

TGridAxisDrawInfo TGridAxis::DrawInfo(int first, int extent) const {
    TGridAxisDrawInfo info;
    info.EffectiveLineWidth = fLine;
    info.FixedCellCount = fFixed;
    info.FirstGridCell = first;
    info.GridCellCount = Count();
    info.GridExtent = extent;
    info.FixedBoundary = FixedBoundary();
    int pos = info.FixedBoundary;
    // The first scrolled cell counts as fully visible even when it does not fit.
    info.LastFullVisibleCell = first;
    info.FullVisBoundary = pos + Advance(first);
    bool full = true;
    for (int c = first; c < Count() && pos < extent; ++c) {
        if (full && pos + std::max(fSizes[c], 0) <= extent) {
            info.LastFullVisibleCell = c;
            info.FullVisBoundary = pos + Advance(c);
        } else {
            full = false;
        }
        pos += Advance(c);
    }
    info.GridBoundary = std::min(pos, extent);
    return info;
}

int TGridAxis::FirstToShow(int last, int extent) const {
    const int room = extent - FixedBoundary();
    int used = std::max(fSizes[last], 0);
    int first = last;
    while (first > fFixed) {
        const int more = used + Advance(first - 1);
        if (more > room) break;
        used = more;
        --first;
    }
    return first;
}

bool TGridAxis::CellStart(const TGridAxisDrawInfo& info, int cell, int& start) const {
    if (cell < 0 || cell >= Count()) return false;
    int pos = 0;
    if (cell < fFixed) {
        for (int c = 0; c < cell; ++c) pos += Advance(c);
    } else {
        if (cell < info.FirstGridCell) return false;
        pos = info.FixedBoundary;
        for (int c = info.FirstGridCell; c < cell && pos < info.GridBoundary; ++c) pos += Advance(c);
    }
    if (pos >= info.GridBoundary) return false;
    start = pos;
    return true;
}

bool TGridAxis::CellSpan(const TGridAxisDrawInfo& info, int cell, int& start, int& end) const {
    int pos = 0;
    if (!CellStart(info, cell, pos)) return false;
    const int stop = std::min(pos + std::max(fSizes[cell], 0), info.GridExtent);
    if (stop <= pos) return false;
    start = pos;
    end = stop;
    return true;
}

int TGridAxis::CellAt(const TGridAxisDrawInfo& info, int pos) const {
    if (pos < 0 || pos >= info.GridBoundary) return -1;
    int end = 0;
    for (int c = 0; c < fFixed; ++c) {
        end += Advance(c);
        if (pos < end) return c;
    }
    end = info.FixedBoundary;
    for (int c = info.FirstGridCell; c < Count(); ++c) {
        end += Advance(c);
        if (pos < end) return c;
    }
    return -1;
}

}  // namespace tv
