// Sort markers: a title's Marker and MarkerIndex, the columns' order list, and the rules that
// keep them together under the grid's three marker options. dgMarkerAutoSwitch sorts by one
// column at a time (index 0 or 1), dgMarkerAutoToggle numbers the sort columns (2 x position + 2,
// +1 descending), dgMarkerAscendOnly allows no descending marker. Every change runs inside the
// grid's order-update bracket, so that a whole toggle is noticed once.

#include "controls/xdb_grid_markers.h"

#include <algorithm>

#include "controls/xdb_cell_text.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/gui/canvas.h"

namespace tv {

namespace {

using TOrderList = std::vector<TXColumn*>;

int PositionIn(const TOrderList& list, const TXColumn* column) {
    auto it = std::find(list.begin(), list.end(), column);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

// Puts the column in the order list (appending) or takes it out; taking out renumbers the others
// unless one column sorts at a time.
void JoinOrder(TXDBGridColumns& columns, TXColumn* column, bool join, TXDBGridOptions options) {
    TOrderList& list = columns.OrderList();
    const int pos = PositionIn(list, column);
    if (join) {
        if (pos < 0) list.push_back(column);
    } else if (pos >= 0) {
        list.erase(list.begin() + pos);
        if (!options.Contains(dgMarkerAutoSwitch)) columns.UpdateMarkers();
    }
}

}  // namespace

// ---------------------------------------------------------------- a title's marker

void TXColumnTitle::SetMarkerIndex(int value) {
    if (value == fMarkerIndex) return;
    TXCustomDBGrid* grid = fColumn->Grid();
    if (!grid) return;
    grid->InOrderUpdate([&] {
        const TXDBGridOptions options = grid->Options();
        TXDBGridColumns& columns = *fColumn->Columns();
        if (value >= 0 && options.Contains(dgMarkerAscendOnly)) value &= ~1;
        JoinOrder(columns, fColumn, value >= 0, options);
        if (value >= 0) {
            const int descending = value & 1;
            if (options.Contains(dgMarkerAutoSwitch))
                value = descending;
            else if (options.Contains(dgMarkerAutoToggle))
                value = 2 * PositionIn(columns.OrderList(), fColumn) + 2 + descending;
        }
        fMarkerIndex = value;
        fMarker = value < 0 ? tmNone : (value & 1 ? tmDescend : tmAscend);
        Changed();
    });
}

void TXColumnTitle::SetMarker(TMarker value) {
    if (value == fMarker) return;
    TXCustomDBGrid* grid = fColumn->Grid();
    if (!grid) return;
    grid->InOrderUpdate([&] {
        const TXDBGridOptions options = grid->Options();
        TXDBGridColumns& columns = *fColumn->Columns();
        if (value == tmDescend && options.Contains(dgMarkerAscendOnly)) value = tmAscend;
        if (value != tmNone && options.Contains(dgMarkerAutoSwitch)) columns.RemoveMarkers();
        JoinOrder(columns, fColumn, value != tmNone, options);
        fMarker = value;
        if (value == tmNone) {
            SetMarkerIndex(-1);
        } else {
            const int index = std::max(fMarkerIndex, 0);
            SetMarkerIndex((index & ~1) | (value == tmDescend ? 1 : 0));
        }
        Changed();
    });
}

void TXColumnTitle::SetOrderIndex(int value) {
    if (value == OrderIndex()) return;
    TXCustomDBGrid* grid = fColumn->Grid();
    if (!grid) return;
    grid->InOrderUpdate([&] {
        const TXDBGridOptions options = grid->Options();
        if (value < 0) {
            SetMarkerIndex(value);
        } else if (options.Contains(dgMarkerAutoToggle) && !options.Contains(dgMarkerAutoSwitch)) {
            // A 1-based position (0 is the first too), at most after the last ordered column.
            TXDBGridColumns& columns = *fColumn->Columns();
            TOrderList& list = columns.OrderList();
            const int wanted = std::max(value, 1) - 1;
            if (PositionIn(list, fColumn) == wanted) return;
            list.erase(std::remove(list.begin(), list.end(), fColumn), list.end());
            list.insert(list.begin() + std::min<size_t>(static_cast<size_t>(wanted), list.size()), fColumn);
            columns.UpdateMarkers();
        } else {
            SetMarkerIndex(2 * value + (fMarker == tmDescend ? 1 : 0));
        }
    });
}

void TXColumnTitle::ToggleMarker(bool NewOrder) {
    TXCustomDBGrid* grid = fColumn->Grid();
    if (!grid) return;
    grid->InOrderUpdate([&] {
        const TXDBGridOptions options = grid->Options();
        const bool ascendOnly = options.Contains(dgMarkerAscendOnly);
        TXDBGridColumns& columns = *fColumn->Columns();
        // A new order on an ascending column turns it descending; anything else starts ascending.
        bool wasAscending = false;
        if (NewOrder || options.Contains(dgMarkerAutoSwitch)) {
            wasAscending = fMarker == tmAscend && !ascendOnly;
            columns.RemoveMarkers();
        }
        if (fColumn->FieldName().empty()) return;
        const TOrderList& list = columns.OrderList();
        const int count = static_cast<int>(list.size());
        const int pos = PositionIn(list, fColumn);
        if (pos < 0) {
            if (count < kMaxOrderedColumns) SetMarkerIndex(2 * count + 2 + (wasAscending ? 1 : 0));
        } else if (fMarker == tmAscend && !ascendOnly) {
            SetMarker(tmDescend);
        } else if (pos == count - 1 && pos != 0) {
            SetMarker(tmNone);
        } else {
            SetMarker(tmAscend);
        }
    });
}

// ---------------------------------------------------------------- the columns' order

void TXDBGridColumns::RemoveMarkers() {
    if (!fGrid) return;
    fGrid->InOrderUpdate([&] {
        for (int i = 0; i < Count(); ++i) Items(i)->Title()->SetMarker(tmNone);
        fOrderList.clear();
    });
}

void TXDBGridColumns::UpdateMarkers() {
    if (!fGrid) return;
    const TXDBGridOptions options = fGrid->Options();
    const bool ascendOnly = options.Contains(dgMarkerAscendOnly);
    fGrid->InOrderUpdate([&] {
        if (options.Contains(dgMarkerAutoSwitch)) {
            if (fOrderList.empty()) return;
            TXColumn* first = fOrderList.front();
            const bool descending = first->Title()->Marker() == tmDescend && !ascendOnly;
            RemoveMarkers();
            first->Title()->SetMarkerIndex(descending ? 1 : 0);
        } else if (options.Contains(dgMarkerAutoToggle)) {
            const TOrderList list = fOrderList;
            for (size_t i = 0; i < list.size(); ++i) {
                const bool descending = list[i]->Title()->Marker() == tmDescend && !ascendOnly;
                list[i]->Title()->SetMarkerIndex(2 * static_cast<int>(i) + 2 + (descending ? 1 : 0));
            }
        } else if (ascendOnly) {
            const TOrderList list = fOrderList;
            for (TXColumn* column : list) column->Title()->SetMarker(tmAscend);
        }
    });
}

// ---------------------------------------------------------------- where the painter puts it

TTitleMarkerPlace PlaceTitleMarker(int TextLeft, int TextRight, int MarkerWidth, int Margin, bool AutoAlign,
                                   TAlignment Alignment, int CaptionWidth) {
    TTitleMarkerPlace place{TextLeft, TextRight - (MarkerWidth + 2), 0};
    int p = std::max(place.TextRight, TextLeft) + (Margin == 2 ? 2 : 0);
    if (AutoAlign && Alignment != taRightJustify) {
        // The marker follows the caption instead of standing at the cell's right edge.
        const int c = Alignment == taCenter
                          ? TextLeft + (place.TextRight - TextLeft) / 2 + CaptionWidth / 2 + Margin + 1
                          : TextLeft + CaptionWidth + 2 * Margin + 1;
        if (c < place.TextRight) {
            if (Alignment == taCenter) place.TextLeft += place.TextRight - c;
            place.TextRight = c;
            p = c;
        }
    }
    place.MarkerX = p + 2 - Margin;
    return place;
}

int WidestLineWidth(TCanvas* Canvas, std::string_view Caption) {
    // Unwrapped, every line of the caption is one line of the layout.
    const TCellTextLayout layout = LayoutCellText(Canvas, 1 << 20, 1 << 20, 0, 0, false, false, taLeftJustify, Caption);
    int widest = 0;
    for (const std::string& line : layout.Lines) widest = std::max(widest, Canvas->TextWidth(line));
    return widest;
}

}  // namespace tv
