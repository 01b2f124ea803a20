// The data grid's structure: the update and layout brackets, the deferred layout, the layout
// itself (columns for the data, fixed columns, title and total rows, row heights), the row count
// that sizes the link's buffer, the tab stops and widths of the base columns, and the metrics.

#include <algorithm>
#include <utility>
#include <vector>

#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"

namespace tv {

// ---------------------------------------------------------------- brackets

void TXCustomDBGrid::BeginUpdate() {
    ++fUpdateLock;
}

void TXCustomDBGrid::EndUpdate() {
    if (fUpdateLock > 0) --fUpdateLock;
}

void TXCustomDBGrid::BeginLayout() {
    BeginUpdate();
    if (fLayoutLock == 0) fColumns->BeginUpdate();
    ++fLayoutLock;
}

void TXCustomDBGrid::EndLayout() {
    if (fLayoutLock == 0) return;
    // The counts fall only after the columns' bracket ended, so that the change notice it sends
    // finds the layout still locked: the layout just made covers it.
    auto lower = [this] {
        if (fLayoutLock == 1) fColumns->EndUpdate();
        --fLayoutLock;
        EndUpdate();
    };
    if (fLayoutLock == 1) {
        try {
            InternalLayout();
        } catch (...) {
            lower();
            throw;
        }
    }
    lower();
}

bool TXCustomDBGrid::TryBeginLayout() {
    if (fUpdateLock != 0 || fLayoutLock != 0) return false;
    BeginLayout();
    return true;
}

void TXCustomDBGrid::DeferLayout() {
    PostGridMessage(kLayoutMessage);
    if (fLayoutLock == 0) return;
    if (fLayoutLock == 1) fColumns->EndUpdate();
    --fLayoutLock;
    EndUpdate();
}

void TXCustomDBGrid::GridMessage(uint32_t Msg) {
    if (Msg != kLayoutMessage) return;
    ++fScrollLock;
    try {
        if (TryBeginLayout())
            EndLayout();
        else
            DeferLayout();
    } catch (...) {
        --fScrollLock;
        throw;
    }
    --fScrollLock;
}

void TXCustomDBGrid::LayoutChanged() {
    if (TryBeginLayout()) EndLayout();
}

// ---------------------------------------------------------------- the layout

bool TXCustomDBGrid::ParentsExpanded(const TXColumn* Column) const {
    for (TXColumn* p = Column->ParentColumn(); p; p = p->ParentColumn())
        if (!p->Expanded() || !p->Visible()) return false;
    return true;
}

void TXCustomDBGrid::InternalLayout() {
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDestroying)) return;
    RemoveGridMessage(kLayoutMessage);

    // Stored and default columns mixed (a default one before a stored one): the default ones go.
    bool defaultSeen = false;
    bool mixed = false;
    for (int i = 0; i < fColumns->Count() && !mixed; ++i) {
        if (!fColumns->Items(i)->Stored())
            defaultSeen = true;
        else if (defaultSeen)
            mixed = true;
    }
    if (mixed)
        for (int i = fColumns->Count() - 1; i >= 0; --i)
            if (!fColumns->Items(i)->Stored()) delete fColumns->Items(i);

    fIndicatorOffset = fOptions.Contains(dgIndicator) ? 1 : 0;
    fDataLink->ClearMapping();
    if (fDataLink->Active()) DefineFieldMap();
    LayoutColumns();

    fVisibleColumns.clear();
    for (int i = 0; i < fColumns->Count(); ++i)
        if (fColumns->Items(i)->Showing()) fVisibleColumns.push_back(fColumns->Items(i));
    SetColCount(std::max(1, fColumns->Count() + fIndicatorOffset));

    LayoutFixedCols();
    RecomputeSelectionOffset();

    if (fOptions.Contains(dgAlwaysShowEditor))
        for (int i = FixedCols(); i < fColumns->Count(); ++i) {
            TXColumn* column = fColumns->Items(i);
            if (column->Showing() && !column->CanShowEditor()) {
                TXDBGridOptions options = fOptions;
                options.Exclude(dgAlwaysShowEditor);
                SetOptions(options);
                HideEditor();
                break;
            }
        }

    fTitleOffset = 0;
    if (fOptions.Contains(dgTitles)) {
        int depth = 0;
        for (TXColumn* column : fVisibleColumns) depth = std::max(depth, column->Depth());
        fTitleOffset = 1 + depth;
    }

    fTotalOffset = fOptionsEx.Contains(dgBlankRow) ? 1 : 0;
    fTotalHeader = fOptionsEx.Contains(dgTotalHeader) ? 1 : 0;
    fTotalValues = fOptionsEx.Contains(dgTotalValues) ? TotalValueRows() : 0;
    fTotalFooter = fOptionsEx.Contains(dgTotalFooter) ? 1 : 0;
    fTotalOffset += fTotalHeader + fTotalValues + fTotalFooter;
    if (fOptionsEx.Contains(dgTotalFields) && fTotals->DataLink()->Active())
        fTotalOffset += fTotals->DataLink()->RecordCount();

    UpdateRowCount();
    CalcRowHeights();
    UpdateRowCount();

    // The current grid column must show a column: the next one that does.
    TXColumn* current = SelectedColumn();
    if (current && !current->Showing())
        for (int raw = Col() + 1; raw < ColCount(); ++raw)
            if (TXColumn* next = RawToColumn(raw); next && next->Showing()) {
                SetCol(raw);
                break;
            }

    UpdateScrollBar();
    UpdateColumnTabs();
    UpdateActive();
    UpdateRowCount();
    Invalidate();
}

