// The data grid's stretching: the shares of the client width (StretchWidths), StretchGrid, which
// applies them to the showing columns, and the switch between stretched and base widths.

#include "controls/xdb_grid_stretch.h"

#include <cstdint>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"

namespace tv {
namespace {

// Why a column left the pool: held at its own minimum or maximum, or at the grid's.
enum TWidthLock : uint8_t { wlFree, wlMin, wlMax, wlStretchMin, wlStretchMax };

int Share(int base, int space, int total) {
    return static_cast<int>(static_cast<int64_t>(base) * space / total);
}

}  // namespace

TStretchResult StretchWidths(int Space, const std::vector<TStretchColumn>& Columns, int StretchMin,
                             int StretchMax) {
    TStretchResult result;
    int space = Space;
    int bases = 0;
    for (const TStretchColumn& column : Columns) bases += column.Base;
    if (bases <= 0) return result;

    std::vector<TWidthLock> locks(Columns.size(), wlFree);
    auto limitOf = [&](size_t i) {
        switch (locks[i]) {
            case wlMin: return Columns[i].WidthMin;
            case wlMax: return Columns[i].WidthMax;
            case wlStretchMin: return StretchMin;
            case wlStretchMax: return StretchMax;
            case wlFree: break;
        }
        return 0;
    };
    bool minimaFreed = false;
    bool changed = true;
    while (changed && space > 0 && bases > 0) {
        changed = false;
        const int c = space, d = bases;
        for (size_t i = 0; i < Columns.size(); ++i) {
            if (locks[i] != wlFree) continue;
            const TStretchColumn& column = Columns[i];
            const int e = Share(column.Base, c, d);
            if (column.WidthMin >= 0 && column.WidthMin > e)
                locks[i] = wlMin;
            else if (column.WidthMax >= 0 && column.WidthMax < e)
                locks[i] = wlMax;
            else if (column.WidthMin == -1 && StretchMin >= 0 && StretchMin > e)
                locks[i] = wlStretchMin;
            else if (column.WidthMax == -1 && StretchMax >= 0 && StretchMax < e)
                locks[i] = wlStretchMax;
            else
                continue;
            bases -= column.Base;
            space -= limitOf(i);
            changed = true;
        }
        if (!minimaFreed && bases <= 0 && space > 0) {
            minimaFreed = true;
            for (size_t i = 0; i < Columns.size(); ++i)
                if (locks[i] == wlMin || locks[i] == wlStretchMin) {
                    bases += Columns[i].Base;
                    space += limitOf(i);
                    locks[i] = wlFree;
                }
        }
    }
    result.GridWidth = space;
    result.ColsWidth = bases;

    result.Widths.reserve(Columns.size());
    for (size_t i = 0; i < Columns.size(); ++i) {
        int width;
        if (locks[i] != wlFree) {
            width = limitOf(i);
        } else if (space <= 0) {
            width = StretchMin >= 0 ? StretchMin : 0;
        } else if (bases <= 0) {
            width = 0;
        } else {
            width = Share(Columns[i].Base, space, bases);
            bases -= Columns[i].Base;
            space -= width;
        }
        result.Widths.push_back(width);
    }
    return result;
}

void TXCustomDBGrid::UpdateStretchActive(bool LinkActive) {
    const bool stretch = fStretchMode && LinkActive;
    if (stretch == fStretchActive) return;
    fStretchActive = stretch;
    // Stretching shares from the widths the columns have now; ending it gives them back.
    fColumns->BeginUpdate();
    try {
        for (int i = 0; i < fColumns->Count(); ++i) {
            TXColumn* column = fColumns->Items(i);
            if (stretch)
                column->fWidthBase = column->TrueWidth();
            else
                column->SetWidth(column->fWidthBase);
        }
    } catch (...) {
        fColumns->EndUpdate();
        throw;
    }
    fColumns->EndUpdate();
    StretchGrid();
}

void TXCustomDBGrid::StretchGrid() {
    if (!fStretchActive || fStretching) return;
    fStretching = true;
    fColumns->BeginUpdate();
    auto body = [this] {
        int space = ClientWidth();
        if (fOptions.Contains(dgIndicator)) space -= fIndicatorWidth + ColLineWidth();
        if (!ScrollBarShown(false) && !IsGridThemed() && !(BorderStyle() == bsSingle && Ctl3D())) ++space;
        std::vector<TXColumn*> showing;
        std::vector<TStretchColumn> columns;
        for (int i = 0; i < fColumns->Count(); ++i) {
            TXColumn* column = fColumns->Items(i);
            if (!column->Showing()) continue;
            space -= ColLineWidth();
            showing.push_back(column);
            columns.push_back({column->fWidthBase, column->WidthMin(), column->WidthMax()});
        }
        const TStretchResult result = StretchWidths(space, columns, fStretchWidthMin, fStretchWidthMax);
        if (result.Widths.empty()) return;
        fGridWidth = result.GridWidth;
        fColsWidth = result.ColsWidth;
        for (size_t i = 0; i < showing.size(); ++i)
            if (showing[i]->TrueWidth() != result.Widths[i]) showing[i]->SetWidth(result.Widths[i]);
    };
    auto end = [this] {
        fColumns->EndUpdate();
        fStretching = false;
    };
    try {
        body();
    } catch (...) {
        end();
        throw;
    }
    end();
    if (LeftCol() > fIndicatorOffset + FixedCols() && ColumnsWidth() <= ClientWidth())
        SetLeftColumn(fIndicatorOffset + FixedCols());
}

}  // namespace tv
