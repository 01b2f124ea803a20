// The data grid and its data: the data source, the reactions to the data link (activation, data
// changes, scrolling, layout, focus, editing, record changes), the current row, the focus, the
// removal of components the grid refers to (the ring of master grids is xdb_grid_ring.cpp).

#include <algorithm>

#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/data/db_error.h"
#include "platform/gui/image_list.h"
#include "platform/gui/lookup_list.h"
#include "platform/gui/menu.h"

namespace tv {

// ---------------------------------------------------------------- the data source

void TXCustomDBGrid::SetDataSource(TDataSource* value) {
    if (value == fDataLink->DataSource()) return;
    if (value && value == fTotals->DataSource()) {
        if (ComponentState().Contains(csLoading)) return;
        throw EInvalidGridOperation(std::string(kCircularDataLink));
    }
    if (value && value->DataSet() && value->DataSet()->IsUnidirectional()) DatabaseError(kUnidirectional);
    fDataLink->SetDataSource(value);
    if (value) value->FreeNotification(this);
}

// ---------------------------------------------------------------- the link's reactions

void TXCustomDBGrid::LinkActive(bool Value) {
    if (ComponentState().Contains(csDestroying)) return;
    if (!Value) {
        HideEditor();
        if (fTitleOffset >= TCustomGrid::FixedRows() && fTitleOffset < RowCount()) SetRow(fTitleOffset);
    }
    fBookmarks->LinkActive(Value);
    ClearSelection();
    // What follows the layout runs also when the layout fails.
    auto rest = [&] {
        for (int i = ComponentCount() - 1; i >= 0; --i)
            if (auto* floating = dynamic_cast<TXCustomDBGrid*>(Components(i));
                floating && floating->DragKind() == dkDock)
                delete floating;
        UpdateListItems(false);
        UpdateSequence(false);
        UpdateScrollBar();
        UpdateRowCount();
        UpdateStretchActive(Value);
    };
    try {
        LayoutChanged();
    } catch (...) {
        rest();
        throw;
    }
    rest();
    if (!Value) return;
    if (fMasterGrid) fMasterGrid->Synchronize();
    OrderOnActivation();
    if (fOptions.Contains(dgAlwaysShowEditor)) ShowEditor();
    if (fSettings->LoadPending()) {
        fSettings->ClearLoadPending();
        if (fSettings->Active()) {
            // The stored layout, with the current record and its screen row held meanwhile.
            DisablePosition();
            try {
                fSettings->AutoLoad();
            } catch (...) {
                EnablePosition(false);
                throw;
            }
            EnablePosition(false);
            fDataLink->DataSet()->First();
            return;
        }
    }
    UpdateTotals(true);
}

void TXCustomDBGrid::RefreshData() {
    if (!fWindowCreated || UpdateInProgress()) return;
    TDataSet* dataSet = fDataLink->DataSet();
    const bool selecting = fSelectLock > 0 && (fRowsChanged || fColsChanged);
    if (dataSet && dataSet->State() == dsBrowse && !selecting && fChangeLock == 0) {
        UpdateListItems(true);
        UpdateSequence(true);
        UpdateTotals(true);
    }
    UpdateRowCount();
    UpdateScrollBar();
    UpdateActive();
    RefreshEditor();
    Invalidate();
}

void TXCustomDBGrid::UpdateActive() {
    if (!fDataLink->Active() || !fWindowCreated || ComponentState().Contains(csLoading)) return;
    const int row = fDataLink->ActiveRecord() + fTitleOffset;
    if (row != Row() && row >= TCustomGrid::FixedRows() && row < RowCount()) {
        if (!fOptions.Contains(dgAlwaysShowEditor)) HideEditor();
        SetRow(row);
    }
    TXColumn* column = SelectedColumn();
    if (column && column->EditText() != fEditText) RefreshEditor();
}

void TXCustomDBGrid::UpdateData() {
    if (TXColumn* column = SelectedColumn()) column->SetEditText(fEditText);
}

void TXCustomDBGrid::LinkLayoutChanged() {
    fLayoutFromDataSet = true;
    try {
        LayoutChanged();
    } catch (...) {
        fLayoutFromDataSet = false;
        throw;
    }
    fLayoutFromDataSet = false;
}

void TXCustomDBGrid::LinkFocusControl(TField** Field) {
    if (!Field || !*Field) return;
    SetSelectedField(*Field);
    if (SelectedField() == *Field && AcquireFocus()) {
        *Field = nullptr;
        ShowEditor();
    }
}

void TXCustomDBGrid::LinkEditingChanged() {
    if (fOptions.Contains(dgIndicator) && fWindowCreated) InvalidateCell(0, Row());
}

void TXCustomDBGrid::LinkRecordChanged(TField* Field) {
    if (fDataLink->IsModified() && Field && Field->FieldKind() == fkData && Field != SelectedField() &&
        !fDataLink->InUpdateData()) {
        bool fixed = false;
        for (int i = 0; i < fColumns->Count(); ++i)
            if (fColumns->Items(i)->Field() == Field && i < FixedCols()) fixed = true;
        if (!fixed) UpdateData();
    }
    RecordChanged(Field);
}

void TXCustomDBGrid::RecordChanged(TField* Field) {
    if (!fWindowCreated) return;
    if (Field) {
        for (TXColumn* column : fVisibleColumns)
            if (column->Field() == Field) InvalidateGridCol(column);
    } else
        InvalidateDataRows();
    TotalsDataChanged(trDataField, Field);
    TXColumn* column = SelectedColumn();
    if ((!Field || Field == SelectedField()) && column && column->EditText() != fEditText &&
        EditorRefreshAllowed())
        RefreshEditor();
}

// ---------------------------------------------------------------- the window and the focus

bool TXCustomDBGrid::AcquireFocus() {
    if (!fAcquireFocus || !CanFocus() || ComponentState().Contains(csDesigning)) return true;
    SetFocus();
    const TInplaceEdit* editor = InplaceEditor();
    return Focused() || (editor && editor->Focused());
}

void TXCustomDBGrid::Resize() {
    TCustomGrid::Resize();
    if (!fWindowCreated || BeingDestroyed()) return;
    if (fDataLink->Active()) fDataLink->UpdateRecord();
    if (fUpdateLock == 0) UpdateRowCount();
    UpdateScrollBar();
    UpdateHorzScrollBar();
    if (!fDoubleBuffered) {
        if (TitleHeight() >= ClientHeight()) InvalidateTitles();
        InvalidateTotals();
    }
    StretchGrid();
    RefreshEditor();
}

// ---------------------------------------------------------------- components going away

void TXCustomDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomGrid::Notification(AComponent, Operation);
    if (Operation != opRemove || !fColumns || ComponentState().Contains(csDestroying)) return;
    if (AComponent == fMasterGrid) SetMasterGrid(nullptr);
    if (AComponent == fIndicatorImages) fIndicatorImages = nullptr;
    if (AComponent == fTitleMarkers) fTitleMarkers = nullptr;
    if (AComponent == fTitleImages) fTitleImages = nullptr;
    if (AComponent == fTotals->Images()) fTotals->SetImages(nullptr);
    if (AComponent == fFillerPopupMenu) fFillerPopupMenu = nullptr;
    if (AComponent == fIndicatorPopupMenu) fIndicatorPopupMenu = nullptr;
    for (int i = 0; i < fColumns->Count(); ++i) {
        TXColumn* column = fColumns->Items(i);
        TXColumnTitle* title = column->Title();
        if (AComponent == column->fImages) column->fImages = nullptr;
        if (AComponent == column->fPopupMenu) column->fPopupMenu = nullptr;
        if (AComponent == column->fDropDownMenu) column->fDropDownMenu = nullptr;
        if (AComponent == column->fLookupDataSet) column->fLookupDataSet = nullptr;
        if (AComponent == title->fPopupMenu) title->fPopupMenu = nullptr;
        if (AComponent == title->fDropDownMenu) title->fDropDownMenu = nullptr;
    }
    if (AComponent == fTotals->DataSource()) fTotals->DataLink()->SetDataSource(nullptr);
    if (AComponent == DataSource()) SetDataSource(nullptr);
    // A field's notice comes from the component's own destructor, when it no longer is a field to
    // a type test: every reference to it is dropped by its address alone.
    FieldRemoved(AComponent);
}

void TXCustomDBGrid::FieldRemoved(const TComponent* Field) {
    TotalsFieldRemoved(Field);
    BeginLayout();
    bool changed = false;
    try {
        for (int i = 0; i < fColumns->Count(); ++i) {
            TXColumn* column = fColumns->Items(i);
            if (column->fField != Field) continue;
            column->SetField(nullptr);
            changed = true;
        }
    } catch (...) {
        EndLayout();
        throw;
    }
    TDataSet* dataSet = fDataLink->DataSet();
    if (changed && dataSet && !dataSet->ComponentState().Contains(csDestroying) &&
        !dataSet->ControlsDisabled())
        EndLayout();
    else
        DeferLayout();
}

}  // namespace tv