void TXCustomDBGrid::DefineFieldMap() {
    if (fColumns->State() == csCustomized) {
        // One entry per column; a column whose field is missing maps to none.
        fDataLink->SetSparseMap(true);
        for (int i = 0; i < fColumns->Count(); ++i) fDataLink->AddMapping(fColumns->Items(i)->FieldName());
        return;
    }
    fDataLink->SetSparseMap(false);
    // An object field is followed by its sub-fields, which its column heads as a group.
    for (TField* field : fDataLink->DataSet()->FieldList()) {
        bool visible = true;
        for (TField* f = field; f && visible; f = f->ParentField()) visible = f->Visible();
        if (visible) fDataLink->AddMapping(field->FullName());
    }
}

void TXCustomDBGrid::LayoutColumns() {
    if (fColumns->State() == csCustomized) {
        // Each column looks its field up again; nothing is added or taken away.
        for (int i = 0; i < fColumns->Count(); ++i) {
            TXColumn* column = fColumns->Items(i);
            TField* field = nullptr;
            TDataSet* dataSet = fDataLink->DataSet();
            if (dataSet && !column->FieldName().empty() && (dataSet->Active() || !dataSet->DefaultFields()))
                field = dataSet->FindField(column->FieldName());
            column->SetField(field);
        }
        return;
    }
    LayoutDefaultColumns();
}

void TXCustomDBGrid::LayoutDefaultColumns() {
    const bool linkActive = fDataLink->Active();
    if (linkActive || !fDataLink->DefaultFields()) {
        for (int i = fColumns->Count() - 1; i >= 0; --i) {
            TXColumn* column = fColumns->Items(i);
            TField* field = column->Field();
            bool mapped = false;
            for (int m = 0; m < fDataLink->FieldCount() && !mapped; ++m) mapped = fDataLink->Fields(m) == field;
            if (!field || !mapped) delete column;
        }
    } else
        fColumns->Clear();
    const int passes = std::max(1, fDataLink->FieldCount());
    for (int i = 0; i < passes; ++i) {
        TField* field = fDataLink->Fields(i);
        TXColumn* column = nullptr;
        for (int j = i; j < fColumns->Count() && !column; ++j)
            if (field && fColumns->Items(j)->Field() == field) column = fColumns->Items(j);
        if (!column) {
            column = fColumns->InternalAdd();
            column->SetField(field);
        }
        column->TCollectionItem::SetIndex(std::min(i, fColumns->Count() - 1));
    }
    if (fOptionsExt.Contains(dgAutoSelectColumn)) fColumns->InternalAddAutoSelect(false);
    if (fOptionsExt.Contains(dgAutoNumberColumn)) fColumns->InternalAddAutoNumber(false);
}

