// The data grid's totals: the value rows and total-row height the columns' totals ask for, the
// text of a total cell, which rows a total shows in (for repaints and data changes), and one pass
// of the calculation over every column's header, value and footer totals.

#include <algorithm>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"

namespace tv {

int TXCustomDBGrid::TotalValueRows() const {
    int rows = 0;
    for (int i = 0; i < fColumns->Count(); ++i) rows = std::max(rows, fColumns->Items(i)->TotalValues()->Count());
    return rows;
}

int TXCustomDBGrid::TotalRowHeightFromFonts() {
    const int space = fGridStyle->TotalRowSpace();
    const int lines = fTotals->LinesCount();
    int height = 0;
    for (int i = 0; i < fColumns->Count(); ++i) {
        TXColumn* column = fColumns->Items(i);
        int text = 0;
        auto take = [&](TXColumnTotal* total) { text = std::max(text, TextHeightOf(total->Font())); };
        if (fOptionsEx.Contains(dgTotalHeader)) take(column->TotalHeader());
        if (fOptionsEx.Contains(dgTotalValues))
            for (int v = 0; v < column->TotalValues()->Count(); ++v) take(column->TotalValues()->Items(v));
        if (fOptionsEx.Contains(dgTotalFields)) take(column->TotalFields());
        if (fOptionsEx.Contains(dgTotalFooter)) take(column->TotalFooter());
        height = std::max(height, text * lines + space);
    }
    if (height == 0) height = TextHeightOf(fTotals->Font()) * lines + space;
    return height;
}

void TXCustomDBGrid::TotalsFieldRemoved(const TComponent* Field) {
    for (int i = 0; i < fColumns->Count(); ++i) {
        TXColumn* column = fColumns->Items(i);
        column->TotalHeader()->FieldRemoved(Field);
        for (int v = 0; v < column->TotalValues()->Count(); ++v) column->TotalValues()->Items(v)->FieldRemoved(Field);
        column->TotalFields()->FieldRemoved(Field);
        column->TotalFooter()->FieldRemoved(Field);
    }
}

// ---------------------------------------------------------------- texts and rows

std::string TXCustomDBGrid::GetTotalText(TXColumn* Column, int Index, TTextKind TextKind) {
    TXColumnTotal* total = Column ? Column->TotalAtRow(Index) : nullptr;
    if (!total || !total->Visible()) return {};
    std::string text;
    if (total->TotalResult() != trTotalField) {
        DoTotalGetText(Column, Index, text, TextKind, total->DisplayText());
        return text;
    }
    TXTotalDataLink* link = fTotals->DataLink();
    if (!link->Active()) return {};
    auto* value = dynamic_cast<TXColumnTotalValue*>(total);
    // A value total shows its TotalRecNo; the field rows show one buffered record each.
    const int record = value ? value->TotalRecNo() - 1 : Index - fTotalHeader - fTotalValues;
    const int saved = link->ActiveRecord();
    link->SetActiveRecord(record);
    try {
        TField* field = total->Field();
        DoTotalGetText(Column, Index, text, TextKind, field ? field->DisplayText() : std::string());
    } catch (...) {
        link->SetActiveRecord(saved);
        throw;
    }
    link->SetActiveRecord(saved);
    return text;
}

bool TXCustomDBGrid::TotalRowSpan(const TXColumn* Column, const TXColumnTotal* Total, int& First,
                                  int& Last) const {
    if (Total == Column->TotalHeader()) {
        if (!fOptionsEx.Contains(dgTotalHeader)) return false;
        First = Last = fTotalHeader;
        return true;
    }
    if (Total == Column->TotalFields()) {
        if (!fOptionsEx.Contains(dgTotalFields)) return false;
        First = fTotalHeader + fTotalValues + 1;
        Last = fTotalOffset - fTotalFooter - 1;
        return First <= Last;
    }
    if (Total == Column->TotalFooter()) {
        if (!fOptionsEx.Contains(dgTotalFooter)) return false;
        First = Last = fTotalOffset - 1;
        return true;
    }
    if (!fOptionsEx.Contains(dgTotalValues) || Total->Collection() != Column->TotalValues()) return false;
    First = Last = fTotalHeader + Total->Index() + 1;
    return true;
}

void TXCustomDBGrid::InvalidateTotal(const TXColumn* Column, const TXColumnTotal* Total) {
    if (!fWindowCreated || fTotalOffset == 0 || !Column->Showing()) return;
    int first = 0;
    int last = 0;
    if (!TotalRowSpan(Column, Total, first, last)) return;
    const int col = ColumnToRaw(Column);
    const int blank = RowCount() - fTotalOffset;
    for (int r = first; r <= last; ++r) InvalidateCell(col, blank + r);
}

void TXCustomDBGrid::TotalsDataChanged(TTotalResult Kind, TField* Field) {
    if (ComponentState().Contains(csLoading) || !fTotals->Visible() || Kind == trNone) return;
    if (Kind == trCaption) {
        if (fUpdateLock > 0)
            DeferLayout();
        else
            LayoutChanged();
        return;
    }
    auto matches = [&](TXColumnTotal* total) {
        return total->TotalResult() == Kind && (!Field || total->Field() == Field);
    };
    for (TXColumn* column : fVisibleColumns) {
        if (matches(column->TotalHeader())) InvalidateTotal(column, column->TotalHeader());
        for (int i = 0; i < column->TotalValues()->Count(); ++i)
            if (matches(column->TotalValues()->Items(i))) InvalidateTotal(column, column->TotalValues()->Items(i));
        if (matches(column->TotalFields())) InvalidateTotal(column, column->TotalFields());
        if (matches(column->TotalFooter())) InvalidateTotal(column, column->TotalFooter());
    }
}

// ---------------------------------------------------------------- one pass of the calculation

bool TXCustomDBGrid::CalcTotalsPass(TCalcPass Pass, bool SelectedOnly) {
    const bool active = fDataLink->Active() && !fDataLink->DataSet()->IsEmpty();
    const bool rowSelected =
        active && (fBookmarks->CurrentRowSelected() || (fTotals->SelectedCols && !fTotals->SelectedRows));
    if (Pass == cpCalcRec && !TotalCalcQuery(fDataLink->DataSet())) return false;
    const bool invisible = fOptionsEx.Contains(dgCalcInvisibleRows);
    bool any = false;
    auto calculate = [&](TXColumnTotalValue* total, TXDBGridOptionEx row, TXDBGridOptionEx selected) {
        if (!fOptionsEx.Contains(row) && !invisible) return;
        const bool selectedPart = fOptionsEx.Contains(selected);
        const bool wanted = SelectedOnly ? selectedPart : !selectedPart || Pass != cpCalcRec || rowSelected;
        if (wanted && total->Calculate(Pass)) any = true;
    };
    for (int i = 0; i < fColumns->Count(); ++i) {
        TXColumn* column = fColumns->Items(i);
        calculate(column->TotalHeader(), dgTotalHeader, dgTotalHeaderSelected);
        for (int v = 0; v < column->TotalValues()->Count(); ++v)
            calculate(column->TotalValues()->Items(v), dgTotalValues, dgTotalValuesSelected);
        calculate(column->TotalFooter(), dgTotalFooter, dgTotalFooterSelected);
    }
    return any;
}

bool TXCustomDBGrid::TotalHintOf(TXColumn* Column, int Index, TTotalHint& Total) {
    TXColumnTotal* total = Column->TotalAtRow(Index);
    if (!total || !total->Visible()) return false;
    Total.Hint = total->Hint();
    Total.Text = GetTotalText(Column, Index, tkDisplay);
    Total.Font = total->Font();
    Total.Alignment = total->Alignment();
    Total.VAlignment = total->VAlignment();
    Total.WordWrap = total->WordWrap();
    Total.ToolTips = total->ToolTips();
    Total.ToolTipsWidth = total->ToolTipsWidth();
    Total.ImageIndex = total->ImageIndex();
    return true;
}

}  // namespace tv