void TXCustomDBGrid::LayoutFixedCols() {
    const int count = fColumns->Count();
    if (!fDataLink->Active() && fColumns->State() != csCustomized) {
        TCustomGrid::SetFixedCols(fIndicatorOffset);
        return;
    }
    // A group heads ExpandCols columns: no more than follow it, and through its last member.
    for (int i = count - 1; i >= 0; --i) {
        TXColumn* column = fColumns->Items(i);
        column->fExpandCols = std::min(column->fExpandCols, count - 1 - i);
        if (column->Expandable()) {
            TXColumn* last = ColumnAtDepth(fColumns->Items(i + column->fExpandCols), column->Depth());
            if (last) column->fExpandCols = last->ExpandIndex() - i;
        }
    }
    fFixedCols = std::min(fFixedCols, count - 1);
    if (fFixedCols > 0) {
        // Fixed columns take whole top-level groups; a group that would fix every column is the
        // last one fixed by its first column.
        TXColumn* top = ColumnAtDepth(fColumns->Items(fFixedCols - 1), 0);
        const int widened = top ? top->ExpandIndex() + 1 : fFixedCols;
        fFixedCols = widened >= count && top ? top->Index() : widened;
    }
    TCustomGrid::SetFixedCols(fIndicatorOffset + std::max(0, fFixedCols));
}

// ---------------------------------------------------------------- row heights

int TXCustomDBGrid::ColumnTitleHeight(TXColumn* Column) {
    return TextHeightOf(Column->Title()->Font()) * fTitleLinesCount + fGridStyle->TitleRowSpace() +
           Column->Title()->HeaderRowCount() * fHeaderRowHeight;
}

void TXCustomDBGrid::CalcRowHeights() {
    const int rowLine = RowLineWidth();
    fLineHeight = TextHeightOf(Font());
    SetDefaultRowHeight(rowLine + fLineHeight * fLinesCount + fGridStyle->DataRowSpace());

    fHeaderRowHeight = 0;
    if (fOptions.Contains(dgTitles) && fTitleOffset > 0) {
        if (fOptions.Contains(dgTitleHeaders))
            fHeaderRowHeight = TextHeightOf(fHeaderFont.get()) * fHeaderLinesCount + fGridStyle->HeaderRowSpace() +
                               rowLine;
        std::vector<int> heights(static_cast<size_t>(fTitleOffset), 0);
        // Expanded columns raise the row of their depth; a leaf spans the rows from its depth to
        // the last, and what the rows above it leave raises the last.
        for (int i = 0; i < fColumns->Count(); ++i) {
            TXColumn* column = fColumns->Items(i);
            if (!column->Visible() || !column->Expanded() || !ParentsExpanded(column)) continue;
            const int d = std::min(column->Depth(), fTitleOffset - 1);
            heights[static_cast<size_t>(d)] = std::max(heights[static_cast<size_t>(d)], ColumnTitleHeight(column));
        }
        for (TXColumn* column : fVisibleColumns) {
            int rest = ColumnTitleHeight(column);
            for (int d = column->Depth(); d <= fTitleOffset - 2; ++d) rest -= heights[static_cast<size_t>(d)];
            int& last = heights[static_cast<size_t>(fTitleOffset - 1)];
            last = std::max(last, rest);
        }
        if (heights[0] == 0)
            heights[0] = TextHeightOf(fTitleFont.get()) * fTitleLinesCount + fGridStyle->TitleRowSpace();
        for (int i = 0; i < fTitleOffset && i < RowCount(); ++i) SetRowHeights(i, heights[static_cast<size_t>(i)]);
    }

    fTotalRowHeight = fTotalOffset > 1 ? TotalRowHeightFromFonts() : 0;
    fRowCalculated = true;
}

void TXCustomDBGrid::SetTotalRowHeights(bool forCounting) {
    if (fTotalOffset == 0) return;
    const int rows = RowCount();
    const int rowLine = RowLineWidth();
    if (forCounting) {
        // The total rows stand right after the titles while the base grid counts what fits.
        for (int i = rows - fTotalOffset; i < rows; ++i) SetRowHeights(i, DefaultRowHeight());
        SetRowHeights(fTitleOffset, -rowLine);
        for (int i = 1; i < fTotalOffset; ++i) SetRowHeights(fTitleOffset + i, fTotalRowHeight);
        return;
    }
    for (int i = rows - fTotalOffset + 1; i < rows; ++i) SetRowHeights(i, fTotalRowHeight);
    SetRowHeights(rows - fTotalOffset, std::max(0, BlankHeight()) - rowLine);
}

void TXCustomDBGrid::UpdateRowCount() {
    if (fOptions.Contains(dgRowSelect) && fOptions.Contains(dgRowScroll) && fScrollLock > 0) return;
    if (fScrollLock >= 1000) return;
    const int oldRows = RowCount();
    const int least = fTitleOffset + fTotalOffset + 1;
    if (RowCount() < least) SetRowCount(least);
    SetFixedRows(fTitleOffset);
    ++fInvalidateLock;
    auto body = [&] {
        if (fDataLink->Active() && fDataLink->RecordCount() > 0 && fWindowCreated) {
            SetTotalRowHeights(true);
            SetRowCount(1000);
            fDataLink->SetBufferCount(VisibleDataRowCount());
            SetRowCount(std::max(least, fDataLink->RecordCount() + fTitleOffset + fTotalOffset));
            for (int i = fTitleOffset; i < fTitleOffset + fTotalOffset && i < RowCount() - fTotalOffset; ++i)
                SetRowHeights(i, DefaultRowHeight());
            SetTotalRowHeights(false);
            SetTopRow(TCustomGrid::FixedRows());
            UpdateActive();
        } else {
            SetRowCount(least);
            SetTotalRowHeights(false);
        }
    };
    try {
        body();
    } catch (...) {
        --fInvalidateLock;
        throw;
    }
    --fInvalidateLock;
    if (RowCount() != oldRows)
        Invalidate();
    else if (!fDoubleBuffered && fOptions.Contains(dgRowLines) && fTotalOffset == 0 &&
             TitleHeight() + DataRowsHeight() == ClientHeight())
        InvalidateRow(RowCount() - 1);
}

void TXCustomDBGrid::UpdateColumnTabs() {
    const bool linkActive = fDataLink->Active();
    for (int i = 0; i < fColumns->Count(); ++i) {
        TXColumn* column = fColumns->Items(i);
        const int raw = i + fIndicatorOffset;
        if (raw >= ColCount()) break;
        TField* field = column->Field();
        bool stop = column->Showing() && !column->ReadOnly() && linkActive && field && !field->Calculated() &&
                    !field->ReadOnly();
        if (stop && field->Lookup()) {
            // A lookup field is as read-only as its key field.
            TField* key = field->DataSet()->FindField(field->KeyFields());
            stop = field->LookupDataSet() && key && !key->ReadOnly();
        }
        SetTabStops(raw, stop);
        const int width = column->Width();
        if (width != ColWidths(raw)) {
            SetColWidths(raw, width);
            fLastResizedCol = raw;
        }
    }
    if (fOptions.Contains(dgIndicator) && ColWidths(0) != fIndicatorWidth) {
        SetColWidths(0, fIndicatorWidth);
        fLastResizedCol = 0;
    }
}

void TXCustomDBGrid::ColWidthsChanged() {
    TCustomGrid::ColWidthsChanged();
    if ((fDataLink->Active() || fColumns->State() == csCustomized) && TryBeginLayout()) {
        auto body = [this] {
            ++fScrollLock;
            try {
                // While the columns stretch, only those sized here take their new widths: the
                // stretch one of them sets off gives the others widths the base grid does not
                // show yet.
                std::vector<std::pair<TXColumn*, int>> sized;
                for (int i = 0; i < fColumns->Count() && i + fIndicatorOffset < ColCount(); ++i)
                    if (const int width = ColWidths(i + fIndicatorOffset);
                        !fStretchActive || width != fColumns->Items(i)->Width())
                        sized.emplace_back(fColumns->Items(i), width);
                for (const auto& [column, width] : sized) column->SetWidth(width);
            } catch (...) {
                --fScrollLock;
                throw;
            }
            --fScrollLock;
        };
        try {
            body();
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
        RefreshEditor();
    }
    if (OnColumnResize) OnColumnResize(this);
    fLastResizedCol = -1;
}

void TXCustomDBGrid::SetLeftColumn(int RawCol) {
    SetLeftCol(std::max(RawCol, fIndicatorOffset + FixedCols()));
}

void TXCustomDBGrid::SetDataLeftCol(int value) {
    SetLeftColumn(value + fIndicatorOffset);
    LayoutChanged();
}

// ---------------------------------------------------------------- metrics

int TXCustomDBGrid::ColLineWidth() const {
    return fOptions.Contains(dgColLines) ? GridLineWidth() : 0;
}

int TXCustomDBGrid::RowLineWidth() const {
    return fOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
}

int TXCustomDBGrid::TitleHeight() const {
    int height = 0;
    for (int i = 0; i < fTitleOffset && i < RowCount(); ++i) height += RowHeights(i) + RowLineWidth();
    return height;
}

namespace {
// The one pixel a total area or blank row gains or loses at the bottom edge: without a horizontal
// bar, unthemed and without a single 3D border the last line is the frame's.
bool BottomLineShared(const TXCustomDBGrid& grid) {
    return grid.ScrollBarHeight() == 0 && !grid.IsGridThemed() && !(grid.BorderStyle() == bsSingle && grid.Ctl3D());
}
}  // namespace

int TXCustomDBGrid::TotalHeight() const {
    int height = 0;
    const int rows = RowCount();
    for (int i = rows - fTotalOffset + 1; i < rows; ++i)
        if (i >= 0) height += RowHeights(i) + RowLineWidth();
    if (fTotalOffset >= 2 && BottomLineShared(*this)) --height;
    return height;
}

int TXCustomDBGrid::DataRowsHeight() const {
    return std::max(1, DataRowCount()) * RowHeight();
}

int TXCustomDBGrid::DataHeight() const {
    return ClientHeight() - TitleHeight() - TotalHeight();
}

int TXCustomDBGrid::BlankHeight() const {
    int height = ClientHeight() - TitleHeight() - TotalHeight() - DataRowsHeight();
    if (fTotalOffset == 1 && BottomLineShared(*this)) ++height;
    return height;
}

int TXCustomDBGrid::ColumnsWidth() const {
    int width = fOptions.Contains(dgIndicator) ? fIndicatorWidth + ColLineWidth() : 0;
    for (TXColumn* column : fVisibleColumns) width += column->Width() + ColLineWidth();
    return width;
}

int TXCustomDBGrid::FixedColsWidth() const {
    int width = fOptions.Contains(dgIndicator) ? fIndicatorWidth + ColLineWidth() : 0;
    for (int i = 0; i < FixedCols() && i < fColumns->Count(); ++i)
        if (fColumns->Items(i)->Showing()) width += fColumns->Items(i)->Width() + ColLineWidth();
    return width;
}

int TXCustomDBGrid::ScrollBarHeight() const {
    return ScrollBarShown(true) ? ScrollBarExtent() : 0;
}

int TXCustomDBGrid::ScrollBarWidth() const {
    const bool vertical = fScrollBars == ssVertical || fScrollBars == ssBoth;
    return vertical && ScrollBarShown(false) ? ScrollBarExtent() : 0;
}

int TXCustomDBGrid::VisibleDataRowCount() const {
    return std::max(1, VisibleRowCount() - fTotalOffset);
}

int TXCustomDBGrid::TotalRowCount() const {
    return fOptionsEx.Contains(dgBlankRow) ? std::max(0, fTotalOffset - 1) : fTotalOffset;
}

int TXCustomDBGrid::TotalFieldsRowCount() const {
    return TotalRowCount() - fTotalHeader - fTotalValues - fTotalFooter;
}

}  // namespace tv
